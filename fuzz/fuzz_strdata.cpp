// An object record file "StrData<n>.txt" of either family as the object folder's readers take
// it (CP932 bytes), written back as the writers would, and drawn when its box is small.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "gui_app.h"
#include "objects/object_renderer.h"
#include "objects/strdata.h"
#include "platform/text_codec.h"

// Boxes up to this many pixels are drawn; larger ones cost the fuzzer more than they find.
constexpr long long kDrawnPixels = 1 << 18;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    StartGuiApp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text =
        pb::Cp932ToUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    pb::ReadResult read = pb::ParseObjectRecord(text);
    if (!read.record) return 0;
    pb::ObjectRecord& rec = *read.record;
    // A record the program read it can write and read back.
    const pb::ReadResult again = pb::ParseObjectRecord(pb::FormatObjectRecord(rec));
    if (!again.record || again.record->Text != rec.Text || again.record->Left != rec.Left ||
        again.record->family != rec.family)
        __builtin_trap();
    rec.ImageFile.clear();  // the fuzzer's names lead to no picture worth reading
    const auto box = pb::ObjectBoxSize(rec);
    if (box && static_cast<long long>(box->width) * box->height <= kDrawnPixels) {
        const auto picture = pb::RenderObjectPicture(rec);
        if (!picture || picture->image.size() != *box) __builtin_trap();
    }
    return 0;
}
