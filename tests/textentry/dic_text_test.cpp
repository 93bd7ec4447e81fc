#include <gtest/gtest.h>

#include "textentry/dic_text.h"

namespace pb {
namespace {

std::vector<std::vector<std::string>> ReadAll(std::string_view text, bool* malformed = nullptr) {
    DicTextReader reader(text);
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> fields;
    while (reader.Next(fields)) records.push_back(fields);
    if (malformed) *malformed = reader.malformed();
    return records;
}

TEST(DicText, ReadsRecordsWithQuotesAndLineEnds) {
    const std::string text =
        "KbnCD,TokuMJ,BtSize\r\n"
        "1,\",\",1\r\n"
        "1,\"\"\"\",1\r\n"
        "\r\n"
        "2,\"two\r\nlines\",2\n"  // a bare LF ends a record too
        "3,,\r\n"
        "4,last";  // no line end at the end
    EXPECT_EQ(ReadAll(text), (std::vector<std::vector<std::string>>{{"KbnCD", "TokuMJ", "BtSize"},
                                                                    {"1", ",", "1"},
                                                                    {"1", "\"", "1"},
                                                                    {"2", "two\r\nlines", "2"},
                                                                    {"3", "", ""},
                                                                    {"4", "last"}}));
}

TEST(DicText, UnclosedQuoteReadsToTheEndAndIsFlagged) {
    bool malformed = false;
    const auto r = ReadAll("a,\"open\r\nrest", &malformed);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0][1], "open\r\nrest");
    EXPECT_TRUE(malformed);
}

}  // namespace
}  // namespace pb
