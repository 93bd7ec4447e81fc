#pragma once
// The computed fill styles: STRIPE and GRADATION of the selected component colours, and the
// plain colour replacement they fall back to. Every routine changes only the pixels whose
// colour equals `key` (the renderers pass white on a freshly made white bitmap), so text or
// shapes already drawn in other colours keep theirs.
//
// The seven component colours are slots 1..7, each a colour and a use flag; only the slots in
// use take part, in slot order. With none in use the routines do nothing; with one they paint
// every key pixel in it.
//
// Each routine also comes with a KeyMatch in place of the key: the exact test above, or the
// similar-colour test of the background fill. The exact test keeps its fast path of whole
// runs of key pixels; the similar test is a second predicate over the same fills.

#include <array>
#include <vector>

#include "platform/bitmap.h"
#include "platform/colour.h"

namespace pb {

// Slots 1..7 as indices 0..6.
struct ComponentColours {
    std::array<bool, 7> use{};
    std::array<TColor, 7> colour{clWhite, clWhite, clWhite, clWhite, clWhite, clWhite, clWhite};
};

// Which pixels a fill paints.
//  - exact: the pixel's three bytes equal the key's;
//  - similar: its brightness 0.299 R + 0.587 G + 0.114 B lies within `threshold` (0..255,
//    clamped) of the key's. The brightness is measured exactly, in thousandths as whole
//    numbers, so that threshold 0 takes every pixel of exactly the key's brightness, which
//    sums of binary fractions would miss for some colours.
struct KeyMatch {
    TColor key = clWhite;
    bool similar = false;
    int threshold = 0;

    static KeyMatch Exact(TColor key) { return {key, false, 0}; }
    static KeyMatch Similar(TColor key, int threshold) { return {key, true, threshold}; }
    // Whether a colour passes the test.
    bool matches(TColor c) const;
};

// Brightness in thousandths: 299 R + 587 G + 114 B (0..255000).
constexpr int BrightnessMilli(TColor c) {
    return 299 * GetRValue(c) + 587 * GetGValue(c) + 114 * GetBValue(c);
}

// The colours of the slots in use, in slot order.
std::vector<TColor> SelectedColours(const ComponentColours& components);

// Every key pixel becomes `colour`.
void ReplaceColour(Bitmap& bmp, TColor key, TColor colour);

// Bands `bandWidth` pixels wide, cycling through the selected colours. Not horizontal: vertical
// bands, every row starting afresh with the first colour at x = 0; horizontal: horizontal
// bands counted from row 0. A band width below 1 counts as 1.
void StripeFill(Bitmap& bmp, int bandWidth, const ComponentColours& components, TColor key,
                bool horizontal);

// Linear blends from each selected colour to the next, top to bottom (Down) or left to right
// (Across). With n colours the height (width) is cut into n - 1 segments of H / (n - 1) rows
// each; within a segment row t of g takes start + (end - start) * t / g per channel, rounded
// half to even; the rows left over at the end take the last colour.
void GradationFillDown(Bitmap& bmp, const ComponentColours& components, TColor key);
void GradationFillAcross(Bitmap& bmp, const ComponentColours& components, TColor key);

// The same fills with a KeyMatch instead of the exact key. With `from` (of bmp's size, and bmp
// holding a copy of it) the pixels are tested and kept from `from`: a fill that starts again
// from a picture as opened reads that picture, so no row has to be copied before its pixels
// are painted.
void ReplaceColour(Bitmap& bmp, const KeyMatch& match, TColor colour, const Bitmap* from = nullptr);
void StripeFill(Bitmap& bmp, int bandWidth, const ComponentColours& components,
                const KeyMatch& match, bool horizontal, const Bitmap* from = nullptr);
void GradationFillDown(Bitmap& bmp, const ComponentColours& components, const KeyMatch& match,
                       const Bitmap* from = nullptr);
void GradationFillAcross(Bitmap& bmp, const ComponentColours& components, const KeyMatch& match,
                         const Bitmap* from = nullptr);

// Every matching pixel takes the pixel at the same place of `picture`; pixels beyond the
// picture's width or height keep theirs.
void ReplaceFromPicture(Bitmap& bmp, const KeyMatch& match, const Bitmap& picture,
                        const Bitmap* from = nullptr);

// The blended colour of position t (0 <= t < g) of a segment from `start` to `end`.
TColor BlendColour(TColor start, TColor end, int t, int g);

}  // namespace pb
