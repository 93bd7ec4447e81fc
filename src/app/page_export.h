#pragma once
// Exporting the composed page: one large bitmap of the page's full size, or the metafiles of
// the preview screen.

#include <string>

#include "platform/bitmap.h"
#include "platform/recording.h"

namespace pb {

// The drawing played onto a white bitmap of `size`.
Bitmap RenderDrawing(const Recording& drawing, Size size);

// The metafile size of the export: 330 x 480 for a page whose width <= height, else 480 x 330.
Size MetafileSize(Size page);

// "yymmddhhnnss" of the current local time.
std::string TimeStamp();

// Writes the drawing at the page's full size as a 24-bit bitmap `path`. False when it could
// not be written.
bool ExportBitmap(const Recording& drawing, Size page, const std::string& path);

// The metafile export into `metafileFolder` ("METAFILES", created when missing) with the base
// name "M" + stamp: the folder base with "Tmp1.emf" (an empty metafile) and "Tmp2.emf" (the
// drawing stretched over the metafile size), and base + ".emf", the same picture. False when
// any of them could not be written.
bool ExportMetafiles(const Recording& drawing, Size page, const std::string& metafileFolder,
                     const std::string& stamp);

}  // namespace pb
