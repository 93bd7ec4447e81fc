#include "imaging/ui/region_editor.h"

#include <QEvent>
#include <algorithm>
#include <optional>

#include "common/app_state.h"
#include "common/colour_scan.h"
#include "common/page_tools.h"
#include "common/ui/palette_widgets.h"
#include "common/ui/screen_hub.h"
#include "common/ui/surface_controls.h"
#include "common/ui/touch_gestures.h"
#include "common/zoom_steps.h"
#include "imaging/ui/region_screens.h"
#include "platform/bitmap_canvas.h"
#include "platform/file_service.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/image_control.h"
#include "platform/work_indicator.h"

namespace pb {

namespace {

// The panel above the canvas; the tool screens lie over it.
constexpr int kPanelHeight = 200;
// The editor's size when the work area is unknown (the smallest screen the program serves).
constexpr int kDefaultWidth = 792;
constexpr int kDefaultHeight = 553;
// Below the canvas's scroll box (343 pixels high on that screen).
constexpr int kBottomMargin = 10;
// The deformation screen needs at least this many pixels each way.
constexpr int kSmallestShaped = 25;

QString Name(const char* prefix, int n) {
    return QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(n, 2, 10, QLatin1Char('0'));
}

}  // namespace

TForm2::TForm2(Bitmap region, const RegionOrigin& origin, QWidget* parent)
    : Form(parent), origin_(origin) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("選択範囲編集中"));
    setStyleSheet(QStringLiteral("#Form2 { background: #d4d0c8; }"));
    setAttribute(Qt::WA_StyledBackground);
    const AppState& app = App();
    const int width = app.WorkAreaWidth > 0 ? app.WorkAreaWidth : kDefaultWidth;
    const int height = app.WorkAreaHeight > 0 ? app.WorkAreaHeight : kDefaultHeight;
    setGeometry(0, 0, width, height);
    BuildControls();
    ConnectHandlers();

    // FormCreate.
    Image1->setPicture(std::move(region));
    surface_ = std::make_unique<EditSurface>(Image1->picture(), app.HistoryFolder(2));
    surface_->history().Reset();
    RegionChanged();
    show();
    FocusEdit0();
}

TForm2::~TForm2() {
    // A tool screen still open is deleted with the editor: it must not call back into it.
    if (toolScreen_) toolScreen_->disconnect(this);
}

