#include "codes/qr_encoder.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>

namespace pb::qr {

namespace {

using Word = std::uint64_t;
constexpr int kW = Symbol::kWords;
constexpr std::size_t kLineWords = static_cast<std::size_t>(kMaxModules) * kW;

void SetBit(Word* lines, int line, int bit) {
    lines[static_cast<std::size_t>(line) * kW + (bit >> 6)] |= Word{1} << (bit & 63);
}
void PutBit(Word* lines, int line, int bit, bool on) {
    Word& w = lines[static_cast<std::size_t>(line) * kW + (bit >> 6)];
    const Word m = Word{1} << (bit & 63);
    w = on ? (w | m) : (w & ~m);
}

// ---------------------------------------------------------------------------------------
// Per-version template: function patterns, the modules free for data and the placement path.

struct VersionTemplate {
    int size = 0;
    std::array<Word, kLineWords> darkRows{};  // dark function modules
    std::array<Word, kLineWords> darkCols{};
    std::array<Word, kLineWords> freeRows{};  // data modules (neither function nor reserved)
    std::array<Word, kLineWords> freeCols{};
    // Data modules in placement order, row << 8 | column; remainder modules at the end.
    std::vector<std::uint16_t> path;
};

std::unique_ptr<VersionTemplate> BuildTemplate(int version) {
    const VersionInfo& vi = Version(version);
    const int n = vi.size;
    auto t = std::make_unique<VersionTemplate>();
    t->size = n;
    std::vector<std::uint8_t> function(static_cast<std::size_t>(n) * n, 0);
    std::vector<std::uint8_t> dark(static_cast<std::size_t>(n) * n, 0);
    auto put = [&](int r, int c, bool d) {
        function[r * n + c] = 1;
        dark[r * n + c] = d;
    };
    auto reserve = [&](int r, int c) { function[r * n + c] = 1; };

    // Timing patterns first; the finders and their separators overwrite the ends.
    for (int i = 0; i < n; ++i) {
        put(6, i, i % 2 == 0);
        put(i, 6, i % 2 == 0);
    }
    const int corners[3][2] = {{0, 0}, {0, n - 7}, {n - 7, 0}};
    for (const auto& corner : corners) {
        for (int dr = -1; dr <= 7; ++dr) {
            for (int dc = -1; dc <= 7; ++dc) {
                const int r = corner[0] + dr, c = corner[1] + dc;
                if (r < 0 || c < 0 || r >= n || c >= n) continue;
                const int dist = std::max(std::abs(dr - 3), std::abs(dc - 3));
                put(r, c, dist != 2 && dist != 4);  // ring 4 is the light separator
            }
        }
    }
    const int last = vi.alignmentCount - 1;
    for (int i = 0; i <= last; ++i) {
        for (int j = 0; j <= last; ++j) {
            if ((i == 0 && j == 0) || (i == 0 && j == last) || (i == last && j == 0)) continue;
            const int r = vi.alignment[i], c = vi.alignment[j];
            for (int dr = -2; dr <= 2; ++dr)
                for (int dc = -2; dc <= 2; ++dc)
                    put(r + dr, c + dc, std::max(std::abs(dr), std::abs(dc)) != 1);
        }
    }
    // Format information areas (light until the format word is placed) and the dark module.
    for (int i = 0; i <= 8; ++i) {
        reserve(8, i);
        reserve(i, 8);
    }
    for (int i = 0; i < 8; ++i) {
        reserve(8, n - 1 - i);
        reserve(n - 1 - i, 8);
    }
    put(n - 8, 8, true);
    if (version >= 7) {
        for (int i = 0; i < 18; ++i) {
            reserve(i / 3, n - 11 + i % 3);
            reserve(n - 11 + i % 3, i / 3);
        }
    }

    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c) {
            if (dark[r * n + c]) {
                SetBit(t->darkRows.data(), r, c);
                SetBit(t->darkCols.data(), c, r);
            }
            if (!function[r * n + c]) {
                SetBit(t->freeRows.data(), r, c);
                SetBit(t->freeCols.data(), c, r);
            }
        }
    }

