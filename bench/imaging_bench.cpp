// Speed of the region tools' geometry, each next to the plain operation it is measured
// against: rotation by 30 degrees and the four-corner warp of a 1000 x 1000 region against a
// copy of it, and the HALFTONE shrink of a 4000 x 3000 photo into 400 x 300 against a plain
// area average; the background fill in similar mode (SOLID and GRADATION) of a 1000 x 1000
// region against the same copy.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "imaging/colour_key_fill.h"
#include "imaging/image_geometry.h"
#include "imaging/quad_warp.h"
#include "platform/stretch.h"

namespace {

pb::Bitmap Noise(int w, int h) {
    pb::Bitmap bmp(w, h);
    std::uint32_t state = 12345;
    for (int y = 0; y < h; ++y) {
        std::uint8_t* p = bmp.scanLine(y);
        for (int x = 0; x < 3 * w; ++x) {
            state = state * 1103515245u + 12345u;
            p[x] = static_cast<std::uint8_t>(state >> 16);
        }
    }
    return bmp;
}

constexpr int kRegion = 1000;

void RegionCopy(benchmark::State& state) {
    const pb::Bitmap region = Noise(kRegion, kRegion);
    for (auto _ : state) {
        pb::Bitmap copy = region;
        benchmark::DoNotOptimize(copy.bits());
    }
}
BENCHMARK(RegionCopy)->Unit(benchmark::kMillisecond);

void RotateRegionBy30(benchmark::State& state) {
    const pb::Bitmap region = Noise(kRegion, kRegion);
    for (auto _ : state) {
        pb::Bitmap rotated = pb::RotateByAngle(region, 30, pb::clWhite);
        benchmark::DoNotOptimize(rotated.bits());
    }
}
BENCHMARK(RotateRegionBy30)->Unit(benchmark::kMillisecond);

// Rotation as the screen applies it: rotated, then squeezed back into the region's frame.
void RegionAt30Degrees(benchmark::State& state) {
    const pb::Bitmap region = Noise(kRegion, kRegion);
    for (auto _ : state) {
        pb::Bitmap turned = pb::RegionAtAngle(region, 30);
        benchmark::DoNotOptimize(turned.bits());
    }
}
BENCHMARK(RegionAt30Degrees)->Unit(benchmark::kMillisecond);

// Two corners moved in by a sixth: both passes resample every line.
void WarpRegion(benchmark::State& state) {
    const pb::Bitmap region = Noise(kRegion, kRegion);
    pb::WarpCorners corners = pb::PictureCorners(kRegion, kRegion);
    corners = pb::StepCorner(corners, 0, true, true, kRegion, kRegion);
    corners = pb::StepCorner(corners, 3, false, false, kRegion, kRegion);
    for (auto _ : state) {
        pb::Bitmap warped = pb::WarpQuadrilateral(region, corners, pb::clWhite);
        benchmark::DoNotOptimize(warped.bits());
    }
}
BENCHMARK(WarpRegion)->Unit(benchmark::kMillisecond);

// The background fill as the screen applies it: a copy of the region as opened, then the
// pixels within 50 of the key's brightness painted. On noise about two fifths of the pixels
// match, in no order a branch could learn.
void KeyFillSimilar(benchmark::State& state, pb::KeyFillStyle style) {
    const pb::Bitmap region = Noise(kRegion, kRegion);
    pb::KeyFill fill;
    fill.style = style;
    fill.colour = pb::RGB(0, 0, 255);
    for (int i = 0; i < 7; ++i) {
        fill.components.use[static_cast<std::size_t>(i)] = true;
        fill.components.colour[static_cast<std::size_t>(i)] = pb::RGB(30 * i, 255 - 30 * i, 99);
    }
    const pb::KeyMatch match = pb::KeyMatch::Similar(region.pixel(0, 0), 50);
    for (auto _ : state) {
        pb::Bitmap filled = pb::ApplyKeyFill(region, match, fill);
        benchmark::DoNotOptimize(filled.bits());
    }
}
BENCHMARK_CAPTURE(KeyFillSimilar, Solid, pb::KeyFillStyle::Solid)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KeyFillSimilar, Gradation, pb::KeyFillStyle::Gradation)
    ->Unit(benchmark::kMillisecond);

constexpr int kPhotoW = 4000, kPhotoH = 3000, kShrunkW = 400, kShrunkH = 300;

void HalftoneShrinkPhoto(benchmark::State& state) {
    const pb::Bitmap photo = Noise(kPhotoW, kPhotoH);
    for (auto _ : state) {
        pb::Bitmap shrunk = pb::StretchBitmap(photo, kShrunkW, kShrunkH, pb::StretchMode::Halftone);
        benchmark::DoNotOptimize(shrunk.bits());
    }
}
BENCHMARK(HalftoneShrinkPhoto)->Unit(benchmark::kMillisecond);

// The yardstick: every target pixel the plain mean of the source pixels whose index maps
// into it, summed pixel by pixel.
void PlainAreaAverage(benchmark::State& state) {
    const pb::Bitmap photo = Noise(kPhotoW, kPhotoH);
    for (auto _ : state) {
        pb::Bitmap shrunk(kShrunkW, kShrunkH);
        for (int y = 0; y < kShrunkH; ++y) {
            const int y0 = y * kPhotoH / kShrunkH, y1 = (y + 1) * kPhotoH / kShrunkH;
            std::uint8_t* out = shrunk.scanLine(y);
            for (int x = 0; x < kShrunkW; ++x) {
                const int x0 = x * kPhotoW / kShrunkW, x1 = (x + 1) * kPhotoW / kShrunkW;
                unsigned sum[3] = {0, 0, 0};
                for (int sy = y0; sy < y1; ++sy) {
                    const std::uint8_t* in = photo.scanLine(sy);
                    for (int sx = x0; sx < x1; ++sx)
                        for (int c = 0; c < 3; ++c) sum[c] += in[3 * sx + c];
                }
                const unsigned n = static_cast<unsigned>((y1 - y0) * (x1 - x0));
                for (int c = 0; c < 3; ++c) out[3 * x + c] = static_cast<std::uint8_t>(sum[c] / n);
            }
        }
        benchmark::DoNotOptimize(shrunk.bits());
    }
}
BENCHMARK(PlainAreaAverage)->Unit(benchmark::kMillisecond);

}  // namespace
