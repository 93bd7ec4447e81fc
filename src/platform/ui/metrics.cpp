#include "platform/ui/metrics.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <cmath>

namespace pb {

namespace {
std::optional<ScreenMetrics>& ScreenOverride() {
    static std::optional<ScreenMetrics> m;
    return m;
}
std::optional<PrinterMetrics>& PrinterOverride() {
    static std::optional<PrinterMetrics> m;
    return m;
}
}  // namespace

void OverrideScreenMetrics(std::optional<ScreenMetrics> metrics) { ScreenOverride() = metrics; }
void OverridePrinterMetrics(std::optional<PrinterMetrics> metrics) { PrinterOverride() = metrics; }

ScreenMetrics ReadScreenMetrics() {
    if (ScreenOverride()) return *ScreenOverride();
    ScreenMetrics m;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return m;
    m.ppiX = static_cast<int>(std::lround(screen->logicalDotsPerInchX()));
    m.ppiY = static_cast<int>(std::lround(screen->logicalDotsPerInchY()));
    const QRect area = screen->availableGeometry();
    m.workArea = {area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
    return m;
}

PrinterMetrics ReadPrinterMetrics() {
    if (PrinterOverride()) return *PrinterOverride();
    PrinterMetrics m;
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        // No system printer: the built-in PDF printer lets a new machine work.
        m.kind = PrinterKind::BuiltInPdf;
        m.ppiX = m.ppiY = kBuiltInPdfDpi;
        return m;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid()) return m;
    m.name = info.printerName().toStdString();
    const int dpi = printer.resolution();
    m.ppiX = m.ppiY = dpi;
    if (dpi <= 0) return m;
    // The printer's hardware margins are its unprintable area (the physical offset).
    const QMarginsF margins = printer.pageLayout().minimumMargins();  // points
    const double toPixels = dpi / 72.0;
    m.offsetX = static_cast<int>(std::lround(margins.left() * toPixels));
    m.offsetY = static_cast<int>(std::lround(margins.top() * toPixels));
    m.kind = PrinterKind::System;
    return m;
}

}  // namespace pb
