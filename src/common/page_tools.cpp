#include "common/page_tools.h"

#include <algorithm>

#include "platform/bitmap_canvas.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"

namespace pb {

bool IsSelectionTool(int tool) { return tool >= kSelectCopy && tool <= kSelectEdit; }

Point ImageToBitmap(Size bitmap, Size image, int x, int y) {
    const int iw = std::max(1, image.width);
    const int ih = std::max(1, image.height);
    return {bitmap.width * x / iw, bitmap.height * y / ih};
}

void DrawLineShape(Canvas& canvas, Point s, Point e) {
    canvas.MoveTo(s.x, s.y);
    canvas.LineTo(e.x, e.y);
}

void DrawRectangleShape(Canvas& canvas, Point s, Point e) { canvas.Rectangle(s.x, s.y, e.x, e.y); }

void DrawRoundRectShape(Canvas& canvas, Point s, Point e) {
    // Signed: a drag from bottom-right to top-left gives a negative corner size.
    const int corner = std::min(e.x - s.x, e.y - s.y) / 4;
    canvas.RoundRect(s.x, s.y, e.x, e.y, corner, corner);
}

void DrawEllipseShape(Canvas& canvas, Point s, Point e) { canvas.Ellipse(s.x, s.y, e.x, e.y); }

namespace {

// Draws with the gesture's pen from its pen position, in `mode`, and keeps where the pen ends.
template <typename Draw>
void WithGesturePen(EditSurface& surface, PenMode mode, Draw draw) {
    Bitmap& bmp = surface.bitmap();
    if (bmp.isNull()) return;
    GestureState& g = surface.gesture();
    BitmapCanvas canvas(bmp);
    canvas.pen = g.pen;
    canvas.pen.mode = mode;
    canvas.brush.style = BrushStyle::Clear;
    canvas.MoveTo(g.penPosition.x, g.penPosition.y);
    draw(canvas);
    g.penPosition = canvas.penPosition();
}

void StartAt(EditSurface& surface, Point p) {
    GestureState& g = surface.gesture();
    g.penPosition = p;
    g.StartPoint = g.EndPoint = p;
    g.bandDrawn = false;
}

}  // namespace

void FreeHandTool::Press(EditSurface& surface, Point p) const { StartAt(surface, p); }

void FreeHandTool::Move(EditSurface& surface, Point p) const {
    surface.gesture().EndPoint = p;
    WithGesturePen(surface, PenMode::Copy, [p](Canvas& c) { c.LineTo(p.x, p.y); });
}

void FreeHandTool::Release(EditSurface& surface, Point p) const { Move(surface, p); }

void RectangularTool::Press(EditSurface& surface, Point p) const { StartAt(surface, p); }

void RectangularTool::Band(EditSurface& surface, Point s, Point e) const {
    WithGesturePen(surface, PenMode::NotXor, [this, s, e](Canvas& c) { draw_(c, s, e); });
}

void RectangularTool::Move(EditSurface& surface, Point p) const {
    GestureState& g = surface.gesture();
    const Bitmap& bmp = surface.bitmap();
    if (bmp.isNull()) return;
    if (clamp_) {
        p.x = std::clamp(p.x, 0, bmp.width() - 1);
        p.y = std::clamp(p.y, 0, bmp.height() - 1);
    }
    if (g.bandDrawn) Band(surface, g.StartPoint, g.EndPoint);
    g.EndPoint = p;
    Band(surface, g.StartPoint, g.EndPoint);
    g.bandDrawn = true;
}

void RectangularTool::Release(EditSurface& surface, Point p) const {
    GestureState& g = surface.gesture();
    // The last band lies where the last move was; when the release happens elsewhere it would
    // stay on the bitmap beside the final shape, so it is taken away first.
    if (g.bandDrawn) Band(surface, g.StartPoint, g.EndPoint);
    g.bandDrawn = false;
    if (!final_) return;  // a selection keeps the rectangle of the last move
    const Point s = g.StartPoint;
    WithGesturePen(surface, PenMode::Copy, [this, s, p](Canvas& c) { draw_(c, s, p); });
}

const Tool& ToolFor(int toolIndex) {
    static const FreeHandTool freeHand;
    static const RectangularTool line(DrawLineShape, false, true);
    static const RectangularTool rectangle(DrawRectangleShape, false, true);
    static const RectangularTool roundRect(DrawRoundRectShape, false, true);
    static const RectangularTool ellipse(DrawEllipseShape, false, true);
    static const RectangularTool selection(DrawRectangleShape, true, false);
    switch (toolIndex) {
        case kFreeDraw:
            return freeHand;
        case kStraightLine:
            return line;
        case kRoundRectTool:
            return roundRect;
        case kEllipseTool:
            return ellipse;
        case kSelectCopy:
        case kSelectMove:
        case kSelectEdit:
            return selection;
        default:
            return rectangle;
    }
}

bool BeginGesture(EditSurface& surface, int toolIndex, Point p, TColor colour, int penWidth,
                  bool skipSnapshot) {
    if (surface.bitmap().isNull()) return false;
    GestureState& g = surface.gesture();
    g.startCounter = surface.history().counter();
    g.startBitmap.reset();
    if (skipSnapshot)
        g.startBitmap = surface.bitmap();
    else if (!surface.history().Take(surface.bitmap()))
        return false;
    surface.gesture().pen = IsSelectionTool(toolIndex)
                                ? Pen{clBlack, 2, PenStyle::Solid, PenMode::Copy}
                                : Pen{colour, penWidth, PenStyle::Solid, PenMode::Copy};
    ToolFor(toolIndex).Press(surface, p);
    return true;
}

bool CancelGesture(EditSurface& surface) {
    GestureState& g = surface.gesture();
    g.bandDrawn = false;
    if (g.startBitmap) {
        surface.bitmap() = std::move(*g.startBitmap);
        g.startBitmap.reset();
        return true;
    }
    return surface.history().RollbackToOpen(g.startCounter, surface.bitmap()) == HistoryStatus::Done;
}

Rect SelectionRect(const GestureState& g) {
    return Rect{g.StartPoint.x, g.StartPoint.y, g.EndPoint.x, g.EndPoint.y}.normalized();
}

SelectionStatus LiftSelection(EditSurface& surface, int toolIndex, Bitmap& lifted,
                              const std::string& cctmpPath) {
    const Rect sel = SelectionRect(surface.gesture());
    const int w = sel.width(), h = sel.height();
    lifted = Bitmap(w, h);
    // The snapshot taken when the gesture began has the bitmap without the rubber band.
    std::optional<Bitmap> before = surface.history().Newest();
    Bitmap& bmp = surface.bitmap();
    if (!before || before->size() != bmp.size()) return SelectionStatus::Broken;
    bmp = std::move(*before);
    {
        BitmapCanvas canvas(lifted);
        canvas.CopyRect({0, 0, w, h}, bmp, {sel.left, sel.top, sel.left + w, sel.top + h});
    }
    if (toolIndex != kSelectCopy && toolIndex != kSelectMove) return SelectionStatus::Done;
    // Without the file the selection could not be dropped again: it is written before the
    // move tool takes the pixels off the bitmap, which stays whole when that fails.
    DeleteFileIfExists(cctmpPath);
    if (!SaveBmp(lifted, cctmpPath)) return SelectionStatus::Broken;
    if (toolIndex == kSelectMove) {
        BitmapCanvas canvas(bmp);
        canvas.brush.style = BrushStyle::Solid;
        canvas.brush.colour = clWhite;
        canvas.pen = Pen{clWhite, 1, PenStyle::Solid, PenMode::Copy};
        canvas.Rectangle(sel.left, sel.top, sel.right, sel.bottom);
        surface.gesture().pen = Pen{clBlack, 1, PenStyle::Dot, PenMode::Copy};
    }
    return SelectionStatus::Done;
}

void DrawSelectionFrame(Bitmap& lifted) {
    const int w = lifted.width(), h = lifted.height();
    BitmapCanvas frame(lifted);
    frame.pen = Pen{clBlack, 1, PenStyle::Dot, PenMode::Copy};
    frame.brush.style = BrushStyle::Clear;
    frame.MoveTo(1, 1);
    frame.LineTo(w - 1, 1);
    frame.LineTo(w - 1, h - 2);
    frame.LineTo(1, h - 2);
    frame.LineTo(1, 1);
}

SelectionStatus DropSelection(EditSurface& surface, Point at, Bitmap& lifted,
                              const std::string& cctmpPath) {
    if (!Files().FileExists(cctmpPath)) return SelectionStatus::Nothing;
    auto file = LoadBmp(cctmpPath);
    if (!file) return SelectionStatus::Broken;
    lifted = std::move(*file);
    const Rect sel = SelectionRect(surface.gesture());
    BitmapCanvas canvas(surface.bitmap());
    canvas.CopyRect({at.x, at.y, at.x + sel.width(), at.y + sel.height()}, lifted,
                    {0, 0, sel.width(), sel.height()});
    return SelectionStatus::Done;
}

bool BucketFill(EditSurface& surface, TColor colour, Point p) {
    if (surface.bitmap().isNull()) return false;
    if (!surface.history().Take(surface.bitmap())) return false;
    Bitmap& bmp = surface.bitmap();
    if (!bmp.contains(p.x, p.y)) return false;
    BitmapCanvas canvas(bmp);
    canvas.brush.style = BrushStyle::Solid;
    canvas.brush.colour = colour;
    canvas.FloodFill(p.x, p.y, bmp.pixel(p.x, p.y));
    return true;
}

}  // namespace pb
