#include "platform/bitmap_canvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>

#include "platform/flood_fill.h"
#include "platform/qt_font.h"
#include "platform/raster.h"
#include "platform/stretch.h"

namespace pb {

namespace {

using raster::Contour;
using raster::FillRule;
using raster::PointF;

constexpr double kCurveTolerance = 0.2;  // pixels

// What a span is painted with: a pen, a brush or a text colour.
struct Ink {
    enum class Kind { Solid, Hatch, Pattern };
    Kind kind = Kind::Solid;
    TColor colour = clBlack;
    bool notXor = false;
    BrushStyle hatch = BrushStyle::Solid;
    bool paintGaps = false;  // hatch gaps take gapColour (bkMode Opaque)
    TColor gapColour = clWhite;
    const Bitmap* pattern = nullptr;
    Point origin;
};

bool OnHatchLine(BrushStyle style, int x, int y) {
    const int cx = x & 7, cy = y & 7;
    switch (style) {
        case BrushStyle::Horizontal:
            return cy == 7;
        case BrushStyle::Vertical:
            return cx == 7;
        case BrushStyle::FDiagonal:
            return cx == cy;
        case BrushStyle::BDiagonal:
            return cx + cy == 7;
        case BrushStyle::Cross:
            return cx == 7 || cy == 7;
        case BrushStyle::DiagCross:
            return cx == cy || cx + cy == 7;
        default:
            return true;
    }
}

int Modulo(long v, int m) {
    const long r = v % m;
    return static_cast<int>(r < 0 ? r + m : r);
}

inline void Put(std::uint8_t* p, TColor c, bool notXor) {
    const auto b = static_cast<std::uint8_t>(GetBValue(c));
    const auto g = static_cast<std::uint8_t>(GetGValue(c));
    const auto r = static_cast<std::uint8_t>(GetRValue(c));
    if (notXor) {
        p[0] = static_cast<std::uint8_t>(~(b ^ p[0]));
        p[1] = static_cast<std::uint8_t>(~(g ^ p[1]));
        p[2] = static_cast<std::uint8_t>(~(r ^ p[2]));
    } else {
        p[0] = b;
        p[1] = g;
        p[2] = r;
    }
}

void PaintSpans(Bitmap& bmp, std::span<const Span> spans, const Ink& ink) {
    for (const Span& s : spans) {
        if (s.y < 0 || s.y >= bmp.height()) continue;
        const int left = std::max(s.left, 0), right = std::min(s.right, bmp.width());
        if (left >= right) continue;
        std::uint8_t* row = bmp.scanLine(s.y);
        switch (ink.kind) {
            case Ink::Kind::Solid:
                if (!ink.notXor) {
                    bmp.fillSpan(s.y, left, right, ink.colour);
                } else {
                    for (int x = left; x < right; ++x) Put(row + 3 * x, ink.colour, true);
                }
                break;
            case Ink::Kind::Hatch:
                for (int x = left; x < right; ++x) {
                    if (OnHatchLine(ink.hatch, x, s.y)) {
                        Put(row + 3 * x, ink.colour, ink.notXor);
                    } else if (ink.paintGaps) {
                        Put(row + 3 * x, ink.gapColour, ink.notXor);
                    }
                }
                break;
            case Ink::Kind::Pattern: {
                const Bitmap& pat = *ink.pattern;
                const int py = Modulo(long{s.y} - ink.origin.y, pat.height());
                int px = Modulo(long{left} - ink.origin.x, pat.width());
                for (int x = left; x < right; ++x) {
                    Put(row + 3 * x, pat.pixel(px, py), ink.notXor);
                    if (++px == pat.width()) px = 0;
                }
                break;
            }
        }
    }
}

// One-pixel outlines drawn as separate lines can meet the same pixel more than once (crossing
// lines, the two ends of a closed figure); the pixels are gathered and painted once each.
class PixelSet {
  public:
    void add(int x, int y, bool gap) {
        keys_.push_back((static_cast<std::uint64_t>(static_cast<std::uint32_t>(y)) << 32) |
                        (static_cast<std::uint64_t>(static_cast<std::uint32_t>(x)) << 1) |
                        (gap ? 1u : 0u));
    }
    // Spans of the pixels drawn and of the gaps (a pixel both drawn and a gap counts as drawn).
    void toSpans(std::vector<Span>& drawn, std::vector<Span>& gaps) {
        std::sort(keys_.begin(), keys_.end());
        std::uint64_t previousPixel = ~std::uint64_t{0};
        for (const std::uint64_t key : keys_) {
            const std::uint64_t pixel = key >> 1;
            if (pixel == previousPixel) continue;
            previousPixel = pixel;
            const int y = static_cast<int>(key >> 32);
            const int x = static_cast<int>((key >> 1) & 0x7FFFFFFF);
            std::vector<Span>& out = (key & 1) ? gaps : drawn;
            if (!out.empty() && out.back().y == y && out.back().right == x) {
                ++out.back().right;
            } else {
                out.push_back({y, x, x + 1});
            }
        }
    }

