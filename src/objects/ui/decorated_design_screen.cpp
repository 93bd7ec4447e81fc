#include "objects/ui/decorated_design_screen.h"

#include <QCloseEvent>
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "common/app_state.h"
#include "common/picture_browsing.h"
#include "common/ui/screen_hub.h"
#include "objects/decorated_path.h"
#include "platform/bitmap_canvas.h"
#include "platform/file_service.h"
#include "platform/fonts.h"

namespace pb {

namespace {

constexpr int kRow = 28;  // rows of buttons are 26 high, 2 apart
constexpr int kButtonHeight = 26;
// The picture browser gets a column of its own right of the controls when the panel is this
// wide; otherwise it takes the place of the component colours, which a picture fill does not
// use.
constexpr int kBrowserColumnLeft = 228;
constexpr int kBrowserMinWidth = 200;

const char* const kPatternNames[] = {"SOLID",     "斜線1", "斜線2", "CROSS",
                                     "斜めCROSS", "横線",  "縦線"};

int AbsAmount(int amount) {
    return amount < 0 ? -amount : amount;
}

}  // namespace

TForm9::TForm9(QWidget* parent) : ObjectDesignForm(parent) {
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("デザイン変更"));
    setStyleSheet(QStringLiteral("#Form9 { background: #c0c0c0; }"));
    const bool loaded = OpenDesign(ObjectFamily::Decorated);
    rec_ = stored();
    BuildControls();
    ConnectHandlers();
    if (loaded) FormCreate();
    show();
}