    // Two-module-wide columns from the right, alternately upward and downward, skipping the
    // vertical timing column.
    t->path.reserve(static_cast<std::size_t>(vi.totalCodewords) * 8 + vi.remainderBits);
    for (int right = n - 1; right >= 1; right -= 2) {
        if (right == 6) right = 5;
        const bool upward = ((right + 1) & 2) == 0;
        for (int step = 0; step < n; ++step) {
            const int r = upward ? n - 1 - step : step;
            for (int k = 0; k < 2; ++k) {
                const int c = right - k;
                if (!function[r * n + c]) t->path.push_back(static_cast<std::uint16_t>(r << 8 | c));
            }
        }
    }
    if (static_cast<int>(t->path.size()) != vi.totalCodewords * 8 + vi.remainderBits)
        throw std::logic_error("qr: data modules of version " + std::to_string(version) +
                               " do not match its codeword count");
    return t;
}

const VersionTemplate& Template(int version) {
    static std::array<std::once_flag, kMaxVersion + 1> once;
    static std::array<std::unique_ptr<VersionTemplate>, kMaxVersion + 1> templates;
    std::call_once(once[version], [version] { templates[version] = BuildTemplate(version); });
    return *templates[version];
}

// ---------------------------------------------------------------------------------------
// Mask patterns of the largest symbol, by rows and by columns (a smaller symbol uses the
// top-left part; its free-module masks clear the rest).

bool MaskCondition(int mask, int i, int j) {
    switch (mask) {
        case 0:
            return (i + j) % 2 == 0;
        case 1:
            return i % 2 == 0;
        case 2:
            return j % 3 == 0;
        case 3:
            return (i + j) % 3 == 0;
        case 4:
            return (i / 2 + j / 3) % 2 == 0;
        case 5:
            return (i * j) % 2 + (i * j) % 3 == 0;
        case 6:
            return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
        default:
            return ((i + j) % 2 + (i * j) % 3) % 2 == 0;
    }
}

struct MaskPatterns {
    std::array<std::array<Word, kLineWords>, 8> rows{};
    std::array<std::array<Word, kLineWords>, 8> cols{};
};

const MaskPatterns& Masks() {
    static const auto patterns = [] {
        auto p = std::make_unique<MaskPatterns>();
        for (int m = 0; m < 8; ++m)
            for (int i = 0; i < kMaxModules; ++i)
                for (int j = 0; j < kMaxModules; ++j)
                    if (MaskCondition(m, i, j)) {
                        SetBit(p->rows[m].data(), i, j);
                        SetBit(p->cols[m].data(), j, i);
                    }
        return p;
    }();
    return *patterns;
}

// ---------------------------------------------------------------------------------------
// Penalty on packed lines. Bit j of a line is module j; bits at and beyond n are zero, which
// makes "outside the matrix" read as light.

template <int W>
struct Line {
    Word w[W];
};

// y[j] = x[j + k], 1 <= k <= 63.
template <int W>
inline Line<W> Next(const Line<W>& x, int k) {
    Line<W> y;
    for (int i = 0; i < W; ++i) y.w[i] = (x.w[i] >> k) | (i + 1 < W ? x.w[i + 1] << (64 - k) : 0);
    return y;
}
// y[j] = x[j - 1], y[0] = 0.
template <int W>
inline Line<W> Prev(const Line<W>& x) {
    Line<W> y;
    for (int i = 0; i < W; ++i) y.w[i] = (x.w[i] << 1) | (i > 0 ? x.w[i - 1] >> 63 : 0);
    return y;
}

template <int W>
Line<W> FirstBits(int count) {  // bits 0..count-1
    Line<W> v{};
    for (int i = 0; i < W; ++i) {
        const int bits = std::clamp(count - 64 * i, 0, 64);
        v.w[i] = bits == 64 ? ~Word{0} : (Word{1} << bits) - 1;
    }
    return v;
}

