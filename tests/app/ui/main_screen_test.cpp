// The main screen driven by clicks, as a user drives it: new page and quitting, the works
// gallery, the print panel and its preview, the object list and its keyboard.
#include "app/ui/main_screen.h"

#include "app/ui/gallery_screen.h"
#include "app/ui/preview_screen.h"
#include "common/app_state.h"
#include "common/ui/object_image.h"
#include "fake_print_device.h"
#include "objects/ui/decorated_design_screen.h"
#include "objects/ui/object_list_screen.h"
#include "platform/picture_io.h"
#include "platform/ui/printer.h"
#include "support/ui/app_fixtures.h"
#include "textentry/ui/keyboard_screen.h"

namespace pb {
namespace {

using Names = std::vector<std::string>;
using Slots = std::vector<int>;

class MainScreenTest : public test::MainScreenFixture {
  protected:
    Names Saved(const char* part) const {
        return Files().ListFiles(dir.file(std::string("A4HGK/") + part));
    }
    static Slots Shown() {
        Slots out;
        for (int n = 0; n < kObjectSlots; ++n)
            if (ObjectImages().exists(n)) out.push_back(n);
        return out;
    }
    // Opens the gallery and touches its first work.
    TForm11* OpenFirstWork() {
        Click(form->Btn[15]);
        TForm11* g = Child<TForm11>();
        if (!g || !g->ListView1->item(0)) return nullptr;
        QTest::mouseClick(g->ListView1->viewport(), Qt::LeftButton, {},
                          g->ListView1->visualItemRect(g->ListView1->item(0)).center());
        QCoreApplication::processEvents();
        return g;
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
    InstallFileService(std::move(previous));
}

TEST_F(MainScreenTest, NewPageAndQuitAskToSaveOnlyWhenSomethingWouldBeLost) {
    Start();
    // An untouched page, and white on white (a one-colour page), count as unchanged.
    Click(form->Btn[21]);  // "A4縦"
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
    EXPECT_EQ(Page(), painted);
    Click(form->Btn[20]);  // Yes: saved, then the new page
    ASSERT_EQ(Saved("MImg").size(), 1u);
    EXPECT_EQ(*LoadBmp(dir.file("A4HGK/MImg/" + Saved("MImg")[0])), painted);
    PaintRed();
    Click(form->Btn[19]);  // No: the new page without saving
    EXPECT_EQ(test::CountPixels(Page(), clWhite), 378L * 559);
    EXPECT_EQ(Saved("MImg").size(), 1u);

    // Quitting asks the same, cleans the working files and never touches the works.
    WriteWholeFile(dir.file("A4HGK/keep.txt"), "x");
    WriteWholeFile(dir.file("CCTmp.bmp"), "x");
    PaintRed();
    const Bitmap quitting = Page();
    dialogs->answers = {IDCANCEL, IDYES};
    EXPECT_FALSE(form->close()) << "the window's close button asks as \"終了\" does";
    Click(form->Btn[1]);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(*LoadBmp(dir.file("A4HGK/MImg/" + Saved("MImg").back())), quitting);
    EXPECT_FALSE(Files().FolderExists(dir.file("TmpWorkA")));
    EXPECT_FALSE(Files().FileExists(dir.file("CCTmp.bmp")));
    EXPECT_EQ(ReadWholeFile(dir.file("A4HGK/keep.txt")), "x");
}

// A decorated text for slot n.
ObjectRecord SaleObject(int n, int left, int top) {
    ObjectRecord r = NewDecoratedText(n, 559, false);
    r.Text = "特売";
    r.Left = left;
    r.Top = top;
    return r;
}

// The works gallery shows a work on the page area, and its cancel brings back the page and
// objects of before.
TEST_F(MainScreenTest, ShowingAWorkAndCancelGiveBackExactlyThePageAndObjectsOfBefore) {
    Start();
    const std::string works = App().WorksFolder;
    Files().CreateFolder(App().ObjectFolder);
    for (int n : {1, 4}) {
        ASSERT_EQ(WriteObject(App().ObjectFolder, n, SaleObject(n, 20 * n, 40 * n)),
                  WriteStatus::Written);
        ASSERT_TRUE(form->LoadObjectImage(App().ObjectFolder, n)) << n;
    }
    PaintRed();
    const Bitmap object4 = ObjectImages()[4]->bitmap();
    const Names folderBefore = Files().ListFiles(App().ObjectFolder);
    const Bitmap before = Page();
    test::SaveWorkWithObjects(dir.path(), "X260101000001", Bitmap(1123, 794, clNavy),
                              {SaleObject(0, 30, 30)});

    TForm11* g = OpenFirstWork();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(Page(), Bitmap(1123, 794, clNavy));
    EXPECT_EQ(Shown(), Slots{0});
    EXPECT_FALSE(ObjectImages()[0]->image()->isEnabled());  // not to be dragged meanwhile
    // Showing changes neither the work's name nor its history.
    EXPECT_TRUE(App().WorkName.empty());
    EXPECT_EQ(form->PageSurface->history().counter(), 2);

    Click(g->BtnFormClose);
    EXPECT_EQ(Page(), before);
    EXPECT_EQ(App().PageMode, kPostcardPortrait);
    EXPECT_TRUE(form->Image1->isEnabled());
    ASSERT_EQ(Shown(), (Slots{1, 4}));
    EXPECT_EQ(ObjectImages()[4]->bitmap(), object4);
    // The working folder keeps its files, companion bitmaps included (printing needs them).
    EXPECT_EQ(Files().ListFiles(App().ObjectFolder), folderBefore);

    // Closing the main screen while a work is shown asks about the page of before and saves
    // that page, not the shown work, which stays as it was.
    ASSERT_NE(OpenFirstWork(), nullptr);
    dialogs->answers = {IDYES};
    form->close();
    ASSERT_EQ(dialogs->shown.size(), 1u);
    const Names pages = Files().ListFiles(works + "MImg");
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(*LoadBmp(works + "MImg/" + pages[1]), before);
    EXPECT_EQ(Files().ListFiles(works + "SData/" + WorkNameOf(pages[1])),
              (Names{"StrData0.txt", "StrData1.txt"}));
    EXPECT_EQ(Files().ListFiles(works + "SData/X260101000001"), Names{"StrData0.txt"});
}

// The print panel of the main screen on the built-in PDF printer.
class PrintPanelTest : public test::MainScreenFixture {
  protected:
    void SetUp() override {
        MainScreenFixture::SetUp();
        OverrideDefaultPrinter([this] {
            return std::make_unique<test::FakePrintDevice>(log, PrinterKind::BuiltInPdf);
        });
        Start();
        Files().CreateFolder(dir.file("Pictures"));
        App().CurrentPictureFolder = dir.file("Pictures");
    }
    void TearDown() override {
        MainScreenFixture::TearDown();
        OverrideDefaultPrinter(nullptr);
    }

