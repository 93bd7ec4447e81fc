#include "objects/decorated_path.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "objects/canvas_state.h"
#include "platform/bitmap_canvas.h"
#include "platform/fonts.h"

namespace pb {

namespace {

// Origins farther out than this are not drawn: the coordinates of their points would not fit
// the 32-bit path points.
constexpr long long kMaxOrigin = 1LL << 24;

int ClampToInt(long long v) {
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

// Rounds half to the even neighbour (the default floating-point rounding mode).
long long RoundHalfEven(double v) {
    return static_cast<long long>(std::nearbyint(v));
}

// The UTF-8 text cut into its characters (code points).
std::vector<std::string_view> Characters(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t n = 1;
        while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
        out.push_back(text.substr(i, n));
        i += n;
    }
    return out;
}

// Keeps the whole figures of `path` that fit within maxPoints.
void CutToWholeFigures(PathData& path, std::size_t maxPoints) {
    std::size_t keep = 0;
    for (std::size_t i = 0; i <= path.size() && i <= maxPoints; ++i) {
        if (i == path.size() || (path.types[i] & ~PT_CLOSEFIGURE) == PT_MOVETO) keep = i;
    }
    path.points.resize(keep);
    path.types.resize(keep);
}

void AppendLineOutline(Canvas& scratch, const Font& font, std::string_view line, int x, int y,
                       std::size_t maxPoints, std::vector<PathData>& pieces) {
    PathData path = BuildTextLinePath(scratch, font, line, x, y);
    if (path.size() <= maxPoints) {
        if (path.size() > 0) pieces.push_back(std::move(path));
        return;
    }
    const std::vector<std::string_view> chars = Characters(line);
    if (chars.size() < 2) {
        CutToWholeFigures(path, maxPoints);
        if (path.size() > 0) pieces.push_back(std::move(path));
        return;
    }
    const std::size_t half = chars.size() / 2;
    const auto prefixBytes = static_cast<std::size_t>(chars[half].data() - line.data());
    const std::string_view prefix = line.substr(0, prefixBytes);
    const std::string_view rest = line.substr(prefixBytes);
    scratch.font = font;
    const int restX = ClampToInt(static_cast<long long>(x) + scratch.TextWidth(prefix));
    AppendLineOutline(scratch, font, prefix, x, y, maxPoints, pieces);
    AppendLineOutline(scratch, font, rest, restX, y, maxPoints, pieces);
}

// A text line of the layout: where its cell's top-left lies relative to the origin.
struct PlacedLine {
    std::string text;
    int x = 0;
    int y = 0;
};

std::vector<PlacedLine> PlaceTextLines(Canvas& target, const ObjectRecord& rec,
                                       const std::string& family, const DecoratedLayout& layout) {
    std::vector<PlacedLine> placed;
    long long y = layout.Y0;
    for (std::string& line : ObjectTextLines(rec.Text)) {
        target.font = Font{family, rec.FontSize, true, false, clBlack};
        const int w = target.TextWidth(line);
        int x = 0;
        if (rec.Align == 2) x = (layout.W - w) / 2;
        if (rec.Align == 3) x = layout.W - w;
        // The lines follow each other at the height of the regular face.
        target.font.bold = false;
        const int h = target.TextHeight(line);
        placed.push_back({std::move(line), x, ClampToInt(y)});
        y += h;
    }
    return placed;
}

// Replays each (deformed) piece as a path of its own and strokes and fills it with the
// canvas's pen and brush.
void PaintPieces(Canvas& target, std::vector<PathData>& pieces, const Deformation& d) {
    for (PathData& piece : pieces) {
        DeformPoints(piece.points, d);
        target.BeginPath();
        target.PolyDraw(piece.points, piece.types);
        target.EndPath();
        target.StrokeAndFillPath();
    }
}

}  // namespace

std::vector<std::string> ObjectTextLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        std::size_t end = text.find('\n', start);
        std::string line =
            text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line.empty() ? std::string(" ") : std::move(line));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

Size MeasureText(Canvas& canvas, const std::string& family, int sizePoints, bool bold,
                 const std::string& text) {
    const Font saved = canvas.font;
    canvas.font = Font{family, sizePoints, bold, false, clBlack};
    long long w = 0, h = 0;
    for (const std::string& line : ObjectTextLines(text)) {
        w = std::max<long long>(w, canvas.TextWidth(line));
        h += canvas.TextHeight(line);
    }
    canvas.font = saved;
    if (bold) {
        w = w * 11 / 10;
        h = h * 11 / 10;
    }
    return {ClampToInt(w), ClampToInt(h)};
}

