#pragma once
// Reading and writing pictures. All saved and temporary pictures are 24-bit BMP files that
// Windows programs read; BMP (1, 4, 8, 24 and 32 bits, bottom-up and top-down) and JPEG
// (through libjpeg) are read.

#include <optional>
#include <string>
#include <string_view>

#include "platform/bitmap.h"

namespace pb {

struct PictureError {
    std::string message;  // English, for logs and tests; screens show their own text
    // Set by the JPEG decoder also when it succeeds: the file was cut short or damaged and
    // was decoded only as far as it goes.
    bool damaged = false;
};

// Largest picture the loaders accept: each side and the number of pixels (a bitmap of
// this many pixels takes 400 MB).
constexpr int kMaxPictureSide = 65535;
constexpr long long kMaxPicturePixels = 1LL << 27;
// True when width x height lies within those limits (both sides at least 1).
bool PictureSizeWithinLimits(long long width, long long height);

// Loads a BMP file. Returns nothing (and sets `error`) for a missing, truncated or
// malformed file; never reads beyond the data the file holds. The picture is not allocated
// before the file is known to hold it: uncompressed pixels must all be there; RLE data, where
// a 2-byte code gives at most 255 pixels or ends a row, must have at least one code for each
// row the picture declares (pictures of up to 2^20 pixels excepted), since only a move or an
// early end of the bitmap could reach further.
std::optional<Bitmap> LoadBmp(const std::string& path, PictureError* error = nullptr);

// Writes a 24-bit bottom-up BMP (BITMAPINFOHEADER, 96 dpi). The file is written under a
// temporary name and moved into place, so a failed write never leaves a half-written file at
// `path`. Returns false when the file could not be written or the bitmap is empty.
bool SaveBmp(const Bitmap& bmp, const std::string& path);

// The same in memory: decoding a whole BMP file's bytes, and the bytes SaveBmp writes.
// BMP files may have a BITMAPCOREHEADER (OS/2) or a BITMAPINFOHEADER or later header; 1, 4
// and 8 bits with a palette (also RLE8 and RLE4), 16 and 32 bits (plain or with bit fields)
// and 24 bits; rows bottom-up or top-down.
std::optional<Bitmap> DecodeBmp(std::string_view bytes, PictureError* error = nullptr);
std::string EncodeBmp(const Bitmap& bmp);

// Decodes a JPEG file (colour, grey, CMYK and Adobe's inverted CMYK). With minWidth or
// minHeight > 0 the decoder uses libjpeg's DCT scaling: the smallest scale n/8 (n = 1..8)
// whose result still covers minWidth x minHeight; 8/8 when none does. A file cut short
// decodes as far as it goes (libjpeg fills the rest grey); a file libjpeg cannot read fails.
// A Huffman-coded 8 x 8 block takes at least one bit, so a picture declaring more than 512
// pixels for each byte of the file (pictures of up to 2^20 pixels excepted) is refused before
// anything is allocated; arithmetic coding, which can code a block in less, is allowed 64
// blocks a bit.
std::optional<Bitmap> LoadJpeg(const std::string& path, int minWidth = 0, int minHeight = 0,
                               PictureError* error = nullptr);
std::optional<Bitmap> DecodeJpeg(std::string_view bytes, int minWidth = 0, int minHeight = 0,
                                 PictureError* error = nullptr);

// Width and height of a JPEG from its header alone; nothing when libjpeg cannot read it.
std::optional<Size> JpegSize(std::string_view bytes);

// Loads a BMP or JPEG picture, told apart by the file's first bytes.
std::optional<Bitmap> LoadPicture(const std::string& path, PictureError* error = nullptr);

}  // namespace pb
