#include "textentry/ui/keyboard_screen.h"

#include <QEvent>
#include <QMouseEvent>
#include <QTextCursor>

#include "common/app_state.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/metrics.h"
#include "platform/text_codec.h"

namespace pb {

namespace {

QString FromCp932(std::string_view s) {
    return QString::fromStdString(Cp932ToUtf8(s));
}
std::string ToCp932(const QString& s) {
    return Utf8ToCp932(s.toStdString());
}

const QString kBlack = QStringLiteral("#000000");
const QString kGrey = QStringLiteral("#808080");  // 0x808080 while a word is registered

QFont JapaneseFont(int pixels, bool bold = false) {
    QFont f;
    f.setFamilies({QStringLiteral("IPAゴシック"), QStringLiteral("IPAGothic"),
                   QStringLiteral("IPAexゴシック")});
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// Captions of the narrow conversion buttons break into two lines to fit 41 pixels.
QPushButton* ConversionButton(Form* form, const QString& name, const QString& caption, int x) {
    QString shown = caption;
    if (caption.size() > 3) shown.insert(caption.size() - 2, QLatin1Char('\n'));
    QPushButton* b = form->AddButton(name, shown, x, 14, 41, 44);
    b->setFont(JapaneseFont(10));
    b->setAccessibleName(caption);
    return b;
}

}  // namespace

TForm6::TForm6(QWidget* parent) : Form(parent), logic_(App().AppDir) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("文字入力"));
    setFont(JapaneseFont(12));
    setAutoFillBackground(true);

    // The screen covers the main screen, or the work area when there is none.
    if (QWidget* main = Hub().MainWindow()) {
        setGeometry(0, 0, main->width(), main->height());
    } else {
        const ScreenMetrics m = ReadScreenMetrics();
        const int w = App().WorkAreaWidth > 0 ? App().WorkAreaWidth : m.workArea.width();
        const int h = App().WorkAreaHeight > 0 ? App().WorkAreaHeight : m.workArea.height();
        setGeometry(0, 0, w, h);
    }

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(4, 4, 280, 160);
    Memo1->setFont(JapaneseFont(16));
    Memo1->setReadOnly(true);
    Memo1->setAttribute(Qt::WA_InputMethodEnabled, false);
    Memo1->setStyleSheet(QStringLiteral("QPlainTextEdit { background: white; color: black; }"));
    Memo1->viewport()->installEventFilter(this);
    connect(Memo1, &QPlainTextEdit::textChanged, this, &TForm6::TakeMemoText);

    Label0 = AddLabel(QStringLiteral("Label0"), QStringLiteral("0"), 0, 0);
    Label0->hide();

    Label1 = AddLabel(QStringLiteral("Label1"), QString(), 443, 24, 161, 25);
    Label1->setFont(JapaneseFont(16));
    Label1->setStyleSheet(QStringLiteral("background: white; color: black;"));

    AddFocusSink(520, 50, 9, 9);

    ConversionButton(this, QStringLiteral("Button114"), QStringLiteral("無変換"), 360);
    ConversionButton(this, QStringLiteral("Button115"), QStringLiteral("ひらがな変換"), 401);
    ConversionButton(this, QStringLiteral("Button116"), QStringLiteral("英小文字変換"), 608);
    ConversionButton(this, QStringLiteral("Button117"), QStringLiteral("漢字変換"), 649);
    connect(Find<QPushButton>("Button114"), &QPushButton::clicked, this, &TForm6::Button114Click);
    connect(Find<QPushButton>("Button115"), &QPushButton::clicked, this, &TForm6::Button115Click);
    connect(Find<QPushButton>("Button116"), &QPushButton::clicked, this, &TForm6::Button116Click);
    connect(Find<QPushButton>("Button117"), &QPushButton::clicked, this, &TForm6::Button117Click);

    // Clear and Back of the composition, right of the conversion buttons.
    connect(AddButton(QStringLiteral("Button128"), QStringLiteral("Clear"), 694, 14, 44, 44),
            &QPushButton::clicked, this, &TForm6::Button128Click);
    connect(AddButton(QStringLiteral("Button129"), QStringLiteral("Back"), 742, 14, 44, 44),
            &QPushButton::clicked, this, &TForm6::Button129Click);

