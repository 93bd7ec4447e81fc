#include "app/ui/main_screen.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <climits>
#include <cstdlib>

#include "app/ui/gallery_screen.h"
#include "app/page_geometry.h"
#include "app/printing.h"
#include "app/session_recovery.h"
#include "app/ui/print_panel.h"
#include "app/ui/work_keeper.h"
#include "app/works.h"
#include "codes/ui/code_drawing.h"
#include "imaging/ui/region_editor.h"
#include "common/app_state.h"
#include "platform/bitmap_ops.h"
#include "common/colour_scan.h"
#include "common/fit_font_size.h"
#include "common/zoom_steps.h"
#include "common/history.h"
#include "common/ui/region_host.h"
#include "common/ui/object_image.h"
#include "common/page_tools.h"
#include "common/ui/surface_controls.h"
#include "common/ui/palette_widgets.h"
#include "common/ui/touch_gestures.h"
#include "common/palette.h"
#include "common/picture_browsing.h"
#include "imaging/ui/margin_fill_screen.h"
#include "objects/ui/decorated_design_screen.h"
#include "objects/ui/decorated_text_stamp_screen.h"
#include "objects/ui/object_list_screen.h"
#include "objects/ui/plain_text_design_screen.h"
#include "objects/ui/plain_text_stamp_screen.h"
#include "objects/object_renderer.h"
#include "objects/ui/object_images.h"
#include "objects/strdata.h"
#include "platform/bitmap_canvas.h"
#include "platform/fonts.h"
#include "textentry/ui/keyboard_screen.h"
#include "platform/ui/dialogs.h"
#include "platform/file_service.h"
#include "platform/ui/metrics.h"
#include "platform/picture_io.h"

namespace pb {

namespace {

QString Name(const char* prefix, int n, int width = 2) {
    return QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(n, width, 10, QLatin1Char('0'));
}

const char* const kMemoLines[] = {
    "どうでもいいけど",
    "",
    "この形式で中身として埋め込まれた画像は劣化する",
    "",
    "単純な幾何学模様ならそんなに気にならないけど",
    "写真や絵はたぶん目も当てられない出来になる",
    "",
    "(そもそもこの形式のとりえは輪郭線の綺麗さだけ)",
    "",
    "画質を優先するなら「選択範囲編集」→「画像」で",
    "直接貼り付けたほうが～",
};

// The program folder must take the working files (history, objects, works). Checked once at
// start-up so that the user learns it before painting, not when nothing can be undone.
bool FolderWritable(const std::string& folder) {
    const std::string probe = JoinPath(folder, ".popboard-write-test");
    if (!Files().WriteBytes(probe, "x")) return false;
    Files().DeleteFile(probe);
    return true;
}

}  // namespace

TForm1::TForm1(const std::string& appDir, QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("popboard"));
    setAttribute(Qt::WA_DeleteOnClose, false);  // owned by main()
    resize(792, 553);
    BuildControls();
    BuildPrintPanel();
    ConnectHandlers();
    InstallHub(this);
    FormCreate(appDir);
}

TForm1::~TForm1() {
    ObjectImages().FreeAll();
    InstallHub(nullptr);
}

QWidget* TForm1::PageArea() { return ScrollBox1->widget(); }

