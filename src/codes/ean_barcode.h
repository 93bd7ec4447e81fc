#pragma once
// EAN-13 and EAN-8 barcodes: check digit completion, module patterns and drawing.
// A module pattern is a string of '1' (dark module) and '0' (light module).

#include <string>
#include <string_view>

#include "platform/canvas.h"

namespace pb {

// The pattern of "0000000000000", drawn for any code that has no pattern of its own.
extern const char kEanFallbackPattern[];
constexpr const char* kEanFallbackText = "0000000000000";

// The 12 digits followed by their check digit; "0000000000000" unless `digits` is exactly
// 12 decimal digits.
std::string EanCheck13(std::string_view digits);
// The 7 digits followed by their check digit; "00000000" unless `digits` is exactly 7
// decimal digits.
std::string EanCheck8(std::string_view digits);

// The module pattern of a full code: start guard, left half (EAN-13: sets A and B chosen by
// the first digit; EAN-8: set A), centre guard, right half (set C), end guard and one light
// module; 96 modules for EAN-13, 68 for EAN-8. Any other length, or a character that is not
// a digit, gives the fallback pattern.
std::string EanPattern(std::string_view code);

// Draws the bars of `code` centred in `availableWidth` from `left` (never left of it), each
// module `moduleWidth` pixels wide and the bars two thirds of `height` high from `top`, in
// one-pixel vertical lines with the canvas pen; and the digits as one centred string under
// the bars in the canvas font's face and colour at 8 points.
void DrawEan(Canvas& canvas, std::string_view code, int left, int moduleWidth, int height,
             int availableWidth, int top);

}  // namespace pb
