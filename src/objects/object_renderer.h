#pragma once
// The raster renderer: turns an object record into the picture of its object image, at 100 %,
// and writes the object's companion bitmap ("tmp" + n + ".bmp", the computed background or
// fill) on the way. Object images show their bitmap stretched to the zoom and see-through
// where it has KeyColour; zooming only stretches them, it never renders again.
//
// The picture depends on nothing but the record, the installed fonts and the picture file a
// record names.

#include <optional>
#include <string>

#include "objects/strdata.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace pb {

// Positions beyond this many page pixels lie on no page; such objects are not drawn.
constexpr long long kMaxObjectOrigin = 1LL << 24;

// The band width of STRIPE fills in object pictures, pixels. The text stamps of the region
// editor draw the same pictures with bands that follow their font size.
constexpr int kObjectStripeWidth = 5;

// What rendering a record gives: the object bitmap (W x H, KeyColour where nothing is drawn)
// and the companion bitmap to store beside the record, when the object has one.
struct ObjectPicture {
    Bitmap image;
    std::optional<Bitmap> companion;
};

// Nothing when the object's box is empty or beyond the size limits of decorated_path.h.
// `stripeWidth` is the band width of a STRIPE background or fill.
std::optional<ObjectPicture> RenderPlainTextPicture(const ObjectRecord& rec,
                                                    int stripeWidth = kObjectStripeWidth);
std::optional<ObjectPicture> RenderDecoratedPicture(const ObjectRecord& rec,
                                                    int stripeWidth = kObjectStripeWidth);
std::optional<ObjectPicture> RenderObjectPicture(const ObjectRecord& rec);

// The fill bitmap of a family "1" object with FillStyle < 10 (W x H: STRIPE, GRADATION, the
// picture of ImageFile, white otherwise).
Bitmap DecoratedFillBitmap(const ObjectRecord& rec, Size box,
                           int stripeWidth = kObjectStripeWidth);

// The lines of a plain text in its font and colour over what lies below (clear brush), with
// the top-left of its box, boxWidth wide, at `at`; aligned by rec.Align.
void DrawPlainTextLines(Canvas& target, Point at, const ObjectRecord& rec, int boxWidth);

// The object's box (the size of its bitmap) without drawing it; nothing as above.
std::optional<Size> ObjectBoxSize(const ObjectRecord& rec);

// Whether the record's position lies within reach of a page (Left and Top within +-2^24 page
// pixels). The screens and the print passes leave out every other object.
bool PlaceableOnPage(const ObjectRecord& rec);

// The print variant of a plain text object: its companion bitmap stretched over its box and
// the text over it, at (Left, Top) of `target`.
void DrawPlainTextForPrint(Canvas& target, const std::string& folder, int slot,
                           const ObjectRecord& rec);

}  // namespace pb