struct LineScores {
    int runs = 0;     // run points (3 + excess per run of 5 or more)
    int finders = 0;  // finder-like patterns
    int blocks = 0;   // uniform 2 x 2 blocks between consecutive lines
    int dark = 0;
};

// Scores n lines of stride kW, each line being base ^ (pattern & free) (pattern and free may
// be all zero).
template <int W>
LineScores ScoreLines(const Word* base, const Word* pattern, const Word* free, int n) {
    const Line<W> valid1 = FirstBits<W>(n - 1);  // positions with a right neighbour
    const Line<W> valid6 = FirstBits<W>(n - 6);  // positions where 7 modules fit
    LineScores s;
    Line<W> prevX{}, prevE{};
    for (int line = 0; line < n; ++line) {
        const std::size_t at = static_cast<std::size_t>(line) * kW;
        Line<W> x;
        for (int i = 0; i < W; ++i) x.w[i] = base[at + i] ^ (pattern[at + i] & free[at + i]);
        const Line<W> x1 = Next(x, 1), x2 = Next(x, 2), x3 = Next(x, 3), x4 = Next(x, 4);
        const Line<W> x5 = Next(x, 5), x6 = Next(x, 6), x7 = Next(x, 7), xp = Prev(x);
        Line<W> e;  // module j has the colour of module j + 1
        for (int i = 0; i < W; ++i) e.w[i] = ~(x.w[i] ^ x1.w[i]) & valid1.w[i];
        const Line<W> e1 = Next(e, 1), e2 = Next(e, 2), e3 = Next(e, 3);
        Line<W> f;  // module j starts five modules of one colour
        for (int i = 0; i < W; ++i) f.w[i] = e.w[i] & e1.w[i] & e2.w[i] & e3.w[i];
        const Line<W> fp = Prev(f);
        for (int i = 0; i < W; ++i) {
            // A run of length L >= 5 has L - 4 bits in f, one of them its first: L - 2 points.
            s.runs += std::popcount(f.w[i]) + 2 * std::popcount(f.w[i] & ~fp.w[i]);
            const Word finder = ~xp.w[i] & x.w[i] & ~x1.w[i] & x2.w[i] & x3.w[i] & x4.w[i] &
                                ~x5.w[i] & x6.w[i] & ~x7.w[i] & valid6.w[i];
            s.finders += std::popcount(finder);
            s.dark += std::popcount(x.w[i]);
            if (line > 0) s.blocks += std::popcount(e.w[i] & prevE.w[i] & ~(x.w[i] ^ prevX.w[i]));
        }
        prevX = x;
        prevE = e;
    }
    return s;
}

int CombinePenalty(const LineScores& rows, const LineScores& cols, int n) {
    const int total = n * n;
    const int k = std::abs(rows.dark * 100 / total - 50) / 5;
    return rows.runs + cols.runs + 3 * rows.blocks + 40 * (rows.finders + cols.finders) + 10 * k;
}

template <int W>
int PenaltyOf(const Word* baseRows, const Word* baseCols, const Word* patRows, const Word* patCols,
              const Word* freeRows, const Word* freeCols, int n) {
    const LineScores rows = ScoreLines<W>(baseRows, patRows, freeRows, n);
    const LineScores cols = ScoreLines<W>(baseCols, patCols, freeCols, n);
    return CombinePenalty(rows, cols, n);
}

int PenaltyDispatch(const Word* baseRows, const Word* baseCols, const Word* patRows,
                    const Word* patCols, const Word* freeRows, const Word* freeCols, int n) {
    if (n <= 64) return PenaltyOf<1>(baseRows, baseCols, patRows, patCols, freeRows, freeCols, n);
    if (n <= 128) return PenaltyOf<2>(baseRows, baseCols, patRows, patCols, freeRows, freeCols, n);
    return PenaltyOf<3>(baseRows, baseCols, patRows, patCols, freeRows, freeCols, n);
}

const std::array<Word, kLineWords>& ZeroLines() {
    static const std::array<Word, kLineWords> zero{};
    return zero;
}

