// Speed of the thumbnail list of a folder of photos: 100 JPEG photos of 4000 x 3000, made here
// once, listed with a cold cache (every thumbnail made and stored), next to full decodes of
// the same files and to bare DCT-scaled decodes at the scale the thumbnails use, and listed
// again with a warm cache.
//
// Targets: thumbnails at least 2.5 times faster than full decodes, and within 1.2 times of the
// bare scaled decodes.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "common/picture_browsing.h"
#include "platform/bitmap.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"
#include "support/platform_fixtures.h"

namespace {

constexpr int kPhotoWidth = 4000;
constexpr int kPhotoHeight = 3000;
constexpr int kPhotos = 100;
// Distinct photos encoded; the folder holds copies of them under 100 names (decoding time
// depends on the data, not on the name).
constexpr int kDistinct = 10;

// Something with the texture of a photo: soft gradients, a few bright discs, grain.
pb::Bitmap MakePhoto(unsigned seed) {
    pb::Bitmap bmp(kPhotoWidth, kPhotoHeight);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> grain(-10, 10);
    std::uniform_int_distribution<int> where(0, kPhotoWidth);
    const int cx = where(rng), cy = where(rng) * kPhotoHeight / kPhotoWidth;
    for (int y = 0; y < kPhotoHeight; ++y) {
        std::uint8_t* p = bmp.scanLine(y);
        for (int x = 0; x < kPhotoWidth; ++x) {
            const int dx = x - cx, dy = y - cy;
            const bool disc = dx * dx + dy * dy < 600 * 600;
            const int g = grain(rng);
            p[3 * x] =
                static_cast<std::uint8_t>(std::clamp(40 + y * 150 / kPhotoHeight + g, 0, 255));
            p[3 * x + 1] = static_cast<std::uint8_t>(std::clamp((disc ? 200 : 90) + g, 0, 255));
            p[3 * x + 2] = static_cast<std::uint8_t>(std::clamp(x * 220 / kPhotoWidth + g, 0, 255));
        }
    }
    return bmp;
}

// The folder of photos, made on first use and removed at exit.
class PhotoFolder {
  public:
    PhotoFolder() {
        folder_ = (std::filesystem::temp_directory_path() /
                   ("popboard-bench-photos-" + std::to_string(::getpid())))
                      .string();
        std::filesystem::create_directories(folder_);
        std::vector<std::string> encoded;
        for (int i = 0; i < kDistinct; ++i)
            encoded.push_back(pb::test::EncodeJpeg(MakePhoto(1000 + i), 90));
        for (int i = 0; i < kPhotos; ++i) {
            const std::string path = folder_ + "/IMG_" + std::to_string(1000 + i) + ".jpg";
            pb::Files().WriteBytes(path, encoded[static_cast<std::size_t>(i % kDistinct)]);
            files_.push_back(path);
            bytes_ += encoded[static_cast<std::size_t>(i % kDistinct)].size();
        }
    }
    ~PhotoFolder() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    const std::string& folder() const { return folder_; }
    const std::vector<std::string>& files() const { return files_; }
    std::size_t bytes() const { return bytes_; }

  private:
    std::string folder_;
    std::vector<std::string> files_;
    std::size_t bytes_ = 0;
};

PhotoFolder& Photos() {
    static PhotoFolder photos;
    return photos;
}

void ClearCache() {
    std::error_code ec;
    std::filesystem::remove_all(pb::ThumbnailCachePath(Photos().folder()), ec);
}

void ThumbnailsColdCache(benchmark::State& state) {
    const PhotoFolder& photos = Photos();
    for (auto _ : state) {
        state.PauseTiming();
        ClearCache();
        state.ResumeTiming();
        auto list = pb::BuildThumbnailList(photos.folder());
        if (!list || list->made != kPhotos) state.SkipWithError("thumbnails not made");
        benchmark::DoNotOptimize(list);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kPhotos);
}
BENCHMARK(ThumbnailsColdCache)->Unit(benchmark::kMillisecond)->Iterations(3);

void FullDecodes(benchmark::State& state) {
    const PhotoFolder& photos = Photos();
    for (auto _ : state) {
        for (const std::string& path : photos.files()) {
            auto bmp = pb::LoadJpeg(path);
            if (!bmp) state.SkipWithError("decode failed");
            benchmark::DoNotOptimize(bmp);
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kPhotos);
}
BENCHMARK(FullDecodes)->Unit(benchmark::kMillisecond)->Iterations(3);

// libjpeg's DCT-scaled decode alone, at the scale the thumbnails take (1/8 for these photos).
void BareScaledDecodes(benchmark::State& state) {
    const PhotoFolder& photos = Photos();
    const pb::Size fit =
        pb::FitToBox(kPhotoWidth, kPhotoHeight, pb::kThumbnailWidth, pb::kThumbnailHeight);
    for (auto _ : state) {
        for (const std::string& path : photos.files()) {
            auto bmp = pb::LoadJpeg(path, fit.width, fit.height);
            if (!bmp) state.SkipWithError("decode failed");
            benchmark::DoNotOptimize(bmp);
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kPhotos);
}
BENCHMARK(BareScaledDecodes)->Unit(benchmark::kMillisecond)->Iterations(3);

void ThumbnailsWarmCache(benchmark::State& state) {
    const PhotoFolder& photos = Photos();
    ClearCache();
    pb::BuildThumbnailList(photos.folder());
    for (auto _ : state) {
        auto list = pb::BuildThumbnailList(photos.folder());
        if (!list || list->cached != kPhotos) state.SkipWithError("cache not used");
        benchmark::DoNotOptimize(list);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kPhotos);
}
BENCHMARK(ThumbnailsWarmCache)->Unit(benchmark::kMillisecond);

}  // namespace