void TForm1::BuildControls() {
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setGeometry(0, 0, 567, 553);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("ScrollBox1Content"));
    ScrollBox1->setWidget(content);
    ScrollBox1->setWidgetResizable(false);
    // A grey desk around the page, so that a white page shows its edges.
    ScrollBox1->setStyleSheet(QStringLiteral("QScrollArea { background: #9a9a9a; }"));
    content->setStyleSheet(QStringLiteral("#ScrollBox1Content { background: #9a9a9a; }"));

    Image1 = new ImageControl(content);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setStretch(true);
    Image1->setSmoothShrink(true);
    Image1->setGeometry(0, 0, 20, 20);
    Image2 = new ImageControl(content);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setStretch(true);
    Image2->setGeometry(8, 8, 20, 20);
    Image2->hide();
    Memo1 = new QTextEdit(content);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setAlignment(Qt::AlignCenter);
    Memo1->setStyleSheet(QStringLiteral("background: #000080; color: white;"));
    for (const char* line : kMemoLines) Memo1->append(QString::fromUtf8(line));
    for (int i = 0; i < Memo1->document()->blockCount(); ++i) {
        QTextCursor cursor(Memo1->document()->findBlockByNumber(i));
        QTextBlockFormat format = cursor.blockFormat();
        format.setAlignment(Qt::AlignCenter);
        cursor.setBlockFormat(format);
    }
    Memo1->setGeometry(40, 40, 380, 240);
    Memo1->viewport()->installEventFilter(this);
    Memo1->hide();

    Image0 = new ImageControl(this);
    Image0->setObjectName(QStringLiteral("Image0"));
    Image0->setGeometry(0, 0, 20, 20);
    Image0->hide();
    LabelPX0 = AddLabel(QStringLiteral("LabelPX0"), QStringLiteral("0"), 0, 0);
    LabelPY0 = AddLabel(QStringLiteral("LabelPY0"), QStringLiteral("0"), 0, 0);
    LabelPX0->hide();
    LabelPY0->hide();

    // The side panel, from x = 570 to the right edge.
    Label[8] = AddLabel(QStringLiteral("Label8"), QStringLiteral("新規作成"), 574, 1);
    Btn[19] = AddButton(Name("Btn", 19), QStringLiteral("ﾊｶﾞｷ縦"), 574, 16, 107, 24);
    Btn[20] = AddButton(Name("Btn", 20), QStringLiteral("ﾊｶﾞｷ横"), 683, 16, 107, 24);
    Btn[21] = AddButton(Name("Btn", 21), QStringLiteral("A4縦"), 574, 42, 107, 24);
    Btn[22] = AddButton(Name("Btn", 22), QStringLiteral("A4横"), 683, 42, 107, 24);
    Btn[13] = AddButton(Name("Btn", 13), QStringLiteral("保存"), 574, 70, 70, 28);
    Btn[14] = AddButton(Name("Btn", 14), QStringLiteral("上書保存"), 646, 70, 72, 28);
    Btn[15] = AddButton(Name("Btn", 15), QStringLiteral("履歴"), 720, 70, 70, 28);
    Label[3] = AddLabel(QStringLiteral("Label3"), QStringLiteral("Zoom In/Out"), 574, 108);
    Label[5] = AddLabel(QStringLiteral("Label5"), QStringLiteral("100"), 658, 104, 32, 26);
    Label[5]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label[4] = AddLabel(QStringLiteral("Label4"), QStringLiteral("%"), 692, 108);
    Btn[2] = AddButton(Name("Btn", 2), QStringLiteral("↓"), 710, 104, 39, 26);
    Btn[3] = AddButton(Name("Btn", 3), QStringLiteral("↑"), 751, 104, 39, 26);
    Btn[8] = AddButton(Name("Btn", 8), QStringLiteral("戻す"), 574, 136, 107, 26);
    Btn[9] = AddButton(Name("Btn", 9), QStringLiteral("進む"), 683, 136, 107, 26);
    Btn[11] = AddButton(Name("Btn", 11), QStringLiteral("左右反転"), 574, 178, 107, 26);
    Btn[12] = AddButton(Name("Btn", 12), QStringLiteral("上下反転"), 683, 178, 107, 26);
    // The two notes lie behind the undo/redo and flip buttons, showing under them.
    Label[10] = AddLabel(QStringLiteral("Label10"), QStringLiteral("MetaFile部分は無視"), 574, 162,
                         216, 14);
    Label[11] = AddLabel(QStringLiteral("Label11"), QStringLiteral("MetaFile部分は無視"), 574, 204,
                         216, 14);
    for (QLabel* l : {Label[10], Label[11]}) {
        l->setAlignment(Qt::AlignCenter);
        l->setStyleSheet(QStringLiteral("color: #ff0000; font-size: 10px;"));
        l->lower();
        l->hide();
    }

    GroupBox2 = AddGroup(QStringLiteral("GroupBox2"), QString(), 572, 226, 60, 90);
    RBtn[8] = AddRadio(Name("RBtn", 8), QStringLiteral("Brush"), 2, 16, 58, 28, GroupBox2);
    RBtn[9] = AddRadio(Name("RBtn", 9), QStringLiteral("Pen"), 2, 50, 58, 28, GroupBox2);
    RBtn[9]->setChecked(true);

    for (int n = 1; n <= 40; ++n) {
        const int column = (n - 1) / 5, row = (n - 1) % 5;
        Edit[n] = AddColourCell(QStringLiteral("Edit%1").arg(n), PaletteColour(n), 636 + column * 19,
                                234 + row * 16, 19, 16);
    }

    Label[2] = AddLabel(QStringLiteral("Label2"), QStringLiteral("Penの太さ"), 574, 326);
    Label[6] = AddLabel(QStringLiteral("Label6"), QStringLiteral("2"), 650, 320, 40, 26);
    Label[6]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Btn[4] = AddButton(Name("Btn", 4), QStringLiteral("↓"), 704, 320, 42, 26);
    Btn[5] = AddButton(Name("Btn", 5), QStringLiteral("↑"), 748, 320, 42, 26);

    GroupBox1 = AddGroup(QStringLiteral("GroupBox1"), QString(), 572, 348, 218, 100);
    const char* tools[] = {"FreeDraw",      "StraightLine",   "Rectangle",      "RoundRect",
                           "Ellipse",       "□選択範囲Copy", "□選択範囲移動", "□選択範囲編集"};
    for (int i = 0; i < 8; ++i) {
        RBtn[i] = AddRadio(Name("RBtn", i), QString::fromUtf8(tools[i]), i < 4 ? 4 : 96,
                           8 + (i % 4) * 22, i < 4 ? 92 : 120, 22, GroupBox1);
    }
    RBtn[0]->setChecked(true);

    Btn[10] = AddButton(Name("Btn", 10), QStringLiteral("背景塗り"), 574, 452, 107, 28);
    Btn[23] = AddButton(Name("Btn", 23), QStringLiteral("印刷設定"), 683, 452, 107, 28);
    Btn[16] = AddButton(Name("Btn", 16), QStringLiteral("WordArt風MetaFile使用"), 574, 484, 216, 28);
    Label[1] = AddLabel(QStringLiteral("Label1"), QStringLiteral("作業状態"), 574, 526);
    Edit0 = AddFocusSink(630, 528);
    Edit0->installEventFilter(this);
    Btn[1] = AddButton(Name("Btn", 1), QStringLiteral("終了"), 683, 516, 107, 32);

    Label[9] = AddLabel(QStringLiteral("Label9"), QStringLiteral("PRINTERの設定が変"), 574, 140, 216,
                        40);
    Label[9]->setStyleSheet(QStringLiteral("color: #ff0000; font-size: 16px; font-weight: bold;"));
    Label[9]->setAlignment(Qt::AlignCenter);
    Label[9]->hide();

    // Screens that come later stay disabled until they exist.
    Btn[14]->setEnabled(false);
}

