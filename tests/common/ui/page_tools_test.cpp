#include "common/page_tools.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "common/app_state.h"
#include "common/history.h"
#include "platform/bitmap_canvas.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"
#include "support/ui/dialog_scope.h"

namespace pb {
namespace {

constexpr TColor kRed = RGB(255, 0, 0);
constexpr TColor kBlue = RGB(0, 0, 255);

// A page of w x h shown at `zoom` inside a parent, with its floating image, as the main screen
// and the region editor lay them out.
class PageToolsTest : public ::testing::Test {
  protected:
    void SetUpPage(int w, int h, int zoom, TColor fill = clWhite) {
        App() = AppState{};
        SetAppDir(App(), dir.path());
        ResetHistory(1);
        page = new ImageControl(&parent);
        floating = new ImageControl(&parent);
        page->setStretch(true);
        floating->setStretch(true);
        floating->hide();
        page->setPicture(Bitmap(w, h, fill));
        page->setGeometry(0, 0, w * zoom / 100, h * zoom / 100);
    }
    void Tool(int tool) { App().ToolIndex = static_cast<std::uint8_t>(tool); }
    void Down(int x, int y, TColor colour = kBlue, int width = 1) {
        ToolMouseDown(*page, 1, Qt::LeftButton, x, y, colour, width, false);
    }
    // A selection gesture of `tool` from (x0, y0) to (x1, y1), released.
    void Select(int tool, int x0, int y0, int x1, int y1) {
        Tool(tool);
        Down(x0, y0);
        ToolMouseMove(*page, x1, y1);
        App().Tracking = false;
    }
    std::string cctmp() const { return dir.file("CCTmp.bmp"); }

