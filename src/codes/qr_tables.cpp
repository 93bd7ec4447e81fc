#include "codes/qr_tables.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace pb::qr {

namespace {

// ISO/IEC 18004 Table 1: total codewords per version, and the remainder bits.
constexpr std::array<int, 41> kTotalCodewords = {
    0,    26,   44,   70,   100,  134,  172,  196,  242,  292,  346,  404,  466,  532,
    581,  655,  733,  815,  901,  991,  1085, 1156, 1258, 1364, 1474, 1588, 1706, 1828,
    1921, 2051, 2185, 2323, 2465, 2611, 2761, 2876, 3034, 3196, 3362, 3532, 3706};

int RemainderBits(int v) {
    if (v == 1) return 0;
    if (v <= 6) return 7;
    if (v <= 13) return 0;
    if (v <= 20) return 3;
    if (v <= 27) return 4;
    if (v <= 34) return 3;
    return 0;
}

// ISO/IEC 18004 Table 9: error correction codewords per block and number of blocks, per
// level (L, M, Q, H) and version (index 0 unused).
constexpr int kEcPerBlock[4][41] = {
    {0,  7,  10, 15, 20, 26, 18, 20, 24, 30, 18, 20, 24, 26, 30, 22, 24, 28, 30, 28, 28,
     28, 28, 30, 30, 26, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {0,  10, 16, 26, 18, 24, 16, 18, 22, 22, 26, 30, 22, 22, 24, 24, 28, 28, 26, 26, 26,
     26, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28},
    {0,  13, 22, 18, 26, 18, 24, 18, 22, 20, 24, 28, 26, 24, 20, 30, 24, 28, 28, 26, 30,
     28, 30, 30, 30, 30, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {0,  17, 28, 22, 16, 22, 28, 26, 26, 24, 28, 24, 28, 22, 24, 24, 30, 28, 28, 26, 28,
     30, 24, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
};
constexpr int kBlocks[4][41] = {
    {0, 1, 1, 1,  1,  1,  2,  2,  2,  2,  4,  4,  4,  4,  4,  6,  6,  6,  6,  7, 8,
     8, 9, 9, 10, 12, 12, 12, 13, 14, 15, 16, 17, 18, 19, 19, 20, 21, 22, 24, 25},
    {0,  1,  1,  1,  2,  2,  4,  4,  4,  5,  5,  5,  8,  9,  9,  10, 10, 11, 13, 14, 16,
     17, 17, 18, 20, 21, 23, 25, 26, 28, 29, 31, 33, 35, 37, 38, 40, 43, 45, 47, 49},
    {0,  1,  1,  2,  2,  4,  4,  6,  6,  8,  8,  8,  10, 12, 16, 12, 17, 16, 18, 21, 20,
     23, 23, 25, 27, 29, 34, 34, 35, 38, 40, 43, 45, 48, 51, 53, 56, 59, 62, 65, 68},
    {0,  1,  1,  2,  4,  4,  4,  5,  6,  8,  8,  11, 11, 16, 16, 18, 16, 19, 21, 25, 25,
     25, 34, 30, 32, 35, 37, 40, 42, 45, 48, 51, 54, 57, 60, 63, 66, 70, 74, 77, 81},
};

// ISO/IEC 18004 Annex E: row/column coordinates of the alignment pattern centres.
constexpr std::uint8_t kAlignment[41][7] = {
    {},
    {},
    {6, 18},
    {6, 22},
    {6, 26},
    {6, 30},
    {6, 34},
    {6, 22, 38},
    {6, 24, 42},
    {6, 26, 46},
    {6, 28, 50},
    {6, 30, 54},
    {6, 32, 58},
    {6, 34, 62},
    {6, 26, 46, 66},
    {6, 26, 48, 70},
    {6, 26, 50, 74},
    {6, 30, 54, 78},
    {6, 30, 56, 82},
    {6, 30, 58, 86},
    {6, 34, 62, 90},
    {6, 28, 50, 72, 94},
    {6, 26, 50, 74, 98},
    {6, 30, 54, 78, 102},
    {6, 28, 54, 80, 106},
    {6, 32, 58, 84, 110},
    {6, 30, 58, 86, 114},
    {6, 34, 62, 90, 118},
    {6, 26, 50, 74, 98, 122},
    {6, 30, 54, 78, 102, 126},
    {6, 26, 52, 78, 104, 130},
    {6, 30, 56, 82, 108, 134},
    {6, 34, 60, 86, 112, 138},
    {6, 30, 58, 86, 114, 142},
    {6, 34, 62, 90, 118, 146},
    {6, 30, 54, 78, 102, 126, 150},
    {6, 24, 50, 76, 102, 128, 154},
    {6, 28, 54, 80, 106, 132, 158},
    {6, 32, 58, 84, 110, 136, 162},
    {6, 26, 54, 82, 110, 138, 166},
    {6, 30, 58, 86, 114, 142, 170},
};

std::array<int, 4> CountBits(int v) {
    if (v <= 9) return {10, 9, 8, 8};
    if (v <= 26) return {12, 11, 16, 10};
    return {14, 13, 16, 12};
}

// Characters of one mode that fit into `bits` after the mode indicator and count.
int CharsInBits(int mode, int bits) {
    if (bits < 0) return 0;
    switch (mode) {
        case kNumeric: {
            const int rest = bits % 10;
            return bits / 10 * 3 + (rest >= 7 ? 2 : rest >= 4 ? 1 : 0);
        }
        case kAlphanumeric:
            return bits / 11 * 2 + (bits % 11 >= 6 ? 1 : 0);
        case kByte:
            return bits / 8;
        default:
            return bits / 13;
    }
}

std::uint32_t VersionWordOf(int v) {
    // BCH(18, 6) with the generator x^12 + x^11 + x^10 + x^9 + x^8 + x^5 + x^2 + 1.
    std::uint32_t rem = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 12; ++i) rem = (rem << 1) ^ ((rem >> 11) * 0x1F25);
    return static_cast<std::uint32_t>(v) << 12 | (rem & 0xFFF);
}

struct Tables {
    std::array<VersionInfo, 41> versions;
    Tables() {
        for (int v = kMinVersion; v <= kMaxVersion; ++v) {
            VersionInfo& info = versions[v];
            info.version = v;
            info.size = ModulesPerSide(v);
            info.totalCodewords = kTotalCodewords[v];
            info.remainderBits = RemainderBits(v);
            info.countBits = CountBits(v);
            for (int i = 0; i < 7 && kAlignment[v][i]; ++i) {
                info.alignment[i] = kAlignment[v][i];
                info.alignmentCount = i + 1;
            }
            info.versionWord = v >= 7 ? VersionWordOf(v) : 0;
            for (int level = 0; level < 4; ++level) {
                LevelInfo& li = info.levels[level];
                const int blocks = kBlocks[level][v];
                li.ecPerBlock = kEcPerBlock[level][v];
                li.dataCodewords = info.totalCodewords - blocks * li.ecPerBlock;
                li.shortBlockData = li.dataCodewords / blocks;
                li.longBlocks = li.dataCodewords % blocks;
                li.shortBlocks = blocks - li.longBlocks;
                for (int mode = 0; mode < 4; ++mode) {
                    const int countBits = info.countBits[mode];
                    const int fit = CharsInBits(mode, li.dataCodewords * 8 - 4 - countBits);
                    li.capacity[mode] = std::min(fit, (1 << countBits) - 1);
                }
            }
        }
    }
};

const Tables& AllTables() {
    static const Tables tables;
    return tables;
}

struct Generators {
    std::array<std::array<std::uint8_t, 30>, 31> logs{};
    Generators() {
        const GaloisField& gf = Field();
        for (int degree = 2; degree <= 30; ++degree) {
            // Coefficients of prod_{i<degree} (x - 2^i), highest power first, leading 1.
            std::array<std::uint8_t, 31> poly{};
            poly[0] = 1;
            for (int i = 0; i < degree; ++i) {
                const std::uint8_t root = gf.exp[i];
                for (int j = i + 1; j >= 1; --j) {
                    std::uint8_t product = 0;
                    if (poly[j - 1] && root) product = gf.exp[gf.log[poly[j - 1]] + gf.log[root]];
                    poly[j] ^= product;
                }
            }
            for (int j = 1; j <= degree; ++j) {
                if (!poly[j]) throw std::logic_error("qr: zero generator coefficient");
                logs[degree][j - 1] = static_cast<std::uint8_t>(gf.log[poly[j]]);
            }
        }
    }
};

}  // namespace

const VersionInfo& Version(int version) {
    if (!ValidVersion(version))
        throw std::invalid_argument("qr: version out of range: " + std::to_string(version));
    return AllTables().versions[version];
}

std::uint16_t FormatWord(int level, int mask) {
    if (!ValidLevel(level) || !ValidMask(mask))
        throw std::invalid_argument("qr: format word of a bad level or mask");
    static constexpr int kLevelCode[4] = {1, 0, 3, 2};  // L 01, M 00, Q 11, H 10
    const int data = kLevelCode[level] << 3 | mask;
    // BCH(15, 5) with the generator x^10 + x^8 + x^5 + x^4 + x^2 + x + 1.
    int rem = data;
    for (int i = 0; i < 10; ++i) rem = (rem << 1) ^ ((rem >> 9) * 0x537);
    return static_cast<std::uint16_t>((data << 10 | (rem & 0x3FF)) ^ 0x5412);
}

const GaloisField& Field() {
    static const GaloisField field = [] {
        GaloisField gf;
        int x = 1;
        for (int i = 0; i < 255; ++i) {
            gf.exp[i] = gf.exp[i + 255] = static_cast<std::uint8_t>(x);
            gf.log[x] = i;
            x <<= 1;
            if (x & 0x100) x ^= 0x11D;
        }
        gf.exp[510] = gf.exp[0];
        gf.exp[511] = gf.exp[1];
        return gf;
    }();
    return field;
}

const std::array<std::uint8_t, 30>& GeneratorLog(int degree) {
    if (degree < 2 || degree > 30) throw std::invalid_argument("qr: generator degree out of range");
    static const Generators generators;
    return generators.logs[degree];
}

}  // namespace pb::qr
