// Works with overlay objects: saving renumbers them and shows them in the thumbnail, the
// gallery gives back exactly the objects of before, and printing draws them over the page.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>

#include "app/gallery_screen.h"
#include "app/main_screen.h"
#include "app/page_export.h"
#include "app/printing.h"
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

constexpr TColor kFill = RGB(250, 120, 0);

// A decorated text or a shape in slot n of `folder` at (left, top).
void WriteTestObject(const std::string& folder, int n, int left, int top, bool shape) {
    ObjectRecord r = shape ? NewShapeObject(n, 559, false) : NewDecoratedText(n, 559, false);
    if (!shape) r.Text = "特売";
    r.Left = left;
    r.Top = top;
    r.FillColor = kFill;
    r.FillStyle = 10;
    ASSERT_TRUE(WriteObject(folder, n, r));
}

class WorksWithObjects : public ::testing::Test {
  protected:
    void SetUp() override {
        OverrideScreenMetrics(ScreenMetrics{96, 96, {0, 0, 1280, 800}});
        OverridePrinterMetrics(PrinterMetrics{PrinterKind::BuiltInPdf, "", 600, 600, 0, 0});
        form = std::make_unique<TForm1>(dir.path());
        form->show();
    }
    void TearDown() override {
        form.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        OverrideScreenMetrics(std::nullopt);
        OverridePrinterMetrics(std::nullopt);
    }
    void Click(QWidget* w) {
        QTest::mouseClick(w, Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    // Objects in the working folder, shown as the main screen shows them.
    void AddObjects(std::initializer_list<int> objectSlots) {
        Files().CreateFolder(App().ObjectFolder);
        int i = 0;
        for (int n : objectSlots) {
            WriteTestObject(App().ObjectFolder, n, 20 + 60 * i, 40 + 90 * i, i % 2 == 1);
            ASSERT_TRUE(form->LoadObjectImage(App().ObjectFolder, n)) << n;
            ++i;
        }
    }
    std::vector<int> Slots() const {
        std::vector<int> out;
        for (int n = 0; n < kObjectSlots; ++n)
            if (ObjectImages().exists(n)) out.push_back(n);
        return out;
    }

    test::TempDir dir;
    test::ScriptedDialogScope dialogs;
    std::unique_ptr<TForm1> form;
};

TEST_F(WorksWithObjects, SavingRenumbersTheObjectsAndReloadsThem) {
    AddObjects({3, 7, 12});
    const std::string texts[] = {ReadWholeFile(App().ObjectFolder + "StrData3.txt"),
                                 ReadWholeFile(App().ObjectFolder + "StrData7.txt"),
                                 ReadWholeFile(App().ObjectFolder + "StrData12.txt")};
    Click(form->Btn[13]);  // "保存"
    const std::string saved = App().WorksFolder + "SData/" + App().WorkName + "/";
    EXPECT_EQ(Files().ListFiles(saved),
              (std::vector<std::string>{"StrData0.txt", "StrData1.txt", "StrData2.txt"}));
    for (int n = 0; n < 3; ++n)
        EXPECT_EQ(ReadWholeFile(saved + "StrData" + std::to_string(n) + ".txt"), texts[n]);
    EXPECT_EQ(Slots(), (std::vector<int>{0, 1, 2}));
    // The thumbnail shows the objects over the white page.
    const auto thumbnail = LoadBmp(App().WorksFolder + "SImg/" + App().WorkName + ".bmp");
    ASSERT_TRUE(thumbnail);
    EXPECT_GT(test::CountPixels(*thumbnail, kFill), 10);
}

TEST_F(WorksWithObjects, GalleryCancelGivesBackExactlyThePageAndObjectsOfBefore) {
    AddObjects({1, 4});
    std::vector<Bitmap> before;
    for (int n : Slots()) before.push_back(ObjectImages()[n]->bitmap());
    const auto folderBefore = Files().ListFiles(App().ObjectFolder);
    const Bitmap pageBefore = form->Image1->picture();

    const std::string works = App().WorksFolder;
    EnsureWorkFolders(dir.path());
    const Bitmap page(1123, 794, clNavy);
    ASSERT_TRUE(StoreWork(works, "X260101000001", page, MakeThumbnail(page, {140, 99}, {}),
                          dir.file("none")));
    WriteTestObject(works + "SData/X260101000001/", 0, 300, 300, true);

    Click(form->Btn[15]);
    auto* gallery = form->findChild<TForm11*>();
    ASSERT_NE(gallery, nullptr);
    gallery->ListView1Click(0);
    EXPECT_EQ(Slots(), (std::vector<int>{0}));
    EXPECT_FALSE(ObjectImages()[0]->image()->isEnabled());  // not to be dragged meanwhile
    // The saved work keeps no rendered bitmaps.
    EXPECT_EQ(Files().ListFiles(works + "SData/X260101000001"),
              (std::vector<std::string>{"StrData0.txt"}));

    Click(gallery->BtnFormClose);
    EXPECT_EQ(form->Image1->picture(), pageBefore);
    ASSERT_EQ(Slots(), (std::vector<int>{1, 4}));
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(ObjectImages()[Slots()[i]]->bitmap(), before[i]);
    EXPECT_TRUE(ObjectImages()[1]->image()->isEnabled());
    // The working folder keeps its files, companion bitmaps included (printing needs them).
    EXPECT_EQ(Files().ListFiles(App().ObjectFolder), folderBefore);
}

TEST_F(WorksWithObjects, PrintingDrawsTheObjectsOverThePage) {
    AddObjects({0, 1});
    const ComposedPage composed = ComposePage(form->Image1->picture(), App().ObjectFolder, Slots());
    EXPECT_GT(composed.drawing->callCount(), 2u);  // the page, then the objects' paths
    const Bitmap out = RenderDrawing(*composed.drawing, composed.drawing->size());
    EXPECT_GT(test::CountPixels(out, kFill), 100);
    EXPECT_EQ(test::CountPixels(form->Image1->picture(), kFill), 0);  // the page is untouched
}

}  // namespace
}  // namespace pb
