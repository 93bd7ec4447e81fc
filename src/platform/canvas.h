#pragma once
// Canvas: the one drawing interface of the program, with the meaning GDI gives its calls.
// A bitmap (BitmapCanvas), the recording used for printing and metafile export, and the
// printer are different canvases; every drawing routine of the program is written against
// this class only.
//
// Coordinates are logical pixels (page pixels at 100 % for the page and objects). Fonts are
// sized in points and turned into pixels with the canvas's logical resolution (96 unless the
// canvas says otherwise), as a screen device context does: height = round(points * dpi / 72).
//
// Pixel rules of the bitmap canvas (the recording and the printer follow the same geometry):
//  - LineTo(x, y) draws from the current position to (x, y) and leaves the end point
//    undrawn, so a chain of segments paints every joint once.
//  - Rectangle, RoundRect and Ellipse from (l, t) to (r, b) cover columns l..r-1 and rows
//    t..b-1 with a one-pixel pen: the outline is drawn in the pen through the pixel centres
//    of that box, the inside is filled with the brush. With a clear pen only the brush is
//    painted, over l..r-2 and t..b-2 (GDI paints one pixel less without a pen).
//    Reversed corners (r < l or b < t) are normalised first.
//  - Pens wider than one pixel are centred on that outline, with round ends and joins.
//  - Nothing is antialiased: every painted pixel takes exactly the pen, brush or text colour
//    (flood fills, the not-xor rubber band and the see-through key colour depend on it).
//  - PenMode::NotXor sets each covered pixel to ~(pen ^ pixel); drawing the same figure twice
//    restores every pixel.
//  - Hatch brushes have a period of 8 device pixels anchored at the device origin; their gaps
//    take bkColour when bkMode is Opaque and stay untouched when it is Transparent.
//
// Paths: between BeginPath and EndPath, LineTo, Polyline, PolyBezier, PolyDraw, Rectangle,
// RoundRect, Ellipse and TextOut add figures to the path instead of drawing. FlattenPath turns
// curves into line segments; GetPath reads the points with their GDI types; StrokeAndFillPath,
// FillPath and StrokePath paint the path (alternate fill rule) and discard it.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bitmap.h"
#include "platform/colour.h"
#include "platform/geometry.h"

namespace pb {

enum class PenStyle { Solid, Dot, Clear };
enum class PenMode { Copy, NotXor };

struct Pen {
    TColor colour = clBlack;
    int width = 1;  // pixels; 0 counts as 1
    PenStyle style = PenStyle::Solid;
    PenMode mode = PenMode::Copy;
};

enum class BrushStyle {
    Solid,
    Clear,
    BDiagonal,   // "/" upward 45 degrees, bottom-left to top-right
    FDiagonal,   // "\" downward 45 degrees, top-left to bottom-right
    Cross,       // horizontal and vertical
    DiagCross,   // both diagonals
    Horizontal,
    Vertical,
    Pattern,     // tiled from `pattern`, anchored at patternOrigin
};

struct Brush {
    BrushStyle style = BrushStyle::Solid;
    TColor colour = clWhite;  // solid colour, and the line colour of hatches
    std::shared_ptr<const Bitmap> pattern;  // for BrushStyle::Pattern
    Point patternOrigin{0, 0};              // logical position of the pattern's pixel (0, 0)
};

enum class BkMode { Transparent, Opaque };

struct Font {
    std::string family = "IPAゴシック";  // UTF-8 family name
    int sizePoints = 10;
    bool bold = false;
    bool italic = false;
    TColor colour = clBlack;
};

enum class StretchMode {
    Halftone,      // area average when shrinking, smooth when growing (GDI HALFTONE)
    ColorOnColor,  // nearest pixel (GDI COLORONCOLOR)
};

// GDI point types as GetPath returns them.
enum PathPointType : std::uint8_t {
    PT_CLOSEFIGURE = 0x01,
    PT_LINETO = 0x02,
    PT_BEZIERTO = 0x04,
    PT_MOVETO = 0x06,
};

struct PathData {
    std::vector<Point> points;
    std::vector<std::uint8_t> types;
    void clear() {
        points.clear();
        types.clear();
    }
    std::size_t size() const { return points.size(); }
};

class Canvas {
public:
    virtual ~Canvas() = default;

    Pen pen;
    Brush brush;
    Font font;
    BkMode bkMode = BkMode::Transparent;
    TColor bkColour = clWhite;

    // Size of the drawing surface in logical pixels.
    virtual Size size() const = 0;
    // Logical pixels per inch, used to size fonts. 96 unless the canvas says otherwise.
    virtual int logicalDpi() const { return 96; }

    Point penPosition() const { return position_; }
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(std::span<const Point> points);
    // 3n + 1 points: a start point followed by n (control, control, end) triples.
    void PolyBezier(std::span<const Point> points);
    void Rectangle(int l, int t, int r, int b);
    void RoundRect(int l, int t, int r, int b, int cornerWidth, int cornerHeight);
    void Ellipse(int l, int t, int r, int b);
    // Fills the rectangle (right and bottom exclusive) with the brush; no outline.
    void FillRect(const Rect& r);

    // Text in UTF-8 at (x, y), the top-left of the text cell, in `font`.
    void TextOut(int x, int y, std::string_view text);
    int TextWidth(std::string_view text) const;
    int TextHeight(std::string_view text) const;

    // Draws `src` (or its part `srcRect`) stretched into `dest`.
    void StretchDraw(const Rect& dest, const Bitmap& src, StretchMode mode = StretchMode::Halftone);
    virtual void StretchBlt(const Rect& dest, const Bitmap& src, const Rect& srcRect,
                            StretchMode mode) = 0;

    void BeginPath();
    void EndPath();
    bool inPath() const { return pathOpen_; }
    void AbortPath();
    // Replaces every curve of the closed path by line segments.
    void FlattenPath();
    // The closed path's points and types (empty when there is none).
    const PathData& GetPath() const { return path_; }
    // Adds points with their GDI types: inside a path to the path, otherwise draws them.
    void PolyDraw(std::span<const Point> points, std::span<const std::uint8_t> types);
    void StrokeAndFillPath();
    void FillPath();
    void StrokePath();

protected:
    // Drawing primitives of a concrete canvas, called with the state set above. Shapes come
    // normalised. The base class routes calls made inside a path to the path instead.
    virtual void drawLine(Point from, Point to) = 0;
    virtual void drawPolyline(std::span<const Point> points) = 0;
    virtual void drawRectangle(const Rect& r) = 0;
    virtual void drawRoundRect(const Rect& r, int cornerWidth, int cornerHeight) = 0;
    virtual void drawEllipse(const Rect& r) = 0;
    virtual void fillRect(const Rect& r) = 0;
    virtual void drawText(Point at, std::string_view text) = 0;
    // Paints a path (points with GDI types, curves possibly still in it).
    virtual void paintPath(const PathData& path, bool fill, bool stroke) = 0;

private:
    void addFigure(const PathData& figure);
    Point position_{0, 0};
    bool pathOpen_ = false;
    PathData path_;
};

}  // namespace pb
