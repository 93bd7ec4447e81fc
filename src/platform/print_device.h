#pragma once
// PrintDevice: the default printer as printing uses it: orientation, the printable area in
// printer pixels, and documents of pages drawn through a Canvas in printer pixels whose
// origin is the corner of the printable area. The devices themselves live with the screens
// (platform/ui/printer.h).

#include <string>

#include "platform/canvas.h"
#include "platform/metrics.h"

namespace pb {

enum class PageOrientation { Portrait, Landscape };

class PrintDevice {
  public:
    virtual ~PrintDevice() = default;

    virtual PrinterKind kind() const = 0;
    // Printer pixels per inch.
    virtual int resolution() const = 0;

    virtual void SetOrientation(PageOrientation orientation) = 0;
    virtual PageOrientation orientation() const = 0;
    // The printable area in printer pixels, for the orientation set.
    virtual int PageWidth() const = 0;
    virtual int PageHeight() const = 0;

    // Starts a document titled `title` with its first page. False when the printer refused.
    virtual bool BeginDoc(const std::string& title) = 0;
    // The canvas of the page being printed, in printer pixels; only between BeginDoc and
    // EndDoc.
    virtual Canvas* canvas() = 0;
    virtual bool NewPage() = 0;
    // Ends the document and hands it to the printer (or writes the file). False when that
    // failed. A device destroyed with a document open ends it.
    virtual bool EndDoc() = 0;
    virtual bool printing() const = 0;

    // The PDF file of the last document, for the devices that write one.
    virtual std::string outputFile() const { return {}; }
};

}  // namespace pb
