#include "common/zoom_steps.h"

#include <algorithm>

namespace pb {

int ZoomStep(int zoom, bool up, ZoomSteps steps) {
    int next = zoom;
    if (steps == ZoomSteps::Tens) {
        next = up ? zoom + 10 : zoom - 10;
    } else if (up) {
        // Below 100 the steps are tens, from 100 on hundreds.
        next = zoom < 100 ? zoom + 10 : zoom + 100;
    } else {
        next = zoom <= 100 ? zoom - 10 : zoom - 100;
    }
    return std::clamp(next, kZoomMin, kZoomMax);
}

int SpinStep(int value, int step, int low, int high) {
    const long long next = static_cast<long long>(value) + step;
    return static_cast<int>(std::clamp<long long>(next, low, high));
}

}  // namespace pb
