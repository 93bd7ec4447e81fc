#pragma once
// Helpers of the tests of the lower layers: JPEG files written with libjpeg, and other
// programs run as independent readers.

#include <sys/wait.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/bitmap.h"

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace pb::test {

// What a shell command writes to stdout, and its exit status (-1 when it did not exit).
inline std::string RunCommand(const std::string& command, int* status = nullptr) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[65536];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
        const int raw = pclose(pipe);
        if (status) *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    return out;
}

// A JPEG made with libjpeg from pixel(x, y, out) filling `components` bytes a pixel: 3 RGB,
// 1 grey, or 4 CMYK (stored as Adobe programs store it, inverted, when `adobe`).
inline std::string MakeJpeg(int w, int h, int components,
                            const std::function<void(int x, int y, std::uint8_t*)>& pixel,
                            bool adobe = true, int quality = 95) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = static_cast<JDIMENSION>(w);
    cinfo.image_height = static_cast<JDIMENSION>(h);
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (components == 4) cinfo.write_Adobe_marker = adobe ? TRUE : FALSE;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(w) * components);
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < w; ++x)
            pixel(x, static_cast<int>(cinfo.next_scanline), &row[x * components]);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string bytes(reinterpret_cast<const char*>(out), size);
    std::free(out);
    return bytes;
}

// A bitmap as a colour JPEG.
inline std::string EncodeJpeg(const Bitmap& bmp, int quality = 90) {
    return MakeJpeg(
        bmp.width(), bmp.height(), 3,
        [&bmp](int x, int y, std::uint8_t* p) {
            const TColor c = bmp.pixel(x, y);
            p[0] = GetRValue(c), p[1] = GetGValue(c), p[2] = GetBValue(c);
        },
        true, quality);
}

}  // namespace pb::test
