// The whole-screen scale chosen from the desktop's work area.
#include <gtest/gtest.h>

#include "platform/metrics.h"

namespace pb {
namespace {

TEST(ScreenScaleTest, TheLargestQuarterStepThatFitsAndNoneBelowOneAndAQuarter) {
    struct Row {
        int width, height;
        double factor;
    };
    for (const Row& r : std::initializer_list<Row>{
             {792, 553, 1.0},      // the panels the layout was made for
             {800, 600, 1.0},      // gains less than a quarter: looks exactly as before
             {989, 691, 1.0},      // just short of 1.25
             {990, 692, 1.25},     //
             {1280, 800, 1.25},    // the height decides (1.44)
             {1920, 1080, 1.75},   // 1.95 rounded down
             {1920, 1040, 1.75},   // under a taskbar
             {2560, 1440, 2.5},    //
             {3840, 2160, 3.75},   //
             {1080, 1920, 1.25},   // portrait: the width decides (1.36)
             {0, 0, 1.0},          // no screen
         })
        EXPECT_DOUBLE_EQ(ScreenScaleFactor(r.width, r.height), r.factor) << r.width << "x" << r.height;
}

}  // namespace
}  // namespace pb
