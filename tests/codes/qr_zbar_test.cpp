// Symbols painted by TQRCode and read back by zbarimg, byte for byte.
//
// The sweep covers every version at every level once per data kind round: for version v and
// level l the data kind is (v + l) mod 4, so each version meets all four kinds and each
// level all four kinds over the versions. Each pair gets a symbol filled to exactly the
// capacity of its kind, the same data one byte longer (refused) and a mixed text that the
// segmenting rule cuts up; masks, module sizes, angles, mirroring and fixed modes rotate
// through the pairs.

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "codes/qr_code.h"
#include "support/test_support.h"
#include "zbar_reader.h"

namespace pb {
namespace {

// 8-bit bytes that are neither alphanumeric nor kanji lead bytes: control bytes, half-width
// katakana, and (half of them) lower case letters.
std::string ByteChars() {
    std::string bytes;
    for (int c = 1; c < 0x20; ++c) bytes += static_cast<char>(c);
    for (int c = 0xA1; c < 0xE0; ++c) bytes += static_cast<char>(c);
    for (int i = 0; i < 4; ++i) bytes += "abcdefghijklmnopqrstuvwxyz";
    return bytes;
}

// n characters of one kind: digits, alphanumerics without digits, ByteChars, or kanji (lead
// 88-9F or E0-EA, second byte 40-7E or 80-FC).
std::string Chars(std::mt19937& rng, int kind, int n) {
    static const std::string kPools[3] = {"0123456789",
                                          "ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:", ByteChars()};
    std::string s;
    for (int i = 0; i < n; ++i) {
        if (kind != qr::kKanji) {
            s += kPools[kind][rng() % kPools[kind].size()];
            continue;
        }
        const int lead = rng() % 2 ? 0x88 + rng() % 0x18 : 0xE0 + rng() % 11;
        const int trail = 0x40 + rng() % 0xBC;
        s += {static_cast<char>(lead), static_cast<char>(trail + (trail >= 0x7F))};
    }
    return s;
}

// Runs of all four kinds until about `bytes` bytes.
std::string MixedText(std::mt19937& rng, int bytes) {
    std::string s;
    while (static_cast<int>(s.size()) < bytes) {
        const int kind = static_cast<int>(rng() % 4);
        s += Chars(rng, kind, 1 + static_cast<int>(rng() % (kind == qr::kNumeric ? 30 : 12)));
    }
    return s.substr(0, bytes);
}

class QrZbar : public ::testing::Test {
  protected:
    void SetUp() override {
        REQUIRE_PROGRAMS("zbarimg");
    }
    // Keeps the picture (or with `pbm` the PBM text) of the current state for reading later.
    void Keep(TQRCode& q, const std::string& expected, const std::string& what, bool pbm = false) {
        files_.push_back(dir_.file("q" + std::to_string(files_.size()) + (pbm ? ".pbm" : ".pgm")));
        if (pbm) {
            std::ofstream out(files_.back());
            for (const auto& line : q.PBM()) out << line << "\n";
        } else {
            test::WritePgm(q.Picture(), files_.back(), q.Pxmag() == 1 ? 2 : 1);
        }
        expected_.push_back(expected);
        what_.push_back(what);
    }
    void ReadAll() {
        const std::vector<std::string> got = test::ZbarReadAll(files_, expected_);
        for (std::size_t i = 0; i < files_.size(); ++i)
            EXPECT_EQ(got[i], expected_[i]) << what_[i] << " (" << files_[i] << ")";
    }
    test::TempDir dir_;
    std::vector<std::string> files_, expected_, what_;
};

TEST_F(QrZbar, AllVersionsAndLevels) {
    std::mt19937 rng(18004);
    TQRCode q;
    q.SetMatch(true);
    for (int v = qr::kMinVersion; v <= qr::kMaxVersion; ++v) {
        for (int level = 0; level < 4; ++level) {
            const int index = (v - 1) * 4 + level;
            const int kind = (v + level) % 4;
            q.SetSymbolEnabled(false);
            q.SetVersion(v);
            q.SetEclevel(level);
            q.SetMasktype(index % 9 - 1);
            q.SetPxmag(1 + index % 3);
            q.SetAngle(90 * ((index / 3) % 4));
            q.SetReverse(index % 7 == 3);
            q.SetEmode(index % 5 == 0 ? kind : -1);
            const std::string what = "version " + std::to_string(v) + " level " +
                                     std::to_string(level) + " kind " + std::to_string(kind) +
                                     " mask " + std::to_string(q.Masktype()) + " emode " +
                                     std::to_string(q.Emode());

            const int capacity = qr::Version(v).levels[level].capacity[kind];
            const std::string full = Chars(rng, kind, capacity);
            q.SetCode(full);
            q.SetSymbolEnabled(true);
            ASSERT_TRUE(q.SymbolDisped()) << what;
            if (q.Masktype() >= 0) {
                EXPECT_EQ(q.MasktypeR(), q.Masktype()) << what;
            }
            Keep(q, full, what + " at capacity");

            // One byte more: refused, nothing painted over the previous picture.
            const Bitmap before = q.Picture();
            q.SetCode(full + (kind == qr::kKanji ? std::string("a") : Chars(rng, kind, 1)));
            EXPECT_FALSE(q.SymbolDisped()) << what;
            EXPECT_EQ(q.Picture(), before) << what;

            // A mixed text in automatic mode, shortened until it fits.
            q.SetEmode(-1);
            std::string mixed =
                MixedText(rng, qr::Version(v).levels[level].capacity[qr::kByte] * 3 / 4);
            q.SetCode(mixed);
            while (!q.SymbolDisped() && mixed.size() > 2) {
                mixed.resize(mixed.size() * 9 / 10);
                q.SetCode(mixed);
            }
            ASSERT_TRUE(q.SymbolDisped()) << what;
            Keep(q, q.Code(), what + " mixed");
        }
    }
    ReadAll();
}

TEST_F(QrZbar, StructuredAppendAndPlusMode) {
    TQRCode q;
    q.SetSymbolEnabled(false);
    q.SetMatch(true);
    q.SetVersion(4);
    q.SetEclevel(1);
    q.SetPxmag(2);
    std::mt19937 rng(3);
    const std::string text = "Structured append: " + MixedText(rng, 90) + " end";
    q.SetCode(text);
    q.SetMode(qrConnect);
    q.SetCount(3);
    q.SetColumn(3);
    q.SetSymbolEnabled(true);
    ASSERT_TRUE(q.SymbolDisped());
    ASSERT_EQ(q.Mode(), qrConnect);
    // zbar joins the symbols of one sequence by their header's position and total.
    Keep(q, text, "three symbols in a row");
    q.SetAngle(180);  // the last symbol now stands first in the picture
    Keep(q, text, "three symbols turned around");
    q.SetAngle(0);
    q.SetColumn(1);
    Keep(q, text, "three symbols in a column");

    // A lone member of a sequence is not a whole message: the header is there.
    Keep(q, "", "a lone member of a sequence", true);

    // Plus mode has no header: the first symbol alone reads as its own piece.
    const std::string many = MixedText(rng, 200);
    q.SetCode(many);
    q.SetCount(20);
    ASSERT_EQ(q.Mode(), qrPlus);
    ASSERT_TRUE(q.SymbolDisped());
    Keep(q, many.substr(0, q.Offsets()[1]), "first symbol of plus mode", true);

    // Kanji split over two symbols, the cut moved before a second byte.
    q.SetCount(1);
    q.SetMode(qrConnect);
    const std::string kanji = "AB" + Chars(rng, qr::kKanji, 10);
    q.SetCode(kanji);
    q.SetCount(2);
    ASSERT_EQ(q.Offsets(), (std::vector<int>{0, 10, 22}));
    Keep(q, kanji, "kanji over two symbols");
    ReadAll();
}

}  // namespace
}  // namespace pb
