#include "platform/emf_writer.h"

#include <uemf.h>

#include <QFontMetrics>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "platform/bitmap_ops.h"
#include "platform/file_service.h"
#include "platform/hatch_lines.h"
#include "platform/qt_font.h"
#include "platform/raster.h"
#include "platform/stretch.h"

namespace pb {

namespace {


constexpr int K = kEmfUnitsPerPixel;

int Round(double v) {
    return static_cast<int>(std::clamp(std::lround(v), long{INT_MIN / 2}, long{INT_MAX / 2}));
}

U_COLORREF ColourRef(TColor c) {
    return colorref3_set(static_cast<uint8_t>(GetRValue(c)), static_cast<uint8_t>(GetGValue(c)),
                         static_cast<uint8_t>(GetBValue(c)));
}


// Logical coordinates of the file and its device pixels, with the pixel centres at whole
// numbers (as the raster and hatch geometry take them).
PointF ToPixels(U_POINTL p) {
    return {p.x / double{K} - 0.5, p.y / double{K} - 0.5};
}
U_POINTL ToLogical(PointF p) {
    return point32_set(Round(K * (p.x + 0.5)), Round(K * (p.y + 0.5)));
}

constexpr double kOutlineTolerance = 0.1;  // device pixels

// A bitmap as a bottom-up 24-bit DIB: the BITMAPINFO and the rows, last row first, each
// padded to four bytes (the layout Bitmap keeps its rows in).
struct Dib {
    std::string info;
    std::string bits;
};

Dib MakeDib(const Bitmap& bmp) {
    Dib dib;
    const U_BITMAPINFOHEADER header = bitmapinfoheader_set(
        bmp.width(), bmp.height(), 1, 24, U_BI_RGB,
        static_cast<uint32_t>(bmp.stride()) * static_cast<uint32_t>(bmp.height()), 3780, 3780, 0,
        0);  // 96 dpi in pixels per metre
    dib.info.assign(reinterpret_cast<const char*>(&header), sizeof header);
    dib.bits.reserve(static_cast<std::size_t>(bmp.stride()) * bmp.height());
    for (int y = bmp.height() - 1; y >= 0; --y)
        dib.bits.append(reinterpret_cast<const char*>(bmp.scanLine(y)),
                        static_cast<std::size_t>(bmp.stride()));
    return dib;
}

struct PenKey {
    uint32_t style;
    int width;
    TColor colour;
    bool operator==(const PenKey&) const = default;
};

struct BrushKey {
    BrushStyle style;
    TColor colour;
    const Bitmap* pattern;
    Size patternSize;
    bool operator==(const BrushKey&) const = default;
};

class EmfBuilder {
  public:
    explicit EmfBuilder(const RecordingData& drawing) : drawing_(drawing) {}

    std::string Build();

  private:
    // Appends a record made by libUEMF (which allocates it) and frees it.
    void Append(char* record) {
        if (!record) return;
        const auto* emr = reinterpret_cast<const U_EMR*>(record);
        out_.append(record, emr->nSize);
        ++records_;
        std::free(record);
    }

    // Logical coordinates (sixteenths of a pixel) of a pixel centre and of a pixel edge of a
    // call drawn with mapping m.
    U_POINTL Centre(const Mapping& m, Point p) const {
        return point32_set(Round(K * m.x(p.x + 0.5)), Round(K * m.y(p.y + 0.5)));
    }
    int EdgeX(const Mapping& m, double x) const { return Round(K * m.x(x)); }
    int EdgeY(const Mapping& m, double y) const { return Round(K * m.y(y)); }

    // Device-pixel bounds (inclusive) of logical points, widened by a pen.
    void ResetBounds() { bounds_.reset(); }
    void Include(U_POINTL p, int penLogical = 0) {
        const int grow = (penLogical + 1) / 2;
        const long l = p.x - grow, t = p.y - grow, r = p.x + grow, b = p.y + grow;
        if (!bounds_) {
            bounds_ = U_RECTL{static_cast<int32_t>(l), static_cast<int32_t>(t),
                              static_cast<int32_t>(r), static_cast<int32_t>(b)};
            return;
        }
        bounds_->left = std::min<int32_t>(bounds_->left, static_cast<int32_t>(l));
        bounds_->top = std::min<int32_t>(bounds_->top, static_cast<int32_t>(t));
        bounds_->right = std::max<int32_t>(bounds_->right, static_cast<int32_t>(r));
        bounds_->bottom = std::max<int32_t>(bounds_->bottom, static_cast<int32_t>(b));
    }
    U_RECTL DeviceBounds() const {
        if (!bounds_) return U_RECTL{0, 0, -1, -1};  // empty
        auto floorDiv = [](long v) { return static_cast<int32_t>(std::floor(v / double(K))); };
        return U_RECTL{floorDiv(bounds_->left), floorDiv(bounds_->top), floorDiv(bounds_->right),
                       floorDiv(bounds_->bottom)};
    }

