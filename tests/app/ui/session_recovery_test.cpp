// Work in progress after a run that did not end: the restart offers it and brings it back.
#include <csignal>
#include <cstdlib>

#include "app/session_recovery.h"
#include "common/ui/object_image.h"
#include "objects/ui/object_list_screen.h"
#include "page_flow.h"
#include "platform/picture_io.h"

namespace pb::test {
namespace {

const char* const kChildDir = "POPBOARD_RECOVERY_CHILD_DIR";
const char* const kQuestion = "前回の作業が残っている。復元する?";

class SessionRecoveryTest : public PageFlow {
  protected:
    void StartIn(const std::string& path) {
        form = std::make_unique<TForm1>(path);
        form->show();
    }
    Point ObjectAt(int n) const { return ObjectImages()[n]->PositionOn(*form->Image1); }
};

// The child of the test below (only it runs this one): paints, saves, paints again, adds and
// drags an object, leaves what the restart must show beside the working folders, and is killed.
TEST_F(SessionRecoveryTest, DISABLED_ChildPaintsAddsAnObjectAndIsKilled) {
    const char* path = std::getenv(kChildDir);
    ASSERT_TRUE(path) << "run by the crash test";
    StartIn(path);
    Click(form->Btn[22]);  // A4横
    PaintRed();
    Click(form->Btn[13]);  // 保存
    const Bitmap saved = Page();
    Click(form->Edit[5]);
    Stroke({40, 200}, {300, 60});
    Click(form->Btn[16]);
    Click(Window<TForm16>("Form16")->Btn[6]);  // a decorated text
    Click(Window<TForm16>("Form16")->Btn[8]);
    ImageControl* object = ObjectImages()[0]->image();
    QTest::mousePress(object, Qt::LeftButton, {}, {5, 5});
    QTest::mouseMove(object, {60, 45});
    QTest::mouseRelease(object, Qt::LeftButton, {}, {60, 45});
    QCoreApplication::processEvents();
    const Point at = ObjectAt(0);
    ASSERT_TRUE(
        SaveBmp(Page(), JoinPath(path, "page.bmp")) &&
        SaveBmp(saved, JoinPath(path, "saved.bmp")) &&
        SaveBmp(ObjectImages()[0]->bitmap(), JoinPath(path, "object.bmp")) &&
        WriteWholeFile(JoinPath(path, "state.txt"),
                       std::to_string(at.x) + "," + std::to_string(at.y) + "," + App().WorkName));
    std::raise(SIGKILL);
}

TEST_F(SessionRecoveryTest, AfterAKillTheRestartBringsBackPageHistoryWorkAndObjects) {
    ::setenv(kChildDir, dir.path().c_str(), 1);
    const ProgramRun run =
        RunProgram("/proc/self/exe", {"--gtest_also_run_disabled_tests",
                                       "--gtest_filter=SessionRecoveryTest.DISABLED_Child*"});
    ::unsetenv(kChildDir);
    ASSERT_EQ(run.status, -1) << "the child was not killed:\n" << run.out << run.err;
    const std::string state = ReadWholeFile(dir.file("state.txt"));
    const std::string workName = state.substr(state.rfind(',') + 1);
    ASSERT_FALSE(workName.empty());

    dialogs->answers = {IDYES};
    Start();
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, kQuestion);
    EXPECT_EQ(Page(), *LoadBmp(dir.file("page.bmp")));
    EXPECT_EQ(App().PageMode, kA4Landscape);
    ASSERT_NE(ObjectImages()[0], nullptr);
    EXPECT_EQ(ObjectImages()[0]->bitmap(), *LoadBmp(dir.file("object.bmp")));
    const Point at = ObjectAt(0);
    EXPECT_EQ(std::to_string(at.x) + "," + std::to_string(at.y) + "," + workName, state);
    // "上書保存" overwrites the work saved before the kill.
    EXPECT_EQ(App().WorkName, workName);
    EXPECT_TRUE(form->Btn[14]->isEnabled());
    // The history goes on where it stood: back to the saved page and no further, and forward.
    Click(form->Btn[8]);  // 戻す
    EXPECT_EQ(Page(), *LoadBmp(dir.file("saved.bmp")));
    Click(form->Btn[8]);
    EXPECT_EQ(dialogs->shown.back().text, "これより前はない");
    Click(form->Btn[9]);  // 進む
    EXPECT_EQ(Page(), *LoadBmp(dir.file("page.bmp")));
}

// What the restart does with what a run that did not end left behind.
TEST_F(SessionRecoveryTest, TheRestartOffersOnlySoundLeftWorkAndNeverTouchesSavedWorks) {
    enum PageBack { Blank, FirstStroke, BothStrokes };
    const char* const broken = "前回の作業は壊れていて復元できない";
    const struct {
        const char* name;
        bool quit;                         // a normal "終了" before the restart
        std::vector<const char*> damaged;  // files cut short before the restart
        int answer;
        bool asked;
        const char* message;  // the last message
        PageBack page;
        std::vector<int> objects;
    } cases[] = {
        // clang-format off
        {"answered No", false, {}, IDNO, true, kQuestion, Blank, {}},
        {"after 終了", true, {}, IDYES, false, "", Blank, {}},
        {"newest snapshot damaged", false, {"TmpWorkA/Tmp3.bmp"}, IDYES, true, kQuestion, FirstStroke, {0, 1}},
        {"every snapshot damaged", false, {"TmpWorkA/Tmp1.bmp", "TmpWorkA/Tmp2.bmp", "TmpWorkA/Tmp3.bmp"},
         IDYES, true, broken, Blank, {}},
        {"state file damaged", false, {"TmpWork.txt"}, IDYES, false, broken, Blank, {}},
        {"half-written object", false, {"TmpWorkC/StrData1.txt"}, IDYES, true,
         "StrData1.txt が読めないので、その部品は無視する", BothStrokes, {0}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir d;
        SaveWorkWithObjects(d.path(), "W260101000001", Bitmap(300, 400, clNavy), {});
        const auto saved = Files().ReadBytes(d.file("A4HGK/MImg/W260101000001.bmp"));
        StartIn(d.path());
        const Bitmap blank = Page();
        PaintRed();
        const Bitmap first = Page();
        Stroke({40, 200}, {300, 60});
        const Bitmap both = Page();
        Files().CreateFolder(App().ObjectFolder);
        for (int n : {0, 1}) {
            ASSERT_EQ(
                WriteObject(App().ObjectFolder, n, NewDecoratedText(n, blank.height(), false)),
                WriteStatus::Written);
            ASSERT_TRUE(form->LoadObjectImage(App().ObjectFolder, n));
        }
        QCoreApplication::processEvents();
        if (c.quit) {
            dialogs->answers = {IDNO};
            Click(form->Btn[1]);
        }
        form.reset();
        for (const char* file : c.damaged) {
            const auto bytes = Files().ReadBytes(d.file(file));
            ASSERT_TRUE(bytes) << file;
            ASSERT_TRUE(Files().WriteBytes(d.file(file), bytes->substr(0, bytes->size() / 3)));
        }

        dialogs->shown.clear();
        dialogs->answers = {c.answer};
        StartIn(d.path());
        EXPECT_EQ(!dialogs->shown.empty() && dialogs->shown[0].text == kQuestion, c.asked);
        EXPECT_EQ(dialogs->shown.empty() ? "" : dialogs->shown.back().text, c.message);
        EXPECT_EQ(Page(), c.page == Blank ? blank : c.page == FirstStroke ? first : both);
        std::vector<int> shown;
        for (int n = 0; n < kObjectSlots; ++n)
            if (ObjectImages()[n]) shown.push_back(n);
        EXPECT_EQ(shown, c.objects);
        EXPECT_EQ(Files().ReadBytes(d.file("A4HGK/MImg/W260101000001.bmp")), saved);
        form.reset();
    }
}

}  // namespace
}  // namespace pb::test
