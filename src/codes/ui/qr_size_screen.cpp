#include "codes/ui/qr_size_screen.h"

#include <QGroupBox>

#include "codes/qr_code.h"
#include "codes/ui/code_drawing.h"
#include "common/ui/region_host.h"
#include "common/ui/screen_hub.h"
#include "platform/text_codec.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/image_control.h"
#include "platform/work_indicator.h"

namespace pb {

namespace {

// Where the region editor's canvas begins when its scroll box cannot be found.
constexpr int kCanvasTop = 200;

// The strip over the region editor from its top down to its scroll box, as wide as the main
// screen, in screen coordinates.
QRect StripOverEditor(RegionHost& host) {
    QWidget* editor = host.EditorWindow();
    int height = kCanvasTop;
    if (const auto* box = editor->findChild<QWidget*>(QStringLiteral("ScrollBox1")))
        height = box->mapTo(editor, QPoint(0, 0)).y();
    else if (const QWidget* canvas = host.CanvasImage())
        height = canvas->mapTo(editor, QPoint(0, 0)).y();
    if (height <= 0) height = kCanvasTop;
    const QWidget* main = Hub().MainWindow();
    const int width = main ? main->width() : editor->width();
    return {editor->geometry().topLeft(), QSize(width, height)};
}

// A caption read as a number; one that is not a number counts as 0.
int CaptionNumber(const QLabel* label) {
    bool ok = false;
    const int n = label->text().toInt(&ok);
    return ok ? n : 0;
}

}  // namespace

TForm13::TForm13(RegionHost& host, State state)
    : Form(host.EditorWindow(), Qt::WindowStaysOnTopHint), host_(host), state_(state) {
    setObjectName(QStringLiteral("Form13"));
    setWindowTitle(QStringLiteral("QRcode"));
    setStyleSheet(QStringLiteral("#Form13 { background: #c0c0c0; }"));
    setAttribute(Qt::WA_StyledBackground);
    QFont font = this->font();
    font.setPixelSize(14);
    setFont(font);

    GroupBox1 = AddGroup(QStringLiteral("GroupBox1"), QStringLiteral("サイズ選択"), 8, 4, 560, 188);
    const char* sizes[] = {
        "最小 (うちの安いプリンターだとうまく印刷できないかもしれない)",
        " 2倍 (多分これぐらいがいろんな意味でいちばんあつかいやすい)",
        " 3倍 (最小と2倍だけじゃ寂しいから入れてみただけ)",
    };
    for (int i = 0; i < 3; ++i)
        RadioButton[static_cast<std::size_t>(i)] =
            AddRadio(QStringLiteral("RadioButton%1").arg(i + 1), QString::fromUtf8(sizes[i]), 12,
                     28 + 52 * i, 536, 44, GroupBox1);
    Button4 = AddButton(QStringLiteral("Button4"), QStringLiteral("OK"), 600, 24, 150, 60);
    Button5 = AddButton(QStringLiteral("Button5"), QStringLiteral("Cancel"), 600, 104, 150, 60);

    Label1 = AddLabel(
        QStringLiteral("Label1"),
        QStringLiteral("手持ちのScannerで下のCodeを読ませてみて、もしOKならそのまま確定ボタン"), 8,
        12);
    Label2 = AddLabel(QStringLiteral("Label2"), QStringLiteral("読めない場合は数字を適当に変更→"),
                      8, 56);
    LabelVerNum = AddLabel(QStringLiteral("LabelVerNum"), QString(), 240, 44, 56, 40);
    QFont big = font;
    big.setPixelSize(28);
    big.setBold(true);
    LabelVerNum->setFont(big);
    LabelVerNum->setAlignment(Qt::AlignCenter);
    LabelVerMin = AddLabel(QStringLiteral("LabelVerMin"), QString(), 240, 84, 56, 16);
    BtnUpDn0 = AddButton(QStringLiteral("BtnUpDn0"), QStringLiteral("↓"), 304, 40, 56, 48);
    BtnUpDn1 = AddButton(QStringLiteral("BtnUpDn1"), QStringLiteral("↑"), 366, 40, 56, 48);
    Label3 = AddLabel(QStringLiteral("Label3"),
                      QStringLiteral("何やってもダメならこの機能はなかったことに～"), 8, 112);
    Label4 =
        AddLabel(QStringLiteral("Label4"),
                 QStringLiteral("(たぶん 1024 X 768 Pixel 以上の画面じゃないと読めない)"), 8, 144);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(440, 100, 200, 92);
    // The text of the code under test: stepping the version places this text again.
    Memo1->setReadOnly(true);
    Memo1->setStyleSheet(QStringLiteral("QPlainTextEdit { background: white; color: black; }"));
    Button2 = AddButton(QStringLiteral("Button2"), QStringLiteral("確定"), 656, 24, 128, 60);
    Button1 = AddButton(QStringLiteral("Button1"), QStringLiteral("Cancel"), 656, 104, 128, 60);
    Edit0 = AddFocusSink(772, 4);

    const bool selecting = state == State::SizeSelection;
    for (QWidget* w : {static_cast<QWidget*>(GroupBox1), static_cast<QWidget*>(Button4),
                       static_cast<QWidget*>(Button5)})
        w->setVisible(selecting);
    for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2),
                       static_cast<QWidget*>(Label3), static_cast<QWidget*>(Label4),
                       static_cast<QWidget*>(LabelVerNum), static_cast<QWidget*>(BtnUpDn0),
                       static_cast<QWidget*>(BtnUpDn1), static_cast<QWidget*>(Memo1),
                       static_cast<QWidget*>(Button1), static_cast<QWidget*>(Button2)})
        w->setVisible(!selecting);
    LabelVerMin->hide();

    connect(Button4, &QPushButton::clicked, this, &TForm13::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm13::Button5Click);
    connect(BtnUpDn0, &QPushButton::clicked, this, [this] { BtnUpDnClick(0); });
    connect(BtnUpDn1, &QPushButton::clicked, this, [this] { BtnUpDnClick(1); });
    connect(Button1, &QPushButton::clicked, this, &TForm13::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm13::Button2Click);

    setGeometry(StripOverEditor(host));
}

