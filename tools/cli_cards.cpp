// popboard-cli cards: price cards from a saved work and a product list (CSV), one card a row.
//   cards WORK products.csv (--pdf OUT.pdf | --print | --bmp DIR) [--appdir DIR]
// --pdf writes one page per card, --print sends them to the default printer (or the built-in
// PDF printer, whose file is named on stdout), --bmp writes DIR/<row>.bmp for data rows 1, 2...
// Each field that failed is named on stderr by row and column; the other cards still come
// out, and the exit status is 1. So it is when objects of the work cannot be drawn (named).

#include <cstdio>
#include <string>
#include <vector>

#include "app/page_export.h"
#include "app/price_cards.h"
#include "app/product_list.h"
#include "app/works.h"
#include "cli_appdir.h"
#include "cli_commands.h"
#include "cli_print_setup.h"
#include "common/app_state.h"
#include "platform/file_service.h"
#include "platform/ui/printer.h"

namespace {

constexpr const char* kUsage =
    "usage: popboard-cli cards WORK products.csv (--pdf OUT.pdf | --print | --bmp DIR) "
    "[--appdir DIR]\n";

int Fail(const std::string& message) {
    std::fprintf(stderr, "popboard-cli cards: %s\n", message.c_str());
    return 1;
}

bool TakeFlag(std::vector<std::string>& args, const std::string& name) {
    for (auto it = args.begin(); it != args.end(); ++it)
        if (*it == name) {
            args.erase(it);
            return true;
        }
    return false;
}

int Run(const std::vector<std::string>& argv) {
    std::vector<std::string> args = argv;
    const std::string appDir = pbcli::TakeAppDir(args);
    const std::string pdf = pbcli::TakeOption(args, "--pdf");
    const std::string bmpDir = pbcli::TakeOption(args, "--bmp");
    const bool print = TakeFlag(args, "--print");
    const int outputs = !pdf.empty() + !bmpDir.empty() + print;
    if (args.size() != 2 || args[0].empty() || args[0][0] == '-' || args[1].empty() ||
        args[1][0] == '-' || outputs != 1 || appDir.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    pb::ProductList list;
    std::string error;
    if (pb::ReadProductList(args[1], list, error) != pb::ProductListStatus::Ok) return Fail(error);

    const auto app = pbcli::MakeHeadlessApplication();
    const bool centre = pbcli::LoadPrintState(appDir);
    const std::string& works = pb::App().WorksFolder;
    pb::CardRun run;
    std::string pdfMade;
    if (!bmpDir.empty()) {
        if (!pb::Files().FolderExists(bmpDir) && !pb::Files().CreateFolder(bmpDir))
            return Fail("cannot make the folder " + bmpDir);
        bool written = true;
        run = pb::ComposeCards(works, args[0], list, [&](int row, const pb::SavedWorkComposition& card) {
            const pb::Recording& drawing = *card.composed.drawing;
            const std::string path = pb::JoinPath(bmpDir, std::to_string(row + 1) + ".bmp");
            written = pb::ExportBitmap(drawing, drawing.size(), path);
            if (!written) Fail("cannot write " + path);
            return written;
        });
        if (!written) return 1;
    } else {
        const auto device = print ? pb::OpenDefaultPrinter(pb::App().AppDir + "PDF")
                                  : pb::OpenPdfWriter(pdf);
        if (!device) return Fail("the default printer cannot be used");
        pb::PrintRequest request;
        request.centre = centre;
        request.screenPPIX = pb::App().ScreenPPIX;
        request.screenPPIY = pb::App().ScreenPPIY;
        request.title = "popboard " + pb::WorkNameOf(args[0]);
        run = pb::PrintCards(*device, works, args[0], list, request, {});
        if (print && device->kind() == pb::PrinterKind::BuiltInPdf && run.cardsMade > 0)
            pdfMade = device->outputFile();
    }
    for (const pb::CardError& e : run.errors) {
        if (e.row == 0)
            Fail(e.message);
        else if (e.column.empty())
            Fail("row " + std::to_string(e.row) + ": " + e.message);
        else
            Fail("row " + std::to_string(e.row) + ", column " + e.column + ": " + e.message);
    }
    if (!pdfMade.empty()) std::printf("%s\n", pdfMade.c_str());
    return run.errors.empty() ? 0 : 1;
}

const pbcli::CliCommandRegistration registration{
    {"cards", "print price cards: a saved work filled from each row of a CSV", Run}};

}  // namespace
