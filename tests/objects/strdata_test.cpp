#include "objects/strdata.h"

#include <gtest/gtest.h>

#include "objects_fixture.h"
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
    plain.UseColor[4] = true;
    plain.Color[4] = RGB(10, 20, 30);
    ObjectRecord decorated = NewDecoratedText(3, kPageHeight, false);
    decorated.Left = -12;
    decorated.Top = 45;
    decorated.DeformAmount = -30;
    decorated.ImageFile = "/home/shop/写真/a b.jpg";
    decorated.FillColor = RGB(1, 2, 3);
    decorated.FillStyle = 13;
    decorated.Horizontal = decorated.Shadow = true;
    decorated.FontIndex = 7;
    decorated.OutlineWidth = 3;
    decorated.UseColor = {true, false, true, false, false, false, true};
    decorated.Color = {1, 2, 3, 4, 5, 6, 16777215};
    decorated.Text = "大売出し\r\n\r\n本日限り";
    for (const ObjectRecord& r : {plain, decorated}) {
        ASSERT_TRUE(WriteObject(folder, 5, r));
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
    // One-byte fields wrap as bytes.
    decorated.FillStyle = 266;
    decorated.DeformMode = 257;
    const auto wrapped = ParseObjectRecord(FormatObjectRecord(decorated)).record;
    ASSERT_TRUE(wrapped);
    EXPECT_EQ(std::pair(wrapped->FillStyle, wrapped->DeformMode), std::pair(10, 1));
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

TEST(StrData, ShapeMarkerAndFonts) {
    const std::pair<const char*, int> kinds[] = {{"vrnSHAPE3", 3},
                                                 {"vrnSHAPE1 and more", 1},
                                                 {"vrnSHAPEx", 0},
                                                 {"vrnSHAPE", 0},
                                                 {"VRNSHAPE1", 0}};
    for (const auto& [text, kind] : kinds) EXPECT_EQ(ShapeKind(text), kind) << text;

    const std::vector<std::string> fonts = {"@IPAゴシック", "DejaVu Sans", "IPAゴシック", "Zed"};
    // No Japanese face: the last font.
    EXPECT_EQ(std::pair(DefaultFontIndex(fonts), DefaultFontIndex({"DejaVu Sans", "Zed"})),
              std::pair(2, 1));
}

TEST(StrData, WritersRefuseTextsTheReadersCannotHold) {
    TempDir dir;
    ScriptedDialogScope dialogs;
    const std::string folder = dir.path() + "/";
    // Decorated, the text, and whether it is written. A bare line feed is a line of the file.
    const std::tuple<bool, std::string, bool> cases[] = {
        {false, Lines(232), true}, {false, Lines(233), false},         {true, Lines(226), true},
        {true, Lines(227), false}, {false, Lines(232) + "\ny", false},
    };
    for (const auto& [decorated, text, written] : cases) {
        Files().DeleteFile(ObjectFilePath(folder, 0));
        EXPECT_EQ(WriteObject(folder, 0, decorated ? TextRecord(text) : PlainRecord(text)), written)
            << text.size();
        EXPECT_EQ(Files().FileExists(ObjectFilePath(folder, 0)), written);
        if (written) {
            EXPECT_EQ(ReadObject(folder, 0)->Text, text);
        }
    }
    ASSERT_EQ(dialogs->shown.size(), 3u);
    EXPECT_EQ(dialogs->shown[0].caption, "NG");
}

class ObjectSlotsTest : public ObjectScreenTest {
  protected:
    ObjectSlotsTest() : ObjectScreenTest(50) {}
    void Add(int slot) { Place(NewDecoratedText(slot, kPageHeight, false), slot); }
    std::optional<std::pair<int, int>> SavedAt(int x, int y, int zoom) {
        Drag(4, x, y);
        SaveObjectPosition(main.folder(), 4, *main.page, zoom);
        return ReadObjectPosition(main.folder(), 4);
    }
};

TEST_F(ObjectSlotsTest, PositionsAreSavedInPagePixels) {
    Add(4);
    EXPECT_EQ(SavedAt(40, 15, 50), std::make_pair(80, 30));
    EXPECT_EQ(Stored(4)->Text, "あいうえお");
    // Truncation toward zero at odd zooms: 41 * 100 / 30 = 136.67.
    EXPECT_EQ(SavedAt(41, -1, 30), std::make_pair(136, -3));
}

TEST_F(ObjectSlotsTest, FreeSlotsBelowTheHighestAreNotReused) {
    EXPECT_EQ(FindFreeSlot(), 0);
    EXPECT_FALSE(AnyObject());
    for (int n = 0; n <= 9; ++n) Add(n);
    FreeObject(5);
    EXPECT_EQ(FindFreeSlot(), 10);
    Add(199);
    EXPECT_EQ(FindFreeSlot(), 200);  // full
    EXPECT_TRUE(AnyObject());
}

}  // namespace
}  // namespace pb
