#include "objects/ui/decorated_text_stamp_screen.h"

#include <algorithm>

#include "common/app_state.h"
#include "common/picture_browsing.h"
#include "common/ui/region_host.h"
#include "objects/decorated_path.h"
#include "objects/design_rules.h"
#include "objects/object_renderer.h"
#include "objects/text_stamp.h"
#include "objects/ui/object_design_form.h"
#include "platform/bitmap_canvas.h"
#include "platform/file_service.h"
#include "platform/fonts.h"
#include "platform/picture_io.h"
#include "platform/work_indicator.h"

namespace pb {

namespace {

constexpr int kButtonHeight = 26;
constexpr int kRow = 28;
constexpr int kTop = 20;
// Columns of the panel: the buttons, the radio groups, the palettes, the fonts.
constexpr int kGroupsLeft = 152;
constexpr int kPaletteLeft = 304;
constexpr int kPaletteTop = 54;
constexpr int kSecondPaletteLeft = 452;
constexpr int kFontsLeft = 600;
// A panel at least this wide gives the picture browser a column of its own right of the
// controls; a narrower one lends it the places of the second palette and the fonts.
constexpr int kBrowserColumnLeft = 796;
constexpr int kBrowserMinWidth = 200;

// FillStyle of the fill radio buttons RBtn06..RBtn09.
constexpr int kFillStyles[] = {10, 2, 3, 4};

int Abs(int v) {
    return v < 0 ? -v : v;
}

QString TwoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

}  // namespace

TForm15::TForm15(RegionHost& host, const std::string& text)
    : TextStampForm(host, text, QStringLiteral("Form15")) {
    setWindowTitle(QStringLiteral("装飾文字"));
    rec_.family = ObjectFamily::Decorated;
    rec_.Text = this->text();
    rec_.FontIndex = DefaultFontIndex(InstalledFonts());
    rec_.Align = 2;
    rec_.OutlineWidth = 1;
    rec_.OutlineColor = clBlack;
    rec_.FillColor = clWhite;
    rec_.ShadowColor = clSilver;
    rec_.Shadow = false;
    rec_.FillStyle = 10;
    rec_.Horizontal = true;
    rec_.DeformMode = 1;
    rec_.DeformAmount = 0;
    rec_.FontSize = DecoratedStampStartFontSize(rec_.Text, FontFamily(), RegionSize());
    BuildControls();
    ConnectHandlers();
    OpenOverRegion();
    for (int n : {2, 4, 6, 10, 13}) RBtn[n]->setChecked(true);
    RBtn[12]->hide();
    ShowFillControls(QString());
    Preview();
    show();
}

std::string TForm15::FillBitmapPath() {
    return App().AppDir + "tmp.bmp";
}

void TForm15::BuildControls() {
    // The buttons: size ±8 and ±2, outline width, arch and slant.
    const char* rowCaptions[] = {"サイズ±8", "サイズ±2", "線幅", "アーチ", "傾斜"};
    for (int r = 0; r < 5; ++r)
        AddLabel(QStringLiteral("LabelB%1").arg(r), QString::fromUtf8(rowCaptions[r]), 4,
                 kTop + r * kRow, 60, kButtonHeight);
    auto pair = [this](int r, const QString& upName, const QString& downName, QPushButton*& up,
                       QPushButton*& down) {
        up = AddButton(upName, QStringLiteral("↑"), 64, kTop + r * kRow, 40, kButtonHeight);
        down = AddButton(downName, QStringLiteral("↓"), 106, kTop + r * kRow, 40, kButtonHeight);
    };
    pair(0, QStringLiteral("Btn1"), QStringLiteral("Btn3"), Btn[1], Btn[3]);
    pair(1, QStringLiteral("Btn2"), QStringLiteral("Btn4"), Btn[2], Btn[4]);
    pair(2, QStringLiteral("Btn5"), QStringLiteral("Btn6"), Btn[5], Btn[6]);
    // "↑" takes the step off: the middle of an arch rises, the right end of a slant rises.
    pair(3, QStringLiteral("FBtn1"), QStringLiteral("FBtn2"), FBtn[1], FBtn[2]);
    pair(4, QStringLiteral("FBtn3"), QStringLiteral("FBtn4"), FBtn[3], FBtn[4]);
    LabelSize = AddLabel(QStringLiteral("LabelSize"), QString(), 4, kTop + 5 * kRow + 2, 146, 18);

    const int x = kGroupsLeft;
    auto radios = [this](QGroupBox* group, int first, std::initializer_list<const char*> captions,
                         int top, int width) {
        int n = first, left = 6;
        for (const char* caption : captions) {
            RBtn[n] = AddRadio(QStringLiteral("RBtn") + TwoDigits(n), QString::fromUtf8(caption),
                               left, top, width, 20, group);
            ++n;
            left += width + 2;
        }
    };
    GroupBox1 = AddGroup(QStringLiteral("GroupBox1"), QString(), x, 18, 148, 30);
    radios(GroupBox1, 4, {"影なし", "影つき"}, 5, 66);
    GroupBox2 = AddGroup(QStringLiteral("GroupBox2"), QString(), x, 50, 148, 30);
    radios(GroupBox2, 1, {"左寄", "中央", "右寄"}, 5, 44);
    GroupBox3 =
        AddGroup(QStringLiteral("GroupBox3"), QStringLiteral("中身の塗り方"), x, 82, 148, 66);
    radios(GroupBox3, 6, {"SOLID", "STRIPE"}, 18, 66);
    radios(GroupBox3, 8, {"GRADATION", "画像"}, 40, 66);
    RBtn[8]->resize(94, 20);
    RBtn[9]->move(100, 40);
    RBtn[9]->resize(46, 20);
    for (int n = 6; n <= 9; ++n) {
        QFont small = RBtn[n]->font();
        small.setPixelSize(11);
        RBtn[n]->setFont(small);
    }
    GroupBox4 = AddGroup(QStringLiteral("GroupBox4"), QString(), x, 152, 148, 30);
    radios(GroupBox4, 13, {"横", "縦"}, 5, 50);
    GroupBox5 =
        AddGroup(QStringLiteral("GroupBox5"), QStringLiteral("色変更"), kPaletteLeft, 14, 226, 38);
    radios(GroupBox5, 10, {"輪郭線", "中身", "影"}, 16, 68);

    PaletteLayout layout;
    layout.palette = QPoint(kPaletteLeft, kPaletteTop);
    layout.components = QPoint(kPaletteLeft, kPaletteTop + 90);
    layout.secondPalette = QPoint(kSecondPaletteLeft, kPaletteTop);
    BuildPalette(layout);
    BuildFontList(QRect(kFontsLeft, kTop, 96, 176), FontFamily());
    BuildConfirmButtons(QStringLiteral("OK"));

    ShellTreeView1 = new FolderTree(this);
    ListView1 = new ThumbnailListView(this);
    ShellTreeView1->hide();
    ListView1->hide();
}

void TForm15::ConnectHandlers() {
    // Each handler gets the number its control is named by ("Btn3" 3, "RBtn12" 12).
    for (int n = 1; n <= 6; ++n)
        connect(Btn[n], &QPushButton::clicked, this, [this, n] { BtnUpDnClick(n); });
    for (int n = 1; n <= 4; ++n)
        connect(FBtn[n], &QPushButton::clicked, this, [this, n] { FBtnClick(n); });
    for (int n = 1; n <= 14; ++n)
        connect(RBtn[n], &QRadioButton::clicked, this, [this, n] { RBtnVClick(n); });
    connect(ListBox1, &QListWidget::itemClicked, this, &TForm15::ListBox1Click);
    connect(ListView1, &QListWidget::itemClicked, this, &TForm15::ListView1Click);
    connect(ShellTreeView1, &FolderTree::folderChanged, this, &TForm15::ShellTreeView1Change);
    connect(BtnDtStClose, &QPushButton::clicked, this, &TForm15::BtnDtStCloseClick);
    MarkFollows({RBtn[10], RBtn[11], RBtn[12]});
}

ObjectRecord TForm15::CurrentRecord() const {
    ObjectRecord rec = rec_;
    if (palette) {
        rec.UseColor = palette->components().use;
        rec.Color = palette->components().colour;
    }
    if (rec.FillStyle != 4) rec.ImageFile.clear();
    return rec;
}

std::string TForm15::FontFamily() const {
    return FontNameForIndex(InstalledFonts(), rec_.FontIndex);
}

Size TForm15::TextBox(int size, const std::string& family) const {
    Bitmap probe(1, 1);
    BitmapCanvas canvas(probe);
    return MeasureText(canvas, family, size, true, rec_.Text);
}

void TForm15::ShowFillControls(const QString& caption) {
    const bool bands = rec_.FillStyle == 2 || rec_.FillStyle == 3;
    palette->ShowComponents(bands, bands ? caption : QString());
    GroupBox4->setVisible(bands);
    const bool picture = rec_.FillStyle == 4;
    const bool ownColumn = width() >= kBrowserColumnLeft + kBrowserMinWidth;
    for (int n = 48; n <= 87; ++n) palette->Edit(n)->setVisible(bands);
    ListBox1->setVisible(!picture || ownColumn);
    ShowPictureBrowser(picture);
    MarkCurrentColour();
}

std::optional<TColor> TForm15::CurrentPaletteColour() const {
    if (RBtn[10]->isChecked()) return rec_.OutlineColor;
    // The fill takes a palette colour only with SOLID; its other styles take theirs from the
    // component colours or a picture.
    if (RBtn[11]->isChecked() && rec_.FillStyle == kFillStyles[0]) return rec_.FillColor;
    if (RBtn[12]->isChecked() && rec_.Shadow) return rec_.ShadowColor;
    return std::nullopt;
}

void TForm15::ShowPictureBrowser(bool visible) {
    if (visible) {
        if (width() >= kBrowserColumnLeft + kBrowserMinWidth) {
            ShellTreeView1->setGeometry(kBrowserColumnLeft, 4, 180, height() - 8);
            ListView1->setGeometry(kBrowserColumnLeft + 184, 4,
                                   std::min(width() - kBrowserColumnLeft - 188, 480), height() - 8);
        } else {
            ShellTreeView1->setGeometry(kSecondPaletteLeft, kPaletteTop, 244, 56);
            ListView1->setGeometry(kSecondPaletteLeft, kPaletteTop + 58, 244,
                                   std::max(height() - kPaletteTop - 60, 40));
        }
        AppState& app = App();
        ShellTreeView1->SetPath(app.CurrentPictureFolder);
        app.CurrentPictureFolder =
            ListView1->ChangeFolder(app.CurrentPictureFolder, app.CurrentPictureFolder);
    }
    ShellTreeView1->setVisible(visible);
    ListView1->setVisible(visible);
}

Bitmap TForm15::Preview() {
    BusyCursor busy;
    LabelSize->setText(
        QStringLiteral("サイズ %1  線幅 %2").arg(rec_.FontSize).arg(rec_.OutlineWidth));
    const ObjectRecord rec = CurrentRecord();
    auto picture = RenderDecoratedPicture(rec, DecoratedStampStripeWidth(rec.FontSize));
    // The fill bitmap of STRIPE, GRADATION and "画像" is kept beside the program; a SOLID
    // fill has none, and no older one may stay behind.
    if (picture && picture->companion)
        SaveBmp(*picture->companion, FillBitmapPath());
    else
        DeleteFileIfExists(FillBitmapPath());
    if (!picture) return {};
    ShowStamp(picture->image);
    return std::move(picture->image);
}

void TForm15::BtnUpDnClick(int n) {
    FocusSink();
    if (n == 5 || n == 6) {
        rec_.OutlineWidth =
            std::clamp(rec_.OutlineWidth + (n == 5 ? 1 : -1), kOutlineWidthMin, kOutlineWidthMax);
        Preview();
        return;
    }
    if (n < 1 || n > 4) return;
    const bool up = n <= 2;
    const int step = n % 2 == 1 ? 8 : 2;
    const int size = std::clamp(rec_.FontSize + (up ? step : -step), kDecoratedStampSmallestSize,
                                kDecoratedStampLargestSize);
    // A press never moves the size the other way (a fitted size below the range stays).
    if (up ? size <= rec_.FontSize : size >= rec_.FontSize) return;
    if (up && RefuseUnlessFits(TextBox(size, FontFamily()), Abs(rec_.DeformAmount))) return;
    rec_.FontSize = size;
    Preview();
}

void TForm15::FBtnClick(int n) {
    FocusSink();
    if (n < 1 || n > 4) return;
    const StampDeformation next =
        NextDeformation({rec_.DeformMode, rec_.DeformAmount}, n, rec_.FontSize / 4);
    // Only the height is tested: the deformation makes the box no wider.
    if (RefuseUnlessFits({0, TextBox(rec_.FontSize, FontFamily()).height}, Abs(next.amount)))
        return;
    rec_.DeformMode = next.mode;
    rec_.DeformAmount = next.amount;
    Preview();
}

void TForm15::RBtnVClick(int n) {
    FocusSink();
    if (n >= 1 && n <= 3) {
        rec_.Align = n;
    } else if (n == 4 || n == 5) {
        rec_.Shadow = n == 5;
        RBtn[12]->setVisible(rec_.Shadow);
        // Without a shadow its colour is no target; the outline colour is.
        if (!rec_.Shadow && RBtn[12]->isChecked()) RBtn[10]->setChecked(true);
    } else if (n >= 6 && n <= 9) {
        rec_.FillStyle = kFillStyles[n - 6];
        if (n == 7 || n == 8) palette->ResetComponents();
        ShowFillControls(RBtn[n]->text() + QStringLiteral("構成色選択"));
    } else if (n == 13 || n == 14) {
        rec_.Horizontal = n == 13;
    } else if (n < 10 || n > 12) {
        return;
    }
    Preview();
}

void TForm15::ListBox1Click() {
    FocusSink();
    const std::optional<int> font = TouchedFont(ListBox1, [this](const std::string& name) {
        return RefuseUnlessFits(TextBox(rec_.FontSize, name), Abs(rec_.DeformAmount));
    });
    if (!font) return;
    rec_.FontIndex = *font;
    Preview();
}

void TForm15::ListView1Click(QListWidgetItem* item) {
    FocusSink();
    const std::optional<std::string> touched = TouchedPicture(*ListView1, item);
    if (!touched) return;
    const std::string& path = *touched;
    rec_.ImageFile = path;
    Preview();
}

void TForm15::ShellTreeView1Change(const QString& path) {
    AppState& app = App();
    app.CurrentPictureFolder =
        ListView1->ChangeFolder(app.CurrentPictureFolder, path.toStdString());
}

void TForm15::IroSentaku15a(TColor colour) {
    if (RBtn[10]->isChecked())
        rec_.OutlineColor = colour;
    else if (RBtn[11]->isChecked())
        rec_.FillColor = colour;
    else if (RBtn[12]->isChecked() && rec_.Shadow)
        rec_.ShadowColor = colour;
    Preview();
}

void TForm15::BtnDtStCloseClick() {
    FocusSink();
    // A snapshot that cannot be written leaves the region as it is and the screen open.
    if (!host().SnapshotRegion()) return;
    const Bitmap picture = Preview();
    if (!picture.isNull()) CopyNonKeyPixels(host().RegionBitmap(), RegionPosition(), picture);
    host().RegionChanged();
    Release();
}

void TForm15::FormClose() {
    DeleteFileIfExists(FillBitmapPath());
    TextStampForm::FormClose();
}

}  // namespace pb
