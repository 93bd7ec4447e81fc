#include "common/page_tools.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "common/app_state.h"
#include "common/history.h"
#include "platform/bitmap_canvas.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"
#include "support/test_support.h"

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
        {kStraightLine, {5, 5}, {70, 40}},     {kRectangleTool, {5, 5}, {70, 40}},
        {kRoundRectTool, {5, 5}, {70, 40}},    {kRoundRectTool, {70, 40}, {5, 5}},  // corner < 0
        {kEllipseTool, {70, 5}, {5, 40}},      {kSelectCopy, {60, 50}, {3, 3}},
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

        Bitmap expected(80, 60);
        ImageControl reference;
        reference.setPicture(expected);
        reference.resize(80, 60);
        Gesture().penPosition = {10, 10};
        DrawToolShape(reference, {10, 10}, {30, 20}, false);
        EXPECT_EQ(test::CountDifferentPixels(reference.picture(), page->picture()), 0) << tool;
        EXPECT_EQ(App().HistoryCounter[1], 2) << "one snapshot per gesture";
    }
}

TEST_F(PageToolsTest, FreeHandDrawsEachSegmentAtOnce) {
    SetUpPage(80, 60, 100);
    Tool(kFreeDraw);
    Down(10, 10, kBlue, 1);
    ToolMouseMove(*page, 20, 10);
    ToolMouseMove(*page, 20, 30);
    EXPECT_EQ(page->picture().pixel(15, 10), kBlue);
    EXPECT_EQ(page->picture().pixel(20, 20), kBlue);
    // The tools act only in pen mode and with the left button.
    const Bitmap before = page->picture();
    App().Tracking = false;
    ToolMouseDown(*page, 1, Qt::RightButton, 40, 40, kBlue, 1, false);
    ToolMouseMove(*page, 60, 50);
    EXPECT_EQ(test::CountDifferentPixels(before, page->picture()), 0);
}

TEST_F(PageToolsTest, CoordinatesFollowTheZoom) {
    SetUpPage(200, 160, 50);
    EXPECT_EQ(ImageToBitmap(*page, 10, 7), (Point{20, 14}));
    SetUpPage(200, 160, 300);
    EXPECT_EQ(ImageToBitmap(*page, 10, 7), (Point{3, 2}));
}

TEST_F(PageToolsTest, LiftDragAndDropAtZoom50StayOnThePage) {
    SetUpPage(200, 160, 50, kRed);
    BitmapCanvas(page->picture()).FillRect({20, 20, 60, 40});  // white hole to recognise
    Tool(kSelectCopy);
    Down(10, 10);
    ToolMouseMove(*page, 30, 20);
    App().Tracking = false;
    ASSERT_EQ(SelectionRect(), (Rect{20, 20, 60, 40}));
    ASSERT_TRUE(LiftOrDropSelection(*page, *floating, 1, false, cctmp()));
    EXPECT_FALSE(floating->isHidden());
    EXPECT_EQ(floating->geometry(), QRect(10, 10, 20, 10));  // half size on screen
    EXPECT_TRUE(Files().FileExists(cctmp()));

    // Dragged far to the right and down: it stops at the page's edges.
    DragFloatingControl(*floating, *page, 500, 500);
    EXPECT_EQ(floating->geometry(), QRect(80, 70, 20, 10));
    ASSERT_TRUE(LiftOrDropSelection(*page, *floating, 1, true, cctmp()));
    EXPECT_TRUE(floating->isHidden());
    // Dropped at full pixels: (80, 70) on screen is (160, 140) on the page.
    EXPECT_EQ(page->picture().pixel(160, 140), clWhite);
    EXPECT_EQ(page->picture().pixel(199, 159), clWhite);
    EXPECT_EQ(page->picture().pixel(159, 139), kRed);
    EXPECT_EQ(page->picture().pixel(30, 30), clWhite) << "copy keeps the source";
    // Dropping again does nothing: the floating image is hidden.
    EXPECT_FALSE(LiftOrDropSelection(*page, *floating, 1, true, cctmp()));
}

