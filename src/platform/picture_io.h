#pragma once
// Reading and writing pictures. All saved and temporary pictures are 24-bit BMP files that
// Windows programs read; BMP (1, 4, 8, 24 and 32 bits, bottom-up and top-down) and JPEG
// (through libjpeg) are read.

#include <optional>
#include <string>

#include "platform/bitmap.h"

namespace pb {

struct PictureError {
    std::string message;  // English, for logs and tests; screens show their own text
};

// Loads a BMP file. Returns nothing (and sets `error`) for a missing, truncated or
// malformed file; never reads beyond the data the file holds.
std::optional<Bitmap> LoadBmp(const std::string& path, PictureError* error = nullptr);

// Writes a 24-bit bottom-up BMP (BITMAPINFOHEADER, 96 dpi). The file is written under a
// temporary name and moved into place, so a failed write never leaves a half-written file at
// `path`. Returns false when the file could not be written.
bool SaveBmp(const Bitmap& bmp, const std::string& path);

// Decodes a JPEG file. With minWidth/minHeight > 0 the decoder uses libjpeg's DCT scaling:
// the smallest scale (1/8 .. 1) whose result still covers minWidth x minHeight.
std::optional<Bitmap> LoadJpeg(const std::string& path, int minWidth = 0, int minHeight = 0,
                               PictureError* error = nullptr);

// Loads a BMP or JPEG picture, told apart by the file's first bytes.
std::optional<Bitmap> LoadPicture(const std::string& path, PictureError* error = nullptr);

}  // namespace pb
