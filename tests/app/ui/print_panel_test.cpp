// The main screen's print panel: printing on the built-in PDF printer and the preview.
#include <algorithm>
#include <cstring>

#include "app/ui/preview_screen.h"
#include "common/app_state.h"
#include "fake_print_device.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"
#include "platform/ui/printer.h"
#include "support/ui/app_fixtures.h"

namespace pb {
namespace {

using test::FakePrintDevice;
using test::PrinterLog;

// The print panel of the main screen on the built-in PDF printer.
class PrintPanelTest : public test::MainScreenFixture {
  protected:
    void SetUp() override {
        MainScreenFixture::SetUp();
        OverrideDefaultPrinter(
            [this] { return std::make_unique<FakePrintDevice>(log, PrinterKind::BuiltInPdf); });
        Start();
        Files().CreateFolder(dir.file("Pictures"));
        App().CurrentPictureFolder = dir.file("Pictures");
    }
    void TearDown() override {
        MainScreenFixture::TearDown();
        OverrideDefaultPrinter(nullptr);
    }

    std::shared_ptr<PrinterLog> log = std::make_shared<PrinterLog>();
};

TEST_F(PrintPanelTest, PrintMakesOnePagePerCopyAndTellsWhereThePdfWent) {
    Click(form->Btn[23]);  // the print panel takes the place of the drawing tools
    EXPECT_TRUE(form->GroupBox4->isVisible());
    EXPECT_FALSE(form->GroupBox1->isVisible() || form->Btn[1]->isVisible());
    EXPECT_FALSE(form->GroupBox3->isVisible()) << "reduction is offered for A4 only";
    EXPECT_TRUE(form->Btn[17]->isEnabled() && form->Btn[18]->isEnabled());
    Click(form->Btn[7]);
    Click(form->Btn[7]);
    Click(form->Btn[17]);
    EXPECT_EQ(log->pages.size(), 3u);
    EXPECT_EQ(std::count(log->events.begin(), log->events.end(), "end"), 1);
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, "プリンタがないのでPDFにした\n/somewhere/P000000000000.pdf");
    EXPECT_EQ(dialogs->shown[0].caption, "どうでもいいけど");
    EXPECT_EQ(form->Image0->picture(), Page()) << "printing leaves the page as it is";
    Click(form->Btn[24]);
    EXPECT_TRUE(form->GroupBox1->isVisible());
    EXPECT_FALSE(form->GroupBox4->isVisible());
}

TEST_F(PrintPanelTest, PreviewShowsTheReductionButExportsThePageAtFullSize) {
    Click(form->Btn[22]);  // A4 landscape, reduced to a postcard
    Click(form->Btn[23]);
    Click(form->RBtn[11]);
    Click(form->Btn[18]);
    TForm18* preview = Child<TForm18>();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->Label0->text(), "100");
    EXPECT_EQ(preview->Image1->size(), QSize(559, 378));

    Click(preview->BtnSaveAsBMP);
    const auto pictures = Files().ListFiles(dir.file("Pictures"));
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].size(), std::strlen("A000000000000.bmp"));
    EXPECT_EQ(LoadBmp(JoinPath(dir.file("Pictures"), pictures[0]))->size(), (Size{1123, 794}));

    Click(preview->BtnSaveAsEMF);
    const auto metafiles = Files().ListFiles(dir.file("METAFILES"));
    ASSERT_EQ(metafiles.size(), 1u);
    const std::string base = dir.file("METAFILES/" + metafiles[0].substr(0, 13));
    for (const std::string& path : {base + ".emf", base + "/Tmp1.emf", base + "/Tmp2.emf"}) {
        const std::string bytes = test::ReadFileBytes(path);
        ASSERT_GE(bytes.size(), 40u) << path;
        std::int32_t bounds[4];  // the header's inclusive bounds
        std::memcpy(bounds, bytes.data() + 8, sizeof bounds);
        EXPECT_EQ((Size{bounds[2] + 1, bounds[3] + 1}), (Size{480, 330})) << path;
    }
    EXPECT_EQ(test::ReadFileBytes(base + ".emf"), test::ReadFileBytes(base + "/Tmp2.emf"));
    ASSERT_EQ(dialogs->shown.size(), 2u);
    EXPECT_EQ(dialogs->shown[0].text, "保存完了");

    App().CurrentPictureFolder = dir.file("gone");  // no picture folder: refused
    Click(preview->BtnSaveAsBMP);
    EXPECT_EQ(dialogs->shown.back().caption, "NG");
    Click(preview->Button0);
    EXPECT_EQ(Child<TForm18>(), nullptr);
}

}  // namespace
}  // namespace pb
