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
    void Open(Bitmap region) {
        editor = new TForm2(std::move(region), {page.get(), &pageImage, {10, 20}});
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

    test::TempDir dir;
    test::ScriptedDialogScope dialogs;
    ImageControl pageImage;
    std::unique_ptr<EditSurface> page;
    QPointer<TForm2> editor;
};

TEST_F(RegionEditorTest, ZoomAndPenWidthStepWithinTheirBounds) {
    Open(TwoColours(50, 30));
    const struct {
        int button;  // 11 zoom out, 12 zoom in, 13 thinner, 14 wider
        int clicks, zoom, penWidth;
    } cases[] = {
        {11, 1, 90, 2},    {11, 9, 10, 2},   // never below 10
        {12, 9, 100, 2},   {12, 1, 200, 2},  // tens up to 100, then hundreds
        {12, 7, 800, 2},   {13, 5, 800, 1},  // never above 800; pen width 1 .. 20
        {14, 25, 800, 20},
    };
    for (const auto& c : cases) {
        Click(editor->Btn[static_cast<std::size_t>(c.button)], c.clicks);
        EXPECT_EQ(editor->Label[5]->text(), QString::number(c.zoom)) << "Btn" << c.button;
        EXPECT_EQ(editor->Image1->size(), QSize(50 * c.zoom / 100, 30 * c.zoom / 100));
        EXPECT_EQ(editor->Label[6]->text(), QString::number(c.penWidth)) << "Btn" << c.button;
    }
}

TEST_F(RegionEditorTest, ToolScreensRefuseRegionsTheyCannotWorkOn) {
    const struct {
        Bitmap region;
        int button;
        const char* message;  // nullptr: the screen's open function is called
    } cases[] = {
        {Bitmap(40, 40, kBlue), 2, "どう見ても絵と呼べそうなものはない"},
        {Bitmap(40, 40, kBlue), 4, "これを2色に塗り分けるのはきっと無理"},
        {TwoColours(24, 30), 3, "小さすぎ"},
        {Bitmap(25, 25, kBlue), 3, nullptr},
    };
    for (const auto& c : cases) {
        Open(c.region);
        dialogs->shown.clear();
        Click(editor->Btn[static_cast<std::size_t>(c.button)]);
        ASSERT_EQ(dialogs->shown.size(), c.message ? 1u : 0u) << "Btn" << c.button;
        const std::string seen =
            c.message ? dialogs->shown[0].text + dialogs->shown[0].caption : "";
        EXPECT_EQ(seen, c.message ? c.message + std::string("NG") : "") << "Btn" << c.button;
        delete editor.data();
    }
}

TEST_F(RegionEditorTest, PaintingStaysInTheRegionHistory) {
    Open(Bitmap(60, 40, clWhite));
    const Bitmap pageBefore = page->bitmap();
    // A blue rectangle at zoom 200: canvas points are halved.
    Click(editor->palette->Edit(27));
    Click(editor->Btn[12]);
    Click(editor->RBtn[2]);
    Drag({20, 20}, {100, 60});
    const Bitmap painted = Region();
    EXPECT_EQ(painted.pixel(30, 10), kBlue);
    Click(editor->Btn[9], 2);  // the second "戻す" finds nothing before
    EXPECT_EQ(Region(), Bitmap(60, 40, clWhite));
    Click(editor->Btn[10], 2);
    EXPECT_EQ(Region(), painted);
    ASSERT_EQ(dialogs->shown.size(), 2u);
    EXPECT_EQ(dialogs->shown[0].text, "これより前はない");
    EXPECT_EQ(dialogs->shown[1].text, "これより後はない");
    EXPECT_EQ(page->bitmap(), pageBefore);
    EXPECT_EQ(page->history().counter(), 1);
    EXPECT_TRUE(Files().ListFiles(App().HistoryFolder(1)).empty());
}

TEST_F(RegionEditorTest, LeavingPastesBackOrLeavesThePageAlone) {
    Files().CreateFolder(dir.file("tmpQRTEST"));
    const Bitmap pageBefore = page->bitmap();
    // Buttons: 0 Cancel, -1 the window manager's close, 8 確定, 1 範囲内消去.
    const std::pair<int, TColor> cases[] = {{0, 0}, {-1, 0}, {8, kBlue}, {1, clWhite}};
    for (const auto& [button, pasted] : cases) {
        Open(Bitmap(30, 20, kBlue));
        Click(editor->palette->Edit(3));
        Drag({1, 1}, {1, 19});  // a red line, undone before leaving
        Click(editor->Btn[9]);
        if (button < 0)
            editor->close();
        else
            Click(editor->Btn[static_cast<std::size_t>(button)]);
        Settle();
        EXPECT_TRUE(editor.isNull()) << button;
        EXPECT_FALSE(Files().FolderExists(dir.file("TmpWorkB")));
        EXPECT_FALSE(Files().FolderExists(dir.file("tmpQRTEST")));
        EXPECT_EQ(page->history().counter(), pasted ? 2 : 1) << button;
        if (pasted) {
            Bitmap expected = pageBefore;
            for (int y = 20; y < 40; ++y) expected.fillSpan(y, 10, 40, pasted);
            EXPECT_EQ(page->bitmap(), expected) << button;
            page->history().StepBack(page->bitmap());
            page->history().Reset();
        }
        EXPECT_EQ(page->bitmap(), pageBefore) << button;
    }
}

TEST_F(RegionEditorTest, APageSnapshotThatFailsKeepsTheEditorOpen) {
    // No folder can be made where a file stands.
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
    const int start = editor->RegionSurface().history().counter();
    ASSERT_TRUE(editor->SnapshotRegion() && editor->SnapshotRegion());
    editor->RegionBitmap().fill(kBlue);
    editor->RollbackToOpen(start);
    EXPECT_EQ(Region(), TwoColours(30, 20));
    EXPECT_EQ(editor->RegionSurface().history().counter(), start);
}

}  // namespace
}  // namespace pb