    uint32_t NewHandle() {
        uint32_t h = 1;
        while (h < used_.size() && used_[h]) ++h;
        if (h >= used_.size()) used_.resize(h + 1, false);
        used_[h] = true;
        peak_ = std::max(peak_, h);
        return h;
    }
    void FreeHandle(uint32_t h) {
        if (h > 0 && h < used_.size()) used_[h] = false;
    }

    void SelectPen(const CanvasState& s, const Mapping& m, bool withPen);
    void SelectBrush(const CanvasState& s, const Mapping& m, bool withBrush);
    void SetBackground(const CanvasState& s);
    void SetRop(PenMode mode);
    void SetStretchMode(StretchMode mode);

    void EmitPath(const std::vector<Point>& points, const std::vector<std::uint8_t>& types,
                  const Mapping& m, bool fill, bool stroke, int penLogical);
    void EmitRectFill(const Rect& r, const Mapping& m);
    // Hatched fills, which readers draw solid or not at all: in opaque mode the outline
    // filled with the background colour, then the hatch lines cut to the outline as
    // one-pixel lines in the brush colour.
    void EmitHatchedFill(const std::vector<raster::Contour>& outline, const CanvasState& s);
    void EmitPolygonFill(const std::vector<raster::Contour>& outline);
    std::vector<raster::Contour> PathOutline(const std::vector<Point>& points,
                                             const std::vector<std::uint8_t>& types,
                                             const Mapping& m) const;
    void EmitCall(const RecordedCall& c, const RecordingData& owner, const Mapping& m);
    void EmitStretch(const RecordedCall& c, const Mapping& m);
    void EmitText(const RecordedCall& c, const CanvasState& s, const RecordingData& owner,
                  const Mapping& m);
    int PenLogicalWidth(const CanvasState& s, const Mapping& m) const {
        if (s.pen.style == PenStyle::Clear) return 0;
        return std::max(
            1, Round(std::max(1, s.pen.width) * K * (std::abs(m.sx) + std::abs(m.sy)) / 2));
    }

    const RecordingData& drawing_;
    std::string out_;
    uint32_t records_ = 0;
    std::optional<U_RECTL> bounds_;
    std::vector<bool> used_{true};  // index 0 is the metafile itself
    uint32_t peak_ = 0;

