#include "platform/text_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

namespace pb {
namespace {

// "aあｱ" in CP932: one ASCII byte, a double-byte hiragana, a half-width katakana byte.
const std::string kMixed = "a\x82\xA0\xB1";

TEST(Cp932Bytes, CharacterWalks) {
    struct Case {
        std::string text;
        std::size_t chars;
        std::size_t withoutLast;
    };
    const Case cases[] = {
        {"", 0, 0},
        {kMixed, 3, 3},
        {"\x82\xA0\x82\xA2", 2, 2},
        {"ab\x82", 3, 2},        // a lead byte at the end stands alone
        {"\x82" "a", 1, 0},      // a lead byte takes whatever follows it
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Cp932CharCount(c.text), c.chars) << c.text;
        EXPECT_EQ(Cp932WithoutLastChar(c.text), c.withoutLast) << c.text;
    }
    // position -> boundary at or before it
    const std::pair<std::size_t, std::size_t> boundaries[] = {{0, 0}, {1, 1}, {2, 1}, {3, 3}, {9, 4}};
    for (const auto& [pos, boundary] : boundaries)
        EXPECT_EQ(Cp932Boundary(kMixed, pos), boundary) << pos;
    EXPECT_EQ(Cp932Left(kMixed, 2), "a\x82\xA0");
    EXPECT_EQ(Cp932Left(kMixed, 9), kMixed);
    EXPECT_EQ(Cp932Left(kMixed, 0), "");
}

TEST(Cp932Bytes, WellFormedText) {
    const std::pair<std::string, bool> cases[] = {
        {"", true},
        {kMixed, true},
        {"\x82", false},         // lead byte cut off
        {"\x82\x7F", false},     // not a trail byte
        {"\x80", false},         // never a character alone
        {"\xFD", false},
        {"\x88\x9F\xFC\xFC", true},
    };
    for (const auto& [text, ok] : cases) EXPECT_EQ(IsWellFormedCp932(text), ok) << text;
}

}  // namespace
}  // namespace pb
