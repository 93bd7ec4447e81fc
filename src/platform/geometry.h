#pragma once
// Integer points and rectangles in the GDI sense: a Rect's right and bottom are exclusive
// for fills and copies, and shapes drawn "from (l, t) to (r, b)" cover l..r-1 and t..b-1.

#include <algorithm>

namespace pb {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// A point between pixels, for warps, outlines and scan conversion.
struct PointF {
    double x = 0;
    double y = 0;
    friend bool operator==(const PointF&, const PointF&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }
    // The same rectangle with left <= right and top <= bottom.
    constexpr Rect normalized() const {
        return {std::min(left, right), std::min(top, bottom), std::max(left, right),
                std::max(top, bottom)};
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

constexpr Rect RectOfSize(int x, int y, int w, int h) {
    return {x, y, x + w, y + h};
}

// A run of pixels in row y, columns left..right-1.
struct Span {
    int y = 0;
    int left = 0;
    int right = 0;
    friend bool operator==(const Span&, const Span&) = default;
};

}  // namespace pb