// ---------------------------------------------------------------------------------------

class BitWriter {
  public:
    explicit BitWriter(std::uint8_t* out) : out_(out) {}
    // Appends the low `bits` bits of value (bits <= 24), most significant first.
    void Put(std::uint32_t value, int bits) {
        acc_ = acc_ << bits | value;
        pending_ += bits;
        while (pending_ >= 8) {
            pending_ -= 8;
            out_[bytes_++] = static_cast<std::uint8_t>(acc_ >> pending_);
        }
    }
    void AlignToByte() {
        if (pending_) Put(0, 8 - pending_);
    }
    int bytes() const { return bytes_; }

  private:
    std::uint8_t* out_;
    Word acc_ = 0;
    int pending_ = 0;
    int bytes_ = 0;
};

int DataBitsOf(int mode, int chars) {
    switch (mode) {
        case kNumeric:
            return chars / 3 * 10 + (chars % 3 == 2 ? 7 : chars % 3 == 1 ? 4 : 0);
        case kAlphanumeric:
            return chars / 2 * 11 + (chars % 2) * 6;
        case kByte:
            return chars * 8;
        default:
            return chars * 13;
    }
}

int KanjiValue(std::uint8_t lead, std::uint8_t trail) {
    return (lead - (lead <= 0x9F ? 0x81 : 0xC1)) * 0xC0 + (trail - 0x40);
}

void WriteSegment(BitWriter& w, const Segment& seg, std::span<const std::uint8_t> data,
                  int countBits) {
    static constexpr std::uint32_t kIndicator[4] = {0b0001, 0b0010, 0b0100, 0b1000};
    w.Put(kIndicator[seg.mode], 4);
    w.Put(static_cast<std::uint32_t>(seg.chars()), countBits);
    const std::uint8_t* p = data.data() + seg.begin;
    const std::uint8_t* end = data.data() + seg.end;
    switch (seg.mode) {
        case kNumeric:
            for (; end - p >= 3; p += 3)
                w.Put((p[0] - '0') * 100 + (p[1] - '0') * 10 + (p[2] - '0'), 10);
            if (end - p == 2) w.Put((p[0] - '0') * 10 + (p[1] - '0'), 7);
            if (end - p == 1) w.Put(p[0] - '0', 4);
            break;
        case kAlphanumeric:
            for (; end - p >= 2; p += 2)
                w.Put(AlphanumericValue(p[0]) * 45 + AlphanumericValue(p[1]), 11);
            if (end - p == 1) w.Put(AlphanumericValue(p[0]), 6);
            break;
        case kByte:
            for (; p < end; ++p) w.Put(*p, 8);
            break;
        default:
            for (; p < end; p += 2) w.Put(KanjiValue(p[0], p[1]), 13);
            break;
    }
}

void CheckOptions(const EncodeOptions& o) {
    if (!ValidVersion(o.version)) throw std::invalid_argument("qr: version out of range");
    if (!ValidLevel(o.level)) throw std::invalid_argument("qr: level out of range");
    if (o.mode < -1 || o.mode > 3) throw std::invalid_argument("qr: mode out of range");
    if (o.mask < -1 || o.mask > 7) throw std::invalid_argument("qr: mask out of range");
    if (o.append && (o.append->total < 2 || o.append->total > 16 || o.append->index < 0 ||
                     o.append->index >= o.append->total))
        throw std::invalid_argument("qr: structured append header out of range");
}

}  // namespace

// ---------------------------------------------------------------------------------------

int AlphanumericValue(std::uint8_t b) {
    if (b >= '0' && b <= '9') return b - '0';
    if (b >= 'A' && b <= 'Z') return b - 'A' + 10;
    switch (b) {
        case ' ':
            return 36;
        case '$':
            return 37;
        case '%':
            return 38;
        case '*':
            return 39;
        case '+':
            return 40;
        case '-':
            return 41;
        case '.':
            return 42;
        case '/':
            return 43;
        case ':':
            return 44;
        default:
            return -1;
    }
}

