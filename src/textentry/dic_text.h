#pragma once
// The text format of the dictionary sources in "DicData": comma-separated values with a header
// line naming the columns, CP932, CR LF line ends. A field is quoted when it holds a comma, a
// double quote or a line break; a quote inside a quoted field is doubled. Readers also take
// bare LF line ends and skip empty lines.
//
// CP932 trail bytes are never below 0x40, so comma, quote, CR and LF can be found byte by byte.

#include <string>
#include <string_view>
#include <vector>

namespace pb {

class DicTextReader {
  public:
    explicit DicTextReader(std::string_view bytes) : text_(bytes) {}

    // Reads the next record into `fields` (reusing its strings). False at the end. A quoted
    // field left open at the end of the text reads to the end and sets malformed().
    bool Next(std::vector<std::string>& fields);
    bool malformed() const { return malformed_; }
    // Bytes consumed so far (for progress).
    std::size_t position() const { return pos_; }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
    bool malformed_ = false;
};

// Appends one record and its CR LF to `out`.
void AppendDicTextRecord(std::string& out, const std::vector<std::string_view>& fields);
void AppendDicTextField(std::string& out, std::string_view field);

}  // namespace pb
