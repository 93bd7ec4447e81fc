// Saved works on disk: the save question's comparison of objects, the thumbnail, and the
// guarantee that no failed or interrupted save leaves a broken work.
#include "app/works.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDateTime>
#include <chrono>
#include <filesystem>
#include <map>
#include <random>
#include <thread>
#include <tuple>

#include "common/app_state.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"
#include "support/test_support.h"

namespace pb {
namespace {

std::string StrData(int n) {
    return "StrData" + std::to_string(n) + ".txt";
}

TEST(Works, ObjectsChangedComparesWithTheSavedWork) {
    test::TempDir dir;
    const std::string objects = dir.file("TmpWorkC"), works = dir.file("A4HGK");
    using ObjectFiles = std::vector<std::pair<int, std::string>>;
    const std::tuple<const char*, ObjectFiles, ObjectFiles, bool> cases[] = {
        {"", {}, {}, false},
        {"", {{0, "a"}}, {}, true},
        {"X1", {{0, "a"}, {4, "b"}}, {{0, "a"}, {4, "b"}}, false},
        {"X1", {{0, "a"}}, {{0, "b"}}, true},
        {"X1", {{0, "a"}, {1, "b"}}, {{0, "a"}}, true},
        {"X1", {}, {{0, "a"}}, true},
    };
    for (const auto& [name, working, stored, changed] : cases) {
        ResetFolder(objects, true);
        ResetFolder(works, false);
        EnsureWorkFolders(dir.path());
        Files().CreateFolder(works + "/SData/X1");
        for (auto& [n, t] : working) WriteWholeFile(JoinPath(objects, StrData(n)), t);
        for (auto& [n, t] : stored) WriteWholeFile(JoinPath(works + "/SData/X1", StrData(n)), t);
        EXPECT_EQ(ObjectsChanged(objects, works, name), changed)
            << name << ", " << working.size() << " working, " << stored.size() << " stored";
    }
}

TEST(Works, ThumbnailIsASilverSquareWithThePageAndItsObjects) {
    Bitmap page(200, 100, RGB(255, 0, 0));
    Bitmap object(10, 10, KeyColour);
    object.setPixel(5, 5, RGB(0, 0, 255));
    const Bitmap t = MakeThumbnail(page, {200, 100}, {{&object, {0, 0, 100, 100}}});
    ASSERT_EQ(t.size(), (Size{140, 140}));
    EXPECT_EQ(t.pixel(70, 120), clSilver);  // a landscape page leaves a silver strip below
    EXPECT_EQ(t.pixel(1, 1), RGB(255, 0, 0)) << "the object is see-through where it has KeyColour";
    EXPECT_EQ(t.pixel(37, 37), RGB(0, 0, 255));
}

TEST(Works, GalleryHousekeeping) {
    test::TempDir dir;
    EnsureWorkFolders(dir.path());
    const std::string works = dir.file("A4HGK") + "/";
    for (const char* name : {"X2", "X1", "X3", "X4", "X5"}) {
        WriteWholeFile(works + "MImg/" + name + ".bmp", "p");
        WriteWholeFile(works + "SImg/" + name + ".bmp", "t");
        Files().CreateFolder(works + "SData/" + name);
    }
    Files().DeleteFile(works + "MImg/X3.bmp");  // no page bitmap
    ResetFolder(works + "SData/X4", false);     // no object folder
    CleanIncompleteWorks(works);
    EXPECT_FALSE(Files().FolderExists(works + "SData/X3"));
    EXPECT_FALSE(Files().FileExists(works + "MImg/X4.bmp"));
    EXPECT_EQ(ListWorkThumbnails(works), (std::vector<std::string>{"X1.bmp", "X2.bmp", "X5.bmp"}));
    DeleteWork(works, "X2.bmp");
    EXPECT_FALSE(Files().FileExists(works + "MImg/X2.bmp") ||
                 Files().FolderExists(works + "SData/X2"));
    EXPECT_EQ(ListWorkThumbnails(works), (std::vector<std::string>{"X1.bmp", "X5.bmp"}));

    // The objects are renumbered from 0 in their order.
    const std::string objects = dir.file("TmpWorkC");
    ResetFolder(objects, true);
    for (const int n : {12, 3, 7}) WriteWholeFile(JoinPath(objects, StrData(n)), std::to_string(n));
    CompactObjectFiles(objects);
    EXPECT_EQ(Files().ListFiles(objects),
              (std::vector<std::string>{StrData(0), StrData(1), StrData(2)}));
    for (const auto& [n, text] : {std::pair(0, "3"), std::pair(1, "7"), std::pair(2, "12")})
        EXPECT_EQ(ReadWholeFile(JoinPath(objects, StrData(n))), text);
}

TEST(Works, InterruptedSavesAreFinishedOrUndone) {
    // Each part of work X1 as a crash may leave it, written as three letters for the part
    // itself, its ".new" and its ".old" copy: 'o' the earlier version, 'n' the new one, '-'
    // missing. Afterwards every part holds `result` with no copies left.
    const std::tuple<const char*, const char*, const char*, const char*, char> cases[] = {
        {"writing the new parts", "on-", "on-", "o--", 'o'},
        {"writing a new work", "-n-", "---", "---", '-'},
        {"all new parts written, none moved", "on-", "on-", "on-", 'n'},
        {"moving the object folder", "n-o", "-no", "on-", 'n'},
        {"moving the thumbnail", "n-o", "n-o", "-no", 'n'},
        {"removing the earlier copies", "n--", "n-o", "n-o", 'n'},
    };
    auto version = [](char c) { return c == 'o' ? "old" : "new"; };
    for (const auto& [what, page, data, thumb, result] : cases) {
        SCOPED_TRACE(what);
        test::TempDir dir;
        const std::string works = dir.path() + "/A4HGK/";
        EnsureWorkFolders(dir.path());
        const std::tuple<std::string, bool, const char*> parts[] = {
            {works + "MImg/X1.bmp", false, page},
            {works + "SData/X1", true, data},
            {works + "SImg/X1.bmp", false, thumb}};
        const char* suffixes[] = {"", ".new", ".old"};
        for (const auto& [path, folder, state] : parts) {
            for (int i = 0; i < 3; ++i) {
                if (state[i] == '-') continue;
                const std::string at = path + suffixes[i];
                if (folder) Files().CreateFolder(at);
                WriteWholeFile(folder ? at + "/StrData0.txt" : at, version(state[i]));
            }
        }
        RecoverInterruptedSaves(works);
        for (const auto& [path, folder, state] : parts) {
            const std::string file = folder ? path + "/StrData0.txt" : path;
            if (result == '-')
                EXPECT_FALSE(Files().FileExists(file)) << path;
            else
                EXPECT_EQ(ReadWholeFile(file), version(result)) << path;
            for (const char* suffix : {".new", ".old"})
                EXPECT_FALSE(Files().FileExists(path + suffix) ||
                             Files().FolderExists(path + suffix));
        }
    }
}

// Every file and folder under `folder`, a file with its bytes.
std::map<std::string, std::string> Tree(const std::string& folder) {
    std::map<std::string, std::string> out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
        out[e.path().string()] = e.is_directory() ? "/" : test::ReadFileBytes(e.path().string());
    return out;
}

// A file service whose n-th write (bytes, folder copy, folder creation, move, sync) fails.
class FailingFiles : public FileService {
    using S = const std::string&;
    using Base = FileService;