    // Selected objects and modes (nothing selected yet: the first call selects).
    std::optional<PenKey> pen_;  // style U_PS_NULL for the stock null pen
    uint32_t penHandle_ = 0;     // 0: a stock object
    std::optional<BrushKey> brush_;
    uint32_t brushHandle_ = 0;
    std::optional<BkMode> bkMode_;
    std::optional<TColor> bkColour_;
    std::optional<PenMode> rop_;
    std::optional<StretchMode> stretchMode_;
    std::optional<Point> brushOrigin_;
    std::vector<std::shared_ptr<const Bitmap>> keep_;  // scaled patterns outlive their keys
};

void EmfBuilder::SelectPen(const CanvasState& s, const Mapping& m, bool withPen) {
    PenKey key{U_PS_NULL, 0, 0};
    if (withPen && s.pen.style != PenStyle::Clear) {
        const bool dot = s.pen.style == PenStyle::Dot && s.pen.width <= 1;
        key = {dot ? uint32_t{U_PS_DOT} : uint32_t{U_PS_SOLID}, dot ? 0 : PenLogicalWidth(s, m),
               s.pen.colour & 0xFFFFFF};
    }
    if (pen_ && *pen_ == key) return;
    const uint32_t old = penHandle_;
    if (key.style == U_PS_NULL) {
        Append(U_EMRSELECTOBJECT_set(U_NULL_PEN));
        penHandle_ = 0;
    } else {
        const uint32_t h = NewHandle();
        U_POINT width;
        width.x = key.width;
        width.y = 0;
        Append(U_EMRCREATEPEN_set(h, logpen_set(key.style, width, ColourRef(key.colour))));
        Append(U_EMRSELECTOBJECT_set(h));
        penHandle_ = h;
    }
    if (old) {
        Append(U_EMRDELETEOBJECT_set(old));
        FreeHandle(old);
    }
    pen_ = key;
}

void EmfBuilder::SelectBrush(const CanvasState& s, const Mapping& m, bool withBrush) {
    BrushKey key{BrushStyle::Clear, 0, nullptr, {}};
    std::shared_ptr<const Bitmap> pattern;
    if (withBrush && s.brush.style != BrushStyle::Clear) {
        key = {s.brush.style, s.brush.colour & 0xFFFFFF, nullptr, {}};
        if (s.brush.style == BrushStyle::Pattern) {
            if (s.brush.pattern && !s.brush.pattern->isNull()) {
                // Pattern pixels are device pixels: the pattern is stretched with the drawing.
                const Bitmap& p = *s.brush.pattern;
                const Size size{std::max(1, Round(p.width() * std::abs(m.sx))),
                                std::max(1, Round(p.height() * std::abs(m.sy)))};
                key.pattern = &p;
                key.patternSize = size;
                pattern = s.brush.pattern;
                if (size != p.size())
                    pattern = std::make_shared<const Bitmap>(
                        StretchBitmap(p, size.width, size.height, StretchMode::Halftone));
            } else {
                key.style = BrushStyle::Solid;  // a pattern brush without a pattern paints solid
            }
        }
    }
    if (key.style == BrushStyle::Pattern) {
        const Point origin{Round(m.x(s.brush.patternOrigin.x)),
                           Round(m.y(s.brush.patternOrigin.y))};
        if (brushOrigin_ != origin) {
            Append(U_EMRSETBRUSHORGEX_set(point32_set(origin.x, origin.y)));
            brushOrigin_ = origin;
        }
    }
    if (brush_ && *brush_ == key) return;
    const uint32_t old = brushHandle_;
    if (key.style == BrushStyle::Clear) {
        Append(U_EMRSELECTOBJECT_set(U_NULL_BRUSH));
        brushHandle_ = 0;
    } else {
        const uint32_t h = NewHandle();
        if (key.style == BrushStyle::Pattern) {
            const Dib dib = MakeDib(*pattern);
            Append(U_EMRCREATEDIBPATTERNBRUSHPT_set(
                h, U_DIB_RGB_COLORS,
                reinterpret_cast<PU_BITMAPINFO>(const_cast<char*>(dib.info.data())),
                static_cast<uint32_t>(dib.bits.size()), dib.bits.data()));
            keep_.push_back(pattern);
        } else {
            // Hatched fills never come here (EmitHatchedFill): every brush made is solid.
            Append(U_EMRCREATEBRUSHINDIRECT_set(
                h, logbrush_set(U_BS_SOLID, ColourRef(key.colour), 0)));
        }
        Append(U_EMRSELECTOBJECT_set(h));
        brushHandle_ = h;
    }
    if (old) {
        Append(U_EMRDELETEOBJECT_set(old));
        FreeHandle(old);
    }
    brush_ = key;
}

void EmfBuilder::SetBackground(const CanvasState& s) {
    if (bkMode_ != s.bkMode) {
        Append(U_EMRSETBKMODE_set(s.bkMode == BkMode::Opaque ? U_OPAQUE : U_TRANSPARENT));
        bkMode_ = s.bkMode;
    }
    const TColor bk = s.bkColour & 0xFFFFFF;
    if (bkColour_ != bk) {
        Append(U_EMRSETBKCOLOR_set(ColourRef(bk)));
        bkColour_ = bk;
    }
}

void EmfBuilder::SetRop(PenMode mode) {
    if (rop_ == mode) return;
    Append(U_EMRSETROP2_set(mode == PenMode::NotXor ? U_R2_NOTXORPEN : U_R2_COPYPEN));
    rop_ = mode;
}

void EmfBuilder::SetStretchMode(StretchMode mode) {
    if (stretchMode_ == mode) return;
    Append(U_EMRSETSTRETCHBLTMODE_set(mode == StretchMode::Halftone ? U_HALFTONE : U_COLORONCOLOR));
    stretchMode_ = mode;
}

void EmfBuilder::EmitPath(const std::vector<Point>& points, const std::vector<std::uint8_t>& types,
                          const Mapping& m, bool fill, bool stroke, int penLogical) {
    if (points.empty() || points.size() != types.size()) return;
    ResetBounds();
    Append(U_EMRBEGINPATH_set());
    bool figure = false;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const std::uint8_t kind = types[i] & ~PT_CLOSEFIGURE;
        std::uint8_t close = types[i] & PT_CLOSEFIGURE;
        const U_POINTL p = Centre(m, points[i]);
        Include(p, stroke ? penLogical : 0);
        if (kind == PT_MOVETO || !figure) {
            Append(U_EMRMOVETOEX_set(p));
            figure = true;
            if (kind == PT_MOVETO) continue;
        }
        if (kind == PT_BEZIERTO && i + 2 < points.size()) {
            U_POINTL curve[3] = {p, Centre(m, points[i + 1]), Centre(m, points[i + 2])};
            Include(curve[1], stroke ? penLogical : 0);
            Include(curve[2], stroke ? penLogical : 0);
            U_RECTL b{std::min({curve[0].x, curve[1].x, curve[2].x}) / K,
                      std::min({curve[0].y, curve[1].y, curve[2].y}) / K,
                      std::max({curve[0].x, curve[1].x, curve[2].x}) / K,
                      std::max({curve[0].y, curve[1].y, curve[2].y}) / K};
            Append(U_EMRPOLYBEZIERTO_set(b, 3, curve));
            close = types[i + 2] & PT_CLOSEFIGURE;
            i += 2;
        } else {
            Append(U_EMRLINETO_set(p));
        }
        if (close) {
            Append(U_EMRCLOSEFIGURE_set());
            figure = false;
        }
    }
    Append(U_EMRENDPATH_set());
    const U_RECTL bounds = DeviceBounds();
    if (fill && stroke) {
        Append(U_EMRSTROKEANDFILLPATH_set(bounds));
    } else if (fill) {
        Append(U_EMRFILLPATH_set(bounds));
    } else {
        Append(U_EMRSTROKEPATH_set(bounds));
    }
}

// A rectangle fill along pixel edges, as a filled path (brush only).
void EmfBuilder::EmitRectFill(const Rect& r, const Mapping& m) {
    const int l = EdgeX(m, r.left), t = EdgeY(m, r.top), rr = EdgeX(m, r.right),
              b = EdgeY(m, r.bottom);
    ResetBounds();
    const U_POINTL corners[4] = {point32_set(l, t), point32_set(rr, t), point32_set(rr, b),
                                 point32_set(l, b)};
    Append(U_EMRBEGINPATH_set());
    Append(U_EMRMOVETOEX_set(corners[0]));
    for (int i = 1; i < 4; ++i) Append(U_EMRLINETO_set(corners[i]));
    Append(U_EMRCLOSEFIGURE_set());
    Append(U_EMRENDPATH_set());
    for (const U_POINTL& p : corners) Include(p);
    Append(U_EMRFILLPATH_set(DeviceBounds()));
}

void EmfBuilder::EmitPolygonFill(const std::vector<raster::Contour>& outline) {
    if (std::none_of(outline.begin(), outline.end(),
                     [](const raster::Contour& c) { return c.size() >= 3; }))
        return;
    ResetBounds();
    Append(U_EMRBEGINPATH_set());
    for (const raster::Contour& contour : outline) {
        if (contour.size() < 3) continue;
        for (std::size_t i = 0; i < contour.size(); ++i) {
            const U_POINTL p = ToLogical(contour[i]);
            Include(p);
            Append(i == 0 ? U_EMRMOVETOEX_set(p) : U_EMRLINETO_set(p));
        }
        Append(U_EMRCLOSEFIGURE_set());
    }
    Append(U_EMRENDPATH_set());
    Append(U_EMRFILLPATH_set(DeviceBounds()));
}

void EmfBuilder::EmitHatchedFill(const std::vector<raster::Contour>& outline,
                                 const CanvasState& s) {
    if (s.bkMode == BkMode::Opaque) {
        CanvasState gaps = s;
        gaps.brush = SolidBrush(s.bkColour);
        SelectPen(gaps, Mapping{}, false);
        SelectBrush(gaps, Mapping{}, true);
        EmitPolygonFill(outline);
    }
    const Size size = drawing_.size;
    const std::vector<HatchSegment> segments = HatchSegments(
        outline, raster::FillRule::Alternate, s.brush.style, {0, 0, size.width, size.height});
    if (segments.empty()) return;
    CanvasState lines = s;
    lines.pen = Pen{s.brush.colour, 1, PenStyle::Solid, s.pen.mode};
    SelectPen(lines, Mapping{}, true);
    ResetBounds();
    Append(U_EMRBEGINPATH_set());
    for (const HatchSegment& segment : segments) {
        const U_POINTL a = ToLogical(segment.a), b = ToLogical(segment.b);
        Include(a, K);
        Include(b, K);
        Append(U_EMRMOVETOEX_set(a));
        Append(U_EMRLINETO_set(b));
    }
    Append(U_EMRENDPATH_set());
    Append(U_EMRSTROKEPATH_set(DeviceBounds()));
}

std::vector<raster::Contour> EmfBuilder::PathOutline(const std::vector<Point>& points,
                                                     const std::vector<std::uint8_t>& types,
                                                     const Mapping& m) const {
    std::vector<raster::Contour> outline;
    if (points.size() != types.size()) return outline;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const std::uint8_t kind = types[i] & ~PT_CLOSEFIGURE;
        const PointF p = ToPixels(Centre(m, points[i]));
        if (kind == PT_MOVETO || outline.empty()) outline.emplace_back();
        raster::Contour& contour = outline.back();
        if (kind == PT_BEZIERTO && i + 2 < points.size() && !contour.empty()) {
            raster::FlattenCubic(contour.back(), p, ToPixels(Centre(m, points[i + 1])),
                                 ToPixels(Centre(m, points[i + 2])), kOutlineTolerance, contour);
            i += 2;
        } else {
            contour.push_back(p);
        }
    }
    return outline;
}

