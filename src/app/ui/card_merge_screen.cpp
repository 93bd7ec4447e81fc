#include "app/ui/card_merge_screen.h"

#include <QDir>
#include <algorithm>
#include <cctype>

#include "app/printing.h"
#include "common/app_state.h"
#include "platform/file_service.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/printer.h"

namespace pb {
namespace {

bool IsCsvName(const std::string& name) {
    if (name.size() < 5) return false;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".csv";
}

// One problem of a card in the user's words. The core's own text is for the command line.
std::string ProblemText(const CardError& e, const ProductList& list) {
    if (e.column.empty()) return "作れなかった";
    if (ProductColumn(list, e.column) < 0) return "「" + e.column + "」の列がない";
    return "「" + e.column + "」の値が変";
}

std::string ListErrorText(ProductListStatus status) {
    switch (status) {
        case ProductListStatus::Empty:
            return "CSVファイルが空";
        case ProductListStatus::BadCsv:
            return "CSVファイルの形が変(\"の閉じ忘れなど)";
        default:
            return "CSVファイルが読めない";
    }
}

}  // namespace

std::string CardRunReport(const CardRun& run, const ProductList& list, int maxLines) {
    const int total = static_cast<int>(list.rows.size());
    std::string text =
        std::to_string(total) + "枚中" + std::to_string(run.cardsMade) + "枚印刷した";
    int listed = 0, left = 0;
    bool printFailed = false;
    for (const CardError& e : run.errors) {
        if (e.row <= 0) {
            printFailed = true;
            continue;
        }
        if (listed == maxLines) {
            ++left;
            continue;
        }
        if (listed++ == 0) text += "\n直して印刷し直す行:";
        text += "\n" + std::to_string(e.row) + "行目 " + ProblemText(e, list);
    }
    if (left > 0) text += "\nほか" + std::to_string(left) + "件";
    if (printFailed) text += "\n印刷が途中で止まった";
    return text;
}

CardMergeScreen::CardMergeScreen(CardMergeRequest request, QWidget* parent)
    : Form(parent), request_(std::move(request)) {
    setObjectName(QStringLiteral("CardMerge"));
    setWindowTitle(QStringLiteral("差し込み印刷"));
    FormCreate();
}

void CardMergeScreen::FormCreate() {
    const QPoint origin = parentWidget() ? parentWidget()->geometry().topLeft() : QPoint(0, 0);
    setGeometry(origin.x(), origin.y(), 792, 553);
    setAutoFillBackground(true);

    ShellTreeView1 = new FolderTree(this);
    ShellTreeView1->setObjectName(QStringLiteral("ShellTreeView1"));
    ShellTreeView1->setGeometry(8, 8, 262, 320);
    CsvList = new QListWidget(this);
    CsvList->setObjectName(QStringLiteral("CsvList"));
    CsvList->setGeometry(8, 336, 262, 209);
    CsvList->setStyleSheet(QStringLiteral("font-size: 16px;"));

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setGeometry(278, 8, 418, 537);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setStyleSheet(QStringLiteral("QScrollArea { background: #404040; }"));
    ScrollBox1->setAlignment(Qt::AlignCenter);
    Image1 = new RecordingView;
    Image1->setObjectName(QStringLiteral("Image1"));
    ScrollBox1->setWidget(Image1);
    Image1->hide();

    const int x = 704, w = 80;
    LabelList =
        AddLabel(QStringLiteral("LabelList"), QStringLiteral("CSVファイルを選んで"), x, 8, w, 120);
    LabelList->setWordWrap(true);
    LabelList->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LabelCard = AddLabel(QStringLiteral("LabelCard"), QString(), x, 132, w, 150);
    LabelCard->setWordWrap(true);
    LabelCard->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LabelCard->setStyleSheet(QStringLiteral("color: #ff0000;"));
    BtnPrint = AddButton(QStringLiteral("BtnPrint"), QStringLiteral("印刷"), x, 290, w, 60);
    BtnPrint->setEnabled(false);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(x, 356, w, 22);
    ProgressBar1->hide();
    BtnClose = AddButton(QStringLiteral("BtnClose"), QStringLiteral("閉じる"), x, 489, w, 48);
    Edit0 = AddFocusSink(x, 539);

    connect(ShellTreeView1, &FolderTree::folderChanged, this,
            &CardMergeScreen::ShellTreeView1Change);
    connect(CsvList, &QListWidget::itemClicked, this, &CardMergeScreen::CsvListClick);
    connect(BtnPrint, &QPushButton::clicked, this, &CardMergeScreen::BtnPrintClick);
    connect(BtnClose, &QPushButton::clicked, this, &CardMergeScreen::CloseByWindowManager);

    const std::string start =
        request_.startFolder.empty() ? QDir::homePath().toStdString() : request_.startFolder;
    ShellTreeView1->SetPath(start);
    ShellTreeView1Change(QString::fromStdString(start));
    show();
}

void CardMergeScreen::ShellTreeView1Change(const QString& path) {
    const std::string folder = path.toStdString();
    CsvList->clear();
    for (const std::string& name : Files().ListFiles(folder)) {
        if (!IsCsvName(name)) continue;
        auto* item = new QListWidgetItem(QString::fromStdString(name), CsvList);
        item->setData(Qt::UserRole, QString::fromStdString(JoinPath(folder, name)));
    }
}

void CardMergeScreen::CsvListClick(QListWidgetItem* item) {
    FocusSink();
    if (item) OpenList(item->data(Qt::UserRole).toString().toStdString());
}

bool CardMergeScreen::OpenList(const std::string& path) {
    ProductList list;
    std::string error;
    ProductListStatus status;
    {
        BusyCursor busy;
        status = ReadProductList(path, list, error);
    }
    if (status != ProductListStatus::Ok) {
        // The list picked before is let go too, so that "印刷" cannot print a list not shown.
        list_ = {};
        listName_.clear();
        LabelList->setText(QStringLiteral("CSVファイルを選んで"));
        Image1->hide();
        LabelCard->clear();
        BtnPrint->setEnabled(false);
        Dialogs().MessageBox(ListErrorText(status), "NG");
        return false;
    }
    list_ = std::move(list);
    listName_ = path.substr(path.find_last_of('/') + 1);
    LabelList->setText(QString::fromStdString(listName_) + QStringLiteral("\n") +
                       QString::number(list_.rows.size()) + QStringLiteral("枚"));
    ShowFirstCard();
    return true;
}

void CardMergeScreen::ShowFirstCard() {
    Image1->hide();
    LabelCard->clear();
    BtnPrint->setEnabled(false);
    if (list_.rows.empty()) {
        LabelCard->setText(QStringLiteral("商品の行がない"));
        return;
    }
    std::vector<CardError> problems;
    std::string error;
    std::optional<SavedWorkComposition> card;
    {
        BusyCursor busy;
        card = ComposeCard(request_.worksFolder, request_.work, list_, 0, problems, error);
    }
    if (!card) {
        LabelCard->setText(QStringLiteral("作品が読めない"));
        return;
    }
    // The card as it will print: reduced like the page, fitted into the preview's box.
    pageMode_ = card->pageMode;
    drawn_ = ReducedSize(card->composed.drawing->size(), pageMode_, request_.reduceA4ToPostcard);
    const QSize box = ScrollBox1->size();
    const double scale = std::min({1.0, double(box.width()) / std::max(1, drawn_.width),
                                   double(box.height()) / std::max(1, drawn_.height)});
    Image1->setPicture(card->composed.drawing);
    Image1->resize(std::max(1, int(drawn_.width * scale)), std::max(1, int(drawn_.height * scale)));
    Image1->show();
    QString said;
    for (const CardError& e : problems)
        said += QStringLiteral("1行目 ") + QString::fromStdString(ProblemText(e, list_)) +
                QLatin1Char('\n');
    LabelCard->setText(said.trimmed());
    BtnPrint->setEnabled(true);
}

void CardMergeScreen::BtnPrintClick() {
    FocusSink();
    if (printing_ || list_.rows.empty()) return;
    const AppState& app = App();
    std::unique_ptr<PrintDevice> device = OpenDefaultPrinter(app.AppDir + "PDF");
    if (!device) {
        Dialogs().MessageBox("PRINTERの設定が変", "NG");
        return;
    }
    PrintRequest base;
    base.pageMode = pageMode_;
    base.drawnSize = drawn_;
    base.centre = request_.centre;
    base.copies = request_.copies;
    base.screenPPIX = app.ScreenPPIX;
    base.screenPPIY = app.ScreenPPIY;
    base.title = "popboard " + request_.work + " " + listName_;

    printing_ = true;
    BtnPrint->setEnabled(false);
    BtnClose->setEnabled(false);
    ProgressBar1->setRange(0, static_cast<int>(list_.rows.size()));
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    CardRun run;
    {
        BusyCursor busy;
        run = PrintCards(*device, request_.worksFolder, request_.work, list_, base,
                         [this](int done, int) {
                             ProgressBar1->setValue(done);
                             // Painted at once without running the event loop: nothing the
                             // user or the window manager does may reach the screens meanwhile.
                             ProgressBar1->repaint();
                             return true;
                         });
    }
    ProgressBar1->hide();
    BtnPrint->setEnabled(true);
    BtnClose->setEnabled(true);
    printing_ = false;

    std::string text = CardRunReport(run, list_);
    if (device->kind() == PrinterKind::BuiltInPdf && run.cardsMade > 0)
        text += "\nプリンタがないのでPDFにした\n" + device->outputFile();
    Dialogs().MessageBox(text, run.errors.empty() ? "どうでもいいけど" : "NG");
}

void CardMergeScreen::CloseByWindowManager() {
    if (!printing_) Release();
}

}  // namespace pb
