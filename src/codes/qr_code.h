#pragma once
// TQRCode: the QR code picture component. It turns its text Code (Shift-JIS bytes) into one
// or more QR symbols and paints them into its picture. Every property change repaints at
// once, so the picture always shows the current Code under the current settings, or (when
// encoding failed) the previous picture or a cleared one (ClearOption); SymbolDisped tells
// whether the last painting succeeded.
//
// The component is not a widget: it owns a picture (a Bitmap) and a control size, which the
// screen that hosts it shows or copies. Setters that reject a value leave the property
// unchanged silently. The consistency checks of the split table throw QRCodeError
// ("Illegal <name> : <value>") from the painting, and so from the setter that repainted.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "codes/qr_encoder.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/colour.h"
#include "platform/recording.h"

namespace pb {

// A fixed underlying type makes converting any int to them defined, so the setters can refuse
// what lies outside the values (without one, a number beyond the values is undefined).
enum TQRMode : int { qrSingle, qrConnect, qrPlus };
enum TNumbering : int { nbrNone, nbrHead, nbrTail, nbrIfVoid };
enum TLocation : int { locLeft, locCenter, locRight };
enum TPictures : int { picBMP, picEMF, picWMF };

// Why the last painting failed.
enum class QrPaintFailure {
    None,
    DataDoNotFit,     // a piece does not fit Version and Eclevel in the mode, or is too long
    PictureTooLarge,  // the picture would exceed the largest bitmap popboard reads back
    NoRoom,           // with Match, a corner left of or above the picture would cut symbols off
};

class QRCodeError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

constexpr int kQrMaxCount = 1024;       // symbols of one Code
constexpr int kQrMaxPieceBytes = 7089;  // a longer piece stops the painting
// Margins around a symbol and the corner of the symbol area, in pixels: a margin in
// 0..kQrMaxSpace, a corner coordinate in -kQrMaxSpace..kQrMaxSpace (65535, the longest side a
// picture may have, so that sums of sizes stay far inside int).
constexpr int kQrMaxSpace = 65535;

// Data bytes from Code with BinaryOperation: "~hh..~" runs become the bytes they spell and
// "~~" one tilde. A tilde without partner, an odd number of characters between tildes or a
// pair that is not hexadecimal makes the decoding fail (ok false). The second byte of a
// double-byte character is never taken for a tilde.
struct TildeHexResult {
    bool ok = false;
    bool binary = false;  // a decoded control byte other than TAB, LF, CR
    std::string bytes;
};
TildeHexResult DecodeTildeHex(std::string_view code);

// The split of Len data bytes into Count pieces: Offset[0..Count], piece i from Offset[i-1]
// to Offset[i]. A cut never falls on the second byte of a double-byte character.
struct QrSplit {
    int count = 1;
    TQRMode mode = qrSingle;
    std::vector<int> offsets;
};
// `count` is the requested number of symbols (clamped into 1..1024 and to Len), `mode` the
// requested one; the result's mode follows the count (1 single, 17 and more plus, otherwise
// single becomes connect).
QrSplit SplitQrData(std::span<const std::uint8_t> data, int count, TQRMode mode);
// Throws QRCodeError for an inconsistent table: "Illegal Len", "Count", "Mode", "Column" or
// "Offset[i]", followed by " : " and the offending value.
void CheckQrSplit(int len, int count, int mode, int column, std::span<const int> offsets);

// A comment with the symbol number n added by the numbering rule.
std::string NumberedComment(const std::string& comment, TNumbering numbering, int n);

// The turn and mirror of the finished picture (TurnBitmap, MirrorBitmap) for a recorded
// drawing: a new recording whose size follows the turn. Text becomes its glyph outlines (over
// its opaque cell when it had one), since a recorded text call can only run left to right.
// Handles what symbols are drawn with (line, polyline, rectangle and ellipse outlines and
// fills, text, paths); a recording holding a bitmap stretch or a rounded rectangle is a
// programming error.
std::unique_ptr<Recording> TurnRecording(const Recording& src, int angle, bool mirror);

class TQRCode {
  public:
    // sender, and true while the change comes from the clipboard watch
    using Event = std::function<void(TQRCode& sender, bool watch)>;

    TQRCode();
    ~TQRCode();
    TQRCode(const TQRCode&) = delete;
    TQRCode& operator=(const TQRCode&) = delete;

    // The control's size (the picture of an empty bitmap gets it; Match sets it).
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetSize(int width, int height);