  public:
    explicit FailingFiles(int failAt) : failAt_(failAt) {}
    int writes = 0;
    bool WriteBytes(S p, std::string_view b) override { return Next() && Base::WriteBytes(p, b); }
    bool CopyFolder(S s, S d, bool o) override { return Next() && Base::CopyFolder(s, d, o); }
    bool CreateFolder(S p) override { return Next() && Base::CreateFolder(p); }
    bool MoveFile(S s, S d) override { return Next() && Base::MoveFile(s, d); }
    bool SyncFile(S p) override { return Next() && Base::SyncFile(p); }
    bool SyncFolder(S p) override { return Next() && Base::SyncFolder(p); }

  private:
    bool Next() { return ++writes != failAt_; }
    int failAt_;
};

TEST(Works, AFailureAtAnyWriteLeavesTheEarlierVersionIntact) {
    test::TempDir dir;
    EnsureWorkFolders(dir.path());
    const std::string works = dir.file("A4HGK"), objects = dir.file("TmpWorkC");
    Files().CreateFolder(objects);
    WriteWholeFile(objects + "/" + StrData(0), "old");
    ASSERT_TRUE(
        StoreWork(works, "X1", Bitmap(30, 20, clBlack), Bitmap(140, 140, clBlack), objects));
    const auto before = Tree(works);

    WriteWholeFile(objects + "/" + StrData(0), "new");
    WriteWholeFile(objects + "/" + StrData(1), "added");
    // Count the writes of a save that succeeds, then fail each one in turn.
    Files().CreateFolder(dir.file("probe"));
    EnsureWorkFolders(dir.file("probe"));
    auto counting = std::make_unique<FailingFiles>(-1);
    FailingFiles* probe = counting.get();
    auto previous = InstallFileService(std::move(counting));
    ASSERT_TRUE(
        StoreWork(dir.file("probe/A4HGK"), "X1", Bitmap(30, 20), Bitmap(140, 140), objects));
    const int total = probe->writes;
    InstallFileService(std::move(previous));
    ASSERT_GE(total, 5);
    // A save over an existing work makes more moves than the probe (the earlier version is
    // moved aside), so fail every write up to a few past the probe's count.
    for (int failAt = 1; failAt <= total + 4; ++failAt) {
        previous = InstallFileService(std::make_unique<FailingFiles>(failAt));
        const bool stored =
            StoreWork(works, "X1", Bitmap(30, 20, clWhite), Bitmap(140, 140, clWhite), objects);
        InstallFileService(std::move(previous));
        if (stored) {  // past the save's last write: it succeeds
            EXPECT_GT(failAt, total) << "a failed write was reported as success";
            break;
        }
        EXPECT_EQ(Tree(works), before) << "failing write " << failAt;
    }
}

TEST(Works, NewNamesNeverTakeTheNameOfAnotherWork) {
    // What lies in the works folder, and the time of the save: the name given.
    const QDateTime now(QDate(2026, 12, 6), QTime(16, 20, 34));
    const QDateTime endOfYear(QDate(2026, 12, 31), QTime(23, 59, 59));
    const std::tuple<const char*, std::vector<std::string>, QDateTime, const char*> cases[] = {
        {"nothing saved", {}, now, "X261206162034"},
        {"another second saved", {"SImg/X261206162033.bmp"}, now, "X261206162034"},
        {"a save within the same second",
         {"MImg/X261206162034.bmp", "SImg/X261206162034.bmp", "SData/X261206162034/"},
         now,
         "X261206162035"},
        {"the clock set back over two works",
         {"MImg/X261206162034.bmp", "SData/X261206162035/"},
         now,
         "X261206162036"},
        {"a save cut off at that second", {"SImg/X261206162034.bmp.new"}, now, "X261206162035"},
        {"an earlier version put aside", {"SData/X261206162034.old/"}, now, "X261206162035"},
        {"the last second of a year", {"SImg/X261231235959.bmp"}, endOfYear, "X270101000000"},
    };
    for (const auto& [what, entries, at, expected] : cases) {
        SCOPED_TRACE(what);
        test::TempDir dir;
        EnsureWorkFolders(dir.path());
        const std::string works = dir.file("A4HGK");
        for (const std::string& entry : entries) {
            if (entry.back() == '/')
                Files().CreateFolder(JoinPath(works, entry.substr(0, entry.size() - 1)));
            else
                WriteWholeFile(JoinPath(works, entry), "x");
        }
        EXPECT_EQ(NewWorkName(works, at), expected);
    }
}

// Records the file operations of a save, in order: "sync PATH", "syncdir PATH", "move A B".
class LoggingFiles : public FileService {
    using S = const std::string&;
    using Base = FileService;

