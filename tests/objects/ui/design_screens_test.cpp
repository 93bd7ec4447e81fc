// The object design screens driven by clicks, over the stand-in main screen.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPointer>
#include <functional>

#include "common/palette.h"
#include "objects/ui/decorated_design_screen.h"
#include "objects/ui/object_list_screen.h"
#include "objects/ui/plain_text_design_screen.h"
#include "object_screen_fixture.h"
#include "platform/picture_io.h"

namespace pb {
namespace {
using namespace test;

class DesignScreenTest : public ObjectScreenTest {
  protected:
    // Opens the screen `Form`, clicks its button `name` and gives the record it then shows.
    template <class Form>
    ObjectRecord AfterClick(const char* name) {
        QPointer<Form> form = new Form;
        Click(form->template Find<QPushButton>(QString::fromUtf8(name)));
        ObjectRecord rec = form->CurrentRecord();
        delete form.data();
        return rec;
    }
    // A 200 x 100 picture, left half red, in the current picture folder.
    std::string AddPicture() {
        Bitmap picture(200, 100, kBlue);
        for (int y = 0; y < 100; ++y) picture.fillSpan(y, 0, 100, kRed);
        App().CurrentPictureFolder = pictures.path();
        EXPECT_TRUE(SaveBmp(picture, pictures.file("wide.bmp")));
        return pictures.file("wide.bmp");
    }
    static Size SizeOf(const ObjectRecord& r) { return {r.Width(), r.Height()}; }
    // Opens `Form` on slot 0, lets `change` click, drags the object and cancels: the object is
    // again as its file has it, framed, at its stored place, without a companion.
    template <class Form>
    void ExpectCancelRestores(const std::function<void(Form&)>& change) {
        const Bitmap before = ObjectImages()[0]->bitmap();
        const std::string file = FileBytes();
        QPointer<Form> form = new Form;
        change(*form);
        EXPECT_NE(ObjectImages()[0]->bitmap().size(), before.size());
        Drag(0, 50, 60);
        Click(form->BtnFormClose);
        Settle();
        EXPECT_TRUE(form.isNull());
        EXPECT_EQ(FileBytes(), file);
        const Bitmap& after = ObjectImages()[0]->bitmap();
        EXPECT_EQ(after.size(), before.size());
        EXPECT_EQ(std::pair(after.pixel(0, 0), after.pixel(50, 50)),
                  std::pair(clSilver, before.pixel(50, 50)));
        EXPECT_EQ(ObjectImages()[0]->PositionOn(*main.page), (Point{0, 0}));
        EXPECT_FALSE(HasCompanion());
    }

