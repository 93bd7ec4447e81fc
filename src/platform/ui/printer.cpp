#include "platform/ui/printer.h"

#include <QDateTime>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/file_service.h"
#include "platform/painter_canvas.h"

namespace pb {

namespace {

class QtPrintDevice : public PrintDevice {
  public:
    // `pdfFolder` non-empty: each document becomes a new file there; `pdfFile` non-empty: the
    // document is written to that file.
    QtPrintDevice(PrinterKind kind, std::unique_ptr<QPrinter> printer, std::string pdfFolder,
                  std::string pdfFile)
        : kind_(kind),
          printer_(std::move(printer)),
          pdfFolder_(std::move(pdfFolder)),
          pdfFile_(std::move(pdfFile)) {
        ApplyMargins();
    }
    ~QtPrintDevice() override {
        if (printing()) EndDoc();
    }

    PrinterKind kind() const override { return kind_; }
    int resolution() const override { return printer_->resolution(); }

    void SetOrientation(PageOrientation orientation) override {
        printer_->setPageOrientation(orientation == PageOrientation::Landscape
                                         ? QPageLayout::Landscape
                                         : QPageLayout::Portrait);
        ApplyMargins();
    }
    PageOrientation orientation() const override {
        return printer_->pageLayout().orientation() == QPageLayout::Landscape
                   ? PageOrientation::Landscape
                   : PageOrientation::Portrait;
    }
    int PageWidth() const override { return PaintRect().width(); }
    int PageHeight() const override { return PaintRect().height(); }

    bool BeginDoc(const std::string& title) override {
        if (printing()) return false;
        if (!pdfFolder_.empty()) {
            if (!Files().FolderExists(pdfFolder_) && !Files().CreateFolder(pdfFolder_))
                return false;
            outputFile_ = JoinPath(pdfFolder_, NewPdfName());
        } else if (!pdfFile_.empty()) {
            outputFile_ = pdfFile_;
        }
        if (!outputFile_.empty()) printer_->setOutputFileName(QString::fromStdString(outputFile_));
        printer_->setDocName(QString::fromStdString(title));
        painter_ = std::make_unique<QPainter>();
        if (!painter_->begin(printer_.get())) {
            painter_.reset();
            return false;
        }
        const QRect area = PaintRect();
        canvas_ = std::make_unique<PainterCanvas>(*painter_, Size{area.width(), area.height()},
                                                  printer_->resolution());
        return true;
    }
    Canvas* canvas() override { return canvas_.get(); }
    bool NewPage() override { return printing() && printer_->newPage(); }
    bool EndDoc() override {
        if (!printing()) return false;
        canvas_.reset();
        const bool ended = painter_->end();
        painter_.reset();
        return ended;
    }
    bool printing() const override { return painter_ != nullptr; }
    std::string outputFile() const override { return outputFile_; }

  private:
    // The paint area is the printable area: its origin lies at the printer's physical offset,
    // as a printer device context's does.
    void ApplyMargins() {
        const QPageLayout layout = printer_->pageLayout();
        printer_->setPageMargins(
            kind_ == PrinterKind::System ? layout.minimumMargins() : QMarginsF(0, 0, 0, 0),
            layout.units());
    }
    QRect PaintRect() const { return printer_->pageLayout().paintRectPixels(resolution()); }

    PrinterKind kind_;
    std::unique_ptr<QPrinter> printer_;
    std::string pdfFolder_;
    std::string pdfFile_;
    std::string outputFile_;
    std::unique_ptr<QPainter> painter_;
    std::unique_ptr<PainterCanvas> canvas_;
};

std::unique_ptr<QPrinter> BuiltInPdfPrinter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setResolution(kBuiltInPdfDpi);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(QPageLayout::Portrait);
    printer->setCreator(QStringLiteral("popboard"));
    return printer;
}

std::function<std::unique_ptr<PrintDevice>()>& DefaultPrinterOverride() {
    static std::function<std::unique_ptr<PrintDevice>()> factory;
    return factory;
}

}  // namespace

void OverrideDefaultPrinter(std::function<std::unique_ptr<PrintDevice>()> factory) {
    DefaultPrinterOverride() = std::move(factory);
}

std::string NewPdfName() {
    return "P" +
           QDateTime::currentDateTime().toString(QStringLiteral("yyMMddHHmmss")).toStdString() +
           ".pdf";
}

std::unique_ptr<PrintDevice> OpenDefaultPrinter(const std::string& pdfFolder) {
    if (DefaultPrinterOverride()) return DefaultPrinterOverride()();
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        return std::make_unique<QtPrintDevice>(PrinterKind::BuiltInPdf, BuiltInPdfPrinter(),
                                               pdfFolder, std::string());
    }
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    if (!printer->isValid() || printer->resolution() <= 0) return nullptr;
    printer->setCreator(QStringLiteral("popboard"));
    return std::make_unique<QtPrintDevice>(PrinterKind::System, std::move(printer), std::string(),
                                           std::string());
}

std::unique_ptr<PrintDevice> OpenPdfWriter(const std::string& path) {
    return std::make_unique<QtPrintDevice>(PrinterKind::BuiltInPdf, BuiltInPdfPrinter(),
                                           std::string(), path);
}

}  // namespace pb
