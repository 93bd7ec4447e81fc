#include "common/page_tools.h"

#include <gtest/gtest.h>

#include "platform/bitmap_canvas.h"
#include "platform/file_service.h"
#include "support/test_support.h"

namespace pb {
namespace {

constexpr TColor kRed = RGB(255, 0, 0);
constexpr TColor kBlue = RGB(0, 0, 255);

// A page of w x h on its own surface, as the main screen and the region editor hold theirs.
class PageToolsTest : public ::testing::Test {
  protected:
    void SetUpPage(int w, int h, TColor fill = clWhite) {
        page = Bitmap(w, h, fill);
        surface.history().Reset();
    }
    void Down(int tool, Point p, TColor colour = kBlue, int width = 1) {
        ASSERT_TRUE(BeginGesture(surface, tool, p, colour, width, false));
    }
    // A gesture of `tool` from p0 over the moves to the release at `up`.
    void Gesture(int tool, Point p0, std::initializer_list<Point> moves, Point up, int width = 1) {
        Down(tool, p0, kBlue, width);
        for (Point p : moves) ToolFor(tool).Move(surface, p);
        ToolFor(tool).Release(surface, up);
    }
    std::string cctmp() const { return dir.file("CCTmp.bmp"); }

    test::TempDir dir;
    Bitmap page;
    EditSurface surface{page, dir.file("TmpWorkA")};
};

TEST(PageToolMapping, ImagePositionsBecomeBitmapPixelsAtEveryZoom) {
    const std::tuple<Size, Size, Point, Point> cases[] = {
        {{200, 160}, {100, 80}, {10, 10}, {20, 20}},  // 50 %
        {{200, 160}, {600, 480}, {10, 11}, {3, 3}},   // 300 %: integer division
        {{200, 160}, {0, 0}, {5, 5}, {1000, 800}},    // an image of no size counts as 1
    };
    for (const auto& [bitmap, image, at, expected] : cases)
        EXPECT_EQ(ImageToBitmap(bitmap, image, at.x, at.y), expected);
}

TEST_F(PageToolsTest, AGestureLeavesOnlyTheFinalShape) {
    // Moves at (50, 40) and (60, 50), release at (30, 20): the red page holds exactly the shape
    // from the start to the release point, whatever bands were drawn on the way (each band
    // gives back the colours under it, not white).
    const std::pair<int, ShapeRoutine> cases[] = {{kStraightLine, DrawLineShape},
                                                  {kRectangleTool, DrawRectangleShape},
                                                  {kRoundRectTool, DrawRoundRectShape},
                                                  {kEllipseTool, DrawEllipseShape}};
    for (const auto& [tool, draw] : cases) {
        SetUpPage(80, 60, kRed);
        Gesture(tool, {10, 10}, {{50, 40}, {60, 50}}, {30, 20}, 2);
        Bitmap reference(80, 60, kRed);
        BitmapCanvas canvas(reference);
        canvas.pen = Pen{kBlue, 2, PenStyle::Solid, PenMode::Copy};
        canvas.brush.style = BrushStyle::Clear;
        canvas.MoveTo(10, 10);
        draw(canvas, {10, 10}, {30, 20});
        EXPECT_EQ(test::CountDifferentPixels(reference, page), 0) << tool;
        EXPECT_EQ(surface.history().counter(), 2) << "one snapshot per gesture";
    }
    // Free hand draws each segment at once.
    SetUpPage(80, 60);
    Down(kFreeDraw, {10, 10});
    ToolFor(kFreeDraw).Move(surface, {20, 10});
    EXPECT_EQ(test::CountPixels(page, kBlue), 10) << "the segment without its end";
}

TEST_F(PageToolsTest, AGestureIsNotBegunWithoutItsSnapshot) {
    SetUpPage(20, 20);
    ResetFolder(dir.file("TmpWorkA"), false);
    test::WriteFileBytes(dir.file("TmpWorkA"), "x");  // the folder cannot be made
    EXPECT_FALSE(BeginGesture(surface, kRectangleTool, {1, 1}, kBlue, 1, false));
    EXPECT_FALSE(BucketFill(surface, kBlue, {1, 1}));
    EXPECT_EQ(test::CountPixels(page, kBlue), 0);
    EXPECT_TRUE(BeginGesture(surface, kRectangleTool, {1, 1}, kBlue, 1, true))
        << "dropped: no snapshot";
    Bitmap empty;
    EditSurface none(empty, dir.file("B"));
    EXPECT_FALSE(BeginGesture(none, kFreeDraw, {0, 0}, kBlue, 1, true));
}

TEST_F(PageToolsTest, LiftAndDropMoveThePixels) {
    SetUpPage(200, 160, kRed);
    BitmapCanvas(page).FillRect({20, 20, 60, 40});  // white hole to recognise
    // The selection band is clamped to the bitmap.
    Gesture(kSelectCopy, {20, 20}, {{300, 300}, {60, 40}}, {90, 90});
    ASSERT_EQ(SelectionRect(surface.gesture()), (Rect{20, 20, 60, 40}));
    Bitmap lifted;
    ASSERT_EQ(LiftSelection(surface, kSelectCopy, lifted, cctmp()), SelectionStatus::Done);
    EXPECT_EQ(test::CountPixels(lifted, clWhite), 40L * 20);
    EXPECT_EQ(page.pixel(19, 19), kRed) << "the rubber band is gone";

    Bitmap dropped;
    ASSERT_EQ(DropSelection(surface, {160, 140}, dropped, cctmp()), SelectionStatus::Done);
    EXPECT_EQ(page.pixel(160, 140), clWhite);
    EXPECT_EQ(page.pixel(199, 159), clWhite);
    EXPECT_EQ(page.pixel(159, 139), kRed);
    EXPECT_EQ(page.pixel(30, 30), clWhite) << "copy keeps the source";

    Files().DeleteFile(cctmp());
    EXPECT_EQ(DropSelection(surface, {0, 0}, dropped, cctmp()), SelectionStatus::Nothing);
    test::WriteFileBytes(cctmp(), "BM");
    EXPECT_EQ(DropSelection(surface, {0, 0}, dropped, cctmp()), SelectionStatus::Broken);
}

TEST_F(PageToolsTest, MoveLeavesWhiteAndEditLiftsWithoutTheFile) {
    for (int tool : {kSelectEdit, kSelectMove}) {  // Edit first: it must not write CCTmp.bmp
        SetUpPage(100, 80, kRed);
        Gesture(tool, {10, 10}, {{40, 30}}, {40, 30});
        Bitmap lifted;
        ASSERT_EQ(LiftSelection(surface, tool, lifted, cctmp()), SelectionStatus::Done);
        const bool move = tool == kSelectMove;
        EXPECT_EQ(Files().FileExists(cctmp()), move);
        // Move turns the selection white; the rubber band is gone either way.
        EXPECT_EQ(test::CountPixels(page, kRed), 100L * 80 - (move ? 30L * 20 : 0));
        EXPECT_EQ(test::CountPixels(lifted, kRed), 30L * 20);
    }
    // Without the gesture's snapshot, or without room for the file, the lift is refused and
    // the page keeps its pixels.
    SetUpPage(100, 80, kRed);
    Gesture(kSelectMove, {10, 10}, {{40, 30}}, {40, 30});
    Bitmap lifted;
    ASSERT_TRUE(Files().CreateFolder(dir.file("no")));
    EXPECT_EQ(LiftSelection(surface, kSelectMove, lifted, dir.file("no/such/CCTmp.bmp")),
              SelectionStatus::Broken);
    EXPECT_EQ(test::CountPixels(page, kRed), 100L * 80);
    Files().DeleteFile(SnapshotPath(dir.file("TmpWorkA"), 1));
    EXPECT_EQ(LiftSelection(surface, kSelectCopy, lifted, cctmp()), SelectionStatus::Broken);
}

// Which pixels a fill reaches is held by the flood fill's own test.
TEST_F(PageToolsTest, BucketFillTakesASnapshotAndRefusesPointsOutsideTheBitmap) {
    SetUpPage(60, 50);
    EXPECT_TRUE(BucketFill(surface, kBlue, {20, 20}));
    EXPECT_EQ(test::CountPixels(page, kBlue), 60L * 50);
    EXPECT_FALSE(BucketFill(surface, kRed, {60, 0}));
    EXPECT_EQ(test::CountPixels(page, kBlue), 60L * 50);
    EXPECT_EQ(surface.history().counter(), 3) << "each tap takes its snapshot first";
}

TEST_F(PageToolsTest, RedoAfterUndoBringsBackTheNewestStrokeOrFill) {
    // Two changes of each kind, "戻す", "進む": the page is the one after the second change.
    for (int kind : {0, 1}) {
        SetUpPage(60, 50);
        if (kind == 0) {
            Gesture(kStraightLine, {5, 5}, {}, {50, 5});
            Gesture(kStraightLine, {5, 40}, {}, {50, 40});
        } else {
            ASSERT_TRUE(BucketFill(surface, kBlue, {1, 1}));
            ASSERT_TRUE(BucketFill(surface, kRed, {1, 1}));
        }
        const Bitmap newest = page;
        ASSERT_EQ(surface.history().StepBack(page), HistoryStatus::Done);
        EXPECT_GT(test::CountDifferentPixels(newest, page), 0) << kind;
        ASSERT_EQ(surface.history().StepForward(page), HistoryStatus::Done) << kind;
        EXPECT_EQ(test::CountDifferentPixels(newest, page), 0) << kind;
        EXPECT_EQ(surface.history().StepForward(page), HistoryStatus::NothingAfter) << kind;
    }
}

}  // namespace
}  // namespace pb
