#pragma once
// The computed fill styles: STRIPE and GRADATION of the selected component colours, and the
// plain colour replacement they fall back to. Every routine changes only the pixels whose
// colour equals `key` (the renderers pass white on a freshly made white bitmap), so text or
// shapes already drawn in other colours keep theirs.
//
// The seven component colours are slots 1..7, each a colour and a use flag; only the slots in
// use take part, in slot order. With none in use the routines do nothing; with one they paint
// every key pixel in it.

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

// The blended colour of position t (0 <= t < g) of a segment from `start` to `end`.
TColor BlendColour(TColor start, TColor end, int t, int g);

}  // namespace pb
