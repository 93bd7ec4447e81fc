#pragma once
// The 24-bit bitmap every page, region, object image and snapshot is made of.
// Pixels are stored blue, green, red, rows top to bottom, each row padded to a multiple of
// four bytes (the DIB row layout, so a row can be written to a BMP file as it stands).
// Bitmap is a value type: copies are deep.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/colour.h"
#include "platform/geometry.h"

namespace pb {

class Bitmap {
  public:
    Bitmap() = default;
    // A width x height bitmap filled with `fill`. Sizes below zero are treated as zero.
    Bitmap(int width, int height, TColor fill = clWhite);

    int width() const { return width_; }
    int height() const { return height_; }
    Size size() const { return {width_, height_}; }
    bool isNull() const { return width_ == 0 || height_ == 0; }
    // Bytes from the start of one row to the start of the next.
    int stride() const { return stride_; }

    std::uint8_t* scanLine(int y) { return data_.data() + static_cast<std::size_t>(y) * stride_; }
    const std::uint8_t* scanLine(int y) const {
        return data_.data() + static_cast<std::size_t>(y) * stride_;
    }
    std::uint8_t* bits() { return data_.data(); }
    const std::uint8_t* bits() const { return data_.data(); }
    std::size_t byteCount() const { return data_.size(); }

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    // Pixel access; the coordinates must lie inside the bitmap.
    TColor pixel(int x, int y) const {
        const std::uint8_t* p = scanLine(y) + 3 * x;
        return RGB(p[2], p[1], p[0]);
    }
    void setPixel(int x, int y, TColor c) {
        std::uint8_t* p = scanLine(y) + 3 * x;
        p[0] = static_cast<std::uint8_t>(GetBValue(c));
        p[1] = static_cast<std::uint8_t>(GetGValue(c));
        p[2] = static_cast<std::uint8_t>(GetRValue(c));
    }

    void fill(TColor c);
    // Paints columns left..right-1 of row y, which must lie inside the bitmap.
    void fillSpan(int y, int left, int right, TColor c);
    // Changes the size as assigning a bitmap's width and height does: the pixels that stay
    // inside keep their place at the top-left, new pixels take `fill`.
    void resize(int width, int height, TColor fill = clWhite);

    friend bool operator==(const Bitmap& a, const Bitmap& b);

  private:
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    std::vector<std::uint8_t> data_;
};

}  // namespace pb
