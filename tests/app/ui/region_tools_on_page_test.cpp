// The region editor opened by tool 7 on the real main screen and its tool screens, as a user
// goes through them: the region turned, a decorated text stamped, each pasted back onto the page
// as one step of the page history (a picture imported into the region is the road test's).
#include "common/app_state.h"
#include "common/page_tools.h"
#include "imaging/ui/rotation_screen.h"
#include "objects/ui/decorated_text_stamp_screen.h"
#include "page_flow.h"

namespace pb {
namespace {

using RegionToolsOnPage = test::PageFlow;

TEST_F(RegionToolsOnPage, ATurnedRegionIsPastedAndUndoneOnThePage) {
    Start();
    Click(form->Btn[21]);  // A4 portrait: zoom 50
    PaintRed();
    const Bitmap painted = Page();

    // (20, 30)..(100, 90) on screen is (40, 60)..(200, 180) on the page.
    TForm2* editor = MarkRegion({20, 30}, {100, 90});
    ASSERT_TRUE(editor && form->Region() == editor) << "the hub's region is the open editor";
    const Bitmap opened = editor->RegionBitmap();
    ASSERT_EQ(opened.size(), (Size{160, 120}));
    EXPECT_EQ(opened.pixel(59, 39), painted.pixel(99, 99));
    const int pageCounter = form->PageSurface->history().counter();

    // "回転反転" by angle: thirty steps up, OK.
    Click(editor->Btn[2]);
    auto* rotation = Window<TForm4>("Form4");
    ASSERT_NE(rotation, nullptr);
    Click(rotation->RadioButton2);
    for (int i = 0; i < 30; ++i) Click(rotation->BtnYTB[2]);
    Click(rotation->BtnDtStClose);
    const Bitmap turned = editor->RegionBitmap();
    ASSERT_NE(turned, opened);

    EXPECT_EQ(form->PageSurface->history().counter(), pageCounter) << "the page history waits";

    // The region's 確定: pasted at the marked page pixels as one step; undone and redone.
    Click(editor->Btn[8]);
    EXPECT_EQ(form->Region(), nullptr);
    EXPECT_EQ(App().ToolIndex, kSelectEdit) << "the page's own tool again";
    EXPECT_FALSE(Files().FolderExists(dir.file("TmpWorkB")));
    EXPECT_EQ(form->PageSurface->history().counter(), pageCounter + 1);
    const Bitmap expected = PastedAt(painted, turned, {40, 60});
    EXPECT_EQ(Page(), expected);
    Click(form->Btn[8]);  // 戻す
    EXPECT_EQ(Page(), painted);
    Click(form->Btn[9]);  // 進む
    EXPECT_EQ(Page(), expected);
    EXPECT_TRUE(dialogs->shown.empty()) << dialogs->shown.front().text;
}

TEST_F(RegionToolsOnPage, ADecoratedTextWithShadowAndArchIsStampedIntoTheRegion) {
    Start();
    TForm2* editor = MarkRegion({20, 20}, {320, 220});
    ASSERT_NE(editor, nullptr);
    const Bitmap opened = editor->RegionBitmap();

    // "装飾文字": the keyboard, then the stamp screen with the typed text.
    Click(editor->Btn[18]);
    auto* keyboard = Window<TForm6>("Form6");
    ASSERT_NE(keyboard, nullptr);
    Type(keyboard, "SALE");
    Click(keyboard->Find<QPushButton>("Button114"));  // 無変換
    Click(keyboard->BtnDtStClose);
    auto* stamp = Window<TForm15>("Form15");
    ASSERT_NE(stamp, nullptr);
    Click(stamp->RBtn[5]);  // 影つき
    Click(stamp->FBtn[2]);       // arch
    Click(stamp->BtnDtStClose);
    const Bitmap stamped = editor->RegionBitmap();
    EXPECT_NE(stamped, opened);

    const Bitmap page = Page();
    const Point at = form->selectionOrigin();
    Click(editor->Btn[8]);
    EXPECT_EQ(Page(), PastedAt(page, stamped, at));
    EXPECT_TRUE(dialogs->shown.empty()) << dialogs->shown.front().text;
}

}  // namespace
}  // namespace pb
