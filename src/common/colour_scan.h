#pragma once
// Colour scans over a whole bitmap.

#include <array>

#include "platform/bitmap.h"

namespace pb {

// The first three distinct colours met scanning rows top to bottom, pixels left to right.
// A missing second or third colour repeats the first. An empty bitmap gives white three times.
std::array<TColor, 3> FirstThreeColours(const Bitmap& bmp);

// True when the bitmap holds one colour only.
bool IsSingleColour(const Bitmap& bmp);

}  // namespace pb
