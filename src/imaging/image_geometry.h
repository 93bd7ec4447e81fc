#pragma once
// The pixel geometry of the rotation and two-colour screen: quarter turns squeezed into the
// region's frame, rotation by whole degrees and the two-colour split. Pure functions over
// bitmaps; the screen takes the history snapshot and shows the result. Mirrors are
// MirrorBitmap and plain quarter turns TurnBitmap (platform/bitmap_ops.h).

#include "platform/bitmap.h"
#include "platform/colour.h"

namespace pb {

// `picture` stretched with HALFTONE to width x height; an exact copy when it already has
// that size.
Bitmap SqueezeIntoFrame(const Bitmap& picture, int width, int height);

// One quarter turn of the rotation screen. `turned` holds the true turned picture (the
// region as opened, turned so far) and is turned once more; `region` then becomes `turned`
// squeezed into the region's unchanged width and height. Four turns the same way thus give
// back the region as opened exactly.
void TurnRegionQuarter(Bitmap& turned, Bitmap& region, bool clockwise);

// `src` rotated by `degrees` (whole degrees, clockwise on screen for positive angles) with
// nearest sampling. The result is Round(|H sin| + |W cos|) + 1 wide and
// Round(|H cos| + |W sin|) + 1 high (rounding halves to even); pixels that fall outside the
// source take `background`.
Bitmap RotateByAngle(const Bitmap& src, int degrees, TColor background);

// The region for an angle of the rotation screen: always computed from the region as it was
// at open; angle 0 gives it back as it was, any other angle rotates it on white and squeezes
// the (larger) result back into the region's frame, which never grows.
Bitmap RegionAtAngle(const Bitmap& atOpen, int degrees);

// Grey level of a pixel as the two-colour split measures it:
// Round(0.114 B + 0.587 G + 0.299 R), halves to even.
int GreyLevel(TColor c);

// The two-colour split of the region as opened: with m the darkest grey level of the
// picture, a pixel whose level lies within `threshold` (0..255, clamped) of m becomes
// `colourA`, every other pixel `colourB`; when B then covers more pixels than A the two are
// exchanged, so that A always ends on the larger part.
Bitmap SplitTwoColours(const Bitmap& opened, TColor colourA, int threshold, TColor colourB);

}  // namespace pb
