// Tool 7 on the main screen: the region editor opens on the marked rectangle, and what it
// pastes back is one step of the page history.
#include "common/app_state.h"
#include "common/page_tools.h"
#include "common/ui/palette_widgets.h"
#include "imaging/ui/region_editor.h"
#include "platform/file_service.h"
#include "support/ui/app_fixtures.h"

namespace pb {
namespace {

constexpr TColor kBlue = RGB(0, 0, 0xFF);  // Edit27

class RegionRoundTripTest : public test::MainScreenFixture {
  protected:
    // Marks a rectangle with "□選択範囲編集" (screen points of the page image).
    TForm2* MarkRegion(QPoint from, QPoint to) {
        Click(form->RBtn[7]);
        Stroke(from, to);
        return Window<TForm2>("Form2");
    }
};

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
    EXPECT_EQ(form->LabelPX0->text(), "40");
    EXPECT_EQ(form->LabelPY0->text(), "60");
    EXPECT_EQ(editor->Label[7]->text(), "W: 2.64cm");  // 100 px at 96 ppi
    EXPECT_EQ(editor->Label[8]->text(), "H: 2.11cm");  // 80 px
    EXPECT_EQ(editor->geometry(), QRect(0, 0, 1280, 800)) << "the editor covers the main screen";
    const Bitmap& region = editor->RegionBitmap();
    ASSERT_EQ(region.size(), (Size{100, 80}));
    EXPECT_EQ(region.pixel(0, 0), painted.pixel(40, 60));
    EXPECT_EQ(region.pixel(99, 79), painted.pixel(139, 139));
    const int pageCounter = form->PageSurface->history().counter();

    // A blue bucket fill of the region's white, then "確定".
    Click(editor->RBtn[8]);
    Click(editor->palette->Edit(27));
    QTest::mouseClick(editor->Image1, Qt::LeftButton, {}, QPoint(99, 1));
    const Bitmap edited = region;
    EXPECT_EQ(form->PageSurface->history().counter(), pageCounter) << "the page history waits";
    Click(editor->Btn[8]);
    EXPECT_EQ(Window<TForm2>("Form2"), nullptr);
    EXPECT_EQ(form->Region(), nullptr);
    EXPECT_EQ(App().ToolIndex, kSelectEdit) << "the page's own tool again";
    EXPECT_TRUE(App().PenMode);
    EXPECT_FALSE(Files().FolderExists(dir.file("TmpWorkB")));
    EXPECT_EQ(form->PageSurface->history().counter(), pageCounter + 1);

    Bitmap expected = painted;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x) expected.setPixel(40 + x, 60 + y, edited.pixel(x, y));
    ASSERT_GT(test::CountPixels(edited, kBlue), 0);
    EXPECT_EQ(Page(), expected);
    Click(form->Btn[8]);  // 戻す
    EXPECT_EQ(Page(), painted);
    Click(form->Btn[9]);  // 進む
    EXPECT_EQ(Page(), expected);
    EXPECT_TRUE(dialogs->shown.empty());
}

}  // namespace
}  // namespace pb
