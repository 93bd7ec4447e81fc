#pragma once
// Canvas fonts as Qt fonts, for measuring and drawing text.

#include <QFont>

#include "platform/canvas.h"

namespace pb {

// Pixel size of a font of `points` on a device of `dpi` logical pixels per inch, as a
// screen device context sizes it: round(points * dpi / 72), at least 1.
int FontPixelSize(int points, int dpi);

// The Qt font for `font` on a device of `dpi`: family, pixel size, bold and italic, and no
// antialiasing (every glyph pixel is either the text colour or untouched).
QFont QtFontFor(const Font& font, int dpi);

}  // namespace pb
