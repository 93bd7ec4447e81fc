// The works gallery: cleaning and recovering works, showing one on the page area, opening it,
// bringing back the page of before, and delete mode.
#include "app/gallery_screen.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>

#include "app/main_screen.h"
#include "app/works.h"
#include "common/app_state.h"
#include "common/object_image.h"
#include "objects/strdata.h"
#include "platform/file_service.h"
#include "platform/metrics.h"
#include "platform/picture_io.h"
#include "support/test_support.h"

namespace pb {
namespace {

// The parts of a saved work on disk, as StoreWork leaves them, with a decorated text in each
// of the object slots given.
void MakeWork(const std::string& works, const std::string& name, const Bitmap& page,
              const std::vector<int>& objects = {}) {
    EnsureWorkFolders(works.substr(0, works.size() - std::string("A4HGK/").size()));
    ASSERT_TRUE(SaveBmp(page, works + "MImg/" + name + ".bmp"));
    ASSERT_TRUE(SaveBmp(MakeThumbnail(page, page.size(), {}), works + "SImg/" + name + ".bmp"));
    Files().CreateFolder(works + "SData/" + name);
    for (int n : objects) {
        ObjectRecord r = NewDecoratedText(n, page.height(), false);
        r.Text = "作品" + std::to_string(n);
        ASSERT_TRUE(WriteObject(works + "SData/" + name + "/", n, r));
    }
}

Bitmap PageOf(Size size, TColor colour) {
    return Bitmap(size.width, size.height, colour);
}

TEST(Gallery, OpenedPageModeFromTheBitmapSize) {
    AppState app;
    struct Case {
        const char* name;
        int offsetX, offsetY;  // printer offsets at 600 dpi when the work is opened
        Size size;
        int mode;
    };
    const Case cases[] = {
        {"A4 landscape, 891662 pixels", 0, 0, {1123, 794}, 3},
        {"A4 portrait", 0, 0, {794, 1123}, 2},
        {"postcard landscape, 211302 pixels", 0, 0, {559, 378}, 1},
        {"postcard portrait", 0, 0, {378, 559}, 0},
        {"a size of other offsets: judged by area", 0, 0, {1100, 780}, 3},
        {"a square postcard-sized page", 0, 0, {400, 400}, 0},
        // With printer margins the pages are smaller; the exact sizes still name the mode.
        {"A4 portrait with margins", 100, 100, {762, 1091}, 2},
    };
    for (const Case& c : cases) {
        app.ScreenPPIX = app.ScreenPPIY = 96;
        app.PrinterPPIX = app.PrinterPPIY = 600;
        app.PrinterOffsetX = c.offsetX;
        app.PrinterOffsetY = c.offsetY;
        EXPECT_EQ(OpenedPageMode(c.size, app), c.mode) << c.name;
    }
}

TEST(Gallery, InterruptedSavesAreFinishedOrUndone) {
    // Each part of work X1 as a crash may leave it: the earlier version ("old"), the new one
    // ("new"), as the part itself, its ".new" copy and its ".old" copy.
    struct PartState {
        const char* final;  // nullptr, "old" or "new"
        const char* fresh;
        const char* old;
    };
    struct Case {
        const char* name;
        PartState page, data, thumb;
        const char* result;  // what every part holds afterwards: "old", "new" or nullptr (gone)
    };
    const Case cases[] = {
        {"crash while writing the new parts",
         {"old", "new", nullptr},
         {"old", "new", nullptr},
         {"old", nullptr, nullptr},
         "old"},
        {"crash while writing a new work",
         {nullptr, "new", nullptr},
         {nullptr, nullptr, nullptr},
         {nullptr, nullptr, nullptr},
         nullptr},
        {"all new parts written, none moved",
         {"old", "new", nullptr},
         {"old", "new", nullptr},
         {"old", "new", nullptr},
         "new"},
        {"crash while moving the object folder",
         {"new", nullptr, "old"},
         {nullptr, "new", "old"},
         {"old", "new", nullptr},
         "new"},
        {"crash while moving the thumbnail",
         {"new", nullptr, "old"},
         {"new", nullptr, "old"},
         {nullptr, "new", "old"},
         "new"},
        {"crash while removing the earlier copies",
         {"new", nullptr, nullptr},
         {"new", nullptr, "old"},
         {"new", nullptr, "old"},
         "new"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const std::string works = dir.path() + "/A4HGK/";
        EnsureWorkFolders(dir.path());
        auto put = [&](const std::string& path, const char* version, bool folder) {
            if (!version) return;
            if (folder) {
                Files().CreateFolder(path);
                WriteWholeFile(path + "/StrData0.txt", version);
            } else {
                WriteWholeFile(path, version);
            }
        };
        const std::pair<std::string, bool> parts[] = {{works + "MImg/X1.bmp", false},
                                                      {works + "SData/X1", true},
                                                      {works + "SImg/X1.bmp", false}};
        const PartState* states[] = {&c.page, &c.data, &c.thumb};
        for (int i = 0; i < 3; ++i) {
            put(parts[i].first, states[i]->final, parts[i].second);
            put(parts[i].first + ".new", states[i]->fresh, parts[i].second);
            put(parts[i].first + ".old", states[i]->old, parts[i].second);
        }
        RecoverInterruptedSaves(works);
        for (const auto& [path, folder] : parts) {
            const std::string file = folder ? path + "/StrData0.txt" : path;
            if (c.result)
                EXPECT_EQ(ReadWholeFile(file), c.result) << path;
            else
                EXPECT_FALSE(Files().FileExists(file)) << path;
            EXPECT_FALSE(Files().FileExists(path + ".new") || Files().FolderExists(path + ".new"));
            EXPECT_FALSE(Files().FileExists(path + ".old") || Files().FolderExists(path + ".old"));
        }
    }
}

class GalleryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        OverrideScreenMetrics(ScreenMetrics{96, 96, {0, 0, 1280, 800}});
        OverridePrinterMetrics(PrinterMetrics{PrinterKind::BuiltInPdf, "", 600, 600, 0, 0});
        form = std::make_unique<TForm1>(dir.path());
        form->show();
        works = App().WorksFolder;
    }
    void TearDown() override {
        form.reset();
        OverrideScreenMetrics(std::nullopt);
        OverridePrinterMetrics(std::nullopt);
    }
    void Click(QWidget* w) {
        QTest::mouseClick(w, Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    TForm11* Open() {
        Click(form->Btn[15]);
        return Gallery();
    }
    TForm11* Gallery() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return form->findChild<TForm11*>();
    }
    std::vector<std::string> Captions(TForm11* g) {
        std::vector<std::string> out;
        for (int i = 0; i < g->ListView1->count(); ++i)
            out.push_back(g->ListView1->item(i)->text().toStdString());
        return out;
    }
    void Touch(TForm11* g, int index) {
        QListWidgetItem* item = g->ListView1->item(index);
        ASSERT_NE(item, nullptr);
        QTest::mouseClick(g->ListView1->viewport(), Qt::LeftButton, {},
                          g->ListView1->visualItemRect(item).center());
        QCoreApplication::processEvents();
    }
    // Paints on the page as a stroke would, with its history snapshot.
    void Paint() {
        Bitmap& page = form->Image1->picture();
        for (int x = 10; x < 60; ++x) page.setPixel(x, 20, clRed);
        form->Image1->pictureChanged();
        App().HistoryCounter[1] = 2;
    }

    test::TempDir dir;
    test::ScriptedDialogScope dialogs;
    std::unique_ptr<TForm1> form;
    std::string works;
};

TEST_F(GalleryTest, OpeningCleansIncompleteWorksAndListsTheRestInOrder) {
    MakeWork(works, "X260101000002", PageOf({378, 559}, clWhite));
    MakeWork(works, "X260101000001", PageOf({559, 378}, clWhite));
    MakeWork(works, "X260101000003", PageOf({378, 559}, clWhite));
    Files().DeleteFile(works + "MImg/X260101000003.bmp");  // no page bitmap
    MakeWork(works, "X260101000004", PageOf({378, 559}, clWhite));
    ResetFolder(works + "SData/X260101000004", false);  // no object folder
    TForm11* g = Open();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(Captions(g), (std::vector<std::string>{"X260101000001.bmp", "X260101000002.bmp"}));
    EXPECT_EQ(Files().ListFiles(works + "SImg"),
              (std::vector<std::string>{"X260101000001.bmp", "X260101000002.bmp"}));
    EXPECT_FALSE(Files().FolderExists(works + "SData/X260101000003"));
    EXPECT_FALSE(Files().FileExists(works + "MImg/X260101000004.bmp"));
    EXPECT_FALSE(g->BtnDtStClose->isVisible());
    EXPECT_FALSE(form->Image1->isEnabled());
    EXPECT_EQ(g->geometry(), QRect(567, 0, 1280 - 567, 800));
}

TEST_F(GalleryTest, AWorkWithoutObjectsIsSavedWithAnEmptyFolderAndListed) {
    Paint();
    Click(form->Btn[13]);  // "保存"
    const std::string name = App().WorkName;
    ASSERT_FALSE(name.empty());
    EXPECT_TRUE(Files().FolderExists(works + "SData/" + name));
    EXPECT_TRUE(Files().ListFiles(works + "SData/" + name).empty());
    TForm11* g = Open();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(Captions(g), (std::vector<std::string>{name + ".bmp"}));
}

TEST_F(GalleryTest, ShowingAWorkAndCancelBringBackExactlyThePageOfBefore) {
    Paint();
    const Bitmap before = form->Image1->picture();
    const std::string workNameBefore = App().WorkName;
    MakeWork(works, "X260101000001", PageOf({1123, 794}, clNavy), {0});
    TForm11* g = Open();
    ASSERT_NE(g, nullptr);
    Touch(g, 0);
    EXPECT_EQ(g->selectedName(), "X260101000001");
    EXPECT_EQ(form->Image1->picture(), PageOf({1123, 794}, clNavy));
    EXPECT_EQ(App().PageMode, kA4Landscape);
    EXPECT_EQ(form->Label[5]->text(), "50");
    EXPECT_TRUE(g->BtnDtStClose->isVisible());
    // Showing changes neither the work's name, nor its history, nor its object folder.
    EXPECT_EQ(App().WorkName, workNameBefore);
    EXPECT_EQ(App().HistoryCounter[1], 2);
    EXPECT_TRUE(Files().ListFiles(App().ObjectFolder).empty());

    Click(g->BtnFormClose);
    EXPECT_EQ(Gallery(), nullptr);
    EXPECT_EQ(form->Image1->picture(), before);
    EXPECT_EQ(App().PageMode, kPostcardPortrait);
    EXPECT_TRUE(form->Btn[19]->font().bold());
    EXPECT_TRUE(form->Image1->isEnabled());
    EXPECT_EQ(form->Label[5]->text(), "100");
}

TEST_F(GalleryTest, ClosingTheMainScreenMeanwhileAsksAboutTheWorkOfBefore) {
    Paint();
    const Bitmap before = form->Image1->picture();
    MakeWork(works, "X260101000001", PageOf({378, 559}, clNavy), {0});
    TForm11* g = Open();
    ASSERT_NE(g, nullptr);
    Touch(g, 0);
    dialogs->answers = {IDYES};
    form->close();
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, "編集中のデータは保存する?");
    // The painted page was saved, not the shown work; the shown work is as it was.
    std::vector<std::string> pages = Files().ListFiles(works + "MImg");
    ASSERT_EQ(pages.size(), 2u);
    const auto saved = LoadBmp(works + "MImg/" + pages[1]);
    ASSERT_TRUE(saved);
    EXPECT_EQ(*saved, before);
    EXPECT_EQ(Files().ListFiles(works + "SData/" + WorkNameOf(pages[1])).size(), 0u);
    EXPECT_EQ(Files().ListFiles(works + "SData/X260101000001"),
              (std::vector<std::string>{"StrData0.txt"}));
}

TEST_F(GalleryTest, OkOpensTheShownWork) {
    MakeWork(works, "X260101000001", PageOf({794, 1123}, clRed), {0, 1});
    TForm11* g = Open();
    ASSERT_NE(g, nullptr);
    Touch(g, 0);
    Click(g->BtnDtStClose);
    EXPECT_EQ(Gallery(), nullptr);
    EXPECT_EQ(App().WorkName, "X260101000001");
    EXPECT_TRUE(form->Btn[14]->isEnabled());
    EXPECT_EQ(App().PageMode, kA4Portrait);
    EXPECT_EQ(form->Image1->picture(), PageOf({794, 1123}, clRed));
    EXPECT_EQ(App().HistoryCounter[1], 1);
    EXPECT_EQ(Files().ListFiles(App().ObjectFolder),
              (std::vector<std::string>{"StrData0.txt", "StrData1.txt"}));
    EXPECT_EQ(ReadWholeFile(App().ObjectFolder + "StrData1.txt"),
              ReadWholeFile(works + "SData/X260101000001/StrData1.txt"));
    EXPECT_EQ(ObjectImages().exists(0) + ObjectImages().exists(1), 2);
    EXPECT_TRUE(form->Label[10]->isVisible());
    EXPECT_FALSE(Files().FolderExists(dir.file("TmpWorkC.new")));
    EXPECT_TRUE(form->Image1->isEnabled());
    // The saved work is read, never changed.
    EXPECT_EQ(Files().ListFiles(works + "SData/X260101000001"),
              (std::vector<std::string>{"StrData0.txt", "StrData1.txt"}));
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(GalleryTest, OkOffersToSaveTheChangesOfTheWorkItReplaces) {
    struct Case {
        const char* name;
        int answer;
        bool opened;
        std::size_t worksAfter;
    };
    const Case cases[] = {
        {"Cancel keeps the page of before", IDCANCEL, false, 1},
        {"No opens without saving", IDNO, true, 1},
        {"Yes saves the page of before as a new work first", IDYES, true, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetFolder(dir.file("A4HGK"), false);
        MakeWork(works, "X000101000001", PageOf({378, 559}, clNavy));
        dialogs->answers = {IDNO};  // leaving the page of the case before unsaved
        Click(form->Btn[19]);       // a fresh page
        Paint();
        const Bitmap before = form->Image1->picture();
        dialogs->shown.clear();
        dialogs->answers = {c.answer};
        TForm11* g = Open();
        ASSERT_NE(g, nullptr);
        Touch(g, 0);
        Click(g->BtnDtStClose);
        ASSERT_EQ(dialogs->shown.size(), 1u);
        EXPECT_EQ(dialogs->shown[0].text, "編集中のデータは保存する?");
        EXPECT_EQ(Files().ListFiles(works + "MImg").size(), c.worksAfter);
        if (c.opened) {
            EXPECT_EQ(Gallery(), nullptr);
            EXPECT_EQ(App().WorkName, "X000101000001");
            EXPECT_EQ(form->Image1->picture(), PageOf({378, 559}, clNavy));
        } else {
            ASSERT_EQ(Gallery(), g);
            EXPECT_EQ(form->Image1->picture(), before);
            EXPECT_TRUE(g->selectedName().empty());
            EXPECT_FALSE(g->BtnDtStClose->isVisible());
            Click(g->BtnFormClose);
        }
    }
}

TEST_F(GalleryTest, DeleteModeDeletesATouchedWorkAtOnce) {
    Paint();
    const Bitmap before = form->Image1->picture();
    for (const char* name : {"X260101000001", "X260101000002", "X260101000003"})
        MakeWork(works, name, PageOf({378, 559}, clWhite), {0});
    TForm11* g = Open();
    ASSERT_NE(g, nullptr);
    Touch(g, 2);  // a work is shown: delete mode brings back the page first
    Click(g->CheckBox1);
    EXPECT_TRUE(g->selectedName().empty());
    EXPECT_EQ(form->Image1->picture(), before);
    EXPECT_EQ(g->BtnFormClose->text(), "閉じる");
    EXPECT_FALSE(g->BtnDtStClose->isVisible());

    Touch(g, 1);
    EXPECT_EQ(Captions(g), (std::vector<std::string>{"X260101000001.bmp", "X260101000003.bmp"}));
    EXPECT_EQ(g->FileListBox1->count(), 2);
    for (int i = 0; i < 2; ++i) EXPECT_FALSE(g->ListView1->item(i)->icon().isNull());
    EXPECT_FALSE(Files().FileExists(works + "MImg/X260101000002.bmp"));
    EXPECT_FALSE(Files().FileExists(works + "SImg/X260101000002.bmp"));
    EXPECT_FALSE(Files().FolderExists(works + "SData/X260101000002"));
    EXPECT_TRUE(dialogs->shown.empty());  // no question asked
    EXPECT_EQ(form->Image1->picture(), before);

    Click(g->CheckBox1);
    EXPECT_EQ(g->BtnFormClose->text(), "キャンセル");
    Click(g->BtnFormClose);
    EXPECT_EQ(Gallery(), nullptr);
    EXPECT_EQ(form->Image1->picture(), before);
}

}  // namespace
}  // namespace pb
