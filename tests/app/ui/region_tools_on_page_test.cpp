// The region editor's tool screens opened from the real main screen, as a user goes through
// them: a picture imported and turned, a decorated text stamped, each pasted back onto the page.
#include "common/app_state.h"
#include "imaging/ui/picture_import_screen.h"
#include "imaging/ui/region_editor.h"
#include "imaging/ui/rotation_screen.h"
#include "objects/ui/decorated_text_stamp_screen.h"
#include "platform/file_service.h"
#include "support/platform_fixtures.h"
#include "support/ui/app_fixtures.h"
#include "textentry/ui/keyboard_screen.h"

namespace pb {
namespace {

class RegionToolsOnPage : public test::MainScreenFixture {
  protected:
    // Marks a rectangle with "□選択範囲編集" (screen points of the page image).
    TForm2* MarkRegion(QPoint from, QPoint to) {
        Click(form->RBtn[7]);
        Stroke(from, to);
        return Window<TForm2>("Form2");
    }
    static void ClickRadio(QRadioButton* radio) {
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(8, 12));
    }
    // The page with `region` drawn at `at`.
    Bitmap PastedAt(Bitmap page, const Bitmap& region, Point at) {
        for (int y = 0; y < region.height(); ++y)
            for (int x = 0; x < region.width(); ++x)
                page.setPixel(at.x + x, at.y + y, region.pixel(x, y));
        return page;
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
    ASSERT_EQ(items.size(), 1);
    QTest::mouseClick(import->ListView1->viewport(), Qt::LeftButton, {},
                      import->ListView1->visualItemRect(items[0]).center());
    ClickRadio(import->RadioButton[0]);
    Click(import->BtnDtStClose);
    ASSERT_EQ(Window<TForm3>("Form3"), nullptr);
    const Bitmap imported = editor->RegionBitmap();
    ASSERT_NE(imported, opened);

    // "回転反転" by angle: thirty steps up, OK.
    Click(editor->Btn[2]);
    auto* rotation = Window<TForm4>("Form4");
    ASSERT_NE(rotation, nullptr);
    ClickRadio(rotation->RadioButton2);
    for (int i = 0; i < 30; ++i) Click(rotation->BtnYTB[2]);
    EXPECT_EQ(rotation->LabelYTBVAL->text(), "30");
    Click(rotation->BtnDtStClose);
    ASSERT_EQ(Window<TForm4>("Form4"), nullptr);
    const Bitmap turned = editor->RegionBitmap();
    ASSERT_EQ(turned.size(), opened.size());
    ASSERT_NE(turned, imported);

    // The region's 確定: pasted at the marked corner; undone and redone on the page.
    const Point at = form->selectionOrigin();
    Click(editor->Btn[8]);
    ASSERT_EQ(Window<TForm2>("Form2"), nullptr);
    const Bitmap expected = PastedAt(painted, turned, at);
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
    for (const char* key : {"S", "A", "L", "E"}) {
        bool found = false;
        StringGrid* grid = keyboard->StringGrid3;
        for (int r = 0; r < grid->RowCount() && !found; ++r)
            for (int c = 0; c < grid->ColCount() && !found; ++c)
                if (grid->Cell(c, r).trimmed() == QLatin1String(key)) {
                    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                                      grid->CellRect(c, r).center());
                    found = true;
                }
        ASSERT_TRUE(found) << key;
    }
    Click(keyboard->Find<QPushButton>("Button114"));  // 無変換
    ASSERT_EQ(keyboard->Memo1->toPlainText(), "SALE");
    Click(keyboard->Find<QPushButton>("BtnDtStClose"));
    auto* stamp = Window<TForm15>("Form15");
    ASSERT_NE(stamp, nullptr);
    ClickRadio(stamp->RBtn[5]);  // 影つき
    Click(stamp->FBtn[2]);       // arch
    ASSERT_TRUE(editor->PlacedImage()->isVisible());
    Click(stamp->BtnDtStClose);
    ASSERT_EQ(Window<TForm15>("Form15"), nullptr);
    const Bitmap stamped = editor->RegionBitmap();
    EXPECT_NE(stamped, opened);
    EXPECT_FALSE(editor->PlacedImage()->isVisible());

    const Bitmap page = Page();
    const Point at = form->selectionOrigin();
    Click(editor->Btn[8]);
    EXPECT_EQ(Page(), PastedAt(page, stamped, at));
    EXPECT_TRUE(dialogs->shown.empty()) << dialogs->shown.front().text;
}

}  // namespace
}  // namespace pb
