#pragma once
// QR Code symbol encoder: data bytes to a module matrix, for a version and level chosen by
// the caller (the version is never raised to fit the data).
//
// The stages: segments (one fixed mode, or the automatic segmenting rule below) -> bit
// stream with mode indicators, character counts and an optional structured append header,
// terminator and pad codewords -> Reed-Solomon blocks and interleaving -> function patterns
// and module placement -> mask (fixed, or the lowest penalty of the eight) -> format and
// version information.
//
// Kanji mode takes Shift-JIS double-byte characters: a lead byte 81-9F or E0-EB and a second
// byte 40-7E or 80-FC. The pairs EBC0-EBFC lie beyond the 13 bits of a kanji character and
// are not carried in kanji mode (they go as bytes).
//
// Arguments out of their documented ranges throw std::invalid_argument; a broken internal
// invariant throws std::logic_error. Data that do not fit are an ordinary result.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "codes/qr_tables.h"

namespace pb::qr {

// Alphanumeric value (0..44) of a byte of the 45-character set, or -1.
int AlphanumericValue(std::uint8_t b);
// True when (lead, trail) is a double-byte character that kanji mode carries.
bool IsKanjiPair(std::uint8_t lead, std::uint8_t trail);
// True when every byte of `data` can be written in `mode` (kanji: whole pairs only).
bool CarriesAll(int mode, std::span<const std::uint8_t> data);

// Bits of a segment of `chars` characters in `mode` (0..3) at `version` (1..40): the 4-bit
// mode indicator, the character count and the data bits. chars >= 0.
int SegmentCost(int mode, int chars, int version);

struct Segment {
    int mode = kByte;
    int begin = 0;  // byte offsets into the data, end exclusive
    int end = 0;
    int chars() const { return mode == kKanji ? (end - begin) / 2 : end - begin; }
    friend bool operator==(const Segment&, const Segment&) = default;
};

// Cuts `data` into segments by the automatic rule. Character classes: numeric "0"-"9";
// alphanumeric the other characters of the 45-character set; kanji a pair as above; 8-bit
// every other byte. The classes are ordered numeric < alphanumeric < 8-bit, kanji apart.
// From the current position, with m the class of the first character and n the length of
// its run:
//  - at the end of the data, or when m or the class c of the next character is kanji, the
//    segment is the run in mode m;
//  - c wider than m: with r the length of the following run of c, the segment is n + r
//    characters in mode c when cost(m, n) + cost(c, r) >= cost(c, n + r), else the n in m;
//  - c narrower than m: the run of c (length r) is absorbed into m when it is followed by m
//    again and cost(m, n) + cost(c, r) + cost(m, 0) >= cost(m, n + r), or when it is followed
//    by anything else (the end included) and cost(m, n) + cost(c, r) >= cost(m, n + r);
//    after an absorption the scan goes on, otherwise the segment ends before the run.
// Costs are those of `version` (1..40). `out` is replaced.
void AutoSegments(std::span<const std::uint8_t> data, int version, std::vector<Segment>& out);

// Structured append header: this symbol's position in the sequence and the sequence's size
// and parity (the XOR of all data bytes of the sequence).
struct StructuredAppend {
    int index = 0;  // 0..15 (symbol number - 1)
    int total = 2;  // 2..16
    std::uint8_t parity = 0;
};

struct EncodeOptions {
    int version = 1;      // 1..40
    int level = kLevelL;  // 0..3
    int mode = -1;        // -1 automatic segmenting, else 0..3: the whole data in that mode
    int mask = -1;        // -1 automatic choice, else 0..7
    std::optional<StructuredAppend> append;
};

enum class EncodeStatus {
    Ok,
    DoesNotFit,  // a segment needs more bits than the data codewords have left
    NotInMode,   // a fixed mode cannot carry a byte of the data
};

// A square of packed modules, row by row, bit c of a row (word c / 64, bit c % 64) set for a
// dark module in column c. Bits beyond the last column are zero.
class Symbol {
  public:
    static constexpr int kWords = 3;  // 64-bit words per row, enough for 177 modules

    int version() const { return version_; }
    int size() const { return size_; }
    int mask() const { return mask_; }
    // Mode of the last segment written, -1 when the data were empty in automatic mode.
    int lastMode() const { return lastMode_; }
    // row, col in 0..size()-1.
    bool dark(int row, int col) const {
        return (rows_[static_cast<std::size_t>(row) * kWords + (col >> 6)] >> (col & 63)) & 1;
    }
    const std::uint64_t* row(int r) const { return rows_.data() + r * kWords; }

  private:
    friend class Encoder;
    int version_ = 0;
    int size_ = 0;
    int mask_ = -1;
    int lastMode_ = -1;
    std::array<std::uint64_t, kMaxModules * kWords> rows_{};
};

// A square matrix of dark and light modules kept both by rows and by columns, as the mask
// penalty reads it.
class BitGrid {
  public:
    static constexpr int kWords = Symbol::kWords;
    explicit BitGrid(int size);  // 1..177, all light
    int size() const { return size_; }
    void set(int row, int col, bool dark);
    bool dark(int row, int col) const;
    const std::uint64_t* rows() const { return rows_.data(); }
    const std::uint64_t* cols() const { return cols_.data(); }

  private:
    int size_;
    std::vector<std::uint64_t> rows_;
    std::vector<std::uint64_t> cols_;
};

// The mask penalty of a matrix, summed over:
//  - each run of 5 or more modules of one colour in a row or column: 3 + (length - 5);
//  - each 2 x 2 block of one colour (blocks overlap): 3;
//  - each dark-light-dark-dark-dark-light-dark in a row or column whose neighbours before
//    and after are light or outside the matrix: 40 (one light module each side suffices);
//  - the dark share: 10 x (|dark x 100 div total - 50| div 5).
int Penalty(const BitGrid& grid);

// Encodes symbols; keeps its working buffers between calls, so one encoder per thread.
class Encoder {
  public:
    Encoder();

    // Encodes `data` with `options` into `symbol` (left unchanged unless the result is Ok).
    EncodeStatus Encode(std::span<const std::uint8_t> data, const EncodeOptions& options,
                        Symbol& symbol);

    // The data stage alone: fills dataCodewords() with the bit stream, terminator and pad
    // codewords. Encode calls it first.
    EncodeStatus BuildDataCodewords(std::span<const std::uint8_t> data,
                                    const EncodeOptions& options);
    // The data codewords of the last successful data stage, and its number of bits before
    // the terminator.
    std::span<const std::uint8_t> dataCodewords() const { return data_; }
    int dataBits() const { return dataBits_; }
    // Mode of the last segment of the last data stage (-1: none written).
    int lastMode() const { return lastMode_; }
    // Penalties of the eight masks of the last automatic mask choice.
    const std::array<int, 8>& maskPenalties() const { return penalties_; }

  private:
    void AddErrorCorrection(const LevelInfo& level, int totalCodewords);
    int ChooseMask(int version);

    std::vector<std::uint8_t> data_;
    std::vector<std::uint8_t> codewords_;  // interleaved, data then error correction
    std::vector<std::uint8_t> ecc_;
    std::vector<Segment> segments_;
    int dataBits_ = 0;
    int lastMode_ = -1;
    std::array<int, 8> penalties_{};
    // The unmasked matrix by rows and by columns (function patterns and data bits).
    std::array<std::uint64_t, kMaxModules * Symbol::kWords> baseRows_{};
    std::array<std::uint64_t, kMaxModules * Symbol::kWords> baseCols_{};
};

}  // namespace pb::qr
