// Object images on the page: rendering records into them and the slots they fill.
#include "objects/ui/object_images.h"

#include <gtest/gtest.h>

#include "object_screen_fixture.h"

namespace pb {
namespace {
using namespace test;

class RenderObjectTest : public ObjectScreenTest {
  protected:
    RenderObjectTest() : ObjectScreenTest(50) {}
    bool Render(int slot, bool create = true) {
        return RenderObject(main.folder(), slot, create, create);
    }
};

TEST_F(RenderObjectTest, MissingAndUnreadableRecordsAndTheSlotsTheyLeave) {
    // Missing: nothing happens, nothing is said.
    EXPECT_FALSE(Render(4) || ObjectImages().exists(4) || !dialogs->shown.empty());

    // Unreadable: one message, the slot stays empty, the other objects are untouched.
    Place(BluePlain(), 1);
    WriteFileBytes(ObjectFilePath(main.folder(), 5), "1\r\n0\r\nabc\r\n");
    EXPECT_FALSE(Render(5) || ObjectImages().exists(5) || !ObjectImages().exists(1));
    EXPECT_NE(Said(dialogs.dialogs()).at(0).find("StrData5.txt"), std::string::npos);

    // A record that turns unreadable under a shown object takes only that object away.
    ASSERT_EQ(WriteObject(main.folder(), 6, BlueRectangle(50000, 20, 10)), WriteStatus::Written);
    EXPECT_FALSE(Render(6));
    EXPECT_EQ(dialogs->shown.size(), 2u);
    WriteFileBytes(ObjectFilePath(main.folder(), 1), "0\r\n");
    EXPECT_FALSE(Render(1, false) || ObjectImages().exists(1));
    EXPECT_EQ(FindFreeSlot(), 0);
    EXPECT_FALSE(Render(200) || Render(-1) || AnyObject());
    // Free slots below the highest are not reused.
    for (const int n : {0, 1, 2}) Place(BluePlain(), n);
    FreeObject(1);
    EXPECT_EQ(FindFreeSlot(), 3);
    Place(BluePlain(), 199);
    EXPECT_EQ(FindFreeSlot(), 200);  // full
    EXPECT_TRUE(AnyObject());
}

}  // namespace
}  // namespace pb
