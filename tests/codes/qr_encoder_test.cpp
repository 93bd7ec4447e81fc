// The encoder core: tables, segmenting, the bit stream and mask scoring. Whole symbols are
// checked by zbarimg in qr_zbar_test.cpp.
#include "codes/qr_encoder.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace pb::qr {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

EncodeOptions Opt(int version, int level, int mode = -1, int mask = -1,
                  std::optional<StructuredAppend> append = std::nullopt) {
    EncodeOptions o;
    o.version = version;
    o.level = level;
    o.mode = mode;
    o.mask = mask;
    o.append = append;
    return o;
}

// The data codewords as '0' and '1'.
std::string BitString(std::span<const std::uint8_t> bytes, int bits) {
    std::string out;
    for (int i = 0; i < bits; ++i) out += ((bytes[i / 8] >> (7 - i % 8)) & 1) ? '1' : '0';
    return out;
}
// Expected bits are written in groups (mode, count, data) for reading.
std::string NoSpaces(std::string s) {
    std::erase(s, ' ');
    return s;
}

// The tables themselves are checked by zbarimg reading symbols filled to capacity at every
// version and level (qr_zbar_test.cpp); here, arguments outside them fail fast.
TEST(QrTables, ArgumentsOutsideTheTablesThrow) {
    EXPECT_THROW(Version(0), std::invalid_argument);
    EXPECT_THROW(Version(41), std::invalid_argument);
    EXPECT_THROW(FormatWord(4, 0), std::invalid_argument);
    EXPECT_THROW(FormatWord(0, 8), std::invalid_argument);
    Encoder e;
    Symbol s;
    for (const auto& o : {Opt(0, kLevelL), Opt(41, kLevelL), Opt(1, 4), Opt(1, -1),
                          Opt(1, kLevelL, 4), Opt(1, kLevelL, -2), Opt(1, kLevelL, -1, 8),
                          Opt(1, kLevelL, -1, -1, StructuredAppend{2, 2, 0}),
                          Opt(1, kLevelL, -1, -1, StructuredAppend{0, 17, 0})})
        EXPECT_THROW(e.Encode(Bytes("1"), o, s), std::invalid_argument);
}

TEST(QrBitStream, ExactBitsUpToTheTerminator) {
    struct Case {
        const char* name;
        std::string data;
        EncodeOptions options;
        std::string bits;
    };
    const Case cases[] = {
        {"digits", "01234567", Opt(1, kLevelH), "0001 0000001000 0000001100 0101011001 1000011"},
        {"alphanumeric", "ABC123", Opt(1, kLevelL),
         "0010 000000110 00111001101 01000011101 00001011101"},
        {"lower case", "a", Opt(1, kLevelL), "0100 00000001 01100001"},
        {"fixed mode, empty", "", Opt(1, kLevelL, kAlphanumeric), "0010 000000000"},
    };
    Encoder e;
    for (const auto& c : cases) {
        ASSERT_EQ(e.BuildDataCodewords(Bytes(c.data), c.options), EncodeStatus::Ok) << c.name;
        EXPECT_EQ(BitString(e.dataCodewords(), e.dataBits()), NoSpaces(c.bits)) << c.name;
    }
}

TEST(QrBitStream, TerminatorAndPadCodewords) {
    using Words = std::vector<std::uint8_t>;
    Encoder e;
    auto words = [&e] { return Words(e.dataCodewords().begin(), e.dataCodewords().end()); };
    // 41 bits of digits at 1-H: four terminator bits, three bits to the byte, then pads.
    ASSERT_EQ(e.BuildDataCodewords(Bytes("01234567"), Opt(1, kLevelH)), EncodeStatus::Ok);
    EXPECT_EQ(words(), (Words{0x10, 0x20, 0x0C, 0x56, 0x61, 0x80, 0xEC, 0x11, 0xEC}));
    // An empty text in automatic mode is the terminator and pads only.
    ASSERT_EQ(e.BuildDataCodewords({}, Opt(1, kLevelH)), EncodeStatus::Ok);
    EXPECT_EQ(e.lastMode(), -1);
    EXPECT_EQ(words(), (Words{0x00, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11}));
}

TEST(QrBitStream, RefusesWhatDoesNotFitOrIsNotInTheMode) {
    struct Case {
        const char* name;
        std::string data;
        EncodeOptions options;
        EncodeStatus status;
    };
    const Case cases[] = {
        {"append header takes room", std::string(17, 'x'),
         Opt(1, kLevelL, -1, -1, StructuredAppend{0, 2, 0}), EncodeStatus::DoesNotFit},
        {"lower case in alphanumeric", "ABc", Opt(1, kLevelL, kAlphanumeric),
         EncodeStatus::NotInMode},
        {"odd byte in kanji", "\x93\x5F\x41", Opt(1, kLevelL, kKanji), EncodeStatus::NotInMode},
        {"second byte 7F", "\x93\x7F", Opt(1, kLevelL, kKanji), EncodeStatus::NotInMode},
        {"beyond 13 bits", "\xEB\xC0", Opt(1, kLevelL, kKanji), EncodeStatus::NotInMode},
        {"last 13-bit kanji", "\xEB\xBF", Opt(1, kLevelL, kKanji), EncodeStatus::Ok},
    };
    Encoder e;
    for (const auto& c : cases)
        EXPECT_EQ(e.BuildDataCodewords(Bytes(c.data), c.options), c.status) << c.name;
}