int ShapeCorner(int width, int height) {
    return width <= height ? width / 4 : height / 4;
}

DecoratedLayout LayoutDecorated(Canvas& measure, const ObjectRecord& rec,
                                const std::string& fontFamily) {
    DecoratedLayout L;
    L.shape = ShapeKind(rec.Text);
    const long long amount = std::llabs(static_cast<long long>(rec.DeformAmount));
    long long w = 0, h = 0;
    if (L.shape == 0) {
        const Size box = MeasureText(measure, fontFamily, rec.FontSize, true, rec.Text);
        w = box.width;
        h = box.height + amount;
        L.S = std::max(1, rec.FontSize / 10);
        if (rec.DeformMode != 1)
            L.Y0 = ClampToInt(std::llabs(static_cast<long long>(rec.DeformAmount / 2)));
        else
            L.Y0 = rec.DeformAmount < 1 ? ClampToInt(amount) : 0;
    } else {
        w = rec.Width();
        h = static_cast<long long>(rec.Height()) + amount;
        L.S = std::max(1, std::min(rec.Width(), rec.Height()) / 25);
    }
    L.drawable =
        w >= 1 && h >= 1 && w <= kMaxObjectSide && h <= kMaxObjectSide && w * h <= kMaxObjectPixels;
    L.W = ClampToInt(w);
    L.H = ClampToInt(h);
    L.M = L.W / 2;
    return L;
}

PathData BuildTextLinePath(Canvas& scratch, const Font& font, std::string_view line, int x, int y) {
    scratch.font = font;
    scratch.bkMode = BkMode::Transparent;
    scratch.BeginPath();
    scratch.TextOut(x, y, line);
    scratch.EndPath();
    scratch.FlattenPath();
    PathData path = scratch.GetPath();
    scratch.AbortPath();
    return path;
}

std::vector<PathData> TextLineOutline(Canvas& scratch, const Font& font, std::string_view line,
                                      int x, int y, std::size_t maxPoints) {
    std::vector<PathData> pieces;
    AppendLineOutline(scratch, font, line, x, y, std::max<std::size_t>(maxPoints, 1), pieces);
    return pieces;
}

PathData BuildShapePath(Canvas& scratch, int shapeKind, const Rect& r, int corner) {
    scratch.BeginPath();
    switch (shapeKind) {
        case 2:
            scratch.RoundRect(r.left, r.top, r.right, r.bottom, corner, corner);
            break;
        case 3:
            scratch.Ellipse(r.left, r.top, r.right, r.bottom);
            break;
        default:
            scratch.Rectangle(r.left, r.top, r.right, r.bottom);
            break;
    }
    scratch.EndPath();
    scratch.FlattenPath();
    PathData path = scratch.GetPath();
    scratch.AbortPath();
    return path;
}

void DeformPoints(std::span<Point> points, const Deformation& d) {
    if (d.amount == 0 || d.W <= 0) return;
    const long long amount = d.amount, W = d.W, M = d.M, S = d.S;
    const bool arch = d.mode == 1;
    for (Point& p : points) {
        const long long u = static_cast<long long>(p.x) - d.originX;
        long long shift = 0;
        if (arch) {
            long long centre = d.shape ? M - 1 : M;  // shapes: t = (u - M + 1) / M
            if (d.shadow) centre += S;
            const double t = M > 0 ? static_cast<double>(u - centre) / static_cast<double>(M) : 0.0;
            shift = RoundHalfEven((1.0 - std::abs(t)) * static_cast<double>(amount));
            if (d.shape && amount < 0) shift += -amount;
        } else if (!d.shape) {
            shift = (u - M) * amount / W;
        } else {
            shift = amount >= 0 ? u * amount / W : (u - W) * amount / W;
        }
        p.y = ClampToInt(p.y + shift);
    }
}

Brush PatternStyleBrush(const ObjectRecord& rec) {
    Brush b;
    b.colour = rec.FillColor;
    switch (rec.FillStyle % 10) {
        case 1:
            b.style = BrushStyle::BDiagonal;
            break;
        case 2:
            b.style = BrushStyle::FDiagonal;
            break;
        case 3:
            b.style = BrushStyle::Cross;
            break;
        case 4:
            b.style = BrushStyle::DiagCross;
            break;
        case 5:
            b.style = BrushStyle::Horizontal;
            break;
        case 6:
            b.style = BrushStyle::Vertical;
            break;
        default:
            b.style = BrushStyle::Solid;
            return b;  // SOLID, and the digits no brush has
    }
    b.colour = rec.OutlineColor;  // the hatch lines; the gaps take the fill colour
    return b;
}

