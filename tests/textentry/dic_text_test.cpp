// The DicData text: reading its records, and KANJI.txt made from the SKK dictionary.
#include <gtest/gtest.h>
#include <iconv.h>

#include "platform/text_codec.h"
#include "textentry/dic_text.h"
#include "textentry/skk_dictionary.h"

namespace pb {
namespace {

std::string ToEucJp(std::string_view utf8) {
    iconv_t cd = iconv_open("EUC-JP", "UTF-8");
    std::string out(utf8.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* dst = out.data();
    std::size_t dstLeft = out.size();
    const std::size_t rc = iconv(cd, &in, &inLeft, &dst, &dstLeft);
    iconv_close(cd);
    EXPECT_NE(rc, static_cast<std::size_t>(-1));
    out.resize(out.size() - dstLeft);
    return out;
}

std::vector<std::pair<std::string, std::string>> Rows(const std::string& kanjiText) {
    DicTextReader reader(kanjiText);
    std::vector<std::string> fields;
    std::vector<std::pair<std::string, std::string>> rows;
    EXPECT_TRUE(reader.Next(fields));
    EXPECT_EQ(fields, (std::vector<std::string>{"Yomi", "Kanji"}));
    while (reader.Next(fields)) rows.emplace_back(Cp932ToUtf8(fields[0]), Cp932ToUtf8(fields[1]));
    return rows;
}

std::vector<std::vector<std::string>> ReadAll(std::string_view text, bool* malformed = nullptr) {
    DicTextReader reader(text);
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> fields;
    while (reader.Next(fields)) records.push_back(fields);
    if (malformed) *malformed = reader.malformed();
    return records;
}

TEST(DicText, ReadsRecordsWithQuotesAndLineEndsAndFlagsAnOpenQuote) {
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
    // A quote left open reads to the end and marks the text as malformed.
    bool malformed = false;
    EXPECT_EQ(ReadAll("a,\"open\r\nrest", &malformed),
              (std::vector<std::vector<std::string>>{{"a", "open\r\nrest"}}));
    EXPECT_TRUE(malformed);
}

TEST(SkkDictionary, TakesHiraganaReadingsOfOkuriNasiEntries) {
    std::string skk = ToEucJp(
        ";; -*- coding: euc-jp -*-\n"
        ";; okuri-ari entries.\n"
        "かk /書/描/\n"
        ";; okuri-nasi entries.\n"
        "かんじ /漢字/幹事;役員/感じ/漢字/\n"
        "カタカナ /片仮名/\n"
        "abc /エービーシー/\n"
        "ぐらむ /g/(concat \"a\\057b\")/(skk-current-date)/(株)/(concat \"x\" y)/\n"
        "くうはく //空白/\n"
        "ー /〜/\n"  // EUC-JP A1C1, CP932 81 60
        "かんま /(concat \"\\054\")/\n"
        "くおーと /(concat \"\\042\")/\n");
    // JIS X 0212 (code set 3) and an unassigned JIS row have no CP932 code.
    skk += ToEucJp("ほじょ /補助/") + "\x8F\xB0\xA1/\n";
    skk += ToEucJp("ぬけ /") + "\xA9\xA1" + ToEucJp("/抜け/\n");
    skk += ToEucJp("かんじ /漢字/新/\r\n");  // a reading met again: no duplicate row

    SkkImportStats stats;
    const auto rows = Rows(KanjiTextFromSkk(skk, &stats));
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"かんじ", "漢字"}, {"かんじ", "幹事"}, {"かんじ", "感じ"},   {"ぐらむ", "g"},
        {"ぐらむ", "a/b"},  {"ぐらむ", "(株)"}, {"くうはく", "空白"}, {"ー", "～"},
        {"かんま", ","},    {"くおーと", "\""}, {"ほじょ", "補助"},   {"ぬけ", "抜け"},
        {"かんじ", "新"}};
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(stats.rows, expected.size());
    EXPECT_EQ(stats.skippedCandidates, 4u);  // date Lisp, bad concat, 0212, unassigned
    EXPECT_EQ(stats.duplicates, 2u);
}

}  // namespace
}  // namespace pb
