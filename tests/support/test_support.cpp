#include "support/test_support.h"

#include <fstream>
#include <iterator>
#include <random>

namespace pb::test {

TempDir::TempDir() {
    std::random_device rd;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        auto candidate = base / ("popboard-test-" + std::to_string(rd()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate.string();
            break;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::file(const std::string& name) const { return path_ + "/" + name; }

std::unique_ptr<ProgressSink> IndicatorScope::BeginProgress(const std::string&, int) {
    struct Ignored : ProgressSink {
        void SetValue(int) override {}
    };
    ++progressShown;
    return std::make_unique<Ignored>();
}

long CountDifferentPixels(const Bitmap& a, const Bitmap& b) {
    if (a.size() != b.size()) return -1;
    long n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) ++n;
    return n;
}

long CountPixels(const Bitmap& bmp, TColor c) {
    long n = 0;
    for (int y = 0; y < bmp.height(); ++y)
        for (int x = 0; x < bmp.width(); ++x)
            if (bmp.pixel(x, y) == c) ++n;
    return n;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace pb::test
