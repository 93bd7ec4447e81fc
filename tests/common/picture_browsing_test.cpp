// Picture browsing: fitting a picture into a box, the folders that may be browsed, the
// picture folder file, and the thumbnail list with its cache.
#include "common/picture_browsing.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QListWidgetItem>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "common/app_state.h"
#include "common/picture_browser_widgets.h"
#include "platform/bitmap_qt.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"
#include "platform/stretch.h"
#include "support/test_support.h"

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace pb {
namespace {

std::string EncodeJpeg(const Bitmap& bmp, int quality = 90) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = static_cast<JDIMENSION>(bmp.width());
    cinfo.image_height = static_cast<JDIMENSION>(bmp.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(bmp.scanLine(static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string bytes(reinterpret_cast<char*>(out), size);
    std::free(out);
    return bytes;
}

// Left half red, right half blue.
Bitmap TwoColourPicture(int w, int h) {
    Bitmap bmp(w, h, RGB(0, 0, 255));
    for (int y = 0; y < h; ++y) bmp.fillSpan(y, 0, w / 2, RGB(255, 0, 0));
    return bmp;
}

int ChannelDistance(TColor a, TColor b) {
    return std::max({std::abs(int(GetRValue(a)) - int(GetRValue(b))),
                     std::abs(int(GetGValue(a)) - int(GetGValue(b))),
                     std::abs(int(GetBValue(a)) - int(GetBValue(b)))});
}

TEST(FitToBox, StepsOfOnePercent) {
    struct Case {
        const char* what;
        int srcW, srcH, maxW, maxH;
        Size expected;
    };
    const Case cases[] = {
        {"same aspect ratio, larger", 800, 600, 400, 300, {400, 300}},
        {"same aspect ratio, smaller", 1, 1, 40, 40, {40, 40}},
        {"too wide: k = 70", 1000, 500, 300, 200, {300, 150}},
        {"too high", 500, 1000, 300, 200, {100, 200}},
        {"a photo into a thumbnail: k = 99", 4000, 3000, 40, 40, {40, 30}},
        {"smaller: grown until the height reaches the box", 30, 20, 100, 50, {75, 50}},
        {"smaller: the last step overshoots and is clamped", 250, 10, 301, 100, {301, 12}},
        {"as wide as the box already", 40, 20, 40, 40, {40, 20}},
        {"beyond the reach of the steps: by the ratio", 6000, 4000, 40, 40, {40, 26}},
        {"a thread of a picture keeps one pixel", 3000, 1, 40, 40, {40, 1}},
        {"empty picture", 0, 10, 40, 40, {0, 0}},
        {"empty box", 10, 10, 0, 40, {0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitToBox(c.srcW, c.srcH, c.maxW, c.maxH), c.expected) << c.what;
}

TEST(IsBrowsableFolder, ProgramFoldersAndCachesAreNot) {
    const std::string app = "/opt/popboard/";
    struct Case {
        std::string folder;
        bool browsable;
    };
    const Case cases[] = {
        {app + "TmpWork", false},
        {app + "TmpWorkA", false},
        {app + "TmpWorkB", false},
        {app + "TmpWorkC", false},
        {app + "METAFILES", false},
        {app + "A4HGK", false},
        {app + "A4HGK/SData", false},
        {app + "A4HGK/MImg", false},
        {app + "A4HGK/SImg", false},
        {app + "A4HGK/SImg/", false},
        {app + "PDF", false},
        {app + "PDF/", false},
        {"/home/u/PDF", true},
        {"/home/u/Pictures/vrnsimgfiles", false},
        {"/home/u/Pictures/vrnsimgfiles/", false},
        {app + "vrnsimgfiles", false},
        {"/home/u/Pictures", true},
        {app.substr(0, app.size() - 1), true},
        {app + "TmpWorkD", true},
        {app + "A4HGK/SData/X240101120000", true},
        {"/home/u/TmpWork", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsBrowsableFolder(c.folder, app), c.browsable) << c.folder;
}

class PictureBrowsingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        App() = AppState{};
        SetAppDir(App(), appDir.path());
        pictures = pics.path();
    }
    void WriteJpeg(const std::string& name, const Bitmap& bmp) {
        test::WriteFileBytes(JoinPath(pictures, name), EncodeJpeg(bmp));
    }
    void WriteBmp(const std::string& name, const Bitmap& bmp) {
        ASSERT_TRUE(SaveBmp(bmp, JoinPath(pictures, name)));
    }
    std::vector<std::string> Names(const ThumbnailList& list) {
        std::vector<std::string> names;
        for (const auto& t : list.items) names.push_back(t.name);
        return names;
    }
    test::TempDir appDir;
    test::TempDir pics;
    std::string pictures;
    test::ScriptedDialogScope dialogs;
};

TEST_F(PictureBrowsingTest, ListsPicturesByNameAndCachesTheirThumbnails) {
    WriteJpeg("b.JPG", TwoColourPicture(80, 60));
    WriteBmp("a.bmp", TwoColourPicture(30, 60));
    WriteJpeg("c.jpeg", TwoColourPicture(64, 64));
    test::WriteFileBytes(JoinPath(pictures, "notes.txt"), "not a picture");

    auto first = BuildThumbnailList(pictures);
    ASSERT_TRUE(first);
    EXPECT_EQ(Names(*first), (std::vector<std::string>{"a.bmp", "b.JPG", "c.jpeg"}));
    EXPECT_EQ(first->made, 3);
    EXPECT_EQ(first->cached, 0);
    for (const char* name : {"a.bmp", "b.JPG", "c.jpeg"})
        EXPECT_TRUE(Files().FileExists(ThumbnailFilePath(pictures, name))) << name;
    EXPECT_EQ(dialogs->busyDepth, 0);
    EXPECT_GE(dialogs->maxBusyDepth, 1);

    auto second = BuildThumbnailList(pictures);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->made, 0);
    EXPECT_EQ(second->cached, 3);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(second->items[i].image, first->items[i].image) << second->items[i].name;
}

TEST_F(PictureBrowsingTest, ThumbnailsSitTopLeftOnWhite) {
    WriteJpeg("wide.jpg", TwoColourPicture(800, 600));  // 40 x 30
    WriteBmp("tall.bmp", TwoColourPicture(300, 600));   // 20 x 40
    const auto list = BuildThumbnailList(pictures);
    ASSERT_TRUE(list);
    const Bitmap& tall = list->items[0].image;
    const Bitmap& wide = list->items[1].image;
    ASSERT_EQ(wide.size(), (Size{40, 40}));
    EXPECT_LE(ChannelDistance(wide.pixel(5, 15), RGB(255, 0, 0)), 8);
    EXPECT_LE(ChannelDistance(wide.pixel(35, 15), RGB(0, 0, 255)), 8);
    EXPECT_EQ(wide.pixel(20, 30), clWhite);
    EXPECT_EQ(wide.pixel(20, 39), clWhite);
    EXPECT_EQ(tall.pixel(5, 20), RGB(255, 0, 0));
    EXPECT_EQ(tall.pixel(15, 20), RGB(0, 0, 255));
    EXPECT_EQ(tall.pixel(20, 20), clWhite);
}

TEST_F(PictureBrowsingTest, ScaledDecodeLooksAsGoodAsAFullDecode) {
    // A photo-like picture: smooth gradients with a sharp edge off the 8-pixel blocks.
    Bitmap photo(1600, 1200);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, RGB(x * 255 / 1600, y * 255 / 1200, x < 901 ? 40 : 220));
    WriteJpeg("photo.jpg", photo);
    // The steps of 1 % give 32 x 24 here (2 % of the picture).
    const Size fit = FitToBox(1600, 1200, 40, 40);
    ASSERT_EQ(fit, (Size{32, 24}));
    auto thumbnailOf = [&](const Bitmap& picture) {
        Bitmap t(40, 40, clWhite);
        StretchBits(t, RectOfSize(0, 0, fit.width, fit.height), picture,
                    RectOfSize(0, 0, picture.width(), picture.height()), StretchMode::Halftone);
        return t;
    };
    const Bitmap ideal = thumbnailOf(photo);
    const auto full = LoadJpeg(JoinPath(pictures, "photo.jpg"));
    ASSERT_TRUE(full);
    const Bitmap fromFull = thumbnailOf(*full);
    const auto scaled = MakePictureThumbnail(JoinPath(pictures, "photo.jpg"));
    ASSERT_TRUE(scaled);
    // Summed channel error against the thumbnail of the uncompressed picture.
    auto error = [&](const Bitmap& t) {
        long sum = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) sum += ChannelDistance(t.pixel(x, y), ideal.pixel(x, y));
        return sum;
    };
    // Within one level per channel on average of the area average of the full decode, and
    // closer to the picture than a full decode stretched pixel by pixel.
    EXPECT_LE(error(*scaled), error(fromFull) + 40 * 40);
    Bitmap nearest(40, 40, clWhite);
    StretchBits(nearest, RectOfSize(0, 0, fit.width, fit.height), *full,
                RectOfSize(0, 0, 1600, 1200), StretchMode::ColorOnColor);
    EXPECT_LT(error(*scaled), error(nearest));
    int worst = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            worst = std::max(worst, ChannelDistance(scaled->pixel(x, y), ideal.pixel(x, y)));
    EXPECT_LE(worst, 10);
}

TEST_F(PictureBrowsingTest, BrokenPicturesAreMarkedAndTheListGoesOn) {
    const std::string good = EncodeJpeg(TwoColourPicture(320, 240));
    test::WriteFileBytes(JoinPath(pictures, "1-garbage.jpg"),
                         "\xFF\xD8\xFF" + std::string(80, 'x'));
    test::WriteFileBytes(JoinPath(pictures, "2-empty.bmp"), "");
    test::WriteFileBytes(JoinPath(pictures, "3-cut.jpg"), good.substr(0, good.size() / 2));
    const std::string bmp = EncodeBmp(TwoColourPicture(50, 50));
    test::WriteFileBytes(JoinPath(pictures, "4-cut.bmp"), bmp.substr(0, bmp.size() / 2));
    test::WriteFileBytes(JoinPath(pictures, "5-text.jpeg"), "hello");
    test::WriteFileBytes(JoinPath(pictures, "6-good.jpg"), good);

    const auto list = BuildThumbnailList(pictures);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->items.size(), 6u);
    const ThumbnailState expected[] = {ThumbnailState::Unreadable, ThumbnailState::Unreadable,
                                       ThumbnailState::Damaged,    ThumbnailState::Unreadable,
                                       ThumbnailState::Unreadable, ThumbnailState::Made};
    for (std::size_t i = 0; i < 6; ++i) {
        const Thumbnail& t = list->items[i];
        EXPECT_EQ(t.state, expected[i]) << t.name;
        EXPECT_EQ(t.image.size(), (Size{40, 40})) << t.name;
        // Only sound thumbnails are kept, so that a picture mended later is read again.
        EXPECT_EQ(Files().FileExists(ThumbnailFilePath(pictures, t.name)),
                  t.state == ThumbnailState::Made)
            << t.name;
    }
    EXPECT_EQ(list->items[0].image, UnreadableThumbnail());
    EXPECT_GT(test::CountPixels(list->items[0].image, RGB(255, 0, 0)), 20);
    // The cut JPEG keeps what was decoded inside a red frame.
    const Bitmap& cut = list->items[2].image;
    EXPECT_EQ(cut.pixel(0, 20), RGB(255, 0, 0));
    EXPECT_LE(ChannelDistance(cut.pixel(8, 5), RGB(255, 0, 0)), 8);
    EXPECT_EQ(list->failed, 4);
    EXPECT_EQ(list->made, 2);
}

TEST_F(PictureBrowsingTest, CacheIsPrunedAfterAPictureIsDeleted) {
    WriteJpeg("keep.jpg", TwoColourPicture(60, 40));
    WriteJpeg("gone.jpg", TwoColourPicture(60, 40));
    ASSERT_TRUE(BuildThumbnailList(pictures));
    // A stray file in the cache that is no thumbnail stays.
    test::WriteFileBytes(JoinPath(ThumbnailCachePath(pictures), "readme.txt"), "x");
    ASSERT_TRUE(Files().DeleteFile(JoinPath(pictures, "gone.jpg")));

    const auto list = BuildThumbnailList(pictures);
    ASSERT_TRUE(list);
    EXPECT_EQ(Names(*list), std::vector<std::string>{"keep.jpg"});
    EXPECT_EQ(list->pruned, 1);
    EXPECT_EQ(list->cached, 1);
    EXPECT_FALSE(Files().FileExists(ThumbnailFilePath(pictures, "gone.jpg")));
    EXPECT_TRUE(Files().FileExists(ThumbnailFilePath(pictures, "keep.jpg")));
    EXPECT_TRUE(Files().FileExists(JoinPath(ThumbnailCachePath(pictures), "readme.txt")));
}

TEST_F(PictureBrowsingTest, APictureReplacedUnderItsNameGetsANewThumbnail) {
    WriteBmp("p.bmp", Bitmap(40, 40, RGB(255, 0, 0)));
    ASSERT_TRUE(BuildThumbnailList(pictures));
    namespace fs = std::filesystem;
    const std::string thumb = ThumbnailFilePath(pictures, "p.bmp");
    fs::last_write_time(thumb, fs::last_write_time(thumb) - std::chrono::hours(1));
    WriteBmp("p.bmp", Bitmap(40, 40, RGB(0, 255, 0)));

    const auto list = BuildThumbnailList(pictures);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->made, 1);
    EXPECT_EQ(list->items[0].image.pixel(20, 20), RGB(0, 255, 0));
}