  public:
    std::vector<std::string> log;
    bool MoveFile(S s, S d) override {
        log.push_back("move " + s + " " + d);
        return Base::MoveFile(s, d);
    }
    bool SyncFile(S p) override {
        log.push_back("sync " + p);
        return Base::SyncFile(p);
    }
    bool SyncFolder(S p) override {
        log.push_back("syncdir " + p);
        return Base::SyncFolder(p);
    }
    // Where `entry` first stands in the log (log.size() when it is missing).
    std::size_t At(const std::string& entry) const {
        return static_cast<std::size_t>(std::find(log.begin(), log.end(), entry) - log.begin());
    }
};

TEST(Works, ASaveReachesTheDiskBeforeItCounts) {
    // A work saved anew, and saved over its earlier version (which is moved aside first).
    for (const bool earlier : {false, true}) {
        SCOPED_TRACE(earlier ? "over an earlier version" : "a new work");
        test::TempDir dir;
        EnsureWorkFolders(dir.path());
        const std::string works = dir.file("A4HGK"), objects = dir.file("TmpWorkC");
        Files().CreateFolder(objects);
        Files().CreateFolder(objects + "/sub");
        WriteWholeFile(objects + "/" + StrData(0), "a");
        WriteWholeFile(objects + "/" + StrData(1), "b");
        WriteWholeFile(objects + "/sub/note.txt", "c");
        if (earlier) {
            ASSERT_TRUE(StoreWork(works, "X1", Bitmap(8, 8), Bitmap(140, 140), objects));
        }

        auto logging = std::make_unique<LoggingFiles>();
        const LoggingFiles& files = *logging;
        auto previous = InstallFileService(std::move(logging));
        const bool stored = StoreWork(works, "X1", Bitmap(30, 20), Bitmap(140, 140), objects);
        auto used = InstallFileService(std::move(previous));
        ASSERT_TRUE(stored);

        // Every new file and folder is synced under its temporary name before the first of
        // them is moved into place.
        std::size_t firstIn = files.log.size(), lastIn = 0;
        for (std::size_t i = 0; i < files.log.size(); ++i) {
            const std::string& e = files.log[i];
            if (e.rfind("move ", 0) == 0 && e.find(".new ") != std::string::npos) {
                firstIn = std::min(firstIn, i);
                lastIn = i;
            }
        }
        ASSERT_LT(firstIn, files.log.size()) << "nothing moved into place";
        const std::string data = works + "/SData/X1.new";
        for (const std::string& synced :
             {"sync " + works + "/MImg/X1.bmp.new", "sync " + works + "/SImg/X1.bmp.new",
              "sync " + data + "/" + StrData(0), "sync " + data + "/" + StrData(1),
              "sync " + data + "/sub/note.txt", "syncdir " + data + "/sub", "syncdir " + data})
            EXPECT_LT(files.At(synced), firstIn) << synced;
        // The thumbnail, the sign of a complete save, is written after the other parts' names
        // reached the disk.
        EXPECT_LT(files.At("syncdir " + works + "/MImg"),
                  files.At("sync " + works + "/SImg/X1.bmp.new"));
        EXPECT_LT(files.At("syncdir " + works + "/SData"),
                  files.At("sync " + works + "/SImg/X1.bmp.new"));
        // The renames reach the disk with their folders before the save counts.
        for (const char* folder : {"/MImg", "/SData", "/SImg"}) {
            const auto& log = files.log;
            EXPECT_NE(std::find(log.begin() + static_cast<long>(lastIn) + 1, log.end(),
                                "syncdir " + works + folder),
                      log.end())
                << folder;
        }
    }
}

TEST(Works, RecoveryRemovesBitmapsWhoseWritingWasKilled) {
    // Saves over work X1, alternately white and black pages, are killed: every other time at
    // a random moment, otherwise as soon as a bitmap is seen half written. After each kill the
    // recovery leaves the work whole (either version) and nothing else in the works folder.
    test::TempDir dir;
    EnsureWorkFolders(dir.path());
    const std::string works = dir.file("A4HGK"), objects = dir.file("TmpWorkC");
    Files().CreateFolder(objects);
    WriteWholeFile(objects + "/" + StrData(0), "a");
    const Bitmap pages[] = {Bitmap(794, 1123, clWhite), Bitmap(794, 1123, clBlack)};
    const std::string encoded[] = {EncodeBmp(pages[0]), EncodeBmp(pages[1])};
    ASSERT_TRUE(StoreWork(works, "X1", pages[0], Bitmap(140, 140), objects));
    const std::vector<std::string> whole = {works + "/MImg",
                                            works + "/MImg/X1.bmp",
                                            works + "/SData",
                                            works + "/SData/X1",
                                            works + "/SData/X1/" + StrData(0),
                                            works + "/SImg",
                                            works + "/SImg/X1.bmp"};
    // A kill keeps what was written, synced or not: the syncs are left out to save time.
    class UnsyncedFiles : public FileService {
      public:
        bool SyncFile(const std::string&) override { return true; }
        bool SyncFolder(const std::string&) override { return true; }
    };
    struct Restore {
        std::unique_ptr<FileService> previous;
        ~Restore() { InstallFileService(std::move(previous)); }
    } restore{InstallFileService(std::make_unique<UnsyncedFiles>())};
    auto halfWritten = [&] {
        int n = 0;
        for (const char* sub : {"/MImg", "/SImg"})
            for (const std::string& file : Files().ListFiles(works + sub))
                n += file.find(".part") != std::string::npos;
        return n;
    };
    std::mt19937 rng(12);
    int cutOffWrites = 0;
    for (int kill = 0; kill < 40 && cutOffWrites < 3; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) StoreWork(works, "X1", pages[i % 2], Bitmap(140, 140), objects);
        }
        // A save of the A4 page takes tens of milliseconds, more on a loaded machine.
        const bool atRandom = kill % 2 == 0;
        const auto deadline = std::chrono::steady_clock::now() +
                              std::chrono::milliseconds(atRandom ? 10 + rng() % 240 : 2000);
        while (std::chrono::steady_clock::now() < deadline && (atRandom || !halfWritten()))
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        cutOffWrites += halfWritten();

        RecoverInterruptedSaves(works);
        std::vector<std::string> tree;
        for (const auto& [path, bytes] : Tree(works)) tree.push_back(path);
        ASSERT_EQ(tree, whole) << "after kill " << kill;
        const std::string page = test::ReadFileBytes(works + "/MImg/X1.bmp");
        ASSERT_TRUE(page == encoded[0] || page == encoded[1]) << "after kill " << kill;
    }
    // Kills met the bitmaps half written: the case this test is about.
    EXPECT_GE(cutOffWrites, 1);
}

}  // namespace
}  // namespace pb
