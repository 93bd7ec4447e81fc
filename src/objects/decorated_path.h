#pragma once
// The path renderer of decorated text and shape objects (records of family "1"): the text or
// shape becomes a flattened path, the path is deformed (arch or slant), and shadow, fill and
// outline are painted with path calls of the Canvas. The same drawing serves three targets:
//  - Screen: the object's own bitmap, origin (0, 0), every layer, the fill bitmap (the
//    companion "tmp" + n + ".bmp") as pattern brush;
//  - Vector: printing and export onto the page's recording canvas at (Left, Top); an object
//    with a fill bitmap gets only its outline there, its shadow and fill come from the raster
//    pass;
//  - Raster: the raster pass of printing, on an object-sized bitmap: shadow and bitmap fill
//    only.
// Vector mode draws through the Canvas interface only, so any canvas (bitmap, recording,
// printer) takes it. The outlines are built on a separate scratch canvas, of which only the
// path service is used.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "objects/strdata.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace pb {

enum class DrawMode { Screen, Vector, Raster };

// The most points one path may hold. Longer outlines are split between characters or, for a
// single glyph, cut after the last whole figure that fits.
constexpr std::size_t kMaxPathPoints = 65536;

// Objects whose box exceeds these are not drawn (a record with absurd sizes would otherwise
// ask for gigabytes).
constexpr int kMaxObjectSide = 32767;
constexpr long long kMaxObjectPixels = 1LL << 25;

// The lines of an object's text, split at line breaks; an empty line is " ", as it is
// measured and drawn.
std::vector<std::string> ObjectTextLines(const std::string& text);

// Measures text in a font: W the widest line, H the sum of the line heights; with `bold` both
// are multiplied by 11 and divided by 10. The canvas's font is left as it was.
Size MeasureText(Canvas& canvas, const std::string& family, int sizePoints, bool bold,
                 const std::string& text);

// Reference values of a family "1" object.
struct DecoratedLayout {
    int shape = 0;          // 0 text, 1 rectangle, 2 rounded rectangle, 3 ellipse
    int W = 0;              // box width
    int H = 0;              // box height, the deformation included
    int M = 0;              // W / 2
    int S = 1;              // shadow offset
    int Y0 = 0;             // first baseline offset of texts
    bool drawable = false;  // the box is at least 1 x 1 and within the limits above
};
DecoratedLayout LayoutDecorated(Canvas& measure, const ObjectRecord& rec,
                                const std::string& fontFamily);

// The rounded rectangle's corner: Width / 4 when Width <= Height, otherwise Height / 4.
int ShapeCorner(int width, int height);

// The flattened outline of one text line with the top-left of its cell at (x, y): a path
// begun on the scratch canvas, the text written with a transparent background in `font`,
// the path ended, flattened and read back. Its size is not limited here.
PathData BuildTextLinePath(Canvas& scratch, const Font& font, std::string_view line, int x, int y);
// The outline of a line as paths of at most maxPoints points each: a longer outline is split
// between characters (a glyph keeps all of its figures, so its holes stay holes), and a
// single glyph that is still too long is cut after its last whole figure that fits.
std::vector<PathData> TextLineOutline(Canvas& scratch, const Font& font, std::string_view line,
                                      int x, int y, std::size_t maxPoints = kMaxPathPoints);
// The flattened outline of shape kind 1 (rectangle), 2 (rounded rectangle, corner size
// `corner`) or 3 (ellipse) in the rectangle r; other kinds are drawn as rectangles.
PathData BuildShapePath(Canvas& scratch, int shapeKind, const Rect& r, int corner);

// Moves every point vertically (x never changes).
struct Deformation {
    int mode = 1;    // DeformMode: 1 arch, anything else slant
    int amount = 0;  // DeformAmount, pixels
    int W = 0, M = 0, S = 1;
    int originX = 0;  // X of the drawing origin; u = px - originX
    bool shape = false;
    bool shadow = false;  // the shadow copy (arches are centred S further right)
};
void DeformPoints(std::span<Point> points, const Deformation& d);

// Paints one family "1" object with its top-left at `origin`. `fill` is the object's fill
// bitmap (its companion), or null when it has none.
void DrawDecorated(Canvas& target, Point origin, const ObjectRecord& rec,
                   const std::shared_ptr<const Bitmap>& fill, DrawMode mode);

// The brush of the body of an object with FillStyle >= 10: solid in FillColor (d = 0) or a
// hatch in OutlineColor; hatches want an opaque background in FillColor.
Brush PatternStyleBrush(const ObjectRecord& rec);

}  // namespace pb