  private:
    std::vector<std::uint64_t> keys_;
};

// The dot pen: 3 pixels on, 3 off.
bool DotGap(long index) {
    return (index / 3) % 2 == 1;
}

struct Figure {
    std::vector<PointF> points;
    bool closed = false;
};

// The figures of a path with its curves flattened.
std::vector<Figure> FiguresOf(const PathData& path) {
    std::vector<Figure> figures;
    PointF current{0, 0}, start{0, 0};
    bool open = false;
    auto begin = [&](PointF p) {
        figures.push_back({{p}, false});
        start = current = p;
        open = true;
    };
    for (std::size_t i = 0; i < path.size(); ++i) {
        const PointF p{static_cast<double>(path.points[i].x),
                       static_cast<double>(path.points[i].y)};
        const std::uint8_t kind = path.types[i] & ~PT_CLOSEFIGURE;
        std::uint8_t closeFlag = path.types[i] & PT_CLOSEFIGURE;
        if (kind == PT_MOVETO) {
            begin(p);
            continue;
        }
        // After a closed figure, drawing goes on from its start point.
        if (!open) begin(current);
        if (kind == PT_BEZIERTO && i + 2 < path.size()) {
            const PointF c2{static_cast<double>(path.points[i + 1].x),
                            static_cast<double>(path.points[i + 1].y)};
            const PointF end{static_cast<double>(path.points[i + 2].x),
                             static_cast<double>(path.points[i + 2].y)};
            raster::FlattenCubic(current, p, c2, end, kCurveTolerance, figures.back().points);
            closeFlag = path.types[i + 2] & PT_CLOSEFIGURE;
            current = end;
            i += 2;
        } else {
            figures.back().points.push_back(p);
            current = p;
        }
        if (closeFlag) {
            figures.back().closed = true;
            current = start;
            open = false;
        }
    }
    return figures;
}

Point RoundPoint(PointF p) {
    return {static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))};
}

}  // namespace

// --- state to ink -----------------------------------------------------------------------------

namespace {

std::optional<Ink> PenInk(const Pen& pen) {
    if (pen.style == PenStyle::Clear) return std::nullopt;
    Ink ink;
    ink.colour = pen.colour & 0xFFFFFF;
    ink.notXor = pen.mode == PenMode::NotXor;
    return ink;
}

std::optional<Ink> BrushInk(const Canvas& c) {
    Ink ink;
    ink.colour = c.brush.colour & 0xFFFFFF;
    ink.notXor = c.pen.mode == PenMode::NotXor;
    switch (c.brush.style) {
        case BrushStyle::Clear:
            return std::nullopt;
        case BrushStyle::Solid:
            break;
        case BrushStyle::Pattern:
            if (c.brush.pattern && !c.brush.pattern->isNull()) {
                ink.kind = Ink::Kind::Pattern;
                ink.pattern = c.brush.pattern.get();
                ink.origin = c.brush.patternOrigin;
            }
            break;
        default:
            ink.kind = Ink::Kind::Hatch;
            ink.hatch = c.brush.style;
            ink.paintGaps = c.bkMode == BkMode::Opaque;
            ink.gapColour = c.bkColour & 0xFFFFFF;
            break;
    }
    return ink;
}

// Gaps of a dotted pen take the background colour in opaque mode.
std::optional<Ink> GapInk(const Canvas& c) {
    if (c.bkMode != BkMode::Opaque) return std::nullopt;
    Ink ink;
    ink.colour = c.bkColour & 0xFFFFFF;
    ink.notXor = c.pen.mode == PenMode::NotXor;
    return ink;
}

}  // namespace

