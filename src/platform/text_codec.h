#pragma once
// Text encodings at the edges of the program. Inside, text is UTF-8; files, records and the
// dictionary keep the system's code page 932 (Shift-JIS with the Windows extensions).

#include <string>
#include <string_view>

namespace pb {

// UTF-8 to CP932. Characters CP932 lacks become '?' and set *lossless to false.
std::string Utf8ToCp932(std::string_view utf8, bool* lossless = nullptr);
// CP932 to UTF-8. Undecodable bytes become U+FFFD and set *lossless to false.
std::string Cp932ToUtf8(std::string_view cp932, bool* lossless = nullptr);
// True when every character of the UTF-8 text has a CP932 encoding.
bool EncodableInCp932(std::string_view utf8);

// Length in bytes of the CP932 character that starts with byte `lead`: 2 for a lead byte of a
// double-byte character (0x81-0x9F, 0xE0-0xFC), otherwise 1.
constexpr int Cp932CharLength(unsigned char lead) {
    return ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) ? 2 : 1;
}

// Character counting on CP932 bytes: a lead byte takes the byte after it whatever that is,
// and a lead byte at the very end is a character of one byte.
// The number of characters of `cp932`.
std::size_t CountCp932Characters(std::string_view cp932);
// The byte length of the first `count` characters (the whole length when there are fewer).
std::size_t Cp932CharactersPrefix(std::string_view cp932, std::size_t count);

}  // namespace pb