    // While loading, Code is stored and painted without rebuilding the data bytes and
    // without events, and BinaryOperation is only stored; EndLoading rebuilds and repaints.
    void BeginLoading() { loading_ = true; }
    void EndLoading();

    const std::string& Code() const { return code_; }
    void SetCode(const std::string& cp932);
    int Len() const { return static_cast<int>(data_.size()); }
    bool Binary() const { return binary_; }
    bool BinaryOperation() const { return binaryOperation_; }
    void SetBinaryOperation(bool on);
    const std::vector<std::uint8_t>& DataBytes() const { return data_; }

    TQRMode Mode() const { return mode_; }
    void SetMode(TQRMode mode);
    int Count() const { return count_; }
    void SetCount(int count);  // 1..1024
    int Column() const { return column_; }
    void SetColumn(int column);  // 1..1024
    std::uint8_t Parity() const { return parity_; }
    // The split table of the last painting (Count + 1 offsets).
    const std::vector<int>& Offsets() const { return offsets_; }

    TNumbering Numbering() const { return numbering_; }
    void SetNumbering(TNumbering numbering);
    const std::string& CommentUp() const { return commentUp_; }  // UTF-8
    void SetCommentUp(const std::string& text);
    TLocation CommentUpLoc() const { return commentUpLoc_; }
    void SetCommentUpLoc(TLocation loc);
    const std::string& CommentDown() const { return commentDown_; }
    void SetCommentDown(const std::string& text);
    TLocation CommentDownLoc() const { return commentDownLoc_; }
    void SetCommentDownLoc(TLocation loc);

    // Sizes in pixels: one symbol with its 4-module quiet zone, with its margins, and all.
    int SymbolWidth() const { return (qr::ModulesPerSide(version_) + 8) * pxmag_; }
    int SymbolHeight() const { return SymbolWidth(); }
    int SymbolWidthS() const { return SymbolWidth() + symbolSpaceLeft_ + symbolSpaceRight_; }
    int SymbolHeightS() const { return SymbolHeight() + symbolSpaceUp_ + symbolSpaceDown_; }
    int SymbolWidthA() const { return SymbolWidthS() * std::min(count_, column_); }
    int SymbolHeightA() const { return SymbolHeightS() * ((count_ + column_ - 1) / column_); }
    int QuietZone() const { return 4 * pxmag_; }

    int SymbolLeft() const { return symbolLeft_; }
    void SetSymbolLeft(int left);  // -kQrMaxSpace..kQrMaxSpace
    int SymbolTop() const { return symbolTop_; }
    void SetSymbolTop(int top);  // -kQrMaxSpace..kQrMaxSpace
    int SymbolSpaceUp() const { return symbolSpaceUp_; }
    void SetSymbolSpaceUp(int pixels);  // 0..kQrMaxSpace, as the three below
    int SymbolSpaceDown() const { return symbolSpaceDown_; }
    void SetSymbolSpaceDown(int pixels);
    int SymbolSpaceLeft() const { return symbolSpaceLeft_; }
    void SetSymbolSpaceLeft(int pixels);
    int SymbolSpaceRight() const { return symbolSpaceRight_; }
    void SetSymbolSpaceRight(int pixels);

    int Version() const { return version_; }
    void SetVersion(int version);  // 1..40, never raised to fit the data
    int Emode() const { return emode_; }
    void SetEmode(int mode);  // -1 automatic, 0 numeric, 1 alphanumeric, 2 8-bit, 3 kanji
    int EmodeR() const { return emodeR_; }
    int Eclevel() const { return eclevel_; }
    void SetEclevel(int level);  // 0 L, 1 M, 2 Q, 3 H
    int Masktype() const { return masktype_; }
    void SetMasktype(int mask);  // -1 automatic, 0..7
    int MasktypeR() const { return masktypeR_; }
    // Characters of mode EmodeR (alphanumeric while it is -1) that Count symbols hold; in
    // qrConnect mode each symbol also carries the 20-bit structured append header.
    int Capacity() const;

    int Pxmag() const { return pxmag_; }
    void SetPxmag(int pixels);  // 1..10
    int Angle() const { return angle_; }
    void SetAngle(int degrees);  // 0, 90, 180, 270 (clockwise)
    bool Reverse() const { return reverse_; }
    void SetReverse(bool on);

