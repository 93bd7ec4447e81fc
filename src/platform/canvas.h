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
//    undrawn, so a chain of segments paints every joint once. Polyline and open path figures
//    likewise leave their last point undrawn. A one-pixel line rounds its minor coordinate,
//    halves away from the start.
//  - Rectangle, RoundRect and Ellipse from (l, t) to (r, b) cover columns l..r-1 and rows
//    t..b-1 with a one-pixel pen: the outline is drawn in the pen through the pixel centres
//    of that box, the inside is filled with the brush. With a clear pen only the brush is
//    painted, over l..r-2 and t..b-2 (GDI paints one pixel less without a pen).
//    Reversed corners (r < l or b < t) are normalised first; RoundRect takes the size of its
//    corner ellipse without sign and at most the box's size. A curved one-pixel outline
//    takes, in each column and each row it crosses, the pixel nearest to the curve.
//  - Pens wider than one pixel are centred on that outline, with round ends and joins: a pen
//    of width w covers the pixels whose centres lie within w/2 of the line, the band being
//    half-open: a horizontal line through row y covers the rows whose centres lie in
//    [y - w/2, y + w/2), exactly w rows.
//  - Polygons and paths are filled where the pixel centres lie inside (alternate rule); a
//    centre on a left or top edge is inside, on a right or bottom edge outside.
//  - Nothing is antialiased: every painted pixel takes exactly the pen, brush or text colour
//    (flood fills, the not-xor rubber band and the see-through key colour depend on it).
//  - PenMode::NotXor sets each pixel the pen covers to ~(pen ^ pixel), once per figure even
//    where its lines cross (the brush likewise with its colour); drawing the same figure
//    twice restores every pixel.
//  - A Dot pen of width 1 alternates 3 pixels on and 3 off along each line (starting afresh
//    with every LineTo); its gaps take bkColour when bkMode is Opaque. Wider Dot pens draw
//    solid.
//  - Hatch brushes have a period of 8 device pixels anchored at the device origin; their gaps
//    take bkColour when bkMode is Opaque and stay untouched when it is Transparent. Within
//    the 8 x 8 cell the lines lie at: Horizontal y = 7, Vertical x = 7, FDiagonal "\" x = y,
//    BDiagonal "/" x + y = 7; Cross and DiagCross combine them.
//  - A pattern brush paints pattern pixel ((x - ox) mod w, (y - oy) mod h) at device pixel
//    (x, y), (ox, oy) being patternOrigin. Without a pattern bitmap it paints solid.
//  - TextOut paints the glyph pixels in the font colour; with bkMode Opaque it first fills
//    the text cell (TextWidth x TextHeight) with bkColour.
//
// Paths: between BeginPath and EndPath, LineTo, Polyline, PolyBezier, PolyDraw, Rectangle,
// RoundRect, Ellipse and TextOut add figures to the path instead of drawing. FlattenPath turns
// curves into line segments; GetPath reads the points with their GDI types; StrokeAndFillPath,
// FillPath and StrokePath paint the path (alternate fill rule) and discard it, ending it
// first if it is still open; FlattenPath works on an ended path only and keeps its points
// within a quarter pixel of the curves before rounding them to whole pixels. In a path,
// Rectangle(l, t, r, b) is the closed figure (r-1, t), (l, t), (l, b-1), (r-1, b-1), the
// outline through the pixel centres, so that filling and stroking it paints what Rectangle
// paints; Ellipse and RoundRect are Bezier figures through the same centres. Text becomes
// the glyph outlines of the font, each a closed figure, with the top-left of the text cell
// at (x, y) as in TextOut.
//
// Text measuring and drawing need a QGuiApplication.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bitmap.h"
#include "platform/colour.h"
#include "platform/geometry.h"
#include "platform/stretch.h"

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
    BDiagonal,  // "/" upward 45 degrees, bottom-left to top-right
    FDiagonal,  // "\" downward 45 degrees, top-left to bottom-right
    Cross,      // horizontal and vertical
    DiagCross,  // both diagonals
    Horizontal,
    Vertical,
    Pattern,  // tiled from `pattern`, anchored at patternOrigin
};

struct Brush {
    BrushStyle style = BrushStyle::Solid;
    TColor colour = clWhite;                // solid colour, and the line colour of hatches
    std::shared_ptr<const Bitmap> pattern;  // for BrushStyle::Pattern
    Point patternOrigin{0, 0};              // logical position of the pattern's pixel (0, 0)
};

inline Brush SolidBrush(TColor colour) {
    Brush b;
    b.colour = colour;
    return b;
}

enum class BkMode { Transparent, Opaque };

struct Font {
    std::string family = "IPAゴシック";  // UTF-8 family name
    int sizePoints = 10;
    bool bold = false;
    bool italic = false;
    TColor colour = clBlack;
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

    // Draws `src` unscaled with its top-left at (x, y).
    void Draw(int x, int y, const Bitmap& src);
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
    // The path's points and types (empty when there is none).
    const PathData& GetPath() const { return path_; }
    // Adds points with their GDI types: inside a path to the path, otherwise draws them with
    // the pen. A first point that is not a MOVETO continues from the pen position, which ends
    // at the last point. Invalid input (sizes that differ, unknown types, BEZIERTO not in
    // threes) is ignored, as GDI refuses it.
    void PolyDraw(std::span<const Point> points, std::span<const std::uint8_t> types);
    void StrokeAndFillPath();
    void FillPath();
    void StrokePath();

  protected:
    // Drawing primitives of a concrete canvas, called with the state set above. Shapes come
    // normalised, corner sizes without sign. The base class routes calls made inside a path
    // to the path instead, and draws PolyBezier and PolyDraw outside a path with paintPath.
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
    void addPoint(Point p, std::uint8_t type);
    // Starts a figure at the pen position unless one is open to continue.
    void continueFigure();
    Point position_{0, 0};
    bool pathOpen_ = false;
    bool figureOpen_ = false;  // the path's last figure continues with the next LineTo
    PathData path_;
};

}  // namespace pb