bool IsKanjiPair(std::uint8_t lead, std::uint8_t trail) {
    const bool leadOk = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEB);
    const bool trailOk = (trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC);
    // EBC0 and above would need a fourteenth bit.
    return leadOk && trailOk && !(lead == 0xEB && trail > 0xBF);
}

bool CarriesAll(int mode, std::span<const std::uint8_t> data) {
    switch (mode) {
        case kNumeric:
            return std::all_of(data.begin(), data.end(),
                               [](std::uint8_t b) { return b >= '0' && b <= '9'; });
        case kAlphanumeric:
            return std::all_of(data.begin(), data.end(),
                               [](std::uint8_t b) { return AlphanumericValue(b) >= 0; });
        case kByte:
            return true;
        case kKanji:
            if (data.size() % 2) return false;
            for (std::size_t i = 0; i < data.size(); i += 2)
                if (!IsKanjiPair(data[i], data[i + 1])) return false;
            return true;
        default:
            throw std::invalid_argument("qr: mode out of range");
    }
}

int SegmentCost(int mode, int chars, int version) {
    if (!ValidMode(mode) || chars < 0) throw std::invalid_argument("qr: bad segment");
    return 4 + Version(version).countBits[mode] + DataBitsOf(mode, chars);
}

void AutoSegments(std::span<const std::uint8_t> data, int version, std::vector<Segment>& out) {
    out.clear();
    const VersionInfo& vi = Version(version);
    const int len = static_cast<int>(data.size());
    auto cost = [&vi](int mode, int chars) {
        return 4 + vi.countBits[mode] + DataBitsOf(mode, chars);
    };
    // Class and width of the character starting at byte i.
    auto classAt = [&](int i, int& width) {
        const std::uint8_t b = data[i];
        if (i + 1 < len && IsKanjiPair(b, data[i + 1])) {
            width = 2;
            return static_cast<int>(kKanji);
        }
        width = 1;
        if (b >= '0' && b <= '9') return static_cast<int>(kNumeric);
        if (AlphanumericValue(b) >= 0) return static_cast<int>(kAlphanumeric);
        return static_cast<int>(kByte);
    };
    auto runEnd = [&](int i, int cls) {
        int width = 1;
        while (i < len && classAt(i, width) == cls) i += width;
        return i;
    };

    int pos = 0;
    while (pos < len) {
        int width = 1;
        const int m = classAt(pos, width);
        int end = runEnd(pos, m);
        int n = m == kKanji ? (end - pos) / 2 : end - pos;
        int segMode = m, segEnd = end;
        for (;;) {
            if (end >= len) {
                segEnd = end;
                break;
            }
            const int c = classAt(end, width);
            if (m == kKanji || c == kKanji) {
                segEnd = end;
                break;
            }
            const int runStop = runEnd(end, c);
            const int r = runStop - end;
            if (c > m) {
                if (cost(m, n) + cost(c, r) >= cost(c, n + r)) {
                    segMode = c;
                    segEnd = runStop;
                } else {
                    segEnd = end;
                }
                break;
            }
            const bool backToM = runStop < len && classAt(runStop, width) == m;
            const bool absorb = backToM ? cost(m, n) + cost(c, r) + cost(m, 0) >= cost(m, n + r)
                                        : cost(m, n) + cost(c, r) >= cost(m, n + r);
            if (!absorb) {
                segEnd = end;
                break;
            }
            n += r;
            end = runStop;
            if (backToM) {
                const int more = runEnd(end, m);
                n += more - end;
                end = more;
            }
        }
        out.push_back({segMode, pos, segEnd});
        pos = segEnd;
    }
}

// ---------------------------------------------------------------------------------------

BitGrid::BitGrid(int size)
    : size_(size),
      rows_(static_cast<std::size_t>(std::max(size, 0)) * kWords, 0),
      cols_(static_cast<std::size_t>(std::max(size, 0)) * kWords, 0) {
    if (size < 1 || size > kMaxModules) throw std::invalid_argument("qr: grid size out of range");
}

