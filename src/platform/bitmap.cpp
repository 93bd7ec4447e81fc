#include "platform/bitmap.h"

#include <algorithm>
#include <cstring>

namespace pb {

namespace {
int StrideFor(int width) {
    return (width * 3 + 3) & ~3;
}
}  // namespace

Bitmap::Bitmap(int width, int height, TColor fill_colour)
    : width_(std::max(0, width)), height_(std::max(0, height)), stride_(StrideFor(width_)) {
    if (width_ == 0 || height_ == 0) {
        width_ = height_ = stride_ = 0;
        return;
    }
    data_.resize(static_cast<std::size_t>(stride_) * height_);
    fill(fill_colour);
}

void Bitmap::fill(TColor c) {
    if (isNull()) return;
    const std::uint8_t b = static_cast<std::uint8_t>(GetBValue(c));
    const std::uint8_t g = static_cast<std::uint8_t>(GetGValue(c));
    const std::uint8_t r = static_cast<std::uint8_t>(GetRValue(c));
    std::uint8_t* row0 = scanLine(0);
    if (b == g && g == r) {
        std::memset(row0, b, static_cast<std::size_t>(width_) * 3);
    } else {
        for (int x = 0; x < width_; ++x) {
            row0[3 * x] = b;
            row0[3 * x + 1] = g;
            row0[3 * x + 2] = r;
        }
    }
    for (int y = 1; y < height_; ++y)
        std::memcpy(scanLine(y), row0, static_cast<std::size_t>(stride_));
}

void Bitmap::fillSpan(int y, int left, int right, TColor c) {
    if (right <= left) return;
    std::uint8_t* p = scanLine(y) + 3 * left;
    const std::size_t n = static_cast<std::size_t>(right - left);
    const std::uint8_t b = static_cast<std::uint8_t>(GetBValue(c));
    const std::uint8_t g = static_cast<std::uint8_t>(GetGValue(c));
    const std::uint8_t r = static_cast<std::uint8_t>(GetRValue(c));
    if (b == g && g == r) {
        std::memset(p, b, 3 * n);
        return;
    }
    // Sixteen pixels (48 bytes) at a time.
    std::uint8_t pattern[48];
    for (int i = 0; i < 48; i += 3) pattern[i] = b, pattern[i + 1] = g, pattern[i + 2] = r;
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16, p += 48) std::memcpy(p, pattern, 48);
    for (; i < n; ++i, p += 3) std::memcpy(p, pattern, 3);
}

void Bitmap::resize(int width, int height, TColor fill_colour) {
    Bitmap grown(width, height, fill_colour);
    const int w = std::min(width_, grown.width_);
    const int h = std::min(height_, grown.height_);
    for (int y = 0; y < h; ++y)
        std::memcpy(grown.scanLine(y), scanLine(y), static_cast<std::size_t>(w) * 3);
    *this = std::move(grown);
}

bool operator==(const Bitmap& a, const Bitmap& b) {
    if (a.width_ != b.width_ || a.height_ != b.height_) return false;
    for (int y = 0; y < a.height_; ++y)
        if (std::memcmp(a.scanLine(y), b.scanLine(y), static_cast<std::size_t>(a.width_) * 3) != 0)
            return false;
    return true;
}

}  // namespace pb
