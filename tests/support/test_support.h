#pragma once
// Helpers shared by the tests.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/bitmap.h"
#include "platform/work_indicator.h"

namespace pb::test {

// The start of every test program: the offscreen platform, Japanese family names from
// fontconfig and a private runtime folder, set before the application object is made.
void PrepareTestProcess();
// Runs the tests. Skipped tests are listed at the end with their reasons, one line each
// beginning "Skipped here: ", which scripts/test gathers from all test programs.
int RunAllTests(int argc, char** argv);

// A fresh temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    // path + "/" + name
    std::string file(const std::string& name) const;

private:
    std::string path_;
};

// Counts the hourglass and progress bars of the editing code while it lives.
class IndicatorScope : public WorkIndicator {
public:
    IndicatorScope() { SetWorkIndicator(this); }
    ~IndicatorScope() override { SetWorkIndicator(nullptr); }
    IndicatorScope(const IndicatorScope&) = delete;
    IndicatorScope& operator=(const IndicatorScope&) = delete;
    IndicatorScope* operator->() { return this; }

    void BeginBusy() override { maxBusyDepth = std::max(maxBusyDepth, ++busyDepth); }
    void EndBusy() override { --busyDepth; }
    std::unique_ptr<ProgressSink> BeginProgress(const std::string&, int) override {
        struct Ignored : ProgressSink {
            void SetValue(int) override {}
        };
        ++progressShown;
        return std::make_unique<Ignored>();
    }

    int busyDepth = 0;
    int maxBusyDepth = 0;
    int progressShown = 0;
};

// Number of pixels that differ between two bitmaps of the same size (-1 for other sizes).
long CountDifferentPixels(const Bitmap& a, const Bitmap& b);
// Number of pixels of colour c.
long CountPixels(const Bitmap& bmp, TColor c);

// Writes bytes to a file (for malformed-input tests).
void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);

// Sets the double-click interval (milliseconds) for the life of the object. The tests run
// without one (test_main.cpp); the tests of the screens' tap guard need it back.
class DoubleClickInterval {
public:
    explicit DoubleClickInterval(int ms);
    ~DoubleClickInterval();
    DoubleClickInterval(const DoubleClickInterval&) = delete;
    DoubleClickInterval& operator=(const DoubleClickInterval&) = delete;

private:
    int before_;
};

// A w x h bitmap of pseudo-random bytes, the same for the same seed.
Bitmap NoiseBitmap(int w, int h, std::uint32_t seed);

}  // namespace pb::test
