#include "platform/picture_io.h"

#include <bit>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "platform/file_service.h"

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace pb {

namespace {

std::nullopt_t Fail(PictureError* error, std::string message) {
    if (error) error->message = std::move(message);
    return std::nullopt;
}

// Pictures this small are decoded whatever their data, as they cost little (3 MB).
constexpr std::int64_t kCheapPicturePixels = std::int64_t{1} << 20;

// Little-endian reads from a byte string whose length the caller has checked.
class Bytes {
  public:
    explicit Bytes(std::string_view b) : b_(b) {}
    std::size_t size() const { return b_.size(); }
    bool has(std::uint64_t offset, std::uint64_t n) const {
        return offset <= b_.size() && n <= b_.size() - offset;
    }
    std::uint8_t u8(std::size_t o) const { return static_cast<std::uint8_t>(b_[o]); }
    std::uint16_t u16(std::size_t o) const {
        return static_cast<std::uint16_t>(u8(o) | u8(o + 1) << 8);
    }
    std::uint32_t u32(std::size_t o) const {
        return static_cast<std::uint32_t>(u16(o)) | static_cast<std::uint32_t>(u16(o + 2)) << 16;
    }
    std::int32_t i32(std::size_t o) const { return static_cast<std::int32_t>(u32(o)); }
    const std::uint8_t* at(std::size_t o) const {
        return reinterpret_cast<const std::uint8_t*>(b_.data()) + o;
    }

  private:
    std::string_view b_;
};

// --- BMP ------------------------------------------------------------------------------------

constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3,
                        kBiAlphaBitfields = 6;
constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kCoreHeaderSize = 12;

// One colour channel of a 16- or 32-bit pixel given by a bit mask.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;
    bool set(std::uint32_t m) {
        mask = m;
        if (m == 0) return true;  // the channel reads as 0
        shift = std::countr_zero(m);
        max = m >> shift;
        return (max & (max + 1)) == 0;  // contiguous bits only
    }
    std::uint8_t read(std::uint32_t v) const {
        if (max == 0) return 0;
        return static_cast<std::uint8_t>(std::uint64_t{(v & mask) >> shift} * 255u / max);
    }
};

struct BmpInfo {
    std::int64_t width = 0, height = 0;
    bool topDown = false;
    int bpp = 0;
    std::uint32_t compression = kBiRgb;
    std::vector<TColor> palette;
    Channel red, green, blue;
    std::uint64_t pixelOffset = 0;
};

// Indices 1, 4 or 8 bits wide, most significant first; an index beyond the palette is black.
TColor PaletteColour(const BmpInfo& info, unsigned index) {
    return index < info.palette.size() ? info.palette[index] : clBlack;
}

void DecodeRow(const BmpInfo& info, const std::uint8_t* in, std::uint8_t* out) {
    const int w = static_cast<int>(info.width);
    auto put = [&out](int x, TColor c) {
        out[3 * x] = static_cast<std::uint8_t>(GetBValue(c));
        out[3 * x + 1] = static_cast<std::uint8_t>(GetGValue(c));
        out[3 * x + 2] = static_cast<std::uint8_t>(GetRValue(c));
    };
    switch (info.bpp) {
        case 1:
            for (int x = 0; x < w; ++x)
                put(x, PaletteColour(info, (in[x >> 3] >> (7 - (x & 7))) & 1));
            break;
        case 4:
            for (int x = 0; x < w; ++x)
                put(x, PaletteColour(info, (in[x >> 1] >> (x & 1 ? 0 : 4)) & 15));
            break;
        case 8:
            for (int x = 0; x < w; ++x) put(x, PaletteColour(info, in[x]));
            break;
        case 16:
            for (int x = 0; x < w; ++x) {
                const std::uint32_t v = static_cast<std::uint32_t>(in[2 * x] | in[2 * x + 1] << 8);
                put(x, RGB(info.red.read(v), info.green.read(v), info.blue.read(v)));
            }
            break;
        case 24:
            std::memcpy(out, in, static_cast<std::size_t>(w) * 3);
            break;
        case 32:
            for (int x = 0; x < w; ++x) {
                const std::uint8_t* p = in + 4 * x;
                const std::uint32_t v = static_cast<std::uint32_t>(p[0]) | p[1] << 8 | p[2] << 16 |
                                        static_cast<std::uint32_t>(p[3]) << 24;
                put(x, RGB(info.red.read(v), info.green.read(v), info.blue.read(v)));
            }
            break;
    }
}

// RLE8 / RLE4 straight into `bmp` (rows bottom-up in the file), which holds palette colour 0
// where the data leave pixels out; false when the data end before the end-of-bitmap mark or
// the last row.
bool DecodeRle(const BmpInfo& info, const Bytes& b, Bitmap& bmp) {
    const bool four = info.compression == kBiRle4;
    const std::int64_t w = info.width, h = info.height;
    std::int64_t x = 0, y = 0;
    std::size_t pos = info.pixelOffset;
    auto set = [&](std::uint8_t index) {
        if (x < w && y < h) {
            const TColor c = PaletteColour(info, index);
            std::uint8_t* p = bmp.scanLine(static_cast<int>(h - 1 - y)) + 3 * x;
            p[0] = static_cast<std::uint8_t>(GetBValue(c));
            p[1] = static_cast<std::uint8_t>(GetGValue(c));
            p[2] = static_cast<std::uint8_t>(GetRValue(c));
        }
        ++x;
    };
    while (b.has(pos, 2)) {
        const unsigned n = b.u8(pos), c = b.u8(pos + 1);
        pos += 2;
        if (n > 0) {
            // A run: n pixels of one index (RLE4: two alternating indices).
            for (unsigned i = 0; i < n && x < w; ++i)
                set(four ? static_cast<std::uint8_t>(i & 1 ? c & 15 : c >> 4)
                         : static_cast<std::uint8_t>(c));
            continue;
        }
        if (c == 0) {  // end of line
            x = 0;
            if (++y >= h) return true;
        } else if (c == 1) {  // end of bitmap
            return true;
        } else if (c == 2) {  // move by (dx, dy)
            if (!b.has(pos, 2)) return false;
            x += b.u8(pos);
            y += b.u8(pos + 1);
            pos += 2;
            if (y >= h) return true;
        } else {  // c pixels given literally, padded to an even byte count
            const std::size_t bytes = four ? (c + 1) / 2 : c;
            if (!b.has(pos, bytes)) return false;
            for (unsigned i = 0; i < c; ++i) {
                const std::uint8_t v = b.u8(pos + (four ? i / 2 : i));
                set(four ? static_cast<std::uint8_t>(i & 1 ? v & 15 : v >> 4) : v);
            }
            pos += bytes + (bytes & 1);
        }
    }
    return false;
}

std::optional<BmpInfo> ReadBmpHeader(const Bytes& b, PictureError* error) {
    if (!b.has(0, kFileHeaderSize + kCoreHeaderSize))
        return Fail(error, "file too short for a BMP");
    if (b.u8(0) != 'B' || b.u8(1) != 'M') return Fail(error, "not a BMP file");
    BmpInfo info;
    const std::uint32_t headerSize = b.u32(14);
    std::uint32_t colourCount = 0;
    int paletteEntry = 4;
    if (headerSize == kCoreHeaderSize) {
        info.width = b.u16(18);
        info.height = b.u16(20);
        info.bpp = b.u16(24);
        paletteEntry = 3;
    } else if (headerSize >= kInfoHeaderSize && headerSize <= 1024) {
        if (!b.has(0, kFileHeaderSize + kInfoHeaderSize))
            return Fail(error, "BMP header cut short");
        info.width = b.i32(18);
        info.height = b.i32(22);
        info.bpp = b.u16(28);
        info.compression = b.u32(30);
        colourCount = b.u32(46);
    } else {
        return Fail(error, "unknown BMP header size " + std::to_string(headerSize));
    }
    if (info.height < 0) {
        info.topDown = true;
        info.height = -info.height;
    }
    if (!PictureSizeWithinLimits(info.width, info.height))
        return Fail(error, "BMP size " + std::to_string(info.width) + " x " +
                               std::to_string(info.height) + " out of range");

    const int bpp = info.bpp;
    const std::uint32_t comp = info.compression;
    const bool bitfields = comp == kBiBitfields || comp == kBiAlphaBitfields;
    const bool valid = (comp == kBiRgb && (bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 ||
                                           bpp == 24 || bpp == 32)) ||
                       (comp == kBiRle8 && bpp == 8) || (comp == kBiRle4 && bpp == 4) ||
                       (bitfields && (bpp == 16 || bpp == 32));
    if (!valid)
        return Fail(error, "unsupported BMP: " + std::to_string(bpp) + " bits, compression " +
                               std::to_string(comp));
    if ((comp == kBiRle8 || comp == kBiRle4) && info.topDown)
        return Fail(error, "top-down BMP cannot be compressed");

    // Bit masks follow a 40-byte header, or lie inside a longer one at the same place.
    std::uint64_t afterHeader = kFileHeaderSize + std::uint64_t{headerSize};
    if (bitfields) {
        const int masks = comp == kBiAlphaBitfields ? 4 : 3;
        if (!b.has(kFileHeaderSize + kInfoHeaderSize, 4 * masks))
            return Fail(error, "BMP bit masks cut short");
        if (!info.red.set(b.u32(54)) || !info.green.set(b.u32(58)) || !info.blue.set(b.u32(62)))
            return Fail(error, "BMP bit masks not contiguous");
        if (headerSize == kInfoHeaderSize) afterHeader += 4 * masks;
    } else if (bpp == 16) {
        info.red.set(0x7C00);
        info.green.set(0x03E0);
        info.blue.set(0x001F);
    } else if (bpp == 32) {
        info.red.set(0x00FF0000);
        info.green.set(0x0000FF00);
        info.blue.set(0x000000FF);
    }

    const std::uint32_t offset = b.u32(10);
    if (bpp <= 8) {
        std::uint64_t count = colourCount ? colourCount : (1u << bpp);
        count = std::min<std::uint64_t>(count, 256);
        // Some writers claim more colours than lie between the header and the pixels.
        if (offset >= afterHeader)
            count = std::min<std::uint64_t>(count, (offset - afterHeader) / paletteEntry);
        if (count == 0 || !b.has(afterHeader, count * paletteEntry))
            return Fail(error, "BMP palette missing or cut short");
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::size_t p = static_cast<std::size_t>(afterHeader + i * paletteEntry);
            info.palette.push_back(RGB(b.u8(p + 2), b.u8(p + 1), b.u8(p)));
        }
        afterHeader += count * paletteEntry;
    }
    // An offset of 0 (written by some programs) means the pixels follow at once.
    info.pixelOffset = offset == 0 ? afterHeader : offset;
    if (info.pixelOffset >= b.size()) return Fail(error, "BMP has no pixel data");
    return info;
}

}  // namespace

