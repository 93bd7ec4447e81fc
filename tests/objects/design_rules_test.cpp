// The rules of the object design screens as plain functions.
#include "objects/design_rules.h"

#include <gtest/gtest.h>

#include "objects_fixture.h"

namespace pb {
namespace {

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
    // A shape steps by a tenth of its height, a text by a quarter of its size.
    EXPECT_EQ(
        std::pair(DeformStep(test::ShapeRecord(300, 95, 3)), DeformStep(test::TextRecord("x", 36))),
        std::pair(9, 9));
}

TEST(DesignRules, FillStyleCodeAndPatternIndex) {
    // Stored FillStyle, its code and pattern, and the FillStyle they join back into.
    const std::tuple<int, int, int, int> cases[] = {
        {3, 3, 0, 3}, {10, 10, 0, 10}, {13, 10, 3, 13}, {16, 10, 6, 16}, {19, 10, 0, 10}};
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
        {"a large shape keeps its box", {300, 120}, {100, 100}, {400, 400}, Size{120, 120}},
        {"too thin a result changes nothing", {100, 100}, {1000, 100}, {300, 300}, std::nullopt},
    };
    for (const auto& [what, shape, picture, room, result] : cases)
        EXPECT_EQ(ShapeSizeForPicture(shape, picture, room), result) << what;
}

}  // namespace
}  // namespace pb