void TForm1::BuildPrintPanel() {
    Label[0] = AddLabel(QStringLiteral("Label0"), QStringLiteral("1"), 596, 14, 60, 34);
    Label[0]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label[0]->setStyleSheet(QStringLiteral("font-size: 22px;"));
    Label[7] = AddLabel(QStringLiteral("Label7"), QStringLiteral("枚"), 660, 22);
    Btn[6] = AddButton(Name("Btn", 6), QStringLiteral("↓"), 700, 14, 44, 34);
    Btn[7] = AddButton(Name("Btn", 7), QStringLiteral("↑"), 746, 14, 44, 34);
    Btn[17] = AddButton(Name("Btn", 17), QStringLiteral("印刷"), 574, 56, 216, 44);
    Btn[18] = AddButton(Name("Btn", 18), QStringLiteral("Preview"), 574, 104, 216, 34);
    GroupBox3 = AddGroup(QStringLiteral("GroupBox3"), QString(), 572, 144, 218, 64);
    RBtn[10] = AddRadio(Name("RBtn", 10), QStringLiteral("通常印刷"), 8, 8, 200, 24, GroupBox3);
    RBtn[11] = AddRadio(Name("RBtn", 11), QStringLiteral("縮小(A4→ハガキ)"), 8, 34, 200, 24,
                        GroupBox3);
    RBtn[10]->setChecked(true);
    GroupBox4 = AddGroup(QStringLiteral("GroupBox4"), QStringLiteral("Printer給紙位置"), 572, 214,
                         218, 70);
    RBtn[12] = AddRadio(Name("RBtn", 12), QStringLiteral("Center"), 8, 20, 100, 24, GroupBox4);
    RBtn[13] = AddRadio(Name("RBtn", 13), QStringLiteral("Right"), 110, 20, 100, 24, GroupBox4);
    Btn[24] = AddButton(Name("Btn", 24), QStringLiteral("元の画面に戻る"), 574, 292, 216, 34);
    // Price cards, in the free room under the panel's own controls.
    BtnCards = AddButton(QStringLiteral("BtnCards"), QStringLiteral("差し込み印刷"), 574, 348, 216,
                         44);
    for (QWidget* w : std::initializer_list<QWidget*>{Label[0], Label[7], Btn[6], Btn[7], Btn[17],
                                                      Btn[18], GroupBox3, GroupBox4, Btn[24],
                                                      BtnCards})
        w->hide();
}

void TForm1::ConnectHandlers() {
    // Handlers of like controls get the control's number as the control is named ("Btn19" 9,
    // "RBtn08" 8): m the last digit, n the last two.
    for (int n : {19, 20, 21, 22})
        connect(Btn[n], &QPushButton::clicked, this, [this, n] { BtnPPClick(n % 10); });
    for (int n : {11, 12, 13})
        connect(Btn[n], &QPushButton::clicked, this, [this, n] { BtnRVSVClick(n); });
    connect(Btn[14], &QPushButton::clicked, this, &TForm1::Btn14Click);
    connect(Btn[15], &QPushButton::clicked, this, &TForm1::Btn15Click);
    connect(Btn[23], &QPushButton::clicked, this, &TForm1::Btn23Click);
    connect(Btn[24], &QPushButton::clicked, this, &TForm1::Btn24Click);
    connect(BtnCards, &QPushButton::clicked, this, [this] { OpenCardMerge(*this); });
    for (int n : {2, 3})
        connect(Btn[n], &QPushButton::clicked, this, [this, n] { BtnZoomUpDnClick(n); });
    connect(Btn[1], &QPushButton::clicked, this, &TForm1::Btn01Click);
    for (int n : {8, 9}) connect(Btn[n], &QPushButton::clicked, this, &TForm1::BtnPrvNxtClick);
    for (int n = 0; n <= 13; ++n)
        connect(RBtn[n], &QRadioButton::clicked, this, [this, n] { RBtnVClick(n); });
    for (int n = 1; n <= 40; ++n)
        connect(Edit[n], &ColourCell::clicked, this, &TForm1::IroSentaku1);
    for (int n : {4, 5, 6, 7})
        connect(Btn[n], &QPushButton::clicked, this, [this, n] { BtnPWidthPrtCntUpDnClick(n); });
    connect(Btn[10], &QPushButton::clicked, this, &TForm1::Btn10Click);
    connect(Btn[16], &QPushButton::clicked, this, &TForm1::Btn16Click);
    connect(Btn[17], &QPushButton::clicked, this, &TForm1::Btn17Click);
    connect(Btn[18], &QPushButton::clicked, this, &TForm1::Btn18Click);

    connect(Image1, &ImageControl::mouseDown, this, &TForm1::Image1MouseDown);
    connect(Image1, &ImageControl::mouseMove, this,
            [this](Qt::MouseButtons, int x, int y) { Image1MouseMove(x, y); });
    connect(Image1, &ImageControl::mouseUp, this, &TForm1::Image1MouseUp);
    connect(Image1, &ImageControl::clicked, this, &TForm1::Image1Click);
    connect(Image2, &ImageControl::mouseDown, this, &TForm1::CSImgMouseDown);
    connect(Image2, &ImageControl::mouseMove, this,
            [this](Qt::MouseButtons, int x, int y) { CSImgMouseMove(Image2, x, y); });
    connect(Image2, &ImageControl::mouseUp, this, &TForm1::CSImgMouseUp);

    TouchHooks touch;
    touch.stepZoom = [this](bool up) {
        const int z = ZoomStep(zoom(), up);
        if (z == zoom()) return false;
        ApplyZoom(z);
        return true;
    };
    touch.cancelStroke = [this](QWidget* pressed) {
        AppState& app = App();
        if (!app.Tracking) return;
        app.Tracking = false;  // an object being dragged stays where the finger left it
        if (pressed == Image1 && app.PenMode && CancelGesture(*PageSurface))
            Image1->pictureChanged();
    };
    TouchGestures::Install(ScrollBox1, std::move(touch));
}

