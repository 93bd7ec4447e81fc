#include "common/ui/form.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace pb {
namespace {

TEST(ScreenRegion, HolesAreCutByExclusiveOr) {
    const QRect window(0, 0, 100, 50);
    // Holes, points that stay part of the window, points that show what lies underneath.
    using Points = std::vector<QPoint>;
    const std::tuple<const char*, std::vector<QRect>, Points, Points> cases[] = {
        {"one hole", {QRect(10, 10, 20, 20)}, {{9, 10}, {30, 10}, {10, 30}}, {{10, 10}, {29, 29}}},
        {"overlapping holes: the overlap stays",
         {QRect(0, 0, 20, 20), QRect(10, 10, 20, 20)},
         {{15, 15}, {40, 40}},
         {{5, 5}, {25, 25}}},
        // A hole reaching out of the window adds what lies outside it to the region.
        {"a hole over the edge", {QRect(90, 0, 20, 10)}, {{105, 5}}, {{95, 5}}},
    };
    for (const auto& [what, holes, open, cut] : cases) {
        const QRegion region = RegionWithHoles(window, holes);
        for (const QPoint& p : open) EXPECT_TRUE(region.contains(p)) << what;
        for (const QPoint& p : cut) EXPECT_FALSE(region.contains(p)) << what;
    }
}

TEST(TapGuard, TapsWithinTheIntervalAfterAScreenChangeAreDropped) {
    // milliseconds since the change, interval, taken
    const std::tuple<long long, int, bool> cases[] = {
        {399, 400, false}, {400, 400, true}, {0, 0, true}, {-1, 400, true},  // -1: no change yet
    };
    for (const auto& [since, interval, taken] : cases)
        EXPECT_EQ(TapTaken(since, interval), taken) << since << " / " << interval;
}

}  // namespace
}  // namespace pb
