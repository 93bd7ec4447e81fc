#include "common/zoom_steps.h"

#include <gtest/gtest.h>

#include <tuple>

namespace pb {
namespace {

TEST(ZoomSteps, PageStepsByTensBelowAHundredAndByHundredsAboveThePreviewByTens) {
    constexpr auto kPage = ZoomSteps::TensThenHundreds, kPreview = ZoomSteps::Tens;
    // steps, from, up, down
    const std::tuple<ZoomSteps, int, int, int> steps[] = {
        {kPage, 10, 20, 10},     {kPage, 90, 100, 80},   {kPage, 100, 200, 90},
        {kPage, 800, 800, 700},
        {kPage, 150, 250, 50},   // off the steps: moved by the step of its side of 100
        {kPage, 900, 800, 800},  // out of range: brought back in
        {kPreview, 100, 110, 90}, {kPreview, 10, 20, 10}, {kPreview, 800, 800, 790},
    };
    for (const auto& [mode, from, up, down] : steps) {
        EXPECT_EQ(ZoomStep(from, true, mode), up) << from;
        EXPECT_EQ(ZoomStep(from, false, mode), down) << from;
    }
}

TEST(ZoomSteps, SpinValuesStayWithinTheirBounds) {
    // value, step, low, high, expected: pen width 1..20 and copies 1..99
    const std::tuple<int, int, int, int, int> cases[] = {
        {2, 1, 1, 20, 3},   {20, 1, 1, 20, 20}, {1, -1, 1, 20, 1},
        {0, 1, 1, 99, 1},   {0, -1, 1, 99, 1},
        {2147483647, 1, 1, 99, 99},  // no overflow on the way
    };
    for (const auto& [value, step, low, high, expected] : cases)
        EXPECT_EQ(SpinStep(value, step, low, high), expected) << value << " + " << step;
}

}  // namespace
}  // namespace pb