std::string TForm1::CCTmpPath() const { return App().AppDir + "CCTmp.bmp"; }

void TForm1::FormCreate(const std::string& appDir) {
    AppState& app = App();
    app = AppState{};
    const QString exeDir = QFileInfo(QCoreApplication::applicationFilePath()).canonicalPath();
    SetAppDir(app, appDir.empty() ? exeDir.toStdString() : appDir);
    PageSurface = std::make_unique<EditSurface>(Image1->picture(), app.HistoryFolder(1));

    const ScreenMetrics screen = ReadScreenMetrics();
    app.WorkAreaWidth = screen.workArea.width();
    app.WorkAreaHeight = screen.workArea.height();
    setGeometry(screen.workArea.left, screen.workArea.top, app.WorkAreaWidth, app.WorkAreaHeight);

    app.ScreenPPIX = screen.ppiX;
    app.ScreenPPIY = screen.ppiY;
    const PrinterMetrics printer = ReadPrinterMetrics();
    app.Printer = printer.kind;
    app.PrinterPPIX = printer.ppiX;
    app.PrinterPPIY = printer.ppiY;
    app.PrinterOffsetX = printer.offsetX;
    app.PrinterOffsetY = printer.offsetY;
    printerUsable_ = printer.usable() && screen.ppiX > 0 && screen.ppiY > 0;
    if (!printerUsable_) {
        HideAllForNoPrinter();
        return;
    }

    app.ObjectListOpen = false;
    LoadCurrentPictureFolder();
    app.Tracking = false;
    app.PenMode = true;
    app.ToolIndex = 0;
    app.PageMode = kPostcardPortrait;
    app.CurrentColor = clBlack;
    MarkColourCells(std::span(Edit).subspan(1), app.CurrentColor);
    ScrollBox1->resize(ScrollBox1->width(), app.WorkAreaHeight);

    if (ReadWholeFile(app.AppDir + "PPPOS.txt") == "True")
        RBtn[12]->setChecked(true);
    else
        RBtn[13]->setChecked(true);

    if (!FolderWritable(app.AppDir)) {
        Dialogs().MessageBox(
            "このフォルダに書き込めないので、元に戻すことも保存することもできない\n" +
                app.AppDir,
            "どうでもいいけど");
    }
    if (!RestoreLeftWork()) NewPage();
    app.SelectedObject = kNoObject;
    keeper_ = new WorkKeeper(*this);
    keeper_->Keep();
}

bool TForm1::RestoreLeftWork() {
    AppState& app = App();
    const LeftWorkCheck left = FindLeftWork(app);
    if (left.kind == LeftWork::None || left.kind == LeftWork::Untouched) return false;
    std::optional<LeftPage> page;
    if (left.kind == LeftWork::Found) {
        if (Dialogs().MessageBox("前回の作業が残っている。復元する?", "どうでもいいけど",
                                 MessageButtons::YesNo) != IDYES)
            return false;
        page = NewestSoundPage(app.HistoryFolder(1), left.work);
    }
    if (!page) {
        Dialogs().MessageBox("前回の作業は壊れていて復元できない", "NG");
        return false;
    }
    BusyCursor busy;
    app.PageMode = left.work.PageMode;
    ObjectImages().FreeAll();
    DeleteFileIfExists(CCTmpPath());
    Image1->setPicture(std::move(page->page));
    PageSurface->history().Resume(page->counter, page->last);
    ShowPageAtZoom(DefaultZoom(Image1->picture().size()));
    app.WorkName = left.work.WorkName;
    Btn[14]->setEnabled(!app.WorkName.empty());
    MarkPageButton();
    // An object whose record cannot be read is reported and left out.
    for (int n = 0; n < kObjectSlots; ++n) LoadObjectImage(app.ObjectFolder, n);
    ShowObjectNotes(ObjectImages().Any());
    return true;
}

void TForm1::HideAllForNoPrinter() {
    for (int n = 2; n <= 23; ++n)
        if (Btn[n]) Btn[n]->hide();
    for (int n = 1; n <= 40; ++n) Edit[n]->hide();
    for (int n = 1; n <= 11; ++n)
        if (Label[n]) Label[n]->setVisible(n == 9);
    GroupBox1->hide();
    GroupBox2->hide();
}

void TForm1::ResizePageArea() {
    QWidget* content = ScrollBox1->widget();
    content->resize(std::max(1, Image1->width()), std::max(1, Image1->height()));
}

