#include "imaging/ui/colour_key_fill_screen.h"

#include <QScreen>
#include <algorithm>

#include "common/colour_scan.h"
#include "imaging/ui/region_screens.h"

namespace pb {

namespace {

// The region editor's undo/redo and size labels, and the left part of its canvas.
const QRect kEditorControlsHole(680, 30, 100, 122);
constexpr int kCanvasHoleTop = 200;
constexpr int kCanvasHoleWidth = 578;

constexpr int kDefaultThreshold = 50;
const QPoint kPreviewAt(592, 350);

}  // namespace

TForm7::TForm7(RegionHost& host)
    : KeyFillForm(host.EditorWindow(), Qt::WindowStaysOnTopHint),
      host_(host),
      start_(host.RegionSurface().history().counter()) {
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("範囲内背景"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#Form7 { background: #c0c0c0; }"));

    // The whole display from the editor's corner, at least the editor's size.
    QWidget* editor = host.EditorWindow();
    const QPoint origin = editor->mapToGlobal(QPoint(0, 0));
    QSize size = editor->size();
    if (const QScreen* screen = editor->screen()) {
        const QRect display = screen->geometry();
        size = size.expandedTo(
            QSize(display.right() + 1 - origin.x(), display.bottom() + 1 - origin.y()));
    }
    setGeometry(QRect(origin, size));
    BuildControls();

    // FormCreate: the key is the region's pixel (0, 0); a region of one colour has nothing to
    // choose from, so the preview and the match mode stay hidden.
    const Bitmap& region = host.RegionBitmap();
    SetOpened(region);
    key_ = region.isNull() ? clWhite : region.pixel(0, 0);
    const Size preview = KeyFillPreviewSize(region.width(), region.height());
    Image1->setGeometry(kPreviewAt.x(), kPreviewAt.y(), preview.width, preview.height);
    Image1->setPicture(region);
    Label0->move(kPreviewAt.x(), kPreviewAt.y() + preview.height + 2);
    const bool several = !IsSingleColour(region);
    for (QWidget* w : {static_cast<QWidget*>(Image1), static_cast<QWidget*>(Label1),
                       static_cast<QWidget*>(Label0), static_cast<QWidget*>(Label300),
                       static_cast<QWidget*>(GroupBox1)})
        w->setVisible(several);
    ShowKey();
    ShowStyleControls();
    RadioButton1Click();
    CutHoles({kEditorControlsHole,
              QRect(0, kCanvasHoleTop, kCanvasHoleWidth, height() - kCanvasHoleTop)});
    show();
}

void TForm7::BuildControls() {
    ControlNames names;
    names.styles = {"RadioButton3", "RadioButton4", "RadioButton5", "RadioButton6"};
    names.across = "RadioButton7";
    names.down = "RadioButton8";
    names.widthValue = "Label4";
    names.widthTitle = "Label5";
    names.thinner = "Button49";
    names.thicker = "Button50";
    Placement at;
    at.palette = QPoint(4, 4);
    at.components = QPoint(4, 100);
    at.styles = QRect(238, 2, 116, 100);
    at.direction = QRect(238, 106, 116, 32);
    at.width = QPoint(238, 142);
    at.tree = QRect(4, 4, 228, 92);
    at.list = QRect(4, 98, 228, 98);
    BuildFillControls(names, at);
    // This screen names the component buttons by number.
    for (int k = 1; k <= 8; ++k)
        palette->ColBtn(k)->setObjectName(QStringLiteral("Button%1").arg(40 + k));

    GroupBox1 = AddGroup(QStringLiteral("GroupBox1"), QString(), 360, 2, 214, 194);
    RadioButton1 =
        AddRadio(QStringLiteral("RadioButton1"), QStringLiteral("これと完全に同じ色の領域だけ"), 6,
                 4, 204, 24, GroupBox1);
    RadioButton2 = AddRadio(QStringLiteral("RadioButton2"), QStringLiteral("似た色の領域も一緒に"),
                            6, 30, 204, 24, GroupBox1);
    RadioButton1->setChecked(true);
    YTrackBar1 = new TYTrackBar(GroupBox1);
    YTrackBar1->setObjectName(QStringLiteral("YTrackBar1"));
    YTrackBar1->setGeometry(6, 60, 160, 30);
    YTrackBar1->SetMax(kMaxKeyThreshold);
    Label2 = AddLabel(QStringLiteral("Label2"), QStringLiteral("0"), 170, 62, 40, 24, GroupBox1);
    // The components' caption has no name on this screen; Label3 is the explanation.
    palette->ComponentCaption()->setObjectName(QStringLiteral("LabelIro"));
    auto* explain =
        AddLabel(QStringLiteral("Label3"),
                 QStringLiteral("似た色判定基準値設定(小さいほうがきびしい。大きくすると甘くなる)"),
                 6, 94, 204, 60, GroupBox1);
    explain->setWordWrap(true);

    BtnDtStClose =
        AddButton(QStringLiteral("BtnDtStClose"), QStringLiteral("確定"), 584, 160, 100, 36);
    BtnFormClose =
        AddButton(QStringLiteral("BtnFormClose"), QStringLiteral("Cancel"), 688, 160, 100, 36);
    BtnDtStClose->setEnabled(false);

    Label300 = AddLabel(QStringLiteral("Label300"), QString(), kPreviewAt.x(), 262, 60, 40);
    Label1 =
        AddLabel(QStringLiteral("Label1"), QStringLiteral("↓"), kPreviewAt.x() + 20, 310, 20, 30);
    Image1 = new ImageControl(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setStretch(true);
    Label0 = AddLabel(QStringLiteral("Label0"), QStringLiteral("塗りつぶし領域を選択"),
                      kPreviewAt.x(), kPreviewAt.y() + 82);

    connect(Image1, &ImageControl::mouseDown, this, [this](Qt::MouseButton, int x, int y) {
        pressed_ = {x, y};
    });
    connect(Image1, &ImageControl::clicked, this, [this] { Image1Click(pressed_.x, pressed_.y); });
    connect(RadioButton1, &QRadioButton::clicked, this, &TForm7::RadioButton1Click);
    connect(RadioButton2, &QRadioButton::clicked, this, &TForm7::RadioButton2Click);
    connect(YTrackBar1, &TYTrackBar::OnChange, this, &TForm7::YTrackBar1Change);
    connect(YTrackBar1, &TYTrackBar::OnMouseUp, this, &TForm7::YTrackBar1MouseUp);
    connect(BtnDtStClose, &QPushButton::clicked, this, &TForm7::BtnDtStCloseClick);
    connect(BtnFormClose, &QPushButton::clicked, this, &TForm7::BtnFormCloseClick);
}

KeyMatch TForm7::CurrentMatch() const {
    if (RadioButton2->isChecked()) return KeyMatch::Similar(key_, YTrackBar1->Position());
    return KeyMatch::Exact(key_);
}

void TForm7::ShowKey() {
    const QColor c(GetRValue(key_), GetGValue(key_), GetBValue(key_));
    Label300->setStyleSheet(
        QStringLiteral("background: %1; border: 1px solid #808080;").arg(c.name()));
}

void TForm7::TargetChanged() {
    host_.RegionChanged();
    if (filled()) BtnDtStClose->setEnabled(true);
}

void TForm7::PaletteColourChosen(TColor colour) {
    SetCurrentColour(colour);
    if (style() == KeyFillStyle::Solid) Refill();
}

void TForm7::Image1Click(int x, int y) {
    FocusSink();
    const Bitmap& picture = Image1->picture();
    if (picture.isNull() || Image1->width() <= 0 || Image1->height() <= 0) return;
    const int px = std::clamp(x * picture.width() / Image1->width(), 0, picture.width() - 1);
    const int py = std::clamp(y * picture.height() / Image1->height(), 0, picture.height() - 1);
    key_ = picture.pixel(px, py);
    ShowKey();
    Refill();
}

void TForm7::RadioButton1Click() {
    FocusSink();
    Label2->setText(QStringLiteral("0"));
    YTrackBar1->hide();
    Label2->hide();
    ShowOpened();
}

void TForm7::RadioButton2Click() {
    FocusSink();
    Label2->setText(QString::number(kDefaultThreshold));
    YTrackBar1->SetMax(kMaxKeyThreshold);
    YTrackBar1->SetPosition(kDefaultThreshold);
    YTrackBar1->show();
    Label2->show();
    ShowOpened();
}

void TForm7::YTrackBar1Change() {
    if (YTrackBar1->isVisible()) Label2->setText(QString::number(YTrackBar1->Position()));
}

void TForm7::YTrackBar1MouseUp() {
    Refill();
}

void TForm7::BtnDtStCloseClick() {
    FocusSink();
    Release();
}

void TForm7::BtnFormCloseClick() {
    FocusSink();
    host_.RollbackToOpen(start_);
    Release();
}

QWidget* OpenColourKeyFill(RegionHost& host) {
    return new TForm7(host);
}

}  // namespace pb
