#include "textentry/skk_dictionary.h"

#include <optional>
#include <unordered_set>
#include <vector>

#include "platform/text_codec.h"
#include "textentry/dic_text.h"

namespace pb {

namespace {

constexpr std::string_view kOkuriNasiMarker = ";; okuri-nasi entries.";

bool IsHiraganaReading(std::string_view euc) {
    if (euc.empty() || euc.size() % 2) return false;
    for (std::size_t i = 0; i < euc.size(); i += 2) {
        const auto a = static_cast<unsigned char>(euc[i]);
        const auto b = static_cast<unsigned char>(euc[i + 1]);
        const bool hiragana = a == 0xA4 && b >= 0xA1 && b <= 0xF3;  // ぁ .. ん
        const bool prolonged = a == 0xA1 && b == 0xBC;              // ー
        if (!hiragana && !prolonged) return false;
    }
    return true;
}

// EUC-JP to CP932 by the JIS row and cell arithmetic: JIS X 0208 pairs and the half-width
// kana of code set 2. Nothing for JIS X 0212 (code set 3), broken sequences and control bytes.
std::optional<std::string> EucJpToCp932(std::string_view euc) {
    std::string out;
    out.reserve(euc.size());
    for (std::size_t i = 0; i < euc.size();) {
        const auto c1 = static_cast<unsigned char>(euc[i]);
        if (c1 < 0x80) {
            if (c1 < 0x20 || c1 == 0x7F) return std::nullopt;
            out += static_cast<char>(c1);
            ++i;
            continue;
        }
        if (i + 1 >= euc.size()) return std::nullopt;
        const auto c2 = static_cast<unsigned char>(euc[i + 1]);
        if (c1 == 0x8E) {
            if (c2 < 0xA1 || c2 > 0xDF) return std::nullopt;
            out += static_cast<char>(c2);
            i += 2;
            continue;
        }
        if (c1 < 0xA1 || c1 > 0xFE || c2 < 0xA1 || c2 > 0xFE) return std::nullopt;
        const unsigned j1 = c1 - 0x80, j2 = c2 - 0x80;
        const unsigned s1 = ((j1 + 1) >> 1) + (j1 <= 0x5E ? 0x70 : 0xB0);
        const unsigned s2 = j2 + ((j1 & 1) ? (j2 < 0x60 ? 0x1F : 0x20) : 0x7E);
        out += static_cast<char>(s1);
        out += static_cast<char>(s2);
        i += 2;
    }
    // The arithmetic reaches codes CP932 leaves unassigned (or gives to user characters).
    bool ok = true;
    Cp932ToUtf8(out, &ok);
    if (!ok) return std::nullopt;
    return out;
}

// `(concat "a" "b")` of plain string literals, decoded (\ooo octal, \\ and \"); nothing for
// any other form.
std::optional<std::string> DecodeConcat(std::string_view lisp) {
    constexpr std::string_view head = "(concat";
    if (lisp.substr(0, head.size()) != head || lisp.back() != ')') return std::nullopt;
    std::string_view rest = lisp.substr(head.size(), lisp.size() - head.size() - 1);
    std::string out;
    bool any = false;
    for (;;) {
        while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
            rest.remove_prefix(1);
        if (rest.empty()) break;
        if (rest.front() != '"') return std::nullopt;
        rest.remove_prefix(1);
        for (;;) {
            if (rest.empty()) return std::nullopt;
            const char c = rest.front();
            rest.remove_prefix(1);
            if (c == '"') break;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (rest.empty()) return std::nullopt;
            const char e = rest.front();
            if (e >= '0' && e <= '7') {
                unsigned value = 0;
                for (int k = 0;
                     k < 3 && !rest.empty() && rest.front() >= '0' && rest.front() <= '7'; ++k) {
                    value = value * 8 + static_cast<unsigned>(rest.front() - '0');
                    rest.remove_prefix(1);
                }
                if (value > 0xFF) return std::nullopt;
                out += static_cast<char>(value);
            } else if (e == '\\' || e == '"') {
                out += e;
                rest.remove_prefix(1);
            } else {
                return std::nullopt;
            }
        }
        any = true;
    }
    if (!any) return std::nullopt;
    return out;
}

// SKK evaluates a candidate as Lisp when it is longer than two bytes, starts with "(" followed
// by an ASCII character and ends with ")"; "(株)" is therefore a plain word.
bool LooksLikeLisp(std::string_view c) {
    return c.size() > 2 && c.front() == '(' && static_cast<unsigned char>(c[1]) < 0x80 &&
           c.back() == ')';
}

}  // namespace

std::string KanjiTextFromSkk(std::string_view euc, SkkImportStats* statsOut) {
    SkkImportStats stats;
    std::string out;
    out.reserve(euc.size() / 2);
    AppendDicTextRecord(out, {"Yomi", "Kanji"});

    std::unordered_set<std::string> seen;  // reading + '\0' + candidate, both CP932
    bool okuriNasi = false;
    std::size_t pos = 0;
    while (pos < euc.size()) {
        std::size_t end = euc.find('\n', pos);
        if (end == std::string_view::npos) end = euc.size();
        std::string_view line = euc.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        if (line.front() == ';') {
            if (line.substr(0, kOkuriNasiMarker.size()) == kOkuriNasiMarker) okuriNasi = true;
            continue;
        }
        if (!okuriNasi) continue;
        const std::size_t space = line.find(' ');
        if (space == std::string_view::npos) continue;
        const std::string_view readingEuc = line.substr(0, space);
        if (!IsHiraganaReading(readingEuc)) continue;
        const std::string reading = *EucJpToCp932(readingEuc);

        std::string_view rest = line.substr(space + 1);
        const std::size_t rowsBefore = stats.rows;
        while (!rest.empty()) {
            const std::size_t slash = rest.find('/');
            std::string_view candidate = rest.substr(0, slash);
            rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
            if (candidate.empty()) continue;
            candidate = candidate.substr(0, candidate.find(';'));
            std::optional<std::string> word;
            if (LooksLikeLisp(candidate)) {
                if (auto decoded = DecodeConcat(candidate)) word = EucJpToCp932(*decoded);
            } else if (!candidate.empty()) {
                word = EucJpToCp932(candidate);
            }
            if (!word || word->empty()) {
                ++stats.skippedCandidates;
                continue;
            }
            std::string key = reading;
            key += '\0';
            key += *word;
            if (!seen.insert(std::move(key)).second) {
                ++stats.duplicates;
                continue;
            }
            AppendDicTextRecord(out, {reading, *word});
            ++stats.rows;
        }
        if (stats.rows > rowsBefore) ++stats.readings;
    }
    if (statsOut) *statsOut = stats;
    return out;
}

}  // namespace pb
