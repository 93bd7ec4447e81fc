// The main screen driven by clicks, as a user drives it.
#include "app/ui/main_screen.h"

#include "common/app_state.h"
#include "platform/file_service.h"
#include "platform/ui/metrics.h"
#include "platform/picture_io.h"
#include "support/ui/app_fixtures.h"

namespace pb {
namespace {

constexpr TColor kPaletteRed = RGB(0xFF, 0, 0);  // Edit3

class MainScreenTest : public test::MainScreenFixture {
  protected:
    std::vector<std::string> Saved(const char* part) const {
        return Files().ListFiles(dir.file(std::string("A4HGK/") + part));
    }
};

// A file service that can write nothing, as in a program folder the user may not write to.
class ReadOnlyFiles : public FileService {
  public:
    bool WriteBytes(const std::string&, std::string_view) override { return false; }
    bool CreateFolder(const std::string&) override { return false; }
};

TEST_F(MainScreenTest, AnUnwritableFolderIsToldAtStartAndNothingBreaks) {
    auto previous = InstallFileService(std::make_unique<ReadOnlyFiles>());
    Start();
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_NE(dialogs->shown[0].text.find("書き込めない"), std::string::npos);
    // Painting is refused (no snapshot, no change) and saving says it failed.
    PaintRed();
    EXPECT_EQ(test::CountPixels(Page(), clWhite), 378L * 559);
    Click(form->Btn[13]);
    EXPECT_EQ(dialogs->shown.back().caption, "NG");
    EXPECT_FALSE(form->Btn[14]->isEnabled());
    EXPECT_TRUE(App().WorkName.empty());
    InstallFileService(std::move(previous));
}

TEST_F(MainScreenTest, NewPageAndQuitAskToSaveOnlyWhenSomethingWouldBeLost) {
    Start();
    Click(form->Btn[21]);  // "A4縦" on an untouched page: no question
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(Page().size(), (Size{794, 1123}));
    EXPECT_EQ(form->Label[5]->text(), "50");
    EXPECT_EQ(form->Image1->size(), QSize(397, 561));
    // White on white changes nothing: a one-colour page counts as unchanged.
    Click(form->Edit[40]);
    Stroke({10, 10}, {100, 100});
    Click(form->Btn[19]);
    EXPECT_TRUE(dialogs->shown.empty());

    PaintRed();
    const Bitmap painted = Page();
    dialogs->answers = {IDCANCEL, IDYES, IDNO};
    Click(form->Btn[20]);  // Cancel: nothing happens
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, "編集中のデータは保存する?");
    EXPECT_EQ(dialogs->shown[0].caption, "どうでもいいけど");
    EXPECT_EQ(dialogs->shown[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(Page(), painted);
    Click(form->Btn[20]);  // Yes: saved, then the new page
    ASSERT_EQ(Saved("MImg").size(), 1u);
    EXPECT_EQ(*LoadBmp(dir.file("A4HGK/MImg/" + Saved("MImg")[0])), painted);
    EXPECT_EQ(Page().size(), (Size{559, 378}));
    EXPECT_FALSE(form->Btn[14]->isEnabled());
    PaintRed();
    Click(form->Btn[19]);  // No: the new page without saving
    EXPECT_EQ(test::CountPixels(Page(), clWhite), 378L * 559);
    EXPECT_EQ(Saved("MImg").size(), 1u);

    // Quitting asks the same, cleans the working files and never touches the works.
    WriteWholeFile(dir.file("A4HGK/keep.txt"), "x");
    Files().CreateFolder(dir.file("TmpWorkC"));
    WriteWholeFile(dir.file("TmpWorkC/tmp3.bmp"), "x");
    WriteWholeFile(dir.file("CCTmp.bmp"), "x");
    Click(form->Edit[7]);
    Stroke({5, 5}, {5, 90});
    const Bitmap quitting = Page();
    dialogs->answers = {IDCANCEL, IDYES};
    EXPECT_FALSE(form->close()) << "the window's close button asks as \"終了\" does";
    EXPECT_TRUE(form->isVisible());
    Click(form->Btn[1]);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(*LoadBmp(dir.file("A4HGK/MImg/" + Saved("MImg").back())), quitting);
    EXPECT_FALSE(Files().FolderExists(dir.file("TmpWorkA")));
    EXPECT_FALSE(Files().FolderExists(dir.file("TmpWorkC")));
    EXPECT_FALSE(Files().FileExists(dir.file("CCTmp.bmp")));
    EXPECT_EQ(ReadWholeFile(dir.file("A4HGK/keep.txt")), "x");
}

}  // namespace
}  // namespace pb