    // The symbols as plain PBM text: "P1", a comment line with the mode and Count, "W W",
    // then per symbol two empty lines and W rows of " 0"/" 1" (W = SymbolWidth). Splits as
    // the painting does (and may throw as it does); stops at a symbol that does not fit.
    std::vector<std::string> PBM();

    bool Match() const { return match_; }
    void SetMatch(bool on);
    const Font& ComFont() const { return comFont_; }
    void SetComFont(const Font& font);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);
    TColor SymbolColor() const { return symbolColor_; }
    void SetSymbolColor(TColor colour);
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor colour);
    TPictures SymbolPicture() const { return symbolPicture_; }
    void SetSymbolPicture(TPictures kind);
    bool SymbolEnabled() const { return symbolEnabled_; }
    void SetSymbolEnabled(bool on);
    bool SymbolDebug() const { return symbolDebug_; }
    void SetSymbolDebug(bool on);
    bool SymbolDisped() const { return symbolDisped_; }
    // Why SymbolDisped is false after a painting (None after a successful one). A picture
    // larger than the picture readers accept (kMaxPictureSide a side, kMaxPicturePixels in
    // all, platform/picture_io.h) is never made.
    QrPaintFailure PaintFailure() const { return paintFailure_; }
    bool ClearOption() const { return clearOption_; }
    void SetClearOption(bool on);
    bool ClipWatch() const { return clipWatch_; }
    void SetClipWatch(bool on);

    Event OnChangeCode, OnChangedCode, OnPaintSymbol, OnPaintedSymbol;

    // The painted picture; empty after Clear. With Match and a metafile SymbolPicture it is
    // the metafile played back at its own size.
    const Bitmap& Picture() const { return picture_; }
    // The metafile picture of the last painting when that painting went to a metafile
    // (Match with SymbolPicture picEMF or picWMF); nothing otherwise and after Clear.
    const Recording* Metafile() const { return metafile_.get(); }
    void Repaint();
    void Clear();
    // Puts the picture on the system clipboard (nothing when it is empty): the bitmap, and
    // with a metafile picture also the metafile as "image/emf".
    void CopyToClipboard();
    // Takes the clipboard's text as Code when the clipboard holds text.
    void PasteFromClipboard();

  private:
    class ClipboardWatch;  // qr_clipboard.cpp, where the constructor and destructor live
    void RebuildData();
    void Fire(const Event& event);
    void SplitAndCheck();
    bool EncodePiece(int index);
    QrPaintFailure CheckPictureSize() const;
    std::unique_ptr<Canvas> OpenPictureCanvas(bool toMetafile);
    void DrawSymbol(Canvas& canvas, int cornerX, int cornerY, int index);
    void SetCodeFromClipboard(const std::string& utf8);

    int width_ = 100, height_ = 100;
    bool loading_ = false;
    bool watching_ = false;

    std::string code_;
    std::vector<std::uint8_t> data_;
    bool binary_ = false;
    bool binaryOperation_ = false;
    TQRMode mode_ = qrSingle;
    int count_ = 1;
    int column_ = 16;
    std::uint8_t parity_ = 0;
    std::vector<int> offsets_{0, 0};
    TNumbering numbering_ = nbrIfVoid;
    std::string commentUp_, commentDown_;
    TLocation commentUpLoc_ = locLeft, commentDownLoc_ = locLeft;
    int symbolLeft_ = 0, symbolTop_ = 0;
    int symbolSpaceUp_ = 0, symbolSpaceDown_ = 0, symbolSpaceLeft_ = 0, symbolSpaceRight_ = 0;
    int version_ = 1;
    int emode_ = -1, emodeR_ = -1;
    int eclevel_ = 0;
    int masktype_ = -1, masktypeR_ = -1;
    int pxmag_ = 1;
    int angle_ = 0;
    bool reverse_ = false;
    bool match_ = false;
    Font comFont_;
    bool transparent_ = false;
    TColor symbolColor_ = clBlack;
    TColor backColor_ = clWhite;
    TPictures symbolPicture_ = picBMP;
    bool symbolEnabled_ = true;
    bool symbolDebug_ = false;
    bool symbolDisped_ = false;
    QrPaintFailure paintFailure_ = QrPaintFailure::None;
    bool clearOption_ = false;
    bool clipWatch_ = false;

    Bitmap picture_;
    std::unique_ptr<Recording> metafile_;
    qr::Encoder encoder_;
    qr::Symbol symbol_;
    std::unique_ptr<ClipboardWatch> watch_;
};

}  // namespace pb