void TForm1::ZoomImage(ImageControl* image, int z) {
    const Bitmap& bmp = image->picture();
    image->resize(Zoomed(bmp.width(), z), Zoomed(bmp.height(), z));
    if (image == Image1) ResizePageArea();
}

void TForm1::ShowZoom(int z) {
    zoom_ = z;
    Label[5]->setText(QString::number(z));
}

void TForm1::ShowPageAtZoom(int z) {
    ZoomImage(Image1, z);
    ShowZoom(z);
}

void TForm1::ApplyZoom(int z) {
    const int present = zoom();
    if (present > 0) SaveAllPositions(*Image1, present);
    ZoomImage(Image1, z);
    for (int n = 0; n < kObjectSlots; ++n) {
        TCImg* img = ObjectImages()[n];
        if (!img) continue;
        if (auto pos = ReadObjectPosition(App().ObjectFolder, n))
            img->PlaceAtZoom(pos->first, pos->second, z, *Image1);
        const Size bs = img->bitmapSize();
        img->SizeAtZoom(bs.width, bs.height, z);
    }
    ShowZoom(z);
}

void TForm1::NewPage() {
    AppState& app = App();
    const Size size = PageSize(app.PageMode, app);
    BusyCursor busy;
    ObjectImages().FreeAll();
    ResetFolder(app.AppDir + "TmpWorkA", true);
    ResetFolder(app.AppDir + "TmpWorkC", false);
    DeleteFileIfExists(CCTmpPath());

    Image1->setPicture(Bitmap(size.width, size.height, clWhite));
    SaveSnapshot(Image1->picture(), PageSurface->history().folder(), 1);
    ShowPageAtZoom(DefaultZoom(size));
    PageSurface->history().Restart();

    app.WorkName.clear();
    Image0->clearPicture();
    Btn[14]->setEnabled(false);
    Label[10]->hide();
    Label[11]->hide();
    MarkPageButton();
}

void TForm1::MarkPageButton() {
    for (int i = 0; i < 4; ++i) {
        QFont f = Btn[19 + i]->font();
        const bool current = i == App().PageMode;
        f.setBold(current);
        f.setItalic(current);
        Btn[19 + i]->setFont(f);
    }
}

int TForm1::AskToSave() {
    const AppState& app = App();
    bool ask = PageSurface->history().counter() != 1 && !IsSingleColour(Image1->picture());
    if (!ask) ask = ObjectsChanged(app.ObjectFolder, app.WorksFolder, app.WorkName);
    if (!ask) return 0;
    return Dialogs().MessageBox("編集中のデータは保存する?", "どうでもいいけど",
                                MessageButtons::YesNoCancel);
}

bool TForm1::SaveWork(bool reload) {
    AppState& app = App();
    EnsureWorkFolders(app.AppDir);
    if (!Files().FolderExists(app.ObjectFolder)) Files().CreateFolder(app.ObjectFolder);
    BusyCursor busy;
    ApplyZoom(DefaultZoom(Image1->picture().size()));

    std::vector<ThumbnailObject> shown;
    for (int n = 0; n < kObjectSlots; ++n) {
        const TCImg* img = ObjectImages()[n];
        if (!img) continue;
        const Point p = img->PositionOn(*Image1);
        shown.push_back({&img->bitmap(), RectOfSize(p.x, p.y, img->size().width, img->size().height)});
    }
    const Bitmap thumbnail = MakeThumbnail(Image1->picture(), {Image1->width(), Image1->height()}, shown);

    CompactObjectFiles(app.ObjectFolder);
    if (reload) ObjectImages().FreeAll();
    for (int n = 0; n < kObjectSlots; ++n)
        DeleteFileIfExists(app.ObjectFolder + "tmp" + std::to_string(n) + ".bmp");

    const bool stored =
        StoreWork(app.WorksFolder, app.WorkName, Image1->picture(), thumbnail, app.ObjectFolder);
    if (reload) {
        if (stored) {
            PageSurface->history().Reset();
            DeleteFileIfExists(CCTmpPath());
        }
        for (int n = 0; n < kObjectSlots; ++n) LoadObjectImage(app.ObjectFolder, n);
    }
    if (!stored)
        Dialogs().MessageBox("保存できなかった(ディスクがいっぱいか、書き込めない)", "NG");
    return stored;
}

bool TForm1::LoadObjectImage(const std::string& folder, int n) {
    if (!RenderObject(folder, n, true, true)) return false;
    ImageControl* image = ObjectImages()[n]->image();
    connect(image, &ImageControl::mouseDown, this, &TForm1::CSImgMouseDown);
    connect(image, &ImageControl::mouseMove, this,
            [this, image](Qt::MouseButtons, int x, int y) { CSImgMouseMove(image, x, y); });
    connect(image, &ImageControl::mouseUp, this, &TForm1::CSImgMouseUp);
    connect(image, &ImageControl::clicked, this, [this, n] { CImgClick(n); });
    return true;
}

void TForm1::OpenObjectList() {
    if (objectList_ && objectList_->isVisible()) {
        objectList_->raise();
        return;
    }
    objectList_ = new TForm16(this);
}

void TForm1::OpenObjectDesign(bool decorated) {
    if (decorated)
        new TForm9(this);  // deletes itself when closed
    else
        new TForm8(this);
}

