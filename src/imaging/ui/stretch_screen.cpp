#include "imaging/ui/stretch_screen.h"

#include "common/ui/region_host.h"
#include "imaging/region_stretch.h"
#include "imaging/ui/region_screens.h"
#include "platform/work_indicator.h"

namespace pb {

namespace {

constexpr int kStripHeight = 200;
// The region editor's "戻す"/"進む" group, left usable through the strip.
const QRect kUndoGroup(680, 30, 100, 122);

}  // namespace

QWidget* OpenStretch(RegionHost& host) {
    return new TForm12(host);  // deletes itself when closed
}

TForm12::TForm12(RegionHost& host)
    : Form(host.EditorWindow(), Qt::WindowStaysOnTopHint), host_(host) {
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(QStringLiteral("伸縮"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#Form12 { background: #808080; }"));

    BtnZS0 = AddButton(QStringLiteral("BtnZS0"), QStringLiteral("  ↓   → ←   ↑"), 40, 40, 160, 100);
    BtnZS1 =
        AddButton(QStringLiteral("BtnZS1"), QStringLiteral("  ↑   ← →   ↓"), 240, 40, 160, 100);
    BtnDtStClose =
        AddButton(QStringLiteral("BtnDtStClose"), QStringLiteral("OK"), 480, 40, 100, 50);
    BtnFormClose =
        AddButton(QStringLiteral("BtnFormClose"), QStringLiteral("Cancel"), 480, 100, 100, 50);
    BtnDtStClose->hide();
    AddFocusSink(4, 184);
    connect(BtnZS0, &QPushButton::clicked, this, [this] { BtnZSClick(false); });
    connect(BtnZS1, &QPushButton::clicked, this, [this] { BtnZSClick(true); });
    connect(BtnDtStClose, &QPushButton::clicked, this, &TForm12::BtnDtStCloseClick);
    connect(BtnFormClose, &QPushButton::clicked, this, &TForm12::BtnFormCloseClick);

    start_ = host.RegionSurface().history().counter();
    const QWidget* editor = host.EditorWindow();
    setGeometry(QRect(editor->geometry().topLeft(), QSize(editor->width(), kStripHeight)));
    CutHoles({kUndoGroup});
    Image1 = host.RegionBitmap();
    show();
}

void TForm12::BtnZSClick(bool enlarge) {
    FocusSink();
    const StretchStep step = StepStretchScale(scale_, enlarge);
    scale_ = step.scale;
    if (!step.apply) return;
    if (!host_.SnapshotRegion()) return;
    BusyCursor busy;
    host_.RegionBitmap() = StretchAboutCentre(Image1, scale_);
    host_.RegionChanged();
    BtnDtStClose->show();
}

void TForm12::BtnDtStCloseClick() {
    Release();
}

void TForm12::BtnFormCloseClick() {
    host_.RollbackToOpen(start_);
    Release();
}

}  // namespace pb
