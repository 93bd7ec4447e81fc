#pragma once
// Helpers shared by the tests.

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/bitmap.h"
#include "platform/work_indicator.h"

namespace pb::test {

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
    std::unique_ptr<ProgressSink> BeginProgress(const std::string&, int) override;

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

}  // namespace pb::test
