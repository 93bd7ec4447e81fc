#include <gtest/gtest.h>

#include "textentry/kana_mapping.h"
#include "textentry_fixture.h"

namespace pb {
namespace {

using test::Cp;
using test::Utf;

struct HalfKana {
    const char* half;
    const char* alone;
    const char* voiced;      // followed by ﾞ
    const char* semiVoiced;  // followed by ﾟ
};

// Half-width katakana at the edges of the CP932 range and of each kind of voicing, alone and
// before each voicing mark.
constexpr HalfKana kHalfKana[] = {
    {"｡", "。", "。゛", "。゜"}, {"ｦ", "ヲ", "ヲ゛", "ヲ゜"}, {"ｧ", "ァ", "ァ゛", "ァ゜"},
    {"ｯ", "ッ", "ッ゛", "ッ゜"}, {"ｳ", "ウ", "ヴ", "ウ゜"},   {"ｶ", "カ", "ガ", "カ゜"},
    {"ﾄ", "ト", "ド", "ト゜"},   {"ﾅ", "ナ", "ナ゛", "ナ゜"}, {"ﾊ", "ハ", "バ", "パ"},
    {"ﾎ", "ホ", "ボ", "ポ"},     {"ﾏ", "マ", "マ゛", "マ゜"}, {"ﾝ", "ン", "ン゛", "ン゜"},
    {"ﾞ", "゛", "゛゛", "゛゜"}, {"ﾟ", "゜", "゜゛", "゜゜"},
};

TEST(KanaMapping, FullWidthOfHalfWidthKanaAloneAndBeforeMarks) {
    for (const auto& k : kHalfKana) {
        SCOPED_TRACE(k.half);
        EXPECT_EQ(Utf(ToFullWidth(Cp(k.half))), k.alone);
        EXPECT_EQ(Utf(ToFullWidth(Cp(std::string(k.half) + "ﾞ"))), k.voiced);
        EXPECT_EQ(Utf(ToFullWidth(Cp(std::string(k.half) + "ﾟ"))), k.semiVoiced);
        // Back to half width gives the keys that were typed.
        for (const char* mark : {"", "ﾞ", "ﾟ"}) {
            const std::string typed = Cp(std::string(k.half) + mark);
            EXPECT_EQ(Utf(ToHalfWidth(ToFullWidth(typed))), Utf(typed));
        }
    }
}

TEST(KanaMapping, Conversions) {
    struct Case {
        std::string (*map)(std::string_view);
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {ToFullWidth, "ｳﾞｧｲｵﾘﾝ", "ヴァイオリン"},
        {ToFullWidth, "ﾞｶﾞﾞ", "゛ガ゛"},  // a mark after a merged one stands alone
        {ToFullWidth, "az09 !\"#'\\~", "ａｚ０９\u3000！＂＃＇＼～"},
        {ToHiragana, "ァアィイゥウェエォオガギパピプペポッヮワヰヱヲン",
         "ぁあぃいぅうぇえぉおがぎぱぴぷぺぽっゎわゐゑをん"},
        {ToHiragana, "ヴヵヶー", "ヴヵヶー"},  // CP932 has no hiragana for them
        {ToHalfWidth, "ＡＢｃ１＄％＼～\u3000", "ABc1$%\\~ "},
        // Narrow forms outside CP932 (¥, ¯, ¢...) and kana without a half-width form stay.
        {ToHalfWidth, "￥￣￠￡ヵヶヮヰヱかなΑА①", "￥￣￠￡ヵヶヮヰヱかなΑА①"},
        {NarrowAscii, "０１８９ＡＢＹＺ", "0189ABYZ"},
        {NarrowAscii, "ａｂｃ！＃カナ", "ａｂｃ！＃カナ"},  // nothing else is touched
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(Utf(c.map(Cp(c.in))), c.out);
    }
}

TEST(KanaMapping, CharactersAreWalkedWholeNotByteByByte) {
    // "ソ" is 83 5C: its trail byte is the ASCII backslash, and "ー" (81 5B) holds '['.
    EXPECT_EQ(Utf(ToFullWidth(Cp("ソー\\"))), "ソー＼");
    // A trail byte 0x82 followed by 'W' must not read as the full-width "Ｗ" (82 57).
    const std::string tricky = Cp("ｂ") + "W";  // 82 82 57
    EXPECT_EQ(NarrowAscii(tricky), tricky);
    // A lead byte without its trail byte at the end is kept.
    EXPECT_EQ(ToHiragana(std::string("\x83", 1)), std::string("\x83", 1));
}

}  // namespace
}  // namespace pb
