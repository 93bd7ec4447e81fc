#include "objects/strdata.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "common/app_state.h"
#include "common/object_image.h"
#include "platform/file_service.h"
#include "platform/text_codec.h"
#include "support/test_support.h"

namespace pb {
namespace {

ObjectRecord SampleDecorated() {
    ObjectRecord r = NewDecoratedText(3, 559, false);
    r.Left = -12;
    r.Top = 45;
    r.FontIndex = 7;
    r.OutlineWidth = 3;
    r.DeformMode = 2;
    r.DeformAmount = -30;
    r.ImageFile = "/home/shop/写真/a b.jpg";
    r.FillColor = RGB(1, 2, 3);
    r.OutlineColor = RGB(255, 0, 0);
    r.ShadowColor = clSilver;
    r.FillStyle = 13;
    r.Horizontal = true;
    r.Shadow = true;
    r.UseColor = {true, false, true, false, false, false, true};
    r.Color = {1, 2, 3, 4, 5, 6, 16777215};
    r.Text = "大売出し\r\n\r\n本日限り";
    return r;
}

TEST(StrData, RecordsRoundTripThroughTheirFiles) {
    test::TempDir dir;
    const std::string folder = dir.path() + "/";
    ObjectRecord plain = NewPlainObject(2, 559, true);
    plain.BackStyle = 2;
    plain.BackColor = RGB(9, 8, 7);
    plain.FontColor = RGB(0, 0, 255);
    plain.UseColor[4] = true;
    plain.Color[4] = RGB(10, 20, 30);
    const ObjectRecord decorated = SampleDecorated();
    for (const ObjectRecord& r : {plain, decorated}) {
        ASSERT_TRUE(WriteObject(folder, 5, r));
        auto back = ReadObject(folder, 5);
        ASSERT_TRUE(back);
        EXPECT_EQ(FormatObjectRecord(*back), FormatObjectRecord(r));
    }
    // The file itself: CP932, CR LF, line 0 the family, colours in decimal, booleans as words.
    const std::string bytes = test::ReadFileBytes(ObjectFilePath(folder, 5));
    EXPECT_EQ(bytes.substr(0, 12), "1\r\n-12\r\n45\r\n");
    EXPECT_NE(bytes.find("\r\n197121\r\n255\r\n12632256\r\n13\r\nTrue\r\nTrue\r\n"),
              std::string::npos);
    EXPECT_NE(bytes.find(Utf8ToCp932("本日限り") + "\r\n"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
}

TEST(StrData, TheTextLosesItsTrailingBlanksButKeepsInnerEmptyLines) {
    const std::string fields = std::string("1\r\n") +
                               "0\r\n0\r\n36\r\n2\r\n0\r\n1\r\n1\r\n0\r\n\r\n" +
                               "16777215\r\n0\r\n12632256\r\n10\r\nFalse\r\nFalse\r\n" +
                               "False\r\nFalse\r\nFalse\r\nFalse\r\nFalse\r\nFalse\r\nFalse\r\n" +
                               "1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n";
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"abc  \r\n\r\n\r\n", "abc"},
        {"a\r\n\r\nb\r\n", "a\r\n\r\nb"},
        {"  lead\r\n", "  lead"},
        {"", ""},
    };
    for (const Case& c : cases) {
        auto r = ParseObjectRecord(fields + c.text);
        ASSERT_EQ(r.status, ReadStatus::Ok);
        EXPECT_EQ(r.record->Text, c.expected);
    }
}

TEST(StrData, FamilyAndMalformedRecords) {
    const std::string plainFields =
        "0\r\n0\r\n10\r\n2\r\n0\r\n16777215\r\n0\r\n0\r\nFalse\r\n"
        "False\r\nFalse\r\nFalse\r\nFalse\r\nFalse\r\nFalse\r\nFalse\r\n"
        "1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\nText\r\n";
    struct Case {
        std::string text;
        ReadStatus status;
        ObjectFamily family;
    };
    const Case cases[] = {
        {"0\r\n" + plainFields, ReadStatus::Ok, ObjectFamily::Plain},
        {"1 \r\n" + plainFields, ReadStatus::Ok, ObjectFamily::Plain},  // only exactly "1"
        {"x\r\n" + plainFields, ReadStatus::Ok, ObjectFamily::Plain},
        {"1\r\n" + plainFields, ReadStatus::Malformed, {}},  // 29 fields expected, "Text" is one
        {"0\r\n0\r\nabc\r\n" + plainFields.substr(3), ReadStatus::Malformed, {}},
        {"0\r\n0\r\n", ReadStatus::Malformed, {}},
        {"", ReadStatus::Missing, {}},
    };
    for (const Case& c : cases) {
        const ReadResult r = ParseObjectRecord(c.text);
        EXPECT_EQ(r.status, c.status) << c.text.substr(0, 12);
        if (r.status == ReadStatus::Ok) {
            EXPECT_EQ(r.record->family, c.family);
        }
    }
    test::TempDir dir;
    EXPECT_EQ(ReadObjectRecord(dir.path() + "/", 0).status, ReadStatus::Missing);
}

TEST(StrData, ShapeMarkerAndFonts) {
    EXPECT_EQ(ShapeKind("vrnSHAPE3"), 3);
    EXPECT_EQ(ShapeKind("vrnSHAPE1 and more"), 1);
    EXPECT_EQ(ShapeKind("vrnSHAPEx"), 0);
    EXPECT_EQ(ShapeKind("vrnSHAPE"), 0);
    EXPECT_EQ(ShapeKind("VRNSHAPE1"), 0);

    const std::vector<std::string> fonts = {"@IPAゴシック", "DejaVu Sans", "IPAゴシック", "Zed"};
    EXPECT_EQ(DefaultFontIndex(fonts), 2);
    EXPECT_EQ(DefaultFontIndex({"DejaVu Sans", "Zed"}), 1);  // none: the last font
    EXPECT_EQ(FontNameForIndex(fonts, 500), "Zed");
    EXPECT_EQ(FontNameForIndex(fonts, -1), "@IPAゴシック");
    EXPECT_EQ(FontNameForIndex(fonts, 1), "DejaVu Sans");
}

TEST(StrData, WritersRefuseTextsTheReadersCannotHold) {
    test::TempDir dir;
    test::ScriptedDialogScope dialogs;
    const std::string folder = dir.path() + "/";
    auto lines = [](int n) {
        std::string t = "x";
        for (int i = 1; i < n; ++i) t += "\r\nx";
        return t;
    };
    struct Case {
        ObjectRecord rec;
        int lines;
        bool written;
    };
    const Case cases[] = {{NewPlainObject(0, 559, false), 232, true},
                          {NewPlainObject(0, 559, false), 233, false},
                          {NewDecoratedText(0, 559, false), 226, true},
                          {NewDecoratedText(0, 559, false), 227, false}};
    for (Case c : cases) {
        Files().DeleteFile(ObjectFilePath(folder, 0));
        c.rec.Text = lines(c.lines);
        EXPECT_EQ(WriteObject(folder, 0, c.rec), c.written) << c.lines;
        EXPECT_EQ(Files().FileExists(ObjectFilePath(folder, 0)), c.written);
        if (c.written) {
            EXPECT_EQ(ReadObject(folder, 0)->Text, c.rec.Text);
        }
    }
    ASSERT_EQ(dialogs->shown.size(), 2u);
    EXPECT_EQ(dialogs->shown[0].caption, "NG");
}

TEST(StrData, RecordsLongerThanTheReadersCountAreUnreadable) {
    // 256 lines at most: 1 + 23 + 232 for a plain record. Trailing empty lines do not count.
    const std::string fields = FormatObjectRecord(NewPlainObject(0, 559, false));
    const std::string head = fields.substr(0, fields.rfind("あいうえお"));
    auto text = [](int lines, const char* end) {
        std::string t = "x";
        for (int i = 1; i < lines; ++i) t += "\r\nx";
        return t + end;
    };
    EXPECT_EQ(ParseObjectRecord(head + text(232, "\r\n\r\n\r\n")).status, ReadStatus::Ok);
    EXPECT_EQ(ParseObjectRecord(head + text(233, "\r\n")).status, ReadStatus::Malformed);
    // A bare line feed in a text is a line of the file too: the writer counts it.
    test::TempDir dir;
    test::ScriptedDialogScope dialogs;
    ObjectRecord r = NewPlainObject(0, 559, false);
    r.Text = text(232, "\ny");
    EXPECT_FALSE(WriteObject(dir.path() + "/", 0, r));
    EXPECT_EQ(dialogs->shown.size(), 1u);
}

TEST(StrData, OneByteFieldsWrapAsBytes) {
    ObjectRecord r = SampleDecorated();
    r.FillStyle = 266;
    r.DeformMode = 257;
    auto back = ParseObjectRecord(FormatObjectRecord(r)).record;
    ASSERT_TRUE(back);
    EXPECT_EQ(back->FillStyle, 10);
    EXPECT_EQ(back->DeformMode, 1);
}

class ObjectSlotsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        App() = AppState{};
        SetAppDir(App(), dir.path());
        Files().CreateFolder(App().ObjectFolder);
        pageImage.setParent(&area);
        pageImage.setGeometry(10, 0, 189, 280);  // a postcard page at zoom 50
    }
    void TearDown() override { ObjectImages().FreeAll(); }
    void Add(int slot) {
        ASSERT_TRUE(WriteObject(App().ObjectFolder, slot, NewDecoratedText(slot, 559, false)));
        ObjectImages().Create(slot, 10, 0, 50, 20, &area);
    }
    test::TempDir dir;
    QWidget area;
    QWidget pageImage;
};

