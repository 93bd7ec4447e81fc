// The product list of price cards: CSV as spreadsheets write it, in UTF-8 or CP932.
#include "app/product_list.h"

#include <gtest/gtest.h>

#include "platform/file_service.h"
#include "platform/text_codec.h"
#include "support/test_support.h"

namespace pb {
namespace {

using Rows = std::vector<std::vector<std::string>>;

TEST(ProductList, ReadsWhatSpreadsheetsWrite) {
    const std::string bom = "\xEF\xBB\xBF";
    const std::string japanese = "商品名,価格\r\n特選りんご,198\r\n";
    const Rows japaneseRows = {{"特選りんご", "198"}};
    const std::tuple<const char*, std::string, std::vector<std::string>, Rows> cases[] = {
        {"UTF-8", japanese, {"商品名", "価格"}, japaneseRows},
        {"UTF-8 with BOM", bom + japanese, {"商品名", "価格"}, japaneseRows},
        {"CP932", Utf8ToCp932(japanese), {"商品名", "価格"}, japaneseRows},
        // A BOM before CP932 bytes is no UTF-8 text: it must not hide the CP932 decoding.
        {"CP932 after a BOM", bom + Utf8ToCp932("名\n表示\n"), {"名"}, {{"表示"}}},
        {"quoted comma, quote, line breaks",
         "name,note\n\"a, b\",\"say \"\"hi\"\"\"\n\"two\r\nlines\",\"x\ny\"\n",
         {"name", "note"},
         {{"a, b", "say \"hi\""}, {"two\r\nlines", "x\ny"}}},
        {"ragged rows kept, blank lines dropped", "a,b,c\n\n1\n1,2,3,4\n,,\n",
         {"a", "b", "c"},
         {{"1"}, {"1", "2", "3", "4"}}},
        {"no line end at the end", "JAN\n4901234567894", {"JAN"}, {{"4901234567894"}}},
    };
    for (const auto& [what, bytes, columns, rows] : cases) {
        ProductList list;
        std::string error;
        ASSERT_EQ(ParseProductList(bytes, list, error), ProductListStatus::Ok) << what << error;
        EXPECT_EQ(list.columns, columns) << what;
        EXPECT_EQ(list.rows, rows) << what;
    }
}

TEST(ProductList, RefusesWhatItCannotRead) {
    test::TempDir dir;
    const std::tuple<std::string, ProductListStatus, std::string> cases[] = {
        {"", ProductListStatus::Empty, "no header row"},
        {"\r\n\r\n,,\r\n", ProductListStatus::Empty, "no header row"},
        {"a,b\n\"open,1\n", ProductListStatus::BadCsv, "not closed"},
        {"a,b\n1,\"x\"y\n", ProductListStatus::BadCsv, "line 2"},
    };
    for (const auto& [bytes, status, message] : cases) {
        ProductList list{{"stale"}, {{"stale"}}};
        std::string error;
        EXPECT_EQ(ParseProductList(bytes, list, error), status) << bytes;
        EXPECT_NE(error.find(message), std::string::npos) << error;
        EXPECT_TRUE(list.columns.empty() && list.rows.empty()) << bytes;
    }
    ProductList list;
    std::string error;
    EXPECT_EQ(ReadProductList(dir.file("none.csv"), list, error), ProductListStatus::Unreadable);
    ASSERT_TRUE(Files().WriteBytes(dir.file("p.csv"), "価格\n100\n"));
    EXPECT_EQ(ReadProductList(dir.file("p.csv"), list, error), ProductListStatus::Ok);
    EXPECT_EQ(ProductField(list, 0, ProductColumn(list, "価格")), "100");
    EXPECT_EQ(ProductField(list, 0, ProductColumn(list, "missing")), "");
}

}  // namespace
}  // namespace pb
