#pragma once
// The text stamps of the region editor: a plain text with an optional background (TForm14)
// and a decorated text (TForm15), burnt into the region's bitmap. They are drawn as the
// objects are (object_renderer.h, decorated_path.h), with STRIPE bands that follow the font
// size instead of the objects' fixed width; no object record remains.

#include <string>

#include "objects/strdata.h"
#include "platform/bitmap.h"
#include "platform/geometry.h"

namespace pb {

// Font sizes in points: the range of the size buttons and the size the fitting starts from.
constexpr int kPlainStampSmallestSize = 8;
constexpr int kPlainStampLargestSize = 64;
constexpr int kPlainStampStartSize = 12;
constexpr int kDecoratedStampSmallestSize = 10;
constexpr int kDecoratedStampLargestSize = 500;
constexpr int kDecoratedStampStartSize = 36;

// STRIPE band widths in pixels: max(1, size / 7) behind a plain stamp, max(1, size / 24) in
// a decorated stamp's body.
int PlainStampStripeWidth(int sizePoints);
int DecoratedStampStripeWidth(int sizePoints);

// The size a stamp opens with: the largest, from the start size down, at which `text` fits
// the region (plain: measured regular; decorated: bold, within 10/11 of the region's width
// and height). Never below the smallest size the fitting knows (3).
int PlainStampStartFontSize(const std::string& text, const std::string& family, Size region);
int DecoratedStampStartFontSize(const std::string& text, const std::string& family, Size region);

// Draws a plain text stamp (a family "0" record; Left and Top are not used) with the top-left
// of its box at `at`: its background (BackStyle 1..3, the band width of the stamp), then its
// lines. BackStyle 0 leaves the pixels under the box alone. What lies outside `target` is cut
// off. False when the text has no drawable box and nothing was drawn.
bool BurnPlainStamp(Bitmap& target, Point at, const ObjectRecord& rec);

// Copies every pixel of `picture` that is not KeyColour onto `target`, the picture's top-left
// at `at`, cut to the target's edges. Returns how many pixels were copied.
long long CopyNonKeyPixels(Bitmap& target, Point at, const Bitmap& picture);

// The arch and slant buttons of the decorated stamp: buttons 1 and 2 bend an arch, 3 and 4
// slant; 1 and 3 take `step` off the amount, 2 and 4 add it. A button of the other mode
// switches the mode and starts from amount 0. Buttons outside 1..4 change nothing.
struct StampDeformation {
    int mode = 1;  // 1 arch, 2 slant
    int amount = 0;
    friend bool operator==(const StampDeformation&, const StampDeformation&) = default;
};
StampDeformation NextDeformation(StampDeformation now, int button, int step);

}  // namespace pb
