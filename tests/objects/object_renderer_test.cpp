#include "objects/object_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "objects/decorated_path.h"
#include "objects_fixture.h"
#include "platform/bitmap_canvas.h"
#include "platform/fonts.h"
#include "platform/picture_io.h"

namespace pb {
namespace {
using namespace test;

bool AllPixels(const Bitmap& b, TColor c) {
    return !b.isNull() && CountPixels(b, c) == static_cast<long>(b.width()) * b.height();
}

TEST(ObjectRenderer, PlainTextBackgrounds) {
    // BackStyle, component colours, Horizontal, and the background at the top-right corner.
    const std::tuple<const char*, int, std::vector<TColor>, bool, TColor> cases[] = {
        {"none: see-through", 0, {}, false, KeyColour},
        {"SOLID", 1, {}, false, kYellow},
        {"GRADATION down: the first row is colour 1", 3, {kRed, kYellow}, true, kRed},
        {"unknown style: white", 7, {}, false, clWhite},
    };
    for (const auto& [name, backStyle, colours, horizontal, corner] : cases) {
        ObjectRecord r = BluePlain();
        r.BackStyle = backStyle;
        r.BackColor = kYellow;
        r.Horizontal = horizontal;
        UseColours(r, colours);
        const auto picture = RenderPlainTextPicture(r);
        ASSERT_TRUE(picture) << name;
        const Bitmap& img = picture->image;
        EXPECT_EQ(img.pixel(img.width() - 1, 0), corner) << name;
        EXPECT_GT(CountPixels(img, kBlue), 20) << name << ": the text";
        // Every background but none leaves a companion: the background alone.
        ASSERT_EQ(picture->companion.has_value(), backStyle != 0) << name;
        if (backStyle == 0) continue;
        EXPECT_EQ(picture->companion->size(), img.size());
        EXPECT_EQ(CountPixels(*picture->companion, kBlue), 0) << name;
        EXPECT_TRUE(backStyle != 1 || AllPixels(*picture->companion, kYellow)) << name;
    }
}

TEST(ObjectRenderer, PlainTextLayout) {
    Bitmap probe(1, 1);
    BitmapCanvas canvas(probe);
    ObjectRecord r = BluePlain("あいうえお\r\n\r\n1");
    canvas.font = Font{FontNameForIndex(InstalledFonts(), r.FontIndex), 16, false, false, clBlack};
    const int lineHeight = canvas.TextHeight("あ");
    const int wide = canvas.TextWidth("あいうえお");
    // Three lines (the empty one keeps its height); the box is as wide as the widest line.
    EXPECT_EQ(RenderPlainTextPicture(r)->image.size(), (Size{wide, 3 * lineHeight}));
    // The middle of the last line's ink lies in the left, middle or right third by Align.
    for (int align : {1, 2, 3}) {
        r.Align = align;
        const Bitmap b = RenderPlainTextPicture(r)->image;
        std::vector<int> ink;
        for (int y = 2 * lineHeight; y < b.height(); ++y)
            for (int x = 0; x < b.width(); ++x)
                if (b.pixel(x, y) == kBlue) ink.push_back(x);
        ASSERT_FALSE(ink.empty()) << align;
        const auto [first, last] = std::minmax_element(ink.begin(), ink.end());
        EXPECT_EQ((*first + *last) / 2 * 3 / wide, align - 1) << align;
    }
}

TEST(ObjectRenderer, DecoratedFillsAndTheirCompanions) {
    TempDir dir;
    ASSERT_TRUE(SaveBmp(Bitmap(7, 5, kRed), dir.file("picture.bmp")));
    WriteFileBytes(dir.file("broken.jpg"), "\xFF\xD8 not a picture");
    // FillStyle, ImageFile, component colours, the colour of the whole companion (nothing: no
    // companion) and of the middle of the body.
    using Colours = std::vector<TColor>;
    const std::tuple<const char*, int, std::string, Colours, std::optional<TColor>, TColor>
        cases[] = {
            {"SOLID: no companion", 10, "", {}, std::nullopt, kBlue},
            {"picture", 4, dir.file("picture.bmp"), {}, kRed, kRed},
            {"picture unreadable: white", 4, dir.file("broken.jpg"), {}, clWhite, clWhite},
            {"STRIPE of one colour", 2, "", {kYellow}, kYellow, kYellow},
        };
    for (const auto& [name, fillStyle, imageFile, colours, companionAll, inside] : cases) {
        ObjectRecord r = BlueRectangle(60, 40, fillStyle);
        r.ImageFile = imageFile;
        UseColours(r, colours);
        const auto picture = RenderDecoratedPicture(r);
        ASSERT_TRUE(picture) << name;
        EXPECT_EQ(picture->image.size(), (Size{60, 40})) << name;
        ASSERT_EQ(picture->companion.has_value(), companionAll.has_value()) << name;
        EXPECT_TRUE(!companionAll || AllPixels(*picture->companion, *companionAll)) << name;
        // The middle of the body, and outside it in the corner.
        EXPECT_EQ(std::pair(picture->image.pixel(30, 20), picture->image.pixel(59, 39)),
                  std::pair(inside, KeyColour))
            << name;
    }
}

TEST(ObjectRenderer, BoxesTooLargeOrEmptyAreNotDrawn) {
    ObjectRecord hugeFont = BluePlain("あいうえおかきくけこ");
    hugeFont.FontSize = 30000;
    ObjectRecord deformed = BlueRectangle(100, 60, 10);  // a slant beyond any bitmap
    deformed.DeformAmount = INT_MIN;
    for (const ObjectRecord& r :
         {BlueRectangle(40000, 10, 10), BlueRectangle(0, 10, 10), hugeFont, deformed}) {
        EXPECT_FALSE(ObjectBoxSize(r));
        EXPECT_FALSE(RenderObjectPicture(r));
    }
    EXPECT_EQ(ObjectBoxSize(BlueRectangle(300, 120, 10)), (Size{300, 120}));
}

}  // namespace
}  // namespace pb
