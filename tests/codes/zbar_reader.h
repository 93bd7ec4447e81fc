#pragma once
// Reading symbols back with zbarimg, the independent decoder of the code tests.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
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

// What each file gives when expected[i] is what files[i] should hold: all files are read by
// one zbarimg, and only when the joined output differs is each file read again alone.
inline std::vector<std::string> ZbarReadAll(const std::vector<std::string>& files,
                                            const std::vector<std::string>& expected) {
    std::string joined;
    for (const std::string& e : expected) joined += e;
    const bool all = ZbarRead(files, 0, files.size()) == joined;
    std::vector<std::string> got;
    for (std::size_t i = 0; i < files.size(); ++i)
        got.push_back(all ? expected[i] : ZbarRead(files, i, i + 1));
    return got;
}

}  // namespace pb::test
