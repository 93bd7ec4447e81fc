#include "objects/ui/plain_text_design_screen.h"

#include <algorithm>

#include "common/app_state.h"
#include "objects/decorated_path.h"
#include "objects/design_rules.h"
#include "platform/bitmap_canvas.h"
#include "platform/file_service.h"
#include "platform/fonts.h"

namespace pb {

namespace {

constexpr int kRow = 28;
constexpr int kButtonHeight = 26;

}  // namespace

TForm8::TForm8(QWidget* parent) : ObjectDesignForm(parent) {
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("デザイン変更"));
    setStyleSheet(QStringLiteral("#Form8 { background: #c0c0c0; }"));
    const bool loaded = OpenDesign(ObjectFamily::Plain);
    rec_ = stored();
    BuildControls();
    ConnectHandlers();
    if (loaded) FormCreate();
    show();
}

void TForm8::BuildControls() {
    const int x = kLeft, w = kColumnWidth;
    auto row = [](int n) { return 2 + n * kRow; };
    auto* targets = AddGroup(QStringLiteral("GroupBox1"), QString(), x - 2, 0, w + 4, 26);
    targets->setFlat(true);
    RBtn0 = AddRadio(QStringLiteral("RBtn0"), QStringLiteral("文字"), 4, 2, 70, 22, targets);
    RBtn1 = AddRadio(QStringLiteral("RBtn1"), QStringLiteral("背景"), 80, 2, 70, 22, targets);

    // Size: the 16-point pair, then the 1-point pair.
    AddLabel(QStringLiteral("LabelM"), QStringLiteral("サイズ"), x, row(1), 44, kButtonHeight);
    const char* captions[] = {"", "↑", "↑", "↓", "↓"};
    const int bx[] = {0, 46, 134, 88, 176};
    for (int n = 1; n <= 4; ++n)
        BtnM[n] = AddButton(QStringLiteral("BtnM%1").arg(n), QString::fromUtf8(captions[n]),
                            x + bx[n], row(1), 40, kButtonHeight);
    AddLabel(QStringLiteral("LabelM16"), QStringLiteral("±16"), x + 46, row(2) - 2, 82, 14)
        ->setAlignment(Qt::AlignCenter);
    AddLabel(QStringLiteral("LabelM1"), QStringLiteral("±1"), x + 134, row(2) - 2, 82, 14)
        ->setAlignment(Qt::AlignCenter);

    const char* alignCaptions[] = {"", "左寄", "中央", "右寄"};
    for (int n = 1; n <= 3; ++n)
        BtnP[n] = AddButton(QStringLiteral("BtnP%1").arg(n), QString::fromUtf8(alignCaptions[n]),
                            x + (n - 1) * 73, row(2) + 12, 70, kButtonHeight);
    const char* backCaptions[] = {"なし", "SOLID", "STRIPE", "GRADATION"};
    for (int n = 0; n <= 3; ++n)
        BtnB[n] = AddButton(QStringLiteral("BtnB%1").arg(n), QString::fromUtf8(backCaptions[n]),
                            x + (n % 2) * 110, row(3 + n / 2) + 12, 106, kButtonHeight);
    BtnV1 = AddButton(QStringLiteral("BtnV1"), QStringLiteral("縦"), x, row(5) + 12, 106,
                      kButtonHeight);
    BtnV0 = AddButton(QStringLiteral("BtnV0"), QStringLiteral("横"), x + 110, row(5) + 12, 106,
                      kButtonHeight);
    BuildFontList(x, row(6) + 12, w, kPaletteTop - row(6) - 16, rec_.FontIndex);
    BuildLowerPanel();
}

void TForm8::ConnectHandlers() {
    // Each handler gets the number its control is named by ("BtnM3" 3).
    for (int n = 1; n <= 4; ++n)
        connect(BtnM[n], &QPushButton::clicked, this, [this, n] { BtnMClick(n); });
    for (int n = 1; n <= 3; ++n)
        connect(BtnP[n], &QPushButton::clicked, this, [this, n] { BtnPClick(n); });
    for (int n = 0; n <= 3; ++n)
        connect(BtnB[n], &QPushButton::clicked, this, [this, n] { BtnBClick(n); });
    for (QPushButton* b : {BtnV0, BtnV1})
        connect(b, &QPushButton::clicked, this, &TForm8::BtnVClick);
    connect(ListBox1, &QListWidget::itemClicked, this, &TForm8::ListBox1Click);
    for (QRadioButton* r : {RBtn0, RBtn1})
        connect(r, &QRadioButton::clicked, this, &TForm8::FocusSink);
    MarkFollows({RBtn0, RBtn1});
    connect(BtnDtStClose, &QPushButton::clicked, this, &TForm8::BtnDtStCloseClick);
    connect(BtnFormClose, &QPushButton::clicked, this, &TForm8::BtnFormCloseClick);
}