    // Clear and Back of the text, under the memo.
    connect(AddButton(QStringLiteral("Button130"), QStringLiteral("Clear"), 4, 168, 64, 40),
            &QPushButton::clicked, this, &TForm6::Button130Click);
    connect(AddButton(QStringLiteral("Button131"), QStringLiteral("Back"), 72, 168, 64, 40),
            &QPushButton::clicked, this, &TForm6::Button131Click);

    Label2 = AddLabel(QStringLiteral("Label2"), QStringLiteral("新規単語登録"), 144, 172, 140, 32);
    Label2->setFont(JapaneseFont(16, true));
    Label2->setStyleSheet(QStringLiteral("color: yellow;"));
    Label2->hide();

    Label3 = AddLabel(QStringLiteral("Label3"), QString(), 0, 216, 264, 20);
    Label3->setFont(JapaneseFont(12, true));
    Label3->setWordWrap(true);

    // Candidates and symbol pages, left under the text they go into.
    StringGrid1 = new StringGrid(1, 1, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setGeometry(4, 240, 122, 309);
    StringGrid1->SetColWidth(0, 101);
    StringGrid1->UseKeyLook(16, true, false);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StringGrid1->setFocusPolicy(Qt::NoFocus);
    StringGrid1->hide();
    connect(StringGrid1, &QTableWidget::cellClicked, this, &TForm6::StringGrid1Click);

    StringGrid2 =
        MakeKeyGrid(QStringLiteral("StringGrid2"), KanaKeyCells(true), 348, 88, 438, 127, 35, 24);
    StringGrid2->SetColWidth(10, 3);  // the separator before the small kana
    StringGrid3 =
        MakeKeyGrid(QStringLiteral("StringGrid3"), LetterKeyCells(), 268, 292, 362, 77, 35, 24);
    StringGrid4 =
        MakeKeyGrid(QStringLiteral("StringGrid4"), DigitKeyCells(), 268, 265, 362, 27, 29, 24);
    StringGrid5 =
        MakeKeyGrid(QStringLiteral("StringGrid5"), SymbolKeyCells(), 640, 241, 146, 127, 35, 24);
    StringGrid6 =
        MakeKeyGrid(QStringLiteral("StringGrid6"), ArrowKeyCells(), 268, 225, 184, 36, 21, 32);
    StringGrid6->hide();
    for (StringGrid* g : {StringGrid2, StringGrid3})
        connect(g, &QTableWidget::cellClicked, this, &TForm6::MjSjSGClick0);
    for (StringGrid* g : {StringGrid4, StringGrid5, StringGrid6})
        connect(g, &QTableWidget::cellClicked, this, &TForm6::MjSjSGClick1);

    Label4 = AddLabel(QStringLiteral("Label4"),
                      QStringLiteral("←オートシェイプのような使い方ができるかもしれない"
                                     "(少なくとも直接描画するよりは綺麗に印刷できる)"),
                      456, 219, 180, 44);
    Label4->setFont(JapaneseFont(10));
    Label4->setWordWrap(true);
    Label4->setStyleSheet(QStringLiteral("background: navy; color: white;"));
    Label4->hide();

    // The user's words and "単語追加", in the band under the keys.
    MLStringGrid1 = new TMLStringGrid(2, 1, this);
    MLStringGrid1->setObjectName(QStringLiteral("MLStringGrid1"));
    MLStringGrid1->setGeometry(268, 376, 172, 173);
    MLStringGrid1->SetColWidth(0, 2);
    MLStringGrid1->SetColWidth(1, 151);
    MLStringGrid1->SetDefaultRowHeight(30);
    MLStringGrid1->SetWordWrap(true);
    MLStringGrid1->setFont(JapaneseFont(12));
    MLStringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MLStringGrid1->setFocusPolicy(Qt::NoFocus);
    MLStringGrid1->hide();
    connect(MLStringGrid1, &QTableWidget::cellClicked, this, &TForm6::MLStringGrid1Click);

    Button132 =
        AddButton(QStringLiteral("Button132"), QStringLiteral("単語追加"), 444, 376, 84, 44);
    Button132->hide();
    connect(Button132, &QPushButton::clicked, this, &TForm6::Button132Click);

    static const char* const pages[kSymbolPages] = {
        "一般記号",   "通貨単位", "数学記号",   "幾何学模様", "装飾記号",
        "ローマ数字", "ラテン語", "ギリシャ語", "キリル語",   "記号その他"};
    for (int i = 0; i < kSymbolPages; ++i) {
        QPushButton* b =
            AddButton(QStringLiteral("Button%1").arg(kFirstSymbolButton + i),
                      QString::fromUtf8(pages[i]), 536 + (i % 2) * 72, 376 + (i / 2) * 24, 70, 22);
        connect(b, &QPushButton::clicked, this, [this, i] { SListOpen(i + 1); });
    }

    CheckBox1 = new QCheckBox(QStringLiteral("Keyboard入力On/Off"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(536, 500, 144, 24);
    CheckBox1->setFocusPolicy(Qt::NoFocus);
    CheckBox1->setStyleSheet(QStringLiteral("color: white;"));
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm6::CheckBox1Click);

    BtnDtStClose =
        AddButton(QStringLiteral("BtnDtStClose"), QStringLiteral("確定"), 684, 376, 102, 84);
    BtnDtStClose->setFont(JapaneseFont(18, true));
    connect(BtnDtStClose, &QPushButton::clicked, this, &TForm6::BtnDtStCloseClick);
    BtnFormClose =
        AddButton(QStringLiteral("BtnFormClose"), QStringLiteral("キャンセル"), 684, 464, 102, 84);
    BtnFormClose->setFont(JapaneseFont(14));
    connect(BtnFormClose, &QPushButton::clicked, this, &TForm6::BtnFormCloseClick);

    const UserStoreState store = logic_.Open();
    Refresh();
    show();
    FocusSink();
    if (store == UserStoreState::Replaced)
        Dialogs().MessageBox(
            "登録した単語のファイルが壊れてたので作り直した\n"
            "前のは TOUROKU.mdb.bak に取ってある",
            "どうでもいいけど");
}

StringGrid* TForm6::MakeKeyGrid(const QString& name, const CellTable& cells, int x, int y, int w,
                                int h, int columnWidth, int rowHeight) {
    auto* g = new StringGrid(cells.ColumnCount(), cells.RowCount(), this);
    g->setObjectName(name);
    g->setGeometry(x, y, w, h);
    g->SetDefaultColWidth(columnWidth);
    g->SetDefaultRowHeight(rowHeight);
    g->UseKeyLook(16, false, true);
    g->setFocusPolicy(Qt::NoFocus);
    g->ShowCells(cells);
    return g;
}

void TForm6::Setup(const KeyboardRequest& request) {
    callerMode_ = request.callerMode;
    Label0->setText(QString::number(callerMode_));
    logic_.SetMemo(Utf8ToCp932(request.text));
    Label3->setText(QString::fromStdString(request.hint));
    Label4->setVisible(request.decoratedHint);
    StringGrid6->setVisible(request.decoratedHint);
    Refresh();
}

void TForm6::Refresh() {
    if (logic_.Memo() != memoShown_) {
        memoShown_ = logic_.Memo();
        const QSignalBlocker block(Memo1);
        Memo1->setPlainText(
            FromCp932(memoShown_).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }
    Label1->setText(FromCp932(logic_.Composition()));
    if (logic_.Candidates().version() != candidatesShown_) {
        candidatesShown_ = logic_.Candidates().version();
        StringGrid1->ShowCells(logic_.Candidates());
    }
    StringGrid1->setVisible(logic_.CandidatesVisible());
    if (logic_.UserWords().version() != userWordsShown_) {
        userWordsShown_ = logic_.UserWords().version();
        MLStringGrid1->ShowCells(logic_.UserWords());
    }
    MLStringGrid1->setVisible(logic_.UserWordsShown());
    Button132->setVisible(logic_.UserWordsShown());
    Label2->setVisible(logic_.Registering());
    const int state = logic_.Registering() ? 1 : 0;
    if (state != colourState_) {
        colourState_ = state;
        QPalette p = palette();
        p.setColor(QPalette::Window, QColor(state ? kGrey : kBlack));
        setPalette(p);
        Label3->setStyleSheet(
            QStringLiteral("color: %1;").arg(state ? kGrey : QStringLiteral("white")));
    }
}

void TForm6::TakeMemoText() {
    memoShown_ = ToCp932(Memo1->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
    logic_.SetMemo(memoShown_);
}

void TForm6::MjSjSGClick0(int row, int column) {
    auto* grid = qobject_cast<StringGrid*>(sender());
    FocusSink();
    if (!grid) return;
    logic_.TypeKey(ToCp932(grid->Cell(column, row)));
    Refresh();
}

void TForm6::MjSjSGClick1(int row, int column) {
    auto* grid = qobject_cast<StringGrid*>(sender());
    FocusSink();
    if (!grid) return;
    logic_.CommitKey(ToCp932(grid->Cell(column, row)));
    Refresh();
}

void TForm6::Button114Click() {
    FocusSink();
    logic_.NoConversion();
    Refresh();
}

void TForm6::Button115Click() {
    FocusSink();
    logic_.HiraganaConversion();
    Refresh();
}

void TForm6::Button116Click() {
    FocusSink();
    logic_.LowerCaseConversion();
    Refresh();
}

void TForm6::Button117Click() {
    FocusSink();
    logic_.KanjiConversion();
    Refresh();
}

void TForm6::StringGrid1Click(int row, int) {
    FocusSink();
    logic_.PickCandidate(row);
    Refresh();
}

void TForm6::SListOpen(int category) {
    FocusSink();
    if (category < 1 || category > kSymbolPages) return;
    logic_.OpenSymbolPage(category);
    Refresh();
    StringGrid1->scrollToTop();
}

void TForm6::MLStringGrid1Click(int row, int) {
    FocusSink();
    logic_.PickUserWord(row);
    Refresh();
}

void TForm6::Button128Click() {
    FocusSink();
    logic_.ClearComposition();
    Refresh();
}

void TForm6::Button129Click() {
    FocusSink();
    logic_.BackComposition();
    Refresh();
}

void TForm6::Button130Click() {
    FocusSink();
    logic_.ClearText();
    Refresh();
}

void TForm6::Button131Click() {
    FocusSink();
    logic_.BackText();
    Refresh();
}

void TForm6::Button132Click() {
    FocusSink();
    logic_.StartRegistration();
    Refresh();
}

void TForm6::Memo1Click() {
    if (CheckBox1->isChecked()) return;  // the memo keeps the focus for typing
    if (logic_.Memo().empty()) {
        FocusSink();
        return;
    }
    const QString text = Memo1->toPlainText();
    const int caret = Memo1->textCursor().selectionStart();
    const std::size_t bytes =
        ToCp932(text.left(caret).replace(QLatin1Char('\n'), QStringLiteral("\r\n"))).size();
    const std::string message = logic_.ClickMemo(bytes);
    Dialogs().MessageBox(Cp932ToUtf8(message), "どうでもいいけど");
    Memo1->setAttribute(Qt::WA_InputMethodEnabled, false);
    FocusSink();
    Refresh();
}

void TForm6::CheckBox1Click() {
    // Ticked, the memo takes typing from a physical keyboard and its input method.
    const bool typing = CheckBox1->isChecked();
    Memo1->setReadOnly(!typing);
    Memo1->setAttribute(Qt::WA_InputMethodEnabled, typing);
    FocusSink();
}

bool TForm6::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Memo1->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // After the memo placed its caret.
        const bool handled = Form::eventFilter(watched, event);
        Memo1Click();
        return handled;
    }
    return Form::eventFilter(watched, event);
}

void TForm6::BtnDtStCloseClick() {
    FocusSink();
    const int mode = callerMode_;
    const KeyboardLogic::Confirmation c = logic_.Confirm(mode);
    Refresh();
    if (c.cut) Dialogs().MessageBox("長すぎるので120文字で切って登録した", "どうでもいいけど");
    if (c.kind != KeyboardLogic::Confirmation::HandOver) return;
    const std::string text = Cp932ToUtf8(c.text);
    switch (mode) {
        case 0: {
            // An empty record is left alone and the keyboard stays; the list opens either way.
            const bool applied = Hub().ApplyObjectText(text);
            Hub().OpenObjectList();
            if (applied) Release();
            return;
        }
        case 1:
            if (Hub().HandOverQrText(c.text)) Release();
            return;
        case 2:
            Hub().OpenPlainTextStamp(text);
            break;
        case 3:
            Hub().OpenDecoratedTextStamp(text);
            break;
        default:
            break;
    }
    Release();
}

void TForm6::BtnFormCloseClick() {
    if (logic_.Cancel()) {
        FocusSink();
        Refresh();
        return;
    }
    if (callerMode_ == 0) Hub().OpenObjectList();
    Release();
}

void TForm6::CloseByWindowManager() {
    // "キャンセル" during a registration only ends the registration; the window goes all the
    // same.
    if (logic_.Cancel()) Refresh();
    BtnFormCloseClick();
}

}  // namespace pb
