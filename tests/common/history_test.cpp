#include "common/history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_service.h"
#include "platform/picture_io.h"
#include "support/test_support.h"

namespace pb {
namespace {

constexpr auto kDone = HistoryStatus::Done, kBefore = HistoryStatus::NothingBefore,
               kAfter = HistoryStatus::NothingAfter;

// A page told apart by the colour of its first pixel.
Bitmap Page(int stroke) {
    Bitmap b(4, 3);
    b.setPixel(0, 0, RGB(stroke, 0, 0));
    return b;
}

class HistoryTest : public ::testing::Test {
  protected:
    int Shown() const { return GetRValue(page.pixel(0, 0)); }
    // A change of the page: snapshot first, then paint.
    void Stroke(int n) {
        ASSERT_TRUE(history.Take(page));
        page = Page(n);
    }
    // "戻す" (b) and "進む" (f) in turn: what each said and the page shown after it.
    std::vector<std::pair<HistoryStatus, int>> Walk(const std::string& steps) {
        std::vector<std::pair<HistoryStatus, int>> out;
        for (char step : steps) {
            const HistoryStatus s = step == 'b' ? history.StepBack(page) : history.StepForward(page);
            out.emplace_back(s, Shown());
        }
        return out;
    }
    std::string folder() const { return dir.file("TmpWorkA"); }

    test::TempDir dir;
    History history{dir.file("TmpWorkA")};
    Bitmap page = Page(0);
};

TEST_F(HistoryTest, RedoBringsBackTheNewestChange) {
    // "戻す", "進む" after the newest change brings it back; then from the newest state back to
    // the oldest and all the way forward again.
    for (int n = 1; n <= 3; ++n) Stroke(n);
    const std::vector<std::pair<HistoryStatus, int>> walk = {
        {kDone, 2},   {kDone, 3}, {kDone, 2}, {kDone, 1}, {kDone, 0},
        {kBefore, 0}, {kDone, 1}, {kDone, 2}, {kDone, 3}, {kAfter, 3}};
    EXPECT_EQ(Walk("bfbbbbffff"), walk);
}

TEST_F(HistoryTest, AChangeAfterStepsBackDropsTheWayForward) {
    for (int n = 1; n <= 5; ++n) Stroke(n);
    Walk("bbbb");  // page 1 shown, the files of pages 2 to 5 still on disk
    ASSERT_EQ(Shown(), 1);
    Stroke(9);
    // The files of the old pages are not taken for states after the new change.
    EXPECT_EQ(Walk("fbff"), (std::vector<std::pair<HistoryStatus, int>>{
                                {kAfter, 9}, {kDone, 1}, {kDone, 9}, {kAfter, 9}}));
}

TEST_F(HistoryTest, NumbersGoOnPastNineWithoutPadding) {
    for (int n = 1; n <= 10; ++n) Stroke(n);
    EXPECT_EQ(history.counter(), 11);
    EXPECT_TRUE(Files().FileExists(folder() + "/Tmp10.bmp"));
    EXPECT_FALSE(Files().FileExists(folder() + "/Tmp01.bmp"));
    EXPECT_EQ(GetRValue(LoadBmp(folder() + "/Tmp10.bmp")->pixel(0, 0)), 9);
}

TEST_F(HistoryTest, AMissingSnapshotStepsBackQuietlyAndABrokenOneIsReported) {
    Stroke(1);
    Stroke(2);
    Files().DeleteFile(SnapshotPath(folder(), 2));
    EXPECT_EQ(history.StepBack(page), kDone);
    EXPECT_EQ(history.counter(), 2);
    EXPECT_EQ(Shown(), 2);  // nothing new to show

    test::WriteFileBytes(SnapshotPath(folder(), 1), "BM\x10\x00");
    EXPECT_EQ(history.StepBack(page), HistoryStatus::Unreadable);
    EXPECT_EQ(Shown(), 2) << "the picture stays as it was";
}

TEST_F(HistoryTest, RollBackToTheSnapshotTakenWhenAScreenOpened) {
    Stroke(1);
    ASSERT_TRUE(history.Take(page));  // the screen opens on page 1
    const int mark = history.Mark();
    page = Page(5);
    Stroke(6);
    Stroke(7);
    EXPECT_EQ(history.RollBack(mark, page), kDone);
    EXPECT_EQ(Shown(), 1);
    EXPECT_EQ(Walk("fb"), (std::vector<std::pair<HistoryStatus, int>>{{kAfter, 1}, {kDone, 0}}));
    EXPECT_EQ(history.RollBack(0, page), kBefore);
}

TEST_F(HistoryTest, CancelOfAToolScreenGoesBackToTheStateItOpenedOn) {
    Stroke(1);
    const int start = history.counter();  // the screen opens on page 1
    Stroke(2);                            // its changes: snapshot 2 holds page 1
    Stroke(3);
    EXPECT_EQ(history.RollbackToOpen(start, page), kDone);
    EXPECT_EQ(Shown(), 1);
    EXPECT_EQ(history.counter(), start);
    EXPECT_FALSE(Files().FileExists(SnapshotPath(folder(), start)));
    EXPECT_FALSE(Files().FileExists(SnapshotPath(folder(), start + 1)));
    // A second screen that changes nothing leaves the picture and the history alone.
    EXPECT_EQ(history.RollbackToOpen(history.counter(), page), kDone);
    EXPECT_EQ(Shown(), 1);
    EXPECT_EQ(history.counter(), start);
    // The way back still reaches the page before the screen, and forward the page it left.
    EXPECT_EQ(Walk("bf"), (std::vector<std::pair<HistoryStatus, int>>{{kDone, 0}, {kDone, 1}}));
}

TEST_F(HistoryTest, SnapshotsCreateTheirMissingFolderAndFailWhenTheyCannot) {
    EXPECT_TRUE(history.Take(page));
    EXPECT_EQ(history.counter(), 2);
    EXPECT_EQ(GetRValue(history.Newest()->pixel(0, 0)), 0);

    // A file where the folder should be: the folder cannot be created.
    ResetFolder(folder(), false);
    test::WriteFileBytes(folder(), "x");
    EXPECT_FALSE(history.Take(page));
    EXPECT_EQ(history.counter(), 2);
    EXPECT_FALSE(history.Newest());

    Files().DeleteFile(folder());
    history.Reset();
    EXPECT_EQ(history.counter(), 1);
    EXPECT_TRUE(Files().FolderExists(folder()));
    EXPECT_EQ(history.StepBack(page), kBefore);
}

}  // namespace
}  // namespace pb
