// Overlay objects on the real main screen: the object list opened from "WordArt風MetaFile使用",
// its keyboard, and a double tap on the keyboard's "確定".
#include "objects/ui/decorated_design_screen.h"
#include "objects/ui/object_list_screen.h"
#include "support/ui/app_fixtures.h"
#include "textentry/ui/keyboard_screen.h"

namespace pb {
namespace {

class ObjectsOnMainScreen : public test::MainScreenFixture {
  protected:
    TForm16* List() { return Window<TForm16>("Form16"); }
};

// The second tap of a double tap on the keyboard's "確定" lands on the object list's
// "デザイン変更" under the finger; the list that has just opened drops it.
TEST_F(ObjectsOnMainScreen, ADoubleTapOnConfirmDoesNotReachTheScreenBelow) {
    const test::DoubleClickInterval interval(300);
    Start();
    QTest::qWait(350);  // the main screen has just opened
    Click(form->Btn[16]);
    TForm16* list = List();
    ASSERT_NE(list, nullptr);
    QTest::qWait(350);
    Click(list->Btn[6]);  // a decorated text
    Click(list->Btn[3]);  // 文字列変更
    TForm6* keyboard = Window<TForm6>("Form6");
    ASSERT_NE(keyboard, nullptr);
    QTest::qWait(350);
    Click(keyboard->BtnDtStClose);
    list = List();
    ASSERT_NE(list, nullptr);
    Click(list->Btn[4]);  // the second tap: デザイン変更 under 確定
    EXPECT_EQ(Window<TForm9>("Form9"), nullptr);
    EXPECT_EQ(List(), list);
}

}  // namespace
}  // namespace pb
