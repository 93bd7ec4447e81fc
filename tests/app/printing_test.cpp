// Printing: the composition order, the reduction, the layout on the printer's paper, copies.
#include "app/printing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>
#include <utility>

#include "app/page_export.h"
#include "common/app_state.h"
#include "fake_print_device.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"
#include "support/test_support.h"

namespace pb {
namespace {

using Events = std::vector<std::string>;
using test::FakePrintDevice;
using test::kA4At600;
using test::PrinterLog;
constexpr auto P = PageOrientation::Portrait, L = PageOrientation::Landscape;

TEST(Printing, LayoutOnThePaper) {
    // The drawing scaled to the printer's resolution, halves rounded to even.
    const std::tuple<Size, PageOrientation, int, int, Size> scales[] = {
        {{6, 2}, P, 96, 600, {38, 12}},  // 37.5 -> 38, 12.5 -> 12
        // Landscape: the width lies along the paper's long edge (the printer's y).
        {{1123, 794}, L, 120, 300, {5615, 2481}},
    };
    for (const auto& [drawn, orientation, screenY, printerX, scaled] : scales)
        EXPECT_EQ(ScaleToPrinter(drawn, orientation, 96, screenY, printerX, 600), scaled)
            << drawn.width << " x " << drawn.height;
    const std::tuple<PageOrientation, bool, Size, Size, Rect> destinations[] = {
        {P, true, {2362, 3494}, kA4At600, {1299, 0, 3661, 3494}},  // across the width, from the top
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
    const std::tuple<int, int, Trouble, PrintOutcome, std::string> cases[] = {
        {0, 3, kNone, PrintOutcome::Printed, "portrait begin new page new page end portrait"},
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
    passes.vectorPass = [&](Canvas&, const std::string&, int slot) {
        order.push_back("vector " + std::to_string(slot));
    };
    const Bitmap page(20, 10, clWhite);
    const ComposedPage composed = ComposePage(page, dir.path() + "/", {2, 5, 9}, passes);
    EXPECT_EQ(order, (Events{"pre-pass", "raster 2", "raster 5", "raster 9", "vector 2", "vector 5",
                             "vector 9"}));
    // The raster passes burn into a copy, which the drawing starts with, shared, not copied.
    EXPECT_EQ(
        std::pair(test::CountPixels(page, clRed), test::CountPixels(*composed.pageCopy, clRed)),
        std::pair(0L, 3L));
    EXPECT_EQ(composed.drawing->data()->calls.at(0).bitmap, composed.pageCopy);
}

}  // namespace
}  // namespace pb
