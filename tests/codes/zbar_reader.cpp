#include "zbar_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace pb::test {

namespace {

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (const char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// zbarimg's raw output for the files, joined in their order.
std::string RunZbar(const std::vector<std::string>& files, std::size_t begin, std::size_t end) {
    std::string command = "zbarimg --nodbus -q --raw -Sbinary";
    for (std::size_t i = begin; i < end; ++i) command += " " + Quote(files[i]);
    command += " 2>/dev/null";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[65536];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

}  // namespace

bool ZbarAvailable() {
    return std::system("zbarimg --version >/dev/null 2>&1") == 0;
}

void WritePgm(const Bitmap& bmp, const std::string& path, int scale) {
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

std::string ZbarRead(const std::string& path) {
    return RunZbar({path}, 0, 1);
}

std::vector<std::string> ZbarReadAll(const std::vector<std::string>& files,
                                     const std::vector<std::string>& expected) {
    constexpr std::size_t kBatch = 40;
    std::vector<std::string> got(files.size());
    auto work = [&](std::size_t first) {
        // Every other batch, so that the two threads share the files evenly.
        for (std::size_t begin = first * kBatch; begin < files.size(); begin += 2 * kBatch) {
            const std::size_t end = std::min(files.size(), begin + kBatch);
            std::string joined;
            for (std::size_t i = begin; i < end; ++i) joined += expected[i];
            if (RunZbar(files, begin, end) == joined) {
                for (std::size_t i = begin; i < end; ++i) got[i] = expected[i];
            } else {
                for (std::size_t i = begin; i < end; ++i) got[i] = RunZbar(files, i, i + 1);
            }
        }
    };
    std::thread second(work, 1);
    work(0);
    second.join();
    return got;
}

}  // namespace pb::test