void EmfBuilder::EmitStretch(const RecordedCall& c, const Mapping& m) {
    if (!c.bitmap || c.bitmap->isNull()) return;
    const Bitmap& src = *c.bitmap;
    const Rect from = CoveredPixels(c.srcRect), to = CoveredPixels(c.rect);
    if (from.isEmpty() || to.isEmpty()) return;
    // The part used, the right way round; mirrored copies are mirrored here, so that the
    // record has positive sizes and a source at (0, 0) (readers differ on the rest).
    Bitmap part(from.width(), from.height());
    StretchBits(part, {0, 0, part.width(), part.height()}, src, from, StretchMode::ColorOnColor);
    if ((c.rect.right < c.rect.left) != (c.srcRect.right < c.srcRect.left))
        MirrorBitmap(part, false);
    if ((c.rect.bottom < c.rect.top) != (c.srcRect.bottom < c.srcRect.top))
        MirrorBitmap(part, true);
    int l = EdgeX(m, to.left), t = EdgeY(m, to.top), r = EdgeX(m, to.right),
        b = EdgeY(m, to.bottom);
    if (r < l) std::swap(l, r);
    if (b < t) std::swap(t, b);
    if (r == l || b == t) return;
    SetStretchMode(c.mode);
    ResetBounds();
    Include(point32_set(l, t));
    Include(point32_set(r - 1, b - 1));
    const Dib dib = MakeDib(part);
    Append(U_EMRSTRETCHDIBITS_set(
        DeviceBounds(), point32_set(l, t), point32_set(r - l, b - t), point32_set(0, 0),
        point32_set(part.width(), part.height()), U_DIB_RGB_COLORS, U_SRCCOPY,
        reinterpret_cast<PU_BITMAPINFO>(const_cast<char*>(dib.info.data())),
        static_cast<uint32_t>(dib.bits.size()), const_cast<char*>(dib.bits.data())));
}