Size BitmapCanvas::size() const {
    return target_.size();
}

// --- pens ---------------------------------------------------------------------------------------

namespace {

class Stroker {
  public:
    Stroker(Bitmap& bmp, const Canvas& canvas)
        : bmp_(bmp),
          canvas_(canvas),
          clip_{0, 0, bmp.width(), bmp.height()},
          pen_(PenInk(canvas.pen)),
          width_(std::max(1, canvas.pen.width)),
          dotted_(canvas.pen.style == PenStyle::Dot && width_ == 1) {}

    bool visible() const { return pen_.has_value() && !clip_.isEmpty(); }
    bool wide() const { return width_ > 1; }
    bool dotted() const { return dotted_; }

    // One-pixel lines: the pixels of a->b without b, the dot count going on from `index`.
    void addLine(Point a, Point b, long& index) {
        raster::ForEachLinePixel(a, b, false, clip_, [&](int x, int y, int i) {
            pixels_.add(x, y, dotted_ && DotGap(index + i));
        });
        index += std::max(std::labs(long{b.x} - a.x), std::labs(long{b.y} - a.y));
    }
    void addPolyline(std::span<const Point> pts, bool closed) {
        long index = 0;
        for (std::size_t i = 0; i + 1 < pts.size(); ++i) addLine(pts[i], pts[i + 1], index);
        if (closed && pts.size() > 1) addLine(pts.back(), pts.front(), index);
    }
    // Wide pens: the area swept along the points.
    void addWide(std::span<const PointF> pts, bool closed) {
        raster::AppendWidePenContours(pts, closed, width_, contours_);
    }
    void addSpans(std::span<const Span> spans) {
        spans_.insert(spans_.end(), spans.begin(), spans.end());
    }

    void paint() {
        if (!visible()) return;
        std::vector<Span> gaps;
        pixels_.toSpans(spans_, gaps);
        if (!contours_.empty()) raster::FillContours(contours_, FillRule::Winding, clip_, spans_);
        PaintSpans(bmp_, spans_, *pen_);
        if (const auto gap = GapInk(canvas_); gap && !gaps.empty()) PaintSpans(bmp_, gaps, *gap);
    }

  private:
    Bitmap& bmp_;
    const Canvas& canvas_;
    Rect clip_;
    std::optional<Ink> pen_;
    int width_;
    bool dotted_;
    PixelSet pixels_;
    std::vector<Contour> contours_;
    std::vector<Span> spans_;
};

std::vector<PointF> ToF(std::span<const Point> pts) {
    std::vector<PointF> out;
    out.reserve(pts.size());
    for (const Point& p : pts) out.push_back({static_cast<double>(p.x), static_cast<double>(p.y)});
    return out;
}

std::vector<Point> Rounded(const Contour& c) {
    std::vector<Point> out;
    for (const PointF& p : c) {
        const Point q = RoundPoint(p);
        if (out.empty() || out.back() != q) out.push_back(q);
    }
    return out;
}

}  // namespace

void BitmapCanvas::drawLine(Point from, Point to) {
    Stroker s(target_, *this);
    if (!s.visible()) return;
    if (s.wide()) {
        const PointF pts[2] = {{static_cast<double>(from.x), static_cast<double>(from.y)},
                               {static_cast<double>(to.x), static_cast<double>(to.y)}};
        s.addWide(pts, false);
    } else {
        long index = 0;
        s.addLine(from, to, index);
    }
    s.paint();
}

