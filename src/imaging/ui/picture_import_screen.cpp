#include "imaging/ui/picture_import_screen.h"

#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>

#include "common/app_state.h"
#include "common/ui/region_host.h"
#include "imaging/ui/region_screens.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"
#include "platform/stretch.h"
#include "platform/work_indicator.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/image_control.h"

namespace pb {

namespace {

// The strip is as high as the region editor's panel above its canvas.
constexpr int kStripHeight = 200;
// The editor's canvas size labels show through this part of the strip.
const QRect kLabelHole(QPoint(680, 110), QPoint(779, 151));

const char* const kModeCaptions[] = {"原寸", "Canvasめいっぱい", "Canvas内で縦横比保持",
                                     "自力でサイズ調整"};
const char* const kSizeCaptions[] = {"", "←", "→", "↑", "↓"};

Point TopLeftOf(const QWidget* w) {
    return {w->x(), w->y()};
}

}  // namespace

QWidget* OpenPictureImport(RegionHost& host) {
    return new TForm3(host);
}

TForm3::TForm3(RegionHost& host)
    : Form(host.EditorWindow(), Qt::WindowStaysOnTopHint),
      host_(host),
      placed_(host.PlacedImage()) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("画像"));
    setStyleSheet(QStringLiteral("#Form3 { background: #c0c0c0; }"));
    BuildControls();
    ConnectHandlers();
    FormCreate();
    show();
}

