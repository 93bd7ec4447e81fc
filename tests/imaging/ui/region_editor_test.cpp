// The region editor driven through its controls, on a page of its own with the page history.
#include "imaging/ui/region_editor.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QTest>

#include "common/app_state.h"
#include "common/ui/palette_widgets.h"
#include "platform/file_service.h"
#include "platform/ui/image_control.h"
#include "support/ui/dialog_scope.h"

namespace pb {
namespace {

constexpr TColor kRed = RGB(0xFF, 0, 0);   // Edit3
constexpr TColor kBlue = RGB(0, 0, 0xFF);  // Edit27

// A region of two colours: white with a red square at its top-left.
Bitmap TwoColours(int w, int h) {
    Bitmap b(w, h, clWhite);
    for (int y = 0; y < std::min(h, 4); ++y) b.fillSpan(y, 0, std::min(w, 4), kRed);
    return b;
}

class RegionEditorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetAppDir(App(), dir.path());
        pageImage.setPicture(test::NoiseBitmap(120, 90, 7));
        page = std::make_unique<EditSurface>(pageImage.picture(), App().HistoryFolder(1));
        page->history().Reset();
    }
    void TearDown() override {
        delete editor.data();
        Settle();
    }
    void Open(Bitmap region, Point at = {10, 20}) {
        editor = new TForm2(std::move(region), {page.get(), &pageImage, at});
    }
    static void Settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    static void Click(QWidget* w, int times = 1) {
        ASSERT_NE(w, nullptr);
        for (int i = 0; i < times; ++i) QTest::mouseClick(w, Qt::LeftButton);
        Settle();
    }
    // A gesture on the canvas, in canvas coordinates.
    void Drag(QPoint from, QPoint to) {
        QTest::mousePress(editor->Image1, Qt::LeftButton, {}, from);
        QTest::mouseMove(editor->Image1, (from + to) / 2);
        QTest::mouseMove(editor->Image1, to);
        QTest::mouseRelease(editor->Image1, Qt::LeftButton, {}, to);
    }
    const Bitmap& Region() { return editor->RegionBitmap(); }
    int PageSnapshots() const {
        return static_cast<int>(Files().ListFiles(App().HistoryFolder(1)).size());
    }

    test::TempDir dir;
    test::ScriptedDialogScope dialogs;
    ImageControl pageImage;
    std::unique_ptr<EditSurface> page;
    QPointer<TForm2> editor;
};

TEST_F(RegionEditorTest, ZoomAndPenWidthStepWithinTheirBounds) {
    Open(TwoColours(50, 30));
    EXPECT_EQ(editor->Label[5]->text(), "100");
    EXPECT_EQ(editor->Image1->size(), QSize(50, 30));
    struct Case {
        int button;  // 11 zoom out, 12 zoom in, 13 thinner, 14 wider
        int clicks;
        int zoom;
        int penWidth;
    };
    const Case cases[] = {
        {11, 1, 90, 2},  {11, 8, 10, 2},    {11, 1, 10, 2},   // never below 10
        {12, 9, 100, 2}, {12, 1, 200, 2},   {12, 6, 800, 2},  // 10 .. 100 in tens, then hundreds
        {12, 1, 800, 2}, {11, 1, 700, 2},                     // never above 800
        {13, 5, 700, 1}, {14, 25, 700, 20},                   // pen width 1 .. 20
    };
    for (const Case& c : cases) {
        Click(editor->Btn[static_cast<std::size_t>(c.button)], c.clicks);
        EXPECT_EQ(editor->Zoom(), c.zoom) << "Btn" << c.button << " x " << c.clicks;
        EXPECT_EQ(editor->Label[5]->text(), QString::number(c.zoom));
        EXPECT_EQ(editor->Image1->size(), QSize(50 * c.zoom / 100, 30 * c.zoom / 100));
        EXPECT_EQ(editor->penWidth(), c.penWidth);
        EXPECT_EQ(editor->Label[6]->text(), QString::number(c.penWidth));
    }
}