void TForm1::ShowImageQualityNote(bool visible) {
    if (!visible) {
        Memo1->hide();
        Memo1->move(10, Memo1->y());
        ResizePageArea();
        return;
    }
    Memo1->move(10, Image1->y() + Image1->height() + 10);
    Memo1->raise();
    Memo1->show();
    // The page area grows to take in the note, so that it can be scrolled to.
    QWidget* content = ScrollBox1->widget();
    const QRect note = Memo1->geometry();
    content->resize(std::max(content->width(), note.right() + 1),
                    std::max(content->height(), note.bottom() + 1));
}

void TForm1::ShowObjectNotes(bool visible) {
    Label[10]->setVisible(visible);
    Label[11]->setVisible(visible);
}

void TForm1::OpenKeyboard(const KeyboardRequest& request) {
    auto* keyboard = new TForm6(this);
    keyboard->Setup(request);
}

bool TForm1::ApplyObjectText(const std::string& text) {
    const std::string& folder = App().ObjectFolder;
    const int n = App().SelectedObject;
    if (!ObjectSlots::valid(n)) return false;
    std::optional<ObjectRecord> rec = ReadObject(folder, n);
    if (!rec) return false;
    // The text must fit the box the object has now (its bitmap, in page pixels).
    Size box = ObjectBoxSize(*rec).value_or(Size{0, 0});
    if (const TCImg* img = ObjectImages()[n]) box = img->bitmapSize();
    FitFontRequest request;
    request.text = text;
    request.fontFamily = FontNameForIndex(InstalledFonts(), rec->FontIndex);
    request.recordSize = rec->FontSize;
    request.boxWidth = box.width;
    request.boxHeight = box.height;
    request.decorated = rec->decorated();
    // The deformation's room, whichever way the text bends.
    const long long room = std::llabs(static_cast<long long>(rec->DeformAmount));
    request.margin = rec->decorated() ? static_cast<int>(std::min<long long>(room, INT_MAX)) : 0;
    Bitmap scratch(1, 1);
    BitmapCanvas canvas(scratch);
    rec->FontSize = FitFontSize(request, canvas);
    rec->Text = text;
    if (!ReportObjectWrite(WriteObject(folder, n, *rec), *rec)) return false;
    if (RenderObject(folder, n, false, false)) ObjectImages()[n]->DrawSelectionFrame();
    return true;
}

void TForm1::ShowPrintPanel(bool back) {
    const bool v = back;
    for (int n : {1, 2, 3, 8, 9, 10, 11, 12, 13, 14, 15, 16, 19, 20, 21, 22, 23}) Btn[n]->setVisible(v);
    for (int n = 1; n <= 40; ++n) Edit[n]->setVisible(v);
    for (int n : {1, 3, 4, 5, 8}) Label[n]->setVisible(v);
    GroupBox2->setVisible(v);
    for (QWidget* w : std::initializer_list<QWidget*>{Btn[6], Btn[7], Btn[17], Btn[18], Btn[24],
                                                      Label[0], Label[7], GroupBox4, BtnCards})
        w->setVisible(!v);
    if (!v) {
        for (QWidget* w : std::initializer_list<QWidget*>{Btn[4], Btn[5], GroupBox1, Label[2],
                                                          Label[6], Label[10], Label[11]})
            w->hide();
        GroupBox3->setVisible(App().PageMode > 1);
    } else {
        GroupBox3->hide();
        ShowPenControls();
        const bool any = AnyObject();
        Label[10]->setVisible(any);
        Label[11]->setVisible(any);
    }
}

void TForm1::ShowPenControls() {
    const bool pen = App().PenMode;
    for (QWidget* w : std::initializer_list<QWidget*>{Label[2], Label[6], Btn[4], GroupBox1, Btn[5]})
        w->setVisible(pen);
}

void TForm1::FocusEdit0() {
    Edit0->setFocus();
    Edit0Enter();
}

void TForm1::Edit0Enter() {
    LiftOrDropSelection(*Image1, *Image2, *PageSurface, App().ToolIndex, true, CCTmpPath());
}

void TForm1::ResetFloatingImage() {
    Image2->hide();
    Image2->setGeometry(8, 8, 20, 20);
    Image2->clearPicture();
}

void TForm1::BtnPPClick(int m) {
    FocusEdit0();
    ResetFloatingImage();
    SaveAllPositions(*Image1, zoom());
    const int r = AskToSave();
    if (r == IDCANCEL) return;
    if (r == IDYES) {
        App().WorkName = NewWorkName();
        if (!SaveWork(false)) return;  // keep the page when it could not be saved
    }
    App().PageMode = static_cast<std::uint8_t>(m == 9 ? 0 : m + 1);
    NewPage();
    FocusEdit0();
}

void TForm1::BtnRVSVClick(int n) {
    FocusEdit0();
    if (n == 13) {
        const std::string previous = App().WorkName;
        App().WorkName = NewWorkName();
        if (SaveWork(true))
            Btn[14]->setEnabled(true);
        else
            App().WorkName = previous;
        return;
    }
    if (IsSingleColour(Image1->picture())) {
        Dialogs().MessageBox("こんなものをひっくり返してもしょうがない", "NG");
        return;
    }
    Image0->clearPicture();
    if (!PageSurface->history().Take(Image1->picture())) {
        ReportSnapshotFailed();
        return;
    }
    BusyCursor busy;
    MirrorBitmap(Image1->picture(), n == 12);
    Image1->pictureChanged();
}

void TForm1::Btn14Click() {
    FocusEdit0();
    if (!App().WorkName.empty()) SaveWork(true);
}