void TForm2::BuildControls() {
    TitleLabel = AddLabel(QStringLiteral("LabelTitle"), QStringLiteral("選択範囲編集中"), 6, 3);
    TitleLabel->setStyleSheet(QStringLiteral("font-weight: bold; color: #000080;"));

    struct ButtonSpec {
        int n;
        const char* caption;
        int x, y, w, h;
    };
    const ButtonSpec buttons[] = {
        {15, "Barcode描画", 4, 22, 100, 32}, {16, "QRcode描画", 106, 22, 100, 32},
        {1, "範囲内消去", 4, 58, 100, 32},   {5, "画像", 106, 58, 100, 32},
        {2, "回転反転", 4, 94, 100, 32},     {6, "範囲内背景", 106, 94, 100, 32},
        {3, "激しく変形", 4, 130, 100, 32},  {7, "伸縮", 106, 130, 100, 32},
        {4, "2色塗り分け", 4, 166, 100, 30}, {19, "色調変更", 106, 166, 100, 30},
        {17, "ただの文字", 212, 40, 98, 32}, {18, "装飾文字", 312, 40, 98, 32},
        {13, "↓", 532, 116, 38, 26},         {14, "↑", 572, 116, 38, 26},
        {11, "↓", 532, 150, 38, 26},         {12, "↑", 572, 150, 38, 26},
        {9, "戻す", 684, 48, 46, 34},        {10, "進む", 732, 48, 46, 34},
        {8, "確定", 684, 156, 46, 40},       {0, "Cancel", 732, 156, 50, 40},
    };
    for (const ButtonSpec& b : buttons)
        Btn[static_cast<std::size_t>(b.n)] =
            AddButton(Name("Btn", b.n), QString::fromUtf8(b.caption), b.x, b.y, b.w, b.h);

    Label[11] = AddLabel(QStringLiteral("Label11"),
                         QStringLiteral("取り扱いは楽だけど印刷は汚い ↓"), 214, 24);
    GroupBox1 = AddGroup(QStringLiteral("GroupBox1"), QString(), 212, 76, 200, 120);
    const char* tools[] = {"FreeDraw", "StraightLine", "Rectangle", "RoundRect",
                           "Ellipse",  "□Copy",        "□移動"};
    for (int i = 0; i < 7; ++i)
        RBtn[static_cast<std::size_t>(i)] =
            AddRadio(Name("RBtn", i), QString::fromUtf8(tools[i]), i < 4 ? 4 : 108,
                     6 + (i % 4) * 27, i < 4 ? 102 : 88, 26, GroupBox1);
    RBtn[0]->setChecked(true);
    GroupBox2 = AddGroup(QStringLiteral("GroupBox2"), QString(), 416, 20, 60, 76);
    RBtn[8] = AddRadio(Name("RBtn", 8), QStringLiteral("Brush"), 4, 8, 54, 30, GroupBox2);
    RBtn[9] = AddRadio(Name("RBtn", 9), QStringLiteral("Pen"), 4, 40, 54, 30, GroupBox2);
    RBtn[9]->setChecked(true);

    PaletteLayout layout;
    layout.palette = {482, 22};
    palette = std::make_unique<PaletteWidgets>(*this, layout);

    Label[2] = AddLabel(QStringLiteral("Label2"), QStringLiteral("Penの太さ"), 418, 122);
    Label[6] = AddLabel(QStringLiteral("Label6"), QString::number(penWidth_), 496, 116, 30, 26);
    Label[3] = AddLabel(QStringLiteral("Label3"), QStringLiteral("Zoom In/Out"), 418, 156);
    Label[5] = AddLabel(QStringLiteral("Label5"), QString::number(zoom_), 496, 150, 30, 26);
    for (QLabel* l : {Label[6], Label[5]}) l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label[4] = AddLabel(QStringLiteral("Label4"), QStringLiteral("%"), 614, 156);

    // The undo group and the size labels lie in x 680..780, y 30..152: the tool screens
    // leave that place open so that they stay usable.
    Label[1] = AddLabel(QStringLiteral("Label1"), QStringLiteral("作業状態"), 686, 30);
    Label[10] = AddLabel(QStringLiteral("Label10"), QStringLiteral("CanvasSize"), 686, 110);
    Label[7] = AddLabel(QStringLiteral("Label7"), QStringLiteral("W: "), 686, 124, 94, 14);
    Label[8] = AddLabel(QStringLiteral("Label8"), QStringLiteral("H: "), 686, 138, 94, 14);
    Edit0 = AddFocusSink(770, 4);
    Edit0->installEventFilter(this);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setGeometry(0, kPanelHeight, width(),
                            std::max(1, height() - kPanelHeight - kBottomMargin));
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setWidgetResizable(false);
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("ScrollBox1Content"));
    ScrollBox1->setWidget(content);
    ScrollBox1->setStyleSheet(QStringLiteral("QScrollArea { background: #c0c0c0; }"));
    content->setStyleSheet(QStringLiteral("#ScrollBox1Content { background: #c0c0c0; }"));
    Image1 = new ImageControl(content);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setStretch(true);
    Image1->setSmoothShrink(true);
    Image2 = new ImageControl(content);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setStretch(true);
    Image2->setGeometry(0, 0, 20, 20);
    Image2->hide();
}

