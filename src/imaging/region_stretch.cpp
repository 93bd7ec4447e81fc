#include "imaging/region_stretch.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "platform/stretch.h"

namespace pb {

namespace {

constexpr int kStretchStep = 5;
// A thousand-fold enlargement already shows single pixels of any region; beyond it the
// rectangle sizes would leave the integer range.
constexpr int kMaxDrawnScale = 100000;

}  // namespace

StretchStep StepStretchScale(int scale, bool enlarge) {
    const long long next = static_cast<long long>(scale) + (enlarge ? kStretchStep : -kStretchStep);
    const int s = static_cast<int>(std::clamp<long long>(next, INT_MIN + 5, INT_MAX - 5));
    return {s, s >= kStretchStep};
}

Bitmap StretchAboutCentre(const Bitmap& opened, int scale) {
    const int W = opened.width();
    const int H = opened.height();
    Bitmap out(W, H, clWhite);
    const std::int64_t s = std::clamp(scale, kStretchStep, kMaxDrawnScale);
    const int w = static_cast<int>(W * s / 100);
    const int h = static_cast<int>(H * s / 100);
    const int x = (W - w) / 2;
    const int y = (H - h) / 2;
    const StretchMode mode = (W >= w || H >= h) ? StretchMode::Halftone : StretchMode::ColorOnColor;
    StretchBits(out, {x, y, x + w, y + h}, opened, {0, 0, W, H}, mode);
    return out;
}

}  // namespace pb
