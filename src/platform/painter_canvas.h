#pragma once
// A Canvas that draws through a QPainter on any paint device: a printer, a PDF writer, an
// image. It draws the geometry of the bitmap canvas (canvas.h) as vector shapes: the point
// (x, y) is the centre of logical pixel (x, y), outlines run through the pixel centres of
// their box with the pen centred on them, a clear pen leaves the brush one pixel smaller,
// round ends and joins, the alternate fill rule for paths. Pixel-exact rules (the end pixel
// of a line, no antialiasing) belong to bitmaps and are left to the painter's render hints.
//
// The painter's transform maps logical pixels onto the device: for a 600 dpi printer and a
// page drawn at 96 pixels per inch, scale(600 / 96.0, 600 / 96.0). Hatch brushes keep Qt's
// period of 8 device pixels whatever the transform (as GDI's hatches do on a printer);
// pattern brushes scale with the page.

#include <QPainter>

#include "platform/canvas.h"

namespace pb {

class PainterCanvas : public Canvas {
  public:
    // `painter` must be active and outlive the canvas. `logicalSize` is the drawing surface
    // in logical pixels; `dpi` sizes the fonts (logical pixels per inch).
    PainterCanvas(QPainter& painter, Size logicalSize, int dpi = 96);

    Size size() const override { return size_; }
    int logicalDpi() const override { return dpi_; }
    QPainter& painter() { return painter_; }

    void StretchBlt(const Rect& dest, const Bitmap& src, const Rect& srcRect,
                    StretchMode mode) override;

  protected:
    void drawLine(Point from, Point to) override;
    void drawPolyline(std::span<const Point> points) override;
    void drawRectangle(const Rect& r) override;
    void drawRoundRect(const Rect& r, int cornerWidth, int cornerHeight) override;
    void drawEllipse(const Rect& r) override;
    void fillRect(const Rect& r) override;
    void drawText(Point at, std::string_view text) override;
    void paintPath(const PathData& path, bool fill, bool stroke) override;

  private:
    // Sets the painter's pen, brush and background from the canvas state.
    void applyPen(bool withPen);
    void applyBrush(bool withBrush);
    void drawShape(const QPainterPath& outline, const QPainterPath& clearPenFill);
    QPainter& painter_;
    Size size_;
    int dpi_;
};

}  // namespace pb
