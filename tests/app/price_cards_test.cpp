// Price cards: fields filled from each row of the product list, codes checked and reported
// by row and column, text fitted to its box, and the template work left as it was.
#include "app/price_cards.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "app/page_export.h"
#include "app/works.h"
#include "objects/object_renderer.h"
#include "objects/strdata.h"
#include "platform/file_service.h"
#include "support/test_support.h"

namespace pb {
namespace {

class PriceCards : public ::testing::Test {
  protected:
    // Saves a postcard work "X<name>" with plain text objects (slot = index) at (20, 40 + 90 i).
    std::string Save(const std::string& name, const std::vector<std::string>& texts) {
        const std::string objects = dir.file("objects" + name);
        ResetFolder(objects, true);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            ObjectRecord r = NewPlainObject(static_cast<int>(i), 559, false);
            r.Text = texts[i];
            r.FontSize = 24;
            r.Left = 20;
            r.Top = 40 + 90 * static_cast<int>(i);
            EXPECT_EQ(WriteObject(objects + "/", static_cast<int>(i), r), WriteStatus::Written);
        }
        EnsureWorkFolders(dir.path());
        const Bitmap page(378, 559, clWhite);
        EXPECT_TRUE(StoreWork(works(), "X" + name, page, MakeThumbnail(page, page.size(), {}),
                              objects + "/"));
        return "X" + name;
    }
    std::string works() const { return dir.file("A4HGK"); }
    // Every card of the run, rendered.
    std::vector<Bitmap> Cards(const std::string& work, const ProductList& list, CardRun& run) {
        std::vector<Bitmap> cards;
        run = ComposeCards(works(), work, list, [&](int, const SavedWorkComposition& card) {
            cards.push_back(RenderDrawing(*card.composed.drawing, card.composed.drawing->size()));
            return true;
        });
        return cards;
    }
    test::TempDir dir;
};

TEST_F(PriceCards, FieldsAreFilledAsIfTypedIntoTheObject) {
    const ProductList list{{"商品の名前", "価格", "JAN"},
                           {{"特選りんご", "198", "4901234567894"}, {"Café \"α\"", "1,280"}}};
    const std::string work = Save("1", {"{商品の名前}", "｛価格｝円 {価格}"});
    CardRun run;
    const std::vector<Bitmap> cards = Cards(work, list, run);
    ASSERT_EQ(run.cardsMade, 2);
    EXPECT_TRUE(run.errors.empty());
    // Each card shows what a work with the text already filled in shows.
    const std::vector<std::string> expected[] = {{"特選りんご", "198円 198"},
                                                 {"Café \"α\"", "1,280円 1,280"}};
    for (int row = 0; row < 2; ++row) {
        std::string error;
        const auto filled = ComposeSavedWork(works(), Save("2" + std::to_string(row), expected[row]), error);
        ASSERT_TRUE(filled) << error;
        EXPECT_EQ(cards[row], RenderDrawing(*filled->composed.drawing, {378, 559})) << row;
    }
}

TEST_F(PriceCards, BadFieldsAreReportedByRowAndColumnAndTheOtherCardsComeOut) {
    const ProductList list{{"JAN", "QR"},
                           {{"4901234567894", "https://example.jp/a"},
                            {"49012347", "b"},
                            {"4901234567890"},  // wrong check digit
                            {"490123456789", "c"},
                            {"49-12347", "d"},
                            {"", "e"}}};
    const std::string work = Save("1", {"{JAN:JAN}", "{QR:QR}", "{色}"});
    CardRun run;
    const std::vector<Bitmap> cards = Cards(work, list, run);
    EXPECT_EQ(cards.size(), list.rows.size());
    const std::set<std::pair<int, std::string>> expected = {
        {3, "QR: the QR text is empty"},
        {3, "JAN: the check digit of the JAN \"4901234567890\" is wrong"},
        {4, "JAN: the JAN \"490123456789\" has 12 digits, not 8 or 13"},
        {5, "JAN: the JAN \"49-12347\" holds more than digits"},
        {6, "JAN: the JAN is empty"},
    };
    std::set<std::pair<int, std::string>> reported;
    for (const CardError& e : run.errors)
        if (e.column != "色") reported.emplace(e.row, e.column + ": " + e.message);
    EXPECT_EQ(reported, expected);
    EXPECT_EQ(std::count_if(run.errors.begin(), run.errors.end(),
                            [](const CardError& e) { return e.column == "色"; }),
              6);
}

// The ink of the first object lies within the box its template text had.
TEST_F(PriceCards, TextTooLongForItsBoxIsShrunkAndTheTemplateStaysAsItWas) {
    const std::string work = Save("1", {"{品名}"});
    std::map<std::string, std::string> before;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(works()))
        if (entry.is_regular_file()) before[entry.path()] = *Files().ReadBytes(entry.path());
    const auto box = ObjectBoxSize(*ReadObject(works() + "/SData/" + work + "/", 0));
    ASSERT_TRUE(box);
    const ProductList list{{"品名"}, {{"とても長い名前の特選りんごジュース"}}};
    CardRun run;
    const std::vector<Bitmap> cards = Cards(work, list, run);
    ASSERT_EQ(cards.size(), 1u);
    int right = 0, bottom = 0;
    for (int y = 0; y < cards[0].height(); ++y)
        for (int x = 0; x < cards[0].width(); ++x)
            if (cards[0].pixel(x, y) != clWhite) right = std::max(right, x), bottom = std::max(bottom, y);
    EXPECT_LT(right, 20 + box->width);
    EXPECT_LT(bottom, 40 + box->height);
    EXPECT_GT(right, 20 + box->width * 3 / 4);  // shrunk, not gone
    std::map<std::string, std::string> after;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(works()))
        if (entry.is_regular_file()) after[entry.path()] = *Files().ReadBytes(entry.path());
    EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace pb