TEST(QrSegments, AutomaticRule) {
    struct Case {
        const char* name;
        std::string data;
        int version;
        std::vector<Segment> segments;
    };
    const Case cases[] = {
        // cost(A, 3) + cost(N, 3) = 30 + 24 is not below cost(A, 6) = 46
        {"letters then digits", "ABC123", 1, {{kAlphanumeric, 0, 6}}},
        {"many digits then letters",
         "0123456789012345ABC",
         1,
         {{kNumeric, 0, 16}, {kAlphanumeric, 16, 19}}},
        {"kanji then bytes", "\x93\x5F\xE4\xAA\x61", 1, {{kKanji, 0, 4}, {kByte, 4, 5}}},
        {"lead byte before a digit", "\x93\x31", 1, {{kByte, 0, 2}}},
        {"pair beyond 13 bits", "\xEB\xC0", 1, {{kByte, 0, 2}}},
        {"half-width katakana", "\xB1\xB2", 1, {{kByte, 0, 2}}},
        // Six digits between bytes: 28 + 34 + 12 < 76 keeps them apart at version 1, while
        // the wider count indicators of version 10 make it 36 + 36 + 20 >= 84.
        {"digits between bytes, version 1",
         "ab123456cd",
         1,
         {{kByte, 0, 2}, {kNumeric, 2, 8}, {kByte, 8, 10}}},
        {"digits between bytes, version 10", "ab123456cd", 10, {{kByte, 0, 10}}},
    };
    std::vector<Segment> out;
    for (const auto& c : cases) {
        AutoSegments(Bytes(c.data), c.version, out);
        EXPECT_EQ(out, c.segments) << c.name;
    }
}

// The penalty by its definition, module by module, to hold the packed-bit scoring against.
int NaivePenalty(const BitGrid& g) {
    const int n = g.size();
    int score = 0, dark = 0;
    auto at = [&](int line, int i, bool byRow) {
        return byRow ? g.dark(line, i) : g.dark(i, line);
    };
    static const bool kPattern[7] = {true, false, true, true, true, false, true};
    for (int byRow = 0; byRow < 2; ++byRow) {
        for (int line = 0; line < n; ++line) {
            for (int i = 1, run = 1; i <= n; ++i) {
                if (i < n && at(line, i, byRow) == at(line, i - 1, byRow)) {
                    ++run;
                } else {
                    if (run >= 5) score += 3 + run - 5;
                    run = 1;
                }
            }
            for (int i = 0; i + 7 <= n; ++i) {
                bool match =
                    (i == 0 || !at(line, i - 1, byRow)) && (i + 7 == n || !at(line, i + 7, byRow));
                for (int k = 0; k < 7 && match; ++k) match = at(line, i + k, byRow) == kPattern[k];
                if (match) score += 40;
            }
        }
    }
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c) {
            dark += g.dark(r, c);
            if (r + 1 < n && c + 1 < n && g.dark(r, c) == g.dark(r + 1, c) &&
                g.dark(r, c) == g.dark(r, c + 1) && g.dark(r, c) == g.dark(r + 1, c + 1))
                score += 3;
        }
    }
    return score + 10 * (std::abs(dark * 100 / (n * n) - 50) / 5);
}

BitGrid GridOf(const std::vector<std::string>& rows) {
    BitGrid g(static_cast<int>(rows.size()));
    for (int r = 0; r < g.size(); ++r)
        for (int c = 0; c < g.size(); ++c) g.set(r, c, rows[r][c] == '#');
    return g;
}

TEST(QrPenalty, HandCheckedMatrices) {
    // Rows and columns: 2 x 21 runs of 21 (19 each); 400 blocks; no dark: k = 10.
    EXPECT_EQ(Penalty(BitGrid(21)), 2 * 21 * 19 + 400 * 3 + 100);
    // One finder-like row with a light module (the edge) on each side: row runs 6 x 5,
    // column runs 2 x 5, 24 light blocks, 40 for the pattern, 5 of 49 dark: k = 8.
    EXPECT_EQ(Penalty(GridOf(
                  {".......", ".......", ".......", "#.###.#", ".......", ".......", "......."})),
              30 + 10 + 72 + 40 + 80);
}

TEST(QrPenalty, PackedScoringAgreesWithThePlainDefinition) {
    std::mt19937 rng(7);
    // Sizes around the 64-bit word boundaries.
    for (int size : {7, 21, 63, 64, 65, 127, 128, 129, 177}) {
        for (int density : {2, 5, 8}) {  // tenths dark: runs, blocks and patterns all occur
            BitGrid g(size);
            for (int r = 0; r < size; ++r)
                for (int c = 0; c < size; ++c) g.set(r, c, static_cast<int>(rng() % 10) < density);
            // A planted pattern at each edge of a row and a column.
            for (int k = 0; k < 7; ++k) {
                const bool dark = k != 1 && k != 5;
                g.set(0, k, dark);
                g.set(size - 1, size - 7 + k, dark);
                g.set(k, size - 1, dark);
            }
            EXPECT_EQ(Penalty(g), NaivePenalty(g)) << size << " " << density;
        }
    }
}

}  // namespace
}  // namespace pb::qr
