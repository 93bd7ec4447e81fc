#pragma once
// Small bitmaps written as text, one character a pixel, so that a test states the pixels it
// expects as a picture.

#include <string>
#include <vector>

#include "platform/bitmap.h"

namespace pb::test {

// '.' white, '#' black, 'o' red, 'g' green, '?' anything else; rows joined with '\n'.
inline std::string Art(const Bitmap& bmp) {
    std::string s;
    for (int y = 0; y < bmp.height(); ++y) {
        if (y) s += '\n';
        for (int x = 0; x < bmp.width(); ++x) {
            switch (bmp.pixel(x, y)) {
                case 0xFFFFFF:
                    s += '.';
                    break;
                case 0x000000:
                    s += '#';
                    break;
                case 0x0000FF:
                    s += 'o';
                    break;
                case 0x00FF00:
                    s += 'g';
                    break;
                default:
                    s += '?';
                    break;
            }
        }
    }
    return s;
}

// The rows of an expected picture, joined as Art joins them.
inline std::string Rows(std::initializer_list<const char*> rows) {
    std::string s;
    for (const char* r : rows) {
        if (!s.empty()) s += '\n';
        s += r;
    }
    return s;
}

// The bitmap an expected picture shows (the inverse of Art).
inline Bitmap FromArt(std::initializer_list<const char*> rows) {
    const int h = static_cast<int>(rows.size());
    const int w = h ? static_cast<int>(std::string(*rows.begin()).size()) : 0;
    Bitmap bmp(w, h);
    int y = 0;
    for (const char* r : rows) {
        for (int x = 0; x < w; ++x) {
            switch (r[x]) {
                case '#':
                    bmp.setPixel(x, y, 0x000000);
                    break;
                case 'o':
                    bmp.setPixel(x, y, 0x0000FF);
                    break;
                case 'g':
                    bmp.setPixel(x, y, 0x00FF00);
                    break;
                default:
                    break;
            }
        }
        ++y;
    }
    return bmp;
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
