#include "app/works.h"

#include <gtest/gtest.h>

#include <regex>

#include "common/app_state.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"
#include "support/test_support.h"

namespace pb {
namespace {

std::string StrData(int n) { return "StrData" + std::to_string(n) + ".txt"; }

TEST(Works, NamesAreXAndTwelveDigits) {
    EXPECT_TRUE(std::regex_match(NewWorkName(), std::regex("X[0-9]{12}")));
}

TEST(Works, CompactObjectFilesKeepsTheOrderOfTheSlots) {
    test::TempDir dir;
    for (int n : {3, 7, 12}) WriteWholeFile(dir.file(StrData(n)), "slot " + std::to_string(n));
    CompactObjectFiles(dir.path());
    EXPECT_EQ(Files().ListFiles(dir.path()),
              (std::vector<std::string>{StrData(0), StrData(1), StrData(2)}));
    EXPECT_EQ(ReadWholeFile(dir.file(StrData(0))), "slot 3");
    EXPECT_EQ(ReadWholeFile(dir.file(StrData(2))), "slot 12");
}

TEST(Works, ObjectsChangedComparesWithTheSavedWork) {
    test::TempDir dir;
    const std::string objects = dir.file("TmpWorkC");
    const std::string works = dir.file("A4HGK");
    const std::string saved = works + "/SData/X1";
    struct Case {
        const char* what;
        std::string name;
        std::vector<std::pair<int, std::string>> working, stored;
        bool changed;
    };
    const Case cases[] = {
        {"unnamed, no objects", "", {}, {}, false},
        {"unnamed, one object", "", {{0, "a"}}, {}, true},
        {"named, same objects", "X1", {{0, "a"}, {4, "b"}}, {{0, "a"}, {4, "b"}}, false},
        {"named, text differs", "X1", {{0, "a"}}, {{0, "b"}}, true},
        {"named, object added", "X1", {{0, "a"}, {1, "b"}}, {{0, "a"}}, true},
        {"named, object deleted", "X1", {}, {{0, "a"}}, true},
        {"named, none at all", "X1", {}, {}, false},
    };
    for (const Case& c : cases) {
        ResetFolder(objects, true);
        ResetFolder(works, false);
        Files().CreateFolder(works);
        Files().CreateFolder(works + "/SData");
        Files().CreateFolder(saved);
        for (auto& [n, t] : c.working) WriteWholeFile(JoinPath(objects, StrData(n)), t);
        for (auto& [n, t] : c.stored) WriteWholeFile(JoinPath(saved, StrData(n)), t);
        EXPECT_EQ(ObjectsChanged(objects, works, c.name), c.changed) << c.what;
    }
}

TEST(Works, ThumbnailIsASilverSquareWithThePageAndItsObjects) {
    Bitmap page(200, 100, RGB(255, 0, 0));
    Bitmap object(10, 10, KeyColour);
    object.setPixel(5, 5, RGB(0, 0, 255));
    const Bitmap t = MakeThumbnail(page, {200, 100}, {{&object, {0, 0, 100, 100}}});
    ASSERT_EQ(t.size(), (Size{140, 140}));
    EXPECT_EQ(t.pixel(70, 20), RGB(255, 0, 0));
    EXPECT_EQ(t.pixel(70, 120), clSilver);  // a landscape page leaves a silver strip below
    EXPECT_EQ(t.pixel(1, 1), RGB(255, 0, 0)) << "the object is see-through where it has KeyColour";
    EXPECT_EQ(t.pixel(37, 37), RGB(0, 0, 255));
}

// A file service whose n-th write (bytes, folder copy, folder creation, move) fails.
class FailingFiles : public FileService {
public:
    explicit FailingFiles(int failAt) : failAt_(failAt) {}
    int writes = 0;
    bool WriteBytes(const std::string& p, std::string_view b) override {
        return Next() && FileService::WriteBytes(p, b);
    }
    bool CopyFolder(const std::string& s, const std::string& d, bool o) override {
        return Next() && FileService::CopyFolder(s, d, o);
    }
    bool CreateFolder(const std::string& p) override { return Next() && FileService::CreateFolder(p); }
    bool MoveFile(const std::string& s, const std::string& d) override {
        return Next() && FileService::MoveFile(s, d);
    }

private:
    bool Next() { return ++writes != failAt_; }
    int failAt_;
};

class StoreWorkTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureWorkFolders(dir.path());
        works = dir.file("A4HGK");
        objects = dir.file("TmpWorkC");
        Files().CreateFolder(objects);
    }
    std::string Part(const std::string& rel) const { return works + "/" + rel; }
    test::TempDir dir;
    std::string works, objects;
};

