#pragma once
// Printing a work: the page and its objects composed into one recording (the page a bitmap
// with the bitmap-filled parts of the objects burnt in, every object drawn as vectors over
// it), and the recording laid onto the printer's paper: orientation, scale to printer pixels,
// where small paper lies in the feed, copies.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/print_device.h"
#include "platform/recording.h"

namespace pb {

// The three passes the object renderers give printing (objects/print_composition.h).
struct ObjectPrintPasses {
    std::function<void(const std::string& folder)> overlapPrePass;
    std::function<void(Bitmap& pageCopy, const std::string& folder, int slot)> rasterPass;
    std::function<void(Canvas& target, const std::string& folder, int slot)> vectorPass;
};
const ObjectPrintPasses& RendererPrintPasses();

struct ComposedPage {
    std::shared_ptr<const Bitmap> pageCopy;    // the page with the raster pass burnt in
    std::shared_ptr<const Recording> drawing;  // page size: the page copy, then the objects
};

// The overlap pre-pass, the raster pass of each slot (ascending) into a copy of the page, the
// copy drawn into a recording of the page's size, then each object in vector mode.
ComposedPage ComposePage(const Bitmap& page, const std::string& objectFolder,
                         const std::vector<int>& objectSlots,
                         const ObjectPrintPasses& passes = RendererPrintPasses());

// A saved work composed as printing composes the current one. Its objects are rendered from a
// scratch copy of its object folder, so that the saved work stays exactly as it is.
struct SavedWorkComposition {
    std::uint8_t pageMode = 0;
    ComposedPage composed;
    // What the composition lacks: the file names of the object records that could not be
    // drawn (unreadable, or beyond the size or position a page can show), in slot order, and
    // whether the work's object folder is missing altogether.
    std::vector<std::string> skippedObjects;
    bool objectFolderMissing = false;
};
// `name` is the work's name ("X" + 12 digits, a ".bmp" after it is ignored). Nothing, with
// `error` set, when the work is missing or its page bitmap cannot be read. The objects that
// cannot be drawn are left out and listed.
std::optional<SavedWorkComposition> ComposeSavedWork(const std::string& worksFolder,
                                                     const std::string& name, std::string& error);

// The page bitmap of the saved work `name` (as for ComposeSavedWork), and in `stem` the work's
// name without ".bmp". Nothing, with `error` set, when the name is no work's, the work is
// missing or its page bitmap cannot be read.
std::optional<Bitmap> LoadSavedWorkPage(const std::string& worksFolder, const std::string& name,
                                        std::string& stem, std::string& error);

// The slots whose object file exists and is not empty, ascending.
std::vector<int> ObjectSlotsIn(const std::string& objectFolder);

// The size drawn: the page, or for an A4 page (mode 2, 3) with the reduction chosen, the part
// of it that a postcard takes (integer products and divisions).
Size ReducedSize(Size page, int pageMode, bool reduceA4ToPostcard);

// Landscape for page modes 1 and 3.
PageOrientation OrientationFor(int pageMode);

// Screen pixels to printer pixels: the short edge of the paper lies along the printer's x
// axis, so a landscape page takes its width from the y resolutions. Rounded half to even.
Size ScaleToPrinter(Size drawn, PageOrientation orientation, int screenPPIX, int screenPPIY,
                    int printerPPIX, int printerPPIY);

// Where the scaled page lies on the printable area (pageWidth x pageHeight printer pixels):
// "Center" centres small paper across the feed, "Right" lays it against the feed's edge; it
// always starts at the leading edge.
Rect DestinationRect(PageOrientation orientation, bool centre, Size scaled, int pageWidth,
                     int pageHeight);

struct PrintRequest {
    Size drawnSize;  // screen pixels, after the reduction
    int pageMode = 0;
    bool centre = false;
    int copies = 1;
    int screenPPIX = 96, screenPPIY = 96;
    std::string title = "popboard";
};

enum class PrintOutcome {
    Printed,
    Refused,  // the printer would not start the document
    Failed,   // drawing or ending the document failed; the document was ended all the same
};

// Prints `copies` pages of the drawing with a page break between them. The document is ended
// in every case, and the printer is set back to portrait.
PrintOutcome PrintDrawing(PrintDevice& device, const Recording& drawing,
                          const PrintRequest& request);

}  // namespace pb
