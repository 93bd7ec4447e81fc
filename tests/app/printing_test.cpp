// Printing: the composition order, the reduction, the layout on the printer's paper, copies,
// and the print panel's "印刷" and "Preview" with the preview screen's exports.
#include "app/printing.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <cstring>

#include "app/main_screen.h"
#include "app/page_export.h"
#include "app/preview_screen.h"
#include "common/app_state.h"
#include "platform/file_service.h"
#include "platform/metrics.h"
#include "platform/picture_io.h"
#include "support/test_support.h"

namespace pb {
namespace {

// A printer that keeps what it is asked to do: each page is a recording of the printable area.
struct PrinterLog {
    std::vector<std::string> events;
    std::vector<std::shared_ptr<Recording>> pages;
};

class FakePrintDevice : public PrintDevice {
  public:
    FakePrintDevice(std::shared_ptr<PrinterLog> log, Size portraitArea, int dpi = 600)
        : log_(std::move(log)), area_(portraitArea), dpi_(dpi) {}
    bool refuseDocument = false;
    bool failNewPage = false;
    PrinterKind printerKind = PrinterKind::System;

    PrinterKind kind() const override { return printerKind; }
    int resolution() const override { return dpi_; }
    void SetOrientation(PageOrientation o) override {
        orientation_ = o;
        log_->events.push_back(o == PageOrientation::Landscape ? "landscape" : "portrait");
    }
    PageOrientation orientation() const override { return orientation_; }
    int PageWidth() const override { return landscape() ? area_.height : area_.width; }
    int PageHeight() const override { return landscape() ? area_.width : area_.height; }
    bool BeginDoc(const std::string& title) override {
        log_->events.push_back("begin " + title);
        if (refuseDocument) return false;
        open_ = true;
        addPage();
        return true;
    }
    Canvas* canvas() override { return open_ ? log_->pages.back().get() : nullptr; }
    bool NewPage() override {
        log_->events.push_back("new page");
        if (failNewPage) return false;
        addPage();
        return true;
    }
    bool EndDoc() override {
        log_->events.push_back("end");
        open_ = false;
        return true;
    }
    bool printing() const override { return open_; }
    std::string outputFile() const override { return "/somewhere/P000000000000.pdf"; }