void TForm8::FormCreate() {
    ComponentColours components;
    components.use = rec_.UseColor;
    components.colour = rec_.Color;
    palette->SetComponents(components);
    RBtn0->setChecked(true);
    ShowBackgroundControls();
}

void TForm8::ShowBackgroundControls() {
    const int style = rec_.BackStyle;
    RBtn1->setVisible(style == 1);
    if (style != 1 && RBtn1->isChecked()) RBtn0->setChecked(true);
    const bool bands = style == 2 || style == 3;
    ShowComponentColours(bands, style == 2   ? QStringLiteral("STRIPE構成色選択")
                                : style == 3 ? QStringLiteral("GRADATION構成色選択")
                                             : QString());
    BtnV0->setVisible(bands);
    BtnV1->setVisible(bands);
    MarkCurrentColour();
}

std::optional<TColor> TForm8::CurrentPaletteColour() const {
    if (RBtn0->isChecked()) return rec_.FontColor;
    // The background takes a palette colour only with SOLID.
    if (RBtn1->isChecked() && rec_.BackStyle == 1) return rec_.BackColor;
    return std::nullopt;
}

ObjectRecord TForm8::CurrentRecord() const {
    ObjectRecord rec = rec_;
    if (palette) {
        rec.UseColor = palette->components().use;
        rec.Color = palette->components().colour;
    }
    return rec;
}

Size TForm8::TextBox(int size, const std::string& family) const {
    Bitmap probe(1, 1);
    BitmapCanvas canvas(probe);
    return MeasureText(canvas, family, size, false, rec_.Text);
}

void TForm8::Preview() {
    ShowPreview(CurrentRecord());
}

void TForm8::BtnMClick(int n) {
    FocusSink();
    if (n < 1 || n > 4) return;
    const int step = PlainFontStep(n == 1 || n == 3, App().isA4());
    if (n <= 2) {
        const int size = std::min(rec_.FontSize + step, kLargestDesignSize);
        const std::string family = FontNameForIndex(InstalledFonts(), rec_.FontIndex);
        if (RefuseUnlessFits(TextBox(size, family))) return;
        rec_.FontSize = size;
    } else {
        rec_.FontSize = std::max(rec_.FontSize - step, kPlainSmallestSize);
    }
    Preview();
}

void TForm8::BtnPClick(int n) {
    FocusSink();
    if (n < 1 || n > 3) return;
    rec_.Align = n;
    Preview();
}

void TForm8::BtnBClick(int n) {
    FocusSink();
    if (n < 0 || n > 3) return;
    palette->ResetComponents();
    DeleteFileIfExists(CompanionBitmapPath(folder(), slot()));
    rec_.BackStyle = n;
    ShowBackgroundControls();
    Preview();
}

void TForm8::BtnVClick() {
    rec_.Horizontal = sender() == BtnV0;
    FocusSink();
    Preview();
}

void TForm8::ListBox1Click() {
    FocusSink();
    const std::optional<int> font = TouchedFont(ListBox1, [this](const std::string& name) {
        return RefuseUnlessFits(TextBox(rec_.FontSize, name));
    });
    if (!font) return;
    rec_.FontIndex = *font;
    Preview();
}

void TForm8::IroSentaku8a(TColor colour) {
    if (RBtn0->isChecked())
        rec_.FontColor = colour;
    else if (RBtn1->isChecked())
        rec_.BackColor = colour;
    Preview();
}

void TForm8::BtnDtStCloseClick() {
    FocusSink();
    ConfirmDesign(CurrentRecord());
}

void TForm8::BtnFormCloseClick() {
    FocusSink();
    CancelDesign();
}

}  // namespace pb
