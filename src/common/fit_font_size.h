#pragma once
// FitFontSize: the largest font size, not above the record's own, at which a text fits the
// box of its object on the page. Screens that change an object's text call it (the keyboard's
// confirm for an object, the text stamp screens), so it lives below all of them.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas.h"

namespace pb {

// The smallest size the fitting goes down to.
inline constexpr int kSmallestFontSize = 3;
// The largest size the fitting starts from.
inline constexpr int kLargestFittedSize = 10000;

struct FitFontRequest {
    std::string_view text;   // UTF-8; lines end with CR LF, LF or CR
    std::string fontFamily;  // the record's face, already looked up (FontNameForIndex)
    int recordSize = 0;      // the record's font size in points: the result never exceeds it
    int boxWidth = 0;        // the object's box on the page, in page pixels at the current zoom
    int boxHeight = 0;
    // Record kind "1" (decorated text): the box shrinks to 10/11 (integer division), the face
    // is bold and the record's margin comes off the height.
    bool decorated = false;
    int margin = 0;
};

// Width and height in pixels of one line of text in `font`.
using MeasureLine = std::function<Size(std::string_view line, const Font& font)>;

// Tries sizes from the record's size downwards until every line fits the width and the lines
// together fit the height; an empty line is measured as a single space. The result lies
// between kSmallestFontSize and the record's size (a record size below the smallest size
// gives the smallest).
int FitFontSize(const FitFontRequest& request, const MeasureLine& measure);
// The same, measuring with a canvas's TextWidth and TextHeight (a scratch bitmap's canvas);
// the canvas's font is changed.
int FitFontSize(const FitFontRequest& request, Canvas& canvas);

// The lines of a text as the fitting counts them (a final line break starts no new line).
std::vector<std::string_view> SplitTextLines(std::string_view text);

}  // namespace pb
