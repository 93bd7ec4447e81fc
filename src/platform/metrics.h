#pragma once
// Screen and default-printer metrics, as start-up reads them (platform/ui/metrics.h).

#include <string>

#include "platform/geometry.h"

namespace pb {

struct ScreenMetrics {
    int ppiX = 96;  // logical pixels per inch
    int ppiY = 96;
    Rect workArea{0, 0, 1280, 800};
};

enum class PrinterKind {
    System,       // the CUPS default printer
    BuiltInPdf,   // no system printer: our own PDF printer (600 dpi, no margins, A4)
    Unusable,     // the query failed or reported a zero resolution
};

struct PrinterMetrics {
    PrinterKind kind = PrinterKind::Unusable;
    std::string name;    // printer name, empty for the built-in PDF printer
    int ppiX = 0;        // printer pixels per inch along the paper's short edge
    int ppiY = 0;        // ... along the long edge
    int offsetX = 0;     // unprintable margin in printer pixels (physical offset)
    int offsetY = 0;
    bool usable() const { return kind != PrinterKind::Unusable && ppiX > 0 && ppiY > 0; }
};

constexpr int kBuiltInPdfDpi = 600;

// The screens are laid out for 792 x 553 logical pixels, the small touch panels they were made
// for. On a larger work area every screen is scaled as a whole by the largest step of 0.25
// that still fits; a display that would gain less than a quarter stays at 1.
constexpr int kLayoutWidth = 792;
constexpr int kLayoutHeight = 553;
double ScreenScaleFactor(int workWidth, int workHeight);

}  // namespace pb