void TForm1::SwitchBrushToPen() {
    if (RBtn[8]->isChecked()) {
        RBtn[9]->setChecked(true);
        App().PenMode = true;
        ShowPenControls();
    }
}

void TForm1::Btn15Click() {
    FocusEdit0();
    SwitchBrushToPen();
    {
        BusyCursor busy;
        const AppState& app = App();
        EnsureWorkFolders(app.AppDir);
        RecoverInterruptedSaves(app.WorksFolder);
        CleanIncompleteWorks(app.WorksFolder);
        ApplyZoom(DefaultZoom(Image1->picture().size()));
        Image0->setPicture(Image1->picture());
    }
    (new TForm11(*this))->show();
}

void TForm1::Btn10Click() {
    FocusEdit0();
    SwitchBrushToPen();
    ApplyZoom(DefaultZoom(Image1->picture().size()));
    Image0->clearPicture();
    OpenMarginFill({*PageSurface, *Image1, Image2, ScrollBox1->width()});
}

void TForm1::Btn16Click() {
    FocusEdit0();
    SwitchBrushToPen();
    ApplyZoom(DefaultZoom(Image1->picture().size()));
    OpenObjectList();
}

void TForm1::Btn17Click() {
    FocusEdit0();
    ApplyZoom(DefaultZoom(Image1->picture().size()));
    ComposeAndPrint(*this, true);
}

void TForm1::Btn18Click() {
    FocusEdit0();
    ApplyZoom(DefaultZoom(Image1->picture().size()));
    ComposeAndPrint(*this, false);
}

void TForm1::Btn23Click() {
    FocusEdit0();
    ApplyZoom(DefaultZoom(Image1->picture().size()));
    ShowPrintPanel(false);
}

void TForm1::Btn24Click() {
    FocusEdit0();
    ShowPrintPanel(true);
}

void TForm1::BtnZoomUpDnClick(int n) {
    FocusEdit0();
    BusyCursor busy;
    ScrollBox1->horizontalScrollBar()->setValue(0);
    ScrollBox1->verticalScrollBar()->setValue(0);
    ApplyZoom(ZoomStep(zoom(), n == 3));
}

void TForm1::Btn01Click() {
    SaveAllPositions(*Image1, zoom());
    const int r = printerUsable_ ? AskToSave() : 0;
    FocusEdit0();
    if (r == IDCANCEL) return;
    if (r == IDYES) {
        App().WorkName = NewWorkName();
        if (!SaveWork(false)) return;  // stay, so that the work is not lost
    }
    Image0->clearPicture();
    Release();
}

void TForm1::FormClose() {
    AppState& app = App();
    // Without a usable printer this run never touched the working folders: what a run that
    // did not end left there stays for the next start.
    if (!keeper_) return;
    keeper_->Stop();
    // The state file goes first: a kill meanwhile leaves folders that name nothing to restore.
    ForgetWorkInProgress(app.AppDir);
    ObjectImages().FreeAll();
    DeleteFileIfExists(CCTmpPath());
    ResetFolder(app.AppDir + "TmpWorkA", false);
    ResetFolder(app.AppDir + "TmpWorkC", false);
    // Without a usable printer the feed position was never read; keep the stored one.
    if (printerUsable_) WriteWholeFile(app.AppDir + "PPPOS.txt", RBtn[12]->isChecked() ? "True" : "False");
}

void TForm1::BtnPrvNxtClick() {
    const bool back = sender() == Btn[8];
    FocusEdit0();
    if (back)
        StepBack(*Image1, *PageSurface);
    else
        StepForward(*Image1, *PageSurface);
}

void TForm1::RBtnVClick(int n) {
    FocusEdit0();
    if (n < 0) return;
    if (n < 8) {
        App().ToolIndex = static_cast<std::uint8_t>(n);
    } else if (n == 8) {
        App().PenMode = false;
        ShowPenControls();
    } else if (n == 9) {
        App().PenMode = true;
        if (GroupBox2->isVisibleTo(this)) ShowPenControls();
    }
}

void TForm1::IroSentaku1() {
    if (auto* cell = qobject_cast<ColourCell*>(sender())) App().CurrentColor = cell->colour();
    MarkColourCells(std::span(Edit).subspan(1), App().CurrentColor);
    FocusEdit0();
}

void TForm1::BtnPWidthPrtCntUpDnClick(int n) {
    FocusEdit0();
    const bool pen = n == 4 || n == 5;
    const int step = (n == 5 || n == 7) ? 1 : -1;
    int& value = pen ? penWidth_ : copies_;
    value = SpinStep(value, step, 1, pen ? 20 : 99);
    (pen ? Label[6] : Label[0])->setText(QString::number(value));
}

void TForm1::Image1MouseDown(Qt::MouseButton button, int x, int y) {
    AppState& app = App();
    lastClick_ = {x, y};
    const bool dropped =
        LiftOrDropSelection(*Image1, *Image2, *PageSurface, app.ToolIndex, true, CCTmpPath());
    if (!app.PenMode || button != Qt::LeftButton) return;
    if (BeginGesture(*PageSurface, app.ToolIndex, ImageToBitmap(*Image1, x, y), app.CurrentColor,
                     penWidth(), dropped))
        app.Tracking = true;
    else if (!Image1->picture().isNull())
        ReportSnapshotFailed();
}