    std::shared_ptr<test::PrinterLog> log = std::make_shared<test::PrinterLog>();
};

TEST_F(PrintPanelTest, PreviewShowsTheReductionButExportsThePageAtFullSize) {
    Click(form->Btn[22]);  // A4 landscape, reduced to a postcard
    Click(form->Btn[23]);
    Click(form->RBtn[11]);
    Click(form->Btn[18]);
    TForm18* preview = Child<TForm18>();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->Image1->size(), QSize(559, 378));

    Click(preview->BtnSaveAsBMP);
    const auto pictures = Files().ListFiles(dir.file("Pictures"));
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(LoadBmp(JoinPath(dir.file("Pictures"), pictures[0]))->size(), (Size{1123, 794}));

    Click(preview->BtnSaveAsEMF);
    const auto metafiles = Files().ListFiles(dir.file("METAFILES"));
    ASSERT_EQ(metafiles.size(), 1u);
    const std::string base = dir.file("METAFILES/" + metafiles[0].substr(0, 13));
    const std::string bytes = test::ReadFileBytes(base + ".emf");
    EXPECT_EQ(bytes, test::ReadFileBytes(base + "/Tmp2.emf"));
    EXPECT_GE(bytes.size(), 40u);
    ASSERT_EQ(dialogs->shown.size(), 2u);
    EXPECT_EQ(dialogs->shown[0].text, "保存完了");

    App().CurrentPictureFolder = dir.file("gone");  // no picture folder: refused
    Click(preview->BtnSaveAsBMP);
    EXPECT_EQ(dialogs->shown.back().caption, "NG");
}

// The second tap of a double tap on the keyboard's "確定" lands on the object list's
// "デザイン変更" under the finger; the list that has just opened drops it.
TEST_F(MainScreenTest, ADoubleTapOnConfirmDoesNotReachTheScreenBelow) {
    const test::DoubleClickInterval interval(300);
    Start();
    QTest::qWait(350);  // the main screen has just opened
    Click(form->Btn[16]);
    TForm16* list = Window<TForm16>("Form16");
    ASSERT_NE(list, nullptr);
    QTest::qWait(350);
    Click(list->Btn[6]);  // a decorated text
    Click(list->Btn[3]);  // 文字列変更
    TForm6* keyboard = Window<TForm6>("Form6");
    ASSERT_NE(keyboard, nullptr);
    QTest::qWait(350);
    Click(keyboard->BtnDtStClose);
    list = Window<TForm16>("Form16");
    ASSERT_NE(list, nullptr);
    Click(list->Btn[4]);  // the second tap: デザイン変更 under 確定
    EXPECT_EQ(Window<TForm9>("Form9"), nullptr);
    EXPECT_EQ(Window<TForm16>("Form16"), list);
}

}  // namespace
}  // namespace pb
