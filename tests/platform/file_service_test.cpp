// Files in CP932 with CR LF, their writes and syncs, and walking CP932 text.
#include "platform/file_service.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <tuple>

#include "platform/text_codec.h"
#include "support/test_support.h"

namespace pb {
namespace {

TEST(TextCodec, RoundTripsJapaneseAndMarksWhatCp932Lacks) {
    // UTF-8, CP932, and whether CP932 holds it all
    const std::tuple<std::string, std::string, bool> cases[] = {
        {"あ", "\x82\xA0", true},
        {"ⅰ", "\xFA\x40", true},  // Windows places small roman numerals at FA40
        {"a😀b", "a?b", false},
    };
    for (const auto& [utf8, cp932, expected] : cases) {
        bool lossless = !expected;
        EXPECT_EQ(Utf8ToCp932(utf8, &lossless), cp932) << utf8;
        EXPECT_EQ(lossless, expected) << utf8;
        EXPECT_TRUE(!expected || Cp932ToUtf8(cp932) == utf8) << utf8;
    }
    bool ok = true;
    EXPECT_EQ(Cp932ToUtf8("a\x82", &ok), "a\xEF\xBF\xBD");  // a lead byte cut off at the end
    EXPECT_FALSE(ok);
}

TEST(FileService, WholeFilesAreCp932WithCrLfAndMissingFilesReadEmpty) {
    test::TempDir dir;
    const std::string path = dir.file("PPPOS.txt");
    EXPECT_EQ(ReadWholeFile(path), "");
    ASSERT_TRUE(WriteWholeFile(path, "一行目\r\nTrue"));
    EXPECT_EQ(test::ReadFileBytes(path), "\x88\xEA\x8D\x73\x96\xDA\r\nTrue");
    EXPECT_EQ(ReadWholeFile(path), "一行目\r\nTrue");

    // A folder where a file is expected reads as empty text, as an unreadable file does.
    std::filesystem::create_directory(dir.file("folder.txt"));
    EXPECT_EQ(ReadWholeFile(dir.file("folder.txt")), "");
}

TEST(FileService, TemporaryNamesOfCutOffWritesAreKnownAndOthersAreNot) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"X1.bmp.new.part4242_17", "X1.bmp.new"},
        {"StrData0.txt.part1_0", "StrData0.txt"},
        {"X1.bmp", std::nullopt},
        {"notes.part2", std::nullopt},   // no number after an underscore
        {"notes.part_2", std::nullopt},  // no process id
        {".part1_2", std::nullopt},       // no file it belongs to
        {"a.part1_2.bmp", std::nullopt},  // a picture the user named so
    };
    for (const auto& [name, target] : cases) EXPECT_EQ(WriteBytesTarget(name), target) << name;
}

TEST(FileService, SyncsReportWhatTheyCannotReach) {
    test::TempDir dir;
    Files().CreateFolder(dir.file("a"));
    Files().CreateFolder(dir.file("a/b"));
    ASSERT_TRUE(WriteWholeFile(dir.file("a/b/f.txt"), "x"));
    const std::tuple<const char*, bool, bool> cases[] = {
        // path, SyncFile, SyncFolder (a file is no folder; a folder opens as a file too)
        {"a/b/f.txt", true, false},
        {"a/b", true, true},
        {"missing", false, false},
    };
    for (const auto& [path, file, folder] : cases) {
        EXPECT_EQ(Files().SyncFile(dir.file(path)), file) << path;
        EXPECT_EQ(Files().SyncFolder(dir.file(path)), folder) << path;
    }
    EXPECT_TRUE(SyncTree(dir.file("a")));
    EXPECT_FALSE(SyncTree(dir.file("missing")));
}

// "aあｱ" in CP932: one ASCII byte, a double-byte hiragana, a half-width katakana byte.
const std::string kMixed = "a\x82\xA0\xB1";

TEST(Cp932Bytes, CharacterWalks) {
    struct Case {
        std::string text;
        std::size_t chars;
        std::size_t withoutLast;
    };
    const Case cases[] = {
        {"", 0, 0},
        {kMixed, 3, 3},
        {"ab\x82", 3, 2},  // a lead byte at the end stands alone
        {"\x82"
         "a",
         1, 0},  // a lead byte takes whatever follows it
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Cp932CharCount(c.text), c.chars) << c.text;
        EXPECT_EQ(Cp932WithoutLastChar(c.text), c.withoutLast) << c.text;
    }
    // position -> boundary at or before it
    const std::pair<std::size_t, std::size_t> boundaries[] = {
        {0, 0}, {1, 1}, {2, 1}, {3, 3}, {9, 4}};
    for (const auto& [pos, boundary] : boundaries)
        EXPECT_EQ(Cp932Boundary(kMixed, pos), boundary) << pos;
    EXPECT_EQ(Cp932Left(kMixed, 2), "a\x82\xA0");
}

TEST(Cp932Bytes, WellFormedText) {
    const std::pair<std::string, bool> cases[] = {
        {"", true},          {kMixed, true},
        {"\x82", false},      // lead byte cut off
        {"\x82\x7F", false},  // not a trail byte
        {"\x80", false},      // never a character alone
        {"\xFD", false},     {"\x88\x9F\xFC\xFC", true},
    };
    for (const auto& [text, ok] : cases) EXPECT_EQ(IsWellFormedCp932(text), ok) << text;
}

}  // namespace
}  // namespace pb