void TForm1::Image1MouseMove(int x, int y) {
    AppState& app = App();
    lastClick_ = {x, y};
    if (!app.PenMode || !app.Tracking || Image1->picture().isNull()) return;
    ToolFor(app.ToolIndex).Move(*PageSurface, ImageToBitmap(*Image1, x, y));
    Image1->pictureChanged();
}

void TForm1::Image1MouseUp(Qt::MouseButton button, int x, int y) {
    AppState& app = App();
    if (!app.PenMode || button != Qt::LeftButton || !app.Tracking) return;
    const Point p = ImageToBitmap(*Image1, x, y);
    app.Tracking = false;
    ToolFor(app.ToolIndex).Release(*PageSurface, p);
    Image1->pictureChanged();
    if (!IsSelectionTool(app.ToolIndex)) return;
    const GestureState& g = PageSurface->gesture();
    if (g.StartPoint.x != g.EndPoint.x && g.StartPoint.y != g.EndPoint.y) {
        const bool lifted =
            LiftOrDropSelection(*Image1, *Image2, *PageSurface, app.ToolIndex, false, CCTmpPath());
        if (lifted && app.ToolIndex == kSelectEdit) OpenRegionEditor(SelectionRect(g));
    }
}

void TForm1::OpenRegionEditor(const Rect& sel) {
    selectionOrigin_ = {sel.left, sel.top};
    LabelPX0->setText(QString::number(sel.left));
    LabelPY0->setText(QString::number(sel.top));
    // The editor covers the work area and pastes back through the page's own history.
    const RegionOrigin origin{PageSurface.get(), Image1, selectionOrigin_};
    auto* editor = new TForm2(Image2->picture(), origin, this);
    const AppState& app = App();
    editor->Label[7]->setText(
        QString::fromStdString("W: " + CentimetresText(sel.width(), app.ScreenPPIX) + "cm"));
    editor->Label[8]->setText(
        QString::fromStdString("H: " + CentimetresText(sel.height(), app.ScreenPPIY) + "cm"));
    region_ = editor;
    connect(editor, &Form::closed, this, [this] {
        region_ = nullptr;
        // The page's tools as its radio buttons show them.
        AppState& state = App();
        state.PenMode = RBtn[9]->isChecked();
        state.ToolIndex = 0;
        for (int n = 7; n >= 0; --n)
            if (RBtn[n]->isChecked()) state.ToolIndex = static_cast<std::uint8_t>(n);
        state.Tracking = false;
    });
}

void TForm1::Image1Click() {
    if (App().PenMode) return;
    const Point p = ImageToBitmap(*Image1, lastClick_.x, lastClick_.y);
    if (BucketFill(*PageSurface, App().CurrentColor, p))
        Image1->pictureChanged();
    else if (Image1->picture().contains(p.x, p.y))
        ReportSnapshotFailed();
}

void TForm1::CSImgMouseDown(Qt::MouseButton button, int, int) {
    if (button == Qt::LeftButton) App().Tracking = true;
}

void TForm1::CSImgMouseMove(QWidget* control, int x, int y) {
    if (App().Tracking && control) DragFloatingControl(*control, *Image1, x, y);
}

void TForm1::CSImgMouseUp(Qt::MouseButton button, int, int) {
    if (button == Qt::LeftButton) App().Tracking = false;
}

void TForm1::CImgClick(int clicked) {
    AppState& app = App();
    if (!app.ObjectListOpen || !ObjectImages().exists(clicked)) return;
    const int selected = app.SelectedObject;
    if (selected == kNoObject) {
        app.SelectedObject = clicked;
        ObjectImages()[clicked]->DrawSelectionFrame();
    } else if (ObjectImages().exists(selected) && selected != clicked) {
        RenderObject(app.ObjectFolder, selected, false, false);
        app.SelectedObject = clicked;
        ObjectImages()[clicked]->DrawSelectionFrame();
    }
}

void TForm1::DrawBarcode() {
    if (region_) DrawBarcodeInRegion(*region_);
}

void TForm1::DrawQrCode() {
    if (region_) DrawQrCodeInRegion(*region_);
}

bool TForm1::HandOverQrText(const std::string& cp932) {
    return region_ && pb::HandOverQrText(*region_, cp932);
}

void TForm1::OpenPlainTextStamp(const std::string& text) {
    if (region_) new TForm14(*region_, text);  // deletes itself when closed
}

void TForm1::OpenDecoratedTextStamp(const std::string& text) {
    if (region_) new TForm15(*region_, text);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit0 && event->type() == QEvent::FocusIn) {
        Edit0Enter();
    } else if (watched == Memo1->viewport()) {
        // Only mouse events may be taken as such; the viewport gets others too.
        switch (event->type()) {
            case QEvent::MouseButtonPress: Memo1MouseDown(static_cast<QMouseEvent*>(event)); return true;
            case QEvent::MouseMove: Memo1MouseMove(static_cast<QMouseEvent*>(event)); return true;
            case QEvent::MouseButtonRelease:
                if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                    App().Tracking = false;
                return true;
            default: break;
        }
    }
    return Form::eventFilter(watched, event);
}

void TForm1::Memo1MouseDown(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) App().Tracking = true;
}

void TForm1::Memo1MouseMove(QMouseEvent* e) {
    if (!App().Tracking) return;
    // The note follows the pointer with its centre, without limits.
    const QPoint p = Memo1->viewport()->mapTo(Memo1->parentWidget(), e->position().toPoint());
    Memo1->move(p.x() - Memo1->width() / 2, p.y() - Memo1->height() / 2);
}

}  // namespace pb
