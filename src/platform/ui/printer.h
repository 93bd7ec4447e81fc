#pragma once
// PrintDevice: the default printer as printing uses it: orientation, the printable area in
// printer pixels, and documents of pages drawn through a Canvas in printer pixels whose
// origin is the corner of the printable area.
//
// Two devices stand behind it: the system's default printer (CUPS, through Qt PrintSupport),
// and, when the system has none, the program's own PDF printer (600 dpi, A4, no margins),
// which writes each document as "P" + yymmddhhnnss + ".pdf" into a folder of PDFs. A third
// writes one PDF file of that kind wherever it is told (export).

#include <functional>
#include <memory>
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

// The system's default printer, or the built-in PDF printer writing into `pdfFolder` (created
// when missing) when the system has none. Nothing when the system's printer cannot be used.
std::unique_ptr<PrintDevice> OpenDefaultPrinter(const std::string& pdfFolder);

// Test hook: while set, OpenDefaultPrinter returns what `factory` makes instead.
void OverrideDefaultPrinter(std::function<std::unique_ptr<PrintDevice>()> factory);

// The built-in PDF printer writing one file at `path`.
std::unique_ptr<PrintDevice> OpenPdfWriter(const std::string& path);

// "P" + yymmddhhnnss + ".pdf" of the current local time.
std::string NewPdfName();

}  // namespace pb