TEST_F(RegionEditorTest, ToolScreensRefuseRegionsTheyCannotWorkOn) {
    const char* kNoPicture = "どう見ても絵と呼べそうなものはない";
    struct Case {
        Bitmap region;
        int button;
        const char* message;  // nullptr: the screen's open function is called
    };
    const Case cases[] = {
        {Bitmap(40, 40, kBlue), 2, kNoPicture},
        {Bitmap(40, 40, kBlue), 4, "これを2色に塗り分けるのはきっと無理"},
        {Bitmap(40, 40, kBlue), 7, kNoPicture},
        {Bitmap(40, 40, kBlue), 19, kNoPicture},
        {Bitmap(40, 40, kBlue), 5, nullptr},  // "画像" and "範囲内背景" always open
        {Bitmap(40, 40, kBlue), 6, nullptr},
        {TwoColours(40, 40), 2, nullptr},
        {TwoColours(40, 40), 4, nullptr},
        {TwoColours(24, 30), 3, "小さすぎ"},
        {TwoColours(30, 24), 3, "小さすぎ"},
        {Bitmap(25, 25, kBlue), 3, nullptr},  // one colour is no obstacle to the shapes
    };
    for (const Case& c : cases) {
        Open(c.region);
        dialogs->shown.clear();
        Click(editor->Btn[static_cast<std::size_t>(c.button)]);
        if (c.message) {
            ASSERT_EQ(dialogs->shown.size(), 1u) << "Btn" << c.button;
            EXPECT_EQ(dialogs->shown[0].text, c.message);
            EXPECT_EQ(dialogs->shown[0].caption, "NG");
        } else {
            EXPECT_TRUE(dialogs->shown.empty()) << "Btn" << c.button;
        }
        EXPECT_EQ(Region(), c.region);
        delete editor.data();
    }
}

TEST_F(RegionEditorTest, PaintingStaysInTheRegionHistory) {
    Open(Bitmap(60, 40, clWhite));
    const Bitmap pageBefore = page->bitmap();
    Click(editor->Btn[9]);
    Click(editor->Btn[10]);
    ASSERT_EQ(dialogs->shown.size(), 2u);
    EXPECT_EQ(dialogs->shown[0].text, "これより前はない");
    EXPECT_EQ(dialogs->shown[1].text, "これより後はない");

    // A red line, then a blue rectangle at zoom 200 (canvas points are halved).
    Click(editor->palette->Edit(3));
    Drag({5, 5}, {50, 5});
    const Bitmap line = Region();
    EXPECT_EQ(line.pixel(20, 5), kRed);
    Click(editor->palette->Edit(27));
    Click(editor->Btn[12]);
    Click(editor->RBtn[2]);
    Drag({20, 20}, {100, 60});
    EXPECT_EQ(Region().pixel(10, 20), kBlue);
    EXPECT_EQ(Region().pixel(30, 10), kBlue);
    // Brush mode: a click fills the white around the figures.
    Click(editor->RBtn[8]);
    EXPECT_FALSE(editor->GroupBox1->isVisible());
    QTest::mouseClick(editor->Image1, Qt::LeftButton, {}, QPoint(110, 70));
    const Bitmap filled = Region();
    EXPECT_EQ(filled.pixel(55, 35), kBlue);
    EXPECT_EQ(filled.pixel(20, 15), clWhite);  // inside the rectangle

    dialogs->shown.clear();
    Click(editor->Btn[9]);
    EXPECT_EQ(Region().pixel(55, 35), clWhite);
    Click(editor->Btn[9]);
    Click(editor->Btn[9]);
    EXPECT_EQ(Region(), Bitmap(60, 40, clWhite));
    Click(editor->Btn[10], 3);
    EXPECT_EQ(Region(), filled);
    EXPECT_TRUE(dialogs->shown.empty());
    // The page and its history never saw any of it.
    EXPECT_EQ(page->bitmap(), pageBefore);
    EXPECT_EQ(page->history().counter(), 1);
    EXPECT_EQ(PageSnapshots(), 0);
    EXPECT_EQ(Files().ListFiles(App().HistoryFolder(2)).size(), 4u);
}

TEST_F(RegionEditorTest, AFloatingCopyIsDroppedWhereItWasDragged) {
    Bitmap region = TwoColours(60, 40);
    Open(region);
    Click(editor->RBtn[5]);
    Drag({1, 1}, {11, 9});  // (0, 0) would be taken for the control's centre
    ASSERT_TRUE(editor->Image2->isVisible());
    EXPECT_TRUE(Files().FileExists(dir.file("CCTmp.bmp")));
    // Its centre follows the pointer to (35, 25) in its own coordinates: the top-left lands at
    // (31, 22).
    editor->Image2MouseDown(Qt::LeftButton);
    editor->Image2MouseMove(35, 25);
    editor->Image2MouseUp(Qt::LeftButton);
    editor->Image2MouseMove(90, 90);  // released: no longer follows
    EXPECT_EQ(editor->Image2->pos(), QPoint(31, 22));
    Click(editor->Btn[14]);  // any button drops it
    EXPECT_FALSE(editor->Image2->isVisible());
    EXPECT_EQ(Region().pixel(33, 24), kRed);
    EXPECT_EQ(Region().pixel(34, 25), clWhite);
    EXPECT_EQ(Region().pixel(0, 0), kRed);  // a copy leaves the original
}