void TForm9::BuildControls() {
    const int x = kLeft, w = kColumnWidth;
    auto row = [](int n) { return 2 + n * kRow; };
    auto* targets = AddGroup(QStringLiteral("GroupBox1"), QString(), x - 2, 0, w + 4, 26);
    targets->setFlat(true);
    RBtn0 = AddRadio(QStringLiteral("RBtn0"), QStringLiteral("線"), 4, 2, 60, 22, targets);
    RBtn1 = AddRadio(QStringLiteral("RBtn1"), QStringLiteral("中身"), 70, 2, 66, 22, targets);
    RBtn2 = AddRadio(QStringLiteral("RBtn2"), QStringLiteral("影"), 142, 2, 60, 22, targets);

    BtnK0 =
        AddButton(QStringLiteral("BtnK0"), QStringLiteral("影無"), x, row(1), 52, kButtonHeight);
    BtnK1 = AddButton(QStringLiteral("BtnK1"), QStringLiteral("影付"), x + 54, row(1), 52,
                      kButtonHeight);
    AddLabel(QStringLiteral("LabelL"), QStringLiteral("線幅"), x + 110, row(1), 30, kButtonHeight);
    BtnL1 =
        AddButton(QStringLiteral("BtnL1"), QStringLiteral("↓"), x + 140, row(1), 37, kButtonHeight);
    BtnL2 =
        AddButton(QStringLiteral("BtnL2"), QStringLiteral("↑"), x + 179, row(1), 37, kButtonHeight);

    AddLabel(QStringLiteral("LabelF1"), QStringLiteral("アーチ"), x, row(2), 40, kButtonHeight);
    AddLabel(QStringLiteral("LabelF3"), QStringLiteral("傾斜"), x + 112, row(2), 30, kButtonHeight);
    const char* deformCaptions[] = {"", "↑", "↓", "↑", "↓"};
    const int deformX[] = {0, 40, 74, 144, 180};
    for (int n = 1; n <= 4; ++n)
        BtnF[n] = AddButton(QStringLiteral("BtnF%1").arg(n), QString::fromUtf8(deformCaptions[n]),
                            x + deformX[n], row(2), 34, kButtonHeight);

    const char* fillCaptions[] = {"", "定型線描", "STRIPE", "GRADATION", "画像"};
    for (int n = 1; n <= 4; ++n)
        BtnB[n] = AddButton(QStringLiteral("BtnB%1").arg(n), QString::fromUtf8(fillCaptions[n]),
                            x + ((n - 1) % 2) * 110, row(3 + (n - 1) / 2), 106, kButtonHeight);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(x, row(5), w, kButtonHeight);
    ComboBox1->setFocusPolicy(Qt::NoFocus);
    for (const char* name : kPatternNames) ComboBox1->addItem(QString::fromUtf8(name));
    BtnV1 = AddButton(QStringLiteral("BtnV1"), QStringLiteral("縦"), x, row(5), 106, kButtonHeight);
    BtnV0 = AddButton(QStringLiteral("BtnV0"), QStringLiteral("横"), x + 110, row(5), 106,
                      kButtonHeight);

    // Texts.
    const char* alignCaptions[] = {"", "文字左寄", "文字中央", "文字右寄"};
    for (int n = 1; n <= 3; ++n)
        BtnP[n] = AddButton(QStringLiteral("BtnP%1").arg(n), QString::fromUtf8(alignCaptions[n]),
                            x + (n - 1) * 73, row(6), 70, kButtonHeight);
    AddLabel(QStringLiteral("LabelM"), QStringLiteral("サイズ"), x, row(7), 44, kButtonHeight);
    const char* sizeCaptions[] = {"", "↓", "↑", "↓", "↑"};
    const int sizeX[] = {0, 46, 88, 134, 176};
    for (int n = 1; n <= 4; ++n)
        BtnM[n] = AddButton(QStringLiteral("BtnM%1").arg(n), QString::fromUtf8(sizeCaptions[n]),
                            x + sizeX[n], row(7), 40, kButtonHeight);
    BuildFontList(x, row(8), w, kPaletteTop - row(8) - 4, rec_.FontIndex);

    // Shapes.
    const char* kindCaptions[] = {"", "Rectangle", "RoundRect", "Ellipse"};
    for (int n = 1; n <= 3; ++n)
        BtnA[n] = AddButton(QStringLiteral("BtnA%1").arg(n), QString::fromUtf8(kindCaptions[n]),
                            x + (n - 1) * 73, row(6), 70, kButtonHeight);
    AddLabel(QStringLiteral("LabelSW"), QStringLiteral("幅"), x, row(7), 30, kButtonHeight);
    AddLabel(QStringLiteral("LabelSH"), QStringLiteral("高さ"), x, row(8), 30, kButtonHeight);
    const char* widthCaptions[] = {"", "←", "→", "←", "→"};
    const char* heightCaptions[] = {"", "↑", "↓", "↑", "↓"};
    for (int n = 1; n <= 4; ++n) {
        const int bx = x + 32 + (n - 1) * 46 + (n > 2 ? 4 : 0);
        BtnSW[n] = AddButton(QStringLiteral("BtnS0%1").arg(n), QString::fromUtf8(widthCaptions[n]),
                             bx, row(7), 42, kButtonHeight);
        BtnSH[n] = AddButton(QStringLiteral("BtnS1%1").arg(n), QString::fromUtf8(heightCaptions[n]),
                             bx, row(8), 42, kButtonHeight);
    }
    BtnSS = AddButton(QStringLiteral("BtnSS"), QStringLiteral("画像に合わせて縦横比補整"), x,
                      row(9), w, kButtonHeight);

    BuildLowerPanel();

    ShellTreeView1 = new FolderTree(this);
    ListView1 = new ThumbnailListView(this);
    if (width() >= kBrowserColumnLeft + kBrowserMinWidth + 4) {
        const int bw = std::min(width() - kBrowserColumnLeft - 4, 480);
        const int bottom = std::max(height(), 553) - 4;
        ShellTreeView1->setGeometry(kBrowserColumnLeft, 4, bw, 200);
        ListView1->setGeometry(kBrowserColumnLeft, 208, bw, bottom - 208);
    } else {
        ShellTreeView1->setGeometry(x, kComponentsTop, w, 58);
        ListView1->setGeometry(x, kComponentsTop + 60, w, 553 - kComponentsTop - 62);
    }
    ShellTreeView1->hide();
    ListView1->hide();
}

