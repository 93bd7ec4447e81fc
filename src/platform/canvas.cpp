#include "platform/canvas.h"

#include <QFontMetrics>
#include <QPainterPath>
#include <QString>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "platform/qt_font.h"
#include "platform/raster.h"

namespace pb {

namespace {

using raster::PointF;

// Curves are flattened to within this many pixels.
constexpr double kFlatness = 0.25;

int RoundToInt(double v) {
    return static_cast<int>(std::clamp(std::lround(v), long{INT_MIN}, long{INT_MAX}));
}
Point Rounded(PointF p) {
    return {RoundToInt(p.x), RoundToInt(p.y)};
}
PointF ToF(Point p) {
    return {static_cast<double>(p.x), static_cast<double>(p.y)};
}

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void Add(PathData& path, Point p, std::uint8_t type) {
    path.points.push_back(p);
    path.types.push_back(type);
}

void CloseLast(PathData& path) {
    if (!path.types.empty()) path.types.back() |= PT_CLOSEFIGURE;
}

// Rectangle(l, t, r, b) in a path: through the pixel centres of l..r-1 and t..b-1,
// counter-clockwise on screen from the top-right corner.
PathData RectangleFigure(const Rect& r) {
    PathData f;
    Add(f, {r.right - 1, r.top}, PT_MOVETO);
    Add(f, {r.left, r.top}, PT_LINETO);
    Add(f, {r.left, r.bottom - 1}, PT_LINETO);
    Add(f, {r.right - 1, r.bottom - 1}, PT_LINETO);
    CloseLast(f);
    return f;
}

PathData EllipseFigure(const Rect& r) {
    const double R = r.right - 1, B = r.bottom - 1;
    const auto pts = raster::EllipseBeziers({(r.left + R) / 2, (r.top + B) / 2}, (R - r.left) / 2,
                                            (B - r.top) / 2);
    PathData f;
    Add(f, Rounded(pts[0]), PT_MOVETO);
    for (std::size_t i = 1; i < pts.size(); ++i) Add(f, Rounded(pts[i]), PT_BEZIERTO);
    CloseLast(f);
    return f;
}

PathData RoundRectFigure(const Rect& r, int cornerWidth, int cornerHeight) {
    // Corner radii through the pixel centres, as the one-pixel outline draws them.
    const double rx = (cornerWidth - 1) / 2.0;  // the corner sizes are within the box
    const double ry = (cornerHeight - 1) / 2.0;
    if (rx <= 0 || ry <= 0) return RectangleFigure(r);
    constexpr double k = 1 - 0.5522847498307936;  // from the corner towards the arc's end
    const double L = r.left, T = r.top, R = r.right - 1, B = r.bottom - 1;
    PathData f;
    auto line = [&f](double x, double y) {
        const Point p = Rounded({x, y});
        if (f.points.back() != p) Add(f, p, PT_LINETO);
    };
    auto curve = [&f](double x1, double y1, double x2, double y2, double x3, double y3) {
        Add(f, Rounded({x1, y1}), PT_BEZIERTO);
        Add(f, Rounded({x2, y2}), PT_BEZIERTO);
        Add(f, Rounded({x3, y3}), PT_BEZIERTO);
    };
    Add(f, Rounded({R - rx, T}), PT_MOVETO);
    line(L + rx, T);
    curve(L + k * rx, T, L, T + k * ry, L, T + ry);
    line(L, B - ry);
    curve(L, B - k * ry, L + k * rx, B, L + rx, B);
    line(R - rx, B);
    curve(R - k * rx, B, R, B - k * ry, R, B - ry);
    line(R, T + ry);
    curve(R, T + k * ry, R - k * rx, T, R - rx, T);
    CloseLast(f);
    return f;
}

// The glyph outlines of `text` with the top-left of its text cell at `at`.
PathData TextFigures(const Font& font, int dpi, Point at, std::string_view text) {
    const QFont qfont = QtFontFor(font, dpi);
    QPainterPath outline;
    outline.addText(QPointF(at.x, at.y + QFontMetrics(qfont).ascent()), qfont, ToQString(text));
    PathData f;
    std::size_t figureStart = 0;  // index in f of the open figure's MOVETO
    QPointF start;                // where that figure began, before rounding
    QPointF last;
    bool open = false;
    auto endFigure = [&] {
        if (!open) return;
        open = false;
        const bool closed =
            std::abs(last.x() - start.x()) < 1e-6 && std::abs(last.y() - start.y()) < 1e-6;
        if (!closed) return;
        // The line back to the start is implied by the close flag.
        if (f.types.back() == PT_LINETO && f.points.back() == f.points[figureStart]) {
            f.points.pop_back();
            f.types.pop_back();
        }
        if (f.points.size() - figureStart < 2) {
            f.points.resize(figureStart);
            f.types.resize(figureStart);
            return;
        }
        CloseLast(f);
    };
    for (int i = 0; i < outline.elementCount(); ++i) {
        const QPainterPath::Element e = outline.elementAt(i);
        if (e.isMoveTo()) {
            endFigure();
            figureStart = f.points.size();
            start = last = QPointF(e.x, e.y);
            Add(f, Rounded({e.x, e.y}), PT_MOVETO);
            open = true;
        } else if (e.isLineTo()) {
            Add(f, Rounded({e.x, e.y}), PT_LINETO);
            last = QPointF(e.x, e.y);
        } else if (e.isCurveTo() && i + 2 < outline.elementCount()) {
            for (int k = 0; k < 3; ++k) {
                const QPainterPath::Element c = outline.elementAt(i + k);
                Add(f, Rounded({c.x, c.y}), PT_BEZIERTO);
            }
            const QPainterPath::Element end = outline.elementAt(i + 2);
            last = QPointF(end.x, end.y);
            i += 2;
        }
    }
    endFigure();
    return f;
}

bool ValidTypes(std::span<const Point> points, std::span<const std::uint8_t> types) {
    if (points.size() != types.size()) return false;
    for (std::size_t i = 0; i < types.size(); ++i) {
        const std::uint8_t kind = types[i] & ~PT_CLOSEFIGURE;
        if (kind == PT_MOVETO) {
            if (types[i] & PT_CLOSEFIGURE) return false;
        } else if (kind == PT_BEZIERTO) {
            if (i + 2 >= types.size() || (types[i + 1] & ~PT_CLOSEFIGURE) != PT_BEZIERTO ||
                (types[i + 2] & ~PT_CLOSEFIGURE) != PT_BEZIERTO)
                return false;
            i += 2;
        } else if (kind != PT_LINETO) {
            return false;
        }
    }
    return true;
}

}  // namespace

void Canvas::MoveTo(int x, int y) {
    position_ = {x, y};
    figureOpen_ = false;
}

void Canvas::LineTo(int x, int y) {
    if (pathOpen_) {
        continueFigure();
        addPoint({x, y}, PT_LINETO);
    } else {
        drawLine(position_, {x, y});
    }
    position_ = {x, y};
}

void Canvas::Polyline(std::span<const Point> points) {
    if (points.empty()) return;
    if (pathOpen_) {
        PathData f;
        Add(f, points[0], PT_MOVETO);
        for (std::size_t i = 1; i < points.size(); ++i) Add(f, points[i], PT_LINETO);
        addFigure(f);
    } else if (points.size() >= 2) {
        drawPolyline(points);
    }
}

void Canvas::PolyBezier(std::span<const Point> points) {
    if (points.size() < 4 || (points.size() - 1) % 3 != 0) return;
    PathData f;
    Add(f, points[0], PT_MOVETO);
    for (std::size_t i = 1; i < points.size(); ++i) Add(f, points[i], PT_BEZIERTO);
    if (pathOpen_) {
        addFigure(f);
    } else {
        paintPath(f, false, true);
    }
}

void Canvas::Rectangle(int l, int t, int r, int b) {
    const Rect n = Rect{l, t, r, b}.normalized();
    if (n.isEmpty()) return;
    if (pathOpen_) {
        addFigure(RectangleFigure(n));
    } else {
        drawRectangle(n);
    }
}

void Canvas::RoundRect(int l, int t, int r, int b, int cornerWidth, int cornerHeight) {
    const Rect n = Rect{l, t, r, b}.normalized();
    if (n.isEmpty()) return;
    // A rounded rectangle dragged from the bottom-right comes with negative corners.
    const auto cw = static_cast<int>(
        std::min(std::llabs(cornerWidth), static_cast<long long>(n.right) - n.left));
    const auto ch = static_cast<int>(
        std::min(std::llabs(cornerHeight), static_cast<long long>(n.bottom) - n.top));
    if (pathOpen_) {
        addFigure(RoundRectFigure(n, cw, ch));
    } else {
        drawRoundRect(n, cw, ch);
    }
}

void Canvas::Ellipse(int l, int t, int r, int b) {
    const Rect n = Rect{l, t, r, b}.normalized();
    if (n.isEmpty()) return;
    if (pathOpen_) {
        addFigure(EllipseFigure(n));
    } else {
        drawEllipse(n);
    }
}

void Canvas::FillRect(const Rect& r) {
    const Rect n = r.normalized();
    if (!n.isEmpty()) fillRect(n);
}

void Canvas::TextOut(int x, int y, std::string_view text) {
    if (text.empty()) return;
    if (pathOpen_) {
        addFigure(TextFigures(font, logicalDpi(), {x, y}, text));
    } else {
        drawText({x, y}, text);
    }
}

int Canvas::TextWidth(std::string_view text) const {
    return QFontMetrics(QtFontFor(font, logicalDpi())).horizontalAdvance(ToQString(text));
}

int Canvas::TextHeight(std::string_view) const {
    return QFontMetrics(QtFontFor(font, logicalDpi())).height();
}

void Canvas::Draw(int x, int y, const Bitmap& src) {
    if (src.isNull()) return;
    StretchBlt(RectOfSize(x, y, src.width(), src.height()), src, {0, 0, src.width(), src.height()},
               StretchMode::ColorOnColor);
}

void Canvas::StretchDraw(const Rect& dest, const Bitmap& src, StretchMode mode) {
    if (src.isNull()) return;
    StretchBlt(dest, src, {0, 0, src.width(), src.height()}, mode);
}

void Canvas::BeginPath() {
    path_.clear();
    pathOpen_ = true;
    figureOpen_ = false;
}

void Canvas::EndPath() {
    pathOpen_ = false;
}

void Canvas::AbortPath() {
    path_.clear();
    pathOpen_ = false;
}

void Canvas::FlattenPath() {
    if (pathOpen_) return;
    PathData flat;
    std::vector<PointF> pts;
    Point current{0, 0};
    for (std::size_t i = 0; i < path_.size(); ++i) {
        const std::uint8_t kind = path_.types[i] & ~PT_CLOSEFIGURE;
        if (kind != PT_BEZIERTO || i + 2 >= path_.size()) {
            Add(flat, path_.points[i], path_.types[i]);
            current = path_.points[i];
            continue;
        }
        pts.clear();
        raster::FlattenCubic(ToF(current), ToF(path_.points[i]), ToF(path_.points[i + 1]),
                             ToF(path_.points[i + 2]), kFlatness, pts);
        for (std::size_t k = 0; k < pts.size(); ++k) {
            const Point p = Rounded(pts[k]);
            const bool lastOfCurve = k + 1 == pts.size();
            if (!lastOfCurve && !flat.points.empty() && p == flat.points.back()) continue;
            Add(flat, p, PT_LINETO);
        }
        if (path_.types[i + 2] & PT_CLOSEFIGURE) CloseLast(flat);
        current = path_.points[i + 2];
        i += 2;
    }
    path_ = std::move(flat);
}

void Canvas::PolyDraw(std::span<const Point> points, std::span<const std::uint8_t> types) {
    if (points.empty() || !ValidTypes(points, types)) return;
    PathData added;
    const bool startsFigure = (types[0] & ~PT_CLOSEFIGURE) == PT_MOVETO;
    for (std::size_t i = 0; i < points.size(); ++i) Add(added, points[i], types[i]);
    if (pathOpen_) {
        if (!startsFigure) continueFigure();
        for (std::size_t i = 0; i < added.size(); ++i) addPoint(added.points[i], added.types[i]);
        figureOpen_ = !(added.types.back() & PT_CLOSEFIGURE);
    } else {
        if (!startsFigure) {
            added.points.insert(added.points.begin(), position_);
            added.types.insert(added.types.begin(), PT_MOVETO);
        }
        paintPath(added, false, true);
    }
    position_ = points.back();
}

void Canvas::StrokeAndFillPath() {
    EndPath();
    if (!path_.points.empty()) paintPath(path_, true, true);
    path_.clear();
}

void Canvas::FillPath() {
    EndPath();
    if (!path_.points.empty()) paintPath(path_, true, false);
    path_.clear();
}

void Canvas::StrokePath() {
    EndPath();
    if (!path_.points.empty()) paintPath(path_, false, true);
    path_.clear();
}

void Canvas::addFigure(const PathData& figure) {
    path_.points.insert(path_.points.end(), figure.points.begin(), figure.points.end());
    path_.types.insert(path_.types.end(), figure.types.begin(), figure.types.end());
    figureOpen_ = false;
}

void Canvas::addPoint(Point p, std::uint8_t type) {
    Add(path_, p, type);
    figureOpen_ = true;
}

void Canvas::continueFigure() {
    if (!figureOpen_) addPoint(position_, PT_MOVETO);
}

}  // namespace pb
