// The object design screens confirmed and cancelled over the stand-in main screen.
#include <gtest/gtest.h>

#include <QPointer>
#include <functional>

#include "object_screen_fixture.h"
#include "objects/ui/decorated_design_screen.h"
#include "objects/ui/plain_text_design_screen.h"

namespace pb {
namespace {
using namespace test;

class DesignScreenTest : public ObjectScreenTest {
  protected:
    // Opens `Form` on slot 0, lets `change` click, drags the object and cancels: the object is
    // again as its file has it, framed, at its stored place, without a companion.
    template <class Form>
    void ExpectCancelRestores(const std::function<void(Form&)>& change) {
        const Bitmap before = ObjectImages()[0]->bitmap();
        const std::string path = ObjectFilePath(main.folder(), 0), file = ReadFileBytes(path);
        QPointer<Form> form = new Form;
        change(*form);
        EXPECT_NE(ObjectImages()[0]->bitmap().size(), before.size());
        Drag(0, 50, 60);
        Click(form->BtnFormClose);
        Settle();
        EXPECT_TRUE(form.isNull() && ReadFileBytes(path) == file && !HasCompanion());
        const Bitmap& after = ObjectImages()[0]->bitmap();
        EXPECT_EQ(std::tuple(after.size(), after.pixel(0, 0), after.pixel(50, 50)),
                  std::tuple(before.size(), clSilver, before.pixel(50, 50)));
        EXPECT_EQ(ObjectImages()[0]->PositionOn(*main.page), (Point{0, 0}));
    }
};

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
    EXPECT_TRUE(form.isNull() && ObjectImages()[1]->image()->isEnabled());
    const ObjectRecord stored = Stored().value();
    EXPECT_EQ(std::tuple(stored.ImageFile, stored.FillStyle, stored.Align, stored.Left, stored.Top,
                         main.objectListOpened, App().SelectedObject),
              std::tuple("", 3, 3, 30, 40, 1, 0));
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
        EXPECT_EQ(Said(dialogs.dialogs()), std::vector<std::string>{"右余白が足りない/NG"});
        EXPECT_EQ(form.CurrentRecord().FontSize, 40);
        Click(form.BtnM[3]);
        Click(form.BtnB[1]);
    });
    EXPECT_EQ(main.objectListOpened, 2);
}

TEST_F(DesignScreenTest, ThePaletteMarksNothingForAForeignColourAndOnlyTheLastTap) {
    ObjectRecord rec = PlainRecord("あいう", 20);
    rec.FontColor = kGreen;
    Place(rec);
    auto* form = new TForm8;
    for (const auto& [tapped, cells] :
         {std::pair(0, std::vector<int>{}), std::pair(14, std::vector<int>{14}),
          std::pair(27, std::vector<int>{27})}) {
        if (tapped) Click(form->palette->Edit(tapped));
        std::vector<int> marked;
        for (int n = 1; n <= 40; ++n)
            if (form->palette->Edit(n)->isMarked()) marked.push_back(n);
        EXPECT_EQ(marked, cells);
    }
    Click(form->BtnFormClose);
    Settle();
}

}  // namespace
}  // namespace pb