void TForm2::ConnectHandlers() {
    for (int i = 0; i < 7; ++i)
        connect(RBtn[static_cast<std::size_t>(i)], &QRadioButton::clicked, this,
                [this, i] { STDRWMD(i); });
    connect(RBtn[8], &QRadioButton::clicked, this, [this] { RBtnPenOrBrush(false); });
    connect(RBtn[9], &QRadioButton::clicked, this, [this] { RBtnPenOrBrush(true); });
    PaletteWidgets::Handlers cells;
    cells.paletteCell = [this](TColor c) {
        FocusEdit0();
        colour_ = c;  // IroSentaku2
    };
    cells.current = [this] { return std::optional<TColor>(colour_); };
    palette->Connect(this, cells);
    palette->MarkCurrent();
    connect(Btn[11], &QPushButton::clicked, this, [this] { Btn11Or12Click(false); });
    connect(Btn[12], &QPushButton::clicked, this, [this] { Btn11Or12Click(true); });
    connect(Btn[13], &QPushButton::clicked, this, [this] { Btn13Or14Click(false); });
    connect(Btn[14], &QPushButton::clicked, this, [this] { Btn13Or14Click(true); });
    connect(Btn[9], &QPushButton::clicked, this, &TForm2::Btn09Click);
    connect(Btn[10], &QPushButton::clicked, this, &TForm2::Btn10Click);
    connect(Btn[8], &QPushButton::clicked, this, &TForm2::Btn08Click);
    connect(Btn[1], &QPushButton::clicked, this, &TForm2::Btn01Click);
    connect(Btn[0], &QPushButton::clicked, this, &TForm2::Btn00Click);

    // The buttons of the tool screens, with what each needs of the region.
    struct Opener {
        int n;
        Needs needs;
        std::function<QWidget*()> open;
    };
    const Opener openers[] = {
        {5, Needs::Nothing, [this] { return OpenPictureImport(*this); }},
        {2, Needs::Picture, [this] { return OpenRotation(*this, false); }},
        {4, Needs::TwoColours, [this] { return OpenRotation(*this, true); }},
        {6, Needs::Nothing, [this] { return OpenColourKeyFill(*this); }},
        {3, Needs::Size25, [this] { return OpenShapeStamp(*this); }},
        {7, Needs::Picture, [this] { return OpenStretch(*this); }},
        {19, Needs::Picture, [this] { return OpenColourTone(*this); }},
    };
    for (const Opener& o : openers)
        connect(Btn[static_cast<std::size_t>(o.n)], &QPushButton::clicked, this,
                [this, o] { OpenToolScreen(o.needs, o.open); });
    // The code and text drawing belong to other subsystems: the hub opens them.
    connect(Btn[15], &QPushButton::clicked, this, [this] {
        FocusEdit0();
        Hub().DrawBarcode();
    });
    connect(Btn[16], &QPushButton::clicked, this, [this] {
        FocusEdit0();
        Hub().DrawQrCode();
    });
    for (int n : {17, 18})
        connect(Btn[static_cast<std::size_t>(n)], &QPushButton::clicked, this, [this, n] {
            FocusEdit0();
            KeyboardRequest request;
            request.callerMode = n == 17 ? 2 : 3;
            Hub().OpenKeyboard(request);
        });

    connect(Image1, &ImageControl::mouseDown, this, &TForm2::Image1MouseDown);
    connect(Image1, &ImageControl::mouseMove, this,
            [this](Qt::MouseButtons, int x, int y) { Image1MouseMove(x, y); });
    connect(Image1, &ImageControl::mouseUp, this, &TForm2::Image1MouseUp);
    connect(Image1, &ImageControl::clicked, this, &TForm2::Image1Click);
    connect(Image2, &ImageControl::mouseDown, this,
            [this](Qt::MouseButton button, int, int) { Image2MouseDown(button); });
    connect(Image2, &ImageControl::mouseMove, this,
            [this](Qt::MouseButtons, int x, int y) { Image2MouseMove(x, y); });
    connect(Image2, &ImageControl::mouseUp, this,
            [this](Qt::MouseButton button, int, int) { Image2MouseUp(button); });

    TouchHooks touch;
    touch.stepZoom = [this](bool up) {
        const int z = ZoomStep(zoom_, up);
        if (z == zoom_) return false;
        zoom_ = z;
        Label[5]->setText(QString::number(zoom_));
        RegionChanged();
        return true;
    };
    touch.cancelStroke = [this](QWidget* pressed) {
        if (!tracking_) return;
        tracking_ = false;  // the placed picture stays where the finger left it
        if (pressed == Image1 && penMode_ && CancelGesture(*surface_)) Image1->pictureChanged();
    };
    TouchGestures::Install(ScrollBox1, std::move(touch));
}

