#pragma once
// The stretch of the region about its centre in steps of 5 %, inside the region's unchanged
// frame.

#include "platform/bitmap.h"

namespace pb {

// One press of the shrink (enlarge = false) or enlarge button: the scale moves by 5 and has
// no bounds of its own; `apply` says whether the new scale is drawn (only scales of 5 and
// more are; below that the picture stays as it is and later presses go on from the number).
struct StretchStep {
    int scale = 100;
    bool apply = false;
};
StretchStep StepStretchScale(int scale, bool enlarge);

// A white bitmap of the size of `opened` holding the whole of `opened` stretched into
// w = W x scale div 100, h = H x scale div 100 at ((W - w) div 2, (H - h) div 2): centred with
// white margins below 100 %, cropped evenly on all sides above. HALFTONE when the picture
// shrinks in either direction, nearest pixel when it grows in both. Scales below 5 count as 5.
Bitmap StretchAboutCentre(const Bitmap& opened, int scale);

}  // namespace pb
