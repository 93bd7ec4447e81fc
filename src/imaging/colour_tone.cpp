#include "imaging/colour_tone.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace pb {

namespace {

using ByteTable = std::array<std::uint8_t, 256>;

int Scaled(int offset) {
    return std::clamp(offset, -100, 100) * 255 / 100;
}

ByteTable ShiftTable(int shift) {
    ByteTable t{};
    for (int v = 0; v < 256; ++v)
        t[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(std::clamp(v + shift, 0, 255));
    return t;
}

}  // namespace

Bitmap AdjustTone(const Bitmap& opened, const ToneOffsets& offsets) {
    Bitmap out = opened;
    const int overall = Scaled(offsets.overall);
    // Bytes stored blue, green, red.
    const std::array<ByteTable, 3> tables = {ShiftTable(overall + Scaled(offsets.blue)),
                                             ShiftTable(overall + Scaled(offsets.green)),
                                             ShiftTable(overall + Scaled(offsets.red))};
    for (int y = 0; y < out.height(); ++y) {
        std::uint8_t* p = out.scanLine(y);
        for (int x = 0; x < out.width(); ++x, p += 3) {
            p[0] = tables[0][p[0]];
            p[1] = tables[1][p[1]];
            p[2] = tables[2][p[2]];
        }
    }
    return out;
}

}  // namespace pb
