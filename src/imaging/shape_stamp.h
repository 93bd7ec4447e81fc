#pragma once
// The shaped stamp of the region: the region's picture as the fill of one of eight shapes,
// with an optional drop shadow and an outline, then distorted by four corner points. Pure
// functions over bitmaps, drawn through Canvas; the screen keeps the choices and the history.

#include <vector>

#include "imaging/quad_warp.h"
#include "platform/bitmap.h"
#include "platform/colour.h"
#include "platform/geometry.h"

namespace pb {

enum class StampShape { Rectangle, RoundRect, Ellipse, Heart, Star, Cylinder, Arrow, Balloon };

// The way the arrow points and the balloon's tail reaches.
enum class StampDirection { Up, Right, Down, Left };

// Where the picture sits inside the shape, per side in tenths of the region's size, -4..4:
// negative insets push the picture beyond the edge (it is cropped), positive ones leave a
// margin of the background colour.
struct StampInsets {
    int top = 0;
    int right = 0;
    int bottom = 0;
    int left = 0;
    friend bool operator==(const StampInsets&, const StampInsets&) = default;
};
constexpr int kMinStampInset = -4;
constexpr int kMaxStampInset = 4;

// Each inset moved by its own step and clamped to -4..4.
StampInsets ShiftInsets(const StampInsets& insets, int dTop, int dRight, int dBottom, int dLeft);

struct StampStyle {
    StampShape shape = StampShape::Rectangle;
    bool shadow = false;  // not drawn for the cylinder
    StampDirection direction = StampDirection::Up;
    TColor shadowColour = clGray;
    TColor outlineColour = clSilver;
    int outlineWidth = 1;  // pixels, 1..8 (clamped)
    StampInsets insets;
};
constexpr int kMinStampOutline = 1;
constexpr int kMaxStampOutline = 8;

// The picture brush: a width x height bitmap of `background` into which the whole `region`
// is stretched (HALFTONE) at x = left x width div 10, y = top x height div 10, right edge
// (10 - right) x width div 10, bottom edge (10 - bottom) x height div 10.
Bitmap StampPictureBrush(const Bitmap& region, int width, int height, const StampInsets& insets,
                         TColor background);

// The composed stamp, the region's size, before the corner warp: white, the shadow shape in
// the shadow colour (offset by W div 30, H div 30), then the figure filled with the picture
// brush (anchored at the bitmap's origin) and outlined. The background of the picture brush
// is the region's pixel (0, 0).
Bitmap ComposeStamp(const Bitmap& region, const StampStyle& style);

// The composed stamp warped by `corners` (the picture's own corners leave it as composed),
// on white.
Bitmap StampWithCorners(const Bitmap& region, const StampStyle& style, const WarpCorners& corners);

// The outline points of the shapes drawn as point lists or Bézier chains, for a W x H frame
// and the shadow offsets sx, sy (0 for the shadow itself); integer divisions truncate
// toward zero. The heart and the balloon are cubic Bézier chains (start point, then three
// points per segment), the star and the arrow closed polygons.
std::vector<Point> HeartChain(int width, int height, int lowerBy);
std::vector<Point> StarPolygon(int width, int height, int sx, int sy);
std::vector<Point> ArrowPolygon(int width, int height, StampDirection direction, int sx, int sy);
std::vector<Point> BalloonChain(int width, int height, StampDirection direction, int sx, int sy);

// The size the stamp is shown at on its screen: its own size up to 400 x 400, otherwise
// scaled (truncating) to fit 400 x 400 with its aspect kept.
Size StampPreviewSize(int width, int height);

}  // namespace pb
