// The rules of the object design screens as plain functions.
#include "objects/design_rules.h"

#include <gtest/gtest.h>

namespace pb {
namespace {

TEST(DesignRules, RoomOnThePageFollowsTheZoom) {
    // Page, the object's offset on the screen, the zoom, and the room left in page pixels.
    const std::tuple<Size, Point, int, Size> cases[] = {
        {{378, 559}, {100, 59}, 100, {278, 500}},
        {{794, 1123}, {40, 100}, 50, {714, 923}},
        {{794, 1123}, {33, 33}, 200, {778, 1107}},  // 16.5 truncated to 16
    };
    for (const auto& [page, offset, zoom, room] : cases)
        EXPECT_EQ(RoomOnPage(page, offset, zoom), room);
}

TEST(DesignRules, SizeStepsStayOnThePageAndAboveTheSmallestShape) {
    // Box, room, room kept free below, and what is said.
    const std::tuple<Size, Size, int, const char*> fits[] = {
        {{120, 100}, {108, 109}, 0, kNoRoomRight},
        {{102, 100}, {108, 109}, 0, nullptr},
        {{102, 120}, {108, 109}, 0, kNoRoomBelow},
        {{102, 102}, {108, 109}, 10, kNoRoomBelow},  // a slant of 10 needs 112 rows
        {{100, 2147483647}, {108, 109}, -5, kNoRoomBelow},
    };
    for (const auto& [box, room, reserve, said] : fits)
        EXPECT_EQ(FitProblem(box, room, reserve),
                  said ? std::optional<std::string>(said) : std::nullopt)
            << box.width << "x" << box.height;
    // Value, step, and the side after the decrease.
    const std::tuple<int, int, std::optional<int>> shrinks[] = {
        {22, 2, std::nullopt}, {23, 2, 21}, {200, 40, 160}, {60, 40, std::nullopt}};
    for (const auto& [value, step, after] : shrinks)
        EXPECT_EQ(ShrinkShapeSide(value, step), after) << value << " - " << step;
}

TEST(DesignRules, DeformStepOfShapesAndTexts) {
    ObjectRecord shape;
    shape.family = ObjectFamily::Decorated;
    shape.Text = "vrnSHAPE3";
    shape.FontSize = 300;  // Width
    shape.Align = 95;      // Height
    ObjectRecord text = shape;
    text.Text = "vrnSHAPEx";  // no digit: a text
    text.FontSize = 36;
    EXPECT_EQ(std::pair(DeformStep(shape), DeformStep(text)), std::pair(9, 9));
}

TEST(DesignRules, FillStyleCodeAndPatternIndex) {
    // Stored FillStyle, its code and pattern, and the FillStyle they join back into.
    const std::tuple<int, int, int, int> cases[] = {{3, 3, 0, 3},    {10, 10, 0, 10},
                                                    {13, 10, 3, 13}, {16, 10, 6, 16},
                                                    {19, 10, 0, 10}, {0, 0, 0, 0}};
    for (const auto& [stored, code, pattern, joined] : cases) {
        const FillChoice f = SplitFillStyle(stored);
        EXPECT_EQ(std::tuple(f.code, f.pattern, JoinFillStyle(f)),
                  std::tuple(code, pattern, joined))
            << stored;
    }
}

TEST(DesignRules, ShapeTakesThePicturesAspectRatio) {
    // Shape, picture, room, and the shape's new size.
    const std::tuple<const char*, Size, Size, Size, std::optional<Size>> cases[] = {
        {"a photo into a new shape: k = 98", {100, 100}, {4000, 3000}, {300, 400}, Size{80, 60}},
        {"small shape raised to 100", {30, 30}, {200, 100}, {300, 400}, Size{100, 50}},
        {"raised only as far as the room", {30, 30}, {200, 100}, {60, 400}, Size{60, 30}},
        {"a large shape keeps its box", {300, 120}, {100, 100}, {400, 400}, Size{120, 120}},
        {"too thin a result changes nothing", {100, 100}, {1000, 100}, {300, 300}, std::nullopt},
    };
    for (const auto& [what, shape, picture, room, result] : cases)
        EXPECT_EQ(ShapeSizeForPicture(shape, picture, room), result) << what;
}

TEST(DesignRules, JapaneseFontsOnly) {
    const std::vector<std::string> fonts = {
        "DejaVu Sans", "@IPAゴシック", "IPAゴシック", "Noto Sans", "IPA明朝", "ｱｲｳ Half", ""};
    EXPECT_EQ(JapaneseFontNames(fonts), (std::vector<std::string>{"IPAゴシック", "IPA明朝"}));
    EXPECT_EQ(std::tuple(FontIndexOfName(fonts, "IPA明朝"), FontIndexOfName(fonts, "missing"),
                         FontIndexOfName({}, "missing")),
              std::tuple(4, 6, 0));
}

}  // namespace
}  // namespace pb
