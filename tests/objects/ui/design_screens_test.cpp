// The object design screens confirmed and cancelled over the stand-in main screen.
#include <gtest/gtest.h>

#include <QPointer>
#include <functional>

#include "common/palette.h"
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

// The marked cells among Edit(first)..Edit(first + 39).
std::vector<int> Marked(const PaletteWidgets& p, int first = 1) {
    std::vector<int> cells;
    for (int n = first; n < first + 40; ++n)
        if (p.Edit(n)->isMarked()) cells.push_back(n);
    return cells;
}

TEST_F(DesignScreenTest, ThePaletteMarksTheColourOfTheChosenTargetAndFollowsEachTap) {
    // At open: the text colour's cell, or none when the colour is no palette colour; the
    // second palette marks the pending white.
    ObjectRecord rec = PlainRecord("あいう", 20);
    for (const auto& [colour, cells] : {std::pair(kGreen, std::vector<int>{}),
                                        std::pair(kBlue, std::vector<int>{27})}) {
        rec.FontColor = colour;
        Place(rec);
        auto* form = new TForm8;
        EXPECT_EQ(std::pair(Marked(*form->palette), Marked(*form->palette, 48)),
                  std::pair(cells, std::vector<int>{87}));
        if (colour == kGreen) {
            Click(form->BtnFormClose);
            Settle();
            continue;
        }
        // Each tap, and each change of the colour's target, moves the mark.
        auto cell = [form](int n) { return form->palette->Edit(n); };
        const std::pair<QWidget*, std::vector<int>> steps[] = {
            {cell(14), {14}},
            {cell(3), {3}},
            {form->BtnB[1], {3}},  // SOLID: the background can be chosen
            {form->RBtn1, {40}},   // its white
            {cell(1), {1}},
            {form->RBtn0, {3}},  // back to the text
            {form->RBtn1, {1}},
            {form->BtnB[3], {3}},  // GRADATION: the background is no target, the text is
        };
        for (const auto& [w, marked] : steps) {
            const bool radio = qobject_cast<QRadioButton*>(w);
            QTest::mouseClick(w, Qt::LeftButton, {}, radio ? QPoint(8, 11) : w->rect().center());
            EXPECT_EQ(Marked(*form->palette), marked) << w->objectName().toStdString();
        }
        const ObjectRecord now = form->CurrentRecord();
        EXPECT_EQ(std::pair(now.FontColor, now.BackColor),
                  std::pair(PaletteColour(3), PaletteColour(1)));
        Click(cell(47 + 17));
        EXPECT_EQ(Marked(*form->palette, 48), std::vector<int>{64});
        Click(form->BtnFormClose);
        Settle();
    }
}

}  // namespace
}  // namespace pb