void TForm3::BuildControls() {
    ShellTreeView1 = new FolderTree(this);
    ShellTreeView1->setGeometry(4, 4, 200, kStripHeight - 8);
    ListView1 = new ThumbnailListView(this);
    ListView1->setGeometry(208, 4, 300, 160);
    LabelSUKIMA =
        AddLabel(QStringLiteral("LabelSUKIMA"),
                 QStringLiteral("すきまができた場合は指かマウスで移動可(やるならなるべく今のうち)"),
                 208, 166, 376, 32);
    LabelSUKIMA->setWordWrap(true);
    LabelSUKIMA->setStyleSheet(QStringLiteral("color: #c00000;"));
    LabelSUKIMA->hide();

    BtnLVPgUp = AddButton(QStringLiteral("BtnLVPgUp"), QStringLiteral("↑前頁"), 512, 4, 72, 44);
    BtnLVPgDn = AddButton(QStringLiteral("BtnLVPgDn"), QStringLiteral("↓次頁"), 512, 52, 72, 44);

    auto* modes = AddGroup(QStringLiteral("GroupBox1"), QString(), 588, 0, 200, 104);
    modes->setFlat(true);
    for (int n = 0; n < 4; ++n)
        RadioButton[n] =
            AddRadio(QStringLiteral("RadioButton%1").arg(n), QString::fromUtf8(kModeCaptions[n]), 4,
                     4 + n * 25, 192, 24, modes);
    RadioButton[static_cast<int>(mode_)]->setChecked(true);

    for (int n = 1; n <= 4; ++n) {
        BtnS[n] = AddButton(QStringLiteral("BtnS%1").arg(n), QString::fromUtf8(kSizeCaptions[n]),
                            512 + (n - 1) * 42, 104, 40, 36);
        BtnS[n]->hide();
    }
    CheckBox1 = new QCheckBox(QStringLiteral("HalfToneMode"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(512, 144, 130, 20);
    CheckBox1->setFocusPolicy(Qt::NoFocus);
    CheckBox1->setChecked(true);
    CheckBox1->hide();

    BtnDtStClose =
        AddButton(QStringLiteral("BtnDtStClose"), QStringLiteral("OK"), 588, 156, 90, 40);
    BtnFormClose =
        AddButton(QStringLiteral("BtnFormClose"), QStringLiteral("Cancel"), 684, 156, 96, 40);
    AddFocusSink(782, 4, 10, 18);
}

void TForm3::ConnectHandlers() {
    connect(ShellTreeView1, &FolderTree::folderChanged, this, &TForm3::ShellTreeView1Change);
    connect(ListView1, &QListWidget::itemClicked, this, &TForm3::ListView1Click);
    for (int n = 0; n < 4; ++n)
        connect(RadioButton[n], &QRadioButton::clicked, this,
                [this, n] { RBtnClick(static_cast<FitMode>(n)); });
    for (int n = 1; n <= 4; ++n)
        connect(BtnS[n], &QPushButton::clicked, this, [this, n] { SizeBtnClick(n); });
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm3::CheckBox1Click);
    connect(BtnLVPgUp, &QPushButton::clicked, this, &TForm3::BtnLVPgUpClick);
    connect(BtnLVPgDn, &QPushButton::clicked, this, &TForm3::BtnLVPgDnClick);
    connect(BtnDtStClose, &QPushButton::clicked, this, &TForm3::BtnDtStCloseClick);
    connect(BtnFormClose, &QPushButton::clicked, this, &TForm3::BtnFormCloseClick);
}

void TForm3::FormCreate() {
    QWidget* editor = host_.EditorWindow();
    const QPoint origin = editor->mapToGlobal(QPoint(0, 0));
    setGeometry(origin.x(), origin.y(), editor->width(), kStripHeight);
    AppState& app = App();
    ShellTreeView1->SetPath(app.CurrentPictureFolder);
    app.CurrentPictureFolder =
        ListView1->ChangeFolder(app.CurrentPictureFolder, app.CurrentPictureFolder);
    ShellTreeView1->show();
    CutHoles({kLabelHole});
    host_.CanvasImage()->setEnabled(false);
    placed_->installEventFilter(this);
}

void TForm3::FormClose() {
    placed_->removeEventFilter(this);
    host_.CanvasImage()->setEnabled(true);
    placed_->hide();
    placed_->setGeometry(0, 0, 20, 20);
    placed_->clearPicture();
}

Size TForm3::RegionSize() const {
    return host_.RegionBitmap().size();
}

bool TForm3::HalfTone() const {
    return CheckBox1->isChecked();
}

void TForm3::ShellTreeView1Change(const QString& path) {
    AppState& app = App();
    app.CurrentPictureFolder =
        ListView1->ChangeFolder(app.CurrentPictureFolder, path.toStdString());
}

void TForm3::ListView1Click(QListWidgetItem* item) {
    FocusSink();
    const std::optional<std::string> touched = TouchedPicture(*ListView1, item);
    if (!touched) return;
    const std::string& path = *touched;
    PictureError error;
    std::optional<Bitmap> loaded;
    {
        BusyCursor busy;
        loaded = LoadPicture(path, &error);
    }
    if (!loaded) {
        Dialogs().MessageBox("この画像は読めない(壊れているか、BMPでもJPEGでもない)", "NG");
        return;
    }
    // A JPEG cut short decodes with grey where its data ends: not worth pasting.
    if (error.damaged) {
        Dialogs().MessageBox("この画像は壊れている(途中までしかない)", "NG");
        return;
    }
    BusyCursor busy;
    picture_ = std::move(*loaded);
    ApplyFitMode();
    CheckBox1->setVisible(mode_ != FitMode::ActualSize);
    for (int n = 1; n <= 4; ++n) BtnS[n]->setVisible(mode_ == FitMode::ByHand);
    MovePlacedToCanvasCorner();
}

void TForm3::RBtnClick(FitMode mode) {
    FocusSink();
    mode_ = mode;
    if (picture_.isNull() || placed_->isHidden()) return;
    CheckBox1->setVisible(mode != FitMode::ActualSize);
    for (int n = 1; n <= 4; ++n) BtnS[n]->setVisible(mode == FitMode::ByHand);
    ApplyFitMode();
    MovePlacedToCanvasCorner();
}

void TForm3::SizeBtnClick(int button) {
    FocusSink();
    if (picture_.isNull() || placed_->isHidden()) return;
    const Size current = placed_->picture().size();
    // The room is measured in bitmap pixels from where "OK" would paste the picture: the
    // on-screen position alone would give too much room below zoom 100 and too little above.
    const Point at = PastePosition(TopLeftOf(placed_), TopLeftOf(host_.CanvasImage()), host_.Zoom(),
                                   current, RegionSize());
    const Size size = SizeByHand(current, button, RoomForPlaced(RegionSize(), at));
    ShowPlaced(StretchPictureTo(picture_, size, HalfTone()));
}

void TForm3::CheckBox1Click() {
    if (!picture_.isNull() && !placed_->isHidden()) {
        ApplyFitMode();
        // The fitted picture may be larger than the one sized by hand: it stays in the canvas,
        // where "OK" would paste it.
        DragPlacedTo(QPoint(placed_->width() / 2, placed_->height() / 2));
    }
    FocusSink();
}

void TForm3::BtnLVPgUpClick() {
    ListView1->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    FocusSink();
}

void TForm3::BtnLVPgDnClick() {
    ListView1->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    FocusSink();
}

void TForm3::ApplyFitMode() {
    ShowPlaced(FitPicture(picture_, mode_, RegionSize(), HalfTone()));
}

void TForm3::ShowPlaced(Bitmap placed) {
    LabelSUKIMA->setVisible(LeavesGap(placed.size(), RegionSize()));
    const Size onScreen = ScreenSizeAtZoom(placed.size(), host_.Zoom());
    placed_->resize(onScreen.width, onScreen.height);
    placed_->setPicture(std::move(placed));
}

void TForm3::MovePlacedToCanvasCorner() {
    placed_->move(host_.CanvasImage()->pos());
    placed_->show();
    placed_->raise();
}

void TForm3::DragPlacedTo(QPoint pointer) {
    const QRect canvas = host_.CanvasImage()->geometry();
    const Point to = DraggedPlacedPosition(
        TopLeftOf(placed_), {pointer.x(), pointer.y()}, {placed_->width(), placed_->height()},
        RectOfSize(canvas.x(), canvas.y(), canvas.width(), canvas.height()));
    placed_->move(to.x, to.y);
}

void TForm3::BtnDtStCloseClick() {
    FocusSink();
    const Bitmap& placed = placed_->picture();
    if (!placed_->isHidden() && !placed.isNull()) {
        if (!host_.SnapshotRegion()) return;
        Bitmap& region = host_.RegionBitmap();
        const Point at = PastePosition(TopLeftOf(placed_), TopLeftOf(host_.CanvasImage()),
                                       host_.Zoom(), placed.size(), region.size());
        StretchBits(region, RectOfSize(at.x, at.y, placed.width(), placed.height()), placed,
                    RectOfSize(0, 0, placed.width(), placed.height()), StretchMode::ColorOnColor);
        host_.RegionChanged();
    }
    Release();
}

void TForm3::BtnFormCloseClick() {
    FocusSink();
    Release();
}

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
    if (watched != placed_ || placed_->isHidden()) return Form::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) dragging_ = true;
            return true;
        case QEvent::MouseButtonRelease:
            dragging_ = false;
            return true;
        case QEvent::MouseMove:
            if (dragging_) DragPlacedTo(static_cast<QMouseEvent*>(event)->position().toPoint());
            return true;
        default:
            return Form::eventFilter(watched, event);
    }
}

}  // namespace pb
