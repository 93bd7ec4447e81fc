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
    // Name, data, count, mode, and the offsets and mode of the split.
    const std::tuple<const char*, std::string, int, TQRMode, std::vector<int>, TQRMode> cases[] = {
        {"count above Len", "abc", 5, qrConnect, {0, 1, 2, 3}, qrConnect},
        {"empty", "", 3, qrConnect, {0, 0}, qrSingle},
        // q = 3: the cut at 3 is the second byte of the kanji at 2..3 and moves back to 2
        {"cut moves back", "ab" + kKanji.substr(0, 2) + "cd", 2, qrConnect, {0, 2, 6}, qrConnect},
        // q = 1: moving back would empty the first piece, so the cut moves forward to 2; the
        // next cut (3) moves forward to Len and the splitting stops there
        {"cut moves forward", kKanji, 4, qrConnect, {0, 2, 4}, qrConnect},
        {"single becomes connect", "0123456789", 5, qrSingle, {0, 2, 4, 6, 8, 10}, qrConnect},
        {"one piece is single", "0123456789", 1, qrPlus, {0, 10}, qrSingle},
    };
    for (const auto& [name, data, count, mode, offsets, resultMode] : cases) {
        const QrSplit s = SplitQrData(Bytes(data), count, mode);
        EXPECT_EQ(s.offsets, offsets) << name;
        EXPECT_EQ(s.count + 1, static_cast<int>(s.offsets.size())) << name;
        EXPECT_EQ(s.mode, resultMode) << name;
        EXPECT_NO_THROW(CheckQrSplit(static_cast<int>(data.size()), s.count, s.mode, 16, s.offsets))
            << name;
    }
}

TEST(QrCode, TildeHexRules) {
    // The code, whether it decodes, the bytes and whether they are binary.
    const std::tuple<std::string, bool, std::string, bool> hex[] = {
        {"~0d0A09~", true, "\r\n\t", false},  // TAB, LF and CR are text
        {"~1f~", true, "\x1f", true},
        {"~414~", false, "", false},  // odd number of characters
        {"~4G~", false, "", false},   // not hexadecimal
        // the second byte of a double-byte character is no tilde
        {"\x81\x7E~41~", true, "\x81\x7E\x41", false},
    };
    for (const auto& [code, ok, bytes, binary] : hex) {
        const TildeHexResult r = DecodeTildeHex(code);
        EXPECT_EQ(r.ok, ok) << code;
        if (!ok) continue;
        EXPECT_EQ(r.bytes, bytes) << code;
        EXPECT_EQ(r.binary, binary) << code;
    }
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
    const std::tuple<const char*, void (*)(TQRCode&, int), std::vector<int>> cases[] = {
        {"Version", [](TQRCode& q, int v) { q.SetVersion(v); }, {0, 41}},
        {"Pxmag", [](TQRCode& q, int v) { q.SetPxmag(v); }, {0, 11}},
        {"Angle", [](TQRCode& q, int v) { q.SetAngle(v); }, {45, 360, -90}},
        {"Emode", [](TQRCode& q, int v) { q.SetEmode(v); }, {4, -2}},
        {"Eclevel", [](TQRCode& q, int v) { q.SetEclevel(v); }, {4, -1}},
        {"Masktype", [](TQRCode& q, int v) { q.SetMasktype(v); }, {8, -2}},
        {"Count", [](TQRCode& q, int v) { q.SetCount(v); }, {0, 1025}},
        // Numbers as a stored work or a caller may hold them, far outside the values too.
        {"Mode", [](TQRCode& q, int v) { q.SetMode(TQRMode(v)); }, {3, -1, 1000, INT_MIN}},
        {"Numbering", [](TQRCode& q, int v) { q.SetNumbering(TNumbering(v)); }, {4, -1, INT_MAX}},
        {"CommentUpLoc", [](TQRCode& q, int v) { q.SetCommentUpLoc(TLocation(v)); }, {3, 99}},
        {"SymbolPicture",
         [](TQRCode& q, int v) { q.SetSymbolPicture(TPictures(v)); },
         {3, -7, INT_MIN}},
        // Margins are never negative nor wider than a picture can be; so is the corner.
        {"SymbolSpaceUp", [](TQRCode& q, int v) { q.SetSymbolSpaceUp(v); }, {-1, 65536, INT_MIN}},
        {"SymbolLeft", [](TQRCode& q, int v) { q.SetSymbolLeft(v); }, {-65536, INT_MAX}},
        {"SymbolTop", [](TQRCode& q, int v) { q.SetSymbolTop(v); }, {65536, INT_MIN}},
    };
    for (const auto& [name, set, rejected] : cases)
        for (const int value : rejected) {
            TQRCode q;  // every property away from its default, so that a clamp shows
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
            set(q, value);
            EXPECT_EQ(Properties(q), before) << name << " " << value;
            EXPECT_EQ(q.Picture(), picture) << name << " " << value;
        }
}

TEST(QrCode, UndecodableDataAndLoading) {
    TQRCode q;
    q.SetBinaryOperation(true);
    q.SetCode("bad~4");  // the decoding is abandoned and switched off
    EXPECT_FALSE(q.BinaryOperation());
    EXPECT_FALSE(q.Binary());
    EXPECT_EQ(q.Len(), 5);

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
    q.SetCode("");
    EXPECT_TRUE(q.SymbolDisped());  // an empty code paints a symbol without data
    EXPECT_FALSE(q.Picture().isNull());

    // A first symbol that fits does not make the painting a success when the next does not.
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
