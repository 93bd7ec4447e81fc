#include "common/ui/form.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace pb {
namespace {

TEST(ScreenRegion, HolesAreCutByExclusiveOr) {
    const QRect window(0, 0, 100, 50);
    struct Case {
        const char* what;
        std::vector<QRect> holes;
        std::vector<QPoint> open;    // points that stay part of the window
        std::vector<QPoint> cut;     // points that show what lies underneath
    };
    const Case cases[] = {
        {"no hole", {}, {{0, 0}, {99, 49}}, {}},
        {"one hole", {QRect(10, 10, 20, 20)}, {{9, 10}, {30, 10}, {10, 30}}, {{10, 10}, {29, 29}}},
        {"overlapping holes: the overlap stays",
         {QRect(0, 0, 20, 20), QRect(10, 10, 20, 20)},
         {{15, 15}, {40, 40}},
         {{5, 5}, {25, 25}}},
        // A hole reaching out of the window adds what lies outside it to the region.
        {"a hole over the edge", {QRect(90, 0, 20, 10)}, {{105, 5}}, {{95, 5}}},
    };
    for (const Case& c : cases) {
        const QRegion region = RegionWithHoles(window, c.holes);
        for (const QPoint& p : c.open) EXPECT_TRUE(region.contains(p)) << c.what;
        for (const QPoint& p : c.cut) EXPECT_FALSE(region.contains(p)) << c.what;
    }
}

TEST(TapGuard, TapsWithinTheIntervalAfterAScreenChangeAreDropped) {
    // milliseconds since the change, interval, taken
    const std::tuple<long long, int, bool> cases[] = {
        {0, 400, false}, {399, 400, false}, {400, 400, true}, {5000, 400, true},
        {0, 0, true},     // no interval: every tap counts
        {-1, 400, true},  // no change seen yet
    };
    for (const auto& [since, interval, taken] : cases)
        EXPECT_EQ(TapTaken(since, interval), taken) << since << " / " << interval;
}

}  // namespace
}  // namespace pb