std::string TForm2::CCTmpPath() const {
    return App().AppDir + "CCTmp.bmp";
}

void TForm2::RegionChanged() {
    const Bitmap& bmp = region();
    Image1->resize(bmp.width() * zoom_ / 100, bmp.height() * zoom_ / 100);
    Image1->pictureChanged();
    ScrollBox1->widget()->resize(std::max(1, Image1->width()), std::max(1, Image1->height()));
}

bool TForm2::SnapshotRegion() {
    if (surface_->history().Take(region())) return true;
    ReportSnapshotFailed();
    return false;
}

void TForm2::RollbackToOpen(int start) {
    {
        // Deleting the snapshots of a long session takes a moment.
        std::optional<BusyCursor> busy;
        if (start < surface_->history().counter()) busy.emplace();
        ReportHistory(surface_->history().RollbackToOpen(start, region()));
    }
    RegionChanged();
}

void TForm2::FocusEdit0() {
    Edit0->setFocus();
    Edit0Enter();
}

void TForm2::Edit0Enter() {
    DropFloatingCopy();
}

bool TForm2::DropFloatingCopy() {
    // While a tool screen is open PlacedImage shows its picture, not a floating copy; and the
    // focus may arrive before the surface exists.
    if (toolScreen_ || !surface_) return false;
    return LiftOrDropSelection(*Image1, *Image2, *surface_, toolIndex_, true, CCTmpPath());
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit0 && event->type() == QEvent::FocusIn) Edit0Enter();
    return Form::eventFilter(watched, event);
}

void TForm2::STDRWMD(int tool) {
    FocusEdit0();
    toolIndex_ = std::clamp(tool, 0, static_cast<int>(kSelectMove));
}

void TForm2::RBtnPenOrBrush(bool pen) {
    FocusEdit0();
    penMode_ = pen;
    for (QWidget* w :
         std::initializer_list<QWidget*>{Label[2], Label[6], Btn[13], Btn[14], GroupBox1})
        w->setVisible(pen);
}

void TForm2::Btn11Or12Click(bool zoomIn) {
    FocusEdit0();
    zoom_ = ZoomStep(zoom_, zoomIn);
    Label[5]->setText(QString::number(zoom_));
    RegionChanged();
}

void TForm2::Btn13Or14Click(bool wider) {
    FocusEdit0();
    penWidth_ = SpinStep(penWidth_, wider ? 1 : -1, 1, 20);
    Label[6]->setText(QString::number(penWidth_));
}

void TForm2::Btn09Click() {
    FocusEdit0();
    StepBack(*Image1, *surface_);
}

void TForm2::Btn10Click() {
    FocusEdit0();
    StepForward(*Image1, *surface_);
}

bool TForm2::PasteBack(const Bitmap& pasted) {
    if (!origin_.page) return false;
    EditSurface& page = *origin_.page;
    if (!page.history().Take(page.bitmap())) {
        ReportSnapshotFailed();
        return false;
    }
    BitmapCanvas canvas(page.bitmap());
    canvas.Draw(origin_.topLeft.x, origin_.topLeft.y, pasted);
    if (origin_.pageImage) origin_.pageImage->pictureChanged();
    return true;
}

void TForm2::Btn08Click() {
    FocusEdit0();
    if (PasteBack(region())) Release();
}

void TForm2::Btn01Click() {
    FocusEdit0();
    // The white region goes to the page; the editor's own picture is left as it is, so that
    // nothing is lost when the page snapshot fails and the editor stays open.
    const Bitmap white(region().width(), region().height(), clWhite);
    if (PasteBack(white)) Release();
}