void BitmapCanvas::drawPolyline(std::span<const Point> points) {
    Stroker s(target_, *this);
    if (!s.visible()) return;
    if (s.wide()) {
        s.addWide(ToF(points), false);
    } else {
        s.addPolyline(points, false);
    }
    s.paint();
}

// Rectangle, RoundRect and Ellipse: the brush inside the one-pixel outline through the pixel
// centres of the box, then the pen along that outline.
namespace {

// Shapes reaching further than this beyond the bitmap are cut there: the outline is traced
// point by point, and nothing of such a shape's curve would show anyway.
constexpr int kFarOutside = 16384;

void DrawRoundBox(Bitmap& bmp, const Canvas& canvas, Rect r, int ew, int eh) {
    const Rect clip{0, 0, bmp.width(), bmp.height()};
    r.left = std::max(r.left, -kFarOutside);
    r.top = std::max(r.top, -kFarOutside);
    r.right = std::min(r.right, clip.right + kFarOutside);
    r.bottom = std::min(r.bottom, clip.bottom + kFarOutside);
    if (r.isEmpty()) return;
    ew = std::min(ew, r.width());
    eh = std::min(eh, r.height());
    const Rect box{r.left, r.top, r.right - 1, r.bottom - 1};  // inclusive
    const bool penClear = canvas.pen.style == PenStyle::Clear;
    if (const auto brush = BrushInk(canvas)) {
        std::vector<Span> spans;
        if (penClear) {
            // Without a pen the brush covers one pixel less to the right and below.
            const Rect smaller{box.left, box.top, box.right - 1, box.bottom - 1};
            raster::RoundBoxOutline(smaller, ew, eh, clip).AppendFilled(spans);
        } else {
            raster::RoundBoxOutline(box, ew, eh, clip).AppendInterior(spans);
        }
        PaintSpans(bmp, spans, *brush);
    }
    Stroker s(bmp, canvas);
    if (!s.visible()) return;
    if (s.wide() || s.dotted()) {
        const Contour outline = raster::RoundBoxPolygon(box.left, box.top, box.right, box.bottom,
                                                        std::max(0, ew - 1) / 2.0,
                                                        std::max(0, eh - 1) / 2.0, kCurveTolerance);
        if (s.wide()) {
            s.addWide(outline, true);
        } else {
            s.addPolyline(Rounded(outline), true);
        }
    } else {
        std::vector<Span> spans;
        raster::RoundBoxOutline(box, ew, eh, clip).AppendOutline(spans);
        s.addSpans(spans);
    }
    s.paint();
}

}  // namespace

void BitmapCanvas::drawRectangle(const Rect& r) {
    DrawRoundBox(target_, *this, r, 0, 0);
}

void BitmapCanvas::drawRoundRect(const Rect& r, int cornerWidth, int cornerHeight) {
    DrawRoundBox(target_, *this, r, cornerWidth, cornerHeight);
}

void BitmapCanvas::drawEllipse(const Rect& r) {
    // The corner ellipse is the whole box (sizes clamped the same way as the box is).
    DrawRoundBox(target_, *this, r, INT_MAX, INT_MAX);
}

void BitmapCanvas::fillRect(const Rect& r) {
    const auto brush = BrushInk(*this);
    if (!brush) return;
    std::vector<Span> spans;
    const int left = std::max(r.left, 0), right = std::min(r.right, target_.width());
    for (int y = std::max(r.top, 0); y < std::min(r.bottom, target_.height()); ++y)
        if (left < right) spans.push_back({y, left, right});
    Ink ink = *brush;
    ink.notXor = false;  // FillRect paints, whatever the pen mode
    PaintSpans(target_, spans, ink);
}

