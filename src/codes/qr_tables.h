#pragma once
// The constant tables of QR Code symbols (ISO/IEC 18004) for versions 1 to 40 and the four
// error correction levels, built once on first use and read-only afterwards (safe to read
// from any thread).
//
// Numbering used throughout the encoder: versions 1..40; levels 0 L, 1 M, 2 Q, 3 H (the
// order of the component's Eclevel property, not the two-bit format code); modes 0 numeric,
// 1 alphanumeric, 2 8-bit byte, 3 kanji.

#include <array>
#include <cstdint>

namespace pb::qr {

constexpr int kMinVersion = 1;
constexpr int kMaxVersion = 40;
constexpr int kMaxModules = 177;  // modules per side of version 40

enum Level : int { kLevelL = 0, kLevelM = 1, kLevelQ = 2, kLevelH = 3 };
enum Mode : int { kNumeric = 0, kAlphanumeric = 1, kByte = 2, kKanji = 3 };

constexpr bool ValidVersion(int v) {
    return v >= kMinVersion && v <= kMaxVersion;
}
constexpr bool ValidLevel(int level) {
    return level >= 0 && level <= 3;
}
constexpr bool ValidMode(int mode) {
    return mode >= 0 && mode <= 3;
}
constexpr bool ValidMask(int mask) {
    return mask >= 0 && mask <= 7;
}
constexpr int ModulesPerSide(int version) {
    return 17 + 4 * version;
}

// Error correction blocks of one level. The short blocks come first in the codeword order;
// a long block carries one data codeword more. Every block has ecPerBlock check codewords.
struct LevelInfo {
    int dataCodewords = 0;
    int ecPerBlock = 0;
    int shortBlocks = 0;
    int longBlocks = 0;
    int shortBlockData = 0;  // data codewords of a short block (long blocks: one more)
    // The largest number of characters of one mode that a single segment can carry in this
    // version and level (numeric digits, alphanumeric characters, bytes, kanji characters).
    std::array<int, 4> capacity{};
    int blocks() const { return shortBlocks + longBlocks; }
};

struct VersionInfo {
    int version = 0;
    int size = 0;                             // modules per side
    int totalCodewords = 0;                   // data and error correction codewords
    int remainderBits = 0;                    // light bits after the last codeword
    std::array<int, 4> countBits{};           // character count indicator width per mode
    std::array<std::uint8_t, 7> alignment{};  // alignment pattern centres (row = column set)
    int alignmentCount = 0;
    std::uint32_t versionWord = 0;  // 18-bit version information, 0 below version 7
    std::array<LevelInfo, 4> levels;
};

// The tables of a version. Throws std::invalid_argument outside 1..40.
const VersionInfo& Version(int version);

// The 15-bit format information of a level and mask, BCH-extended and XORed with 0x5412.
// Throws std::invalid_argument for a level outside 0..3 or a mask outside 0..7.
std::uint16_t FormatWord(int level, int mask);

// Galois field GF(256) with the polynomial x^8 + x^4 + x^3 + x^2 + 1 (0x11D), generator 2.
struct GaloisField {
    std::array<std::uint8_t, 512> exp{};  // doubled so that exp[a + b] needs no reduction
    std::array<int, 256> log{};           // log[0] unused
};
const GaloisField& Field();

// The Reed-Solomon generator polynomial of `degree` (2..30) as the logarithms of its
// coefficients from x^(degree-1) down to x^0 (the leading 1 is implied). Throws outside.
const std::array<std::uint8_t, 30>& GeneratorLog(int degree);

}  // namespace pb::qr
