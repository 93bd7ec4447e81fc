#pragma once
// A print device for the tests of printing: it keeps what it is asked to do.

#include <memory>
#include <string>
#include <vector>

#include "platform/print_device.h"
#include "platform/recording.h"

namespace pb::test {

constexpr Size kA4At600{4961, 7016};

// A printer that keeps what it is asked to do: each page is a recording of the printable area.
struct PrinterLog {
    std::vector<std::string> events;
    std::vector<std::shared_ptr<Recording>> pages;
};

class FakePrintDevice : public PrintDevice {
  public:
    FakePrintDevice(std::shared_ptr<PrinterLog> log, PrinterKind kind = PrinterKind::System)
        : log_(std::move(log)), kind_(kind) {}
    bool refuseDocument = false, failNewPage = false;

    PrinterKind kind() const override { return kind_; }
    int resolution() const override { return 600; }
    void SetOrientation(PageOrientation o) override {
        o_ = o;
        Log(o == PageOrientation::Landscape ? "landscape" : "portrait");
    }
    PageOrientation orientation() const override { return o_; }
    int PageWidth() const override { return o_ == PageOrientation::Landscape ? kA4At600.height : kA4At600.width; }
    int PageHeight() const override { return o_ == PageOrientation::Landscape ? kA4At600.width : kA4At600.height; }
    bool BeginDoc(const std::string&) override {
        open_ = Log("begin") && !refuseDocument;
        return open_ && NewSheet();
    }
    Canvas* canvas() override { return open_ ? log_->pages.back().get() : nullptr; }
    bool NewPage() override { return Log("new page") && !failNewPage && NewSheet(); }
    bool EndDoc() override {
        open_ = false;
        return Log("end");
    }
    bool printing() const override { return open_; }
    std::string outputFile() const override { return "/somewhere/P000000000000.pdf"; }

  private:
    bool Log(const char* event) {
        log_->events.push_back(event);
        return true;
    }
    bool NewSheet() {
        log_->pages.push_back(std::make_shared<Recording>(Size{PageWidth(), PageHeight()}));
        return true;
    }
    std::shared_ptr<PrinterLog> log_;
    PrinterKind kind_;
    PageOrientation o_ = PageOrientation::Portrait;
    bool open_ = false;
};

}  // namespace pb::test
