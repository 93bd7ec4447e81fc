// A BMP file as the picture screens take it: decoded whole, then shrunk to a thumbnail.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/picture_browsing.h"
#include "platform/picture_io.h"
#include "platform/stretch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    pb::PictureError error;
    const auto picture = pb::DecodeBmp(bytes, &error);
    if (!picture) return 0;
    if (picture->isNull()) __builtin_trap();  // a decoded picture always has pixels
    const pb::Size fit = pb::FitToBox(picture->width(), picture->height(), pb::kThumbnailWidth,
                                      pb::kThumbnailHeight);
    pb::Bitmap thumbnail(pb::kThumbnailWidth, pb::kThumbnailHeight);
    pb::StretchBits(thumbnail, pb::RectOfSize(0, 0, fit.width, fit.height), *picture,
                    pb::RectOfSize(0, 0, picture->width(), picture->height()),
                    pb::StretchMode::Halftone);
    // What the program writes it reads back unchanged.
    const auto again = pb::DecodeBmp(pb::EncodeBmp(*picture));
    if (!again || again->size() != picture->size() ||
        !std::equal(again->bits(), again->bits() + again->byteCount(), picture->bits()))
        __builtin_trap();
    return 0;
}
