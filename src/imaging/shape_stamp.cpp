#include "imaging/shape_stamp.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "platform/bitmap_canvas.h"
#include "platform/line_dda.h"
#include "platform/stretch.h"

namespace pb {

namespace {

// A closed figure of the path: a polygon or a cubic Bézier chain.
void AddClosedFigure(Canvas& canvas, const std::vector<Point>& points, bool bezier) {
    if (points.size() < 2) return;
    std::vector<std::uint8_t> types(points.size(), bezier ? PT_BEZIERTO : PT_LINETO);
    types.front() = PT_MOVETO;
    types.back() |= PT_CLOSEFIGURE;
    canvas.PolyDraw(points, types);
}

struct Offsets {
    int dx = 0;
    int dy = 0;
};

// One shape with the canvas's pen and brush: the shadow (offsets 0) or the figure.
void DrawShape(Canvas& canvas, const StampStyle& style, int W, int H, Offsets off, bool isShadow) {
    const int sx = isShadow ? 0 : off.dx;
    const int sy = isShadow ? 0 : off.dy;
    canvas.BeginPath();
    switch (style.shape) {
        case StampShape::Rectangle:
            canvas.Rectangle(0, 0, W - sx, H - sy);
            break;
        case StampShape::RoundRect:
            canvas.RoundRect(0, 0, W - sx, H - sy, H / 8, H / 8);
            break;
        case StampShape::Ellipse:
            canvas.Ellipse(0, 0, W - sx, H - sy);
            break;
        case StampShape::Heart:
            // The figure's two upper control points sit 2 dy lower than the shadow's, so the
            // shadow shows above the lobes.
            AddClosedFigure(canvas, HeartChain(W, H, isShadow ? 0 : 2 * off.dy), true);
            break;
        case StampShape::Star:
            AddClosedFigure(canvas, StarPolygon(W, H, sx, sy), false);
            break;
        case StampShape::Arrow:
            AddClosedFigure(canvas, ArrowPolygon(W, H, style.direction, sx, sy), false);
            break;
        case StampShape::Balloon:
            AddClosedFigure(canvas, BalloonChain(W, H, style.direction, 2 * sx, 2 * sy), true);
            break;
        case StampShape::Cylinder:
            break;
    }
    canvas.StrokeAndFillPath();
}

Brush PictureBrush(Bitmap picture) {
    Brush b;
    b.style = BrushStyle::Pattern;
    b.pattern = std::make_shared<const Bitmap>(std::move(picture));
    b.patternOrigin = {0, 0};
    return b;
}

Pen OutlinePen(const StampStyle& style) {
    Pen p;
    p.colour = style.outlineColour;
    p.width = std::clamp(style.outlineWidth, kMinStampOutline, kMaxStampOutline);
    return p;
}

// A tube opening from the top-left corner: an ellipse (x, y, 2x, 2y) at every step of the
// line to the centre, then the end face filled with the picture at half size.
void DrawCylinder(BitmapCanvas& canvas, const Bitmap& region, const StampStyle& style, int W, int H,
                  TColor background) {
    canvas.pen = Pen{style.outlineColour, 1};
    canvas.brush = SolidBrush(clWhite);
    LineDDA({0, 0}, {W / 2, H / 2}, [&](int x, int y) { canvas.Ellipse(x, y, 2 * x, 2 * y); });
    // The face starts at (W div 2, H div 2), a whole pattern width and height from the origin.
    canvas.brush = PictureBrush(StampPictureBrush(region, W / 2, H / 2, style.insets, background));
    canvas.pen = OutlinePen(style);
    canvas.BeginPath();
    canvas.Ellipse(W / 2, H / 2, W, H);
    canvas.StrokeAndFillPath();
}

}  // namespace

StampInsets ShiftInsets(const StampInsets& insets, int dTop, int dRight, int dBottom, int dLeft) {
    const auto shift = [](int v, int d) {
        return std::clamp(v + d, kMinStampInset, kMaxStampInset);
    };
    return {shift(insets.top, dTop), shift(insets.right, dRight), shift(insets.bottom, dBottom),
            shift(insets.left, dLeft)};
}

Bitmap StampPictureBrush(const Bitmap& region, int width, int height, const StampInsets& insets,
                         TColor background) {
    Bitmap brush(width, height, background);
    const auto clampInset = [](int v) { return std::clamp(v, kMinStampInset, kMaxStampInset); };
    const int x = clampInset(insets.left) * width / 10;
    const int y = clampInset(insets.top) * height / 10;
    const int right = (10 - clampInset(insets.right)) * width / 10;
    const int bottom = (10 - clampInset(insets.bottom)) * height / 10;
    StretchBits(brush, {x, y, right, bottom}, region, {0, 0, region.width(), region.height()},
                StretchMode::Halftone);
    return brush;
}

Bitmap ComposeStamp(const Bitmap& region, const StampStyle& style) {
    const int W = region.width();
    const int H = region.height();
    Bitmap out(W, H, clWhite);
    if (region.isNull()) return out;
    const TColor background = region.pixel(0, 0);
    BitmapCanvas canvas(out);
    if (style.shape == StampShape::Cylinder) {
        DrawCylinder(canvas, region, style, W, H, background);
        return out;
    }
    const Offsets off = style.shadow ? Offsets{W / 30, H / 30} : Offsets{};
    if (style.shadow) {
        canvas.pen = Pen{style.shadowColour, 1};
        canvas.brush = SolidBrush(style.shadowColour);
        DrawShape(canvas, style, W, H, off, true);
    }
    canvas.pen = OutlinePen(style);
    canvas.brush = PictureBrush(StampPictureBrush(region, W, H, style.insets, background));
    DrawShape(canvas, style, W, H, off, false);
    return out;
}

Bitmap StampWithCorners(const Bitmap& region, const StampStyle& style, const WarpCorners& corners) {
    return WarpQuadrilateral(ComposeStamp(region, style), corners, clWhite);
}

std::vector<Point> HeartChain(int W, int H, int k) {
    return {{W / 2, H / 6},       {W / 2, -H / 20 + k}, {W, -H / 10},         {19 * W / 20, H / 3},
            {19 * W / 20, H / 3}, {19 * W / 20, H / 2}, {W / 2, 19 * H / 20}, {W / 20, H / 2},
            {W / 20, H / 3},      {W / 20, H / 3},      {0, -H / 10},         {W / 2, -H / 20 + k},
            {W / 2, H / 6}};
}

std::vector<Point> StarPolygon(int W, int H, int sx, int sy) {
    return {{W / 2, 0},
            {3 * W / 5 - sx, H / 3 + sy},
            {W - sx, H / 3 + sy},
            {2 * W / 3 - sx, 3 * H / 5 + sy},
            {7 * W / 9, H},
            {W / 2, 7 * H / 9},
            {2 * W / 9, H},
            {W / 3, 3 * H / 5},
            {0, H / 3 + sy},
            {2 * W / 5, H / 3 + sy},
            {W / 2, 0}};
}

std::vector<Point> ArrowPolygon(int W, int H, StampDirection direction, int sx, int sy) {
    switch (direction) {
        case StampDirection::Up:
            return {{W / 2, 0},
                    {W - 1, H / 3 - sy},
                    {3 * W / 4 - sx, H / 3 - sy},
                    {3 * W / 4 - sx, H - 1},
                    {W / 4, H - 1},
                    {W / 4 - sx, H / 3 - sy},
                    {0, H / 3 - sy},
                    {W / 2, 0}};
        case StampDirection::Right:
            return {{2 * W / 3 + sx, 0},     {W - 1, H / 2},
                    {2 * W / 3 + sx, H - 1}, {2 * W / 3 + sx, 3 * H / 4 - sy},
                    {0, 3 * H / 4 - sy},     {0, H / 4},
                    {2 * W / 3 + sx, H / 4}, {2 * W / 3 + sx, 0}};
        case StampDirection::Down:
            return {{W / 4, 0},
                    {3 * W / 4 - sx, 0},
                    {3 * W / 4 - sx, 2 * H / 3 + sy},
                    {W - 1, 2 * H / 3 + sy},
                    {W / 2, H - 1},
                    {0, 2 * H / 3 + sy},
                    {W / 4, 2 * H / 3 + sy},
                    {W / 4, 0}};
        case StampDirection::Left:
            return {{W / 3 - sx, 0},
                    {W / 3 - sx, H / 4},
                    {W - 1, H / 4},
                    {W - 1, 3 * H / 4 - sy},
                    {W / 3 - sx, 3 * H / 4 - sy},
                    {W / 3 - sx, H - 1 - sy},
                    {0, H / 2},
                    {W / 3 - sx, 0}};
    }
    return {};
}

std::vector<Point> BalloonChain(int W, int H, StampDirection direction, int sx, int sy) {
    Point t, p, q, c1, c2;
    switch (direction) {
        case StampDirection::Up:
            t = {W / 2, 0};
            p = {W / 3, H / 3 - sy};
            q = {2 * W / 3, H / 3 - sy};
            c1 = {-5 * W / 6, 7 * H / 6};
            c2 = {11 * W / 6, 7 * H / 6};
            break;
        case StampDirection::Right:
            t = {W, H / 2};
            p = {2 * W / 3 + sx, H / 3};
            q = {2 * W / 3 + sx, 2 * H / 3};
            c1 = {-W / 6, -5 * H / 6};
            c2 = {-W / 6, 11 * H / 6};
            break;
        case StampDirection::Down:
            t = {W / 2, H};
            p = {W / 3, 2 * H / 3 + sy};
            q = {2 * W / 3, 2 * H / 3 + sy};
            c1 = {-5 * W / 6, -H / 6};
            c2 = {11 * W / 6, -H / 6};
            break;
        case StampDirection::Left:
            t = {0, H / 2};
            p = {W / 3 - sx, H / 3};
            q = {W / 3 - sx, 2 * H / 3};
            c1 = {7 * W / 6, -5 * H / 6};
            c2 = {7 * W / 6, 11 * H / 6};
            break;
    }
    // A straight tail edge, the body loop and the other tail edge; the straight edges repeat
    // their end points as control points.
    return {t, t, p, p, c1, c2, q, q, t, t};
}

Size StampPreviewSize(int width, int height) {
    constexpr int kMax = 400;
    if (width <= 0 || height <= 0) return {0, 0};
    int w = width;
    int h = height;
    if (w > kMax) {
        h = h * kMax / w;
        w = kMax;
    }
    if (h > kMax) {
        w = std::max(1, w * kMax / h);
        h = kMax;
    }
    return {w, std::max(1, h)};
}

}  // namespace pb
