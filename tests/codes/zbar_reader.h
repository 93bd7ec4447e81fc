#pragma once
// Reading symbols back with zbarimg, the independent decoder of the code tests.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/bitmap.h"
#include "support/outside_programs.h"
#include "support/platform_fixtures.h"

namespace pb::test {

// Writes a bitmap as a binary grey-scale PGM, each pixel as scale x scale pixels: zbar does
// not resolve one-pixel modules.
inline void WritePgm(const Bitmap& bmp, const std::string& path, int scale = 1) {
    std::ofstream out(path, std::ios::binary);
    out << "P5\n" << bmp.width() * scale << " " << bmp.height() * scale << "\n255\n";
    std::string row(static_cast<std::size_t>(bmp.width()) * scale, '\0');
    for (int y = 0; y < bmp.height(); ++y) {
        const std::uint8_t* p = bmp.scanLine(y);
        for (int x = 0; x < bmp.width(); ++x) {  // blue, green, red to grey
            const int grey = (p[3 * x] * 29 + p[3 * x + 1] * 150 + p[3 * x + 2] * 77) >> 8;
            for (int k = 0; k < scale; ++k) row[x * scale + k] = static_cast<char>(grey);
        }
        for (int k = 0; k < scale; ++k)
            out.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
}

// The raw bytes zbarimg reads from files[begin, end), joined (empty when it finds nothing).
// Tests that read begin with REQUIRE_PROGRAMS("zbarimg").
inline std::string ZbarRead(const std::vector<std::string>& files, std::size_t begin = 0,
                            std::size_t end = 1) {
    static const std::string zbarimg = ProgramPath("zbarimg");
    std::string command = "'" + zbarimg + "' --nodbus -q --raw -Sbinary";
    for (std::size_t i = begin; i < end; ++i) command += " '" + files[i] + "'";
    return RunCommand(command + " 2>/dev/null");
}

// What each file gives when expected[i] is what files[i] should hold. Files are read in
// batches by one zbarimg each, two batches at a time; a batch whose joined output differs
// from the joined expectations is read again file by file.
inline std::vector<std::string> ZbarReadAll(const std::vector<std::string>& files,
                                            const std::vector<std::string>& expected) {
    constexpr std::size_t kBatch = 40;
    std::vector<std::string> got(files.size());
    auto work = [&](std::size_t first) {
        for (std::size_t begin = first * kBatch; begin < files.size(); begin += 2 * kBatch) {
            const std::size_t end = std::min(files.size(), begin + kBatch);
            std::string joined;
            for (std::size_t i = begin; i < end; ++i) joined += expected[i];
            const bool all = ZbarRead(files, begin, end) == joined;
            for (std::size_t i = begin; i < end; ++i)
                got[i] = all ? expected[i] : ZbarRead(files, i, i + 1);
        }
    };
    std::thread second(work, 1);
    work(0);
    second.join();
    return got;
}

}  // namespace pb::test
