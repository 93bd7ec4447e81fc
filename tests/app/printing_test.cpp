// Printing: the composition order, the reduction, the layout on the printer's paper, copies,
// and the print panel's "印刷" and "Preview" with the preview screen's exports.
#include "app/printing.h"

#include <algorithm>
#include <cstring>
#include <tuple>
#include <utility>

#include "app/page_export.h"
#include "app/preview_screen.h"
#include "common/app_state.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"
#include "support/app_fixtures.h"

namespace pb {
namespace {

using Events = std::vector<std::string>;
constexpr auto P = PageOrientation::Portrait, L = PageOrientation::Landscape;
constexpr Size kA4At600{4961, 7016};

// A printer that keeps what it is asked to do: each page is a recording of the printable area.
struct PrinterLog {
    Events events;
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
        Log(o == L ? "landscape" : "portrait");
    }
    PageOrientation orientation() const override { return o_; }
    int PageWidth() const override { return o_ == L ? kA4At600.height : kA4At600.width; }
    int PageHeight() const override { return o_ == L ? kA4At600.width : kA4At600.height; }
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
    PageOrientation o_ = P;
    bool open_ = false;
};

TEST(Printing, LayoutOnThePaper) {
    // The reduction of an A4 page to a postcard, integer products and divisions.
    const std::tuple<Size, int, bool, Size> reductions[] = {
        {{1123, 794}, 3, true, {1123 * 148 / 297, 794 * 100 / 210}},
        {{794, 1123}, 2, true, {378, 559}},
        {{794, 1123}, 2, false, {794, 1123}},
        {{559, 378}, 1, true, {559, 378}},  // ignored for a postcard
    };
    for (const auto& [page, mode, reduce, drawn] : reductions)
        EXPECT_EQ(ReducedSize(page, mode, reduce), drawn) << mode << (reduce ? " reduced" : "");
    const std::tuple<Size, PageOrientation, int, int, Size> scales[] = {
        {{378, 559}, P, 96, 600, {2362, 3494}},  // 2362.5 -> 2362, 3493.75 -> 3494
        {{6, 2}, P, 96, 600, {38, 12}},          // 37.5 -> 38, 12.5 -> 12
        // Landscape: the width lies along the paper's long edge (the printer's y).
        {{1123, 794}, L, 120, 300, {5615, 2481}},
        {{100, 100}, P, 0, 600, {100, 100}},  // no screen resolution: left alone
    };
    for (const auto& [drawn, orientation, screenY, printerX, scaled] : scales)
        EXPECT_EQ(ScaleToPrinter(drawn, orientation, 96, screenY, printerX, 600), scaled)
            << drawn.width << " x " << drawn.height;
    const std::tuple<PageOrientation, bool, Size, Size, Rect> destinations[] = {
        {P, true, {2362, 3494}, kA4At600, {1299, 0, 3661, 3494}},  // across the width, from the top
        {P, false, {2362, 3494}, kA4At600, {0, 0, 2362, 3494}},    // against the left edge
        {L, true, {3494, 2362}, {7016, 4961}, {0, 1299, 3494, 3661}},
        {L, false, {3494, 2362}, {7016, 4961}, {0, 2599, 3494, 4961}},  // against the far edge
        {P, true, {5001, 100}, {4960, 7000}, {-20, 0, 4981, 100}},      // halving truncates to zero
    };
    for (const auto& [orientation, centre, scaled, page, dest] : destinations)
        EXPECT_EQ(DestinationRect(orientation, centre, scaled, page.width, page.height), dest)
            << scaled.width << (centre ? " centred" : " right");
}

TEST(Printing, CopiesArePagesAndTheDocumentIsAlwaysEndedAndTheOrientationSetBack) {
    Recording drawing({378, 559});
    drawing.FillRect({0, 0, 10, 10});
    enum Trouble { kNone, kNewPageFails, kRefused };
    const auto printed = PrintOutcome::Printed;
    const std::tuple<int, int, Trouble, PrintOutcome, std::string> cases[] = {
        {0, 3, kNone, printed, "portrait begin new page new page end portrait"},
        {1, 1, kNone, printed, "landscape begin end portrait"},
        {3, 2, kNewPageFails, PrintOutcome::Failed, "landscape begin new page end portrait"},
        {3, 2, kRefused, PrintOutcome::Refused, "landscape begin portrait"},
    };
    for (const auto& [mode, copies, trouble, outcome, events] : cases) {
        SCOPED_TRACE(events);
        auto log = std::make_shared<PrinterLog>();
        FakePrintDevice device(log);
        device.failNewPage = trouble == kNewPageFails;
        device.refuseDocument = trouble == kRefused;
        const PrintRequest request{.drawnSize = mode == 0 ? Size{378, 559} : Size{559, 378},
                                   .pageMode = mode,
                                   .centre = true,
                                   .copies = copies};
        EXPECT_EQ(PrintDrawing(device, drawing, request), outcome);
        std::string happened;
        for (const std::string& e : log->events) happened += (happened.empty() ? "" : " ") + e;
        EXPECT_EQ(happened, events);
        if (outcome != printed) continue;
        ASSERT_EQ(log->pages.size(), static_cast<std::size_t>(copies));
        const Rect centred = mode == 0 ? Rect{1299, 0, 3661, 3494} : Rect{0, 1299, 3494, 3661};
        for (const auto& page : log->pages) {
            ASSERT_EQ(page->data()->calls.size(), 1u);
            EXPECT_EQ(page->data()->calls[0].rect, centred);
        }
    }
}

TEST(Printing, CompositionRunsThePassesInTheirOrder) {
    test::TempDir dir;
    Events order;
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
    EXPECT_EQ(order, (Events{"pre-pass", "raster 2", "raster 5", "raster 9", "vector 2", "vector 5",
                             "vector 9"}));
    EXPECT_EQ(test::CountPixels(page, clRed), 0);
    EXPECT_EQ(test::CountPixels(*composed.pageCopy, clRed), 3);
    const auto data = composed.drawing->data();
    ASSERT_EQ(data->calls.size(), 4u);
    EXPECT_EQ(data->calls[0].kind, RecordedCall::Kind::Stretch);  // the page first
    EXPECT_EQ(data->calls[0].bitmap, composed.pageCopy);          // shared, not copied
}

// The print panel of the main screen on the built-in PDF printer.
class PrintPanelTest : public test::MainScreenFixture {
  protected:
    void SetUp() override {
        MainScreenFixture::SetUp();
        OverrideDefaultPrinter(
            [this] { return std::make_unique<FakePrintDevice>(log, PrinterKind::BuiltInPdf); });
        Start();
        Files().CreateFolder(dir.file("Pictures"));
        App().CurrentPictureFolder = dir.file("Pictures");
    }
    void TearDown() override {
        MainScreenFixture::TearDown();
        OverrideDefaultPrinter(nullptr);
    }

