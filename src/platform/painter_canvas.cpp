#include "platform/painter_canvas.h"

#include <QFontMetricsF>
#include <QPainterPath>

#include "platform/bitmap_ops.h"
#include "platform/bitmap_qt.h"
#include "platform/qt_font.h"
#include "platform/stretch.h"

namespace pb {

namespace {

QColor ToQColor(TColor c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// The centre of logical pixel p.
QPointF Centre(Point p) {
    return {p.x + 0.5, p.y + 0.5};
}

// The box through the pixel centres of r (drawn with a pen), and the same box one pixel
// smaller to the right and below from the pixels' corners (a clear pen).
QRectF CentreBox(const Rect& r) {
    return {r.left + 0.5, r.top + 0.5, r.width() - 1.0, r.height() - 1.0};
}
QRectF ClearPenBox(const Rect& r) {
    return {double(r.left), double(r.top), r.width() - 1.0, r.height() - 1.0};
}

Qt::BrushStyle QtHatch(BrushStyle s) {
    switch (s) {
        case BrushStyle::Horizontal:
            return Qt::HorPattern;
        case BrushStyle::Vertical:
            return Qt::VerPattern;
        case BrushStyle::FDiagonal:
            return Qt::FDiagPattern;
        case BrushStyle::BDiagonal:
            return Qt::BDiagPattern;
        case BrushStyle::Cross:
            return Qt::CrossPattern;
        case BrushStyle::DiagCross:
            return Qt::DiagCrossPattern;
        default:
            return Qt::SolidPattern;
    }
}


}  // namespace

PainterCanvas::PainterCanvas(QPainter& painter, Size logicalSize, int dpi)
    : painter_(painter), size_(logicalSize), dpi_(dpi) {}

void PainterCanvas::applyPen(bool withPen) {
    painter_.setCompositionMode(pen.mode == PenMode::NotXor
                                    ? QPainter::RasterOp_NotSourceXorDestination
                                    : QPainter::CompositionMode_SourceOver);
    painter_.setBackgroundMode(bkMode == BkMode::Opaque ? Qt::OpaqueMode : Qt::TransparentMode);
    painter_.setBackground(ToQColor(bkColour));
    if (!withPen || pen.style == PenStyle::Clear) {
        painter_.setPen(Qt::NoPen);
        return;
    }
    const int width = std::max(1, pen.width);
    QPen p(ToQColor(pen.colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    if (pen.style == PenStyle::Dot && width == 1) {
        p.setCapStyle(Qt::FlatCap);
        p.setDashPattern({3, 3});
    }
    painter_.setPen(p);
}

void PainterCanvas::applyBrush(bool withBrush) {
    if (!withBrush || brush.style == BrushStyle::Clear) {
        painter_.setBrush(Qt::NoBrush);
        return;
    }
    const QColor colour = ToQColor(brush.colour);
    if (brush.style == BrushStyle::Solid ||
        (brush.style == BrushStyle::Pattern && (!brush.pattern || brush.pattern->isNull()))) {
        painter_.setBrush(colour);
    } else if (brush.style == BrushStyle::Pattern) {
        QBrush b(ImageFromBitmap(*brush.pattern));
        b.setTransform(QTransform::fromTranslate(brush.patternOrigin.x, brush.patternOrigin.y));
        painter_.setBrush(b);
    } else {
        painter_.setBrush(QBrush(colour, QtHatch(brush.style)));
    }
}

void PainterCanvas::drawLine(Point from, Point to) {
    applyPen(true);
    painter_.drawLine(Centre(from), Centre(to));
}

void PainterCanvas::drawPolyline(std::span<const Point> points) {
    applyPen(true);
    QPolygonF polygon;
    for (const Point& p : points) polygon << Centre(p);
    painter_.drawPolyline(polygon);
}

void PainterCanvas::drawShape(const QPainterPath& outline, const QPainterPath& clearPenFill) {
    const bool penClear = pen.style == PenStyle::Clear;
    applyPen(!penClear);
    applyBrush(true);
    painter_.drawPath(penClear ? clearPenFill : outline);
}

void PainterCanvas::drawRectangle(const Rect& r) {
    QPainterPath outline, clearPenFill;
    outline.addRect(CentreBox(r));
    clearPenFill.addRect(ClearPenBox(r));
    drawShape(outline, clearPenFill);
}

void PainterCanvas::drawRoundRect(const Rect& r, int cornerWidth, int cornerHeight) {
    // Radii through the pixel centres, as the bitmap canvas traces them.
    const double rx = std::max(0, cornerWidth - 1) / 2.0, ry = std::max(0, cornerHeight - 1) / 2.0;
    QPainterPath outline, clearPenFill;
    outline.addRoundedRect(CentreBox(r), rx, ry);
    clearPenFill.addRoundedRect(ClearPenBox(r), rx, ry);
    drawShape(outline, clearPenFill);
}

void PainterCanvas::drawEllipse(const Rect& r) {
    QPainterPath outline, clearPenFill;
    outline.addEllipse(CentreBox(r));
    clearPenFill.addEllipse(ClearPenBox(r));
    drawShape(outline, clearPenFill);
}

void PainterCanvas::fillRect(const Rect& r) {
    PenMode mode = pen.mode;
    pen.mode = PenMode::Copy;  // FillRect paints, whatever the pen mode
    applyPen(false);
    pen.mode = mode;
    applyBrush(true);
    painter_.drawRect(QRectF(r.left, r.top, r.width(), r.height()));
}

void PainterCanvas::drawText(Point at, std::string_view text) {
    const QFont qfont = QtFontFor(font, dpi_);
    const QFontMetricsF metrics(qfont);
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (bkMode == BkMode::Opaque)
        painter_.fillRect(QRectF(at.x, at.y, metrics.horizontalAdvance(s), metrics.height()),
                          ToQColor(bkColour));
    painter_.setBackgroundMode(Qt::TransparentMode);
    painter_.setFont(qfont);
    painter_.setPen(ToQColor(font.colour));
    painter_.drawText(QPointF(at.x, at.y + metrics.ascent()), s);
}

void PainterCanvas::paintPath(const PathData& path, bool fill, bool stroke) {
    QPainterPath q;
    q.setFillRule(Qt::OddEvenFill);
    for (std::size_t i = 0; i < path.size(); ++i) {
        const std::uint8_t kind = path.types[i] & ~PT_CLOSEFIGURE;
        std::uint8_t close = path.types[i] & PT_CLOSEFIGURE;
        if (kind == PT_MOVETO) {
            q.moveTo(Centre(path.points[i]));
        } else if (kind == PT_BEZIERTO && i + 2 < path.size()) {
            q.cubicTo(Centre(path.points[i]), Centre(path.points[i + 1]),
                      Centre(path.points[i + 2]));
            close = path.types[i + 2] & PT_CLOSEFIGURE;
            i += 2;
        } else {
            q.lineTo(Centre(path.points[i]));
        }
        if (close) q.closeSubpath();
    }
    applyPen(stroke);
    applyBrush(fill);
    painter_.drawPath(q);
}

void PainterCanvas::StretchBlt(const Rect& dest, const Bitmap& src, const Rect& srcRect,
                               StretchMode mode) {
    if (src.isNull() || dest.left == dest.right || dest.top == dest.bottom) return;
    const Rect from = CoveredPixels(srcRect), to = CoveredPixels(dest);
    if (from.isEmpty()) return;
    // Mirrored copies are mirrored here; the painter is given the picture the right way round.
    Bitmap part(from.width(), from.height());
    StretchBits(part, {0, 0, part.width(), part.height()}, src, from, StretchMode::ColorOnColor);
    const bool flipX = (dest.right < dest.left) != (srcRect.right < srcRect.left);
    const bool flipY = (dest.bottom < dest.top) != (srcRect.bottom < srcRect.top);
    if (flipX) MirrorBitmap(part, false);
    if (flipY) MirrorBitmap(part, true);
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, mode == StretchMode::Halftone);
    painter_.drawImage(QRectF(to.left, to.top, to.width(), to.height()), ConstImageView(part));
}

}  // namespace pb
