#pragma once
// Shared by the object tests: records made in one line.

#include <gtest/gtest.h>

#include <vector>

#include "common/app_state.h"
#include "objects/strdata.h"
#include "support/test_support.h"

namespace pb::test {

constexpr TColor kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kGreen = RGB(0, 160, 0);
constexpr TColor kYellow = RGB(255, 255, 0), kNavy = RGB(0, 0, 128);
constexpr int kPageHeight = 559;  // a postcard page

// A decorated shape `w` x `h` (kept in FontSize and Align) of shape kind `kind`.
inline ObjectRecord ShapeRecord(int w, int h, int kind = 1) {
    ObjectRecord r = NewShapeObject(0, kPageHeight, false);
    r.Text = "vrnSHAPE" + std::to_string(kind);
    r.FontSize = w;
    r.Align = h;
    return r;
}
inline ObjectRecord TextRecord(const std::string& text, int size = 36) {
    ObjectRecord r = NewDecoratedText(0, kPageHeight, false);
    r.Text = text;
    r.FontSize = size;
    return r;
}
inline ObjectRecord PlainRecord(const std::string& text, int size = 10) {
    ObjectRecord r = NewPlainObject(0, kPageHeight, false);
    r.Text = text;
    r.FontSize = size;
    return r;
}
// Turns on the first component colours.
inline void UseColours(ObjectRecord& r, const std::vector<TColor>& colours) {
    std::size_t i = 0;
    for (TColor c : colours) {
        r.UseColor[i] = true;
        r.Color[i++] = c;
    }
}

// A plain text of 16 points and a rectangle, both in blue, as the renderer tests draw them.
inline ObjectRecord BluePlain(const std::string& text = "あいう\r\n12") {
    ObjectRecord r = PlainRecord(text, 16);
    r.FontColor = kBlue;
    return r;
}

inline ObjectRecord BlueRectangle(int w, int h, int fillStyle) {
    ObjectRecord r = ShapeRecord(w, h);
    r.FillStyle = fillStyle;
    r.FillColor = kBlue;
    return r;
}

}  // namespace pb::test
