// Picture browsing: fitting a picture into a box, the folders that may be browsed, the
// picture folder file, and the thumbnail list with its cache.
#include "common/picture_browsing.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <tuple>

#include "common/app_state.h"
#include "platform/bitmap_qt.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"
#include "support/test_support.h"

namespace pb {
namespace {

constexpr TColor kRed = RGB(255, 0, 0);
constexpr TColor kBlue = RGB(0, 0, 255);

// Left half red, right half blue.
Bitmap TwoColourPicture(int w, int h) {
    Bitmap bmp(w, h, kBlue);
    for (int y = 0; y < h; ++y) bmp.fillSpan(y, 0, w / 2, kRed);
    return bmp;
}

int ChannelDistance(TColor a, TColor b) {
    return std::max({std::abs(int(GetRValue(a)) - int(GetRValue(b))),
                     std::abs(int(GetGValue(a)) - int(GetGValue(b))),
                     std::abs(int(GetBValue(a)) - int(GetBValue(b)))});
}

// Plain shrinking and growing are held by the import screen's fit modes.
TEST(FitToBox, StepsOfOnePercent) {
    struct Case {
        const char* what;
        int srcW, srcH, maxW, maxH;
        Size expected;
    };
    const Case cases[] = {
        {"smaller: the last step overshoots and is clamped", 250, 10, 301, 100, {301, 12}},
        {"beyond the reach of the steps: by the ratio", 6000, 4000, 40, 40, {40, 26}},
        {"a thread of a picture keeps one pixel", 3000, 1, 40, 40, {40, 1}},
        {"empty picture", 0, 10, 40, 40, {0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitToBox(c.srcW, c.srcH, c.maxW, c.maxH), c.expected) << c.what;
}

class PictureBrowsingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        App() = AppState{};
        SetAppDir(App(), appDir.path());
    }
    std::string Path(const std::string& name) const { return pics.file(name); }
    void WriteJpeg(const std::string& name, const Bitmap& bmp) {
        ASSERT_TRUE(ImageFromBitmap(bmp).save(QString::fromStdString(Path(name)), "JPG", 90));
    }
    void WriteBmp(const std::string& name, const Bitmap& bmp) {
        ASSERT_TRUE(SaveBmp(bmp, Path(name)));
    }
    static std::vector<std::string> Names(const ThumbnailList& list) {
        std::vector<std::string> names;
        for (const auto& t : list.items) names.push_back(t.name);
        return names;
    }
    test::TempDir appDir;
    test::TempDir pics;
    const std::string& pictures = pics.path();
    test::IndicatorScope dialogs;
};

TEST_F(PictureBrowsingTest, ListsPicturesByNameTopLeftOnWhiteAndCachesThem) {
    WriteJpeg("b.JPG", TwoColourPicture(800, 600));  // 40 x 30
    WriteBmp("a.bmp", TwoColourPicture(300, 600));   // 20 x 40
    WriteBmp("gone.bmp", Bitmap(40, 40, kRed));
    test::WriteFileBytes(Path("notes.txt"), "not a picture");

    auto first = BuildThumbnailList(pictures);
    ASSERT_TRUE(first);
    EXPECT_EQ(Names(*first), (std::vector<std::string>{"a.bmp", "b.JPG", "gone.bmp"}));
    EXPECT_EQ(first->made, 3);
    EXPECT_EQ(dialogs->busyDepth, 0);
    EXPECT_GE(dialogs->maxBusyDepth, 1);
    const Bitmap& tall = first->items[0].image;
    const Bitmap wide = first->items[1].image;
    ASSERT_EQ(wide.size(), (Size{40, 40}));
    EXPECT_LE(ChannelDistance(wide.pixel(5, 15), kRed), 8);
    EXPECT_LE(ChannelDistance(wide.pixel(35, 15), kBlue), 8);
    EXPECT_EQ(wide.pixel(20, 30), clWhite);
    EXPECT_EQ(tall.pixel(5, 20), kRed);
    EXPECT_EQ(tall.pixel(20, 20), clWhite);

    // A picture deleted, one replaced under its name (newer than its thumbnail), and a stray
    // file in the cache that is no thumbnail and stays.
    test::WriteFileBytes(JoinPath(ThumbnailCachePath(pictures), "readme.txt"), "x");
    ASSERT_TRUE(Files().DeleteFile(Path("gone.bmp")));
    namespace fs = std::filesystem;
    const std::string thumb = ThumbnailFilePath(pictures, "a.bmp");
    fs::last_write_time(thumb, fs::last_write_time(thumb) - std::chrono::hours(1));
    WriteBmp("a.bmp", Bitmap(40, 40, RGB(0, 255, 0)));
    auto second = BuildThumbnailList(pictures);
    ASSERT_TRUE(second);
    EXPECT_EQ(Names(*second), (std::vector<std::string>{"a.bmp", "b.JPG"}));
    EXPECT_EQ(std::tuple(second->made, second->cached, second->pruned), std::tuple(1, 1, 1));
    EXPECT_EQ(second->items[0].image.pixel(20, 20), RGB(0, 255, 0));
    EXPECT_EQ(second->items[1].image, wide);
    EXPECT_FALSE(Files().FileExists(ThumbnailFilePath(pictures, "gone.bmp")));
    EXPECT_TRUE(Files().FileExists(JoinPath(ThumbnailCachePath(pictures), "readme.txt")));
}

TEST_F(PictureBrowsingTest, BrokenPicturesAreMarkedAndTheListGoesOn) {
    WriteJpeg("6-good.jpg", TwoColourPicture(320, 240));
    const std::string good = test::ReadFileBytes(Path("6-good.jpg"));
    test::WriteFileBytes(Path("1-garbage.jpg"), "\xFF\xD8\xFF" + std::string(80, 'x'));
    test::WriteFileBytes(Path("3-cut.jpg"), good.substr(0, good.size() / 2));
    const std::string bmp = EncodeBmp(TwoColourPicture(50, 50));
    test::WriteFileBytes(Path("4-cut.bmp"), bmp.substr(0, bmp.size() / 2));

    const auto list = BuildThumbnailList(pictures);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->items.size(), 4u);
    using S = ThumbnailState;
    const S expected[] = {S::Unreadable, S::Damaged, S::Unreadable, S::Made};
    for (std::size_t i = 0; i < 4; ++i) {
        const Thumbnail& t = list->items[i];
        EXPECT_EQ(t.state, expected[i]) << t.name;
        EXPECT_EQ(t.image.size(), (Size{40, 40})) << t.name;
        // Only sound thumbnails are kept, so that a picture mended later is read again.
        EXPECT_EQ(Files().FileExists(ThumbnailFilePath(pictures, t.name)), t.state == S::Made)
            << t.name;
    }
    EXPECT_EQ(list->items[0].image, UnreadableThumbnail());
    // The cut JPEG keeps what was decoded inside a red frame.
    EXPECT_EQ(list->items[1].image.pixel(0, 20), kRed);
    EXPECT_LE(ChannelDistance(list->items[1].image.pixel(8, 5), kRed), 8);
    EXPECT_EQ(list->failed, 2);
}

TEST_F(PictureBrowsingTest, ChangePictureFolderKeepsTheOldFolderUnlessTheNewOneHasPictures) {
    const std::string old = "/somewhere/old";
    test::TempDir empty;
    const std::string ownFolder = App().AppDir + "TmpWork";
    ASSERT_TRUE(Files().CreateFolder(ownFolder));
    ASSERT_TRUE(SaveBmp(Bitmap(8, 8), JoinPath(ownFolder, "x.bmp")));
    WriteBmp("x.bmp", Bitmap(8, 8));
    ASSERT_TRUE(BuildThumbnailList(pictures));  // makes the cache folder

    // folder, the folder kept, pictures shown: the program's own folders and the thumbnail
    // cache are not for browsing.
    const std::tuple<std::string, std::string, std::size_t> cases[] = {
        {empty.path(), old, 0},  {pictures + "/nothing", old, 0},
        {ownFolder, old, 0},     {ThumbnailCachePath(pictures), old, 0},
        {pictures, pictures, 1},
    };
    std::string current = old;
    for (const auto& [folder, kept, count] : cases) {
        ThumbnailList shown;
        shown.items.resize(3);  // whatever was shown before
        current = ChangePictureFolder(current, folder, shown);
        EXPECT_EQ(current, kept) << folder;
        EXPECT_EQ(shown.items.size(), count) << folder;
    }
    EXPECT_EQ(ReadPictureFolder(App().AppDir), pictures);

    // A folder that cannot be saved as the picture folder (a folder stands where its file
    // goes) is shown but not kept.
    ASSERT_TRUE(Files().DeleteFile(App().AppDir + "PixDir.txt"));
    ASSERT_TRUE(Files().CreateFolder(App().AppDir + "PixDir.txt"));
    ThumbnailList shown;
    const std::string kept = ChangePictureFolder(old, pictures, shown);
    EXPECT_EQ(kept, old);
    EXPECT_EQ(shown.items.size(), 1u);
    EXPECT_EQ(shown.folder, pictures);
}

TEST_F(PictureBrowsingTest, PictureFolderFile) {
    test::TempDir japanese;
    const std::string folder = japanese.path() + "/写真";
    ASSERT_TRUE(Files().CreateFolder(folder));
    ASSERT_TRUE(SavePictureFolder(folder));
    // Stored as CP932 without a line end.
    EXPECT_EQ(test::ReadFileBytes(App().AppDir + "PixDir.txt"),
              japanese.path() + "/\x8E\xCA\x90\x5E");
    // A name CP932 cannot hold would read back as another folder: not written.
    EXPECT_FALSE(SavePictureFolder(japanese.path() + "/Café"));
    LoadCurrentPictureFolder();
    EXPECT_EQ(App().CurrentPictureFolder, folder);

    // A folder that has gone, or no file at all: a folder of the user that exists.
    ASSERT_TRUE(Files().DeleteFolder(folder));
    EXPECT_TRUE(Files().FolderExists(ReadPictureFolder(App().AppDir)));
    Files().DeleteFile(App().AppDir + "PixDir.txt");
    EXPECT_TRUE(Files().FolderExists(ReadPictureFolder(App().AppDir)));
}

}  // namespace
}  // namespace pb
