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

TEST_F(MainScreenTest, FeedPositionIsReadAtStartAndWrittenAtTheEnd) {
    const std::pair<const char*, bool> cases[] = {
        {nullptr, false}, {"True", true}, {"true", false}, {"True\r\n", false}};
    for (const auto& [stored, centre] : cases) {
        DeleteFileIfExists(dir.file("PPPOS.txt"));
        if (stored) WriteWholeFile(dir.file("PPPOS.txt"), stored);
        Start();
        EXPECT_EQ(form->RBtn[12]->isChecked(), centre) << (stored ? stored : "no file");
        EXPECT_EQ(form->RBtn[13]->isChecked(), !centre);
        Click(form->Btn[1]);
        EXPECT_EQ(test::ReadFileBytes(dir.file("PPPOS.txt")), centre ? "True" : "False");
        form.reset();
    }
}

TEST_F(MainScreenTest, WithoutAUsablePrinterOnlyQuitRemains) {
    WriteWholeFile(dir.file("PPPOS.txt"), "True");
    OverridePrinterMetrics(PrinterMetrics{PrinterKind::Unusable, "", 0, 0, 0, 0});
    Start();
    EXPECT_EQ(form->Label[9]->text(), "PRINTERの設定が変");
    EXPECT_TRUE(form->Label[9]->isVisible() && form->Btn[1]->isVisible());
    for (QWidget* w :
         std::initializer_list<QWidget*>{form->Btn[19], form->Btn[13], form->Edit[1],
                                         form->GroupBox1, form->GroupBox2, form->Label[5]})
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    Click(form->Btn[1]);
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(test::ReadFileBytes(dir.file("PPPOS.txt")), "True") << "the stored choice is kept";
}

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

TEST_F(MainScreenTest, ZoomPenWidthAndCopiesShowInTheirLabelsWithinTheirBounds) {
    Start();
    // button, presses, what it changes, the value reached, its label
    const std::tuple<int, int, int (TForm1::*)() const, int, int> cases[] = {
        {3, 1, &TForm1::zoom, 200, 5},   {2, 12, &TForm1::zoom, 10, 5},
        {4, 3, &TForm1::penWidth, 1, 6}, {5, 25, &TForm1::penWidth, 20, 6},
        {6, 2, &TForm1::copies, 1, 0},   {7, 120, &TForm1::copies, 99, 0},
    };
    for (const auto& [button, presses, value, reached, label] : cases) {
        if (button == 6) Click(form->Btn[23]);  // the copies are on the print panel
        for (int i = 0; i < presses; ++i) Click(form->Btn[button]);
        EXPECT_EQ((form.get()->*value)(), reached) << "Btn" << button;
        EXPECT_EQ(form->Label[label]->text(), QString::number(reached)) << "Btn" << button;
    }
}

TEST_F(MainScreenTest, FlipsUndoAndRedoWorkOnThePage) {
    Start();
    Click(form->Btn[11]);
    EXPECT_EQ(dialogs->shown.back().text, "こんなものをひっくり返してもしょうがない");
    EXPECT_EQ(form->PageSurface->history().counter(), 1) << "a one-colour page is not flipped";
    Click(form->Edit[3]);
    Stroke({1, 1}, {1, 50});  // (0, 0) would mean "the centre" to the test driver
    Click(form->Btn[11]);
    EXPECT_EQ(Page().pixel(376, 20), kPaletteRed);
    EXPECT_EQ(Page().pixel(1, 20), clWhite);
    Click(form->Btn[12]);
    EXPECT_EQ(Page().pixel(376, 558 - 20), kPaletteRed);
    // "戻す" and "進む" walk the page's own history: two flips back, then the stroke.
    Click(form->Btn[8]);
    Click(form->Btn[8]);
    EXPECT_EQ(Page().pixel(1, 20), kPaletteRed);
    Click(form->Btn[8]);
    EXPECT_EQ(Page().pixel(1, 20), clWhite);
    Click(form->Btn[9]);
    EXPECT_EQ(Page().pixel(1, 20), kPaletteRed);
}

TEST_F(MainScreenTest, StartsBlankAndSaveWritesTheWorkAndStartsTheHistoryAgain) {
    Start();
    EXPECT_EQ(form->geometry(), QRect(0, 0, 1280, 800));
    EXPECT_EQ(Page(), Bitmap(378, 559, clWhite));
    EXPECT_TRUE(Files().FileExists(dir.file("TmpWorkA/Tmp1.bmp")));
    EXPECT_FALSE(form->Btn[14]->isEnabled());
    PaintRed();
    Click(form->Btn[13]);  // "保存"
    EXPECT_TRUE(dialogs->shown.empty());
    const auto saved = Saved("SImg");
    ASSERT_EQ(saved.size(), 1u);
    const std::string name = saved[0].substr(0, saved[0].size() - 4);
    EXPECT_EQ(App().WorkName, name);
    EXPECT_TRUE(test::IsStampedName(name, 'X')) << name;
    EXPECT_EQ(Saved("MImg"), saved);
    EXPECT_TRUE(Files().FolderExists(dir.file("A4HGK/SData/" + name)));
    EXPECT_EQ(LoadBmp(dir.file("A4HGK/SImg/" + saved[0]))->size(), (Size{140, 140}));
    EXPECT_TRUE(form->Btn[14]->isEnabled());
    EXPECT_TRUE(Files().ListFiles(dir.file("TmpWorkA")).empty());
    Click(form->Btn[19]);  // nothing changed since: no question
    EXPECT_TRUE(dialogs->shown.empty());
}

}  // namespace
}  // namespace pb
