#include "common/colour_scan.h"

#include <cstring>

namespace pb {

std::array<TColor, 3> FirstThreeColours(const Bitmap& bmp) {
    if (bmp.isNull()) return {clWhite, clWhite, clWhite};
    std::array<TColor, 3> found{};
    int count = 0;
    for (int y = 0; y < bmp.height() && count < 3; ++y) {
        const std::uint8_t* row = bmp.scanLine(y);
        for (int x = 0; x < bmp.width() && count < 3; ++x) {
            const TColor c = RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
            bool seen = false;
            for (int i = 0; i < count; ++i) seen = seen || found[i] == c;
            if (!seen) found[count++] = c;
        }
    }
    if (count < 2) found[1] = found[0];
    if (count < 3) found[2] = found[0];
    return found;
}

bool IsSingleColour(const Bitmap& bmp) {
    // Same answer as comparing the first three colours, without building them: every pixel
    // equals the first one.
    if (bmp.isNull()) return true;
    const std::uint8_t* first = bmp.scanLine(0);
    const std::size_t rowBytes = static_cast<std::size_t>(bmp.width()) * 3;
    const std::uint8_t* row0 = bmp.scanLine(0);
    for (std::size_t i = 3; i < rowBytes; i += 3)
        if (std::memcmp(row0 + i, first, 3) != 0) return false;
    for (int y = 1; y < bmp.height(); ++y)
        if (std::memcmp(bmp.scanLine(y), row0, rowBytes) != 0) return false;
    return true;
}

}  // namespace pb
