#include "imaging/track_bar_math.h"

#include <algorithm>
#include <cstdint>

namespace pb {

// Integer arithmetic throughout: the quotients are exact rationals truncated toward zero, as
// Trunc of the real quotient is, without a float landing just below a whole number.

int TrackThumbCentre(int position, int min, int max, int trackLength, int leftMargin) {
    if (max <= min) return leftMargin;
    const std::int64_t offset =
        std::int64_t{position - min} * trackLength / (std::int64_t{max} - min);
    return static_cast<int>(offset) + leftMargin;
}

bool TrackHitsThumb(int x, int thumbCentre, int thumbWidth) {
    const int half = thumbWidth / 2;
    return x >= thumbCentre - half && x <= thumbCentre + half;
}

int TrackDragPosition(int x, int downX, int downPosition, int min, int max, int trackLength) {
    if (trackLength <= 0) return std::clamp(downPosition, min, max);
    const std::int64_t moved = (std::int64_t{x} - downX) * (std::int64_t{max} - min) / trackLength;
    return static_cast<int>(std::clamp<std::int64_t>(downPosition + moved, min, max));
}

}  // namespace pb
