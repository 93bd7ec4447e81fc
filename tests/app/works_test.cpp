// Saved works on disk: the save question's comparison of objects, the names of new works,
// and the guarantee that no failed or interrupted save leaves a broken work.
#include "app/works.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDateTime>
#include <chrono>
#include <filesystem>
#include <map>
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
        {"", {{0, "a"}}, {}, true},
        {"X1", {{0, "a"}, {4, "b"}}, {{0, "a"}, {4, "b"}}, false},
        {"X1", {{0, "a"}}, {{0, "b"}}, true},
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

TEST(Works, InterruptedSavesAreFinishedOrUndone) {
    // Each part of work X1 as a crash may leave it, written as three letters for the part
    // itself, its ".new" and its ".old" copy: 'o' the earlier version, 'n' the new one, '-'
    // missing. Afterwards every part holds `result` with no copies left. (A new work is the
    // same roll-back with no earlier version.)
    const std::tuple<const char*, const char*, const char*, const char*, char> cases[] = {
        {"writing the new parts", "on-", "on-", "o--", 'o'},
        {"all new parts written, none moved", "on-", "on-", "on-", 'n'},
        {"moving the thumbnail", "n-o", "n-o", "-no", 'n'},
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

// A file service that fails its n-th write (bytes, folder copy, folder creation, move, sync),
// logs the moves and syncs in order ("move A B", "sync PATH", "syncdir PATH") and, without
// `sync`, leaves the syncs out.
class TracingFiles : public FileService {
    using S = const std::string&;
    using Base = FileService;

  public:
    explicit TracingFiles(int failAt = -1) : failAt_(failAt) {}
    int writes = 0;
    bool sync = true;
    std::vector<std::string> log;
    bool WriteBytes(S p, std::string_view b) override { return Next() && Base::WriteBytes(p, b); }
    bool CopyFolder(S s, S d, bool o) override { return Next() && Base::CopyFolder(s, d, o); }
    bool CreateFolder(S p) override { return Next() && Base::CreateFolder(p); }
    bool MoveFile(S s, S d) override { return Next("move " + s + " " + d) && Base::MoveFile(s, d); }
    bool SyncFile(S p) override { return Next("sync " + p) && (!sync || Base::SyncFile(p)); }
    bool SyncFolder(S p) override { return Next("syncdir " + p) && (!sync || Base::SyncFolder(p)); }

  private:
    bool Next(std::string entry = {}) {
        if (!entry.empty()) log.push_back(std::move(entry));
        return ++writes != failAt_;
    }
    int failAt_;
};

// A works folder with one object of the working objects.
class SavedWork : public ::testing::Test {
  protected:
    void SetUp() override {
        EnsureWorkFolders(dir.path());
        Files().CreateFolder(objects);
        WriteWholeFile(objects + "/" + StrData(0), "a");
    }
    test::TempDir dir;
    const std::string works = dir.file("A4HGK"), objects = dir.file("TmpWorkC");
};

TEST_F(SavedWork, AFailureAtAnyWriteLeavesTheEarlierVersionIntact) {
    Files().CreateFolder(objects + "/sub");
    WriteWholeFile(objects + "/sub/note.txt", "c");
    ASSERT_TRUE(
        StoreWork(works, "X1", Bitmap(30, 20, clBlack), Bitmap(140, 140, clBlack), objects));
    const auto before = Tree(works);

    WriteWholeFile(objects + "/" + StrData(0), "new");
    WriteWholeFile(objects + "/" + StrData(1), "added");
    // Fail each write in turn until the save gets past its last one; a save that succeeds
    // must not have met the failing write. Its log shows the order of its moves and syncs.
    int failAt = 1;
    std::vector<std::string> log;
    for (;; ++failAt) {
        auto files = std::make_unique<TracingFiles>(failAt);
        const TracingFiles& used = *files;
        auto previous = InstallFileService(std::move(files));
        const bool stored =
            StoreWork(works, "X1", Bitmap(30, 20, clWhite), Bitmap(140, 140, clWhite), objects);
        const bool failed = used.writes >= failAt;
        log = used.log;
        InstallFileService(std::move(previous));
        if (stored) {
            EXPECT_FALSE(failed) << "a failed write was reported as success";
            break;
        }
        EXPECT_EQ(Tree(works), before) << "failing write " << failAt;
    }
    EXPECT_GT(failAt, 5);

    // The save reaches the disk before it counts.
    const auto at = [&log](const std::string& entry) {
        return static_cast<std::size_t>(std::find(log.begin(), log.end(), entry) - log.begin());
    };
    // Every new file and folder is synced under its temporary name before the first of them is
    // moved into place.
    const auto intoPlace = [](const std::string& e) {
        return e.rfind("move ", 0) == 0 && e.find(".new ") != std::string::npos;
    };
    const std::size_t firstIn = std::find_if(log.begin(), log.end(), intoPlace) - log.begin();
    const std::size_t lastIn = log.rend() - std::find_if(log.rbegin(), log.rend(), intoPlace) - 1;
    ASSERT_LT(firstIn, log.size()) << "nothing moved into place";
    const std::string data = works + "/SData/X1.new";
    for (const std::string& synced :
         {"sync " + works + "/MImg/X1.bmp.new", "sync " + works + "/SImg/X1.bmp.new",
          "sync " + data + "/" + StrData(0), "sync " + data + "/sub/note.txt",
          "syncdir " + data + "/sub", "syncdir " + data})
        EXPECT_LT(at(synced), firstIn) << synced;
    // The thumbnail, the sign of a complete save, is written after the other parts' names
    // reached the disk.
    for (const char* folder : {"/MImg", "/SData"})
        EXPECT_LT(at("syncdir " + works + folder), at("sync " + works + "/SImg/X1.bmp.new"))
            << folder;
    // The renames reach the disk with their folders before the save counts.
    for (const char* folder : {"/MImg", "/SData", "/SImg"})
        EXPECT_NE(std::find(log.begin() + static_cast<long>(lastIn) + 1, log.end(),
                            "syncdir " + works + folder),
                  log.end())
            << folder;
}

TEST(Works, NewNamesNeverTakeTheNameOfAnotherWork) {
    // What lies in the works folder at 2026-12-06 16:20:34: the name given.
    const QDateTime now(QDate(2026, 12, 6), QTime(16, 20, 34));
    const std::tuple<const char*, std::vector<std::string>, const char*> cases[] = {
        {"a save within the same second",
         {"MImg/X261206162034.bmp", "SImg/X261206162034.bmp", "SData/X261206162034/"},
         "X261206162035"},
        {"the clock set back over two works",
         {"MImg/X261206162034.bmp", "SData/X261206162035/"},
         "X261206162036"},
        {"a save cut off at that second", {"SImg/X261206162034.bmp.new"}, "X261206162035"},
    };
    for (const auto& [what, entries, expected] : cases) {
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
        EXPECT_EQ(NewWorkName(works, now), expected);
    }
}

TEST_F(SavedWork, RecoveryRemovesBitmapsWhoseWritingWasKilled) {
    // Saves over work X1, alternately white and black pages, are killed as soon as a bitmap is
    // seen half written. After each kill the recovery leaves the work whole (either version)
    // and nothing else in the works folder.
    const Bitmap pages[] = {Bitmap(794, 1123, clWhite), Bitmap(794, 1123, clBlack)};
    const std::string encoded[] = {EncodeBmp(pages[0]), EncodeBmp(pages[1])};
    ASSERT_TRUE(StoreWork(works, "X1", pages[0], Bitmap(140, 140), objects));
    // What a whole work leaves in the works folder.
    auto paths = [this] {
        std::vector<std::string> out;
        for (const auto& [path, bytes] : Tree(works)) out.push_back(path);
        return out;
    };
    const std::vector<std::string> whole = paths();
    // A kill keeps what was written, synced or not: the syncs are left out to save time.
    auto unsynced = std::make_unique<TracingFiles>();
    unsynced->sync = false;
    struct Restore {
        std::unique_ptr<FileService> previous;
        ~Restore() { InstallFileService(std::move(previous)); }
    } restore{InstallFileService(std::move(unsynced))};
    auto halfWritten = [&] {
        int n = 0;
        for (const char* sub : {"/MImg", "/SImg"})
            for (const std::string& file : Files().ListFiles(works + sub))
                n += file.find(".part") != std::string::npos;
        return n;
    };
    int cutOffWrites = 0;
    for (int kill = 0; kill < 40 && cutOffWrites < 3; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) StoreWork(works, "X1", pages[i % 2], Bitmap(140, 140), objects);
        }
        // A save of the A4 page takes tens of milliseconds, more on a loaded machine.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (std::chrono::steady_clock::now() < deadline && !halfWritten())
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        cutOffWrites += halfWritten();

        RecoverInterruptedSaves(works);
        ASSERT_EQ(paths(), whole) << "after kill " << kill;
        const std::string page = test::ReadFileBytes(works + "/MImg/X1.bmp");
        ASSERT_TRUE(page == encoded[0] || page == encoded[1]) << "after kill " << kill;
    }
    // Kills met the bitmaps half written: the case this test is about.
    EXPECT_GE(cutOffWrites, 1);
}