void BitmapCanvas::drawText(Point at, std::string_view text) {
    const QFont qfont = QtFontFor(font, logicalDpi());
    const QFontMetrics metrics(qfont);
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const Rect clip{0, 0, target_.width(), target_.height()};
    if (bkMode == BkMode::Opaque) {
        const Rect cell = RectOfSize(at.x, at.y, metrics.horizontalAdvance(s), metrics.height());
        std::vector<Span> spans;
        for (int y = std::max(cell.top, 0); y < std::min(cell.bottom, clip.bottom); ++y) {
            const int left = std::max(cell.left, 0), right = std::min(cell.right, clip.right);
            if (left < right) spans.push_back({y, left, right});
        }
        Ink bk;
        bk.colour = bkColour & 0xFFFFFF;
        PaintSpans(target_, spans, bk);
    }
    // The glyphs are drawn into a mask around their ink (with room for synthesised bold and
    // italic) and the mask's pixels painted in the font colour.
    const int baseline = at.y + metrics.ascent();
    const int margin = 2 + qfont.pixelSize() / 6;
    const QRect ink = metrics.boundingRect(s)
                          .translated(at.x, baseline)
                          .adjusted(-margin, -margin, margin, margin);
    const QRect visible = ink.intersected(QRect(0, 0, target_.width(), target_.height()));
    if (visible.isEmpty()) return;
    QImage mask(visible.size(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setFont(qfont);
        p.setPen(QColor(255, 255, 255));
        p.drawText(QPointF(at.x - visible.left(), baseline - visible.top()), s);
    }
    std::vector<Span> spans;
    for (int y = 0; y < mask.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        int x = 0;
        while (x < mask.width()) {
            while (x < mask.width() && qAlpha(line[x]) < 128) ++x;
            const int from = x;
            while (x < mask.width() && qAlpha(line[x]) >= 128) ++x;
            if (x > from)
                spans.push_back({visible.top() + y, visible.left() + from, visible.left() + x});
        }
    }
    Ink glyphs;
    glyphs.colour = font.colour & 0xFFFFFF;
    PaintSpans(target_, spans, glyphs);
}

void BitmapCanvas::paintPath(const PathData& path, bool fill, bool stroke) {
    const std::vector<Figure> figures = FiguresOf(path);
    const Rect clip{0, 0, target_.width(), target_.height()};
    if (fill) {
        if (const auto brush = BrushInk(*this)) {
            std::vector<Contour> contours;
            for (const Figure& f : figures) contours.push_back(f.points);
            std::vector<Span> spans;
            raster::FillContours(contours, FillRule::Alternate, clip, spans);
            PaintSpans(target_, spans, *brush);
        }
    }
    if (!stroke) return;
    Stroker s(target_, *this);
    if (!s.visible()) return;
    for (const Figure& f : figures) {
        if (f.points.size() < 2) continue;  // a lone MOVETO draws nothing
        if (s.wide()) {
            s.addWide(f.points, f.closed);
        } else {
            s.addPolyline(Rounded(f.points), f.closed);
        }
    }
    s.paint();
}

// --- bitmap operations ----------------------------------------------------------------------

bool BitmapCanvas::FloodFill(int x, int y, TColor surface) {
    surface &= 0xFFFFFF;
    if (!target_.contains(x, y) || target_.pixel(x, y) != surface) return false;
    auto ink = BrushInk(*this);
    if (!ink) return false;
    ink->notXor = false;
    if (ink->kind == Ink::Kind::Solid) return FloodFillSurface(target_, x, y, surface, ink->colour);
    const std::vector<Span> spans = SurfaceRegion(target_, x, y, surface);
    PaintSpans(target_, spans, *ink);
    return !spans.empty();
}

void BitmapCanvas::CopyRect(const Rect& destRect, const Bitmap& src, const Rect& srcRect) {
    StretchBits(target_, destRect, src, srcRect, StretchMode::ColorOnColor);
}

void BitmapCanvas::StretchBlt(const Rect& dest, const Bitmap& src, const Rect& srcRect,
                              StretchMode mode) {
    StretchBits(target_, dest, src, srcRect, mode);
}

}  // namespace pb
