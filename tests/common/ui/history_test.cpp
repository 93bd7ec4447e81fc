#include "common/history.h"

#include <gtest/gtest.h>

#include "common/app_state.h"
#include "platform/file_service.h"
#include "platform/ui/image_control.h"
#include "platform/picture_io.h"
#include "support/ui/dialog_scope.h"

namespace pb {
namespace {

class HistoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        App() = AppState{};
        SetAppDir(App(), dir.path());
        ResetHistory(1);
        image.setPicture(Page(0));
    }
    // A page told apart by the colour of its first pixel.
    static Bitmap Page(int stroke) {
        Bitmap b(4, 3);
        b.setPixel(0, 0, RGB(stroke, 0, 0));
        return b;
    }
    int Shown() const { return GetRValue(image.picture().pixel(0, 0)); }
    // A change of the page: snapshot first, then paint.
    void Stroke(int n) {
        ASSERT_TRUE(TakeSnapshot(image.picture(), 1));
        image.setPicture(Page(n));
    }
    test::TempDir dir;
    test::ScriptedDialogScope dialogs;
    ImageControl image;
};

TEST_F(HistoryTest, WorkedSequenceRefusingAtBothEnds) {
    StepBack(image, 1);  // a fresh history has nothing to go back to
    ASSERT_TRUE(SaveSnapshot(image.picture(), App().HistoryFolder(1), 1));  // the blank page
    Stroke(1);
    Stroke(2);
    EXPECT_EQ(App().HistoryCounter[1], 3);
    for (int expected : {1, 0, 0}) {
        StepBack(image, 1);
        EXPECT_EQ(Shown(), expected);
    }
    StepForward(image, 1);
    EXPECT_EQ(Shown(), 1);
    StepForward(image, 1);  // the page with both strokes was never saved
    EXPECT_EQ(Shown(), 1);
    ASSERT_EQ(dialogs->shown.size(), 3u);
    EXPECT_EQ(dialogs->shown[0].text, "これより前はない");
    EXPECT_EQ(dialogs->shown[1].text, "これより前はない");
    EXPECT_EQ(dialogs->shown[2].text, "これより後はない");
    EXPECT_EQ(dialogs->shown[2].caption, "NG");
}

TEST_F(HistoryTest, NumbersGoOnPastNineWithoutPadding) {
    for (int n = 1; n <= 10; ++n) Stroke(n);
    EXPECT_EQ(App().HistoryCounter[1], 11);
    EXPECT_TRUE(Files().FileExists(App().HistoryFolder(1) + "/Tmp10.bmp"));
    EXPECT_FALSE(Files().FileExists(App().HistoryFolder(1) + "/Tmp01.bmp"));
    StepBack(image, 1);
    EXPECT_EQ(Shown(), 9);  // Tmp10 holds the page after the ninth stroke
}

TEST_F(HistoryTest, AMissingSnapshotStepsBackQuietlyAndABrokenOneIsReported) {
    Stroke(1);
    Stroke(2);
    Files().DeleteFile(SnapshotPath(App().HistoryFolder(1), 2));
    StepBack(image, 1);
    EXPECT_EQ(App().HistoryCounter[1], 2);
    EXPECT_EQ(Shown(), 2);  // nothing new to show
    EXPECT_TRUE(dialogs->shown.empty());
    Stroke(7);  // writes Tmp2 again; Tmp3 does not exist, so forward refuses
    StepForward(image, 1);
    EXPECT_EQ(dialogs->shown.back().text, "これより後はない");

    test::WriteFileBytes(SnapshotPath(App().HistoryFolder(1), 2), "BM\x10\x00");
    StepBack(image, 1);
    EXPECT_EQ(Shown(), 7);
    ASSERT_EQ(dialogs->shown.size(), 2u);
    EXPECT_NE(dialogs->shown[1].text, "これより前はない");
    EXPECT_EQ(dialogs->shown[1].caption, "NG");
}

TEST_F(HistoryTest, ASnapshotCreatesItsMissingFolderAndFailsWhenItCannot) {
    ResetFolder(App().HistoryFolder(1), false);
    EXPECT_TRUE(TakeSnapshot(image.picture(), 1));
    EXPECT_EQ(App().HistoryCounter[1], 2);

    // A file where the folder should be: the folder cannot be created.
    ResetFolder(App().HistoryFolder(1), false);
    test::WriteFileBytes(App().HistoryFolder(1), "x");
    EXPECT_FALSE(TakeSnapshot(image.picture(), 1));
    EXPECT_EQ(App().HistoryCounter[1], 2);
}

}  // namespace
}  // namespace pb
