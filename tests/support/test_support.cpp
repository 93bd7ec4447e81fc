#include "support/test_support.h"

#include <QGuiApplication>
#include <QStyleHints>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace pb::test {

namespace {

template <class Hit>
long CountWhere(const Bitmap& bmp, Hit hit) {
    long n = 0;
    for (int y = 0; y < bmp.height(); ++y)
        for (int x = 0; x < bmp.width(); ++x) n += hit(x, y);
    return n;
}

class SkipReport : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo& test) override {
        const ::testing::TestResult& result = *test.result();
        if (!result.Skipped()) return;
        std::string why;
        for (int i = 0; i < result.total_part_count(); ++i)
            why += result.GetTestPartResult(i).message();
        std::replace(why.begin(), why.end(), '\n', ' ');
        lines_ += std::string("Skipped here: ") + test.test_suite_name() + "." + test.name() +
                  ": " + why + "\n";
    }
    void OnTestProgramEnd(const ::testing::UnitTest&) override {
        std::fputs(lines_.c_str(), stdout);
    }
    std::string lines_;
};

}  // namespace

void PrepareTestProcess() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("FC_LANG", "ja", 1);
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        const auto dir = std::filesystem::temp_directory_path() / ("popboard-xdg-" + std::to_string(getuid()));
        std::filesystem::create_directories(dir);
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
        setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    }
}

int RunAllTests(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new SkipReport);
    return RUN_ALL_TESTS();
}

TempDir::TempDir() {
    std::string name = (std::filesystem::temp_directory_path() / "popboard-test-XXXXXX").string();
    if (!mkdtemp(name.data())) throw std::runtime_error("cannot make a folder like " + name);
    path_ = name;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::file(const std::string& name) const { return path_ + "/" + name; }

long CountDifferentPixels(const Bitmap& a, const Bitmap& b) {
    if (a.size() != b.size()) return -1;
    return CountWhere(a, [&](int x, int y) { return a.pixel(x, y) != b.pixel(x, y); });
}

long CountPixels(const Bitmap& bmp, TColor c) {
    return CountWhere(bmp, [&](int x, int y) { return bmp.pixel(x, y) == c; });
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

DoubleClickInterval::DoubleClickInterval(int ms)
    : before_(QGuiApplication::styleHints()->mouseDoubleClickInterval()) {
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(ms);
}

DoubleClickInterval::~DoubleClickInterval() {
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(before_);
}

Bitmap NoiseBitmap(int w, int h, std::uint32_t seed) {
    Bitmap bmp(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < 3 * w; ++x) {
            seed = seed * 1103515245u + 12345u;
            bmp.scanLine(y)[x] = static_cast<std::uint8_t>(seed >> 16);
        }
    return bmp;
}

}  // namespace pb::test
