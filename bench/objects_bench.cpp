// Speed of the overlay objects: opening a work with 200 decorated texts (each rendered into
// its object image as the main screen does), and the stripe and gradation fills over an A4
// page next to a plain copy of the page.
#include <benchmark/benchmark.h>

#include <QWidget>
#include <filesystem>
#include <string>

#include "common/app_state.h"
#include "common/fill_styles.h"
#include "common/ui/object_image.h"
#include "common/ui/screen_hub.h"
#include "objects/object_renderer.h"
#include "objects/ui/object_images.h"
#include "objects/strdata.h"
#include "platform/file_service.h"
#include "platform/ui/image_control.h"

namespace {

constexpr int kPageWidth = 794;  // A4 at 96 pixels per inch
constexpr int kPageHeight = 1123;

// The page area of a main screen: where object images are created and placed.
class BenchHub : public pb::ScreenHub {
  public:
    BenchHub() {
        page = new pb::ImageControl(&area);
        page->setPicture(pb::Bitmap(kPageWidth, kPageHeight));
        page->setGeometry(0, 0, kPageWidth / 2, kPageHeight / 2);
        pb::InstallHub(this);
    }
    ~BenchHub() override { pb::InstallHub(nullptr); }
    QWidget* PageArea() override { return &area; }
    pb::ImageControl* PageImage() override { return page; }
    int Zoom() override { return 50; }

    QWidget area;
    pb::ImageControl* page;
};

std::string ObjectFolder() {
    const auto dir = std::filesystem::temp_directory_path() / "popboard-bench-objects";
    std::filesystem::create_directories(dir);
    return dir.string() + "/";
}

// 200 decorated texts of ten characters, 36 pt, with shadow and an arch, as a full work holds
// them.
void WriteFullWork(const std::string& folder) {
    const char* texts[] = {"本日限りの大特価セール", "新鮮な野菜を毎日お届け",
                           "ポイント二倍デー開催中", "お買い得品コーナーです"};
    for (int n = 0; n < pb::kObjectSlots; ++n) {
        pb::ObjectRecord r = pb::NewDecoratedText(n, kPageHeight, false);
        r.Text = texts[n % 4];
        r.FontSize = 36;
        r.Shadow = true;
        r.DeformMode = 1;
        r.DeformAmount = -20 - n % 10;
        r.FillColor = pb::RGB(255, 200, 0);
        pb::WriteObject(folder, n, r);
    }
}

void OpenFullWork(benchmark::State& state) {
    BenchHub hub;
    const std::string folder = ObjectFolder();
    WriteFullWork(folder);
    for (auto _ : state) {
        for (int n = 0; n < pb::kObjectSlots; ++n) pb::RenderObject(folder, n, true, true);
        state.PauseTiming();
        pb::ObjectImages().FreeAll();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * pb::kObjectSlots);
    std::filesystem::remove_all(folder);
}
BENCHMARK(OpenFullWork)->Unit(benchmark::kMillisecond)->UseRealTime();

pb::ComponentColours Rainbow() {
    pb::ComponentColours c;
    for (std::size_t i = 0; i < 7; ++i) {
        c.use[i] = true;
        c.colour[i] = pb::RGB(static_cast<int>(30 * i), 200, static_cast<int>(255 - 30 * i));
    }
    return c;
}

void A4PageCopy(benchmark::State& state) {
    const pb::Bitmap page(kPageWidth, kPageHeight, pb::clWhite);
    for (auto _ : state) {
        pb::Bitmap copy = page;
        benchmark::DoNotOptimize(copy.bits());
    }
}
BENCHMARK(A4PageCopy)->Unit(benchmark::kMicrosecond);

// Each fill runs on a fresh white page, so that every pixel is a key pixel and changes.
template <typename Fill>
void FillWholePage(benchmark::State& state, Fill fill) {
    pb::Bitmap page(kPageWidth, kPageHeight, pb::clWhite);
    const pb::ComponentColours colours = Rainbow();
    for (auto _ : state) {
        fill(page, colours);
        benchmark::DoNotOptimize(page.bits());
        state.PauseTiming();
        page.fill(pb::clWhite);
        state.ResumeTiming();
    }
}

void A4StripeFill(benchmark::State& state) {
    FillWholePage(state, [](pb::Bitmap& b, const pb::ComponentColours& c) {
        pb::StripeFill(b, 5, c, pb::clWhite, false);
    });
}
BENCHMARK(A4StripeFill)->Unit(benchmark::kMicrosecond);

void A4StripeFillHorizontal(benchmark::State& state) {
    FillWholePage(state, [](pb::Bitmap& b, const pb::ComponentColours& c) {
        pb::StripeFill(b, 5, c, pb::clWhite, true);
    });
}
BENCHMARK(A4StripeFillHorizontal)->Unit(benchmark::kMicrosecond);

void A4GradationFillDown(benchmark::State& state) {
    FillWholePage(state, [](pb::Bitmap& b, const pb::ComponentColours& c) {
        pb::GradationFillDown(b, c, pb::clWhite);
    });
}
BENCHMARK(A4GradationFillDown)->Unit(benchmark::kMicrosecond);

void A4GradationFillAcross(benchmark::State& state) {
    FillWholePage(state, [](pb::Bitmap& b, const pb::ComponentColours& c) {
        pb::GradationFillAcross(b, c, pb::clWhite);
    });
}
BENCHMARK(A4GradationFillAcross)->Unit(benchmark::kMicrosecond);

}  // namespace
