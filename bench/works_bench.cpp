// Cost of a durable save: an A4 work (the page bitmap, 2.7 MB, its thumbnail and an object
// folder of 0 or 40 records, the argument) stored over its earlier version as "上書保存"
// stores it, with every file and folder synced, and the same save with the syncs left out. The
// works folder lies in the temporary folder's file system, so what is measured depends on that
// disk.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/works.h"
#include "objects/strdata.h"
#include "platform/file_service.h"

namespace {

constexpr int kPageWidth = 794;  // A4 at 96 pixels per inch
constexpr int kPageHeight = 1123;

// The plain service without its syncs: the save as it was before it was made durable.
class UnsyncedFiles : public pb::FileService {
  public:
    bool SyncFile(const std::string&) override { return true; }
    bool SyncFolder(const std::string&) override { return true; }
};

std::string BenchFolder() {
    const auto dir = std::filesystem::temp_directory_path() / "popboard-bench-works";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string() + "/";
}

void SaveA4Work(benchmark::State& state, bool synced) {
    const std::string appDir = BenchFolder();
    pb::EnsureWorkFolders(appDir);
    const std::string objects = appDir + "TmpWorkC/";
    pb::Files().CreateFolder(objects);
    for (long n = 0; n < state.range(0); ++n) {
        const int slot = static_cast<int>(n);
        pb::ObjectRecord r = slot % 2 ? pb::NewDecoratedText(slot, kPageHeight, true)
                                      : pb::NewPlainObject(slot, kPageHeight, true);
        r.Text = "本日限りの大特価\r\n税込 298円";
        pb::WriteObject(objects, slot, r);
    }
    pb::Bitmap page(kPageWidth, kPageHeight, pb::clWhite);
    for (int y = 0; y < kPageHeight; ++y)
        for (int x = 0; x < kPageWidth; x += 3) page.setPixel(x, y, pb::RGB(x % 256, y % 256, 90));
    const pb::Bitmap thumbnail = pb::MakeThumbnail(page, {kPageWidth, kPageHeight}, {});

    std::unique_ptr<pb::FileService> previous;
    if (!synced) previous = pb::InstallFileService(std::make_unique<UnsyncedFiles>());
    const std::string works = appDir + "A4HGK";
    for (auto _ : state) {
        if (!pb::StoreWork(works, "X260101120000", page, thumbnail, objects)) {
            state.SkipWithError("the save failed");
            break;
        }
    }
    if (!synced) pb::InstallFileService(std::move(previous));
    std::filesystem::remove_all(appDir);
}

void SaveA4WorkSynced(benchmark::State& state) {
    SaveA4Work(state, true);
}
void SaveA4WorkWithoutSyncs(benchmark::State& state) {
    SaveA4Work(state, false);
}

BENCHMARK(SaveA4WorkSynced)
    ->Arg(0)
    ->Arg(40)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3);
BENCHMARK(SaveA4WorkWithoutSyncs)
    ->Arg(0)
    ->Arg(40)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3);

}  // namespace
