#include "imaging/ui/rotation_screen.h"

#include <algorithm>
#include <exception>

#include "common/ui/region_host.h"
#include "imaging/image_geometry.h"
#include "imaging/ui/region_screens.h"
#include "imaging/ui/track_bar.h"
#include "platform/bitmap_ops.h"
#include "platform/ui/dialogs.h"

namespace pb {

namespace {

constexpr int kStripHeight = 200;  // the region editor's top panel
constexpr int kButtonW = 100;
constexpr int kButtonH = 44;
// Quarter turns are refused once more than this many have failed in a row.
constexpr int kMaxTurnFailures = 2;

}  // namespace

TForm4::TForm4(RegionHost& host, bool twoColourSplit)
    : Form(host.EditorWindow()), host_(host), current_(host.CurrentColour()) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(twoColourSplit ? QStringLiteral("2色塗り分け") : QStringLiteral("回転反転"));
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("#Form4 { background: #c0c0c0; }"));
    // Screen-wide over the editor's top panel.
    QWidget* editor = host.EditorWindow();
    setGeometry(QRect(editor->mapToGlobal(QPoint(0, 0)), QSize(editor->width(), kStripHeight)));
    BuildControls();
    ConnectHandlers();
    CutHoles({EditorHole()});

    start_ = host.RegionSurface().history().counter();
    failures_ = 0;
    atOpen_ = host.RegionBitmap();
    turned_ = atOpen_;
    if (twoColourSplit) {
        ShowDirectionControls(false);
        YTrackBar2->hide();
        LabelYTBVAL->hide();
        for (QPushButton* b : BtnYTB) b->hide();
        GroupBox1->hide();
    } else {
        YTrackBar1->hide();
        Label3->hide();
        Label1->hide();
        Label2->hide();
        for (int n = 1; n <= 40; ++n) palette_->Edit(n)->hide();
        ShowDirectionControls(true);
    }
    show();
}

TForm4::~TForm4() = default;

void TForm4::BuildControls() {
    AddFocusSink(2, 2);
    // Direction and angle mode.
    GroupBox1 = AddGroup(QStringLiteral("GroupBox1"), QStringLiteral("回転"), 10, 16, 130, 90);
    RadioButton1 = AddRadio(QStringLiteral("RadioButton1"), QStringLiteral("方向指定"), 10, 24, 110,
                            26, GroupBox1);
    RadioButton2 = AddRadio(QStringLiteral("RadioButton2"), QStringLiteral("角度指定"), 10, 56, 110,
                            26, GroupBox1);
    RadioButton1->setChecked(true);
    const char* captions[] = {"", "回転↓", "↑回転", "反転←→", "反転↑↓"};
    for (int n = 1; n <= 4; ++n)
        Button[n] = AddButton(QStringLiteral("Button%1").arg(n), QString::fromUtf8(captions[n]),
                              160 + (n - 1) % 2 * (kButtonW + 10), 16 + (n - 1) / 2 * 56, kButtonW,
                              kButtonH);

    YTrackBar2 = new TYTrackBar(this);
    YTrackBar2->setObjectName(QStringLiteral("YTrackBar2"));
    YTrackBar2->setGeometry(160, 20, 240, 30);
    YTrackBar2->SetMax(360);
    YTrackBar2->SetPosition(180);
    LabelYTBVAL = AddLabel(QStringLiteral("LabelYTBVAL"), QStringLiteral("0"), 410, 20, 50, 30);
    LabelYTBVAL->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const char* stepCaptions[] = {"Reset", "↓", "↑"};
    for (int n = 0; n <= 2; ++n)
        BtnYTB[n] = AddButton(QStringLiteral("BtnYTB%1").arg(n), QString::fromUtf8(stepCaptions[n]),
                              160 + n * 82, 68, 74, kButtonH);

    // Two-colour split.
    YTrackBar1 = new TYTrackBar(this);
    YTrackBar1->setObjectName(QStringLiteral("YTrackBar1"));
    YTrackBar1->setGeometry(10, 20, 264, 30);
    YTrackBar1->SetMax(255);
    YTrackBar1->SetPosition(threshold_);
    Label3 = AddLabel(QStringLiteral("Label3"), QString::number(threshold_), 284, 20, 50, 30);
    Label1 = AddColourCell(QStringLiteral("Label1"), colourA_, 10, 80, 65, 32);
    Label2 = AddColourCell(QStringLiteral("Label2"), colourB_, 30, 86, 25, 20);
    PaletteLayout cells;
    cells.palette = QPoint(100, 64);
    palette_ = std::make_unique<PaletteWidgets>(*this, cells);

    BtnDtStClose =
        AddButton(QStringLiteral("BtnDtStClose"), QStringLiteral("OK"), 540, 140, 120, kButtonH);
    BtnDtStClose->hide();
    BtnFormClose = AddButton(QStringLiteral("BtnFormClose"), QStringLiteral("キャンセル"), 400, 140,
                             120, kButtonH);
}

