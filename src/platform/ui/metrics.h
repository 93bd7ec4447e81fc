#pragma once
// Reading the screen's and the default printer's metrics from the system. Tests substitute
// their own.

#include <optional>

#include "platform/metrics.h"

namespace pb {

ScreenMetrics ReadScreenMetrics();
PrinterMetrics ReadPrinterMetrics();

// Test hooks: while set, the readers return these instead of asking the system.
void OverrideScreenMetrics(std::optional<ScreenMetrics> metrics);
void OverridePrinterMetrics(std::optional<PrinterMetrics> metrics);

}  // namespace pb