TEST_F(ObjectSlotsTest, PositionsAreSavedInPagePixels) {
    Add(4);
    ObjectImages()[4]->image()->move(10 + 40, 15);  // 40 px right of the page's left edge
    SaveObjectPosition(App().ObjectFolder, 4, pageImage, 50);
    auto rec = ReadObject(App().ObjectFolder, 4);
    EXPECT_EQ(rec->Left, 80);
    EXPECT_EQ(rec->Top, 30);
    EXPECT_EQ(rec->Text, "あいうえお");
    EXPECT_EQ(ReadObjectPosition(App().ObjectFolder, 4), std::make_pair(80, 30));
    // Truncation toward zero at odd zooms: 41 * 100 / 30 = 136.67.
    ObjectImages()[4]->image()->move(10 + 41, -1);
    SaveObjectPosition(App().ObjectFolder, 4, pageImage, 30);
    EXPECT_EQ(ReadObjectPosition(App().ObjectFolder, 4), std::make_pair(136, -3));
}

TEST_F(ObjectSlotsTest, ZoomingBackAndForthDoesNotWalkObjects) {
    Add(4);
    ObjectRecord r = *ReadObject(App().ObjectFolder, 4);
    r.Left = 278;
    r.Top = 81;
    ASSERT_TRUE(WriteObject(App().ObjectFolder, 4, r));
    TCImg* img = ObjectImages()[4];
    for (int zoom : {90, 80, 70, 60, 50, 200, 30, 100}) {
        img->PlaceAtZoom(278, 81, zoom, pageImage);
        SaveObjectPosition(App().ObjectFolder, 4, pageImage, zoom);
        EXPECT_EQ(ReadObjectPosition(App().ObjectFolder, 4), std::make_pair(278, 81)) << zoom;
    }
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

TEST(StrData, NewObjectsStackDownThePage) {
    // slot * (page height / 199): a postcard page of 559 rows gives steps of 2.
    EXPECT_EQ(NewPlainObject(7, 559, false).Top, 14);
    EXPECT_EQ(NewShapeObject(7, 1123, true).Top, 35);
    EXPECT_EQ(NewShapeObject(0, 1123, true).Width(), 200);
    EXPECT_EQ(NewDecoratedText(0, 559, false).FontSize, 36);
    EXPECT_EQ(NewDecoratedText(0, 1123, true).OutlineWidth, 2);
}

}  // namespace
}  // namespace pb
