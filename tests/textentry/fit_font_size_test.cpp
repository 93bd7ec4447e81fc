#include "textentry/fit_font_size.h"

#include <gtest/gtest.h>

#include "platform/bitmap_canvas.h"

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
        const long long perByte = font.sizePoints + (font.bold ? 1 : 0);
        const long long width = static_cast<long long>(line.size()) * perByte;
        const long long height = line.empty() ? 0 : font.sizePoints * 4LL / 3;
        return {static_cast<int>(std::min<long long>(width, 1 << 30)),
                static_cast<int>(std::min<long long>(height, 1 << 30))};
    }
};

int Fit(FitFontRequest r, FakeMeasure& m) {
    return FitFontSize(r, [&m](std::string_view line, const Font& f) { return m(line, f); });
}

TEST(FitFontSize, LargestSizeThatFitsBetweenThreeAndTheRecordSize) {
    struct Case {
        const char* name;
        const char* text;
        int recordSize, boxWidth, boxHeight;
        bool decorated;
        int margin;
        int expected;
    };
    const Case cases[] = {
        {"fits at the record size", "abcd", 20, 400, 400, false, 0, 20},
        {"width decides", "abcdefghij", 40, 200, 400, false, 0, 20},
        {"height decides (3 lines)", "a\r\nb\nc", 40, 400, 60, false, 0, 15},
        {"empty line measured as a space", "a\r\n\r\nb", 40, 400, 60, false, 0, 15},
        {"does not fit even at 4", "a very long line of text", 30, 10, 10, false, 0, 3},
        {"record size below the smallest", "a", 1, 400, 400, false, 0, 3},
        {"decorated: box 10/11, bold", "abcde", 40, 110, 400, true, 0, 19},
        {"decorated: margin off the height", "a", 40, 400, 66, true, 20, 30},
        {"margin ignored for plain text", "a", 40, 400, 40, false, 20, 30},
        {"empty text", "", 12, 0, 0, false, 0, 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeMeasure m;
        FitFontRequest r;
        r.text = c.text;
        r.fontFamily = "IPAゴシック";
        r.recordSize = c.recordSize;
        r.boxWidth = c.boxWidth;
        r.boxHeight = c.boxHeight;
        r.decorated = c.decorated;
        r.margin = c.margin;
        const int size = Fit(r, m);
        EXPECT_EQ(size, c.expected);
        EXPECT_GE(size, kSmallestFontSize);
        if (c.recordSize >= kSmallestFontSize) {
            EXPECT_LE(size, c.recordSize);
        }
        for (const auto& f : m.fonts)
            EXPECT_EQ(f, c.decorated ? "IPAゴシック bold" : "IPAゴシック");
    }
}

TEST(FitFontSize, AbsurdRecordSizeEndsQuickly) {
    FakeMeasure m;
    FitFontRequest r;
    r.text = "abc";
    r.recordSize = 2'000'000'000;
    r.boxWidth = 300;
    r.boxHeight = 300;
    EXPECT_EQ(Fit(r, m), 100);
    EXPECT_LT(m.calls, 100);
}

TEST(FitFontSize, HelpersForRecords) {
    const std::vector<std::string> faces = {"A", "B", "C"};
    EXPECT_EQ(FontFaceByIndex(faces, 1), "B");
    EXPECT_EQ(FontFaceByIndex(faces, 7), "C");
    EXPECT_EQ(FontFaceByIndex(faces, -1), "A");
    EXPECT_EQ(FontFaceByIndex({}, 0), "");
    EXPECT_EQ(SplitTextLines("a\r\nb\rc\n\nd\r\n"),
              (std::vector<std::string_view>{"a", "b", "c", "", "d"}));
    EXPECT_TRUE(SplitTextLines("").empty());
}

TEST(FitFontSize, OnABitmapCanvas) {
    Bitmap scratch(8, 8);
    BitmapCanvas canvas(scratch);
    auto widest = [&](int size, bool bold, const std::vector<std::string_view>& lines) {
        canvas.font.sizePoints = size;
        canvas.font.bold = bold;
        int w = 0, h = 0;
        for (const auto l : lines) {
            w = std::max(w, canvas.TextWidth(l.empty() ? " " : l));
            h += canvas.TextHeight(l);
        }
        return Size{w, h};
    };
    struct Case {
        const char* text;
        int recordSize, boxWidth, boxHeight;
        bool decorated;
    };
    for (const Case& c :
         {Case{"あいうえお", 72, 200, 80, false}, Case{"特売\r\n本日限り", 60, 150, 90, true},
          Case{"ABC", 20, 400, 400, false}}) {
        SCOPED_TRACE(c.text);
        FitFontRequest r;
        r.text = c.text;
        r.fontFamily = "IPAゴシック";
        r.recordSize = c.recordSize;
        r.boxWidth = c.boxWidth;
        r.boxHeight = c.boxHeight;
        r.decorated = c.decorated;
        const int size = FitFontSize(r, canvas);
        const int w = c.decorated ? c.boxWidth * 10 / 11 : c.boxWidth;
        const int h = c.decorated ? c.boxHeight * 10 / 11 : c.boxHeight;
        const auto lines = SplitTextLines(c.text);
        const Size at = widest(size, c.decorated, lines);
        EXPECT_LE(at.width, w);
        EXPECT_LE(at.height, h);
        if (size < c.recordSize) {
            const Size above = widest(size + 1, c.decorated, lines);
            EXPECT_TRUE(above.width > w || above.height > h) << size;
        }
    }
}

}  // namespace
}  // namespace pb
