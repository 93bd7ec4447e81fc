// Tool 7 on the main screen: the region editor opens on the marked rectangle, and what it
// pastes back is one step of the page history.
#include "common/app_state.h"
#include "common/page_tools.h"
#include "common/ui/palette_widgets.h"
#include "page_flow.h"

namespace pb {
namespace {

using RegionRoundTripTest = test::PageFlow;

TEST_F(RegionRoundTripTest, ConfirmPastesAtThePagePixelsAndUndoesOnThePage) {
    Start();
    Click(form->Btn[21]);  // A4 portrait: zoom 50
    ASSERT_EQ(form->zoom(), 50);
    PaintRed();
    const Bitmap painted = Page();

    // (20, 30)..(70, 70) on screen is (40, 60)..(140, 140) on the page.
    TForm2* editor = MarkRegion({20, 30}, {70, 70});
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(form->Region(), editor);
    EXPECT_EQ(editor->geometry(), QRect(0, 0, 1280, 800)) << "the editor covers the main screen";
    const Bitmap& region = editor->RegionBitmap();
    ASSERT_EQ(region.size(), (Size{100, 80}));
    EXPECT_EQ(region.pixel(99, 79), painted.pixel(139, 139));
    const int pageCounter = form->PageSurface->history().counter();

    // A blue bucket fill of the region's white, then "確定".
    Click(editor->RBtn[8]);
    Click(editor->palette->Edit(27));
    QTest::mouseClick(editor->Image1, Qt::LeftButton, {}, QPoint(99, 1));
    const Bitmap edited = region;
    EXPECT_EQ(form->PageSurface->history().counter(), pageCounter) << "the page history waits";
    Click(editor->Btn[8]);
    EXPECT_EQ(form->Region(), nullptr);
    EXPECT_EQ(App().ToolIndex, kSelectEdit) << "the page's own tool again";
    EXPECT_FALSE(Files().FolderExists(dir.file("TmpWorkB")));
    EXPECT_EQ(form->PageSurface->history().counter(), pageCounter + 1);

    const Bitmap expected = PastedAt(painted, edited, {40, 60});
    ASSERT_GT(test::CountPixels(edited, RGB(0, 0, 0xFF)), 0);  // Edit27
    EXPECT_EQ(Page(), expected);
    Click(form->Btn[8]);  // 戻す
    EXPECT_EQ(Page(), painted);
    Click(form->Btn[9]);  // 進む
    EXPECT_EQ(Page(), expected);
    EXPECT_TRUE(dialogs->shown.empty());
}

}  // namespace
}  // namespace pb
