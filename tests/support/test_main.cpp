// Test entry point: a QApplication on the offscreen platform (fonts, painting and widgets
// need one), Japanese family names from fontconfig, a private runtime folder, and no
// double-click interval (see below). Skipped tests are listed at the end with their reasons,
// one line each beginning "Skipped here: ", which scripts/test gathers from all test programs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStyleHints>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/test_support.h"

namespace {

class SkipReport : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo& test) override {
        const ::testing::TestResult& result = *test.result();
        if (!result.Skipped()) return;
        std::string why;
        for (int i = 0; i < result.total_part_count(); ++i)
            if (result.GetTestPartResult(i).skipped()) why += result.GetTestPartResult(i).message();
        for (char& c : why)
            if (c == '\n') c = ' ';
        lines_ += std::string("Skipped here: ") + test.test_suite_name() + "." + test.name() +
                  ": " + why + "\n";
    }
    void OnTestProgramEnd(const ::testing::UnitTest&) override {
        std::fputs(lines_.c_str(), stdout);
    }
    std::string lines_;
};

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("FC_LANG", "ja", 1);
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        const auto dir = std::filesystem::temp_directory_path() / ("popboard-xdg-" + std::to_string(getuid()));
        std::filesystem::create_directories(dir);
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
        setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    }
    QApplication app(argc, argv);
    // Widget tests click at once on a screen that has just opened, faster than any hand; the
    // screens drop such taps within the double-click interval. The tests of that guard set
    // the interval back themselves.
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new SkipReport);
    return RUN_ALL_TESTS();
}
