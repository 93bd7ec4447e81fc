// Speed of printing and export with a full work: an A4 page with 200 objects (decorated texts
// with shadow and arch, shapes, plain texts) composed into its recording as "印刷" and
// "Preview" compose it, then exported as the preview exports it: the page-sized bitmap and
// the metafile (written at the page's size and stretched over 330 x 480). The target is under
// one second for composing and both exports together.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "app/page_export.h"
#include "app/printing.h"
#include "common/app_state.h"
#include "objects/strdata.h"
#include "platform/emf_writer.h"

namespace {

constexpr int kPageWidth = 794;  // A4 at 96 pixels per inch
constexpr int kPageHeight = 1123;

std::string BenchFolder() {
    const auto dir = std::filesystem::temp_directory_path() / "popboard-bench-printing";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string() + "/";
}

// 200 objects spread over the page: 120 decorated texts, 40 shapes, 40 plain texts.
void WriteFullWork(const std::string& folder) {
    const char* texts[] = {"本日限りの大特価", "新鮮な野菜", "ポイント二倍デー", "お買い得品"};
    for (int n = 0; n < pb::kObjectSlots; ++n) {
        pb::ObjectRecord r;
        if (n % 5 < 3) {
            r = pb::NewDecoratedText(n, kPageHeight, false);
            r.Text = texts[n % 4];
            r.FontSize = 24 + n % 4 * 6;
            r.Shadow = true;
            r.DeformMode = 1 + n % 2;
            r.DeformAmount = -20 + n % 40;
            r.FillColor = pb::RGB(255, 200, 0);
        } else if (n % 5 == 3) {
            r = pb::NewShapeObject(n, kPageHeight, false);
            r.Text = "vrnSHAPE" + std::to_string(1 + n % 3);
            r.FillStyle = 10 + n % 7;
            r.Shadow = n % 2 == 0;
        } else {
            r = pb::NewPlainObject(n, kPageHeight, false);
            r.Text = "税込 298円\r\nおひとり様 2点限り";
            r.FontSize = 14;
        }
        r.Left = (n * 97) % (kPageWidth - 200);
        r.Top = (n * 53) % (kPageHeight - 150);
        pb::WriteObject(folder, n, r);
    }
}

pb::Bitmap Page() {
    pb::Bitmap page(kPageWidth, kPageHeight, pb::clWhite);
    for (int y = 0; y < kPageHeight; ++y)
        for (int x = 0; x < kPageWidth; x += 3) page.setPixel(x, y, pb::RGB(x % 256, y % 256, 90));
    return page;
}

std::vector<int> AllSlots() {
    std::vector<int> all;
    for (int n = 0; n < pb::kObjectSlots; ++n) all.push_back(n);
    return all;
}

void ComposeFullWork(benchmark::State& state) {
    const std::string folder = BenchFolder();
    WriteFullWork(folder);
    const pb::Bitmap page = Page();
    std::size_t calls = 0;
    for (auto _ : state) {
        const pb::ComposedPage composed = pb::ComposePage(page, folder, AllSlots());
        calls = composed.drawing->callCount();
    }
    state.counters["calls"] = static_cast<double>(calls);
    std::filesystem::remove_all(folder);
}
BENCHMARK(ComposeFullWork)->Unit(benchmark::kMillisecond)->UseRealTime();

void ExportFullWorkAsBitmap(benchmark::State& state) {
    const std::string folder = BenchFolder();
    WriteFullWork(folder);
    const pb::ComposedPage composed = pb::ComposePage(Page(), folder, AllSlots());
    for (auto _ : state) {
        const pb::Bitmap bmp = pb::RenderDrawing(*composed.drawing, {kPageWidth, kPageHeight});
        benchmark::DoNotOptimize(bmp.bits());
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(ExportFullWorkAsBitmap)->Unit(benchmark::kMillisecond)->UseRealTime();

void ExportFullWorkAsEmf(benchmark::State& state) {
    const std::string folder = BenchFolder();
    WriteFullWork(folder);
    const pb::ComposedPage composed = pb::ComposePage(Page(), folder, AllSlots());
    std::size_t bytes = 0;
    for (auto _ : state) {
        pb::Recording metafile({330, 480});
        composed.drawing->PlayInto(metafile, {0, 0, 330, 480});
        const std::string emf = pb::EncodeEmf(metafile);
        bytes = emf.size();
        benchmark::DoNotOptimize(emf.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
    std::filesystem::remove_all(folder);
}
BENCHMARK(ExportFullWorkAsEmf)->Unit(benchmark::kMillisecond)->UseRealTime();

// The target: compose, then both exports, files written.
void ComposeAndExportFullWork(benchmark::State& state) {
    const std::string folder = BenchFolder();
    WriteFullWork(folder);
    const pb::Bitmap page = Page();
    const std::string out = folder + "out";
    std::filesystem::create_directories(out);
    for (auto _ : state) {
        const pb::ComposedPage composed = pb::ComposePage(page, folder, AllSlots());
        pb::ExportBitmap(*composed.drawing, composed.drawing->size(), out + "/A.bmp");
        pb::ExportMetafiles(*composed.drawing, composed.drawing->size(), out + "/METAFILES",
                            "000000000000");
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(ComposeAndExportFullWork)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
