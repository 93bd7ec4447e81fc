#include "objects/strdata.h"

#include <gtest/gtest.h>

#include "objects_fixture.h"
#include "platform/file_service.h"
#include "platform/text_codec.h"

namespace pb {
namespace {
using namespace test;

// "x" on `n` lines.
std::string Lines(int n) {
    std::string t = "x";
    for (int i = 1; i < n; ++i) t += "\r\nx";
    return t;
}

TEST(StrData, RecordsRoundTripThroughTheirFiles) {
    TempDir dir;
    const std::string folder = dir.path() + "/";
    ObjectRecord plain = NewPlainObject(2, kPageHeight, true);
    plain.BackStyle = 2;
    plain.BackColor = RGB(9, 8, 7);
    ObjectRecord decorated = NewDecoratedText(3, kPageHeight, false);
    decorated.Left = -12;
    decorated.Top = 45;
    decorated.DeformAmount = -30;
    decorated.ImageFile = "/home/shop/写真/a b.jpg";
    decorated.FillColor = RGB(1, 2, 3);
    decorated.FillStyle = 13;
    decorated.Horizontal = decorated.Shadow = true;
    decorated.UseColor = {true, false, true, false, false, false, true};
    decorated.Color = {1, 2, 3, 4, 5, 6, 16777215};
    decorated.Text = "大売出し\r\n\r\n本日限り";
    for (const ObjectRecord& r : {plain, decorated}) {
        ASSERT_EQ(WriteObject(folder, 5, r), WriteStatus::Written);
        auto back = ReadObject(folder, 5);
        ASSERT_TRUE(back);
        EXPECT_EQ(FormatObjectRecord(*back), FormatObjectRecord(r));
    }
    // The file itself: CP932, CR LF, line 0 the family, colours in decimal, booleans as words.
    const std::string bytes = ReadFileBytes(ObjectFilePath(folder, 5));
    EXPECT_EQ(bytes.substr(0, 12), "1\r\n-12\r\n45\r\n");
    EXPECT_NE(bytes.find("\r\n197121\r\n0\r\n12632256\r\n13\r\nTrue\r\nTrue\r\n"),
              std::string::npos);
    EXPECT_TRUE(bytes.ends_with(Utf8ToCp932("本日限り") + "\r\n"));
}

TEST(StrData, ReadingTrimsTheTextAndRefusesMalformedRecords) {
    using enum ReadStatus;
    // The 23 fields of a plain record after its family line; the text follows them.
    const std::string fields =
        "0\r\n0\r\n10\r\n2\r\n0\r\n16777215\r\n0\r\n0\r\nFalse\r\n"
        "False\r\nFalse\r\nFalse\r\nFalse\r\nFalse\r\nFalse\r\nFalse\r\n"
        "1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n";
    // The file, and the status and text read from it: the text loses its trailing blanks and
    // empty lines but keeps inner empty lines and leading blanks.
    const std::tuple<std::string, ReadStatus, std::string> cases[] = {
        {"0\r\n" + fields + "Text\r\n", Ok, "Text"},
        {"1 \r\n" + fields + "Text", Ok, "Text"},  // plain: only exactly "1" is decorated
        {"0\r\n" + fields + "abc  \r\n\r\n\r\n", Ok, "abc"},
        {"0\r\n" + fields + "a\r\n\r\nb\r\n", Ok, "a\r\n\r\nb"},
        {"0\r\n" + fields + "  lead\r\n", Ok, "  lead"},
        {"0\r\n" + fields, Ok, ""},
        {"1\r\n" + fields + "Text", Malformed, ""},  // 29 fields expected, "Text" is one
        {"0\r\n0\r\nabc\r\n" + fields.substr(3) + "Text", Malformed, ""},
        {"0\r\n0\r\n", Malformed, ""},
        {"", Missing, ""},
        // 256 lines at most, 1 + 23 + 232 for a plain record; trailing empty lines do not count.
        {"0\r\n" + fields + Lines(232) + "\r\n\r\n\r\n", Ok, Lines(232)},
        {"0\r\n" + fields + Lines(233), Malformed, ""},
    };
    for (const auto& [file, status, text] : cases) {
        const ReadResult r = ParseObjectRecord(file);
        EXPECT_EQ(r.status, status) << file.substr(0, 12);
        if (status == Ok && r.record) {
            EXPECT_EQ(std::pair(r.record->family, r.record->Text),
                      std::pair(ObjectFamily::Plain, text));
        }
    }
    TempDir dir;
    EXPECT_EQ(ReadObjectRecord(dir.path() + "/", 0).status, Missing);
}

TEST(StrData, WritersRefuseTextsTheReadersCannotHold) {
    TempDir dir;
    const std::string folder = dir.path() + "/";
    constexpr auto kWritten = WriteStatus::Written, kTooLong = WriteStatus::TextTooLong;
    // Decorated, the text, and what the writer says. A bare line feed is a line of the file.
    const std::tuple<bool, std::string, WriteStatus> cases[] = {
        {false, Lines(232), kWritten}, {false, Lines(233), kTooLong},          {true, Lines(226), kWritten},
        {true, Lines(227), kTooLong},  {false, Lines(232) + "\ny", kTooLong},
    };
    for (const auto& [decorated, text, status] : cases) {
        Files().DeleteFile(ObjectFilePath(folder, 0));
        const ObjectRecord rec = decorated ? TextRecord(text) : PlainRecord(text);
        EXPECT_EQ(WriteObject(folder, 0, rec), status) << text.size();
        const bool written = status == kWritten;
        EXPECT_EQ(Files().FileExists(ObjectFilePath(folder, 0)), written);
        if (written) {
            EXPECT_EQ(ReadObject(folder, 0)->Text, text);
        }
    }
    // A folder that cannot hold the file is told apart from a text that is too long.
    EXPECT_EQ(WriteObject(dir.file("missing/"), 0, PlainRecord("a")), WriteStatus::NotWritten);
}

TEST(StrData, PositionsAreSavedInPagePixels) {
    TempDir dir;
    const std::string folder = dir.path() + "/";
    ObjectRecord rec = TextRecord("あいうえお");
    rec.Left = 7;
    rec.Top = 9;
    ASSERT_EQ(WriteObject(folder, 4, rec), WriteStatus::Written);
    // Shown offset, zoom, and the stored position after saving.
    const std::tuple<Point, int, std::pair<int, int>> cases[] = {
        {{40, 15}, 50, {80, 30}},
        {{41, -1}, 30, {136, -3}},  // truncation toward zero: 41 * 100 / 30 = 136.67
        {{40, 9}, 100, {40, 9}},
        {{13, 2}, 33, {40, 9}},     // 40 * 33 / 100 = 13 still shows there: kept, no walk
        {{500, 500}, 0, {40, 9}},   // no zoom: nothing written
    };
    for (const auto& [shown, zoom, stored] : cases) {
        SaveObjectPosition(folder, 4, shown, zoom);
        EXPECT_EQ(ReadObjectPosition(folder, 4), stored) << shown.x << "," << shown.y << " at " << zoom;
    }
    EXPECT_EQ(ReadObject(folder, 4)->Text, "あいうえお");
    SaveObjectPosition(folder, 5, {1, 1}, 100);  // no record: nothing made
    EXPECT_FALSE(Files().FileExists(ObjectFilePath(folder, 5)));
}

}  // namespace
}  // namespace pb
