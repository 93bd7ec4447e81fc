#include "textentry/kana_mapping.h"

#include <array>
#include <unordered_map>
#include <vector>

#include "platform/text_codec.h"

namespace pb {

namespace {

using Code = unsigned;  // a CP932 character: the byte, or lead * 256 + trail

// Splits UTF-8 text into its characters.
std::vector<std::string> Utf8Chars(std::string_view s) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto lead = static_cast<unsigned char>(s[i]);
        const std::size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        out.emplace_back(s.substr(i, n));
        i += n;
    }
    return out;
}

Code CodeOf(std::string_view cp932) {
    if (cp932.size() == 1) return static_cast<unsigned char>(cp932[0]);
    return static_cast<unsigned char>(cp932[0]) * 256u + static_cast<unsigned char>(cp932[1]);
}

// The character at `i` and its length.
Code CharAt(std::string_view s, std::size_t i, std::size_t* length) {
    *length = Cp932CharLengthAt(s, i);
    return CodeOf(s.substr(i, *length));
}

// Pairs of equal-length UTF-8 character lists, mapped position by position.
void AddPairs(std::unordered_map<Code, std::string>& map, std::string_view from,
              std::string_view to) {
    const auto f = Utf8Chars(from);
    const auto t = Utf8Chars(to);
    for (std::size_t i = 0; i < f.size() && i < t.size(); ++i)
        map[CodeOf(Utf8ToCp932(f[i]))] = Utf8ToCp932(t[i]);
}

// Written as text so that a reader can check them; the order of the two strings of a pair
// matches character by character.
constexpr std::string_view kHalfKana =
    "｡｢｣､･ｦｧｨｩｪｫｬｭｮｯｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝﾞﾟ";
constexpr std::string_view kFullKana =
    "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノ"
    "ハヒフヘホマミムメモヤユヨラリルレロワン゛゜";
constexpr std::string_view kVoiceable = "ｳｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾊﾋﾌﾍﾎ";
constexpr std::string_view kVoiced = "ヴガギグゲゴザジズゼゾダヂヅデドバビブベボ";
constexpr std::string_view kSemiVoiceable = "ﾊﾋﾌﾍﾎ";
constexpr std::string_view kSemiVoiced = "パピプペポ";
constexpr std::string_view kKatakana =
    "ァアィイゥウェエォオカガキギクグケゲコゴサザシジスズセゼソゾタダチヂッツヅテデトド"
    "ナニヌネノハバパヒビピフブプヘベペホボポマミムメモャヤュユョヨラリルレロヮワヰヱヲン"
    "ヽヾ";
constexpr std::string_view kHiragana =
    "ぁあぃいぅうぇえぉおかがきぎくぐけげこごさざしじすずせぜそぞただちぢっつづてでとど"
    "なにぬねのはばぱひびぴふぶぷへべぺほぼぽまみむめもゃやゅゆょよらりるれろゎわゐゑをん"
    "ゝゞ";

struct Tables {
    std::array<std::string, 256> fullOfByte;           // single byte -> full-width CP932
    std::unordered_map<Code, std::string> voiced;      // half kana -> kana + ﾞ merged
    std::unordered_map<Code, std::string> semiVoiced;  // half kana -> kana + ﾟ merged
    std::unordered_map<Code, std::string> hiragana;
    std::unordered_map<Code, std::string> half;
    std::unordered_map<Code, char> narrow;