void BitGrid::set(int row, int col, bool dark) {
    if (row < 0 || col < 0 || row >= size_ || col >= size_)
        throw std::invalid_argument("qr: module outside the grid");
    PutBit(rows_.data(), row, col, dark);
    PutBit(cols_.data(), col, row, dark);
}

bool BitGrid::dark(int row, int col) const {
    if (row < 0 || col < 0 || row >= size_ || col >= size_)
        throw std::invalid_argument("qr: module outside the grid");
    return (rows_[static_cast<std::size_t>(row) * kWords + (col >> 6)] >> (col & 63)) & 1;
}

int Penalty(const BitGrid& grid) {
    const Word* zero = ZeroLines().data();
    return PenaltyDispatch(grid.rows(), grid.cols(), zero, zero, zero, zero, grid.size());
}

// ---------------------------------------------------------------------------------------

Encoder::Encoder() {
    data_.reserve(2956);
    codewords_.reserve(3706);
    ecc_.reserve(81 * 30);
}

EncodeStatus Encoder::BuildDataCodewords(std::span<const std::uint8_t> data,
                                         const EncodeOptions& options) {
    CheckOptions(options);
    const VersionInfo& vi = Version(options.version);
    const LevelInfo& li = vi.levels[options.level];
    const int capacity = li.dataCodewords * 8;

    if (options.mode < 0) {
        AutoSegments(data, options.version, segments_);
    } else {
        if (!CarriesAll(options.mode, data)) return EncodeStatus::NotInMode;
        segments_.assign(1, Segment{options.mode, 0, static_cast<int>(data.size())});
    }

    data_.assign(li.dataCodewords, 0);
    BitWriter w(data_.data());
    int used = 0;
    if (options.append) {
        w.Put(0b0011, 4);
        w.Put(static_cast<std::uint32_t>(options.append->index), 4);
        w.Put(static_cast<std::uint32_t>(options.append->total - 1), 4);
        w.Put(options.append->parity, 8);
        used = 20;
    }
    int lastMode = -1;
    for (const Segment& seg : segments_) {
        const int countBits = vi.countBits[seg.mode];
        const int cost = 4 + countBits + DataBitsOf(seg.mode, seg.chars());
        if (cost > capacity - used || seg.chars() >= (1 << countBits))
            return EncodeStatus::DoesNotFit;
        WriteSegment(w, seg, data, countBits);
        used += cost;
        lastMode = seg.mode;
    }
    dataBits_ = used;
    lastMode_ = lastMode;
    // Terminator, then zero bits to the byte boundary, then the pad codewords.
    w.Put(0, std::min(4, capacity - used));
    w.AlignToByte();
    for (int i = w.bytes(), k = 0; i < li.dataCodewords; ++i, ++k) data_[i] = (k % 2) ? 0x11 : 0xEC;
    return EncodeStatus::Ok;
}

void Encoder::AddErrorCorrection(const LevelInfo& li, int totalCodewords) {
    const int blocks = li.blocks();
    const int ec = li.ecPerBlock;
    const GaloisField& gf = Field();
    const auto& gen = GeneratorLog(ec);
    ecc_.assign(static_cast<std::size_t>(blocks) * ec, 0);
    auto blockStart = [&li](int b) {
        return b * li.shortBlockData + std::max(0, b - li.shortBlocks);
    };
    auto blockLength = [&li](int b) { return li.shortBlockData + (b >= li.shortBlocks ? 1 : 0); };

    for (int b = 0; b < blocks; ++b) {
        // Remainder of data(x) * x^ec divided by the generator, by a shift register.
        std::uint8_t* r = ecc_.data() + static_cast<std::size_t>(b) * ec;
        const std::uint8_t* d = data_.data() + blockStart(b);
        for (int i = 0, len = blockLength(b); i < len; ++i) {
            const std::uint8_t factor = d[i] ^ r[0];
            std::memmove(r, r + 1, ec - 1);
            r[ec - 1] = 0;
            if (factor) {
                const int lf = gf.log[factor];
                for (int j = 0; j < ec; ++j) r[j] ^= gf.exp[lf + gen[j]];
            }
        }
    }

    codewords_.resize(totalCodewords);
    int k = 0;
    const int longest = li.shortBlockData + (li.longBlocks ? 1 : 0);
    for (int i = 0; i < longest; ++i)
        for (int b = 0; b < blocks; ++b)
            if (i < blockLength(b)) codewords_[k++] = data_[blockStart(b) + i];
    for (int i = 0; i < ec; ++i)
        for (int b = 0; b < blocks; ++b)
            codewords_[k++] = ecc_[static_cast<std::size_t>(b) * ec + i];
    if (k != totalCodewords) throw std::logic_error("qr: block structure does not add up");
}

