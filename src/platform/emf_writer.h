#pragma once
// Writing a recording as an enhanced metafile (.emf) that other programs open.
//
// The picture is the recording's size in pixels at its resolution (96 pixels per inch for
// the page): the header's bounds are those pixels, its frame the same size in 0.01 mm, and the
// reference device a 96 dpi device whose size in pixels and in millimetres agree exactly.
// Drawing coordinates are written in sixteenths of a pixel (an anisotropic mapping with
// explicit window and viewport extents), so that nested and stretched drawings keep their
// precision. Bitmaps are bottom-up 24-bit DIBs; paths are MOVETOEX, LINETO, POLYBEZIERTO and
// CLOSEFIGURE between BEGINPATH and ENDPATH (readers skip POLYDRAW); text is written as its
// glyph outlines, so that the picture does not depend on the reader's fonts. Hatched fills are
// written as what they paint, since common readers draw hatch brushes solid: in opaque mode
// the shape filled with the background colour, then the hatch lines (8 device pixels apart,
// as on a bitmap) cut to the shape's outline and drawn one pixel wide in the brush colour,
// then the shape's outline in its pen.

#include <string>

#include "platform/recording.h"

namespace pb {

// Logical units per pixel in the files written.
constexpr int kEmfUnitsPerPixel = 16;

// The bytes of the .emf file.
std::string EncodeEmf(const Recording& drawing);

// Writes the file atomically (through the file service). False when it could not be written.
bool SaveEmf(const Recording& drawing, const std::string& path);

}  // namespace pb