    std::shared_ptr<PrinterLog> log = std::make_shared<PrinterLog>();
};

TEST_F(PrintPanelTest, PrintMakesOnePagePerCopyAndTellsWhereThePdfWent) {
    Click(form->Btn[23]);  // the print panel takes the place of the drawing tools
    EXPECT_TRUE(form->GroupBox4->isVisible());
    EXPECT_FALSE(form->GroupBox1->isVisible() || form->Btn[1]->isVisible());
    EXPECT_FALSE(form->GroupBox3->isVisible()) << "reduction is offered for A4 only";
    EXPECT_TRUE(form->Btn[17]->isEnabled() && form->Btn[18]->isEnabled());
    Click(form->Btn[7]);
    Click(form->Btn[7]);
    Click(form->Btn[17]);
    EXPECT_EQ(log->pages.size(), 3u);
    EXPECT_EQ(std::count(log->events.begin(), log->events.end(), "end"), 1);
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, "プリンタがないのでPDFにした\n/somewhere/P000000000000.pdf");
    EXPECT_EQ(dialogs->shown[0].caption, "どうでもいいけど");
    EXPECT_EQ(form->Image0->picture(), Page()) << "printing leaves the page as it is";
    Click(form->Btn[24]);
    EXPECT_TRUE(form->GroupBox1->isVisible());
    EXPECT_FALSE(form->GroupBox4->isVisible());
}