void DrawDecorated(Canvas& target, Point origin, const ObjectRecord& rec,
                   const std::shared_ptr<const Bitmap>& fill, DrawMode mode) {
    if (std::llabs(origin.x) > kMaxOrigin || std::llabs(origin.y) > kMaxOrigin) return;
    const bool bitmapFilled = fill && !fill->isNull();
    if (mode == DrawMode::Raster && !bitmapFilled) return;
    CanvasStateScope restore(target);
    const std::string family = FontNameForIndex(InstalledFonts(), rec.FontIndex);
    const DecoratedLayout L = LayoutDecorated(target, rec, family);
    if (!L.drawable) return;

    Bitmap scratchBitmap(1, 1);
    BitmapCanvas scratch(scratchBitmap);
    const Font bold{family, rec.FontSize, true, false, clBlack};
    const std::vector<PlacedLine> lines =
        L.shape == 0 ? PlaceTextLines(target, rec, family, L) : std::vector<PlacedLine>{};

    // The outline of every text line, or of the shape, with the given offset from its place.
    auto outline = [&](bool shadow) {
        std::vector<PathData> pieces;
        if (L.shape == 0) {
            const int off = shadow ? L.S : 0;
            for (const PlacedLine& line : lines) {
                for (PathData& piece :
                     TextLineOutline(scratch, bold, line.text,
                                     ClampToInt(static_cast<long long>(origin.x) + line.x + off),
                                     ClampToInt(static_cast<long long>(origin.y) + line.y + off)))
                    pieces.push_back(std::move(piece));
            }
        } else {
            const int S = L.S, w = rec.Width(), h = rec.Height();
            const Rect r = shadow ? Rect{2 * S - 1, 2 * S - 1, w - 1, h - 1}
                                  : Rect{S - 1, S - 1, w - S - 1, h - S - 1};
            const Rect shifted{r.left + origin.x, r.top + origin.y, r.right + origin.x,
                               r.bottom + origin.y};
            PathData path = BuildShapePath(scratch, L.shape, shifted, ShapeCorner(w, h));
            if (path.size() > 0) pieces.push_back(std::move(path));
        }
        return pieces;
    };
    Deformation d;
    d.mode = rec.DeformMode;
    d.amount = rec.DeformAmount;
    d.W = L.W;
    d.M = L.M;
    d.S = L.S;
    d.originX = origin.x;
    d.shape = L.shape != 0;

    // Shadow layer: all shadow paths before any body path.
    const bool shadowLayer = rec.Shadow && !(mode == DrawMode::Vector && bitmapFilled);
    if (shadowLayer) {
        target.pen = Pen{rec.ShadowColor, 1, PenStyle::Solid, PenMode::Copy};
        target.brush = Brush{BrushStyle::Solid, rec.ShadowColor, nullptr, {0, 0}};
        target.bkMode = BkMode::Transparent;
        std::vector<PathData> pieces = outline(true);
        d.shadow = true;
        PaintPieces(target, pieces, d);
    }

    // Body layer.
    const int penWidth = std::clamp(rec.OutlineWidth, 0, kMaxObjectSide);
    target.pen = Pen{rec.OutlineColor, penWidth, PenStyle::Solid, PenMode::Copy};
    target.bkMode = BkMode::Transparent;
    if (mode == DrawMode::Raster) {
        target.pen.style = PenStyle::Clear;
        target.brush = Brush{BrushStyle::Pattern, clWhite, fill, origin};
    } else if (mode == DrawMode::Vector && bitmapFilled) {
        target.brush = Brush{BrushStyle::Clear, clWhite, nullptr, {0, 0}};
    } else if (rec.FillStyle >= 10) {
        target.brush = PatternStyleBrush(rec);
        if (target.brush.style != BrushStyle::Solid) {
            target.bkMode = BkMode::Opaque;
            target.bkColour = rec.FillColor;
        }
    } else if (bitmapFilled) {
        target.brush = Brush{BrushStyle::Pattern, clWhite, fill, origin};
    } else {
        target.brush = Brush{BrushStyle::Solid, rec.FillColor, nullptr, {0, 0}};
    }
    std::vector<PathData> pieces = outline(false);
    d.shadow = false;
    PaintPieces(target, pieces, d);
}

}  // namespace pb