void TForm4::ConnectHandlers() {
    for (int n = 1; n <= 4; ++n)
        connect(Button[n], &QPushButton::clicked, this, [this, n] { VPicPrc(n); });
    connect(RadioButton1, &QRadioButton::clicked, this, [this] { RBtnClick(1); });
    connect(RadioButton2, &QRadioButton::clicked, this, [this] { RBtnClick(2); });
    connect(YTrackBar2, &TYTrackBar::OnChange, this, &TForm4::YTrackBar2Change);
    connect(YTrackBar2, &TYTrackBar::OnMouseUp, this, &TForm4::YTrackBar2MouseUp);
    for (int n = 0; n <= 2; ++n)
        connect(BtnYTB[n], &QPushButton::clicked, this, [this, n] { BtnYTBUpDnClick(n); });
    connect(YTrackBar1, &TYTrackBar::OnChange, this, &TForm4::YTrackBar1Change);
    connect(YTrackBar1, &TYTrackBar::OnMouseUp, this, &TForm4::YTrackBar1MouseUp);
    connect(Label1, &ColourCell::clicked, this, &TForm4::Label1Click);
    connect(Label2, &ColourCell::clicked, this, &TForm4::Label2Click);
    PaletteWidgets::Handlers handlers;
    handlers.paletteCell = [this](TColor colour) { IroSentaku4(colour); };
    handlers.current = [this] { return std::optional<TColor>(current_); };
    palette_->Connect(this, handlers);
    palette_->MarkCurrent();
    connect(BtnDtStClose, &QPushButton::clicked, this, &TForm4::BtnDtStCloseClick);
    connect(BtnFormClose, &QPushButton::clicked, this, &TForm4::BtnFormCloseClick);
}

void TForm4::ShowDirectionControls(bool byDirection) {
    for (int n = 1; n <= 4; ++n) Button[n]->setVisible(byDirection);
    YTrackBar2->setVisible(!byDirection);
    LabelYTBVAL->setVisible(!byDirection);
    for (QPushButton* b : BtnYTB) b->setVisible(!byDirection);
}

void TForm4::ShowRegion(Bitmap region) {
    host_.RegionBitmap() = std::move(region);
    host_.RegionChanged();
    BtnDtStClose->show();
}

void TForm4::VPicPrc(int n) {
    FocusSink();
    if (n < 1 || n > 4) return;
    const bool quarterTurn = n <= 2;
    if (quarterTurn && failures_ > kMaxTurnFailures) {
        Dialogs().MessageBox(
            "復旧の方法はいろいろあるけど、いちばんのおすすめは「キャンセル」ボタン",
            "謎のエラーが出たままいろんな機能が停止状態");
        return;
    }
    if (!host_.SnapshotRegion()) return;
    BusyCursor busy;
    Bitmap region = host_.RegionBitmap();
    if (quarterTurn) {
        try {
            Bitmap turned = turned_;
            TurnRegionQuarter(turned, region, n == 1);
            turned_ = std::move(turned);
        } catch (const std::exception&) {
            // Out of memory on a large region: the region and the turned picture stay as
            // they were.
            ++failures_;
            return;
        }
    } else {
        // The turned picture is mirrored along with the region, so that a later quarter turn
        // keeps the mirror instead of bringing back the unmirrored picture.
        const bool topBottom = n == 4;
        MirrorBitmap(region, topBottom);
        MirrorBitmap(turned_, topBottom);
    }
    failures_ = 0;
    ShowRegion(std::move(region));
}

void TForm4::RBtnClick(int mode) {
    FocusSink();
    if (!host_.SnapshotRegion()) return;
    ShowDirectionControls(mode == 1);
    angle_ = 0;
    YTrackBar2->SetMin(0);
    YTrackBar2->SetMax(360);
    YTrackBar2->SetPosition(180);
    LabelYTBVAL->setText(QStringLiteral("0"));
    turned_ = atOpen_;
    ShowRegion(atOpen_);
}

void TForm4::YTrackBar2Change() {
    angle_ = YTrackBar2->Position() - 180;
    LabelYTBVAL->setText(QString::number(angle_));
}

void TForm4::YTrackBar2MouseUp() {
    angle_ = YTrackBar2->Position() - 180;
    ApplyAngle();
}

void TForm4::SetAngle(int degrees) {
    angle_ = std::clamp(degrees, -180, 180);
    YTrackBar2->SetPosition(angle_ + 180);
    LabelYTBVAL->setText(QString::number(angle_));
}

void TForm4::BtnYTBUpDnClick(int n) {
    FocusSink();
    if (n == 0) {
        if (angle_ == 0) return;
        SetAngle(0);
    } else if (n == 1 || n == 2) {
        SetAngle(angle_ + (n == 1 ? -1 : 1));
    } else {
        return;
    }
    ApplyAngle();
}

void TForm4::ApplyAngle() {
    if (!host_.SnapshotRegion()) return;
    BusyCursor busy;
    ShowRegion(RegionAtAngle(atOpen_, angle_));
}

void TForm4::YTrackBar1Change() {
    if (!YTrackBar1->isVisible()) return;
    threshold_ = YTrackBar1->Position();
    Label3->setText(QString::number(threshold_));
}

void TForm4::YTrackBar1MouseUp() {
    threshold_ = YTrackBar1->Position();
    Label3->setText(QString::number(threshold_));
    ApplyTwoColourSplit();
}

void TForm4::Label1Click() {
    FocusSink();
    colourA_ = current_;
    Label1->setColour(colourA_);
    ApplyTwoColourSplit();
}

void TForm4::Label2Click() {
    FocusSink();
    colourB_ = current_;
    Label2->setColour(colourB_);
    ApplyTwoColourSplit();
}

void TForm4::IroSentaku4(TColor colour) {
    FocusSink();
    current_ = colour;
}

void TForm4::ApplyTwoColourSplit() {
    if (!host_.SnapshotRegion()) return;
    BusyCursor busy;
    ShowRegion(SplitTwoColours(turned_, colourA_, threshold_, colourB_));
}

void TForm4::BtnDtStCloseClick() {
    FocusSink();
    Release();
}

void TForm4::BtnFormCloseClick() {
    FocusSink();
    host_.RollbackToOpen(start_);
    Release();
}

QWidget* OpenRotation(RegionHost& host, bool twoColourSplit) {
    return new TForm4(host, twoColourSplit);
}

}  // namespace pb
