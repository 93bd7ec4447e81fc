#pragma once
// Small bitmaps written as text, one character a pixel, so that a test states the pixels it
// expects as a picture.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace pb::test {

constexpr TColor clGreen = 0x00FF00;

// '.' white, '#' black, 'o' red, 'g' green; '?' stands for any other colour in Art.
constexpr std::string_view kArtChars = ".#og";
constexpr TColor kArtColours[] = {clWhite, clBlack, clRed, clGreen};

inline std::string Art(const Bitmap& bmp) {
    std::string s;
    for (int y = 0; y < bmp.height(); ++y) {
        if (y) s += '\n';
        for (int x = 0; x < bmp.width(); ++x) {
            char c = '?';
            for (std::size_t i = 0; i < kArtChars.size(); ++i)
                if (bmp.pixel(x, y) == kArtColours[i]) c = kArtChars[i];
            s += c;
        }
    }
    return s;
}

// The rows of an expected picture, joined as Art joins them.
inline std::string Rows(std::initializer_list<const char*> rows) {
    std::string s;
    for (const char* r : rows) s += (s.empty() ? "" : "\n") + std::string(r);
    return s;
}

// The bitmap an expected picture shows (the inverse of Art).
inline Bitmap FromArt(std::initializer_list<const char*> rows) {
    Bitmap bmp(rows.size() ? static_cast<int>(std::string_view(*rows.begin()).size()) : 0,
               static_cast<int>(rows.size()));
    int y = 0;
    for (const std::string_view r : rows) {
        for (int x = 0; x < bmp.width(); ++x)
            if (const auto i = kArtChars.find(r[x]); i != std::string_view::npos)
                bmp.setPixel(x, y, kArtColours[i]);
        ++y;
    }
    return bmp;
}

// MoveTo the first point, LineTo the others.
inline void Chain(Canvas& c, std::initializer_list<Point> points) {
    c.MoveTo(points.begin()->x, points.begin()->y);
    for (auto p = points.begin() + 1; p != points.end(); ++p) c.LineTo(p->x, p->y);
}

// A bitmap whose every pixel differs from its neighbours, to see what a drawing changed.
inline Bitmap NoisyBitmap(int w, int h) {
    Bitmap bmp(w, h);
    std::uint32_t state = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            state = state * 1103515245u + 12345u;
            bmp.setPixel(x, y, (state >> 8) & 0xFFFFFF);
        }
    return bmp;
}

}  // namespace pb::test