void EmfBuilder::EmitText(const RecordedCall& c, const CanvasState& s, const RecordingData& owner,
                          const Mapping& m) {
    const Point at = c.points.at(0);
    if (s.bkMode == BkMode::Opaque) {
        const QFontMetrics metrics(QtFontFor(s.font, owner.dpi));
        const QString q = QString::fromUtf8(c.text.data(), static_cast<qsizetype>(c.text.size()));
        CanvasState cell = s;
        cell.brush = SolidBrush(s.bkColour);
        SelectBrush(cell, m, true);
        EmitRectFill(RectOfSize(at.x, at.y, metrics.horizontalAdvance(q), metrics.height()), m);
    }
    const PathData outline = TextOutline(s.font, owner.dpi, at, c.text);
    if (outline.points.empty()) return;
    CanvasState glyphs = s;
    glyphs.brush = SolidBrush(s.font.colour);
    SelectPen(glyphs, m, false);
    SelectBrush(glyphs, m, true);
    SetRop(PenMode::Copy);
    EmitPath(outline.points, outline.types, m, true, false, 0);
}

void EmfBuilder::EmitCall(const RecordedCall& c, const RecordingData& owner, const Mapping& m) {
    using Kind = RecordedCall::Kind;
    const CanvasState& s = owner.states.at(c.state);
    const int penWidth = PenLogicalWidth(s, m);
    SetBackground(s);
    switch (c.kind) {
        case Kind::Line:
        case Kind::Polyline: {
            if (c.points.size() < 2) return;
            SelectPen(s, m, true);
            SetRop(s.pen.mode);
            std::vector<U_POINTL> pts;
            ResetBounds();
            for (const Point& p : c.points) {
                pts.push_back(Centre(m, p));
                Include(pts.back(), penWidth);
            }
            if (c.kind == Kind::Line) {
                Append(U_EMRMOVETOEX_set(pts[0]));
                Append(U_EMRLINETO_set(pts[1]));
            } else {
                Append(U_EMRPOLYLINE_set(DeviceBounds(), static_cast<uint32_t>(pts.size()),
                                         pts.data()));
            }
            break;
        }
        case Kind::Rectangle:
        case Kind::RoundRect:
        case Kind::Ellipse: {
            SetRop(s.pen.mode);
            // With a pen the outline runs through the pixel centres of the box; without one
            // the brush covers the box less its last column and row.
            const bool penClear = s.pen.style == PenStyle::Clear;
            const double inset = penClear ? 0 : 0.5;
            const double shrink = penClear ? 1 : 0.5;
            const U_RECTL box{EdgeX(m, c.rect.left + inset), EdgeY(m, c.rect.top + inset),
                              EdgeX(m, c.rect.right - shrink), EdgeY(m, c.rect.bottom - shrink)};
            const int cw = Round(std::max(0, c.corner.width - 1) * K * std::abs(m.sx));
            const int ch = Round(std::max(0, c.corner.height - 1) * K * std::abs(m.sy));
            const bool hatched = IsHatch(s.brush.style);
            if (hatched) {
                const PointF a = ToPixels(point32_set(box.left, box.top));
                const PointF b = ToPixels(point32_set(box.right, box.bottom));
                const double rx = c.kind == Kind::Rectangle ? 0
                                  : c.kind == Kind::Ellipse ? std::abs(b.x - a.x)
                                                            : cw / (2.0 * K);
                const double ry = c.kind == Kind::Rectangle ? 0
                                  : c.kind == Kind::Ellipse ? std::abs(b.y - a.y)
                                                            : ch / (2.0 * K);
                EmitHatchedFill({raster::RoundBoxPolygon(std::min(a.x, b.x), std::min(a.y, b.y),
                                                         std::max(a.x, b.x), std::max(a.y, b.y), rx,
                                                         ry, kOutlineTolerance)},
                                s);
                if (penClear) break;
            }
            SelectPen(s, m, true);
            SelectBrush(s, m, !hatched);
            if (c.kind == Kind::Rectangle) {
                Append(U_EMRRECTANGLE_set(box));
            } else if (c.kind == Kind::Ellipse) {
                Append(U_EMRELLIPSE_set(box));
            } else {
                Append(U_EMRROUNDRECT_set(box, sizel_set(cw, ch)));
            }
            break;
        }
        case Kind::FillRect:
            if (IsHatch(s.brush.style)) {
                SetRop(PenMode::Copy);
                const PointF a = ToPixels(point32_set(EdgeX(m, c.rect.left), EdgeY(m, c.rect.top)));
                const PointF b =
                    ToPixels(point32_set(EdgeX(m, c.rect.right), EdgeY(m, c.rect.bottom)));
                EmitHatchedFill({{a, {b.x, a.y}, b, {a.x, b.y}}}, s);
                break;
            }
            SelectBrush(s, m, true);
            if (!brush_ || brush_->style == BrushStyle::Clear) return;
            SelectPen(s, m, false);
            SetRop(PenMode::Copy);
            EmitRectFill(c.rect, m);
            break;
        case Kind::Text:
            EmitText(c, s, owner, m);
            break;
        case Kind::Path:
            if (c.fill && IsHatch(s.brush.style)) {
                SetRop(s.pen.mode);
                EmitHatchedFill(PathOutline(c.points, c.types, m), s);
                if (!c.stroke) break;
                SelectPen(s, m, true);
                SelectBrush(s, m, false);
                EmitPath(c.points, c.types, m, false, true, penWidth);
                break;
            }
            SelectPen(s, m, c.stroke);
            SelectBrush(s, m, c.fill);
            SetRop(s.pen.mode);
            EmitPath(c.points, c.types, m, c.fill, c.stroke, penWidth);
            break;
        case Kind::Stretch:
            EmitStretch(c, m);
            break;
        case Kind::Nested:
            break;
    }
}