TEST_F(PictureBrowsingTest, ManyNewThumbnailsShowAProgressBar) {
    const std::string jpeg = EncodeJpeg(TwoColourPicture(48, 48));
    for (int i = 0; i < 25; ++i)
        test::WriteFileBytes(JoinPath(pictures, "p" + std::to_string(100 + i) + ".jpg"), jpeg);
    ASSERT_TRUE(BuildThumbnailList(pictures));
    EXPECT_EQ(dialogs->progressShown, 1);
    ASSERT_TRUE(BuildThumbnailList(pictures));  // all from the cache now
    EXPECT_EQ(dialogs->progressShown, 1);
    EXPECT_EQ(dialogs->busyDepth, 0);
}

TEST_F(PictureBrowsingTest, ChangePictureFolderKeepsTheOldFolderUnlessTheNewOneHasPictures) {
    const std::string old = "/somewhere/old";
    test::TempDir empty;
    const std::string ownFolder = App().AppDir + "TmpWork";
    ASSERT_TRUE(Files().CreateFolder(ownFolder));
    ASSERT_TRUE(SaveBmp(Bitmap(8, 8), JoinPath(ownFolder, "x.bmp")));
    WriteBmp("x.bmp", Bitmap(8, 8));
    ASSERT_TRUE(BuildThumbnailList(pictures));  // makes the cache folder

    struct Case {
        const char* what;
        std::string folder;
        std::string kept;
        std::size_t shown;
    };
    const Case cases[] = {
        {"an empty folder", empty.path(), old, 0},
        {"a missing folder", pictures + "/nothing", old, 0},
        {"a program folder with pictures", ownFolder, old, 0},
        {"a thumbnail cache", ThumbnailCachePath(pictures), old, 0},
        {"a folder of pictures", pictures, pictures, 1},
        {"the same folder again", pictures, pictures, 1},
    };
    std::string current = old;
    for (const Case& c : cases) {
        ThumbnailList shown;
        shown.items.resize(3);  // whatever was shown before
        current = ChangePictureFolder(current, c.folder, shown);
        EXPECT_EQ(current, c.kept) << c.what;
        EXPECT_EQ(shown.items.size(), c.shown) << c.what;
    }
    EXPECT_EQ(ReadWholeFile(App().AppDir + "PixDir.txt"), pictures);
    EXPECT_EQ(ReadPictureFolder(App().AppDir), pictures);
}

