// The encoder core: tables, segmenting, the bit stream and mask scoring. Whole symbols are
// checked by zbarimg in qr_zbar_test.cpp.
#include "codes/qr_encoder.h"

#include <gtest/gtest.h>

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

TEST(QrBitStream, ExactBitsUpToTheTerminator) {
    const std::tuple<const char*, std::string, EncodeOptions, std::string> cases[] = {
        {"digits", "01234567", Opt(1, kLevelH), "0001 0000001000 0000001100 0101011001 1000011"},
        {"alphanumeric", "ABC123", Opt(1, kLevelL),
         "0010 000000110 00111001101 01000011101 00001011101"},
        {"lower case", "a", Opt(1, kLevelL), "0100 00000001 01100001"},
        {"fixed mode, empty", "", Opt(1, kLevelL, kAlphanumeric), "0010 000000000"},
    };
    Encoder e;
    for (const auto& [name, data, options, bits] : cases) {
        ASSERT_EQ(e.BuildDataCodewords(Bytes(data), options), EncodeStatus::Ok) << name;
        EXPECT_EQ(BitString(e.dataCodewords(), e.dataBits()), NoSpaces(bits)) << name;
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
    const std::tuple<const char*, std::string, EncodeOptions, EncodeStatus> cases[] = {
        {"lower case in alphanumeric", "ABc", Opt(1, kLevelL, kAlphanumeric),
         EncodeStatus::NotInMode},
        {"odd byte in kanji", "\x93\x5F\x41", Opt(1, kLevelL, kKanji), EncodeStatus::NotInMode},
        {"second byte 7F", "\x93\x7F", Opt(1, kLevelL, kKanji), EncodeStatus::NotInMode},
        {"beyond 13 bits", "\xEB\xC0", Opt(1, kLevelL, kKanji), EncodeStatus::NotInMode},
        {"last 13-bit kanji", "\xEB\xBF", Opt(1, kLevelL, kKanji), EncodeStatus::Ok},
    };
    Encoder e;
    for (const auto& [name, data, options, status] : cases)
        EXPECT_EQ(e.BuildDataCodewords(Bytes(data), options), status) << name;
}

TEST(QrSegments, AutomaticRule) {
    const std::tuple<const char*, std::string, int, std::vector<Segment>> cases[] = {
        // cost(A, 3) + cost(N, 3) = 30 + 24 is not below cost(A, 6) = 46
        {"letters then digits", "ABC123", 1, {{kAlphanumeric, 0, 6}}},
        {"many digits then letters",
         "0123456789012345ABC",
         1,
         {{kNumeric, 0, 16}, {kAlphanumeric, 16, 19}}},
        {"kanji then bytes", "\x93\x5F\xE4\xAA\x61", 1, {{kKanji, 0, 4}, {kByte, 4, 5}}},
        // Six digits between bytes: 28 + 34 + 12 < 76 keeps them apart at version 1, while
        // the wider count indicators of version 10 make it 36 + 36 + 20 >= 84.
        {"digits between bytes, version 1",
         "ab123456cd",
         1,
         {{kByte, 0, 2}, {kNumeric, 2, 8}, {kByte, 8, 10}}},
        {"digits between bytes, version 10", "ab123456cd", 10, {{kByte, 0, 10}}},
    };
    std::vector<Segment> out;
    for (const auto& [name, data, version, segments] : cases) {
        AutoSegments(Bytes(data), version, out);
        EXPECT_EQ(out, segments) << name;
    }
}

// A grid from rows of '#' (dark) and '.'.
BitGrid GridOf(const std::vector<std::string>& rows) {
    BitGrid g(static_cast<int>(rows.size()));
    for (int r = 0; r < g.size(); ++r)
        for (int c = 0; c < g.size(); ++c) g.set(r, c, rows[r][c] == '#');
    return g;
}

TEST(QrPenalty, HandCheckedMatrices) {
    // All light: 2n runs of n (n - 2 each), (n - 1)^2 blocks, no dark: k = 10. The sizes
    // cross the 64-bit words of the packed scoring.
    for (int n : {21, 64, 65, 129})
        EXPECT_EQ(Penalty(BitGrid(n)), 2 * n * (n - 2) + 3 * (n - 1) * (n - 1) + 100) << n;
    // One finder-like row with a light module (the edge) on each side: row runs 6 x 5,
    // column runs 2 x 5, 24 light blocks, 40 for the pattern, 5 of 49 dark: k = 8.
    EXPECT_EQ(Penalty(GridOf(
                  {".......", ".......", ".......", "#.###.#", ".......", ".......", "......."})),
              30 + 10 + 72 + 40 + 80);
}

}  // namespace
}  // namespace pb::qr
