// The region editor's tool screens opened from the real main screen, as a user goes through
// them: a picture imported and turned, a decorated text stamped, each pasted back onto the page.
#include "common/app_state.h"
#include "imaging/ui/picture_import_screen.h"
#include "imaging/ui/rotation_screen.h"
#include "objects/ui/decorated_text_stamp_screen.h"
#include "support/platform_fixtures.h"
#include "page_flow.h"

namespace pb {
namespace {

class RegionToolsOnPage : public test::PageFlow {
  protected:
    static void ClickRadio(QRadioButton* radio) {
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(8, 12));
    }
};

TEST_F(RegionToolsOnPage, APictureImportedAndTurnedIsPastedAndUndoneOnThePage) {
    const std::string pictures = dir.file("pictures");
    ASSERT_TRUE(Files().CreateFolder(pictures));
    ASSERT_TRUE(Files().WriteBytes(JoinPath(pictures, "photo.jpg"),
                                   test::EncodeJpeg(test::NoiseBitmap(60, 40, 7))));
    Start();
    App().CurrentPictureFolder = pictures;
    PaintRed();
    const Bitmap painted = Page();

    TForm2* editor = MarkRegion({30, 30}, {190, 150});
    ASSERT_NE(editor, nullptr);
    const Bitmap opened = editor->RegionBitmap();

    // "画像": the photo's thumbnail, unscaled, OK.
    Click(editor->Btn[5]);
    auto* import = Window<TForm3>("Form3");
    ASSERT_NE(import, nullptr);
    const auto items = import->ListView1->findItems("photo.jpg", Qt::MatchExactly);
    ASSERT_FALSE(items.isEmpty());
    QTest::mouseClick(import->ListView1->viewport(), Qt::LeftButton, {},
                      import->ListView1->visualItemRect(items[0]).center());
    ClickRadio(import->RadioButton[0]);
    Click(import->BtnDtStClose);
    const Bitmap imported = editor->RegionBitmap();
    ASSERT_NE(imported, opened);

    // "回転反転" by angle: thirty steps up, OK.
    Click(editor->Btn[2]);
    auto* rotation = Window<TForm4>("Form4");
    ASSERT_NE(rotation, nullptr);
    ClickRadio(rotation->RadioButton2);
    for (int i = 0; i < 30; ++i) Click(rotation->BtnYTB[2]);
    Click(rotation->BtnDtStClose);
    const Bitmap turned = editor->RegionBitmap();
    ASSERT_NE(turned, imported);

    // The region's 確定: pasted at the marked corner; undone on the page.
    const Point at = form->selectionOrigin();
    Click(editor->Btn[8]);
    EXPECT_EQ(Page(), PastedAt(painted, turned, at));
    Click(form->Btn[8]);  // 戻す
    EXPECT_EQ(Page(), painted);
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
    ClickRadio(stamp->RBtn[5]);  // 影つき
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