// A file service that cannot write "PixDir.txt".
class NoPictureFolderFile : public FileService {
  public:
    bool WriteBytes(const std::string& path, std::string_view bytes) override {
        if (path.ends_with("PixDir.txt")) return false;
        return FileService::WriteBytes(path, bytes);
    }
};

TEST_F(PictureBrowsingTest, AFolderThatCannotBeSavedIsShownButNotKept) {
    WriteBmp("x.bmp", Bitmap(8, 8));
    auto previous = InstallFileService(std::make_unique<NoPictureFolderFile>());
    ThumbnailList shown;
    const std::string kept = ChangePictureFolder("/old", pictures, shown);
    InstallFileService(std::move(previous));
    EXPECT_EQ(kept, "/old");
    ASSERT_EQ(shown.items.size(), 1u);
    // The list knows where its pictures lie, whatever the current folder is.
    EXPECT_EQ(shown.folder, pictures);
}

TEST_F(PictureBrowsingTest, PictureFolderFile) {
    test::TempDir japanese;
    const std::string folder = japanese.path() + "/写真";
    ASSERT_TRUE(Files().CreateFolder(folder));
    ASSERT_TRUE(SavePictureFolder(folder));
    EXPECT_EQ(ReadPictureFolder(App().AppDir), folder);
    // Stored as CP932 without a line end.
    EXPECT_EQ(test::ReadFileBytes(App().AppDir + "PixDir.txt"),
              japanese.path() + "/\x8E\xCA\x90\x5E");

    // A name CP932 cannot hold would read back as another folder: not written.
    EXPECT_FALSE(SavePictureFolder(japanese.path() + "/Café"));
    EXPECT_EQ(ReadPictureFolder(App().AppDir), folder);

    LoadCurrentPictureFolder();
    EXPECT_EQ(App().CurrentPictureFolder, folder);

    // A folder that has gone, or no file at all: a folder of the user that exists.
    ASSERT_TRUE(Files().DeleteFolder(folder));
    EXPECT_NE(ReadPictureFolder(App().AppDir), folder);
    EXPECT_TRUE(Files().FolderExists(ReadPictureFolder(App().AppDir)));
    Files().DeleteFile(App().AppDir + "PixDir.txt");
    EXPECT_TRUE(Files().FolderExists(ReadPictureFolder(App().AppDir)));
}

TEST_F(PictureBrowsingTest, ListWidgetShowsThumbnailsAndMarksDeletedOnes) {
    WriteBmp("a.bmp", Bitmap(8, 8, RGB(255, 0, 0)));
    WriteBmp("b.bmp", Bitmap(8, 8, RGB(0, 255, 0)));
    ThumbnailListView view;
    const std::string kept = view.ChangeFolder("/old", pictures);
    EXPECT_EQ(kept, pictures);
    ASSERT_EQ(view.count(), 2);
    EXPECT_EQ(view.Caption(1), "b.bmp");
    EXPECT_EQ(view.PicturePath(1), JoinPath(pictures, "b.bmp"));
    MarkThumbnailDeleted(view, 1);
    const QImage marked =
        view.item(1)->icon().pixmap(40, 40).toImage().convertToFormat(QImage::Format_BGR888);
    EXPECT_EQ(BitmapFromImage(marked), DeletedThumbnail());

    view.ChangeFolder(pictures, App().AppDir + "TmpWorkA");
    EXPECT_EQ(view.count(), 0);
    EXPECT_TRUE(view.folder().empty());
}

}  // namespace
}  // namespace pb
