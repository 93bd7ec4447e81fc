#pragma once
// Character mappings of the Japanese locale on CP932 byte strings, as the keyboard and the
// dictionary use them. Each returns the whole mapped text, however long (no fixed buffer).
// Characters a mapping does not concern pass through unchanged; a lead byte left without its
// trail byte at the end is kept as it is.

#include <string>
#include <string_view>

#include "platform/text_codec.h"

namespace pb {

// Half-width katakana to full-width, a following ﾞ or ﾟ merged into the voiced or
// semi-voiced kana where CP932 has one (ｶﾞ -> ガ, ﾊﾟ -> パ, ｳﾞ -> ヴ); a mark that cannot merge
// becomes the stand-alone ゛ or ゜. ｰ becomes ー, the half-width punctuation ｡｢｣､･ its
// full-width form, and printable ASCII (space included) the full-width forms.
std::string ToFullWidth(std::string_view cp932);

// Full-width katakana to hiragana. ヴ, ヵ and ヶ stay: CP932 has no hiragana for them. ヽヾ
// become ゝゞ; everything else (ー, half-width kana, letters) is left alone.
std::string ToHiragana(std::string_view cp932);

// Full-width forms to half-width where CP932 has the half-width form: the full-width ASCII
// forms and the ideographic space, katakana (voiced ones split into kana and mark, ヴ -> ｳﾞ),
// ー, ゛゜ and the punctuation 。「」、・. Characters whose only narrow counterpart lies
// outside CP932 (￥, ￣, ￠, ヵ, hiragana...) stay as they are.
std::string ToHalfWidth(std::string_view cp932);

// Replaces the full-width digits, capital letters, < > + - @ and the ideographic space by
// their ASCII forms; nothing else (lower-case letters stay full-width).
std::string NarrowAscii(std::string_view cp932);

// Helpers on CP932 text (character counting lies with the codec, platform/text_codec.h).
// ASCII letters in lower case; every other byte (and double-byte character) unchanged.
std::string LowerAscii(std::string_view cp932);
// Without leading and trailing bytes up to the space (what the grids' click handlers use).
std::string_view TrimBlanks(std::string_view cp932);
std::string_view TrimRightBlanks(std::string_view cp932);

}  // namespace pb
