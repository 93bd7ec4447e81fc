#pragma once
// Rectangle copies between bitmaps, stretched and mirrored as StretchBlt does them.

#include "platform/bitmap.h"
#include "platform/geometry.h"

namespace pb {

enum class StretchMode {
    Halftone,      // area average when shrinking, bilinear when growing (GDI HALFTONE)
    ColorOnColor,  // nearest pixel (GDI COLORONCOLOR)
};

// Copies `srcRect` of `src` onto `destRect` of `dest`.
//  - A rectangle whose right < left (or bottom < top) is reversed: it covers the columns
//    right+1..left, read from `left` downwards, so (W-1, 0, -1, H) is a bitmap's columns
//    W-1..0 and copying it onto (0, 0, W, H) mirrors the bitmap left-right. Either rectangle
//    may be reversed; both reversed copies the right way round.
//  - Sizes that differ stretch by `mode`; equal sizes copy the pixels exactly.
//  - Destination pixels outside `dest` are skipped, and so are those whose source pixel
//    lies outside `src` (Halftone averages only the source pixels that exist).
//  - `src` may be `dest` itself, with overlapping rectangles.
// The pixels a rectangle covers, with reversed rectangles (right < left or bottom < top) read
// as StretchBits reads them: from the first corner backwards.
Rect CoveredPixels(const Rect& r);

void StretchBits(Bitmap& dest, const Rect& destRect, const Bitmap& src, const Rect& srcRect,
                 StretchMode mode);

// A width x height bitmap holding the whole of `src` stretched.
Bitmap StretchBitmap(const Bitmap& src, int width, int height, StretchMode mode);

}  // namespace pb
