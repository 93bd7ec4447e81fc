#pragma once
// The print devices. Two stand behind PrintDevice: the system's default printer (CUPS,
// through Qt PrintSupport), and, when the system has none, the program's own PDF printer (600 dpi, A4, no margins),
// which writes each document as "P" + yymmddhhnnss + ".pdf" into a folder of PDFs. A third
// writes one PDF file of that kind wherever it is told (export).

#include <functional>
#include <memory>
#include <string>

#include "platform/print_device.h"

namespace pb {

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