    Tables() {
        std::unordered_map<Code, std::string> kana;
        AddPairs(kana, kHalfKana, kFullKana);
        for (const auto& [code, full] : kana) fullOfByte[code] = full;
        fullOfByte[0x20] = Utf8ToCp932("\u3000");
        for (unsigned c = 0x21; c <= 0x7E; ++c) {
            // U+FF01..U+FF5E are the full-width forms of ! .. ~ in order.
            const unsigned u = 0xFF01 + (c - 0x21);
            const char utf8[] = {static_cast<char>(0xE0 | (u >> 12)),
                                 static_cast<char>(0x80 | ((u >> 6) & 0x3F)),
                                 static_cast<char>(0x80 | (u & 0x3F)), 0};
            bool ok = true;
            std::string full = Utf8ToCp932(utf8, &ok);
            fullOfByte[c] = ok ? full : std::string(1, static_cast<char>(c));
        }
        AddPairs(voiced, kVoiceable, kVoiced);
        AddPairs(semiVoiced, kSemiVoiceable, kSemiVoiced);
        AddPairs(hiragana, kKatakana, kHiragana);

        // Half-width: the inverse of the single-byte table, then the voiced kana as two bytes.
        for (unsigned c = 0x20; c <= 0xDF; ++c)
            if (!fullOfByte[c].empty() && fullOfByte[c].size() == 2)
                half[CodeOf(fullOfByte[c])] = std::string(1, static_cast<char>(c));
        const auto voiceable = Utf8Chars(kVoiceable);
        const auto voicedList = Utf8Chars(kVoiced);
        for (std::size_t i = 0; i < voiceable.size(); ++i)
            half[CodeOf(Utf8ToCp932(voicedList[i]))] = Utf8ToCp932(voiceable[i]) + "\xDE";
        const auto semi = Utf8Chars(kSemiVoiceable);
        const auto semiList = Utf8Chars(kSemiVoiced);
        for (std::size_t i = 0; i < semi.size(); ++i)
            half[CodeOf(Utf8ToCp932(semiList[i]))] = Utf8ToCp932(semi[i]) + "\xDF";

        const std::string_view wide =
            "１２３４５６７８９０ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ＜＞＋－＠"
            "\u3000";
        const std::string_view ascii = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ<>+-@ ";
        const auto w = Utf8Chars(wide);
        for (std::size_t i = 0; i < w.size(); ++i) narrow[CodeOf(Utf8ToCp932(w[i]))] = ascii[i];
    }
};

const Tables& T() {
    static const Tables tables;
    return tables;
}

constexpr unsigned char kVoicedMark = 0xDE;      // ﾞ
constexpr unsigned char kSemiVoicedMark = 0xDF;  // ﾟ

}  // namespace

std::string ToFullWidth(std::string_view s) {
    const Tables& t = T();
    std::string out;
    out.reserve(s.size() * 2);
    for (std::size_t i = 0; i < s.size();) {
        std::size_t n = 0;
        const Code c = CharAt(s, i, &n);
        if (n == 1 && !t.fullOfByte[c].empty()) {
            const auto next = i + 1 < s.size() ? static_cast<unsigned char>(s[i + 1]) : 0u;
            const auto* merge = next == kVoicedMark       ? &t.voiced
                                : next == kSemiVoicedMark ? &t.semiVoiced
                                                          : nullptr;
            if (merge) {
                if (const auto it = merge->find(c); it != merge->end()) {
                    out += it->second;
                    i += 2;
                    continue;
                }
            }
            out += t.fullOfByte[c];
        } else {
            out.append(s.substr(i, n));
        }
        i += n;
    }
    return out;
}

std::string ToHiragana(std::string_view s) {
    const Tables& t = T();
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        std::size_t n = 0;
        const Code c = CharAt(s, i, &n);
        const auto it = n == 2 ? t.hiragana.find(c) : t.hiragana.end();
        if (it != t.hiragana.end())
            out += it->second;
        else
            out.append(s.substr(i, n));
        i += n;
    }
    return out;
}

std::string ToHalfWidth(std::string_view s) {
    const Tables& t = T();
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        std::size_t n = 0;
        const Code c = CharAt(s, i, &n);
        const auto it = n == 2 ? t.half.find(c) : t.half.end();
        if (it != t.half.end())
            out += it->second;
        else
            out.append(s.substr(i, n));
        i += n;
    }
    return out;
}

std::string NarrowAscii(std::string_view s) {
    const Tables& t = T();
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        std::size_t n = 0;
        const Code c = CharAt(s, i, &n);
        const auto it = n == 2 ? t.narrow.find(c) : t.narrow.end();
        if (it != t.narrow.end())
            out += it->second;
        else
            out.append(s.substr(i, n));
        i += n;
    }
    return out;
}

std::string LowerAscii(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        std::size_t n = 0;
        const Code c = CharAt(s, i, &n);
        if (n == 1 && c >= 'A' && c <= 'Z')
            out += static_cast<char>(c + ('a' - 'A'));
        else
            out.append(s.substr(i, n));
        i += n;
    }
    return out;
}

std::string_view TrimRightBlanks(std::string_view s) {
    // Trail bytes are never below 0x40, so a blank at the end is a character of its own.
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 0x20) s.remove_suffix(1);
    return s;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 0x20) s.remove_prefix(1);
    return TrimRightBlanks(s);
}

}  // namespace pb
