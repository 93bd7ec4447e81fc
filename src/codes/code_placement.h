#pragma once
// Placing an EAN barcode or a QR code into the region editor's region: the size checks
// against the region, the module sizes, the capacity of an area, the QR version for a text,
// the drawing into the region and the version steps of the scanner test.
//
// Sizes are page pixels of the region. Texts to encode are CP932 bytes; characters are
// counted with a double-byte character as one, each rule over its own prefix of the bytes.
// Messages are UTF-8, ready for a message box; the screens show them, these functions never
// do. Arguments outside their stated ranges throw std::invalid_argument.

#include <functional>
#include <string>
#include <string_view>

#include "platform/bitmap.h"

namespace pb {

class TQRCode;

// A message box the screen shows for a refusal (UTF-8); an empty text means no message.
struct PlacementMessage {
    std::string_view text;
    std::string_view caption;
};

// ---- Barcode ----

constexpr int kBarcodeMinWidth = 100;  // page pixels
constexpr int kBarcodeMinHeight = 36;

enum class BarcodeRegionStatus {
    Ok,
    TooNarrow,  // "もうちょっと幅がほしい"
    TooLow,     // "もうちょっと高さがほしい"
};
// The width is checked before the height.
BarcodeRegionStatus CheckBarcodeRegion(int width, int height);

enum class ScannedCodeStatus {
    Ok,
    Empty,            // nothing typed or the box cancelled: stop without a message
    WrongLength,      // neither 8 nor 13 bytes
    WrongCheckDigit,  // not all digits, or the check digit does not match
};
// The text a scanner (or the keyboard) typed, in CP932 bytes: 8 or 13 digits whose last one
// is the check digit of the others.
ScannedCodeStatus CheckScannedCode(std::string_view cp932);

// Width of a bar module in pixels for a region `regionWidth` pixels wide: 1 below 200, else 2.
int BarcodeModuleWidth(int regionWidth);

// A white bitmap of width x height (both 1 or more) with the barcode of `code` (a checked
// code, see CheckScannedCode) drawn centred: bars over the upper two thirds, the digits under
// them in black at 8 points in the font family `fontFamily` (UTF-8). It replaces the region
// as it stands.
Bitmap DrawBarcodeRegion(int width, int height, std::string_view code,
                         const std::string& fontFamily);

PlacementMessage MessageFor(BarcodeRegionStatus status);
PlacementMessage MessageFor(ScannedCodeStatus status);

// ---- QR code: module size ----

constexpr int kQrMinModules = 21;    // modules per side of version 1
constexpr int kQrMaxVersion = 14;    // the largest version placed into a region
constexpr int kQrMaxModuleSize = 3;  // pixels

// The modules a region allows at `moduleSize` pixels (1..3): (smaller side div module size)
// x 5 div 9, leaving room for the quiet zone. Below kQrMinModules nothing fits.
int QrModulesOfRegion(int width, int height, int moduleSize = 1);

// The module sizes the size selection offers for a region: RadioButton1..RadioButton<choices>
// stand for module sizes 1..choices.
struct QrSizeChoice {
    int choices = 0;      // 0: the region is too narrow for any QR code ("狭すぎ")
    int preselected = 0;  // module size of the button selected at the start, 0 with no choice
    // Only the smallest size fits: GroupBox1 then says kQrNoSizeChoiceCaption.
    bool noRoomForChoice() const { return choices == 1; }
};
QrSizeChoice ChooseQrModuleSizes(int width, int height);

inline constexpr std::string_view kQrNoSizeChoiceCaption = "この面積だとサイズ選択の余地はなし";
inline constexpr std::string_view kQrTooNarrowText = "狭すぎ";
inline constexpr std::string_view kQrTooNarrowCaption = "NG";

// ---- QR code: capacity ----

// Characters of each kind a QR code holds at level H. The numeric and kanji columns are the
// QR capacities; the single-byte one is our own, the alphanumeric capacity of the version
// below (6 for version 1): it gives mixed texts room for their extra segments.
struct QrCapacity {
    int version = 0;  // 0..14; 0 and all capacities 0 when nothing fits
    int numeric = 0;
    int singleByte = 0;
    int kanji = 0;
};
// The capacity of version 1..14.
QrCapacity QrCapacityOfVersion(int version);
// The capacity of a region at `moduleSize` (1..3): with m := QrModulesOfRegion, version
// (m - 21) div 4 + 1 for m up to 72, version 14 from 73 on, nothing below 21.
QrCapacity AreaCapacity(int width, int height, int moduleSize);

// The keyboard's hint for a capacity: "上限 : 数字だけなら<numeric>文字､英数だったら
// <single-byte>文字、日本語は<kanji>文字(多少の計算違いは勘弁)" (one line).
std::string QrCapacityMessage(const QrCapacity& capacity);

// ---- QR code: text ----

enum class QrTextKind { Numeric, SingleByte, Kanji };
struct QrTextCount {
    QrTextKind kind = QrTextKind::Numeric;
    std::size_t characters = 0;
};
// Kind and characters of the first `prefixBytes` bytes of a text: digits only is numeric
// (so is the empty text), no double-byte character is single-byte, anything else kanji.
QrTextCount CountQrText(std::string_view cp932, std::size_t prefixBytes);
// The capacity of `capacity` for texts of `kind`.
int CapacityFor(const QrCapacity& capacity, QrTextKind kind);

constexpr std::size_t kQrMaxTextCharacters = 120;     // the keyboard hands over at most these
constexpr std::size_t kQrVersionPrefixBytes = 255;    // QrVersionForText counts over these
constexpr std::size_t kQrPlacementPrefixBytes = 468;  // PlaceQrCode counts over these

// The smallest version 1..14 whose capacity for the text's kind holds its characters (counted
// over the first 255 bytes); 0 for an empty text or one beyond version 14.
int QrVersionForText(std::string_view cp932);

// The smallest version from `from` (1..14) up to 14 that really encodes the text at level H
// in automatic mode; 0 when none does. Single-byte texts outside the alphanumeric set go as
// bytes, and the single-byte column overstates their room from version 4 on.
int QrVersionThatEncodes(std::string_view cp932, int from);

// ---- QR code: placement ----

// The QR component as the region editor holds it: module size 2, Match on, not transparent,
// drawing on. Everything else keeps the component's defaults.
void PrepareRegionQrCode(TQRCode& qr);

enum class QrPlacementStatus {
    Ok,
    TooManyCharacters,  // beyond the area's capacity for the text's kind: "文字多すぎ"
    LargerThanRegion,   // the symbol is wider or higher than the region
    NotEncoded,         // the text does not fit the version (the component drew nothing)
    SnapshotFailed,     // the undo snapshot failed: stop without a message
    NoVersion,          // hand-over only: empty or too long, the keyboard stays silently
};
PlacementMessage MessageFor(QrPlacementStatus status);

// Draws `text` as a QR code of `version` (1..14) at level H and qr.Pxmag() (1..3) into
// `region`, centred on white. The area's capacity counts the text over its first 468 bytes. The checks come first and a refusal leaves the region and the snapshot
// alone; then `snapshot` (when given) saves the region for undo, and only when it succeeds
// is the region replaced. `qr` keeps the version and text it was given.
QrPlacementStatus PlaceQrCode(Bitmap& region, TQRCode& qr, std::string_view cp932, int version,
                              const std::function<bool()>& snapshot);

// The keyboard's hand-over: the text cut to its first 120 characters, placed (with a
// snapshot) at the smallest version that holds it. On success `text` and `version` are what
// the scanner test starts with (Memo1, LabelVerNum and LabelVerMin).
struct QrHandOver {
    QrPlacementStatus status = QrPlacementStatus::NoVersion;
    std::string text;  // CP932
    int version = 0;
};
QrHandOver HandOverQrText(Bitmap& region, TQRCode& qr, std::string_view cp932,
                          const std::function<bool()>& snapshot);

// The scanner test's "↑" (direction 1) and "↓" (any other direction): `current` plus or minus
// `step`, kept within minimum..maximum.
int StepVersion(int current, int direction, int step, int maximum, int minimum);
// The same on a label's caption; a caption that is not a whole number counts as 0.
std::string StepVersion(std::string_view current, int direction, int step, int maximum,
                        int minimum);

}  // namespace pb