namespace fs = std::filesystem;

// A file service that stops the program at its n-th step and fails its f-th step as a full
// disk would. Each call that changes the disk is a step, and so is each entry that a folder
// copy or removal copies or removes (a write cut off half way is the test above). It stops
// with SIGKILL, or, to spare a process per stop, by throwing Stopped: nothing after it
// touches the disk.
class KillingFiles : public FileService {
    using S = const std::string&;
    using Base = FileService;

  public:
    struct Stopped {};
    KillingFiles(int kill, int fail, bool signal) : killAt_(kill), failAt_(fail), kill_(signal) {}

    bool WriteBytes(S p, std::string_view b) override { return Step() && Base::WriteBytes(p, b); }
    bool CopyFolder(S s, S d, bool o) override {
        if (!Step() || !Base::CreateFolder(d)) return false;
        for (const fs::directory_entry& e : fs::directory_iterator(s)) {
            const std::string to = JoinPath(d, e.path().filename().string());
            if (!(e.is_directory() ? CopyFolder(e.path(), to, o)
                                   : Step() && Base::CopyFile(e.path(), to, o)))
                return false;
        }
        return true;
    }
    bool DeleteFolder(S p) override {
        for (const fs::directory_entry& e : fs::directory_iterator(p))
            if (!(e.is_directory() ? DeleteFolder(e.path().string())
                                   : Step() && Base::DeleteFile(e.path().string())))
                return false;
        return Step() && Base::DeleteFolder(p);
    }
    bool DeleteFile(S p) override { return Step() && Base::DeleteFile(p); }
    bool MoveFile(S s, S d) override { return Step() && Base::MoveFile(s, d); }
    // A kill keeps what was written, synced or not: the syncs themselves are left out.
    bool SyncFile(S) override { return Step(); }
    bool SyncFolder(S) override { return Step(); }

