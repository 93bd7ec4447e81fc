// TQRCode: the property rules, the split of the data into symbols, and what painting tells.
#include "codes/qr_code.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace pb {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

const std::string kKanji = "\x8A\xBF\x8E\x9A";  // two double-byte characters

TEST(QrSplit, PiecesAndTheShiftJisCutRule) {
    struct Case {
        const char* name;
        std::string data;
        int count;
        TQRMode mode;
        std::vector<int> offsets;
        TQRMode resultMode;
    };
    const Case cases[] = {
        {"10 bytes in 3", "0123456789", 3, qrConnect, {0, 4, 8, 10}, qrConnect},
        {"count above Len", "abc", 5, qrConnect, {0, 1, 2, 3}, qrConnect},
        {"empty", "", 3, qrConnect, {0, 0}, qrSingle},
        // q = 3: the cut at 3 is the second byte of the kanji at 2..3 and moves back to 2
        {"cut moves back", "ab" + kKanji.substr(0, 2) + "cd", 2, qrConnect, {0, 2, 6}, qrConnect},
        // q = 1: moving back would empty the first piece, so the cut moves forward to 2; the
        // next cut (3) moves forward to Len and the splitting stops there
        {"cut moves forward", kKanji, 4, qrConnect, {0, 2, 4}, qrConnect},
        {"single becomes connect", "0123456789", 5, qrSingle, {0, 2, 4, 6, 8, 10}, qrConnect},
        {"one piece is single", "0123456789", 1, qrPlus, {0, 10}, qrSingle},
        {"above 16 is plus", std::string(40, 'x'), 20, qrConnect, {}, qrPlus},
    };
    for (const auto& c : cases) {
        const QrSplit s = SplitQrData(Bytes(c.data), c.count, c.mode);
        if (!c.offsets.empty()) {
            EXPECT_EQ(s.offsets, c.offsets) << c.name;
        }
        EXPECT_EQ(s.count + 1, static_cast<int>(s.offsets.size())) << c.name;
        EXPECT_EQ(s.mode, c.resultMode) << c.name;
        EXPECT_NO_THROW(
            CheckQrSplit(static_cast<int>(c.data.size()), s.count, s.mode, 16, s.offsets))
            << c.name;
    }
}