TForm13* TForm13::OpenSizeSelection(RegionHost& host, const QrSizeChoice& choice) {
    auto* form = new TForm13(host, State::SizeSelection);
    for (int size = 1; size <= kQrMaxModuleSize; ++size) {
        QRadioButton* radio = form->RadioButton[static_cast<std::size_t>(size - 1)];
        radio->setVisible(size <= choice.choices);
        radio->setChecked(size == choice.preselected);
    }
    if (choice.noRoomForChoice())
        form->GroupBox1->setTitle(QString::fromUtf8(
            kQrNoSizeChoiceCaption.data(), static_cast<int>(kQrNoSizeChoiceCaption.size())));
    form->show();
    return form;
}

TForm13* TForm13::OpenScannerTest(RegionHost& host, const std::string& cp932, int version,
                                  int start) {
    auto* form = new TForm13(host, State::ScannerTest);
    form->text_ = cp932;
    form->start_ = start;
    form->Memo1->setPlainText(QString::fromStdString(Cp932ToUtf8(cp932)));
    form->LabelVerNum->setText(QString::number(version));
    form->LabelVerMin->setText(QString::number(version));
    form->show();
    return form;
}

void TForm13::Button4Click() {
    FocusSink();
    const int moduleSize = RadioButton[0]->isChecked() ? 1 : RadioButton[1]->isChecked() ? 2 : 3;
    const Bitmap& region = host_.RegionBitmap();
    const QrCapacity capacity = AreaCapacity(region.width(), region.height(), moduleSize);
    if (capacity.numeric == 0) {
        ShowPlacementMessage({kQrTooNarrowText, kQrTooNarrowCaption});
        return;
    }
    TQRCode& qr = RegionQrCode(host_);
    qr.SetPxmag(moduleSize);
    qr.SetCode("Error");
    KeyboardRequest request;
    request.callerMode = 1;
    request.hint = QrCapacityMessage(capacity);
    Hub().OpenKeyboard(request);
    Release();
}

void TForm13::Button5Click() {
    Release();
}

void TForm13::BtnUpDnClick(int direction) {
    FocusSink();
    BusyCursor busy;
    const std::string current = LabelVerNum->text().toStdString();
    const std::string next =
        StepVersion(current, direction, 1, kQrMaxVersion, CaptionNumber(LabelVerMin));
    if (next == current) return;
    const int version = std::stoi(next);
    if (version < 1) return;
    Bitmap& region = host_.RegionBitmap();
    const QrPlacementStatus status =
        PlaceQrCode(region, RegionQrCode(host_), text_, version, nullptr);
    if (status != QrPlacementStatus::Ok) {
        ShowPlacementMessage(MessageFor(status));
        return;
    }
    host_.RegionChanged();
    LabelVerNum->setText(QString::fromStdString(next));
}

void TForm13::Button1Click() {
    FocusSink();
    host_.RollbackToOpen(start_);
    Release();
}

void TForm13::Button2Click() {
    Release();
}

void TForm13::CloseByWindowManager() {
    if (state_ == State::SizeSelection)
        Button5Click();
    else
        Button1Click();
}

}  // namespace pb