TEST_F(PrintPanelTest, PreviewShowsTheReductionButExportsThePageAtFullSize) {
    const std::tuple<int, QSize, Size, Size> cases[] = {
        // The page button of A4 portrait and landscape, both reduced to a postcard.
        {21, {378, 559}, {794, 1123}, {330, 480}},
        {22, {559, 378}, {1123, 794}, {480, 330}},
    };
    for (const auto& [pageButton, shown, bitmap, metafile] : cases) {
        SCOPED_TRACE(pageButton);
        Click(form->Btn[pageButton]);
        Click(form->Btn[23]);
        Click(form->RBtn[11]);
        Click(form->Btn[18]);
        TForm18* preview = Child<TForm18>();
        ASSERT_NE(preview, nullptr);
        EXPECT_EQ(preview->Label0->text(), "100");
        EXPECT_EQ(preview->Image1->size(), shown);

        ResetFolder(dir.file("Pictures"), true);
        Click(preview->BtnSaveAsBMP);
        const auto pictures = Files().ListFiles(dir.file("Pictures"));
        ASSERT_EQ(pictures.size(), 1u);
        EXPECT_EQ(pictures[0].size(), std::strlen("A000000000000.bmp"));
        EXPECT_EQ(LoadBmp(JoinPath(dir.file("Pictures"), pictures[0]))->size(), bitmap);

        ResetFolder(dir.file("METAFILES"), false);
        Click(preview->BtnSaveAsEMF);
        const auto metafiles = Files().ListFiles(dir.file("METAFILES"));
        ASSERT_EQ(metafiles.size(), 1u);
        const std::string base = dir.file("METAFILES/" + metafiles[0].substr(0, 13));
        for (const std::string& path : {base + ".emf", base + "/Tmp1.emf", base + "/Tmp2.emf"}) {
            const std::string bytes = test::ReadFileBytes(path);
            ASSERT_GE(bytes.size(), 40u) << path;
            std::int32_t bounds[4];  // the header's inclusive bounds
            std::memcpy(bounds, bytes.data() + 8, sizeof bounds);
            EXPECT_EQ((Size{bounds[2] + 1, bounds[3] + 1}), metafile) << path;
        }
        EXPECT_EQ(test::ReadFileBytes(base + ".emf"), test::ReadFileBytes(base + "/Tmp2.emf"));
        ASSERT_EQ(dialogs->shown.size(), 2u);
        EXPECT_EQ(dialogs->shown[0].text, "保存完了");

        // Zooming keeps the reduced size as its hundred per cent.
        Click(preview->BtnUpDn1);
        EXPECT_EQ(preview->Image1->size(),
                  QSize(shown.width() * 110 / 100, shown.height() * 110 / 100));
        Click(preview->BtnUpDn0);  // the steps themselves are ZoomStep's (zoom_steps_test)
        EXPECT_EQ(std::pair(preview->zoom(), preview->Label0->text()),
                  std::pair(100, QStringLiteral("100")));
        App().CurrentPictureFolder = dir.file("gone");  // no picture folder: refused
        Click(preview->BtnSaveAsBMP);
        EXPECT_EQ(dialogs->shown.back().caption, "NG");
        dialogs->shown.clear();
        App().CurrentPictureFolder = dir.file("Pictures");
        Click(preview->Button0);
        EXPECT_EQ(Child<TForm18>(), nullptr);
        Click(form->Btn[24]);
    }
}

}  // namespace
}  // namespace pb