TEST(QrSplit, InconsistentTablesRaiseIllegalErrors) {
    struct Case {
        int len, count, mode, column;
        std::vector<int> offsets;  // padded with len to count + 1 entries
        const char* message;
    };
    const Case cases[] = {
        {-1, 1, qrSingle, 1, {0, 0}, "Illegal Len : -1"},
        {10, 0, qrSingle, 1, {0, 10}, "Illegal Count : 0"},
        {10, 1025, qrPlus, 1, {0, 10}, "Illegal Count : 1025"},
        {2, 3, qrConnect, 1, {0, 1, 2, 2}, "Illegal Count : 3"},
        {10, 2, qrSingle, 1, {0, 5, 10}, "Illegal Count : 2"},
        {40, 17, qrConnect, 1, {0}, "Illegal Count : 17"},
        {10, 1, 3, 1, {0, 10}, "Illegal Mode : 3"},
        {10, 1, qrSingle, 0, {0, 10}, "Illegal Column : 0"},
        {10, 2, qrConnect, 1, {1, 5, 10}, "Illegal Offset[0] : 1"},
        {0, 1, qrSingle, 1, {0, 3}, "Illegal Offset[1] : 3"},
        {10, 3, qrConnect, 1, {0, 5, 5, 10}, "Illegal Offset[2] : 5"},
    };
    for (const auto& c : cases) {
        std::vector<int> offsets = c.offsets;
        offsets.resize(std::max<std::size_t>(offsets.size(), c.count + 1), c.len);
        try {
            CheckQrSplit(c.len, c.count, c.mode, c.column, offsets);
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const QRCodeError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST(QrCode, TildeHexAndNumberingRules) {
    struct Hex {
        std::string code;
        bool ok;
        std::string bytes;
        bool binary;
    };
    const Hex hex[] = {
        {"~0d0A09~", true, "\r\n\t", false},  // TAB, LF and CR are text
        {"~1f~", true, "\x1f", true},
        {"~414~", false, "", false},  // odd number of characters
        {"~4G~", false, "", false},   // not hexadecimal
        // the second byte of a double-byte character is no tilde
        {"\x81\x7E~41~", true, "\x81\x7E\x41", false},
    };
    for (const auto& c : hex) {
        const TildeHexResult r = DecodeTildeHex(c.code);
        EXPECT_EQ(r.ok, c.ok) << c.code;
        if (!c.ok) continue;
        EXPECT_EQ(r.bytes, c.bytes) << c.code;
        EXPECT_EQ(r.binary, c.binary) << c.code;
    }

    struct Numbered {
        std::string comment;
        TNumbering numbering;
        std::string result;
    };
    const Numbered numbered[] = {
        {"Shop", nbrNone, "Shop"},   {"Shop", nbrHead, "3 Shop"}, {"", nbrHead, "3"},
        {"Shop", nbrTail, "Shop 3"}, {"", nbrTail, "3"},          {"Shop", nbrIfVoid, "Shop"},
        {"", nbrIfVoid, "3"},
    };
    for (const auto& c : numbered)
        EXPECT_EQ(NumberedComment(c.comment, c.numbering, 3), c.result) << c.comment << c.numbering;
}

// Every property a rejected value could disturb, and the painting.
std::vector<int> Properties(const TQRCode& q) {
    return {q.Version(),         q.Pxmag(),           q.Angle(),         q.Emode(),
            q.EmodeR(),          q.Eclevel(),         q.Masktype(),      q.MasktypeR(),
            q.Count(),           q.Column(),          q.Mode(),          q.Numbering(),
            q.CommentUpLoc(),    q.CommentDownLoc(),  q.SymbolPicture(), q.SymbolDisped(),
            q.SymbolLeft(),      q.SymbolTop(),       q.SymbolSpaceUp(), q.SymbolSpaceDown(),
            q.SymbolSpaceLeft(), q.SymbolSpaceRight()};
}

TEST(QrCode, RejectedValuesChangeNothing) {
    struct Case {
        const char* name;
        void (*set)(TQRCode&, int);
        std::vector<int> rejected;
    };
    const Case cases[] = {
        {"Version", [](TQRCode& q, int v) { q.SetVersion(v); }, {0, 41}},
        {"Pxmag", [](TQRCode& q, int v) { q.SetPxmag(v); }, {0, 11}},
        {"Angle", [](TQRCode& q, int v) { q.SetAngle(v); }, {45, 360, -90}},
        {"Emode", [](TQRCode& q, int v) { q.SetEmode(v); }, {4, -2}},
        {"Eclevel", [](TQRCode& q, int v) { q.SetEclevel(v); }, {4, -1}},
        {"Masktype", [](TQRCode& q, int v) { q.SetMasktype(v); }, {8, -2}},
        {"Count", [](TQRCode& q, int v) { q.SetCount(v); }, {0, 1025}},
        {"Column", [](TQRCode& q, int v) { q.SetColumn(v); }, {0, 1025}},
        // Numbers as a stored work or a caller may hold them, far outside the values too.
        {"Mode", [](TQRCode& q, int v) { q.SetMode(TQRMode(v)); }, {3, -1, 1000, INT_MIN}},
        {"Numbering", [](TQRCode& q, int v) { q.SetNumbering(TNumbering(v)); }, {4, -1, INT_MAX}},
        {"CommentUpLoc", [](TQRCode& q, int v) { q.SetCommentUpLoc(TLocation(v)); }, {3, 99}},
        {"CommentDownLoc", [](TQRCode& q, int v) { q.SetCommentDownLoc(TLocation(v)); }, {3, -1}},
        {"SymbolPicture",
         [](TQRCode& q, int v) { q.SetSymbolPicture(TPictures(v)); },
         {3, -7, INT_MIN}},
        // Margins are never negative nor wider than a picture can be; so is the corner.
        {"SymbolSpaceUp", [](TQRCode& q, int v) { q.SetSymbolSpaceUp(v); }, {-1, 65536, INT_MAX}},
        {"SymbolSpaceDown", [](TQRCode& q, int v) { q.SetSymbolSpaceDown(v); }, {-1, INT_MIN}},
        {"SymbolSpaceLeft", [](TQRCode& q, int v) { q.SetSymbolSpaceLeft(v); }, {-5, INT_MAX}},
        {"SymbolSpaceRight", [](TQRCode& q, int v) { q.SetSymbolSpaceRight(v); }, {-1, 65536}},
        {"SymbolLeft", [](TQRCode& q, int v) { q.SetSymbolLeft(v); }, {-65536, INT_MAX}},
        {"SymbolTop", [](TQRCode& q, int v) { q.SetSymbolTop(v); }, {65536, INT_MIN}},
    };
    for (const auto& c : cases)
        for (const int value : c.rejected) {
            TQRCode q;
            q.SetCode("ABC");
            q.SetVersion(3);
            q.SetPxmag(2);
            q.SetAngle(90);
            q.SetEmode(1);
            q.SetEclevel(2);
            q.SetMasktype(5);
            q.SetColumn(4);
            q.SetNumbering(nbrTail);
            q.SetCommentUpLoc(locCenter);
            q.SetCommentDownLoc(locRight);
            q.SetMatch(true);
            q.SetSymbolPicture(picEMF);
            const std::vector<int> before = Properties(q);
            const Bitmap picture = q.Picture();
            c.set(q, value);
            EXPECT_EQ(Properties(q), before) << c.name << " " << value;
            EXPECT_EQ(q.Picture(), picture) << c.name << " " << value;
        }
}

TEST(QrCode, DataBytesAndLoading) {
    TQRCode q;
    q.SetCode("A~42~C");
    EXPECT_EQ(q.Len(), 6);
    q.SetBinaryOperation(true);
    EXPECT_EQ(q.Len(), 3);
    EXPECT_FALSE(q.Binary());
    q.SetCode("~00FF~");
    EXPECT_TRUE(q.Binary());
    EXPECT_EQ(q.DataBytes(), (std::vector<std::uint8_t>{0x00, 0xFF}));
    q.SetCode("bad~4");  // the decoding is abandoned and switched off
    EXPECT_FALSE(q.BinaryOperation());
    EXPECT_FALSE(q.Binary());
    EXPECT_EQ(q.Len(), 5);

    q.SetCount(1);
    q.SetVersion(10);
    q.SetEclevel(3);
    q.SetCode("");
    q.SetEmode(-1);  // and no segment written since: alphanumeric
    EXPECT_EQ(q.Capacity(), 174);

    // Loading takes the properties first and decodes the data bytes once at the end.
    int events = 0;
    q.OnChangeCode = [&events](TQRCode&, bool) { ++events; };
    q.BeginLoading();
    q.SetBinaryOperation(true);
    q.SetCode("~4142~");
    EXPECT_EQ(events, 0);
    q.EndLoading();
    EXPECT_EQ(q.DataBytes(), (std::vector<std::uint8_t>{'A', 'B'}));
}

TEST(QrCode, SymbolDispedTellsWhetherEverySymbolWasPainted) {
    // The refusal one past capacity, which keeps the last picture, is the zbar sweep's.
    TQRCode q;
    q.SetMatch(true);
    q.SetEclevel(3);
    q.SetClearOption(true);
    q.SetCode(std::string(18, '1'));  // numeric capacity of 1-H is 17
    EXPECT_FALSE(q.SymbolDisped());
    EXPECT_TRUE(q.Picture().isNull());
    q.SetCode("");
    EXPECT_TRUE(q.SymbolDisped());  // an empty code paints a symbol without data
    EXPECT_FALSE(q.Picture().isNull());

    // A first symbol that fits does not make the painting a success when the next does not.
    q.SetClearOption(false);
    q.SetVersion(2);
    q.SetEclevel(0);
    q.SetCode(std::string(40, '5') + std::string(40, 'x'));
    q.SetCount(2);
    EXPECT_EQ(q.Mode(), qrConnect);
    EXPECT_FALSE(q.SymbolDisped());

    // A piece longer than 7089 bytes stops the painting.
    q.SetCount(1);
    q.SetVersion(40);
    q.SetCode(std::string(7090, '1'));
    EXPECT_FALSE(q.SymbolDisped());
}

}  // namespace
}  // namespace pb
