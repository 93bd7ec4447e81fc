#include "common/fit_font_size.h"

#include <gtest/gtest.h>

#include "platform/fonts.h"

namespace pb {
namespace {

// A measure as a fixed-pitch face would give: each byte `size` pixels wide (bold one more),
// each line 4/3 of the size high (an empty string no height, so that measuring an empty line
// as a space shows).
struct FakeMeasure {
    int calls = 0;
    std::vector<std::string> fonts;
    Size operator()(std::string_view line, const Font& font) {
        ++calls;
        fonts.push_back(font.family + (font.bold ? " bold" : ""));
        const long long width = static_cast<long long>(line.size()) * (font.sizePoints + font.bold);
        const long long height = line.empty() ? 0 : font.sizePoints * 4LL / 3;
        return {static_cast<int>(std::min<long long>(width, 1 << 30)),
                static_cast<int>(std::min<long long>(height, 1 << 30))};
    }
};

FitFontRequest Request(const char* text, int recordSize, int boxWidth, int boxHeight,
                       bool decorated = false, int margin = 0) {
    FitFontRequest r;
    r.text = text;
    r.fontFamily = "IPAゴシック";
    r.recordSize = recordSize;
    r.boxWidth = boxWidth;
    r.boxHeight = boxHeight;
    r.decorated = decorated;
    r.margin = margin;
    return r;
}

int Fit(const FitFontRequest& r, FakeMeasure& m) {
    return FitFontSize(r, [&m](std::string_view line, const Font& f) { return m(line, f); });
}

TEST(FitFontSize, LargestSizeThatFitsBetweenThreeAndTheRecordSize) {
    struct Case {
        const char* name;
        FitFontRequest request;
        int expected;
    };
    const Case cases[] = {
        {"fits at the record size", Request("abcd", 20, 400, 400), 20},
        {"width decides", Request("abcdefghij", 40, 200, 400), 20},
        {"height decides (3 lines)", Request("a\r\nb\nc", 40, 400, 60), 15},
        {"empty line measured as a space", Request("a\r\n\r\nb", 40, 400, 60), 15},
        {"does not fit even at 4", Request("a very long line of text", 30, 10, 10), 3},
        {"record size below the smallest", Request("a", 1, 400, 400), 3},
        {"decorated: box 10/11, bold", Request("abcde", 40, 110, 400, true), 19},
        {"decorated: margin off the height", Request("a", 40, 400, 66, true, 20), 30},
        {"margin ignored for plain text", Request("a", 40, 400, 40, false, 20), 30},
        {"empty text", Request("", 12, 0, 0), 12},
    };
    for (const auto& c : cases) {
        FakeMeasure m;
        EXPECT_EQ(Fit(c.request, m), c.expected) << c.name;
        for (const auto& f : m.fonts)
            EXPECT_EQ(f, c.request.decorated ? "IPAゴシック bold" : "IPAゴシック") << c.name;
    }
    // An absurd record size ends quickly.
    FakeMeasure m;
    EXPECT_EQ(Fit(Request("abc", 2'000'000'000, 300, 300), m), 100);
    EXPECT_LT(m.calls, 100);
}

TEST(FitFontSize, HelpersForRecords) {
    const std::vector<std::string> faces = {"A", "B", "C"};
    EXPECT_EQ(FontNameForIndex(faces, 1) + FontNameForIndex(faces, 7) + FontNameForIndex(faces, -1),
              "BCA");  // past the list the last face, below it the first
    EXPECT_EQ(FontNameForIndex({}, 0), "");
    EXPECT_EQ(SplitTextLines("a\r\nb\rc\n\nd\r\n"),
              (std::vector<std::string_view>{"a", "b", "c", "", "d"}));
    EXPECT_TRUE(SplitTextLines("").empty());
}

}  // namespace
}  // namespace pb
