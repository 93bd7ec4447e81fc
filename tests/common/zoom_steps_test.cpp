#include "common/zoom_steps.h"

#include <gtest/gtest.h>

#include <tuple>

namespace pb {
namespace {

TEST(ZoomSteps, PageStepsByTensBelowAHundredAndByHundredsAbove) {
    // from, up, down
    const std::tuple<int, int, int> steps[] = {
        {10, 20, 10},  {20, 30, 10},   {90, 100, 80},  {100, 200, 90},
        {200, 300, 100}, {700, 800, 600}, {800, 800, 700},
        {150, 250, 50},   // off the steps: moved by the step of its side of 100
        {5, 15, 10},      // out of range: brought back in
        {900, 800, 800},
    };
    for (const auto& [from, up, down] : steps) {
        EXPECT_EQ(ZoomStep(from, true), up) << from;
        EXPECT_EQ(ZoomStep(from, false), down) << from;
    }
}

TEST(ZoomSteps, PreviewStepsByTensWithinTenAndEightHundred) {
    const std::tuple<int, int, int> steps[] = {
        {100, 110, 90}, {20, 30, 10}, {10, 20, 10}, {790, 800, 780}, {800, 800, 790},
    };
    for (const auto& [from, up, down] : steps) {
        EXPECT_EQ(ZoomStep(from, true, ZoomSteps::Tens), up) << from;
        EXPECT_EQ(ZoomStep(from, false, ZoomSteps::Tens), down) << from;
    }
}

TEST(ZoomSteps, SpinValuesStayWithinTheirBounds) {
    // value, step, low, high, expected: pen width 1..20 and copies 1..99
    const std::tuple<int, int, int, int, int> cases[] = {
        {2, 1, 1, 20, 3},   {20, 1, 1, 20, 20}, {1, -1, 1, 20, 1}, {2, -1, 1, 20, 1},
        {99, 1, 1, 99, 99}, {0, 1, 1, 99, 1},   {0, -1, 1, 99, 1},
        {2147483647, 1, 1, 99, 99},  // no overflow on the way
    };
    for (const auto& [value, step, low, high, expected] : cases)
        EXPECT_EQ(SpinStep(value, step, low, high), expected) << value << " + " << step;
}

}  // namespace
}  // namespace pb
