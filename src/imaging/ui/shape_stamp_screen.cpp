#include "imaging/ui/shape_stamp_screen.h"

#include <algorithm>

#include "common/ui/region_host.h"
#include "imaging/ui/region_screens.h"
#include "platform/ui/image_control.h"
#include "platform/work_indicator.h"

namespace pb {

namespace {

// The preview's top-left corner; the corner buttons stand around it.
constexpr int kPreviewLeft = 50;
constexpr int kPreviewTop = 75;
constexpr int kCornerButton = 25;
// The controls' column, right of the largest preview and its corner buttons.
constexpr int kPanelLeft = 520;
constexpr int kPanelWidth = 264;

}  // namespace

TForm5::TForm5(RegionHost& host) : Form(host.EditorWindow()), host_(host) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("激しく変形"));
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("#Form5 { background: white; }"));
    // The whole display, which the region editor covers.
    QWidget* editor = host.EditorWindow();
    setGeometry(QRect(editor->mapToGlobal(QPoint(0, 0)), editor->size()));
    region_ = host.RegionBitmap();
    // Default shadow colour 0x808080, outline 0xC0C0C0 of width 1.
    style_ = StampStyle{};
    BuildControls();
    ConnectHandlers();
    SetUp();
    show();
}

TForm5::~TForm5() = default;