bool PictureSizeWithinLimits(long long width, long long height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

std::optional<Bitmap> DecodeBmp(std::string_view bytes, PictureError* error) {
    const Bytes b(bytes);
    const auto info = ReadBmpHeader(b, error);
    if (!info) return std::nullopt;
    const int w = static_cast<int>(info->width), h = static_cast<int>(info->height);
    const bool rle = info->compression == kBiRle8 || info->compression == kBiRle4;
    // Nothing is allocated before the data are known to describe the whole picture.
    const std::uint64_t dataBytes = b.size() - info->pixelOffset;
    const std::uint64_t rowBits = static_cast<std::uint64_t>(w) * info->bpp;
    const std::uint64_t stride = (rowBits + 31) / 32 * 4;
    if (rle) {
        if (std::int64_t{w} * h > kCheapPicturePixels &&
            static_cast<std::uint64_t>(h) > dataBytes / 2)
            return Fail(error, "BMP compressed data too short for " + std::to_string(w) + " x " +
                                   std::to_string(h) + " pixels");
    } else {
        // The last row's padding may be missing; its pixels may not.
        const std::uint64_t needed = stride * static_cast<std::uint64_t>(h - 1) + (rowBits + 7) / 8;
        if (needed > dataBytes) return Fail(error, "BMP pixel data cut short");
    }
    try {
        if (rle) {
            Bitmap bmp(w, h, PaletteColour(*info, 0));
            if (!DecodeRle(*info, b, bmp)) return Fail(error, "BMP pixel data cut short");
            return bmp;
        }
        Bitmap bmp(w, h, clBlack);
        for (int y = 0; y < h; ++y) {
            const int fileRow = info->topDown ? y : h - 1 - y;
            DecodeRow(*info, b.at(static_cast<std::size_t>(info->pixelOffset + stride * fileRow)),
                      bmp.scanLine(y));
        }
        return bmp;
    } catch (const std::bad_alloc&) {
        return Fail(error, "not enough memory for the picture");
    }
}

std::string EncodeBmp(const Bitmap& bmp) {
    const std::uint32_t stride = static_cast<std::uint32_t>(bmp.stride());
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(bmp.height());
    const std::uint32_t headerBytes = kFileHeaderSize + kInfoHeaderSize;
    std::string out(headerBytes + imageSize, '\0');
    auto* p = reinterpret_cast<std::uint8_t*>(out.data());
    auto put16 = [p](std::size_t o, std::uint32_t v) {
        p[o] = static_cast<std::uint8_t>(v);
        p[o + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    auto put32 = [&put16](std::size_t o, std::uint32_t v) {
        put16(o, v & 0xFFFF);
        put16(o + 2, v >> 16);
    };
    constexpr std::uint32_t kPixelsPerMetre = 3780;  // 96 dpi
    p[0] = 'B';
    p[1] = 'M';
    put32(2, headerBytes + imageSize);
    put32(10, headerBytes);
    put32(14, kInfoHeaderSize);
    put32(18, static_cast<std::uint32_t>(bmp.width()));
    put32(22, static_cast<std::uint32_t>(bmp.height()));  // positive: bottom-up
    put16(26, 1);
    put16(28, 24);
    put32(30, kBiRgb);
    put32(34, imageSize);
    put32(38, kPixelsPerMetre);
    put32(42, kPixelsPerMetre);
    const std::size_t rowBytes = static_cast<std::size_t>(bmp.width()) * 3;
    for (int y = 0; y < bmp.height(); ++y)
        std::memcpy(p + headerBytes + static_cast<std::size_t>(stride) * (bmp.height() - 1 - y),
                    bmp.scanLine(y), rowBytes);
    return out;
}

std::optional<Bitmap> LoadBmp(const std::string& path, PictureError* error) {
    const auto bytes = Files().ReadBytes(path);
    if (!bytes) return Fail(error, "cannot read " + path);
    return DecodeBmp(*bytes, error);
}

bool SaveBmp(const Bitmap& bmp, const std::string& path) {
    if (bmp.isNull()) return false;
    return Files().WriteBytes(path, EncodeBmp(bmp));
}

// --- JPEG -----------------------------------------------------------------------------------

namespace {

// libjpeg reports errors through this manager: the message is kept and control jumps back
// to the decoding step that failed, instead of libjpeg's default exit().
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

// Warnings (msg_level < 0: a file cut short, corrupt data) are counted, not printed.
void JpegSilentMessage(j_common_ptr cinfo, int msgLevel) {
    if (msgLevel < 0) ++cinfo->err->num_warnings;
}

struct JpegDecoder {
    jpeg_decompress_struct cinfo{};
    JpegErrors errors{};
    bool created = false;
    JpegDecoder() {
        cinfo.err = jpeg_std_error(&errors.manager);
        errors.manager.error_exit = JpegErrorExit;
        errors.manager.emit_message = JpegSilentMessage;
    }
    ~JpegDecoder() {
        if (created) jpeg_destroy_decompress(&cinfo);
    }
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;
};

// The steps between setjmp and a possible longjmp hold no C++ objects with destructors.
bool JpegStart(JpegDecoder& d, std::string_view bytes, int minWidth, int minHeight) {
    if (setjmp(d.errors.jump)) return false;
    jpeg_create_decompress(&d.cinfo);
    d.created = true;
    jpeg_mem_src(&d.cinfo, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&d.cinfo, TRUE);
    switch (d.cinfo.jpeg_color_space) {
        case JCS_GRAYSCALE:
            d.cinfo.out_color_space = JCS_GRAYSCALE;
            break;
        case JCS_CMYK:
        case JCS_YCCK:
            d.cinfo.out_color_space = JCS_CMYK;
            break;
        default:
            d.cinfo.out_color_space = JCS_RGB;
            break;
    }
    d.cinfo.scale_denom = 8;
    d.cinfo.scale_num = 8;
    if (minWidth > 0 || minHeight > 0) {
        for (unsigned n = 1; n <= 8; ++n) {
            d.cinfo.scale_num = n;
            jpeg_calc_output_dimensions(&d.cinfo);
            if (static_cast<long>(d.cinfo.output_width) >= minWidth &&
                static_cast<long>(d.cinfo.output_height) >= minHeight)
                break;
        }
    }
    jpeg_calc_output_dimensions(&d.cinfo);
    return true;
}

bool JpegReadRows(JpegDecoder& d, Bitmap& out, std::uint8_t* row) {
    if (setjmp(d.errors.jump)) return false;
    jpeg_start_decompress(&d.cinfo);
    const int components = d.cinfo.output_components;
    const bool adobe = d.cinfo.saw_Adobe_marker;
    const int w = out.width();
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        const int y = static_cast<int>(d.cinfo.output_scanline);
        JSAMPROW rows[1] = {row};
        if (jpeg_read_scanlines(&d.cinfo, rows, 1) != 1) break;
        if (y >= out.height()) continue;
        std::uint8_t* o = out.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = row + components * x;
            if (components == 1) {
                o[3 * x] = o[3 * x + 1] = o[3 * x + 2] = p[0];
            } else if (components == 3) {
                o[3 * x] = p[2];
                o[3 * x + 1] = p[1];
                o[3 * x + 2] = p[0];
            } else {
                // Adobe writes CMYK inverted (0 = full ink); others write it plainly.
                const int c = adobe ? p[0] : 255 - p[0], m = adobe ? p[1] : 255 - p[1];
                const int yy = adobe ? p[2] : 255 - p[2], k = adobe ? p[3] : 255 - p[3];
                o[3 * x] = static_cast<std::uint8_t>(yy * k / 255);
                o[3 * x + 1] = static_cast<std::uint8_t>(m * k / 255);
                o[3 * x + 2] = static_cast<std::uint8_t>(c * k / 255);
            }
        }
    }
    jpeg_finish_decompress(&d.cinfo);
    return true;
}

}  // namespace

std::optional<Bitmap> DecodeJpeg(std::string_view bytes, int minWidth, int minHeight,
                                 PictureError* error) {
    JpegDecoder decoder;
    if (!JpegStart(decoder, bytes, minWidth, minHeight))
        return Fail(error, std::string("JPEG: ") + decoder.errors.message);
    const std::int64_t w = decoder.cinfo.output_width, h = decoder.cinfo.output_height;
    if (!PictureSizeWithinLimits(w, h))
        return Fail(error,
                    "JPEG size " + std::to_string(w) + " x " + std::to_string(h) + " out of range");
    // Every Huffman-coded 8 x 8 block takes at least one bit of the file; arithmetic coding
    // may take less and is allowed 64 blocks a bit.
    const std::int64_t imagePixels =
        std::int64_t{decoder.cinfo.image_width} * decoder.cinfo.image_height;
    const std::int64_t pixelsPerByte = decoder.cinfo.arith_code ? 64 * 512 : 512;
    if (imagePixels > kCheapPicturePixels &&
        imagePixels / pixelsPerByte > static_cast<std::int64_t>(bytes.size()))
        return Fail(error, "JPEG too short for " + std::to_string(decoder.cinfo.image_width) +
                               " x " + std::to_string(decoder.cinfo.image_height) + " pixels");
    try {
        Bitmap bmp(static_cast<int>(w), static_cast<int>(h), clBlack);
        std::vector<std::uint8_t> row(static_cast<std::size_t>(w) * 4);
        if (!JpegReadRows(decoder, bmp, row.data()))
            return Fail(error, std::string("JPEG: ") + decoder.errors.message);
        if (error) error->damaged = decoder.errors.manager.num_warnings > 0;
        return bmp;
    } catch (const std::bad_alloc&) {
        return Fail(error, "not enough memory for the picture");
    }
}

std::optional<Size> JpegSize(std::string_view bytes) {
    JpegDecoder decoder;
    if (!JpegStart(decoder, bytes, 0, 0)) return std::nullopt;
    return Size{static_cast<int>(decoder.cinfo.image_width),
                static_cast<int>(decoder.cinfo.image_height)};
}

std::optional<Bitmap> LoadJpeg(const std::string& path, int minWidth, int minHeight,
                               PictureError* error) {
    const auto bytes = Files().ReadBytes(path);
    if (!bytes) return Fail(error, "cannot read " + path);
    return DecodeJpeg(*bytes, minWidth, minHeight, error);
}

std::optional<Bitmap> LoadPicture(const std::string& path, PictureError* error) {
    const auto bytes = Files().ReadBytes(path);
    if (!bytes) return Fail(error, "cannot read " + path);
    const Bytes b(*bytes);
    if (b.has(0, 2) && b.u8(0) == 'B' && b.u8(1) == 'M') return DecodeBmp(*bytes, error);
    if (b.has(0, 3) && b.u8(0) == 0xFF && b.u8(1) == 0xD8 && b.u8(2) == 0xFF)
        return DecodeJpeg(*bytes, 0, 0, error);
    return Fail(error, "not a BMP or JPEG picture: " + path);
}

}  // namespace pb
