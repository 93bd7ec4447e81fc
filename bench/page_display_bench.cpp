// Speed of showing a white A4 page (794 x 1123) at zoom 50 after a stroke: the page control
// drawn again after a short line is painted on it (only the reached part averaged again),
// against the same control with its shrink rebuilt whole, and against the plain nearest
// drawing shown at full size and above.
#include <benchmark/benchmark.h>

#include <QImage>

#include "platform/stretch.h"
#include "platform/ui/image_control.h"

namespace {

constexpr int kPageW = 794, kPageH = 1123;

struct ShownPage {
    explicit ShownPage(bool smooth) {
        control.setStretch(true);
        control.setSmoothShrink(smooth);
        control.setPicture(pb::Bitmap(kPageW, kPageH, pb::clWhite));
        control.resize(kPageW / 2, kPageH / 2);
        control.render(&target);
    }
    // A 40-pixel stroke segment, moving along the page from one call to the next.
    void Stroke() {
        step = (step + 1) % 500;
        for (int i = 0; i < 40; ++i) control.picture().setPixel(100 + step + i, 200 + step, pb::clRed);
        control.pictureChanged();
    }
    pb::ImageControl control;
    QImage target{kPageW / 2, kPageH / 2, QImage::Format_RGB32};
    int step = 0;
};

void PageAt50AfterStroke(benchmark::State& state) {
    ShownPage page(true);
    for (auto _ : state) {
        page.Stroke();
        page.control.render(&page.target);
    }
}
BENCHMARK(PageAt50AfterStroke)->Unit(benchmark::kMillisecond);

void PageAt50ShrunkWhole(benchmark::State& state) {
    const pb::Bitmap page(kPageW, kPageH, pb::clWhite);
    for (auto _ : state) {
        pb::Bitmap shown = pb::StretchBitmap(page, kPageW / 2, kPageH / 2, pb::StretchMode::Halftone);
        benchmark::DoNotOptimize(shown.bits());
    }
}
BENCHMARK(PageAt50ShrunkWhole)->Unit(benchmark::kMillisecond);

void PageAt50NearestAfterStroke(benchmark::State& state) {
    ShownPage page(false);
    for (auto _ : state) {
        page.Stroke();
        page.control.render(&page.target);
    }
}
BENCHMARK(PageAt50NearestAfterStroke)->Unit(benchmark::kMillisecond);

}  // namespace