void TForm5::BuildControls() {
    AddFocusSink(2, 2);
    const Size preview = StampPreviewSize(region_.width(), region_.height());
    Image1 = new ImageControl(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setStretch(true);
    Image1->setGeometry(kPreviewLeft, kPreviewTop, preview.width, preview.height);
    BuildCornerButtons(QSize(preview.width, preview.height));
    BuildRightPanel(kPanelLeft);
}

void TForm5::BuildCornerButtons(QSize preview) {
    // A cross of four buttons at each corner of the preview: "↓" at the cross centre (x, y),
    // "↑" above it, "←" and "→" either side half-way up.
    for (int corner = 0; corner <= 3; ++corner) {
        const int x = corner < 2 ? 25 : kPreviewLeft + preview.width();
        const int y = corner % 2 == 0 ? 50 : kPreviewTop + preview.height() + 50;
        auto add = [&](char axis, char sign, const char* caption, int bx, int by) {
            AddButton(QStringLiteral("Btn%1%2%3").arg(QChar(axis)).arg(corner).arg(QChar(sign)),
                      QString::fromUtf8(caption), bx, by, kCornerButton, kCornerButton);
        };
        add('Y', 'P', "↓", x, y);
        add('Y', 'M', "↑", x, y - 50);
        add('X', 'M', "←", x - 25, y - 25);
        add('X', 'P', "→", x + 25, y - 25);
    }
}

void TForm5::BuildRightPanel(int x) {
    auto radio = [&](int n, const char* caption, int rx, int ry, int w, QWidget* group) {
        RadioButton[static_cast<std::size_t>(n)] =
            AddRadio(QStringLiteral("RadioButton%1").arg(n, 2, 10, QLatin1Char('0')),
                     QString::fromUtf8(caption), rx, ry, w, 22, group);
    };
    auto* shapes =
        AddGroup(QStringLiteral("GroupBoxShape"), QStringLiteral("形"), x, 4, kPanelWidth, 106);
    const char* shapeCaptions[] = {"四角", "丸角四角", "円",   "ハート型",
                                   "星型", "円柱",     "矢印", "吹き出し"};
    for (int n = 0; n <= 7; ++n)
        radio(n, shapeCaptions[n], 8 + n / 4 * 126, 18 + n % 4 * 21, 120, shapes);

    ShadowGroup = AddGroup(QStringLiteral("GroupBoxShadow"), QStringLiteral("影"), x, 112, 130, 62);
    radio(8, "影なし", 6, 18, 110, ShadowGroup);
    radio(9, "影つき", 6, 39, 110, ShadowGroup);
    DirectionGroup = AddGroup(QStringLiteral("GroupBoxDirection"), QStringLiteral("向き"), x + 134,
                              112, 130, 62);
    const char* directions[] = {"↑", "→", "↓", "←"};
    for (int k = 0; k <= 3; ++k)
        radio(10 + k, directions[k], 6 + k % 2 * 60, 18 + k / 2 * 21, 56, DirectionGroup);
    auto* target = AddGroup(QStringLiteral("GroupBoxColour"), QStringLiteral("色変更"), x, 176,
                            kPanelWidth, 44);
    radio(14, "輪郭線の色", 6, 18, 120, target);
    radio(15, "影の色", 134, 18, 110, target);
    RadioButton[0]->setChecked(true);
    RadioButton[8]->setChecked(true);
    RadioButton[10]->setChecked(true);
    RadioButton[14]->setChecked(true);
    RadioButton[15]->hide();
    DirectionGroup->hide();

    PaletteLayout cells;
    cells.palette = QPoint(x, 224);
    palette_ = std::make_unique<PaletteWidgets>(*this, cells);
    AddLabel(QStringLiteral("Label2"), QStringLiteral("輪郭線の太さ"), x + 150, 224, 110, 20);
    LabelPW = AddLabel(QStringLiteral("LabelPW"), QString::number(style_.outlineWidth), x + 150,
                       248, 26, 30);
    LabelPW->setAlignment(Qt::AlignCenter);
    AddButton(QStringLiteral("BtnPWDN"), QStringLiteral("↓"), x + 180, 248, 40, 30);
    AddButton(QStringLiteral("BtnPWUP"), QStringLiteral("↑"), x + 224, 248, 40, 30);

    // The picture inside the shape: all sides, then one side at a time as a cross, the
    // button that enlarges the picture on the outside.
    auto* fit = AddGroup(QStringLiteral("GroupBoxKS"), QStringLiteral("画像位置サイズ補整"), x, 318,
                         kPanelWidth, 186);
    auto ks = [&](int group, int direction, const char* caption, int bx, int by, int w) {
        AddButton(QStringLiteral("BtnKS%1%2").arg(group).arg(direction), QString::fromUtf8(caption),
                  bx, by, w, 26, fit);
    };
    ks(0, 0, "  ↑   ← →   ↓", 8, 20, 120);
    ks(0, 1, "  ↓   → ←   ↑", 136, 20, 120);
    ks(1, 0, "↑", 113, 50, 38);
    ks(1, 1, "↓", 113, 76, 38);
    ks(4, 0, "←", 8, 102, 38);
    ks(4, 1, "→", 48, 102, 38);
    ks(5, 0, "補正解除", 90, 102, 84);
    ks(2, 1, "←", 178, 102, 38);
    ks(2, 0, "→", 218, 102, 38);
    ks(3, 1, "↑", 113, 128, 38);
    ks(3, 0, "↓", 113, 154, 38);

    Button1 = AddButton(QStringLiteral("Button1"), QStringLiteral("確定"), x, 510, 128, 38);
    Button2 = AddButton(QStringLiteral("Button2"), QStringLiteral("Cancel"), x + 136, 510, 128, 38);
}

void TForm5::ConnectHandlers() {
    for (int n = 0; n <= 15; ++n)
        connect(RadioButton[static_cast<std::size_t>(n)], &QRadioButton::clicked, this,
                [this, n] { RDBtnClick(n); });
    PaletteWidgets::Handlers handlers;
    handlers.paletteCell = [this](TColor colour) { IroSentaku5(colour); };
    handlers.current = [this] {
        return std::optional<TColor>(RadioButton[14]->isChecked() ? style_.outlineColour
                                                                  : style_.shadowColour);
    };
    palette_->Connect(this, handlers);
    palette_->MarkCurrent();
    // The mark follows the choice between the outline's and the shadow's colour.
    for (int n : {14, 15})
        connect(RadioButton[static_cast<std::size_t>(n)], &QRadioButton::toggled, this,
                [this] { palette_->MarkCurrent(); });
    connect(Find<QPushButton>(QStringLiteral("BtnPWDN")), &QPushButton::clicked, this,
            &TForm5::BtnPWDNClick);
    connect(Find<QPushButton>(QStringLiteral("BtnPWUP")), &QPushButton::clicked, this,
            &TForm5::BtnPWUPClick);
    for (int group = 0; group <= 5; ++group)
        for (int direction = 0; direction <= 1; ++direction)
            if (auto* b = Find<QPushButton>(QStringLiteral("BtnKS%1%2").arg(group).arg(direction)))
                connect(b, &QPushButton::clicked, this,
                        [this, group, direction] { BtnKSClick(group, direction); });
    for (int corner = 0; corner <= 3; ++corner)
        for (const bool alongX : {true, false})
            for (const bool plus : {true, false}) {
                const QString name = QStringLiteral("Btn%1%2%3")
                                         .arg(alongX ? QLatin1Char('X') : QLatin1Char('Y'))
                                         .arg(corner)
                                         .arg(plus ? QLatin1Char('P') : QLatin1Char('M'));
                connect(Find<QPushButton>(name), &QPushButton::clicked, this,
                        [this, corner, alongX, plus] { BtnTFRMClick(corner, alongX, plus); });
            }
    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
}

void TForm5::SetUp() {
    style_.insets = {};
    corners_ = PictureCorners(region_.width(), region_.height());
    composed_ = ComposeStamp(region_, style_);
    Image1->setPicture(composed_);
}

void TForm5::ComposeAndWarp() {
    composed_ = ComposeStamp(region_, style_);
    Image1->setPicture(WarpQuadrilateral(composed_, corners_, clWhite));
}

void TForm5::RDBtnClick(int n) {
    BusyCursor busy;
    if (n >= 0 && n <= 7) {
        style_.shape = static_cast<StampShape>(n);
        const bool cylinder = style_.shape == StampShape::Cylinder;
        ShadowGroup->setVisible(!cylinder);
        DirectionGroup->setVisible(style_.shape == StampShape::Arrow ||
                                   style_.shape == StampShape::Balloon);
        // The cylinder has no shadow; back from it, a shadow still chosen can be coloured
        // again.
        if (cylinder) RadioButton[14]->setChecked(true);
        RadioButton[15]->setVisible(!cylinder && style_.shadow);
        SetUp();
    } else if (n == 8 || n == 9) {
        style_.shadow = n == 9;
        RadioButton[style_.shadow ? 15 : 14]->setChecked(true);
        RadioButton[15]->setVisible(style_.shadow);
        ComposeAndWarp();
    } else if (n >= 10 && n <= 13) {
        style_.direction = static_cast<StampDirection>(n - 10);
        SetUp();
    }
    FocusSink();
}

void TForm5::IroSentaku5(TColor colour) {
    FocusSink();
    if (RadioButton[14]->isChecked())
        style_.outlineColour = colour;
    else
        style_.shadowColour = colour;
    BusyCursor busy;
    ComposeAndWarp();
}

void TForm5::BtnPWDNClick() {
    FocusSink();
    style_.outlineWidth = std::max(style_.outlineWidth - 1, kMinStampOutline);
    LabelPW->setText(QString::number(style_.outlineWidth));
    BusyCursor busy;
    ComposeAndWarp();
}

void TForm5::BtnPWUPClick() {
    FocusSink();
    style_.outlineWidth = std::min(style_.outlineWidth + 1, kMaxStampOutline);
    LabelPW->setText(QString::number(style_.outlineWidth));
    BusyCursor busy;
    ComposeAndWarp();
}

void TForm5::BtnKSClick(int group, int direction) {
    FocusSink();
    // Direction 0 enlarges the picture (inset -1), 1 shrinks it (+1).
    const int d = direction == 0 ? -1 : 1;
    // The sides each group moves: all, top, right, bottom, left; group 5 clears them.
    static constexpr int kSides[5][4] = {
        {1, 1, 1, 1}, {1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    if (group == 5) {
        style_.insets = {};
    } else if (group >= 0 && group < 5) {
        const int* k = kSides[group];
        style_.insets = ShiftInsets(style_.insets, d * k[0], d * k[1], d * k[2], d * k[3]);
    } else {
        return;
    }
    BusyCursor busy;
    ComposeAndWarp();
}

void TForm5::BtnTFRMClick(int corner, bool alongX, bool plus) {
    FocusSink();
    BusyCursor busy;
    corners_ = StepCorner(corners_, corner, alongX, plus, region_.width(), region_.height());
    ComposeAndWarp();
}

void TForm5::Button1Click() {
    FocusSink();
    if (!host_.SnapshotRegion()) return;
    host_.RegionBitmap() = Image1->picture();
    host_.RegionChanged();
    Release();
}

void TForm5::Button2Click() {
    FocusSink();
    Release();
}

QWidget* OpenShapeStamp(RegionHost& host) {
    return new TForm5(host);
}

}  // namespace pb