void TForm9::ConnectHandlers() {
    // Each handler gets the number its control is named by ("BtnK1" 1, "BtnS12" 12).
    connect(BtnK0, &QPushButton::clicked, this, [this] { BtnKClick(0); });
    connect(BtnK1, &QPushButton::clicked, this, [this] { BtnKClick(1); });
    connect(BtnL1, &QPushButton::clicked, this, [this] { BtnLClick(1); });
    connect(BtnL2, &QPushButton::clicked, this, [this] { BtnLClick(2); });
    for (int n = 1; n <= 4; ++n) {
        connect(BtnF[n], &QPushButton::clicked, this, [this, n] { BtnFClick(n); });
        connect(BtnB[n], &QPushButton::clicked, this, [this, n] { BtnBClick(n); });
        connect(BtnM[n], &QPushButton::clicked, this, [this, n] { BtnMClick(n); });
        connect(BtnSW[n], &QPushButton::clicked, this, [this, n] { BtnSClick(n); });
        connect(BtnSH[n], &QPushButton::clicked, this, [this, n] { BtnSClick(10 + n); });
    }
    for (int n = 1; n <= 3; ++n) {
        connect(BtnP[n], &QPushButton::clicked, this, [this, n] { BtnPClick(n); });
        connect(BtnA[n], &QPushButton::clicked, this, [this, n] { BtnAClick(n); });
    }
    for (QPushButton* b : {BtnV0, BtnV1})
        connect(b, &QPushButton::clicked, this, &TForm9::BtnVClick);
    connect(BtnSS, &QPushButton::clicked, this, &TForm9::BtnSSClick);
    connect(ComboBox1, &QComboBox::activated, this, &TForm9::ComboBox1Change);
    connect(ListBox1, &QListWidget::itemClicked, this, &TForm9::ListBox1Click);
    connect(ListView1, &QListWidget::itemClicked, this, &TForm9::ListView1Click);
    connect(ShellTreeView1, &FolderTree::folderChanged, this, &TForm9::ShellTreeView1Change);
    for (QRadioButton* r : {RBtn0, RBtn1, RBtn2})
        connect(r, &QRadioButton::clicked, this, &TForm9::FocusSink);
    MarkFollows({RBtn0, RBtn1, RBtn2});
    connect(BtnDtStClose, &QPushButton::clicked, this, &TForm9::BtnDtStCloseClick);
    connect(BtnFormClose, &QPushButton::clicked, this, &TForm9::BtnFormCloseClick);
}

void TForm9::FormCreate() {
    rec_ = stored();
    fill_ = SplitFillStyle(rec_.FillStyle);
    shapeKind_ = ShapeKind(rec_.Text);
    ComponentColours components;
    components.use = rec_.UseColor;
    components.colour = rec_.Color;
    palette->SetComponents(components);

    const bool shape = shapeKind_ != 0;
    for (int n = 1; n <= 3; ++n) {
        BtnP[n]->setVisible(!shape);
        BtnA[n]->setVisible(shape);
    }
    for (int n = 1; n <= 4; ++n) {
        BtnM[n]->setVisible(!shape);
        BtnSW[n]->setVisible(shape);
        BtnSH[n]->setVisible(shape);
    }
    ListBox1->setVisible(!shape);
    Find<QLabel>(QStringLiteral("LabelM"))->setVisible(!shape);
    Find<QLabel>(QStringLiteral("LabelSW"))->setVisible(shape);
    Find<QLabel>(QStringLiteral("LabelSH"))->setVisible(shape);

    RBtn0->setChecked(true);
    RBtn2->setVisible(rec_.Shadow);
    ComboBox1->setCurrentIndex(fill_.pattern);
    ShowFillControls(fill_.code);
    BtnSS->setVisible(shape && HasPictureFill());
    if (BtnSS->isVisibleTo(this)) ShowPictureNote();
    EnableArch();
}

void TForm9::FormClose() {
    if (noteShown_) Hub().ShowImageQualityNote(false);
    noteShown_ = false;
    ObjectDesignForm::FormClose();
}

ObjectRecord TForm9::CurrentRecord() const {
    ObjectRecord rec = rec_;
    rec.FillStyle = JoinFillStyle(fill_);
    if (palette) {
        rec.UseColor = palette->components().use;
        rec.Color = palette->components().colour;
    }
    if (shapeKind_ != 0) rec.Text = "vrnSHAPE" + std::to_string(shapeKind_);
    return rec;
}

std::string TForm9::FontFamily() const {
    return FontNameForIndex(InstalledFonts(), rec_.FontIndex);
}

Size TForm9::TextBox(int size, const std::string& family) const {
    Bitmap probe(1, 1);
    BitmapCanvas canvas(probe);
    return MeasureText(canvas, family, size, true, rec_.Text);
}

bool TForm9::HasPictureFill() const {
    return fill_.code == 4 && !rec_.ImageFile.empty() && Files().FileExists(rec_.ImageFile);
}