TEST_F(PageToolsTest, MoveLeavesAWhiteHoleAndFramesTheFloatingImage) {
    SetUpPage(100, 80, 100, kRed);
    Tool(kSelectMove);
    Down(10, 10);
    ToolMouseMove(*page, 40, 30);
    App().Tracking = false;
    ASSERT_TRUE(LiftOrDropSelection(*page, *floating, 1, false, cctmp()));
    for (Point p : {Point{10, 10}, Point{39, 29}}) EXPECT_EQ(page->picture().pixel(p.x, p.y), clWhite);
    EXPECT_EQ(page->picture().pixel(40, 30), kRed);
    EXPECT_EQ(page->picture().pixel(9, 9), kRed) << "the rubber band is gone";
    // The file keeps the pixels without the dotted frame; the floating image shows the frame.
    auto lifted = LoadBmp(cctmp());
    ASSERT_TRUE(lifted);
    EXPECT_EQ(test::CountPixels(*lifted, kRed), 30L * 20);
    EXPECT_GT(test::CountPixels(floating->picture(), clBlack), 0);
}

TEST_F(PageToolsTest, EditLiftsIntoTheHiddenFloatingImageOnly) {
    SetUpPage(100, 80, 100, kRed);
    Tool(kSelectEdit);
    Down(10, 10);
    ToolMouseMove(*page, 40, 30);
    App().Tracking = false;
    ASSERT_TRUE(LiftOrDropSelection(*page, *floating, 1, false, cctmp()));
    EXPECT_TRUE(floating->isHidden());
    EXPECT_FALSE(Files().FileExists(cctmp()));
    EXPECT_EQ(test::CountPixels(floating->picture(), kRed), 30L * 20);
}

TEST_F(PageToolsTest, LiftWithoutItsSnapshotReportsAnAccident) {
    SetUpPage(100, 80, 100);
    Tool(kSelectCopy);
    Down(10, 10);
    ToolMouseMove(*page, 40, 30);
    Files().DeleteFile(SnapshotPath(App().HistoryFolder(1), 1));
    EXPECT_FALSE(LiftOrDropSelection(*page, *floating, 1, false, cctmp()));
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, "何か事故");
}

TEST_F(PageToolsTest, BucketFillFillsTheConnectedSurface) {
    struct Case {
        const char* what;
        bool gap;
    };
    // A 1-pixel outline of a 20 x 20 square at (10, 10) on a 60 x 50 page, filled outside.
    const Case cases[] = {{"closed outline", false}, {"one-pixel gap", true}};
    for (const Case& c : cases) {
        SetUpPage(60, 50, 100);
        {
            BitmapCanvas canvas(page->picture());
            canvas.brush.style = BrushStyle::Clear;
            canvas.pen = Pen{clBlack, 1, PenStyle::Solid, PenMode::Copy};
            canvas.Rectangle(10, 10, 30, 30);
        }
        if (c.gap) page->picture().setPixel(20, 10, clWhite);
        App().PenMode = false;
        BucketFill(*page, 1, kBlue, 2, 2);
        const long outline = test::CountPixels(page->picture(), clBlack);
        const long inside = test::CountPixels(page->picture(), clWhite);
        EXPECT_EQ(test::CountPixels(page->picture(), kBlue) + outline + inside, 60L * 50) << c.what;
        if (c.gap)
            EXPECT_EQ(inside, 0) << c.what;
        else
            EXPECT_EQ(inside, 18L * 18) << c.what;
    }
    // A one-colour page fills whole; in pen mode nothing happens.
    SetUpPage(60, 50, 100);
    App().PenMode = true;
    BucketFill(*page, 1, kBlue, 5, 5);
    EXPECT_EQ(test::CountPixels(page->picture(), kBlue), 0);
    App().PenMode = false;
    BucketFill(*page, 1, kBlue, 5, 5);
    EXPECT_EQ(test::CountPixels(page->picture(), kBlue), 60L * 50);
    EXPECT_EQ(App().HistoryCounter[1], 2);
}

TEST_F(PageToolsTest, AControlLargerThanThePageSticksToItsTopLeft) {
    SetUpPage(100, 80, 100);
    QWidget control(&parent);
    control.setGeometry(0, 0, 150, 120);
    DragFloatingControl(control, *page, 75, 60);
    EXPECT_EQ(control.pos(), QPoint(0, 0));
    control.setGeometry(0, 0, 20, 20);
    DragFloatingControl(control, *page, -50, 10);  // past the left edge
    EXPECT_EQ(control.pos(), QPoint(0, 0));
    DragFloatingControl(control, *page, 40, 30);
    EXPECT_EQ(control.pos(), QPoint(30, 20));
}

}  // namespace
}  // namespace pb
