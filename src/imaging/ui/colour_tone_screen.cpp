#include "imaging/ui/colour_tone_screen.h"

#include <utility>

#include "common/ui/region_host.h"
#include "imaging/ui/region_screens.h"

namespace pb {

namespace {

constexpr int kStripHeight = 200;
constexpr int kMiddle = 50;

int& OffsetOfBar(ToneOffsets& offsets, int n) {
    switch (n) {
        case 0:
            return offsets.blue;
        case 1:
            return offsets.green;
        case 2:
            return offsets.red;
        default:
            return offsets.overall;
    }
}

}  // namespace

QWidget* OpenColourTone(RegionHost& host) {
    return new TForm17(host);  // deletes itself when closed
}

TForm17::TForm17(RegionHost& host)
    : Form(host.EditorWindow(), Qt::WindowStaysOnTopHint), host_(host) {
    setObjectName(QStringLiteral("Form17"));
    setWindowTitle(QStringLiteral("色調変更"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(
        QStringLiteral("#Form17 { background: black; } #Form17 > QLabel { color: white; }"));

    AddLabel(QStringLiteral("Label4"), QStringLiteral("明るさ"), 24, 10);
    // Top to bottom: overall (white gauge), red, green, blue.
    struct BarSpec {
        int n;
        TColor gauge;
        int y;
    };
    const BarSpec bars[] = {{3, clWhite, 36},
                            {2, RGB(255, 0, 0), 76},
                            {1, RGB(0, 255, 0), 116},
                            {0, RGB(0, 0, 255), 156}};
    for (const BarSpec& b : bars) {
        auto* bar = new TYTrackBar(this);
        bar->setObjectName(QStringLiteral("YTB%1").arg(b.n));
        bar->setGeometry(24, b.y, 320, 30);
        bar->SetGageColor(b.gauge);
        bar->SetPosition(kMiddle);
        const auto i = static_cast<std::size_t>(b.n);
        YTB[i] = bar;
        Label[i] =
            AddLabel(QStringLiteral("Label%1").arg(b.n), QStringLiteral("0"), 356, b.y + 6, 48, 20);
        connect(bar, &TYTrackBar::OnChange, this, [this, n = b.n] { YTBVChange(n); });
        connect(bar, &TYTrackBar::OnMouseUp, this, [this] { YTBVMouseUp(); });
    }
    BtnReset = AddButton(QStringLiteral("BtnReset"), QStringLiteral("Reset"), 432, 36, 100, 50);
    BtnDtStClose =
        AddButton(QStringLiteral("BtnDtStClose"), QStringLiteral("OK"), 560, 36, 100, 50);
    BtnFormClose =
        AddButton(QStringLiteral("BtnFormClose"), QStringLiteral("Cancel"), 560, 116, 100, 50);
    AddFocusSink(4, 184);
    connect(BtnReset, &QPushButton::clicked, this, &TForm17::BtnResetClick);
    connect(BtnDtStClose, &QPushButton::clicked, this, &TForm17::BtnDtStCloseClick);
    connect(BtnFormClose, &QPushButton::clicked, this, &TForm17::BtnFormCloseClick);

    const QWidget* editor = host.EditorWindow();
    setGeometry(QRect(editor->geometry().topLeft(), QSize(editor->width(), kStripHeight)));
    ImageKP = host.RegionBitmap();
    show();
}

void TForm17::YTBVChange(int n) {
    const auto i = static_cast<std::size_t>(n);
    const int offset = ToneOffsetOfPosition(YTB[i]->Position());
    OffsetOfBar(offsets_, n) = offset;
    Label[i]->setText(QString::number(offset));
}

void TForm17::YTBVMouseUp() {
    host_.RegionBitmap() = AdjustTone(ImageKP, offsets_);
    host_.RegionChanged();
}

void TForm17::BtnResetClick() {
    for (std::size_t i = 0; i < YTB.size(); ++i) {
        YTB[i]->SetPosition(kMiddle);
        Label[i]->setText(QStringLiteral("0"));
    }
    offsets_ = {};
    host_.RegionBitmap() = ImageKP;
    host_.RegionChanged();
    FocusSink();
}

void TForm17::BtnDtStCloseClick() {
    Bitmap& region = host_.RegionBitmap();
    if (region != ImageKP) {
        // The snapshot holds the region as opened; RegionBitmap stays the adjusted picture.
        std::swap(region, ImageKP);
        const bool saved = host_.SnapshotRegion();
        std::swap(region, ImageKP);
        if (!saved) return;
    }
    Release();
}

void TForm17::BtnFormCloseClick() {
    host_.RegionBitmap() = ImageKP;
    host_.RegionChanged();
    Release();
}

}  // namespace pb
