#include "objects/text_stamp.h"

#include <algorithm>
#include <climits>

#include "common/app_state.h"
#include "common/fit_font_size.h"
#include "objects/object_renderer.h"
#include "platform/bitmap_canvas.h"

namespace pb {

namespace {

int StartFontSize(const std::string& text, const std::string& family, Size region, int start,
                  bool decorated) {
    FitFontRequest request;
    request.text = text;
    request.fontFamily = family;
    request.recordSize = start;
    request.boxWidth = region.width;
    request.boxHeight = region.height;
    request.decorated = decorated;
    Bitmap scratch(1, 1);
    BitmapCanvas canvas(scratch);
    return FitFontSize(request, canvas);
}

// The part of a w x h picture placed at `at` that lies on a target of size `target`, in
// target coordinates; empty when none does.
Rect VisiblePart(Size target, Point at, int w, int h) {
    const long long left = std::max<long long>(at.x, 0);
    const long long top = std::max<long long>(at.y, 0);
    const long long right = std::min<long long>(static_cast<long long>(at.x) + w, target.width);
    const long long bottom = std::min<long long>(static_cast<long long>(at.y) + h, target.height);
    if (right <= left || bottom <= top) return {};
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
            static_cast<int>(bottom)};
}

}  // namespace

int PlainStampStripeWidth(int sizePoints) {
    return std::max(1, sizePoints / 7);
}

int DecoratedStampStripeWidth(int sizePoints) {
    return std::max(1, sizePoints / 24);
}

int PlainStampStartFontSize(const std::string& text, const std::string& family, Size region) {
    return StartFontSize(text, family, region, kPlainStampStartSize, false);
}

int DecoratedStampStartFontSize(const std::string& text, const std::string& family, Size region) {
    return StartFontSize(text, family, region, kDecoratedStampStartSize, true);
}

bool BurnPlainStamp(Bitmap& target, Point at, const ObjectRecord& rec) {
    const auto picture = RenderPlainTextPicture(rec, PlainStampStripeWidth(rec.FontSize));
    if (!picture) return false;
    if (picture->companion) {
        // The background as a whole, then the lines drawn afresh over it.
        const Bitmap& background = *picture->companion;
        const Rect part = VisiblePart(target.size(), at, background.width(), background.height());
        for (int y = part.top; y < part.bottom; ++y)
            for (int x = part.left; x < part.right; ++x)
                target.setPixel(x, y, background.pixel(x - at.x, y - at.y));
    }
    BitmapCanvas canvas(target);
    DrawPlainTextLines(canvas, at, rec, picture->image.width());
    return true;
}

long long CopyNonKeyPixels(Bitmap& target, Point at, const Bitmap& picture) {
    const Rect part = VisiblePart(target.size(), at, picture.width(), picture.height());
    long long copied = 0;
    for (int y = part.top; y < part.bottom; ++y) {
        for (int x = part.left; x < part.right; ++x) {
            const TColor c = picture.pixel(x - at.x, y - at.y);
            if (c == KeyColour) continue;
            target.setPixel(x, y, c);
            ++copied;
        }
    }
    return copied;
}

StampDeformation NextDeformation(StampDeformation now, int button, int step) {
    if (button < 1 || button > 4) return now;
    const int mode = button <= 2 ? 1 : 2;
    const long long from = now.mode == mode ? now.amount : 0;
    const long long amount = button % 2 == 1 ? from - step : from + step;
    // Amounts stay far from the int limits, whatever the buttons are pressed for.
    if (amount > INT_MAX / 2 || amount < -(INT_MAX / 2)) return now;
    return {mode, static_cast<int>(amount)};
}

}  // namespace pb