  private:
    bool Step() {
        if (++steps == killAt_ && kill_) ::raise(SIGKILL);
        if (steps == killAt_) throw Stopped{};
        return steps != failAt_;
    }
    int steps = 0, killAt_, failAt_;
    bool kill_;
};

TEST_F(SavedWork, AKillAtAnyStepLeavesTheEarlierOrTheNewWorkWhole) {
    // "保存" and "上書保存" killed at every step of their disk work, also while they clean up
    // after a failed write: after the start-up recovery the gallery lists the earlier or the
    // new version of each work, whole, and nothing else is left in the works folder.
    const std::string earlier = "X261206162034", added = "X261206162035";
    const Bitmap pages[] = {Bitmap(60, 80, clWhite), Bitmap(60, 80, clRed)};
    const Bitmap thumbnails[] = {Bitmap(14, 14, clSilver), Bitmap(14, 14, clNavy)};
    const std::map<std::string, std::string> stored[] = {
        {{"/StrData0.txt", "a"}},
        {{"/StrData0.txt", "b"}, {"/StrData1.txt", "c"}, {"/sub", "/"}, {"/sub/n.txt", "d"}}};
    ASSERT_TRUE(StoreWork(works, earlier, pages[0], thumbnails[0], objects));
    Files().CreateFolder(objects + "/sub");
    for (const auto& [path, text] : stored[1])
        if (text[0] != '/') WriteWholeFile(objects + path, text);
    fs::copy(works, works + ".0", fs::copy_options::recursive);
    auto reset = [&] {
        fs::remove_all(works);
        fs::copy(works + ".0", works, fs::copy_options::recursive);
    };
    // The works folder holding each named work in the version given, and nothing else.
    using Named = std::map<std::string, int>;
    auto whole = [&](const Named& named) {
        std::map<std::string, std::string> tree;
        for (const char* sub : {"/MImg", "/SImg", "/SData"}) tree[works + sub] = "/";
        for (const auto& [name, v] : named) {
            tree[works + "/MImg/" + name + ".bmp"] = EncodeBmp(pages[v]);
            tree[works + "/SImg/" + name + ".bmp"] = EncodeBmp(thumbnails[v]);
            tree[works + "/SData/" + name] = "/";
            for (const auto& [p, b] : stored[v]) tree[works + "/SData/" + name + p] = b;
        }
        return tree;
    };
    const QDateTime now(QDate(2026, 12, 6), QTime(16, 20, 34));
    auto save = [&](bool asNew) {
        const std::string name = asNew ? NewWorkName(works, now) : earlier;
        return StoreWork(works, name, pages[1], thumbnails[1], objects);
    };

    int kills = 0, stops = 0;
    for (const bool asNew : {false, true}) {
        const Named before{{earlier, 0}};
        const Named after = asNew ? Named{{earlier, 0}, {added, 1}} : Named{{earlier, 1}};
        const auto wholeBefore = whole(before), wholeAfter = whole(after);
        // A kill at every step; then, with each step failing in turn, a stop at every step
        // after it. True when the save was stopped before its end.
        auto stopped = [&](int killAt, int failAt) {
            if (failAt == 0) {
                const pid_t child = ::fork();
                if (child == 0) {
                    InstallFileService(std::make_unique<KillingFiles>(killAt, failAt, true));
                    ::_exit(save(asNew) ? 0 : 1);
                }
                int status = 0;
                return child > 0 && ::waitpid(child, &status, 0) == child && WIFSIGNALED(status);
            }
            auto was = InstallFileService(std::make_unique<KillingFiles>(killAt, failAt, false));
            bool stop = false;
            try {
                save(asNew);
            } catch (const KillingFiles::Stopped&) {
                stop = true;
            }
            InstallFileService(std::move(was));
            return stop;
        };
        for (int failAt = 0, more = 1; more; ++failAt) {
            for (int killAt = std::max(failAt, 1);; ++killAt) {
                reset();
                // A save that gets past the step to fail has no such step.
                more = killAt > failAt;
                if (!stopped(killAt, failAt)) break;
                ++(failAt ? stops : kills);
                // The calls of the program before it lists the gallery.
                EnsureWorkFolders(dir.path());
                RecoverInterruptedSaves(works);
                CleanIncompleteWorks(works);
                const auto tree = Tree(works);
                ASSERT_TRUE(tree == wholeBefore || tree == wholeAfter)
                    << (asNew ? "保存" : "上書保存") << ", failing step " << failAt
                    << ", killed at step " << killAt;
                EXPECT_EQ(ListWorkThumbnails(works).size(),
                          (tree == wholeBefore ? before : after).size());
            }
        }
    }
    std::printf("Consistent after %d kills and %d stops after a failed step\n", kills, stops);
    EXPECT_TRUE(kills > 50 && stops > 200) << kills << " kills, " << stops << " stops";
}

}  // namespace
}  // namespace pb
