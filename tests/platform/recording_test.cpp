// The recording: what it keeps, and its playback onto bitmaps, painters and other recordings.
#include "platform/recording.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "pixel_art.h"
#include "platform/bitmap_canvas.h"
#include "support/test_support.h"

namespace pb {
namespace {

using Drawing = std::function<void(Canvas&)>;

struct DrawingCase {
    const char* name;
    Drawing draw;
};

// Drawings of paths and bitmaps, the calls that keep state of their own (the current path,
// the stretch mode). Shapes and text on their own are held by the metafile read-back.
std::vector<DrawingCase> AllKindsOfCalls() {
    return {
        {"paths: stroked, filled and both",
         [](Canvas& c) {
             c.pen = {clNavy, 3};
             c.brush.colour = 0x00FF00;
             c.BeginPath();
             c.Ellipse(4, 4, 30, 26);
             c.EndPath();
             c.StrokeAndFillPath();
             c.BeginPath();
             c.MoveTo(30, 30);
             c.LineTo(45, 32);
             c.LineTo(35, 45);
             c.EndPath();
             c.FillPath();
             const Point bezier[] = {{2, 46}, {10, 30}, {20, 48}, {46, 40}};
             c.PolyBezier(bezier);
         }},
        {"bitmaps stretched and mirrored",
         [](Canvas& c) {
             const Bitmap noise = test::NoisyBitmap(9, 7);
             c.StretchBlt({2, 2, 20, 16}, noise, {0, 0, 9, 7}, StretchMode::ColorOnColor);
             c.StretchBlt({22, 30, 4, 44}, noise, {1, 1, 8, 6}, StretchMode::Halftone);
             c.Draw(30, 3, noise);
         }},
    };
}

TEST(Recording, PlaybackAtItsOwnSizeDrawsWhatTheCallsDrawAndRestoresTheTarget) {
    for (const DrawingCase& c : AllKindsOfCalls()) {
        Bitmap direct(48, 48);
        BitmapCanvas directCanvas(direct);
        c.draw(directCanvas);

        Recording recording({48, 48});
        c.draw(recording);
        Bitmap played(48, 48);
        BitmapCanvas playedCanvas(played);
        recording.PlayInto(playedCanvas, {0, 0, 48, 48});
        EXPECT_EQ(test::CountDifferentPixels(direct, played), 0) << c.name;
        // The playback leaves the target's pen, brush, font and background as they were.
        EXPECT_EQ(std::tuple(playedCanvas.pen.width, playedCanvas.brush.colour),
                  std::tuple(1, clWhite))
            << c.name;
    }
}

TEST(Recording, PlaybackScalesPens) {
    Recording recording({20, 20});
    recording.pen.width = 2;
    recording.MoveTo(0, 10);
    recording.LineTo(20, 10);
    Bitmap target(80, 80);
    BitmapCanvas canvas(target);
    recording.PlayInto(canvas, {0, 0, 80, 80});
    // A pen of 2 becomes 8 pixels wide around the line through the centres of row 10.
    int rows = 0;
    for (int y = 0; y < 80; ++y) rows += target.pixel(40, y) == clBlack;
    EXPECT_EQ(rows, 8);
}

TEST(Recording, KeepsWhatWasDrawnWhenSourcesAndItselfChangeLater) {
    Bitmap source(4, 4, clRed);
    Recording recording({4, 4});
    recording.Draw(0, 0, source);
    const auto before = recording.data();
    source.fill(clBlack);              // the recording kept its own copy
    recording.FillRect({0, 0, 2, 2});  // and what was handed out stays as it was
    EXPECT_EQ(before->calls.size(), 1u);
    EXPECT_EQ(recording.callCount(), 2u);

    Bitmap played(4, 4);
    BitmapCanvas canvas(played);
    recording.PlayInto(canvas, {0, 0, 4, 4});
    EXPECT_EQ(played.pixel(3, 3), clRed);
    EXPECT_EQ(played.pixel(0, 0), clWhite);
}

}  // namespace
}  // namespace pb