void TForm9::ShowPictureNote() {
    if (noteShown_) return;
    Hub().ShowImageQualityNote(true);
    noteShown_ = true;
}

void TForm9::EnableArch() {
    const bool arch = shapeKind_ == 0 || shapeKind_ == 3;
    BtnF[1]->setEnabled(arch);
    BtnF[2]->setEnabled(arch);
}

void TForm9::ShowFillControls(int code) {
    const bool pattern = code == kPatternStyle;
    const bool bands = code == 2 || code == 3;
    ComboBox1->setVisible(pattern);
    RBtn1->setVisible(pattern);
    if (!pattern && RBtn1->isChecked()) RBtn0->setChecked(true);
    ShowComponentColours(bands, code == 2   ? QStringLiteral("STRIPE構成色選択")
                                : code == 3 ? QStringLiteral("GRADATION構成色選択")
                                            : QString());
    BtnV0->setVisible(bands);
    BtnV1->setVisible(bands);
    ShowPictureBrowser(code == 4);
    MarkCurrentColour();
}

std::optional<TColor> TForm9::CurrentPaletteColour() const {
    if (RBtn0->isChecked()) return rec_.OutlineColor;
    // The fill takes a palette colour only with a pattern; its other styles take theirs from
    // the component colours or a picture.
    if (RBtn1->isChecked() && fill_.code == kPatternStyle) return rec_.FillColor;
    if (RBtn2->isChecked() && rec_.Shadow) return rec_.ShadowColor;
    return std::nullopt;
}

void TForm9::ShowPictureBrowser(bool visible) {
    if (visible) {
        AppState& app = App();
        ShellTreeView1->SetPath(app.CurrentPictureFolder);
        app.CurrentPictureFolder =
            ListView1->ChangeFolder(app.CurrentPictureFolder, app.CurrentPictureFolder);
    }
    ShellTreeView1->setVisible(visible);
    ListView1->setVisible(visible);
}

void TForm9::Preview() {
    ShowPreview(CurrentRecord());
}

void TForm9::BtnAClick(int kind) {
    FocusSink();
    if (kind < 1 || kind > 3) return;
    shapeKind_ = kind;
    rec_.Text = "vrnSHAPE" + std::to_string(kind);
    rec_.DeformAmount = 0;
    EnableArch();
    Preview();
}

void TForm9::BtnKClick(int n) {
    const bool on = n == 1;
    FocusSink();
    rec_.Shadow = on;
    RBtn2->setVisible(on);
    // Without a shadow its colour is no target; the outline colour is.
    if (!on && RBtn2->isChecked()) RBtn0->setChecked(true);
    Preview();
}

void TForm9::BtnLClick(int n) {
    const int step = n == 1 ? -1 : 1;
    FocusSink();
    rec_.OutlineWidth = std::clamp(rec_.OutlineWidth + step, kOutlineWidthMin, kOutlineWidthMax);
    Preview();
}

void TForm9::BtnFClick(int n) {
    FocusSink();
    if (n < 1 || n > 4) return;
    const int mode = n <= 2 ? 1 : 2;
    const int step = DeformStep(CurrentRecord());
    long long amount = rec_.DeformMode == mode ? rec_.DeformAmount : 0;
    amount += n % 2 == 1 ? -step : step;
    if (amount > INT_MAX / 2 || amount < -INT_MAX / 2) return;
    const int reserve = AbsAmount(static_cast<int>(amount));
    const Size box =
        shapeKind_ != 0 ? Size{rec_.Width(), rec_.Height()} : TextBox(rec_.FontSize, FontFamily());
    if (RefuseUnlessFits(box, reserve)) return;
    rec_.DeformMode = mode;
    rec_.DeformAmount = static_cast<int>(amount);
    Preview();
}

void TForm9::BtnMClick(int n) {
    FocusSink();
    if (n < 1 || n > 4) return;
    const int step = DecoratedFontStep(n >= 3, App().isA4());
    if (n == 2 || n == 4) {
        const int size = std::min(rec_.FontSize + step, kLargestDesignSize);
        if (RefuseUnlessFits(TextBox(size, FontFamily()), AbsAmount(rec_.DeformAmount))) return;
        rec_.FontSize = size;
    } else {
        rec_.FontSize = std::max(rec_.FontSize - step, kDecoratedSmallestSize);
    }
    Preview();
}