TEST_F(StoreWorkTest, WritesThePageTheThumbnailAndTheObjectFolder) {
    WriteWholeFile(objects + "/" + StrData(0), "first");
    ASSERT_TRUE(StoreWork(works, "X1", Bitmap(30, 20, clBlack), Bitmap(140, 140), objects));
    EXPECT_EQ(LoadBmp(Part("MImg/X1.bmp"))->size(), (Size{30, 20}));
    EXPECT_EQ(LoadBmp(Part("SImg/X1.bmp"))->size(), (Size{140, 140}));
    EXPECT_EQ(ReadWholeFile(Part("SData/X1/" + StrData(0))), "first");
    // A work without objects gets an empty object folder.
    ResetFolder(objects, true);
    ASSERT_TRUE(StoreWork(works, "X2", Bitmap(30, 20), Bitmap(140, 140), objects));
    EXPECT_TRUE(Files().FolderExists(Part("SData/X2")));
    EXPECT_TRUE(Files().ListFiles(Part("SData/X2")).empty());
    // Nothing temporary is left.
    EXPECT_EQ(Files().ListFiles(Part("SImg")), (std::vector<std::string>{"X1.bmp", "X2.bmp"}));
}

TEST_F(StoreWorkTest, AFailureAtAnyWriteLeavesTheEarlierVersionIntact) {
    WriteWholeFile(objects + "/" + StrData(0), "old");
    ASSERT_TRUE(StoreWork(works, "X1", Bitmap(30, 20, clBlack), Bitmap(140, 140, clBlack), objects));
    const std::string oldPage = test::ReadFileBytes(Part("MImg/X1.bmp"));
    const std::string oldThumb = test::ReadFileBytes(Part("SImg/X1.bmp"));

    WriteWholeFile(objects + "/" + StrData(0), "new");
    WriteWholeFile(objects + "/" + StrData(1), "added");
    // Count the writes of a save that succeeds, then fail each one in turn.
    int total = 0;
    Files().CreateFolder(dir.file("probe"));
    EnsureWorkFolders(dir.file("probe"));
    {
        auto counting = std::make_unique<FailingFiles>(-1);
        FailingFiles* f = counting.get();
        auto previous = InstallFileService(std::move(counting));
        ASSERT_TRUE(StoreWork(dir.file("probe/A4HGK"), "X1", Bitmap(30, 20), Bitmap(140, 140),
                              objects));
        total = f->writes;
        InstallFileService(std::move(previous));
    }
    ASSERT_GE(total, 5);
    // A save over an existing work makes more moves than the probe (the earlier version is
    // moved aside), so fail every write up to a few past the probe's count.
    for (int failAt = 1; failAt <= total + 4; ++failAt) {
        auto previous = InstallFileService(std::make_unique<FailingFiles>(failAt));
        const bool stored = StoreWork(works, "X1", Bitmap(30, 20, clWhite),
                                      Bitmap(140, 140, clWhite), objects);
        InstallFileService(std::move(previous));
        if (stored) {  // past the save's last write: it succeeds
            EXPECT_GT(failAt, total) << "a failed write was reported as success";
            break;
        }
        EXPECT_EQ(test::ReadFileBytes(Part("SImg/X1.bmp")), oldThumb) << failAt;
        EXPECT_EQ(test::ReadFileBytes(Part("MImg/X1.bmp")), oldPage) << failAt;
        EXPECT_EQ(ReadWholeFile(Part("SData/X1/" + StrData(0))), "old") << failAt;
        EXPECT_FALSE(Files().FileExists(Part("SData/X1/" + StrData(1)))) << failAt;
        EXPECT_EQ(Files().ListFiles(Part("SImg")), std::vector<std::string>{"X1.bmp"}) << failAt;
        EXPECT_EQ(Files().ListFiles(Part("MImg")), std::vector<std::string>{"X1.bmp"}) << failAt;
    }
}

}  // namespace
}  // namespace pb
