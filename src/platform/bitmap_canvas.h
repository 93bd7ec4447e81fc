#pragma once
// A Canvas that draws on a Bitmap with the pixel rules stated in canvas.h, plus the
// operations that only a bitmap has (surface flood fill, rectangle copy, pixels).

#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace pb {

class BitmapCanvas : public Canvas {
  public:
    // The canvas draws on `target`, which must outlive it and keep its size meanwhile.
    explicit BitmapCanvas(Bitmap& target) : target_(target) {}

    Size size() const override;
    Bitmap& bitmap() { return target_; }

    // Surface fill (FloodFill with FLOODFILLSURFACE): paints with the brush every pixel of
    // colour `surface` that is 4-connected to (x, y). Nothing happens when (x, y) lies outside
    // or does not have that colour. Returns whether anything was painted.
    bool FloodFill(int x, int y, TColor surface);

    // Copies srcRect of `src` onto destRect (CopyRect). A source rectangle whose right < left
    // or bottom < top mirrors the copy (see StretchBits for the pixels it covers); sizes that
    // differ stretch it nearest-pixel. `src` may be the canvas's own bitmap.
    void CopyRect(const Rect& destRect, const Bitmap& src, const Rect& srcRect);

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
    Bitmap& target_;
};

}  // namespace pb
