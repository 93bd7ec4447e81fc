// The rules of the object design screens as plain functions.
#include "objects/design_rules.h"

#include <gtest/gtest.h>

namespace pb {
namespace {

TEST(DesignRules, RoomOnThePageFollowsTheZoom) {
    struct Case {
        Size page;
        Point offset;
        int zoom;
        Size room;
    };
    const Case cases[] = {
        {{378, 559}, {100, 59}, 100, {278, 500}},
        {{794, 1123}, {40, 100}, 50, {714, 923}},
        {{794, 1123}, {33, 33}, 200, {778, 1107}},  // 16.5 truncated to 16
    };
    for (const Case& c : cases) EXPECT_EQ(RoomOnPage(c.page, c.offset, c.zoom), c.room);
}

TEST(DesignRules, FitProblemTellsTheRightEdgeFirst) {
    struct Case {
        Size box;
        int reserve;
        std::optional<std::string> problem;
    };
    // Room of 100 x 100 each time.
    const Case cases[] = {
        {{100, 100}, 0, std::nullopt}, {{101, 100}, 0, kNoRoomRight}, {{100, 101}, 0, kNoRoomBelow},
        {{101, 101}, 0, kNoRoomRight}, {{100, 80}, 20, std::nullopt}, {{100, 81}, 20, kNoRoomBelow},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitProblem(c.box, {100, 100}, c.reserve), c.problem)
            << c.box.width << "x" << c.box.height << " reserve " << c.reserve;
}

TEST(DesignRules, ShapeSidesNeverShrinkTo20OrBelow) {
    struct Case {
        int value, step;
        std::optional<int> result;
    };
    const Case cases[] = {{22, 2, std::nullopt}, {23, 2, 21},  {40, 20, std::nullopt},
                          {41, 20, 21},          {100, 2, 98}, {60, 40, std::nullopt},
                          {200, 40, 160}};
    for (const Case& c : cases)
        EXPECT_EQ(ShrinkShapeSide(c.value, c.step), c.result) << c.value << " - " << c.step;
}

TEST(DesignRules, DeformStepOfShapesAndTexts) {
    ObjectRecord shape;
    shape.family = ObjectFamily::Decorated;
    shape.Text = "vrnSHAPE3";
    shape.FontSize = 300;  // Width
    shape.Align = 95;      // Height
    EXPECT_EQ(DeformStep(shape), 9);
    ObjectRecord text = shape;
    text.Text = "vrnSHAPEx";  // no digit: a text
    text.FontSize = 36;
    EXPECT_EQ(DeformStep(text), 9);
}

TEST(DesignRules, FillStyleCodeAndPatternIndex) {
    struct Case {
        int stored;
        FillChoice choice;
        int joined;
    };
    const Case cases[] = {{3, {3, 0}, 3},    {10, {10, 0}, 10}, {13, {10, 3}, 13},
                          {16, {10, 6}, 16}, {19, {10, 0}, 10}, {0, {0, 0}, 0}};
    for (const Case& c : cases) {
        const FillChoice f = SplitFillStyle(c.stored);
        EXPECT_EQ(f.code, c.choice.code) << c.stored;
        EXPECT_EQ(f.pattern, c.choice.pattern) << c.stored;
        EXPECT_EQ(JoinFillStyle(f), c.joined) << c.stored;
    }
}

TEST(DesignRules, ShapeTakesThePicturesAspectRatio) {
    struct Case {
        const char* what;
        Size shape, picture, room;
        std::optional<Size> result;
    };
    const Case cases[] = {
        {"a photo into a new shape: k = 98", {100, 100}, {4000, 3000}, {300, 400}, Size{80, 60}},
        {"small shape raised to 100", {30, 30}, {200, 100}, {300, 400}, Size{100, 50}},
        {"raised only as far as the room", {30, 30}, {200, 100}, {60, 400}, Size{60, 30}},
        {"a large shape keeps its box", {300, 120}, {100, 100}, {400, 400}, Size{120, 120}},
        {"too thin a result changes nothing", {100, 100}, {1000, 100}, {300, 300}, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShapeSizeForPicture(c.shape, c.picture, c.room), c.result) << c.what;
}

TEST(DesignRules, JapaneseFontsOnly) {
    const std::vector<std::string> fonts = {
        "DejaVu Sans", "@IPAゴシック", "IPAゴシック", "Noto Sans", "IPA明朝", "ｱｲｳ Half", ""};
    EXPECT_EQ(JapaneseFontNames(fonts), (std::vector<std::string>{"IPAゴシック", "IPA明朝"}));
    EXPECT_EQ(FontIndexOfName(fonts, "IPA明朝"), 4);
    EXPECT_EQ(FontIndexOfName(fonts, "missing"), 6);
    EXPECT_EQ(FontIndexOfName({}, "missing"), 0);
}

}  // namespace
}  // namespace pb