  private:
    bool landscape() const { return orientation_ == PageOrientation::Landscape; }
    void addPage() {
        log_->pages.push_back(std::make_shared<Recording>(Size{PageWidth(), PageHeight()}));
    }
    std::shared_ptr<PrinterLog> log_;
    Size area_;
    int dpi_;
    PageOrientation orientation_ = PageOrientation::Portrait;
    bool open_ = false;
};

// The destination of the one drawing played onto a printed page.
Rect DrawnAt(const Recording& page) {
    const auto data = page.data();
    EXPECT_EQ(data->calls.size(), 1u);
    return data->calls.empty() ? Rect{} : data->calls[0].rect;
}

constexpr Size kA4At600{4961, 7016};

TEST(Printing, ReductionFromA4ToPostcard) {
    struct Case {
        const char* name;
        Size page;
        int mode;
        bool reduce;
        Size drawn;
    };
    const Case cases[] = {
        {"A4 landscape: 148/297 by 100/210",
         {1123, 794},
         3,
         true,
         {1123 * 148 / 297, 794 * 100 / 210}},
        {"A4 portrait: 100/210 by 148/297", {794, 1123}, 2, true, {378, 559}},
        {"not chosen", {794, 1123}, 2, false, {794, 1123}},
        {"ignored for a postcard left checked", {378, 559}, 0, true, {378, 559}},
        {"ignored for a landscape postcard", {559, 378}, 1, true, {559, 378}},
    };
    for (const Case& c : cases) EXPECT_EQ(ReducedSize(c.page, c.mode, c.reduce), c.drawn) << c.name;
    EXPECT_EQ(ReducedSize({1123, 794}, 3, true), (Size{559, 378}));
}

TEST(Printing, ScaleToPrinterRoundsHalvesToEven) {
    struct Case {
        Size drawn;
        PageOrientation orientation;
        int sx, sy, px, py;
        Size scaled;
    };
    const auto P = PageOrientation::Portrait, L = PageOrientation::Landscape;
    const Case cases[] = {
        {{378, 559}, P, 96, 96, 600, 600, {2362, 3494}},   // 2362.5 -> 2362, 3493.75 -> 3494
        {{6, 2}, P, 96, 96, 600, 600, {38, 12}},           // 37.5 -> 38, 12.5 -> 12
        {{794, 1123}, P, 96, 96, 300, 600, {2481, 7019}},  // 2481.25, 7018.75
        // Landscape: the width lies along the paper's long edge (the printer's y).
        {{1123, 794}, L, 96, 120, 300, 600, {5615, 2481}},
        {{100, 100}, P, 0, 96, 600, 600, {100, 100}},  // no screen resolution: left alone
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScaleToPrinter(c.drawn, c.orientation, c.sx, c.sy, c.px, c.py), c.scaled)
            << c.drawn.width << " x " << c.drawn.height;
}

TEST(Printing, DestinationByOrientationAndFeedPosition) {
    struct Case {
        const char* name;
        PageOrientation orientation;
        bool centre;
        Size scaled;
        Size page;
        Rect dest;
    };
    const auto P = PageOrientation::Portrait, L = PageOrientation::Landscape;
    const Case cases[] = {
        {"postcard on A4, Center: across the width, from the top",
         P,
         true,
         {2362, 3494},
         kA4At600,
         {1299, 0, 3661, 3494}},
        {"postcard on A4, Right: against the left edge",
         P,
         false,
         {2362, 3494},
         kA4At600,
         {0, 0, 2362, 3494}},
        {"landscape postcard on A4, Center",
         L,
         true,
         {3494, 2362},
         {7016, 4961},
         {0, 1299, 3494, 3661}},
        {"landscape postcard on A4, Right: against the far edge",
         L,
         false,
         {3494, 2362},
         {7016, 4961},
         {0, 2599, 3494, 4961}},
        {"wider than the paper: the halving truncates toward zero",
         P,
         true,
         {5001, 100},
         {4960, 7000},
         {-20, 0, 4981, 100}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DestinationRect(c.orientation, c.centre, c.scaled, c.page.width, c.page.height),
                  c.dest)
            << c.name;
}

TEST(Printing, CopiesArePagesWithBreaksBetweenThem) {
    Recording drawing({378, 559});
    drawing.FillRect({0, 0, 10, 10});
    struct Case {
        const char* name;
        int mode;
        bool centre;
        int copies;
        std::vector<std::string> events;
        Rect dest;
    };
    const Case cases[] = {
        {"three copies of a postcard, centred",
         0,
         true,
         3,
         {"portrait", "begin t", "new page", "new page", "end", "portrait"},
         {1299, 0, 3661, 3494}},
        {"one landscape copy",
         1,
         false,
         1,
         {"landscape", "begin t", "end", "portrait"},
         {0, 4961 - 2362, 3494, 4961}},
    };
    for (const Case& c : cases) {
        auto log = std::make_shared<PrinterLog>();
        FakePrintDevice device(log, kA4At600);
        PrintRequest request;
        request.drawnSize = c.mode == 1 ? Size{559, 378} : Size{378, 559};
        request.pageMode = c.mode;
        request.centre = c.centre;
        request.copies = c.copies;
        request.title = "t";
        EXPECT_EQ(PrintDrawing(device, drawing, request), PrintOutcome::Printed) << c.name;
        EXPECT_EQ(log->events, c.events) << c.name;
        ASSERT_EQ(log->pages.size(), static_cast<std::size_t>(c.copies)) << c.name;
        for (const auto& page : log->pages) EXPECT_EQ(DrawnAt(*page), c.dest) << c.name;
        EXPECT_EQ(device.orientation(), PageOrientation::Portrait);
    }
}

TEST(Printing, TheDocumentIsAlwaysEndedAndTheOrientationSetBack) {
    Recording drawing({559, 378});
    PrintRequest request;
    request.drawnSize = drawing.size();
    request.pageMode = 3;
    request.copies = 2;
    request.title = "t";
    {
        auto log = std::make_shared<PrinterLog>();
        FakePrintDevice device(log, kA4At600);
        device.failNewPage = true;
        EXPECT_EQ(PrintDrawing(device, drawing, request), PrintOutcome::Failed);
        EXPECT_EQ(log->events, (std::vector<std::string>{"landscape", "begin t", "new page", "end",
                                                         "portrait"}));
    }
    {
        auto log = std::make_shared<PrinterLog>();
        FakePrintDevice device(log, kA4At600);
        device.refuseDocument = true;
        EXPECT_EQ(PrintDrawing(device, drawing, request), PrintOutcome::Refused);
        EXPECT_EQ(log->events, (std::vector<std::string>{"landscape", "begin t", "portrait"}));
    }
}

TEST(Printing, CompositionRunsThePassesInTheirOrder) {
    test::TempDir dir;
    std::vector<std::string> order;
    ObjectPrintPasses passes;
    passes.overlapPrePass = [&](const std::string&) { order.push_back("pre-pass"); };
    passes.rasterPass = [&](Bitmap& copy, const std::string&, int slot) {
        order.push_back("raster " + std::to_string(slot));
        copy.setPixel(slot, 0, clRed);  // burnt into the copy, not the page
    };
    passes.vectorPass = [&](Canvas& target, const std::string&, int slot) {
        order.push_back("vector " + std::to_string(slot));
        target.FillRect({slot, 1, slot + 1, 2});
    };
    const Bitmap page(20, 10, clWhite);
    const ComposedPage composed = ComposePage(page, dir.path() + "/", {2, 5, 9}, passes);
    EXPECT_EQ(order, (std::vector<std::string>{"pre-pass", "raster 2", "raster 5", "raster 9",
                                               "vector 2", "vector 5", "vector 9"}));
    EXPECT_EQ(test::CountPixels(page, clRed), 0);
    EXPECT_EQ(test::CountPixels(*composed.pageCopy, clRed), 3);
    const auto data = composed.drawing->data();
    EXPECT_EQ(composed.drawing->size(), page.size());
    ASSERT_EQ(data->calls.size(), 4u);
    EXPECT_EQ(data->calls[0].kind, RecordedCall::Kind::Stretch);  // the page first
    EXPECT_EQ(data->calls[0].bitmap, composed.pageCopy);          // shared, not copied
    EXPECT_EQ(data->calls[0].rect, (Rect{0, 0, 20, 10}));
}

TEST(Printing, PreviewAndExportZoomSteps) {
    struct Case {
        int from;
        bool up;
        int to;
    };
    const Case cases[] = {{100, true, 110}, {790, true, 800}, {800, true, 800},
                          {20, false, 10},  {10, false, 10},  {100, false, 90}};
    for (const Case& c : cases) EXPECT_EQ(PreviewZoomStep(c.from, c.up), c.to) << c.from;
    EXPECT_EQ(MetafileSize({794, 1123}), (Size{330, 480}));
    EXPECT_EQ(MetafileSize({400, 400}), (Size{330, 480}));
    EXPECT_EQ(MetafileSize({1123, 794}), (Size{480, 330}));
}

// The print panel of the main screen.
class PrintPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        OverrideScreenMetrics(ScreenMetrics{96, 96, {0, 0, 1280, 800}});
        OverridePrinterMetrics(PrinterMetrics{PrinterKind::BuiltInPdf, "", 600, 600, 0, 0});
        OverrideDefaultPrinter([this] {
            auto device = std::make_unique<FakePrintDevice>(log, kA4At600);
            device->printerKind = PrinterKind::BuiltInPdf;
            return device;
        });
        form = std::make_unique<TForm1>(dir.path());
        form->show();
        Files().CreateFolder(dir.file("Pictures"));
        App().CurrentPictureFolder = dir.file("Pictures");
    }
    void TearDown() override {
        form.reset();
        OverrideDefaultPrinter(nullptr);
        OverrideScreenMetrics(std::nullopt);
        OverridePrinterMetrics(std::nullopt);
    }
    void Click(QWidget* w) {
        QTest::mouseClick(w, Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    // A new page of the mode's button, the print panel, the reduction as asked.
    void PagePrinted(int pageButton, bool reduce) {
        Click(form->Btn[pageButton]);
        Click(form->Btn[23]);
        Click(form->RBtn[reduce ? 11 : 10]);
    }
    TForm18* Preview() { return form->findChild<TForm18*>(); }

    test::TempDir dir;
    test::ScriptedDialogScope dialogs;
    std::shared_ptr<PrinterLog> log = std::make_shared<PrinterLog>();
    std::unique_ptr<TForm1> form;
};

TEST_F(PrintPanelTest, PrintingAndPreviewAreOffered) {
    Click(form->Btn[23]);
    EXPECT_TRUE(form->Btn[17]->isVisible() && form->Btn[17]->isEnabled());
    EXPECT_TRUE(form->Btn[18]->isVisible() && form->Btn[18]->isEnabled());
}

TEST_F(PrintPanelTest, PrintMakesOnePagePerCopyAndTellsWhereThePdfWent) {
    PagePrinted(19, false);
    Click(form->Btn[7]);
    Click(form->Btn[7]);
    ASSERT_EQ(form->copies(), 3);
    Click(form->Btn[17]);
    EXPECT_EQ(log->pages.size(), 3u);
    EXPECT_EQ(std::count(log->events.begin(), log->events.end(), "end"), 1);
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, "プリンタがないのでPDFにした\n/somewhere/P000000000000.pdf");
    EXPECT_EQ(dialogs->shown[0].caption, "どうでもいいけど");
    // The page itself is not changed by printing; Image0 keeps the composed copy.
    EXPECT_EQ(form->Image0->picture(), form->Image1->picture());
}

TEST_F(PrintPanelTest, PreviewShowsTheReductionButExportsThePageAtFullSize) {
    struct Case {
        const char* name;
        int pageButton;
        bool reduce;
        QSize shown;
        Size bitmap;
        Size metafile;
    };
    const Case cases[] = {
        {"A4 portrait reduced", 21, true, {378, 559}, {794, 1123}, {330, 480}},
        {"A4 landscape reduced", 22, true, {559, 378}, {1123, 794}, {480, 330}},
        {"postcard landscape", 20, false, {559, 378}, {559, 378}, {480, 330}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PagePrinted(c.pageButton, c.reduce);
        Click(form->Btn[18]);
        TForm18* preview = Preview();
        ASSERT_NE(preview, nullptr);
        EXPECT_EQ(preview->Label0->text(), "100");
        EXPECT_EQ(preview->Image1->size(), c.shown);

        ResetFolder(dir.file("Pictures"), true);
        Click(preview->BtnSaveAsBMP);
        const auto pictures = Files().ListFiles(dir.file("Pictures"));
        ASSERT_EQ(pictures.size(), 1u);
        EXPECT_EQ(pictures[0].size(), std::strlen("A000000000000.bmp"));
        const auto bmp = LoadBmp(JoinPath(dir.file("Pictures"), pictures[0]));
        ASSERT_TRUE(bmp);
        EXPECT_EQ(bmp->size(), c.bitmap);

        ResetFolder(dir.file("METAFILES"), false);
        Click(preview->BtnSaveAsEMF);
        const auto metafiles = Files().ListFiles(dir.file("METAFILES"));
        ASSERT_EQ(metafiles.size(), 1u);
        const std::string base = dir.file("METAFILES/" + metafiles[0].substr(0, 13));
        for (const std::string& path : {base + ".emf", base + "/Tmp1.emf", base + "/Tmp2.emf"}) {
            const std::string bytes = test::ReadFileBytes(path);
            ASSERT_GE(bytes.size(), 40u) << path;
            std::int32_t bounds[4];
            std::memcpy(bounds, bytes.data() + 8, sizeof bounds);
            EXPECT_EQ(bounds[2] + 1, c.metafile.width) << path;
            EXPECT_EQ(bounds[3] + 1, c.metafile.height) << path;
        }
        EXPECT_EQ(test::ReadFileBytes(base + ".emf"), test::ReadFileBytes(base + "/Tmp2.emf"));
        ASSERT_EQ(dialogs->shown.size(), 2u);
        EXPECT_EQ(dialogs->shown[0].text, "保存完了");
        dialogs->shown.clear();

        Click(preview->Button0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(Preview(), nullptr);
        Click(form->Btn[24]);
    }
}

TEST_F(PrintPanelTest, PreviewZoomKeepsTheReducedSizeAsItsHundredPercent) {
    PagePrinted(21, true);
    Click(form->Btn[18]);
    TForm18* preview = Preview();
    ASSERT_NE(preview, nullptr);
    Click(preview->BtnUpDn1);
    EXPECT_EQ(preview->Label0->text(), "110");
    EXPECT_EQ(preview->Image1->size(), QSize(378 * 110 / 100, 559 * 110 / 100));
    for (int i = 0; i < 12; ++i) Click(preview->BtnUpDn0);
    EXPECT_EQ(preview->Label0->text(), "10");
    EXPECT_EQ(preview->Image1->size(), QSize(37, 55));
}

TEST_F(PrintPanelTest, BitmapExportWithoutAPictureFolderIsRefused) {
    App().CurrentPictureFolder = dir.file("gone");
    Click(form->Btn[23]);
    Click(form->Btn[18]);
    ASSERT_NE(Preview(), nullptr);
    Click(Preview()->BtnSaveAsBMP);
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].caption, "NG");
}

}  // namespace
}  // namespace pb
