// Speed of the bitmap operations the page tools lean on, each next to the plain operation it
// is measured against: a flood fill of a whole page against copying the page, saving a page
// against writing the same bytes with fwrite, and free-hand strokes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/bitmap_canvas.h"
#include "platform/flood_fill.h"
#include "platform/picture_io.h"

namespace {

// An A4 page at 96 pixels per inch.
constexpr int kPageWidth = 794;
constexpr int kPageHeight = 1123;

void PageCopy(benchmark::State& state) {
    const pb::Bitmap page(kPageWidth, kPageHeight, pb::clWhite);
    for (auto _ : state) {
        pb::Bitmap copy = page;
        benchmark::DoNotOptimize(copy.bits());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * page.byteCount());
}
BENCHMARK(PageCopy)->Unit(benchmark::kMillisecond);

// Alternates two colours so that every run fills the whole page.
void FloodFillWholePage(benchmark::State& state) {
    pb::Bitmap page(kPageWidth, kPageHeight, pb::clWhite);
    pb::TColor surface = pb::clWhite, fill = pb::clSilver;
    for (auto _ : state) {
        pb::FloodFillSurface(page, kPageWidth / 2, kPageHeight / 2, surface, fill);
        std::swap(surface, fill);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kPageWidth *
                            kPageHeight);
}
BENCHMARK(FloodFillWholePage)->Unit(benchmark::kMillisecond);

// The same through the canvas with a coloured (not grey) brush.
void CanvasFloodFillWholePage(benchmark::State& state) {
    pb::Bitmap page(kPageWidth, kPageHeight, pb::clWhite);
    pb::BitmapCanvas canvas(page);
    pb::TColor surface = pb::clWhite;
    for (auto _ : state) {
        canvas.brush.colour = surface == pb::clWhite ? pb::RGB(250, 200, 30) : pb::clWhite;
        canvas.FloodFill(10, 10, surface);
        surface = canvas.brush.colour;
    }
}
BENCHMARK(CanvasFloodFillWholePage)->Unit(benchmark::kMillisecond);

std::string BenchFile(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

void SaveBmpPage(benchmark::State& state) {
    const pb::Bitmap page(kPageWidth, kPageHeight, pb::RGB(10, 200, 30));
    const std::string path = BenchFile("popboard-bench-save.bmp");
    for (auto _ : state) benchmark::DoNotOptimize(pb::SaveBmp(page, path));
    std::filesystem::remove(path);
}
BENCHMARK(SaveBmpPage)->Unit(benchmark::kMillisecond);

void FwriteSameBytes(benchmark::State& state) {
    const std::string bytes =
        pb::EncodeBmp(pb::Bitmap(kPageWidth, kPageHeight, pb::RGB(10, 200, 30)));
    const std::string path = BenchFile("popboard-bench-fwrite.bmp");
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    std::filesystem::remove(path);
}
BENCHMARK(FwriteSameBytes)->Unit(benchmark::kMillisecond);

// A free-hand stroke: 1000 LineTo segments of a few pixels, wandering over the page.
void FreeHandStroke(benchmark::State& state) {
    pb::Bitmap page(kPageWidth, kPageHeight, pb::clWhite);
    pb::BitmapCanvas canvas(page);
    canvas.pen.width = static_cast<int>(state.range(0));
    canvas.pen.colour = pb::clRed;
    for (auto _ : state) {
        canvas.MoveTo(100, 100);
        int x = 100, y = 100;
        for (int i = 0; i < 1000; ++i) {
            x = 100 + (i * 7) % 600;
            y = 100 + (i * 13 + (i / 50) * 40) % 900;
            canvas.LineTo(x, y);
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 1000);
}
BENCHMARK(FreeHandStroke)->Arg(2)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace
