// The object design screens driven by clicks, over a stand-in main screen.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPointer>
#include <QTest>

#include "common/palette.h"
#include "common/picture_browsing.h"
#include "fake_hub.h"
#include "objects/decorated_design_screen.h"
#include "objects/object_list_screen.h"
#include "objects/plain_text_design_screen.h"
#include "objects/strdata.h"
#include "platform/fonts.h"
#include "platform/picture_io.h"
#include "support/test_support.h"

namespace pb {
namespace {

// The stand-in main screen, also recording the note and the design screen it is asked for.
class DesignHub : public test::FakeMainScreen {
  public:
    using FakeMainScreen::FakeMainScreen;
    void ShowImageQualityNote(bool visible) override { note.push_back(visible); }
    void OpenObjectDesign(bool decorated) override { design.push_back(decorated); }
    std::vector<bool> note;
    std::vector<bool> design;
};

constexpr int kPageHeight = 559;

class DesignScreenTest : public ::testing::Test {
  protected:
    DesignScreenTest() { Files().CreateFolder(main.folder()); }
    // Writes `rec` into `slot`, shows its image and selects it, as the object list leaves it.
    void Place(ObjectRecord rec, int slot = 0) {
        ASSERT_TRUE(WriteObject(main.folder(), slot, rec));
        ASSERT_TRUE(main.LoadObjectImage(main.folder(), slot));
        App().SelectedObject = slot;
    }
    static ObjectRecord Shape(int width = 100, int height = 100) {
        ObjectRecord rec = NewShapeObject(0, kPageHeight, false);
        rec.FontSize = width;
        rec.Align = height;
        return rec;
    }
    static void Click(QWidget* w) {
        ASSERT_TRUE(w);
        ASSERT_TRUE(w->isVisible()) << w->objectName().toStdString();
        QTest::mouseClick(w, Qt::LeftButton);
    }
    std::optional<ObjectRecord> Stored(int slot = 0) const {
        return ReadObject(main.folder(), slot);
    }
    std::vector<std::string> Said() {
        std::vector<std::string> out;
        for (const auto& s : dialogs->shown) out.push_back(s.text + "/" + s.caption);
        return out;
    }
    // Lets the screens that released themselves be deleted.
    static void Settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    test::ScriptedDialogScope dialogs;
    DesignHub main;
};

TEST_F(DesignScreenTest, ArchButtonsOnlyForTextsAndEllipses) {
    Place(Shape());
    QPointer<TForm9> form = new TForm9;
    struct Step {
        int kind;  // BtnA digit; 0: as opened
        bool archEnabled;
    };
    const Step steps[] = {{0, false}, {2, false}, {3, true}, {1, false}, {3, true}};
    for (const Step& s : steps) {
        if (s.kind) Click(form->BtnA[s.kind]);
        EXPECT_EQ(form->BtnF[1]->isEnabled(), s.archEnabled) << s.kind;
        EXPECT_EQ(form->BtnF[2]->isEnabled(), s.archEnabled) << s.kind;
        EXPECT_TRUE(form->BtnF[3]->isEnabled());
        if (s.kind) {
            EXPECT_EQ(form->shapeKind(), s.kind);
        }
    }
    EXPECT_EQ(form->CurrentRecord().Text, "vrnSHAPE3");
    delete form.data();

    Place(NewDecoratedText(0, kPageHeight, false));
    form = new TForm9;
    EXPECT_TRUE(form->BtnF[1]->isEnabled());
    EXPECT_FALSE(form->BtnA[1]->isVisible());
    EXPECT_TRUE(form->BtnM[1]->isVisible());
    delete form.data();
}

TEST_F(DesignScreenTest, ShapeSizeButtons) {
    struct Case {
        const char* what;
        bool a4;
        Size shape;
        const char* button;
        Size expected;
    };
    const Case cases[] = {
        {"22 wide: 2 + 20 < 22 is false", false, {22, 50}, "BtnS01", {22, 50}},
        {"23 wide shrinks by 2", false, {23, 50}, "BtnS01", {21, 50}},
        {"wider by 2", false, {100, 100}, "BtnS02", {102, 100}},
        {"40 wide: 20 + 20 < 40 is false", false, {40, 50}, "BtnS03", {40, 50}},
        {"wider by 20", false, {100, 100}, "BtnS04", {120, 100}},
        {"wider by 40 on A4", true, {200, 200}, "BtnS04", {240, 200}},
        {"narrower by 40 on A4", true, {200, 200}, "BtnS03", {160, 200}},
        {"22 high", false, {50, 22}, "BtnS11", {50, 22}},
        {"higher by 2", false, {50, 50}, "BtnS12", {50, 52}},
        {"higher by 40 on A4", true, {200, 200}, "BtnS14", {200, 240}},
    };
    for (const Case& c : cases) {
        App().PageMode = c.a4 ? kA4Portrait : kPostcardPortrait;
        Place(Shape(c.shape.width, c.shape.height));
        QPointer<TForm9> form = new TForm9;
        Click(form->Find<QPushButton>(QString::fromUtf8(c.button)));
        const ObjectRecord rec = form->CurrentRecord();
        EXPECT_EQ((Size{rec.Width(), rec.Height()}), c.expected) << c.what;
        // The object on the page shows the new size at once.
        EXPECT_EQ(ObjectImages()[0]->bitmapSize(), c.expected) << c.what;
        delete form.data();
    }
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(DesignScreenTest, GrowthThatWouldLeaveThePageIsRefused) {
    // A 100 x 100 shape whose image lies 270 pixels right of and 450 below the page's corner:
    // 108 pixels of room to the right, 109 below.
    ObjectRecord rec = Shape();
    Place(rec);
    ObjectImages()[0]->image()->move(main.page->x() + 270, main.page->y() + 450);
    QPointer<TForm9> form = new TForm9;
    struct Step {
        const char* button;
        Size expected;
        const char* said;
    };
    const Step steps[] = {
        {"BtnS04", {100, 100}, "右余白が足りない/NG"},
        {"BtnS02", {102, 100}, nullptr},
        {"BtnS14", {102, 100}, "下余白が足りない/NG"},
        {"BtnS12", {102, 102}, nullptr},
    };
    for (const Step& s : steps) {
        dialogs->shown.clear();
        Click(form->Find<QPushButton>(QString::fromUtf8(s.button)));
        const ObjectRecord now = form->CurrentRecord();
        EXPECT_EQ((Size{now.Width(), now.Height()}), s.expected) << s.button;
        EXPECT_EQ(Said(), s.said ? std::vector<std::string>{s.said} : std::vector<std::string>{})
            << s.button;
    }
    // A slant of 10 (Height / 10) needs 102 + 10 rows: refused; the amount stays.
    Click(form->BtnF[4]);
    EXPECT_EQ(Said(), std::vector<std::string>{"下余白が足りない/NG"});
    EXPECT_EQ(form->CurrentRecord().DeformAmount, 0);
    delete form.data();
}

TEST_F(DesignScreenTest, DeformationSwitchesModeFromZero) {
    Place(NewDecoratedText(0, kPageHeight, false));  // 36 points: step 9
    QPointer<TForm9> form = new TForm9;
    Click(form->BtnF[2]);
    Click(form->BtnF[2]);
    EXPECT_EQ(form->CurrentRecord().DeformMode, 1);
    EXPECT_EQ(form->CurrentRecord().DeformAmount, 18);
    Click(form->BtnF[3]);  // slant: starts again from 0
    EXPECT_EQ(form->CurrentRecord().DeformMode, 2);
    EXPECT_EQ(form->CurrentRecord().DeformAmount, -9);
    const int height = ObjectImages()[0]->bitmapSize().height;
    Click(form->BtnF[3]);
    EXPECT_EQ(ObjectImages()[0]->bitmapSize().height, height + 9);
    delete form.data();
}

TEST_F(DesignScreenTest, FontSizeStepsOfDecoratedTexts) {
    struct Case {
        bool a4;
        int size;
        int button;
        int expected;
    };
    const Case cases[] = {
        {false, 36, 2, 40}, {false, 36, 1, 32}, {false, 36, 4, 52}, {true, 72, 4, 104},
        {true, 72, 3, 40},  {false, 12, 1, 10}, {false, 20, 3, 10},
    };
    for (const Case& c : cases) {
        App().PageMode = c.a4 ? kA4Portrait : kPostcardPortrait;
        ObjectRecord rec = NewDecoratedText(0, kPageHeight, c.a4);
        rec.FontSize = c.size;
        rec.Text = "あ";
        Place(rec);
        QPointer<TForm9> form = new TForm9;
        Click(form->BtnM[c.button]);
        EXPECT_EQ(form->CurrentRecord().FontSize, c.expected) << c.size << " BtnM" << c.button;
        delete form.data();
    }
}

TEST_F(DesignScreenTest, StripeThenPatternClearsTheComponentColours) {
    Place(Shape());
    QPointer<TForm9> form = new TForm9;
    EXPECT_TRUE(form->ComboBox1->isVisible());  // a new shape has FillStyle 10
    EXPECT_TRUE(form->RBtn1->isVisible());
    form->ComboBox1->setCurrentIndex(3);
    emit form->ComboBox1->activated(3);
    EXPECT_EQ(form->CurrentRecord().FillStyle, 13);

    Click(form->BtnB[2]);  // STRIPE
    EXPECT_FALSE(form->ComboBox1->isVisible());
    EXPECT_FALSE(form->RBtn1->isVisible());
    QLabel* caption = form->Find<QLabel>(QStringLiteral("Label3"));
    ASSERT_TRUE(caption);
    EXPECT_EQ(caption->text(), "STRIPE構成色選択");
    EXPECT_TRUE(form->palette->Edit(48)->isVisible());
    EXPECT_TRUE(form->BtnV1->isVisible());
    Click(form->palette->ColBtn(8));  // 虹色
    EXPECT_EQ(form->CurrentRecord().UseColor, (std::array<bool, 7>{1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(form->CurrentRecord().FillStyle, 2);
    EXPECT_TRUE(Files().FileExists(CompanionBitmapPath(main.folder(), 0)));

    Click(form->BtnB[1]);  // 定型線描
    const ObjectRecord rec = form->CurrentRecord();
    EXPECT_EQ(rec.UseColor, (std::array<bool, 7>{}));
    for (TColor c : rec.Color) EXPECT_EQ(c, clWhite);
    EXPECT_TRUE(form->ComboBox1->isVisible());
    EXPECT_EQ(form->ComboBox1->currentIndex(), 3);
    EXPECT_EQ(rec.FillStyle, 13);
    EXPECT_FALSE(form->palette->Edit(41)->isVisible());
    EXPECT_FALSE(form->palette->Edit(48)->isVisible());
    // Pattern fills keep no companion bitmap.
    EXPECT_FALSE(Files().FileExists(CompanionBitmapPath(main.folder(), 0)));
    delete form.data();
}

TEST_F(DesignScreenTest, ColourTargets) {
    Place(Shape());
    QPointer<TForm9> form = new TForm9;
    EXPECT_TRUE(form->RBtn0->isChecked());
    EXPECT_FALSE(form->RBtn2->isVisible());
    Click(form->palette->Edit(3));  // red
    EXPECT_EQ(form->CurrentRecord().OutlineColor, RGB(255, 0, 0));
    Click(form->RBtn1);
    Click(form->palette->Edit(27));  // blue
    EXPECT_EQ(form->CurrentRecord().FillColor, RGB(0, 0, 255));
    Click(form->BtnK1);  // 影付
    ASSERT_TRUE(form->RBtn2->isVisible());
    Click(form->RBtn2);
    Click(form->palette->Edit(19));  // green
    EXPECT_EQ(form->CurrentRecord().ShadowColor, RGB(0, 255, 0));
    EXPECT_TRUE(form->CurrentRecord().Shadow);
    Click(form->BtnK0);  // 影無: the shadow is no target any more
    EXPECT_FALSE(form->RBtn2->isVisible());
    EXPECT_TRUE(form->RBtn0->isChecked());
    // Outline width stays within 1..5.
    for (int i = 0; i < 6; ++i) Click(form->BtnL2);
    EXPECT_EQ(form->CurrentRecord().OutlineWidth, 5);
    for (int i = 0; i < 6; ++i) Click(form->BtnL1);
    EXPECT_EQ(form->CurrentRecord().OutlineWidth, 1);
    delete form.data();
}

TEST_F(DesignScreenTest, ConfirmWritesTheRecordAndReturnsToTheList) {
    ObjectRecord rec = NewDecoratedText(0, kPageHeight, false);
    rec.FillStyle = 3;
    rec.ImageFile = "/gone/picture.jpg";  // left over from an earlier picture fill
    Place(rec);
    Place(Shape(), 1);  // another object, disabled while the screen is open
    App().SelectedObject = 0;
    ObjectImages()[0]->image()->move(main.page->x() + 30, main.page->y() + 40);
    QPointer<TForm9> form = new TForm9;
    EXPECT_FALSE(ObjectImages()[1]->image()->isEnabled());
    EXPECT_TRUE(ObjectImages()[0]->image()->isEnabled());
    Click(form->BtnP[3]);
    Click(form->BtnDtStClose);
    Settle();
    EXPECT_TRUE(form.isNull());
    const auto stored = Stored();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->ImageFile, "");
    EXPECT_EQ(stored->FillStyle, 3);
    EXPECT_EQ(stored->Align, 3);
    EXPECT_EQ(stored->Left, 30);
    EXPECT_EQ(stored->Top, 40);
    EXPECT_EQ(main.objectListOpened, 1);
    EXPECT_EQ(App().SelectedObject, 0);
    EXPECT_TRUE(ObjectImages()[1]->image()->isEnabled());
}

TEST_F(DesignScreenTest, CancelRestoresTheObjectFromItsFile) {
    Place(Shape());
    const Bitmap before = ObjectImages()[0]->bitmap();
    const std::string file = test::ReadFileBytes(ObjectFilePath(main.folder(), 0));
    QPointer<TForm9> form = new TForm9;
    Click(form->BtnSW[4]);
    Click(form->BtnA[3]);
    Click(form->palette->Edit(3));
    Click(form->BtnB[3]);
    Click(form->palette->ColBtn(8));
    EXPECT_NE(ObjectImages()[0]->bitmap().size(), before.size());
    ObjectImages()[0]->image()->move(main.page->x() + 50, main.page->y() + 60);  // dragged
    Click(form->BtnFormClose);
    Settle();
    EXPECT_TRUE(form.isNull());
    EXPECT_EQ(test::ReadFileBytes(ObjectFilePath(main.folder(), 0)), file);
    TCImg* img = ObjectImages()[0];
    // The object as its file has it, framed, at its stored place.
    EXPECT_EQ(img->bitmap().size(), before.size());
    EXPECT_EQ(img->bitmap().pixel(0, 0), clSilver);
    EXPECT_EQ(img->bitmap().pixel(50, 50), before.pixel(50, 50));
    EXPECT_EQ(img->PositionOn(*main.page), (Point{0, 0}));
    EXPECT_EQ(main.objectListOpened, 1);
}

class PictureFillTest : public DesignScreenTest {
  protected:
    void SetUp() override {
        pictures = pictureDir.path();
        // 200 x 100, left half red.
        Bitmap picture(200, 100, RGB(0, 0, 255));
        for (int y = 0; y < 100; ++y) picture.fillSpan(y, 0, 100, RGB(255, 0, 0));
        ASSERT_TRUE(SaveBmp(picture, JoinPath(pictures, "wide.bmp")));
        App().CurrentPictureFolder = pictures;
    }
    test::TempDir pictureDir;
    std::string pictures;
};

TEST_F(PictureFillTest, PictureChosenFromTheThumbnailsFillsTheShape) {
    Place(Shape());
    QPointer<TForm9> form = new TForm9;
    EXPECT_FALSE(form->ListView1->isVisible());
    Click(form->BtnB[4]);  // 画像
    ASSERT_TRUE(form->ListView1->isVisible());
    EXPECT_TRUE(form->ShellTreeView1->isVisible());
    ASSERT_EQ(form->ListView1->count(), 1);
    EXPECT_FALSE(form->BtnSS->isVisible());  // no picture yet
    EXPECT_TRUE(main.note.empty());

    form->ListView1Click(form->ListView1->item(0));
    const std::string path = JoinPath(pictures, "wide.bmp");
    EXPECT_EQ(form->CurrentRecord().ImageFile, path);
    EXPECT_EQ(form->CurrentRecord().FillStyle, 4);
    EXPECT_TRUE(form->BtnSS->isVisible());
    EXPECT_EQ(main.note, std::vector<bool>{true});
    // The fill stretches the picture over the shape: red on the left, blue on the right.
    const Bitmap& shown = ObjectImages()[0]->bitmap();
    EXPECT_EQ(shown.pixel(20, 50), RGB(255, 0, 0));
    EXPECT_EQ(shown.pixel(80, 50), RGB(0, 0, 255));

    Click(form->BtnSS);  // 200 x 100 into 100 x 100
    EXPECT_EQ(form->CurrentRecord().Width(), 100);
    EXPECT_EQ(form->CurrentRecord().Height(), 50);

    Click(form->BtnB[2]);  // another fill: no button, no note
    EXPECT_FALSE(form->BtnSS->isVisible());
    EXPECT_EQ(main.note, (std::vector<bool>{true, false}));
    Click(form->BtnB[4]);  // back to the picture, which the record still names
    EXPECT_TRUE(form->BtnSS->isVisible());
    Click(form->BtnDtStClose);
    Settle();
    const auto stored = Stored();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->FillStyle, 4);
    EXPECT_EQ(stored->ImageFile, path);
    EXPECT_EQ(main.note, (std::vector<bool>{true, false, true, false}));
}

TEST_F(PictureFillTest, APictureThatHasGoneIsMarkedAndNotTaken) {
    Place(Shape());
    QPointer<TForm9> form = new TForm9;
    Click(form->BtnB[4]);
    ASSERT_EQ(form->ListView1->count(), 1);
    ASSERT_TRUE(Files().DeleteFile(JoinPath(pictures, "wide.bmp")));
    form->ListView1Click(form->ListView1->item(0));
    EXPECT_EQ(form->CurrentRecord().ImageFile, "");
    const QImage icon = form->ListView1->item(0)->icon().pixmap(40, 40).toImage();
    EXPECT_EQ(icon.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_TRUE(main.note.empty());
    delete form.data();
}

TEST_F(PictureFillTest, AShapeOpenedWithAPictureShowsTheNote) {
    ObjectRecord rec = Shape();
    rec.FillStyle = 4;
    rec.ImageFile = JoinPath(pictures, "wide.bmp");
    Place(rec);
    QPointer<TForm9> form = new TForm9;
    EXPECT_TRUE(form->BtnSS->isVisible());
    EXPECT_TRUE(form->ListView1->isVisible());
    EXPECT_EQ(main.note, std::vector<bool>{true});
    Click(form->BtnFormClose);
    Settle();
    EXPECT_EQ(main.note, (std::vector<bool>{true, false}));
}

// --- the plain text design screen ---------------------------------------------------------

TEST_F(DesignScreenTest, PlainTextSizes) {
    struct Case {
        bool a4;
        int size;
        int button;
        int expected;
    };
    const Case cases[] = {
        {false, 10, 3, 3},  // 10 - 16 stops at 3
        {false, 10, 4, 9}, {false, 10, 2, 11}, {false, 10, 1, 26},
        {true, 20, 1, 52}, {true, 20, 3, 3},   {false, 3, 4, 3},
    };
    for (const Case& c : cases) {
        App().PageMode = c.a4 ? kA4Portrait : kPostcardPortrait;
        ObjectRecord rec = NewPlainObject(0, kPageHeight, c.a4);
        rec.FontSize = c.size;
        Place(rec);
        QPointer<TForm8> form = new TForm8;
        Click(form->BtnM[c.button]);
        EXPECT_EQ(form->CurrentRecord().FontSize, c.expected) << c.size << " BtnM" << c.button;
        delete form.data();
    }
}

TEST_F(DesignScreenTest, PlainTextTooLargeForThePageIsRefused) {
    ObjectRecord rec = NewPlainObject(0, kPageHeight, false);
    rec.FontSize = 40;
    rec.Text = "あいうえおかきくけこ";  // 10 characters of 53 pixels: 530 wide
    Place(rec);
    QPointer<TForm8> form = new TForm8;
    Click(form->BtnM[2]);
    EXPECT_EQ(Said(), std::vector<std::string>{"右余白が足りない/NG"});
    EXPECT_EQ(form->CurrentRecord().FontSize, 40);
    Click(form->BtnM[4]);
    EXPECT_EQ(form->CurrentRecord().FontSize, 39);
    delete form.data();
}

TEST_F(DesignScreenTest, PlainTextBackgrounds) {
    Place(NewPlainObject(0, kPageHeight, false));
    QPointer<TForm8> form = new TForm8;
    EXPECT_FALSE(form->RBtn1->isVisible());
    EXPECT_FALSE(form->palette->Edit(41)->isVisible());
    Click(form->BtnB[2]);  // STRIPE
    EXPECT_TRUE(form->palette->Edit(41)->isVisible());
    EXPECT_TRUE(form->palette->Edit(87)->isVisible());
    EXPECT_EQ(form->Find<QLabel>(QStringLiteral("Label3"))->text(), "STRIPE構成色選択");
    Click(form->palette->Edit(50));  // pending colour from the second palette
    Click(form->palette->Edit(41));
    EXPECT_TRUE(form->CurrentRecord().UseColor[0]);
    EXPECT_EQ(form->CurrentRecord().Color[0], kPaletteColours[2]);
    Click(form->BtnB[1]);  // SOLID: cells hidden and cleared, the background is a target
    EXPECT_FALSE(form->palette->Edit(41)->isVisible());
    EXPECT_FALSE(form->CurrentRecord().UseColor[0]);
    EXPECT_EQ(form->CurrentRecord().Color[0], clWhite);
    ASSERT_TRUE(form->RBtn1->isVisible());
    Click(form->RBtn1);
    Click(form->palette->Edit(14));  // yellow
    EXPECT_EQ(form->CurrentRecord().BackColor, RGB(255, 255, 0));
    // Left of the centred, shorter second line there is only background.
    const Bitmap& shown = ObjectImages()[0]->bitmap();
    EXPECT_EQ(shown.pixel(3, shown.height() - 4), RGB(255, 255, 0));
    Click(form->BtnB[3]);  // GRADATION: back to the text colour
    EXPECT_TRUE(form->RBtn0->isChecked());
    Click(form->BtnV0);
    Click(form->BtnDtStClose);
    Settle();
    const auto stored = Stored();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->BackStyle, 3);
    EXPECT_TRUE(stored->Horizontal);
    EXPECT_EQ(stored->BackColor, RGB(255, 255, 0));
}

TEST_F(DesignScreenTest, PlainTextCancelRestoresTheObject) {
    Place(NewPlainObject(0, kPageHeight, false));
    const Size before = ObjectImages()[0]->bitmapSize();
    const std::string file = test::ReadFileBytes(ObjectFilePath(main.folder(), 0));
    QPointer<TForm8> form = new TForm8;
    Click(form->BtnM[1]);
    Click(form->BtnB[1]);
    EXPECT_NE(ObjectImages()[0]->bitmapSize(), before);
    Click(form->BtnFormClose);
    Settle();
    EXPECT_TRUE(form.isNull());
    EXPECT_EQ(ObjectImages()[0]->bitmapSize(), before);
    EXPECT_EQ(test::ReadFileBytes(ObjectFilePath(main.folder(), 0)), file);
    EXPECT_FALSE(Files().FileExists(CompanionBitmapPath(main.folder(), 0)));
    EXPECT_EQ(main.objectListOpened, 1);
}

// --- "デザイン変更" of the object list ----------------------------------------------------

TEST_F(DesignScreenTest, TheObjectListOpensTheScreenOfTheSelectedObject) {
    Place(NewPlainObject(0, kPageHeight, false), 0);
    Place(Shape(), 1);
    struct Case {
        int slot;
        bool decorated;
    };
    for (const Case c : {Case{0, false}, Case{1, true}}) {
        App().SelectedObject = c.slot;
        QPointer<TForm16> list = new TForm16;
        ASSERT_TRUE(list->Btn[4]->isEnabled());
        Click(list->Btn[4]);
        Settle();
        EXPECT_TRUE(list.isNull());
        ASSERT_FALSE(main.design.empty());
        EXPECT_EQ(main.design.back(), c.decorated);
        EXPECT_EQ(App().SelectedObject, c.slot);
    }
    // Nothing selected: the list says so and stays.
    App().SelectedObject = kNoObject;
    QPointer<TForm16> list = new TForm16;
    Click(list->Btn[4]);
    EXPECT_EQ(Said(), std::vector<std::string>{"何か選択しろ/どうでもいいけど"});
    EXPECT_EQ(main.design.size(), 2u);
    delete list.data();
}

}  // namespace
}  // namespace pb