std::string EmfBuilder::Build() {
    const Size size = drawing_.size;
    const int dpi = drawing_.dpi;
    const int w = std::max(1, size.width), h = std::max(1, size.height);

    // The reference device: whole multiples of 5 inches (127 mm), so that its pixels and
    // millimetres agree exactly at the drawing's resolution.
    const int unit = dpi * 5;
    const int devW = (w + unit - 1) / unit * unit, devH = (h + unit - 1) / unit * unit;
    const U_SIZEL device = sizel_set(devW, devH);
    const U_SIZEL millimetres = sizel_set(devW / unit * 127, devH / unit * 127);
    const U_RECTL bounds{0, 0, w - 1, h - 1};
    // The frame (inclusive, 0.01 mm) of the picture's w x h pixels.
    const U_RECTL frame{0, 0, Round(w * 2540.0 / dpi) - 1, Round(h * 2540.0 / dpi) - 1};
    Append(U_EMRHEADER_set(bounds, frame, nullptr, 0, nullptr, device, millimetres, 0));
    auto* header = reinterpret_cast<U_EMRHEADER*>(out_.data());
    if (header->emr.nSize >= offsetof(U_EMRHEADER, szlMicrometers) + sizeof(U_SIZEL))
        header->szlMicrometers = sizel_set(devW / unit * 127000, devH / unit * 127000);

    Append(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    Append(U_EMRSETWINDOWORGEX_set(point32_set(0, 0)));
    Append(U_EMRSETWINDOWEXTEX_set(sizel_set(w * K, h * K)));
    Append(U_EMRSETVIEWPORTORGEX_set(point32_set(0, 0)));
    Append(U_EMRSETVIEWPORTEXTEX_set(sizel_set(w, h)));
    Append(U_EMRSETPOLYFILLMODE_set(U_ALTERNATE));
    SetBackground(CanvasState{});

    Recording::Visit(drawing_, Mapping{},
                     [this](const RecordedCall& c, const RecordingData& owner, const Mapping& m) {
                         EmitCall(c, owner, m);
                     });

    // Leave nothing selected that is about to be deleted, then delete what is left.
    if (penHandle_) {
        Append(U_EMRSELECTOBJECT_set(U_BLACK_PEN));
        Append(U_EMRDELETEOBJECT_set(penHandle_));
    }
    if (brushHandle_) {
        Append(U_EMRSELECTOBJECT_set(U_WHITE_BRUSH));
        Append(U_EMRDELETEOBJECT_set(brushHandle_));
    }
    EMFTRACK track{};
    Append(U_EMREOF_set(0, nullptr, &track));

    header = reinterpret_cast<U_EMRHEADER*>(out_.data());
    header->nBytes = static_cast<uint32_t>(out_.size());
    header->nRecords = records_;
    header->nHandles = static_cast<uint16_t>(peak_ + 1);
    return out_;
}

}  // namespace

std::string EncodeEmf(const Recording& drawing) {
    return EmfBuilder(*drawing.data()).Build();
}

bool SaveEmf(const Recording& drawing, const std::string& path) {
    return Files().WriteBytes(path, EncodeEmf(drawing));
}

}  // namespace pb
