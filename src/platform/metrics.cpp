#include "platform/metrics.h"

#include <algorithm>
#include <cmath>

namespace pb {

double ScreenScaleFactor(int workWidth, int workHeight) {
    const double fits = std::min(static_cast<double>(workWidth) / kLayoutWidth,
                                 static_cast<double>(workHeight) / kLayoutHeight);
    const double step = std::floor(fits * 4) / 4;
    return step < 1.25 ? 1.0 : step;
}

}  // namespace pb
