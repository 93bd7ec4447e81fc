#pragma once
// Text encodings at the edges of the program. Inside, text is UTF-8; files, records and the
// dictionary keep the system's code page 932 (Shift-JIS with the Windows extensions).

#include <cstddef>
#include <string>
#include <string_view>

namespace pb {

// UTF-8 to CP932. Characters CP932 lacks become '?' and set *lossless to false.
std::string Utf8ToCp932(std::string_view utf8, bool* lossless = nullptr);
// CP932 to UTF-8. Undecodable bytes become U+FFFD and set *lossless to false.
std::string Cp932ToUtf8(std::string_view cp932, bool* lossless = nullptr);
// True when every character of the UTF-8 text has a CP932 encoding.
bool EncodableInCp932(std::string_view utf8);

// CP932 bytes. A lead byte (0x81-0x9F, 0xE0-0xFC) starts a double-byte character whose second
// byte is a trail byte (0x40-0x7E, 0x80-0xFC); every other byte is a character of its own
// (ASCII, half-width katakana 0xA1-0xDF).
constexpr bool IsCp932LeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
constexpr bool IsCp932TrailByte(unsigned char b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}
// Length in bytes of the CP932 character that starts with byte `lead`: 2 or 1.
constexpr int Cp932CharLength(unsigned char lead) { return IsCp932LeadByte(lead) ? 2 : 1; }

// Character walks over CP932 text (all lengths and positions in bytes). A lead byte takes the
// byte after it whatever that is, as the system's own string routines do; a lead byte at the
// very end is a character of one byte.
// The length of the character at byte `pos` (< size): 2 or 1.
std::size_t Cp932CharLengthAt(std::string_view cp932, std::size_t pos);
// The number of characters.
std::size_t Cp932CharCount(std::string_view cp932);
// Byte length of the text without its last character (a double-byte character goes whole).
std::size_t Cp932WithoutLastChar(std::string_view cp932);
// The first `count` characters.
std::string_view Cp932Left(std::string_view cp932, std::size_t count);
// The largest character boundary not after `pos` (and not past the end).
std::size_t Cp932Boundary(std::string_view cp932, std::size_t pos);
// True when every lead byte has a trail byte after it and no byte is one CP932 never uses
// alone (0x80, 0xA0, 0xFD-0xFF).
bool IsWellFormedCp932(std::string_view cp932);

}  // namespace pb
