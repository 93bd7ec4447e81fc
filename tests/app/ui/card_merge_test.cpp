// "差し込み印刷" on the print panel: the saved work as the template, a product list picked in
// the folder tree, the first card previewed and every card printed with the panel's settings.
#include <gtest/gtest.h>

#include <QListWidget>

#include "app/page_export.h"
#include "app/price_cards.h"
#include "app/ui/card_merge_screen.h"
#include "common/app_state.h"
#include "fake_print_device.h"
#include "platform/ui/printer.h"
#include "support/ui/app_fixtures.h"

namespace pb {
namespace {

class CardMergeTest : public test::MainScreenFixture {
  protected:
    void SetUp() override {
        MainScreenFixture::SetUp();
        OverrideDefaultPrinter([this] { return std::make_unique<test::FakePrintDevice>(log); });
        ObjectRecord name = NewDecoratedText(0, 559, false), jan = NewDecoratedText(1, 559, false);
        name.Text = "{商品名}";
        jan.Text = "{JAN:JAN}";
        jan.Top = 300;
        test::SaveWorkWithObjects(dir.path(), kWork, Bitmap(378, 559, clWhite), {name, jan});
        Files().CreateFolder(dir.file("lists"));
        test::WriteFileBytes(
            dir.file("lists/cards.csv"),
            "商品名,JAN\r\nりんご,4901234567894\r\n\"みかん, 箱\",4901234567890\r\n");
        test::WriteFileBytes(dir.file("lists/broken.CSV"), "商品名\r\n\"りんご\r\n");
        test::WriteFileBytes(dir.file("lists/notes.txt"), "not a list");
        Start();
    }
    void TearDown() override {
        MainScreenFixture::TearDown();
        OverrideDefaultPrinter(nullptr);
    }
    void Pick(CardMergeScreen* screen, const char* file) {
        const auto items = screen->CsvList->findItems(QString::fromUtf8(file), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        QTest::mouseClick(screen->CsvList->viewport(), Qt::LeftButton, {},
                          screen->CsvList->visualItemRect(items[0]).center());
    }

    static constexpr const char* kWork = "X990101000000";
    std::shared_ptr<test::PrinterLog> log = std::make_shared<test::PrinterLog>();
};

TEST_F(CardMergeTest, TheFirstCardIsPreviewedAndEveryCardPrintedWithThePanelsCopies) {
    Click(form->Btn[23]);  // the print panel
    Click(form->Btn[7]);   // 2 copies
    ASSERT_TRUE(form->BtnCards->isVisible());

    // The work now open has no name: it cannot be the template.
    Click(form->BtnCards);
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, "保存した作品でないと差し込み印刷できない");
    EXPECT_EQ(Window<CardMergeScreen>("CardMerge"), nullptr);

    // Named, but its objects differ from the saved ones: asked, and printed as saved.
    App().WorkName = kWork;
    dialogs->answers = {IDNO};
    Click(form->BtnCards);
    ASSERT_EQ(dialogs->shown.size(), 2u);
    EXPECT_EQ(dialogs->shown[1].text, "編集中のデータは保存する?");
    CardMergeScreen* screen = Window<CardMergeScreen>("CardMerge");
    ASSERT_NE(screen, nullptr);

    screen->ShellTreeView1Change(QString::fromStdString(dir.file("lists")));
    ASSERT_EQ(screen->CsvList->count(), 2);  // broken.CSV, cards.csv
    Pick(screen, "cards.csv");
    ASSERT_TRUE(screen->Image1->isVisible());
    std::vector<CardError> errors;
    std::string error;
    const auto first = ComposeCard(App().WorksFolder, kWork, screen->list(), 0, errors, error);
    ASSERT_TRUE(first) << error;
    const Size size = first->composed.drawing->size();
    EXPECT_EQ(RenderDrawing(*screen->Image1->picture(), size),
              RenderDrawing(*first->composed.drawing, size));
    EXPECT_EQ(screen->LabelCard->text(), "");

    dialogs->maxBusyDepth = 0;
    Click(screen->BtnPrint);
    EXPECT_EQ(log->pages.size(), 4u);  // two cards, two copies each
    EXPECT_GE(dialogs->maxBusyDepth, 1);
    EXPECT_FALSE(screen->ProgressBar1->isVisible());
    EXPECT_EQ(dialogs->shown.back().text,
              "2枚中2枚印刷した\n直して印刷し直す行:\n2行目 「JAN」の値が変");
    EXPECT_EQ(dialogs->shown.back().caption, "NG");
    EXPECT_EQ(App().WorkName, kWork);

    Pick(screen, "broken.CSV");  // a bad list after a good one: nothing left to print
    EXPECT_EQ(dialogs->shown.back().text, "CSVファイルの形が変(\"の閉じ忘れなど)");
    EXPECT_FALSE(screen->BtnPrint->isEnabled());
}

}  // namespace
}  // namespace pb
