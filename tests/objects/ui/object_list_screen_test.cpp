// The object list driven by clicks, over the stand-in main screen.
#include "objects/ui/object_list_screen.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <functional>
#include <utility>

#include "object_screen_fixture.h"
#include "platform/picture_io.h"

namespace pb {
namespace {
using namespace test;

class ObjectListTest : public ObjectScreenTest {
  protected:
    void SetUp() override { form = new TForm16; }
    void TearDown() override { delete form.data(); }
    // Clicks the list's button `n` (5-7 add a plain text, a decorated text, a shape) `times`.
    void Press(int n, int times = 1) {
        for (int i = 0; i < times; ++i) Click(form->Btn[static_cast<std::size_t>(n)]);
    }
    static bool Framed(int slot) {  // the silver selection frame
        const TCImg* img = ObjectImages()[slot];
        return img && img->bitmap().pixel(0, 0) == clSilver;
    }
    Point StoredAt(int slot) const { return {Stored(slot)->Left, Stored(slot)->Top}; }
    Point ShownAt(int slot) const { return ObjectImages()[slot]->PositionOn(*main.page); }

    QPointer<TForm16> form;
};

TEST_F(ObjectListTest, AddingStacksObjectsDownThePageAndSelectsTheNewOne) {
    for (const int n : {5, 6, 7}) Press(n);
    const char* texts[] = {"あいうえお\r\n12345", "あいうえお", "vrnSHAPE1"};
    for (int slot = 0; slot < 3; ++slot) {
        const auto r = Stored(slot);
        ASSERT_TRUE(r && ObjectImages().exists(slot)) << slot;
        EXPECT_EQ(std::pair(r->decorated(), r->Text),
                  std::pair(slot > 0, std::string(texts[slot])));
        EXPECT_EQ(StoredAt(slot), (Point{0, slot * (559 / 199)}));
        EXPECT_EQ(ShownAt(slot), (Point{0, slot * 2}));
    }
    // Only the newest is selected and framed; the others were rendered again without frame.
    EXPECT_EQ(std::tuple(App().SelectedObject, Framed(1), Framed(2)), std::tuple(2, false, true));
}

TEST_F(ObjectListTest, BringingToTheFrontMovesTheRecordUpAndLeavesTheGap) {
    Press(6, 6);  // slots 0..5
    SaveBmp(Bitmap(2, 2), CompanionBitmapPath(main.folder(), 3));
    App().SelectedObject = 3;
    Drag(3, 40, 50);
    Press(2);
    EXPECT_FALSE(Stored(3) || HasCompanion(3) || ObjectImages().exists(3));
    EXPECT_TRUE(App().SelectedObject == 6 && Framed(6));
    // Its position was saved before the move and the new image stands there.
    EXPECT_EQ(std::pair(StoredAt(6), ShownAt(6)), std::pair(Point{40, 50}, Point{40, 50}));
}

// "元の画面に戻る" and closing the window by the window manager (its close button, Alt+F4)
// leave the same way: positions saved, frame gone, page enabled again.
TEST_F(ObjectListTest, ReturningByButtonOrWindowManagerSavesEveryPositionAndFreesThePage) {
    const std::pair<const char*, std::function<void(TForm16*)>> ways[] = {
        {"元の画面に戻る", [](TForm16* f) { Click(f->Btn[8]); }},
        {"window manager", [](TForm16* f) { EXPECT_TRUE(f->close()); }},
    };
    for (const auto& [way, leave] : ways) {
        SCOPED_TRACE(way);
        ObjectImages().FreeAll();
        ResetFolder(main.folder(), true);
        main.objectNotes.clear();
        if (!form) form = new TForm16;
        for (const int n : {5, 6}) Press(n);
        Drag(0, 33, 44);
        Drag(1, 55, 66);
        ASSERT_TRUE(Framed(1));
        leave(form);
        Settle();
        EXPECT_TRUE(form.isNull() && !App().ObjectListOpen);
        EXPECT_EQ(std::pair(StoredAt(0), StoredAt(1)), std::pair(Point{33, 44}, Point{55, 66}));
        EXPECT_FALSE(Framed(1) || App().SelectedObject != kNoObject);
        EXPECT_TRUE(main.page->isEnabled() && main.floating->isEnabled());
        EXPECT_EQ(main.objectNotes, std::vector<bool>{true});
    }
}

}  // namespace
}  // namespace pb