int Encoder::ChooseMask(int version) {
    const VersionTemplate& t = Template(version);
    const MaskPatterns& masks = Masks();
    int best = 0;
    for (int m = 0; m < 8; ++m) {
        penalties_[m] =
            PenaltyDispatch(baseRows_.data(), baseCols_.data(), masks.rows[m].data(),
                            masks.cols[m].data(), t.freeRows.data(), t.freeCols.data(), t.size);
        if (penalties_[m] < penalties_[best]) best = m;
    }
    return best;
}

EncodeStatus Encoder::Encode(std::span<const std::uint8_t> data, const EncodeOptions& options,
                             Symbol& symbol) {
    const EncodeStatus status = BuildDataCodewords(data, options);
    if (status != EncodeStatus::Ok) return status;
    const VersionInfo& vi = Version(options.version);
    AddErrorCorrection(vi.levels[options.level], vi.totalCodewords);

    const VersionTemplate& t = Template(options.version);
    const int n = t.size;
    const std::size_t words = static_cast<std::size_t>(n) * kW;
    std::copy_n(t.darkRows.begin(), words, baseRows_.begin());
    std::copy_n(t.darkCols.begin(), words, baseCols_.begin());
    const std::uint16_t* at = t.path.data();
    for (const std::uint8_t cw : codewords_) {
        for (int bit = 7; bit >= 0; --bit, ++at) {
            if ((cw >> bit) & 1) {
                const int r = *at >> 8, c = *at & 0xFF;
                SetBit(baseRows_.data(), r, c);
                SetBit(baseCols_.data(), c, r);
            }
        }
    }

    const int mask = options.mask >= 0 ? options.mask : ChooseMask(options.version);
    const auto& pattern = Masks().rows[mask];
    Word* out = symbol.rows_.data();
    for (std::size_t i = 0; i < words; ++i) out[i] = baseRows_[i] ^ (pattern[i] & t.freeRows[i]);
    std::fill(symbol.rows_.begin() + static_cast<std::ptrdiff_t>(words), symbol.rows_.end(), 0);

    const std::uint16_t format = FormatWord(options.level, mask);
    auto fbit = [format](int i) { return ((format >> i) & 1) != 0; };
    for (int i = 0; i <= 5; ++i) PutBit(out, i, 8, fbit(i));
    PutBit(out, 7, 8, fbit(6));
    PutBit(out, 8, 8, fbit(7));
    PutBit(out, 8, 7, fbit(8));
    for (int i = 9; i < 15; ++i) PutBit(out, 8, 14 - i, fbit(i));
    for (int i = 0; i < 8; ++i) PutBit(out, 8, n - 1 - i, fbit(i));
    for (int i = 8; i < 15; ++i) PutBit(out, n - 15 + i, 8, fbit(i));
    if (options.version >= 7) {
        for (int i = 0; i < 18; ++i) {
            const bool on = ((vi.versionWord >> i) & 1) != 0;
            PutBit(out, i / 3, n - 11 + i % 3, on);
            PutBit(out, n - 11 + i % 3, i / 3, on);
        }
    }
    symbol.version_ = options.version;
    symbol.size_ = n;
    symbol.mask_ = mask;
    symbol.lastMode_ = lastMode_;
    return EncodeStatus::Ok;
}

}  // namespace pb::qr