void TForm9::BtnSClick(int n) {
    FocusSink();
    const int button = n % 10;
    if (button < 1 || button > 4 || (n / 10 != 0 && n / 10 != 1)) return;
    const bool width = n < 10;
    const int step = ShapeSideStep(button >= 3, App().isA4());
    int& side = width ? rec_.FontSize : rec_.Align;
    if (button % 2 == 1) {
        const auto smaller = ShrinkShapeSide(side, step);
        if (!smaller) return;
        side = *smaller;
    } else {
        const bool refused = width
                                 ? RefuseUnlessFits({side + step, 0})
                                 : RefuseUnlessFits({0, side + step}, AbsAmount(rec_.DeformAmount));
        if (refused) return;
        side += step;
    }
    Preview();
}

void TForm9::BtnSSClick() {
    FocusSink();
    if (shapeKind_ == 0 || !HasPictureFill()) return;
    const auto picture = PictureFileSize(rec_.ImageFile);
    if (!picture) return;
    Size room = Room();
    room.height -= AbsAmount(rec_.DeformAmount);
    const auto size = ShapeSizeForPicture({rec_.Width(), rec_.Height()}, *picture, room);
    if (!size) return;
    rec_.FontSize = size->width;
    rec_.Align = size->height;
    Preview();
}

void TForm9::BtnBClick(int n) {
    FocusSink();
    if (n < 1 || n > 4) return;
    DeleteFileIfExists(CompanionBitmapPath(folder(), slot()));
    palette->ResetComponents();
    fill_.code = n == 1 ? kPatternStyle : n;
    if (n == 1) ComboBox1->setCurrentIndex(fill_.pattern);
    ShowFillControls(fill_.code);
    if (shapeKind_ != 0) {
        const bool picture = HasPictureFill();
        BtnSS->setVisible(picture);
        if (picture) {
            ShowPictureNote();
        } else if (noteShown_) {
            Hub().ShowImageQualityNote(false);
            noteShown_ = false;
        }
    }
    Preview();
}

void TForm9::BtnVClick() {
    rec_.Horizontal = sender() == BtnV0;
    FocusSink();
    Preview();
}

void TForm9::BtnPClick(int n) {
    FocusSink();
    if (n < 1 || n > 3) return;
    rec_.Align = n;
    Preview();
}

void TForm9::ComboBox1Change(int index) {
    FocusSink();
    if (index < 0 || index > 6) return;
    fill_.pattern = index;
    Preview();
}

void TForm9::ListBox1Click() {
    FocusSink();
    if (shapeKind_ != 0) return;
    const std::optional<int> font = TouchedFont(ListBox1, [this](const std::string& name) {
        return RefuseUnlessFits(TextBox(rec_.FontSize, name), AbsAmount(rec_.DeformAmount));
    });
    if (!font) return;
    rec_.FontIndex = *font;
    Preview();
}

void TForm9::ListView1Click(QListWidgetItem* item) {
    FocusSink();
    // The picture lies in the folder the list shows, which is the current picture folder
    // unless that could not be stored.
    const std::optional<std::string> touched = TouchedPicture(*ListView1, item);
    if (!touched) return;
    const std::string& path = *touched;
    rec_.ImageFile = path;
    Preview();
    if (shapeKind_ != 0) {
        BtnSS->show();
        ShowPictureNote();
    }
}

void TForm9::ShellTreeView1Change(const QString& path) {
    AppState& app = App();
    app.CurrentPictureFolder =
        ListView1->ChangeFolder(app.CurrentPictureFolder, path.toStdString());
}

void TForm9::IroSentaku9a(TColor colour) {
    if (RBtn0->isChecked())
        rec_.OutlineColor = colour;
    else if (RBtn1->isChecked())
        rec_.FillColor = colour;
    else if (RBtn2->isChecked())
        rec_.ShadowColor = colour;
    Preview();
}

void TForm9::BtnDtStCloseClick() {
    FocusSink();
    ObjectRecord rec = CurrentRecord();
    if (rec.FillStyle != 4) rec.ImageFile.clear();
    ConfirmDesign(rec);
}

void TForm9::BtnFormCloseClick() {
    FocusSink();
    CancelDesign();
}

}  // namespace pb