    TempDir pictures;
};

TEST_F(DesignScreenTest, ArchButtonsOnlyForTextsAndEllipses) {
    Place(ShapeRecord(100, 100));
    QPointer<TForm9> form = new TForm9;
    // Shape kind clicked (0: as opened) and whether the arch buttons are enabled after it.
    const std::pair<int, bool> steps[] = {{0, false}, {2, false}, {3, true}, {1, false}, {3, true}};
    for (const auto& [kind, arch] : steps) {
        if (kind) Click(form->BtnA[kind]);
        EXPECT_EQ(std::tuple(form->BtnF[1]->isEnabled(), form->BtnF[2]->isEnabled(),
                             form->BtnF[3]->isEnabled()),
                  std::tuple(arch, arch, true))
            << kind;
    }
    EXPECT_EQ(form->CurrentRecord().Text, "vrnSHAPE3");
    delete form.data();

    Place(NewDecoratedText(0, kPageHeight, false));
    form = new TForm9;
    EXPECT_TRUE(form->BtnF[1]->isEnabled());
    EXPECT_FALSE(form->BtnA[1]->isVisible());
    delete form.data();
}

TEST_F(DesignScreenTest, SizeButtonsOfShapesAndFonts) {
    // Shapes: width and height steps of 2 and 20 (40 on A4), only while step + 20 < value.
    // A4, the shape, the button, the shape after.
    const std::tuple<bool, Size, const char*, Size> shapes[] = {
        {false, {22, 50}, "BtnS01", {22, 50}},    {false, {100, 100}, "BtnS04", {120, 100}},
        {true, {200, 200}, "BtnS04", {240, 200}}, {true, {200, 200}, "BtnS03", {160, 200}},
        {false, {50, 50}, "BtnS12", {50, 52}},    {true, {200, 200}, "BtnS14", {200, 240}},
    };
    for (const auto& [a4, shape, button, expected] : shapes) {
        App().PageMode = a4 ? kA4Portrait : kPostcardPortrait;
        Place(ShapeRecord(shape.width, shape.height));
        EXPECT_EQ(SizeOf(AfterClick<TForm9>(button)), expected) << button;
        // The object on the page showed the new size at once.
        EXPECT_EQ(ObjectImages()[0]->bitmapSize(), expected) << button;
    }
    // Decorated texts: 4 and 16 (32 on A4), 10 at least; plain texts: 1 and 16 (32), 3 at least.
    // Decorated, A4, the size, the button, the size after.
    const std::tuple<bool, bool, int, const char*, int> fonts[] = {
        {true, false, 36, "BtnM2", 40}, {true, false, 36, "BtnM4", 52},
        {true, true, 72, "BtnM4", 104}, {true, true, 72, "BtnM3", 40},
        {true, false, 12, "BtnM1", 10}, {false, false, 10, "BtnM3", 3},
        {false, false, 10, "BtnM4", 9}, {false, false, 10, "BtnM1", 26},
        {false, true, 20, "BtnM1", 52}, {false, false, 3, "BtnM4", 3},
    };
    for (const auto& [decorated, a4, size, button, expected] : fonts) {
        App().PageMode = a4 ? kA4Portrait : kPostcardPortrait;
        Place(decorated ? TextRecord("あ", size) : PlainRecord("あいうえお\r\n12345", size));
        const ObjectRecord after =
            decorated ? AfterClick<TForm9>(button) : AfterClick<TForm8>(button);
        EXPECT_EQ(after.FontSize, expected) << size << " " << button;
    }
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(DesignScreenTest, GrowthThatWouldLeaveThePageIsRefused) {
    // 108 pixels of room to the right of the 100 x 100 shape, 109 below.
    Place(ShapeRecord(100, 100));
    Drag(0, 270, 450);
    QPointer<TForm9> form = new TForm9;
    const std::tuple<const char*, Size, const char*> steps[] = {
        {"BtnS04", {100, 100}, "右余白が足りない/NG"},
        {"BtnS02", {102, 100}, nullptr},
        {"BtnS14", {102, 100}, "下余白が足りない/NG"},
        {"BtnS12", {102, 102}, nullptr},
    };
    for (const auto& [button, expected, said] : steps) {
        dialogs->shown.clear();
        Click(form->Find<QPushButton>(QString::fromUtf8(button)));
        EXPECT_EQ(SizeOf(form->CurrentRecord()), expected) << button;
        EXPECT_EQ(Said(), said ? std::vector<std::string>{said} : std::vector<std::string>{})
            << button;
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
    // Button, then mode and amount: the slant starts again from 0.
    const std::tuple<int, int, int> steps[] = {{2, 1, 9}, {2, 1, 18}, {3, 2, -9}};
    for (const auto& [button, mode, amount] : steps) {
        Click(form->BtnF[button]);
        EXPECT_EQ(std::pair(form->CurrentRecord().DeformMode, form->CurrentRecord().DeformAmount),
                  std::pair(mode, amount));
    }
    const int height = ObjectImages()[0]->bitmapSize().height;
    Click(form->BtnF[3]);
    EXPECT_EQ(ObjectImages()[0]->bitmapSize().height, height + 9);
    delete form.data();
}

TEST_F(DesignScreenTest, StripeThenPatternClearsTheComponentColours) {
    Place(ShapeRecord(100, 100));
    QPointer<TForm9> form = new TForm9;
    EXPECT_TRUE(form->ComboBox1->isVisible());  // a new shape has FillStyle 10
    form->ComboBox1->setCurrentIndex(3);
    emit form->ComboBox1->activated(3);
    EXPECT_EQ(form->CurrentRecord().FillStyle, 13);

    Click(form->BtnB[2]);  // STRIPE
    EXPECT_FALSE(form->ComboBox1->isVisible());
    EXPECT_EQ(form->Find<QLabel>(QStringLiteral("Label3"))->text(), "STRIPE構成色選択");
    EXPECT_TRUE(form->palette->Edit(48)->isVisible());
    Click(form->palette->ColBtn(8));  // 虹色
    EXPECT_EQ(std::tuple(form->CurrentRecord().UseColor, form->CurrentRecord().FillStyle),
              std::tuple(std::array<bool, 7>{1, 1, 1, 1, 1, 1, 1}, 2));
    EXPECT_TRUE(HasCompanion());

    Click(form->BtnB[1]);  // 定型線描: the cells hidden and cleared, the pattern as it was
    const ObjectRecord rec = form->CurrentRecord();
    EXPECT_EQ(std::tuple(rec.UseColor, rec.Color, rec.FillStyle),
              std::tuple(std::array<bool, 7>{}, ObjectRecord().Color, 13));
    EXPECT_TRUE(form->ComboBox1->isVisible() && !form->palette->Edit(41)->isVisible());
    EXPECT_EQ(form->ComboBox1->currentIndex(), 3);
    EXPECT_FALSE(HasCompanion()) << "pattern fills keep no companion bitmap";
    delete form.data();
}

TEST_F(DesignScreenTest, ColourTargetsAndOutlineWidth) {
    Place(ShapeRecord(100, 100));
    QPointer<TForm9> form = new TForm9;
    EXPECT_FALSE(form->RBtn2->isVisible());
    Click(form->palette->Edit(3));  // red onto the outline
    Click(form->RBtn1);
    Click(form->palette->Edit(27));  // blue
    Click(form->BtnK1);              // 影付
    Click(form->RBtn2);
    Click(form->palette->Edit(19));  // green
    const ObjectRecord rec = form->CurrentRecord();
    EXPECT_EQ(std::tuple(rec.OutlineColor, rec.FillColor, rec.ShadowColor),
              std::tuple(kRed, kBlue, RGB(0, 255, 0)));
    Click(form->BtnK0);  // 影無: the shadow is no target any more
    EXPECT_TRUE(!form->RBtn2->isVisible() && form->RBtn0->isChecked());
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
    Place(ShapeRecord(100, 100), 1);  // another object, disabled while the screen is open
    App().SelectedObject = 0;
    Drag(0, 30, 40);
    QPointer<TForm9> form = new TForm9;
    EXPECT_FALSE(ObjectImages()[1]->image()->isEnabled());
    Click(form->BtnP[3]);
    Click(form->BtnDtStClose);
    Settle();
    EXPECT_TRUE(form.isNull());
    const auto stored = Stored();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->ImageFile, "");
    EXPECT_EQ(std::tuple(stored->FillStyle, stored->Align, stored->Left, stored->Top),
              std::tuple(3, 3, 30, 40));
    EXPECT_EQ(main.objectListOpened, 1);
    EXPECT_EQ(App().SelectedObject, 0);
    EXPECT_TRUE(ObjectImages()[1]->image()->isEnabled());
}

TEST_F(DesignScreenTest, CancelRestoresTheObjectFromItsFile) {
    Place(ShapeRecord(100, 100));
    ExpectCancelRestores<TForm9>([](TForm9& form) {
        Click(form.BtnSW[4]);
        Click(form.BtnA[3]);
        Click(form.BtnB[3]);
        Click(form.palette->ColBtn(8));
    });
    Place(PlainRecord("あいうえおかきくけこ", 40));  // 10 characters of 53 pixels: 530 wide
    ExpectCancelRestores<TForm8>([this](TForm8& form) {
        Click(form.BtnM[2]);  // too large: refused
        EXPECT_EQ(Said(), std::vector<std::string>{"右余白が足りない/NG"});
        EXPECT_EQ(form.CurrentRecord().FontSize, 40);
        Click(form.BtnM[3]);
        Click(form.BtnB[1]);
    });
    EXPECT_EQ(main.objectListOpened, 2);
}

TEST_F(DesignScreenTest, PictureFillFromTheThumbnails) {
    const std::string path = AddPicture();
    Place(ShapeRecord(100, 100));
    QPointer<TForm9> form = new TForm9;
    EXPECT_FALSE(form->ListView1->isVisible());
    Click(form->BtnB[4]);  // 画像
    ASSERT_TRUE(form->ListView1->isVisible() && form->ShellTreeView1->isVisible());
    ASSERT_EQ(form->ListView1->count(), 1);
    EXPECT_FALSE(form->BtnSS->isVisible());  // no picture yet

    form->ListView1Click(form->ListView1->item(0));
    EXPECT_EQ(std::pair(form->CurrentRecord().ImageFile, form->CurrentRecord().FillStyle),
              std::pair(path, 4));
    EXPECT_EQ(main.qualityNote, std::vector<bool>{true});
    // The fill stretches the picture over the shape: red on the left, blue on the right.
    const Bitmap& shown = ObjectImages()[0]->bitmap();
    EXPECT_EQ(std::pair(shown.pixel(20, 50), shown.pixel(80, 50)), std::pair(kRed, kBlue));

    Click(form->BtnSS);  // 200 x 100 into 100 x 100
    EXPECT_EQ(form->CurrentRecord().Height(), 50);
    Click(form->BtnB[2]);  // another fill: no button, no note
    EXPECT_FALSE(form->BtnSS->isVisible());
    Click(form->BtnB[4]);  // back to the picture, which the record still names
    EXPECT_TRUE(form->BtnSS->isVisible());
    Click(form->BtnDtStClose);
    Settle();
    EXPECT_EQ(Stored()->ImageFile, path);
    EXPECT_EQ(main.qualityNote, (std::vector<bool>{true, false, true, false}));

    form = new TForm9;  // opened again with its picture: the note shows
    EXPECT_TRUE(form->BtnSS->isVisible());
    EXPECT_EQ(main.qualityNote.back(), true);
    delete form.data();
}

TEST_F(DesignScreenTest, APictureThatHasGoneIsMarkedAndNotTaken) {
    const std::string path = AddPicture();
    Place(ShapeRecord(100, 100));
    QPointer<TForm9> form = new TForm9;
    Click(form->BtnB[4]);
    ASSERT_EQ(form->ListView1->count(), 1);
    ASSERT_TRUE(Files().DeleteFile(path));
    form->ListView1Click(form->ListView1->item(0));
    EXPECT_EQ(form->CurrentRecord().ImageFile, "");
    const QImage icon = form->ListView1->item(0)->icon().pixmap(40, 40).toImage();
    EXPECT_EQ(icon.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_TRUE(main.qualityNote.empty());
    delete form.data();
}

TEST_F(DesignScreenTest, PlainTextBackgrounds) {
    Place(NewPlainObject(0, kPageHeight, false));
    QPointer<TForm8> form = new TForm8;
    EXPECT_FALSE(form->palette->Edit(41)->isVisible());
    Click(form->BtnB[2]);  // STRIPE
    EXPECT_TRUE(form->palette->Edit(87)->isVisible());
    EXPECT_EQ(form->Find<QLabel>(QStringLiteral("Label3"))->text(), "STRIPE構成色選択");
    Click(form->palette->Edit(50));  // pending colour from the second palette
    Click(form->palette->Edit(41));
    EXPECT_EQ(std::pair(form->CurrentRecord().UseColor[0], form->CurrentRecord().Color[0]),
              std::pair(true, kPaletteColours[2]));
    Click(form->BtnB[1]);  // SOLID: cells hidden and cleared, the background is a target
    EXPECT_FALSE(form->palette->Edit(41)->isVisible());
    EXPECT_EQ(std::pair(form->CurrentRecord().UseColor[0], form->CurrentRecord().Color[0]),
              std::pair(false, clWhite));
    Click(form->RBtn1);
    Click(form->palette->Edit(14));  // yellow
    // Left of the centred, shorter second line there is only background.
    const Bitmap& shown = ObjectImages()[0]->bitmap();
    EXPECT_EQ(shown.pixel(3, shown.height() - 4), kYellow);
    Click(form->BtnB[3]);  // GRADATION: back to the text colour
    EXPECT_TRUE(form->RBtn0->isChecked());
    Click(form->BtnV0);
    Click(form->BtnDtStClose);
    Settle();
    const auto stored = Stored();
    ASSERT_TRUE(stored);
    EXPECT_EQ(std::tuple(stored->BackStyle, stored->Horizontal, stored->BackColor),
              std::tuple(3, true, kYellow));
}

TEST_F(DesignScreenTest, TheObjectListOpensTheScreenOfTheSelectedObject) {
    Place(NewPlainObject(0, kPageHeight, false), 0);
    Place(ShapeRecord(100, 100), 1);
    for (const auto& [slot, decorated] : {std::pair{0, false}, std::pair{1, true}}) {
        App().SelectedObject = slot;
        QPointer<TForm16> list = new TForm16;
        Click(list->Btn[4]);  // デザイン変更
        Settle();
        EXPECT_TRUE(list.isNull());
        ASSERT_EQ(main.design.size(), static_cast<std::size_t>(slot) + 1);
        EXPECT_EQ(main.design.back(), decorated);
        EXPECT_EQ(App().SelectedObject, slot);
    }
}

}  // namespace
}  // namespace pb