TEST_F(RegionEditorTest, LeavingPastesBackOrLeavesThePageAlone) {
    Files().CreateFolder(dir.file("tmpQRTEST"));
    const Bitmap pageBefore = page->bitmap();
    struct Case {
        int button;  // 8 確定, 1 範囲内消去, 0 Cancel, -1 the window manager's close
        bool pasted;
        TColor colour;  // of the pasted region
    };
    const Case cases[] = {{0, false, 0}, {-1, false, 0}, {8, true, kBlue}, {1, true, clWhite}};
    for (const Case& c : cases) {
        Open(Bitmap(30, 20, kBlue), {10, 20});
        Click(editor->palette->Edit(3));
        Drag({1, 1}, {1, 19});  // a red line the paste does not take (it is undone)
        Click(editor->Btn[9]);
        if (c.button < 0)
            editor->close();
        else
            Click(editor->Btn[static_cast<std::size_t>(c.button)]);
        Settle();
        EXPECT_TRUE(editor.isNull()) << c.button;
        EXPECT_FALSE(Files().FolderExists(dir.file("TmpWorkB"))) << c.button;
        EXPECT_FALSE(Files().FolderExists(dir.file("tmpQRTEST"))) << c.button;
        EXPECT_EQ(page->history().counter(), c.pasted ? 2 : 1) << c.button;
        if (c.pasted) {
            const Bitmap& p = page->bitmap();
            EXPECT_EQ(p.pixel(10, 20), c.colour);
            EXPECT_EQ(p.pixel(39, 39), c.colour);
            EXPECT_EQ(p.pixel(40, 39), pageBefore.pixel(40, 39));
            EXPECT_EQ(p.pixel(39, 40), pageBefore.pixel(39, 40));
            EXPECT_EQ(p.pixel(9, 20), pageBefore.pixel(9, 20));
            page->history().StepBack(page->bitmap());
            page->history().Reset();
        }
        EXPECT_EQ(page->bitmap(), pageBefore) << c.button;
    }
}

TEST_F(RegionEditorTest, APageSnapshotThatFailsKeepsTheEditorOpen) {
    // The page history's folder cannot be made: a file stands where its parent should be.
    test::WriteFileBytes(dir.file("blocked"), "x");
    page = std::make_unique<EditSurface>(pageImage.picture(), dir.file("blocked/TmpWorkA"));
    const Bitmap pageBefore = page->bitmap();
    Open(TwoColours(30, 20));
    for (int button : {8, 1}) {
        Click(editor->Btn[static_cast<std::size_t>(button)]);
        ASSERT_FALSE(editor.isNull()) << button;
        EXPECT_EQ(page->bitmap(), pageBefore);
        EXPECT_EQ(Region(), TwoColours(30, 20)) << "the erase leaves the region as it was";
    }
}

TEST_F(RegionEditorTest, RollbackToOpenReturnsToTheToolScreensStart) {
    Open(TwoColours(30, 20));
    Click(editor->palette->Edit(3));
    Drag({0, 10}, {29, 10});
    const Bitmap opened = Region();
    const int start = editor->RegionSurface().history().counter();
    for (TColor c : {kBlue, clBlack}) {
        ASSERT_TRUE(editor->SnapshotRegion());
        editor->RegionBitmap().fill(c);
        editor->RegionChanged();
    }
    editor->RollbackToOpen(start);
    EXPECT_EQ(Region(), opened);
    EXPECT_EQ(editor->RegionSurface().history().counter(), start);
    EXPECT_EQ(dialogs->maxBusyDepth, 1);
    EXPECT_EQ(dialogs->busyDepth, 0);
    // The red line stays undoable; nothing of the tool screen is left to redo.
    Click(editor->Btn[10]);
    EXPECT_EQ(dialogs->shown.back().text, "これより後はない");
    Click(editor->Btn[9]);
    EXPECT_EQ(Region(), TwoColours(30, 20));
}

}  // namespace
}  // namespace pb
