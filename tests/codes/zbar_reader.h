#pragma once
// Reading symbols back with zbarimg, the independent decoder of the code tests.

#include <string>
#include <vector>

#include "platform/bitmap.h"

namespace pb::test {

// True when zbarimg can be run.
bool ZbarAvailable();

// Writes a bitmap as a binary grey-scale PGM (which zbarimg reads through ImageMagick),
// each pixel as scale x scale pixels: zbar does not resolve one-pixel modules.
void WritePgm(const Bitmap& bmp, const std::string& path, int scale = 1);

// The raw bytes that zbarimg reads from one picture file (empty when it finds nothing).
std::string ZbarRead(const std::string& path);

// Decodes many files: expected[i] is what files[i] should hold. Files are read in batches
// by one zbarimg each, two batches at a time; a batch whose joined output differs from the
// joined expectations is read again file by file. Returns what each file gave.
std::vector<std::string> ZbarReadAll(const std::vector<std::string>& files,
                                     const std::vector<std::string>& expected);

}  // namespace pb::test
