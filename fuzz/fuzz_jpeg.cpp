// A JPEG file as the picture screens take it: its size from the header, a thumbnail decoded
// at libjpeg's reduced scale, and the whole picture as the import decodes it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/picture_browsing.h"
#include "platform/picture_io.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto header = pb::JpegSize(bytes);
    if (!header) return 0;
    const pb::Size fit =
        pb::FitToBox(header->width, header->height, pb::kThumbnailWidth, pb::kThumbnailHeight);
    pb::PictureError error;
    if (const auto thumb = pb::DecodeJpeg(bytes, fit.width, fit.height, &error))
        if (thumb->isNull() || thumb->width() > header->width) __builtin_trap();
    if (const auto whole = pb::DecodeJpeg(bytes, 0, 0, &error))
        if (whole->size() != *header) __builtin_trap();
    return 0;
}
