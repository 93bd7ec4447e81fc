#include "objects/ui/text_stamp_form.h"

#include <QAbstractScrollArea>

#include "common/app_state.h"
#include "common/ui/region_host.h"
#include "objects/design_rules.h"
#include "objects/ui/object_design_form.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/image_control.h"

namespace pb {

namespace {

// The region editor's top panel, above its canvas, when the canvas tells no other.
constexpr int kEditorPanelHeight = 200;

// The top of the area the canvas scrolls in, in the editor window's coordinates.
int CanvasAreaTop(RegionHost& host) {
    QWidget* editor = host.EditorWindow();
    QWidget* below = host.CanvasImage();
    if (!editor || !below || !editor->isAncestorOf(below)) return kEditorPanelHeight;
    for (QWidget* w = below; w && w != editor; w = w->parentWidget()) {
        if (qobject_cast<QAbstractScrollArea*>(w)) {
            below = w;
            break;
        }
    }
    const int top = below->mapTo(editor, QPoint(0, 0)).y();
    return top > 0 ? top : kEditorPanelHeight;
}

}  // namespace

TextStampForm::TextStampForm(RegionHost& host, std::string text, const QString& name)
    : PaletteForm(host.EditorWindow(), Qt::WindowStaysOnTopHint),
      host_(host),
      text_(std::move(text)) {
    setObjectName(name);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#%1 { background: #c0c0c0; }").arg(name));
    Edit0 = AddFocusSink(776, 2, 12, 10);
    Label1 = AddLabel(QStringLiteral("Label1"),
                      QStringLiteral("編集中の文字は指でもマウスでも移動可能"), 4, 2, 300, 16);
}

void TextStampForm::OpenOverRegion() {
    QWidget* editor = host_.EditorWindow();
    const QPoint origin = editor ? editor->geometry().topLeft() : QPoint(0, 0);
    const int width = App().WorkAreaWidth > 0 ? App().WorkAreaWidth
                      : editor                ? editor->width()
                                              : 792;
    setGeometry(origin.x(), origin.y(), width, CanvasAreaTop(host_));
    CutHoles({Hole()});

    ImageControl* canvas = host_.CanvasImage();
    ImageControl* placed = host_.PlacedImage();
    if (canvas) canvas->setEnabled(false);
    if (placed) {
        placedKey_ = placed->transparentColour();
        placedStretch_ = placed->stretch();
        placed->setStretch(true);
        placed->setTransparentColour(KeyColour);
        if (canvas) placed->move(canvas->pos());
    }
}

void TextStampForm::BuildConfirmButtons(const QString& confirmCaption) {
    BtnDtStClose = AddButton(QStringLiteral("BtnDtStClose"), confirmCaption, 700, 20, 88, 42);
    BtnFormClose =
        AddButton(QStringLiteral("BtnFormClose"), QStringLiteral("Cancel"), 700, 64, 88, 42);
    QFont bold = BtnDtStClose->font();
    bold.setBold(true);
    BtnDtStClose->setFont(bold);
    connect(BtnFormClose, &QPushButton::clicked, this, &TextStampForm::BtnFormCloseClick);
}

void TextStampForm::BuildFontList(const QRect& place, const std::string& current) {
    ListBox1 = AddJapaneseFontList(this, place, current);
}

std::string TextStampForm::ChosenFont() const {
    return ChosenFontName(ListBox1);
}

Size TextStampForm::RegionSize() const {
    return host_.RegionBitmap().size();
}

Point TextStampForm::RegionPosition() const {
    const ImageControl* canvas = host_.CanvasImage();
    const ImageControl* placed = host_.PlacedImage();
    if (!canvas || !placed) return {0, 0};
    const int zoom = host_.Zoom() > 0 ? host_.Zoom() : 100;
    const QPoint offset = placed->pos() - canvas->pos();
    return {offset.x() * 100 / zoom, offset.y() * 100 / zoom};
}

Size TextStampForm::Room() const {
    const Point at = RegionPosition();
    return RoomOnPage(RegionSize(), at, 100);
}

bool TextStampForm::RefuseUnlessFits(Size box, int reserveBelow) const {
    const auto problem = FitProblem(box, Room(), reserveBelow);
    if (!problem) return false;
    Dialogs().MessageBox(*problem, "NG");
    return true;
}

void TextStampForm::ShowStamp(const Bitmap& picture) {
    ImageControl* placed = host_.PlacedImage();
    if (!placed) return;
    const int zoom = host_.Zoom() > 0 ? host_.Zoom() : 100;
    placed->setPicture(picture);
    placed->resize(picture.width() * zoom / 100, picture.height() * zoom / 100);
    placed->show();
    placed->raise();
}

void TextStampForm::BtnFormCloseClick() {
    FocusSink();
    Release();
}

void TextStampForm::FormClose() {
    if (ImageControl* canvas = host_.CanvasImage()) canvas->setEnabled(true);
    if (ImageControl* placed = host_.PlacedImage()) {
        placed->hide();
        placed->setGeometry(0, 0, 20, 20);
        placed->clearPicture();
        placed->setTransparentColour(placedKey_);
        placed->setStretch(placedStretch_);
    }
}

}  // namespace pb
