#include "common/page_tools.h"

#include <algorithm>

#include "common/app_state.h"
#include "common/history.h"
#include "platform/bitmap_canvas.h"
#include "platform/ui/dialogs.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"

namespace pb {

GestureState& Gesture() {
    static GestureState state;
    return state;
}

bool IsSelectionTool(int tool) { return tool >= kSelectCopy && tool <= kSelectEdit; }

Point ImageToBitmap(const ImageControl& image, int x, int y) {
    const Bitmap& bmp = image.picture();
    const int iw = std::max(1, image.width());
    const int ih = std::max(1, image.height());
    return {bmp.width() * x / iw, bmp.height() * y / ih};
}

void ToolMouseDown(ImageControl& image, int k, Qt::MouseButton button, int x, int y, TColor colour,
                   int penWidth, bool skipSnapshot) {
    AppState& app = App();
    if (!app.PenMode || button != Qt::LeftButton || image.picture().isNull()) return;
    if (!skipSnapshot && !TakeSnapshot(image.picture(), k)) return;
    GestureState& g = Gesture();
    if (IsSelectionTool(app.ToolIndex))
        g.pen = Pen{clBlack, 2, PenStyle::Solid, PenMode::Copy};
    else
        g.pen = Pen{colour, penWidth, PenStyle::Solid, PenMode::Copy};
    const Point p = ImageToBitmap(image, x, y);
    g.penPosition = p;
    g.StartPoint = g.EndPoint = p;
    g.bandDrawn = false;
    app.Tracking = true;
}

void ToolMouseMove(ImageControl& image, int x, int y) {
    AppState& app = App();
    if (!app.PenMode || !app.Tracking || image.picture().isNull()) return;
    GestureState& g = Gesture();
    Point p = ImageToBitmap(image, x, y);
    if (IsSelectionTool(app.ToolIndex)) {
        p.x = std::clamp(p.x, 0, image.picture().width() - 1);
        p.y = std::clamp(p.y, 0, image.picture().height() - 1);
    }
    // The free-hand tool draws each segment for good; the others move a not-xor band, which
    // drawn a second time at the same place restores the pixels under it.
    if (app.ToolIndex != kFreeDraw && g.bandDrawn) DrawToolShape(image, g.StartPoint, g.EndPoint, true);
    g.EndPoint = p;
    DrawToolShape(image, g.StartPoint, g.EndPoint, true);
    g.bandDrawn = app.ToolIndex != kFreeDraw;
}

void DrawToolShape(ImageControl& image, Point s, Point e, bool rubberBand) {
    Bitmap& bmp = image.picture();
    if (bmp.isNull()) return;
    GestureState& g = Gesture();
    const int tool = App().ToolIndex;
    BitmapCanvas canvas(bmp);
    canvas.pen = g.pen;
    canvas.pen.mode = (tool == kFreeDraw || !rubberBand) ? PenMode::Copy : PenMode::NotXor;
    canvas.brush.style = BrushStyle::Clear;
    canvas.MoveTo(g.penPosition.x, g.penPosition.y);
    switch (tool) {
        case kFreeDraw:
            canvas.LineTo(e.x, e.y);
            break;
        case kStraightLine:
            canvas.MoveTo(s.x, s.y);
            canvas.LineTo(e.x, e.y);
            break;
        case kRoundRectTool: {
            // Signed: a drag from bottom-right to top-left gives a negative corner size.
            const int corner = std::min(e.x - s.x, e.y - s.y) / 4;
            canvas.RoundRect(s.x, s.y, e.x, e.y, corner, corner);
            break;
        }
        case kEllipseTool:
            canvas.Ellipse(s.x, s.y, e.x, e.y);
            break;
        default:  // the rectangle and the three selection tools
            canvas.Rectangle(s.x, s.y, e.x, e.y);
            break;
    }
    g.penPosition = canvas.penPosition();
    image.pictureChanged();
}

void FinishToolShape(ImageControl& image, Point p) {
    GestureState& g = Gesture();
    // The last band lies where the last move was; when the release happens elsewhere it would
    // stay on the page beside the final shape, so it is taken away first.
    if (g.bandDrawn) DrawToolShape(image, g.StartPoint, g.EndPoint, true);
    g.bandDrawn = false;
    DrawToolShape(image, g.StartPoint, p, false);
}

Rect SelectionRect() {
    const GestureState& g = Gesture();
    return Rect{g.StartPoint.x, g.StartPoint.y, g.EndPoint.x, g.EndPoint.y}.normalized();
}

namespace {

bool Lift(ImageControl& image, ImageControl& floating, int k, const std::string& cctmpPath) {
    const Rect sel = SelectionRect();
    const int w = sel.width(), h = sel.height();
    Bitmap& page = image.picture();
    const int bw = std::max(1, page.width()), bh = std::max(1, page.height());
    const int iw = image.width(), ih = image.height();
    floating.setGeometry(sel.left * iw / bw + image.x(), sel.top * ih / bh + image.y(), w * iw / bw,
                         h * ih / bh);
    floating.setPicture(Bitmap(w, h));

    // The snapshot taken when the gesture began has the page without the rubber band.
    const std::string path =
        SnapshotPath(App().HistoryFolder(k), App().HistoryCounter[k] - 1);
    std::optional<Bitmap> before;
    if (Files().FileExists(path)) before = LoadBmp(path);
    if (!before || before->size() != page.size()) {
        Dialogs().MessageBox("何か事故", "どうでもいいけど");
        return false;
    }
    image.setPicture(std::move(*before));
    Bitmap& canvasBitmap = image.picture();
    {
        BitmapCanvas lifted(floating.picture());
        lifted.CopyRect({0, 0, w, h}, canvasBitmap, {sel.left, sel.top, sel.left + w, sel.top + h});
    }
    const int tool = App().ToolIndex;
    if (tool == kSelectCopy || tool == kSelectMove) {
        if (tool == kSelectMove) {
            BitmapCanvas canvas(canvasBitmap);
            canvas.brush.style = BrushStyle::Solid;
            canvas.brush.colour = clWhite;
            canvas.pen = Pen{clWhite, 1, PenStyle::Solid, PenMode::Copy};
            canvas.Rectangle(sel.left, sel.top, sel.right, sel.bottom);
            Gesture().pen = Pen{clBlack, 1, PenStyle::Dot, PenMode::Copy};
        }
        DeleteFileIfExists(cctmpPath);
        if (!SaveBmp(floating.picture(), cctmpPath)) {
            // Without the file the selection could not be dropped again: keep the page whole.
            Dialogs().MessageBox("何か事故", "どうでもいいけど");
            image.pictureChanged();
            return false;
        }
        BitmapCanvas frame(floating.picture());
        frame.pen = Pen{clBlack, 1, PenStyle::Dot, PenMode::Copy};
        frame.brush.style = BrushStyle::Clear;
        frame.MoveTo(1, 1);
        frame.LineTo(w - 1, 1);
        frame.LineTo(w - 1, h - 2);
        frame.LineTo(1, h - 2);
        frame.LineTo(1, 1);
        floating.pictureChanged();
        floating.show();
        floating.raise();
    }
    image.pictureChanged();
    return true;
}

bool Drop(ImageControl& image, ImageControl& floating, const std::string& cctmpPath) {
    Bitmap& page = image.picture();
    const int iw = std::max(1, image.width()), ih = std::max(1, image.height());
    const int x = (floating.x() - image.x()) * page.width() / iw;
    const int y = (floating.y() - image.y()) * page.height() / ih;
    floating.hide();
    if (!Files().FileExists(cctmpPath)) return false;
    auto lifted = LoadBmp(cctmpPath);
    if (!lifted) {
        Dialogs().MessageBox("何か事故", "どうでもいいけど");
        return false;
    }
    floating.setPicture(std::move(*lifted));
    const Rect sel = SelectionRect();
    BitmapCanvas canvas(page);
    canvas.CopyRect({x, y, x + sel.width(), y + sel.height()}, floating.picture(),
                    {0, 0, sel.width(), sel.height()});
    image.pictureChanged();
    return true;
}

}  // namespace

bool LiftOrDropSelection(ImageControl& image, ImageControl& floating, int k, bool drop,
                         const std::string& cctmpPath) {
    if (!drop) return Lift(image, floating, k, cctmpPath);
    if (floating.isHidden()) return false;
    return Drop(image, floating, cctmpPath);
}

void BucketFill(ImageControl& image, int k, TColor colour, int x, int y) {
    if (App().PenMode || image.picture().isNull()) return;
    if (!TakeSnapshot(image.picture(), k)) return;
    Bitmap& bmp = image.picture();
    const Point p = ImageToBitmap(image, x, y);
    if (!bmp.contains(p.x, p.y)) return;
    BitmapCanvas canvas(bmp);
    canvas.brush.style = BrushStyle::Solid;
    canvas.brush.colour = colour;
    canvas.FloodFill(p.x, p.y, bmp.pixel(p.x, p.y));
    image.pictureChanged();
}

void DragFloatingControl(QWidget& control, const QWidget& page, int x, int y) {
    int left = x + control.x() - control.width() / 2;
    int top = y + control.y() - control.height() / 2;
    left = std::min(left, page.x() + page.width() - control.width());
    left = std::max(left, page.x());
    top = std::min(top, page.y() + page.height() - control.height());
    top = std::max(top, page.y());
    control.move(left, top);
}

}  // namespace pb
