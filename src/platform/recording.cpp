#include "platform/recording.h"

#include <QFontMetrics>
#include <climits>
#include <cmath>

#include "platform/painter_canvas.h"
#include "platform/qt_font.h"
#include "platform/stretch.h"

namespace pb {

namespace {


bool SameFont(const Font& a, const Font& b) {
    return a.family == b.family && a.sizePoints == b.sizePoints && a.bold == b.bold &&
           a.italic == b.italic && a.colour == b.colour;
}

bool SameState(const CanvasState& a, const Canvas& c) {
    return a.pen.colour == c.pen.colour && a.pen.width == c.pen.width &&
           a.pen.style == c.pen.style && a.pen.mode == c.pen.mode &&
           a.brush.style == c.brush.style && a.brush.colour == c.brush.colour &&
           a.brush.pattern == c.brush.pattern && a.brush.patternOrigin == c.brush.patternOrigin &&
           SameFont(a.font, c.font) && a.bkMode == c.bkMode && a.bkColour == c.bkColour;
}

int Round(double v) {
    return static_cast<int>(std::clamp(std::lround(v), long{INT_MIN / 2}, long{INT_MAX / 2}));
}

// The pixels a stretch rectangle covers, reversed rectangles as StretchBits reads them.
Rect Covered(const Rect& r) {
    const int left = r.right < r.left ? r.right + 1 : r.left;
    const int right = r.right < r.left ? r.left + 1 : r.right;
    const int top = r.bottom < r.top ? r.bottom + 1 : r.top;
    const int bottom = r.bottom < r.top ? r.top + 1 : r.bottom;
    return {left, top, right, bottom};
}

// A point is the centre of its pixel: the centre is mapped and the pixel under it taken.
Point MapCentre(const Mapping& m, Point p) {
    return {Round(m.x(p.x + 0.5) - 0.5), Round(m.y(p.y + 0.5) - 0.5)};
}

// Rectangles run along pixel edges; reversed ones (mirrored stretches) stay reversed.
Rect MapEdges(const Mapping& m, const Rect& r) {
    const Rect c = Covered(r);
    Rect out{Round(m.x(c.left)), Round(m.y(c.top)), Round(m.x(c.right)), Round(m.y(c.bottom))};
    if (r.right < r.left) out = {out.right - 1, out.top, out.left - 1, out.bottom};
    if (r.bottom < r.top) out = {out.left, out.bottom - 1, out.right, out.top - 1};
    return out;
}

double MeanScale(const Mapping& m) {
    return (std::abs(m.sx) + std::abs(m.sy)) / 2;
}

void ApplyState(Canvas& t, const CanvasState& s, const Mapping& m) {
    t.pen = s.pen;
    t.pen.width = std::max(1, Round(std::max(1, s.pen.width) * MeanScale(m)));
    t.brush = s.brush;
    if (s.brush.style == BrushStyle::Pattern && s.brush.pattern && !s.brush.pattern->isNull()) {
        const Bitmap& pattern = *s.brush.pattern;
        const int w = std::max(1, Round(pattern.width() * std::abs(m.sx)));
        const int h = std::max(1, Round(pattern.height() * std::abs(m.sy)));
        if (w != pattern.width() || h != pattern.height())
            t.brush.pattern =
                std::make_shared<const Bitmap>(StretchBitmap(pattern, w, h, StretchMode::Halftone));
        t.brush.patternOrigin = {Round(m.x(s.brush.patternOrigin.x)),
                                 Round(m.y(s.brush.patternOrigin.y))};
    }
    t.font = s.font;
    t.bkMode = s.bkMode;
    t.bkColour = s.bkColour;
}

std::vector<Point> MapPoints(const Mapping& m, const std::vector<Point>& points) {
    std::vector<Point> out;
    out.reserve(points.size());
    for (const Point& p : points) out.push_back(MapCentre(m, p));
    return out;
}

void PlayPath(Canvas& t, const std::vector<Point>& points, const std::vector<std::uint8_t>& types,
              bool fill, bool stroke) {
    t.BeginPath();
    t.PolyDraw(points, types);
    t.EndPath();
    if (fill && stroke) {
        t.StrokeAndFillPath();
    } else if (fill) {
        t.FillPath();
    } else {
        t.StrokePath();
    }
}

// Text on a canvas that does not draw it at the recording's own scale: the opaque cell as a
// rectangle fill, the glyphs as filled outlines.
void PlayTextAsOutline(Canvas& t, const RecordedCall& c, const CanvasState& s, const Mapping& m,
                       int dpi) {
    const Point at = c.points.at(0);
    const QFontMetrics metrics(QtFontFor(s.font, dpi));
    if (s.bkMode == BkMode::Opaque) {
        const QString q = QString::fromUtf8(c.text.data(), static_cast<qsizetype>(c.text.size()));
        t.brush = SolidBrush(s.bkColour);
        t.FillRect(
            MapEdges(m, RectOfSize(at.x, at.y, metrics.horizontalAdvance(q), metrics.height())));
    }
    const PathData outline = TextOutline(s.font, dpi, at, c.text);
    if (outline.points.empty()) return;
    t.pen.style = PenStyle::Clear;
    t.brush = SolidBrush(s.font.colour);
    PlayPath(t, MapPoints(m, outline.points), outline.types, true, false);
}

void PlayCall(Canvas& t, const RecordedCall& c, const RecordingData& owner, const Mapping& m) {
    using Kind = RecordedCall::Kind;
    const CanvasState& s = owner.states.at(c.state);
    ApplyState(t, s, m);
    switch (c.kind) {
        case Kind::Line: {
            const Point a = MapCentre(m, c.points.at(0)), b = MapCentre(m, c.points.at(1));
            t.MoveTo(a.x, a.y);
            t.LineTo(b.x, b.y);
            break;
        }
        case Kind::Polyline:
            t.Polyline(MapPoints(m, c.points));
            break;
        case Kind::Rectangle: {
            const Rect r = MapEdges(m, c.rect);
            t.Rectangle(r.left, r.top, r.right, r.bottom);
            break;
        }
        case Kind::RoundRect: {
            const Rect r = MapEdges(m, c.rect);
            t.RoundRect(r.left, r.top, r.right, r.bottom, Round(c.corner.width * std::abs(m.sx)),
                        Round(c.corner.height * std::abs(m.sy)));
            break;
        }
        case Kind::Ellipse: {
            const Rect r = MapEdges(m, c.rect);
            t.Ellipse(r.left, r.top, r.right, r.bottom);
            break;
        }
        case Kind::FillRect:
            t.FillRect(MapEdges(m, c.rect));
            break;
        case Kind::Text:
            if (m.isIdentity() && t.logicalDpi() == owner.dpi) {
                t.TextOut(c.points.at(0).x, c.points.at(0).y, c.text);
            } else {
                PlayTextAsOutline(t, c, s, m, owner.dpi);
            }
            break;
        case Kind::Path:
            PlayPath(t, MapPoints(m, c.points), c.types, c.fill, c.stroke);
            break;
        case Kind::Stretch:
            if (c.bitmap) t.StretchBlt(MapEdges(m, c.rect), *c.bitmap, c.srcRect, c.mode);
            break;
        case Kind::Nested:
            break;  // resolved by Visit
    }
}

}  // namespace

Mapping Mapping::Stretch(Size from, const Rect& to) {
    Mapping m;
    m.sx = from.width > 0 ? static_cast<double>(to.width()) / from.width : 0;
    m.sy = from.height > 0 ? static_cast<double>(to.height()) / from.height : 0;
    m.ox = to.left;
    m.oy = to.top;
    return m;
}

Recording::Recording(Size size, int dpi) : data_(std::make_shared<RecordingData>()) {
    data_->size = {std::max(0, size.width), std::max(0, size.height)};
    data_->dpi = dpi > 0 ? dpi : 96;
}

Size Recording::size() const {
    return data_->size;
}

int Recording::logicalDpi() const {
    return data_->dpi;
}

RecordingData& Recording::mutableData() {
    // Drawings handed out (nested in another recording, or data()) are never changed.
    if (data_.use_count() > 1) data_ = std::make_shared<RecordingData>(*data_);
    return *data_;
}

RecordedCall& Recording::add(RecordedCall::Kind kind) {
    RecordingData& d = mutableData();
    if (d.states.empty() || !SameState(d.states.back(), *this))
        d.states.push_back(CanvasState{pen, brush, font, bkMode, bkColour});
    d.calls.emplace_back();
    RecordedCall& c = d.calls.back();
    c.kind = kind;
    c.state = static_cast<std::uint32_t>(d.states.size() - 1);
    return c;
}

void Recording::drawLine(Point from, Point to) {
    add(RecordedCall::Kind::Line).points = {from, to};
}

void Recording::drawPolyline(std::span<const Point> points) {
    add(RecordedCall::Kind::Polyline).points.assign(points.begin(), points.end());
}

void Recording::drawRectangle(const Rect& r) {
    add(RecordedCall::Kind::Rectangle).rect = r;
}

void Recording::drawRoundRect(const Rect& r, int cornerWidth, int cornerHeight) {
    RecordedCall& c = add(RecordedCall::Kind::RoundRect);
    c.rect = r;
    c.corner = {cornerWidth, cornerHeight};
}

void Recording::drawEllipse(const Rect& r) {
    add(RecordedCall::Kind::Ellipse).rect = r;
}

void Recording::fillRect(const Rect& r) {
    add(RecordedCall::Kind::FillRect).rect = r;
}

void Recording::drawText(Point at, std::string_view text) {
    RecordedCall& c = add(RecordedCall::Kind::Text);
    c.points = {at};
    c.text.assign(text);
}

void Recording::paintPath(const PathData& path, bool fill, bool stroke) {
    RecordedCall& c = add(RecordedCall::Kind::Path);
    c.points = path.points;
    c.types = path.types;
    c.fill = fill;
    c.stroke = stroke;
}

void Recording::StretchBlt(const Rect& dest, const Bitmap& src, const Rect& srcRect,
                           StretchMode mode) {
    if (src.isNull() || dest.left == dest.right || dest.top == dest.bottom) return;
    const Rect used = Covered(srcRect);
    const bool inside = used.left >= 0 && used.top >= 0 && used.right <= src.width() &&
                        used.bottom <= src.height() && !used.isEmpty();
    std::shared_ptr<const Bitmap> copy;
    Rect from = srcRect;
    if (inside && (used.width() != src.width() || used.height() != src.height())) {
        Bitmap part(used.width(), used.height());
        StretchBits(part, {0, 0, part.width(), part.height()}, src, used,
                    StretchMode::ColorOnColor);
        copy = std::make_shared<const Bitmap>(std::move(part));
        from = {srcRect.left - used.left, srcRect.top - used.top, srcRect.right - used.left,
                srcRect.bottom - used.top};
    } else {
        copy = std::make_shared<const Bitmap>(src);
    }
    RecordedCall& c = add(RecordedCall::Kind::Stretch);
    c.rect = dest;
    c.bitmap = std::move(copy);
    c.srcRect = from;
    c.mode = mode;
}

void Recording::StretchDrawShared(const Rect& dest, std::shared_ptr<const Bitmap> src,
                                  StretchMode mode) {
    if (!src || src->isNull() || dest.left == dest.right || dest.top == dest.bottom) return;
    RecordedCall& c = add(RecordedCall::Kind::Stretch);
    c.rect = dest;
    c.srcRect = {0, 0, src->width(), src->height()};
    c.bitmap = std::move(src);
    c.mode = mode;
}

void Recording::addNested(std::shared_ptr<const RecordingData> drawing, const Rect& dest) {
    if (!drawing || drawing->calls.empty() || dest.left == dest.right || dest.top == dest.bottom)
        return;
    RecordedCall& c = add(RecordedCall::Kind::Nested);
    c.rect = dest;
    c.nested = std::move(drawing);
}

void Recording::Visit(const RecordingData& data, const Mapping& outer, const Visitor& visit) {
    for (const RecordedCall& c : data.calls) {
        if (c.kind == RecordedCall::Kind::Nested) {
            if (c.nested)
                Visit(*c.nested, outer.then(Mapping::Stretch(c.nested->size, c.rect)), visit);
        } else {
            visit(c, data, outer);
        }
    }
}

void Recording::PlayInto(Canvas& target, const Rect& dest) const {
    if (auto* recording = dynamic_cast<Recording*>(&target)) {
        recording->addNested(data_, dest);
        return;
    }
    if (data_->size.width <= 0 || data_->size.height <= 0) return;
    const CanvasState saved{target.pen, target.brush, target.font, target.bkMode, target.bkColour};
    const Mapping whole = Mapping::Stretch(data_->size, dest);
    if (auto* painterCanvas = dynamic_cast<PainterCanvas*>(&target)) {
        // A painter scales everything itself, text and curves included: each call is drawn in
        // its own coordinates under the mapping, without rounding.
        QPainter& painter = painterCanvas->painter();
        const QTransform device = painter.transform();
        Visit(*data_, whole,
              [&painter, &device](const RecordedCall& c, const RecordingData& owner,
                                  const Mapping& m) {
                  painter.setTransform(QTransform(m.sx, 0, 0, m.sy, m.ox, m.oy) * device);
                  PainterCanvas inner(painter, owner.size, owner.dpi);
                  PlayCall(inner, c, owner, Mapping{});
              });
        painter.setTransform(device);
    } else {
        Visit(*data_, whole,
              [&target](const RecordedCall& c, const RecordingData& owner, const Mapping& m) {
                  PlayCall(target, c, owner, m);
              });
    }
    target.pen = saved.pen;
    target.brush = saved.brush;
    target.font = saved.font;
    target.bkMode = saved.bkMode;
    target.bkColour = saved.bkColour;
}

PathData TextOutline(const Font& font, int dpi, Point at, std::string_view text) {
    Recording scratch({1, 1}, dpi);
    scratch.font = font;
    scratch.BeginPath();
    scratch.TextOut(at.x, at.y, text);
    scratch.EndPath();
    return scratch.GetPath();
}

}  // namespace pb
