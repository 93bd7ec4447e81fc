#pragma once
// The overlay object record and its file "StrData" + n + ".txt" in the object folder.
// The file is CP932 text with CR LF line ends: line 0 the family ("1" decorated text or shape,
// anything else plain text), then 23 (plain) or 29 (decorated) value lines, then the text.
// Colours are decimal 0x00BBGGRR values, booleans "True"/"False", positions and sizes page
// pixels at 100 %, font sizes points.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/colour.h"
#include "platform/geometry.h"

namespace pb {

enum class ObjectFamily { Plain, Decorated };

constexpr int kPlainFieldLines = 23;
constexpr int kDecoratedFieldLines = 29;
// A record file holds at most 256 lines (the readers count them in one byte).
constexpr int kMaxRecordLines = 256;
constexpr int kMaxPlainTextLines = kMaxRecordLines - 1 - kPlainFieldLines;          // 232
constexpr int kMaxDecoratedTextLines = kMaxRecordLines - 1 - kDecoratedFieldLines;  // 226

struct ObjectRecord {
    ObjectFamily family = ObjectFamily::Plain;
    int Left = 0;
    int Top = 0;
    int FontSize = 10;  // decorated shapes: Width
    int Align = 2;      // decorated shapes: Height
    int FontIndex = 0;
    // Plain text only.
    TColor BackColor = clWhite;
    TColor FontColor = clBlack;
    int BackStyle = 0;  // 0 none, 1 SOLID, 2 STRIPE, 3 GRADATION
    // Decorated text and shapes only.
    int OutlineWidth = 1;
    int DeformMode = 1;  // 1 arch, 2 slant
    int DeformAmount = 0;
    std::string ImageFile;
    TColor FillColor = clWhite;
    TColor OutlineColor = clBlack;
    TColor ShadowColor = clSilver;
    int FillStyle = 10;
    bool Shadow = false;
    // Both.
    bool Horizontal = false;
    std::array<bool, 7> UseColor{};
    std::array<TColor, 7> Color{clWhite, clWhite, clWhite, clWhite, clWhite, clWhite, clWhite};
    std::string Text;  // UTF-8, lines separated by "\r\n"

    bool decorated() const { return family == ObjectFamily::Decorated; }
    int Width() const { return FontSize; }
    int Height() const { return Align; }
};

// Shape kind of a decorated record's text: the digit after "vrnSHAPE" (1 rectangle,
// 2 rounded rectangle, 3 ellipse), or 0 for a text.
int ShapeKind(const std::string& text);

// "StrData" + slot + ".txt" in `folder` (which ends with "/").
std::string ObjectFilePath(const std::string& folder, int slot);
// "tmp" + slot + ".bmp" in `folder`: the companion bitmap.
std::string CompanionBitmapPath(const std::string& folder, int slot);

enum class ReadStatus { Ok, Missing, Malformed };

// Reads slot's record. Missing: the file does not exist or is empty (the slot holds no
// object). Malformed: too few lines, a value that is not a number, or more lines than a
// record may hold; nothing is returned.
struct ReadResult {
    ReadStatus status = ReadStatus::Missing;
    std::optional<ObjectRecord> record;
};
ReadResult ReadObjectRecord(const std::string& folder, int slot);
// The record, or nothing for a missing or malformed file.
std::optional<ObjectRecord> ReadObject(const std::string& folder, int slot);

// Parses a record from its whole text (UTF-8). Exposed for tests and for the print pass.
ReadResult ParseObjectRecord(const std::string& text);

enum class WriteStatus {
    Written,
    TextTooLong,  // more text lines than the family's records hold: nothing written
    NotWritten,   // the file could not be written
};
// Writers: create (or overwrite) the slot's file with line 0, the family's value lines and the
// text.
WriteStatus WritePlainObject(const std::string& folder, int slot, const ObjectRecord& rec);
WriteStatus WriteDecoratedObject(const std::string& folder, int slot, const ObjectRecord& rec);
// The writer of the record's family.
WriteStatus WriteObject(const std::string& folder, int slot, const ObjectRecord& rec);
// The most text lines a record of rec's family holds.
int MaxTextLines(const ObjectRecord& rec);
// The file text the writers produce (UTF-8; CR LF line ends).
std::string FormatObjectRecord(const ObjectRecord& rec);

// Left and Top from the slot's file (lines 1 and 2), as the zoom code reads them. Nothing for a
// missing file or malformed lines.
std::optional<std::pair<int, int>> ReadObjectPosition(const std::string& folder, int slot);

// Writes an object's position into the slot's record: `shown` is its offset from the page at
// `zoom` percent, in screen pixels, stored as page pixels (shown * 100 / zoom, truncating);
// other fields unchanged. Nothing is written for a missing or malformed record or a zoom of
// zero or less, or when the stored position still shows at `shown`.
void SaveObjectPosition(const std::string& folder, int slot, Point shown, int zoom);

// Default values of new objects (page height in page pixels; a4 doubles the sizes). Texts
// take the default font index of the installed fonts, shapes index 0.
ObjectRecord NewPlainObject(int slot, int pageHeight, bool a4);
ObjectRecord NewDecoratedText(int slot, int pageHeight, bool a4);
ObjectRecord NewShapeObject(int slot, int pageHeight, bool a4);

// The first installed font whose name does not begin with "@" and holds a double-byte
// character; the last font when there is none.
int DefaultFontIndex(const std::vector<std::string>& fonts);

}  // namespace pb
