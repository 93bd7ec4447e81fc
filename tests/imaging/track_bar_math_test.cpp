// The slider's arithmetic: thumb placement, what a press takes, where a drag goes.
#include "imaging/track_bar_math.h"

#include <gtest/gtest.h>

namespace pb {
namespace {

TEST(TrackBarMath, DragMovesByTheTruncatedShareOfTheTrack) {
    const struct {
        int x, downX, downPosition, min, max, track;
        int expected;
    } cases[] = {
        {156, 4, 0, 0, 255, 152, 255},  // the whole track
        {5, 4, 0, 0, 255, 152, 1},      // 255 / 152 truncates to 1
        {3, 4, 100, 0, 255, 152, 99},   // -1.68 truncates toward zero
        {400, 4, 0, 0, 255, 152, 255},  // clamped
        {-300, 4, 10, 0, 255, 152, 0}, {80, 80, 180, 0, 360, 232, 180},  // no movement
        {80, 4, 0, -50, 50, 152, 50},  // positions measured from the press, not from min
        {80, 4, 0, 0, 255, 0, 0},      // no track: stays
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrackDragPosition(c.x, c.downX, c.downPosition, c.min, c.max, c.track),
                  c.expected)
            << c.x << " from " << c.downX;
}

TEST(TrackBarMath, ThumbStandsAtTheTruncatedShareAndTakesPressesWithinHalfItsWidth) {
    const struct {
        int position, min, max, track, left;
        int centre;
    } places[] = {
        {0, 0, 255, 152, 4, 4},     {255, 0, 255, 152, 4, 156}, {50, 0, 255, 152, 4, 33},
        {180, 0, 360, 232, 4, 120}, {-20, -50, 50, 100, 6, 36}, {1, 0, 3, 3, 0, 1},
    };
    for (const auto& p : places)
        EXPECT_EQ(TrackThumbCentre(p.position, p.min, p.max, p.track, p.left), p.centre)
            << p.position;

    const struct {
        int x, centre, width;
        bool hit;
    } presses[] = {
        {4, 4, 10, true},   {-1, 4, 10, true}, {9, 4, 10, true}, {10, 4, 10, false},
        {-2, 4, 10, false}, {5, 4, 3, true},   {6, 4, 3, false},
    };
    for (const auto& p : presses)
        EXPECT_EQ(TrackHitsThumb(p.x, p.centre, p.width), p.hit) << p.x << " by " << p.width;
}

}  // namespace
}  // namespace pb
