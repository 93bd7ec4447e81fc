#include "objects/print_composition.h"

#include <array>
#include <cstdlib>
#include <memory>
#include <optional>

#include "common/app_state.h"
#include "objects/decorated_path.h"
#include "objects/object_renderer.h"
#include "objects/strdata.h"
#include "platform/bitmap_canvas.h"
#include "platform/file_service.h"
#include "platform/fonts.h"
#include "platform/picture_io.h"

namespace pb {

namespace {

constexpr long long kMaxOrigin = 1LL << 24;

struct PlacedObject {
    ObjectRecord rec;
    Size box;
    // Left, Top, Left + W, Top + H in 64 bits (the fields are any 32-bit values).
    long long left = 0, top = 0, right = 0, bottom = 0;
};

// Strict overlap: rectangles that only touch do not overlap.
bool Overlap(const PlacedObject& a, const PlacedObject& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

std::optional<PlacedObject> ReadDecorated(const std::string& folder, int slot) {
    const ReadResult read = ReadObjectRecord(folder, slot);
    if (!read.record || !read.record->decorated()) return std::nullopt;
    const std::optional<Size> box = ObjectBoxSize(*read.record);
    if (!box) return std::nullopt;
    PlacedObject o{*read.record, *box};
    o.left = o.rec.Left;
    o.top = o.rec.Top;
    o.right = o.left + box->width;
    o.bottom = o.top + box->height;
    return o;
}

// The companion of an object whose pattern brush goes to the raster pass: the whole box in
// that brush.
Bitmap PatternFillBitmap(const ObjectRecord& rec, Size box) {
    Bitmap bmp(box.width, box.height, rec.FillColor);
    BitmapCanvas canvas(bmp);
    canvas.brush = PatternStyleBrush(rec);
    canvas.bkMode = BkMode::Opaque;
    canvas.bkColour = rec.FillColor;
    canvas.FillRect({0, 0, box.width, box.height});
    return bmp;
}

std::shared_ptr<const Bitmap> LoadCompanion(const std::string& folder, int slot) {
    const std::string path = CompanionBitmapPath(folder, slot);
    if (!Files().FileExists(path)) return nullptr;
    auto bmp = LoadBmp(path);
    if (!bmp || bmp->isNull()) return nullptr;
    return std::make_shared<const Bitmap>(std::move(*bmp));
}

}  // namespace

void OverlapPrePass(const std::string& folder) {
    std::array<std::optional<PlacedObject>, kObjectSlots> objects;
    for (int n = 0; n < kObjectSlots; ++n) {
        objects[static_cast<std::size_t>(n)] = ReadDecorated(folder, n);
        // Screen renders never give a pattern-filled object a companion: one that exists was
        // left by an earlier print, when other objects may have lain elsewhere.
        if (objects[static_cast<std::size_t>(n)] &&
            objects[static_cast<std::size_t>(n)]->rec.FillStyle >= 10)
            DeleteFileIfExists(CompanionBitmapPath(folder, n));
    }
    for (int i = 0; i < kObjectSlots - 1; ++i) {
        const auto& a = objects[static_cast<std::size_t>(i)];
        if (!a || a->rec.FillStyle < 10) continue;
        for (int j = i + 1; j < kObjectSlots; ++j) {
            const auto& b = objects[static_cast<std::size_t>(j)];
            if (!b || b->rec.FillStyle <= 0 || b->rec.FillStyle >= 10 || !Overlap(*a, *b)) continue;
            SaveBmp(PatternFillBitmap(a->rec, a->box), CompanionBitmapPath(folder, i));
            break;
        }
    }
}

void RasterPass(Bitmap& pageCopy, const std::string& folder, int slot) {
    const std::optional<PlacedObject> o = ReadDecorated(folder, slot);
    if (!o || std::llabs(o->left) > kMaxOrigin || std::llabs(o->top) > kMaxOrigin) return;
    const std::shared_ptr<const Bitmap> fill = LoadCompanion(folder, slot);
    if (!fill) return;
    Bitmap object(o->box.width, o->box.height, KeyColour);
    BitmapCanvas canvas(object);
    DrawDecorated(canvas, {0, 0}, o->rec, fill, DrawMode::Raster);
    const int left = static_cast<int>(o->left), top = static_cast<int>(o->top);
    for (int row = 0; row < object.height(); ++row) {
        const int y = top + row;
        if (y < 0 || y >= pageCopy.height()) continue;
        for (int col = 0; col < object.width(); ++col) {
            const int x = left + col;
            if (x < 0 || x >= pageCopy.width()) continue;
            const TColor c = object.pixel(col, row);
            if (c != KeyColour) pageCopy.setPixel(x, y, c);
        }
    }
}

void DrawObjectVector(Canvas& target, const std::string& folder, int slot) {
    const ReadResult read = ReadObjectRecord(folder, slot);
    if (!read.record) return;
    const ObjectRecord& rec = *read.record;
    if (!rec.decorated()) {
        DrawPlainTextForPrint(target, folder, slot, rec);
        return;
    }
    if (std::llabs(rec.Left) > kMaxOrigin || std::llabs(rec.Top) > kMaxOrigin) return;
    DrawDecorated(target, {rec.Left, rec.Top}, rec, LoadCompanion(folder, slot), DrawMode::Vector);
}

}  // namespace pb