void TForm2::Btn00Click() {
    FocusEdit0();
    Release();
}

void TForm2::OpenToolScreen(Needs needs, const std::function<QWidget*()>& open) {
    FocusEdit0();
    if (toolScreen_) return;
    const Bitmap& bmp = region();
    const char* refusal = nullptr;
    switch (needs) {
        case Needs::Nothing:
            break;
        case Needs::Picture:
            if (IsSingleColour(bmp)) refusal = "どう見ても絵と呼べそうなものはない";
            break;
        case Needs::TwoColours:
            if (IsSingleColour(bmp)) refusal = "これを2色に塗り分けるのはきっと無理";
            break;
        case Needs::Size25:
            if (bmp.width() < kSmallestShaped || bmp.height() < kSmallestShaped)
                refusal = "小さすぎ";
            break;
    }
    if (refusal) {
        Dialogs().MessageBox(refusal, "NG");
        return;
    }
    QWidget* screen = open();
    if (!screen) return;
    toolScreen_ = screen;
    ShowToolScreenButtons(false);
    connect(screen, &QObject::destroyed, this, [this] {
        ShowToolScreenButtons(true);
        RegionChanged();
    });
}

void TForm2::ShowToolScreenButtons(bool enabled) {
    // Everything that opens another screen or leaves the editor waits for the tool screen.
    for (int n : {0, 1, 2, 3, 4, 5, 6, 7, 8, 15, 16, 17, 18, 19})
        Btn[static_cast<std::size_t>(n)]->setEnabled(enabled);
}

void TForm2::Image1MouseDown(Qt::MouseButton button, int x, int y) {
    lastPress_ = {x, y};
    const bool dropped = DropFloatingCopy();
    if (!penMode_ || button != Qt::LeftButton) return;
    if (BeginGesture(*surface_, toolIndex_, ImageToBitmap(*Image1, x, y), colour_, penWidth_,
                     dropped))
        tracking_ = true;
    else if (!region().isNull())
        ReportSnapshotFailed();
}

void TForm2::Image1MouseMove(int x, int y) {
    lastPress_ = {x, y};
    if (!penMode_ || !tracking_ || region().isNull()) return;
    ToolFor(toolIndex_).Move(*surface_, ImageToBitmap(*Image1, x, y));
    Image1->pictureChanged();
}

void TForm2::Image1MouseUp(Qt::MouseButton button, int x, int y) {
    if (!penMode_ || button != Qt::LeftButton || !tracking_) return;
    tracking_ = false;
    ToolFor(toolIndex_).Release(*surface_, ImageToBitmap(*Image1, x, y));
    Image1->pictureChanged();
    if (!IsSelectionTool(toolIndex_)) return;
    const GestureState& g = surface_->gesture();
    if (g.StartPoint.x != g.EndPoint.x && g.StartPoint.y != g.EndPoint.y)
        LiftOrDropSelection(*Image1, *Image2, *surface_, toolIndex_, false, CCTmpPath());
}

void TForm2::Image1Click() {
    if (penMode_) return;
    const Point p = ImageToBitmap(*Image1, lastPress_.x, lastPress_.y);
    if (BucketFill(*surface_, colour_, p))
        Image1->pictureChanged();
    else if (region().contains(p.x, p.y))
        ReportSnapshotFailed();
}

void TForm2::Image2MouseDown(Qt::MouseButton button) {
    if (button == Qt::LeftButton) tracking_ = true;
}

void TForm2::Image2MouseMove(int x, int y) {
    if (tracking_) DragFloatingControl(*Image2, *Image1, x, y);
}

void TForm2::Image2MouseUp(Qt::MouseButton button) {
    if (button == Qt::LeftButton) tracking_ = false;
}

void TForm2::FormClose() {
    DeleteFileIfExists(CCTmpPath());
    ResetFolder(surface_->history().folder(), false);
    ResetFolder(App().AppDir + "tmpQRTEST", false);
}

}  // namespace pb
