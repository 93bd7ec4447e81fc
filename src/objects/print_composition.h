#pragma once
// What printing and export ask of the object renderers: the overlap pre-pass, the raster pass
// that burns the bitmap-filled parts of objects into a copy of the page, and the vector pass
// that draws every object onto the page's recording. The order is binding: pre-pass, raster
// pass over all slots in ascending order, the page copy into the recording, then the vector
// pass in ascending slot order.
//
// `folder` is an object folder ending in "/" ("StrData" + n + ".txt", "tmp" + n + ".bmp").

#include <string>

#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace pb {

// Writes a companion bitmap for every pattern-filled object that a later bitmap-filled object
// overlaps, so that it is painted below that object in the raster pass.
void OverlapPrePass(const std::string& folder);

// Burns the shadow and bitmap fill of slot n (only objects with a companion bitmap) into
// `pageCopy` at the object's page position. Missing or malformed records are skipped.
void RasterPass(Bitmap& pageCopy, const std::string& folder, int slot);

// Draws slot n in vector mode onto `target` (a canvas in page pixels at 100 %) at its page
// position: plain text objects with their print variant, decorated texts and shapes as paths.
// Missing or malformed records are skipped.
void DrawObjectVector(Canvas& target, const std::string& folder, int slot);

}  // namespace pb
