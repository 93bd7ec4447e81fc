#pragma once
// The background fills of the region editor and the margin fill of the page, as pure
// functions: every fill starts from the picture as the screen opened it and paints the
// pixels that pass the key test in one of four styles. The screens keep the history and show
// the result.

#include "common/fill_styles.h"
#include "platform/bitmap.h"
#include "platform/colour.h"
#include "platform/geometry.h"

namespace pb {

enum class KeyFillStyle { Solid, Stripe, Gradation, Picture };

struct KeyFill {
    KeyFillStyle style = KeyFillStyle::Solid;
    TColor colour = clBlack;          // SOLID
    ComponentColours components;      // STRIPE and GRADATION, slots in use in slot order
    int stripeWidth = 5;              // pixels, 1..100 (clamped)
    bool horizontal = true;           // "横": horizontal stripes, gradation top to bottom
    const Bitmap* picture = nullptr;  // 画像: the loaded picture, any size; none paints nothing
};

// `opened` with the pixels that pass `match` painted by `fill`.
//  - STRIPE bands and GRADATION blends are laid over the whole region, matching pixels or
//    not, so they stay aligned to the region; no slot in use paints nothing, one slot paints
//    its colour.
//  - 画像 paints a matching pixel with the pixel at the same place of the picture brought to
//    the region's size by PictureToSize.
Bitmap ApplyKeyFill(const Bitmap& opened, const KeyMatch& match, const KeyFill& fill);

// The margin fill of the page: ApplyKeyFill with the key fixed to white and the exact test,
// so only pixels whose three bytes are 255 change.
Bitmap ApplyMarginFill(const Bitmap& opened, const KeyFill& fill);

// `picture` brought to width x height without scaling: its top-left part when it is large
// enough, otherwise copies of it tiled from the top-left and cut to the size. An empty
// picture gives a white bitmap.
Bitmap PictureToSize(const Bitmap& picture, int width, int height);

// The range of the similar test's threshold and the stripe width.
constexpr int kMaxKeyThreshold = 255;
constexpr int kMinStripeWidth = 1;
constexpr int kMaxStripeWidth = 100;

// The size of the region's preview on the background fill screen: its aspect kept inside
// 240 x 80 (width <= 3 x height: 80 high; otherwise 240 wide), integer division.
Size KeyFillPreviewSize(int width, int height);

}  // namespace pb