    test::TempDir dir;
    test::ScriptedDialogScope dialogs;
    QWidget parent;
    ImageControl* page = nullptr;
    ImageControl* floating = nullptr;
};

TEST_F(PageToolsTest, ARubberBandDrawnTwiceRestoresEveryPixel) {
    struct Case {
        int tool;
        Point s, e;
    };
    const Case cases[] = {
        {kStraightLine, {5, 5}, {70, 40}},  {kRectangleTool, {5, 5}, {70, 40}},
        {kRoundRectTool, {5, 5}, {70, 40}}, {kRoundRectTool, {70, 40}, {5, 5}},  // corner < 0
        {kEllipseTool, {70, 5}, {5, 40}},   {kSelectCopy, {60, 50}, {3, 3}},
        {kSelectEdit, {0, 0}, {79, 59}},
    };
    for (const Case& c : cases) {
        SetUpPage(80, 60, 100);
        // A page with something on it: the band must restore colours, not paint white.
        BitmapCanvas(page->picture()).FillRect({10, 10, 40, 30});
        const Bitmap before = page->picture();
        Tool(c.tool);
        Gesture().pen = Pen{kRed, 3, PenStyle::Solid, PenMode::Copy};
        DrawToolShape(*page, c.s, c.e, true);
        EXPECT_GT(test::CountDifferentPixels(before, page->picture()), 0) << c.tool;
        DrawToolShape(*page, c.s, c.e, true);
        EXPECT_EQ(test::CountDifferentPixels(before, page->picture()), 0) << c.tool;
    }
}

TEST_F(PageToolsTest, AGestureLeavesOnlyTheFinalShape) {
    // Moves at (50, 40) and (60, 50), release at (30, 20): the page holds exactly the shape
    // from the start to the release point, whatever bands were drawn on the way.
    for (int tool : {kStraightLine, kRectangleTool, kRoundRectTool, kEllipseTool}) {
        SetUpPage(80, 60, 100);
        Tool(tool);
        Down(10, 10, kBlue, 2);
        ToolMouseMove(*page, 50, 40);
        ToolMouseMove(*page, 60, 50);
        App().Tracking = false;
        FinishToolShape(*page, {30, 20});
        ImageControl reference;
        reference.setPicture(Bitmap(80, 60));
        reference.resize(80, 60);
        Gesture().penPosition = {10, 10};
        DrawToolShape(reference, {10, 10}, {30, 20}, false);
        EXPECT_EQ(test::CountDifferentPixels(reference.picture(), page->picture()), 0) << tool;
        EXPECT_EQ(App().HistoryCounter[1], 2) << "one snapshot per gesture";
    }
    // Free hand draws each segment at once; the right button draws nothing.
    SetUpPage(80, 60, 100);
    Tool(kFreeDraw);
    Down(10, 10, kBlue, 1);
    ToolMouseMove(*page, 20, 10);
    EXPECT_EQ(page->picture().pixel(15, 10), kBlue);
    App().Tracking = false;
    ToolMouseDown(*page, 1, Qt::RightButton, 40, 40, kBlue, 1, false);
    ToolMouseMove(*page, 60, 50);
    EXPECT_EQ(test::CountPixels(page->picture(), kBlue), 10) << "the segment without its end";
}

TEST_F(PageToolsTest, LiftDragAndDropAtZoom50StayOnThePage) {
    SetUpPage(200, 160, 50, kRed);
    BitmapCanvas(page->picture()).FillRect({20, 20, 60, 40});  // white hole to recognise
    Select(kSelectCopy, 10, 10, 30, 20);
    ASSERT_EQ(SelectionRect(), (Rect{20, 20, 60, 40}));
    ASSERT_TRUE(LiftOrDropSelection(*page, *floating, 1, false, cctmp()));
    EXPECT_EQ(floating->geometry(), QRect(10, 10, 20, 10));  // half size on screen

    // Dragged far to the right and down, or past the left edge: it stops at the page's edges.
    DragFloatingControl(*floating, *page, 500, 500);
    EXPECT_EQ(floating->geometry(), QRect(80, 70, 20, 10));
    ASSERT_TRUE(LiftOrDropSelection(*page, *floating, 1, true, cctmp()));
    EXPECT_TRUE(floating->isHidden());
    // Dropped at full pixels: (80, 70) on screen is (160, 140) on the page.
    EXPECT_EQ(page->picture().pixel(160, 140), clWhite);
    EXPECT_EQ(page->picture().pixel(199, 159), clWhite);
    EXPECT_EQ(page->picture().pixel(159, 139), kRed);
    EXPECT_EQ(page->picture().pixel(30, 30), clWhite) << "copy keeps the source";
    EXPECT_FALSE(LiftOrDropSelection(*page, *floating, 1, true, cctmp())) << "dropped already";

    // A control larger than the page sticks to its top-left corner.
    QWidget control(&parent);
    control.setGeometry(0, 0, 150, 120);
    DragFloatingControl(control, *page, 75, 60);
    EXPECT_EQ(control.pos(), QPoint(0, 0));
    control.setGeometry(0, 0, 20, 20);
    DragFloatingControl(control, *page, -50, 10);
    EXPECT_EQ(control.pos(), QPoint(0, 0));
}

TEST_F(PageToolsTest, MoveLeavesWhiteAndEditLiftsIntoTheHiddenImageOnly) {
    for (int tool : {kSelectEdit, kSelectMove}) {  // Edit first: it must not write CCTmp.bmp
        SetUpPage(100, 80, 100, kRed);
        Select(tool, 10, 10, 40, 30);
        ASSERT_TRUE(LiftOrDropSelection(*page, *floating, 1, false, cctmp()));
        const bool move = tool == kSelectMove;
        EXPECT_EQ(floating->isHidden(), !move);
        EXPECT_EQ(Files().FileExists(cctmp()), move);
        EXPECT_EQ(page->picture().pixel(10, 10), move ? clWhite : kRed);
        EXPECT_EQ(page->picture().pixel(39, 29), move ? clWhite : kRed);
        EXPECT_EQ(page->picture().pixel(9, 9), kRed) << "the rubber band is gone";
        if (move) {
            // The file keeps the pixels without the dotted frame the floating image shows.
            auto lifted = LoadBmp(cctmp());
            ASSERT_TRUE(lifted);
            EXPECT_EQ(test::CountPixels(*lifted, kRed), 30L * 20);
            EXPECT_GT(test::CountPixels(floating->picture(), clBlack), 0);
        } else {
            EXPECT_EQ(test::CountPixels(floating->picture(), kRed), 30L * 20);
        }
    }
    // Without the gesture's snapshot the lift reports an accident.
    SetUpPage(100, 80, 100);
    Select(kSelectCopy, 10, 10, 40, 30);
    Files().DeleteFile(SnapshotPath(App().HistoryFolder(1), 1));
    EXPECT_FALSE(LiftOrDropSelection(*page, *floating, 1, false, cctmp()));
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, "何か事故");
}

TEST_F(PageToolsTest, BucketFillOnlyOutsidePenMode) {
    // In pen mode nothing happens; otherwise the one-colour page fills whole, one snapshot.
    SetUpPage(60, 50, 100);
    App().PenMode = true;
    BucketFill(*page, 1, kBlue, 5, 5);
    EXPECT_EQ(test::CountPixels(page->picture(), kBlue), 0);
    App().PenMode = false;
    BucketFill(*page, 1, kBlue, 5, 5);
    EXPECT_EQ(test::CountPixels(page->picture(), kBlue), 60L * 50);
    EXPECT_EQ(App().HistoryCounter[1], 2);
}

}  // namespace
}  // namespace pb
