#include "objects/ui/plain_text_stamp_screen.h"

#include <algorithm>

#include "common/ui/region_host.h"
#include "objects/decorated_path.h"
#include "objects/design_rules.h"
#include "objects/object_renderer.h"
#include "objects/text_stamp.h"
#include "objects/ui/object_design_form.h"
#include "platform/bitmap_canvas.h"
#include "platform/fonts.h"
#include "platform/work_indicator.h"

namespace pb {

namespace {

constexpr int kButtonHeight = 26;
// Columns of the panel: the radio groups, the size and direction, the palettes, the fonts.
constexpr int kGroupsLeft = 4;
constexpr int kSizeLeft = 160;
constexpr int kPaletteLeft = 262;
constexpr int kSecondPaletteLeft = 412;
constexpr int kTop = 20;

}  // namespace

TForm14::TForm14(RegionHost& host, const std::string& text)
    : TextStampForm(host, text, QStringLiteral("Form14")) {
    setWindowTitle(QStringLiteral("ただの文字"));
    rec_.family = ObjectFamily::Plain;
    rec_.Text = this->text();
    rec_.FontIndex = DefaultFontIndex(InstalledFonts());
    rec_.Align = 1;
    rec_.BackStyle = 0;
    rec_.BackColor = clWhite;
    rec_.FontColor = clBlack;
    rec_.Horizontal = true;
    rec_.FontSize = PlainStampStartFontSize(
        rec_.Text, FontNameForIndex(InstalledFonts(), rec_.FontIndex), RegionSize());
    BuildControls();
    ConnectHandlers();
    OpenOverRegion();
    RBtn[1]->setChecked(true);
    RBtn[4]->setChecked(true);
    RBtn[6]->setChecked(true);
    RBtn[10]->setChecked(true);
    ShowBackgroundControls(QString());
    Preview();
    show();
}

void TForm14::BuildControls() {
    const int x = kGroupsLeft;
    GroupBox1 = AddGroup(QStringLiteral("GroupBox1"), QStringLiteral("背景"), x, kTop, 150, 66);
    const char* backCaptions[] = {"なし", "SOLID", "STRIPE", "GRADATION"};
    for (int n = 6; n <= 9; ++n) {
        const int i = n - 6;
        // Columns of 62 and 82 pixels: "GRADATION" needs the wider one.
        RBtn[n] = AddRadio(QStringLiteral("RBtn%1").arg(n, 2, 10, QLatin1Char('0')),
                           QString::fromUtf8(backCaptions[i]), 4 + (i % 2) * 62, 18 + (i / 2) * 22,
                           i % 2 ? 82 : 62, 20, GroupBox1);
        QFont small = RBtn[n]->font();
        small.setPixelSize(11);
        RBtn[n]->setFont(small);
    }
    GroupBox2 = AddGroup(QStringLiteral("GroupBox2"), QString(), x, kTop + 70, 150, 30);
    const char* alignCaptions[] = {"左寄", "中央", "右寄"};
    for (int n = 1; n <= 3; ++n)
        RBtn[n] = AddRadio(QStringLiteral("RBtn%1").arg(n, 2, 10, QLatin1Char('0')),
                           QString::fromUtf8(alignCaptions[n - 1]), 4 + (n - 1) * 48, 5, 46, 20,
                           GroupBox2);
    GroupBox3 =
        AddGroup(QStringLiteral("GroupBox3"), QStringLiteral("色変更"), x, kTop + 104, 150, 44);
    RBtn[4] =
        AddRadio(QStringLiteral("RBtn04"), QStringLiteral("文字色"), 6, 18, 68, 20, GroupBox3);
    RBtn[5] =
        AddRadio(QStringLiteral("RBtn05"), QStringLiteral("背景色"), 76, 18, 68, 20, GroupBox3);

    GroupBox4 = AddGroup(QStringLiteral("GroupBox4"), QString(), kSizeLeft, kTop, 96, 30);
    RBtn[10] = AddRadio(QStringLiteral("RBtn10"), QStringLiteral("横"), 6, 5, 40, 20, GroupBox4);
    RBtn[11] = AddRadio(QStringLiteral("RBtn11"), QStringLiteral("縦"), 50, 5, 40, 20, GroupBox4);
    AddLabel(QStringLiteral("LabelM"), QStringLiteral("サイズ"), kSizeLeft, kTop + 40, 96, 16);
    LabelSize = AddLabel(QStringLiteral("LabelSize"), QString(), kSizeLeft, kTop + 58, 96, 18);
    LabelSize->setAlignment(Qt::AlignCenter);
    FSBtn01 = AddButton(QStringLiteral("FSBtn01"), QStringLiteral("↓"), kSizeLeft, kTop + 78, 46,
                        kButtonHeight);
    FSBtn02 = AddButton(QStringLiteral("FSBtn02"), QStringLiteral("↑"), kSizeLeft + 50, kTop + 78,
                        46, kButtonHeight);

    PaletteLayout layout;
    layout.palette = QPoint(kPaletteLeft, kTop);
    layout.components = QPoint(kPaletteLeft, kTop + 96);
    layout.secondPalette = QPoint(kSecondPaletteLeft, kTop);
    BuildPalette(layout);
    BuildFontList(QRect(560, kTop, 136, 176), FontNameForIndex(InstalledFonts(), rec_.FontIndex));
    BuildConfirmButtons(QStringLiteral("確定"));
}

void TForm14::ConnectHandlers() {
    // Each handler gets the number its control is named by ("RBtn07" 7, "FSBtn02" 2).
    for (int n = 1; n <= 11; ++n)
        connect(RBtn[n], &QRadioButton::clicked, this, [this, n] { RBtnVClick(n); });
    connect(FSBtn01, &QPushButton::clicked, this, [this] { FSBtnClick(1); });
    connect(FSBtn02, &QPushButton::clicked, this, [this] { FSBtnClick(2); });
    connect(ListBox1, &QListWidget::itemClicked, this, &TForm14::ListBox1Click);
    connect(BtnDtStClose, &QPushButton::clicked, this, &TForm14::BtnDtStCloseClick);
    MarkFollows({RBtn[4], RBtn[5]});
}

ObjectRecord TForm14::CurrentRecord() const {
    ObjectRecord rec = rec_;
    if (palette) {
        rec.UseColor = palette->components().use;
        rec.Color = palette->components().colour;
    }
    return rec;
}

Size TForm14::TextBox(int size, const std::string& family) const {
    Bitmap probe(1, 1);
    BitmapCanvas canvas(probe);
    return MeasureText(canvas, family, size, false, rec_.Text);
}

void TForm14::ShowBackgroundControls(const QString& caption) {
    const int style = rec_.BackStyle;
    RBtn[5]->setVisible(style == 1);
    if (style != 1 && RBtn[5]->isChecked()) RBtn[4]->setChecked(true);
    const bool bands = style == 2 || style == 3;
    palette->ShowComponents(bands, bands ? caption : QString());
    for (int n = 48; n <= 87; ++n) palette->Edit(n)->setVisible(bands);
    GroupBox4->setVisible(bands);
    MarkCurrentColour();
}

std::optional<TColor> TForm14::CurrentPaletteColour() const {
    if (RBtn[4]->isChecked()) return rec_.FontColor;
    // The background takes a palette colour only with SOLID.
    if (RBtn[5]->isChecked() && rec_.BackStyle == 1) return rec_.BackColor;
    return std::nullopt;
}

void TForm14::Preview() {
    BusyCursor busy;
    LabelSize->setText(QString::number(rec_.FontSize));
    const ObjectRecord rec = CurrentRecord();
    if (auto picture = RenderPlainTextPicture(rec, PlainStampStripeWidth(rec.FontSize)))
        ShowStamp(picture->image);
}

void TForm14::FSBtnClick(int n) {
    FocusSink();
    if (n != 1 && n != 2) return;
    const bool up = n == 2;
    const int size =
        std::clamp(rec_.FontSize + (up ? 1 : -1), kPlainStampSmallestSize, kPlainStampLargestSize);
    // A press never moves the size the other way (a fitted size below the range stays).
    if (up ? size <= rec_.FontSize : size >= rec_.FontSize) return;
    if (up && RefuseUnlessFits(TextBox(size, FontNameForIndex(InstalledFonts(), rec_.FontIndex))))
        return;
    rec_.FontSize = size;
    Preview();
}

void TForm14::RBtnVClick(int n) {
    FocusSink();
    if (n >= 1 && n <= 3) {
        rec_.Align = n;
    } else if (n >= 6 && n <= 9) {
        rec_.BackStyle = n - 6;
        if (n == 8 || n == 9) palette->ResetComponents();
        ShowBackgroundControls(RBtn[n]->text() + QStringLiteral("構成色選択"));
    } else if (n == 10 || n == 11) {
        rec_.Horizontal = n == 10;
    } else if (n != 4 && n != 5) {
        return;
    }
    Preview();
}

void TForm14::ListBox1Click() {
    FocusSink();
    const std::optional<int> font = TouchedFont(ListBox1, [this](const std::string& name) {
        return RefuseUnlessFits(TextBox(rec_.FontSize, name));
    });
    if (!font) return;
    rec_.FontIndex = *font;
    Preview();
}

void TForm14::IroSentaku14a(TColor colour) {
    if (RBtn[4]->isChecked())
        rec_.FontColor = colour;
    else if (RBtn[5]->isChecked() && RBtn[5]->isVisibleTo(this))
        rec_.BackColor = colour;
    Preview();
}

void TForm14::BtnDtStCloseClick() {
    FocusSink();
    // A snapshot that cannot be written leaves the region as it is and the screen open.
    if (!host().SnapshotRegion()) return;
    BurnPlainStamp(host().RegionBitmap(), RegionPosition(), CurrentRecord());
    host().RegionChanged();
    Release();
}

}  // namespace pb
