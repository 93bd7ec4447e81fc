// popboard-cli export: a saved work rendered as the preview and the printer render it.
//   export WORK (--bmp FILE | --emf FILE | --pdf FILE) [--appdir DIR]
// --bmp writes the page at its full size with the objects drawn on it; --emf the page's
// metafile at its own size; --pdf what the built-in PDF printer would print (A4, 600 dpi).
// Objects that cannot be drawn are named on stderr; the file is written without them and the
// exit status is 1.

#include <cstdio>
#include <string>
#include <vector>

#include "app/page_export.h"
#include "app/printing.h"
#include "app/works.h"
#include "cli_appdir.h"
#include "cli_commands.h"
#include "cli_print_setup.h"
#include "common/app_state.h"
#include "platform/emf_writer.h"
#include "platform/ui/printer.h"

namespace {

constexpr const char* kUsage =
    "usage: popboard-cli export WORK (--bmp FILE | --emf FILE | --pdf FILE) [--appdir DIR]\n";

int Fail(const std::string& message) {
    std::fprintf(stderr, "popboard-cli export: %s\n", message.c_str());
    return 1;
}

int Run(const std::vector<std::string>& argv) {
    std::vector<std::string> args = argv;
    const std::string appDir = pbcli::TakeAppDir(args);
    const std::string bmp = pbcli::TakeOption(args, "--bmp");
    const std::string emf = pbcli::TakeOption(args, "--emf");
    const std::string pdf = pbcli::TakeOption(args, "--pdf");
    const int outputs = !bmp.empty() + !emf.empty() + !pdf.empty();
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-' || outputs != 1 ||
        appDir.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const auto app = pbcli::MakeHeadlessApplication();
    const bool centre = pbcli::LoadPrintState(appDir);
    std::string error;
    const auto work = pb::ComposeSavedWork(pb::App().WorksFolder, args[0], error);
    if (!work) return Fail(error);
    const bool leftOut = pbcli::ReportLeftOut("export", args[0], *work);
    const pb::Recording& drawing = *work->composed.drawing;
    if (!bmp.empty()) {
        if (!pb::ExportBitmap(drawing, drawing.size(), bmp)) return Fail("cannot write " + bmp);
    } else if (!emf.empty()) {
        if (!pb::SaveEmf(drawing, emf)) return Fail("cannot write " + emf);
    } else {
        const auto writer = pb::OpenPdfWriter(pdf);
        pb::PrintRequest request;
        request.drawnSize = drawing.size();
        request.pageMode = work->pageMode;
        request.centre = centre;
        request.screenPPIX = pb::App().ScreenPPIX;
        request.screenPPIY = pb::App().ScreenPPIY;
        request.title = "popboard " + pb::WorkNameOf(args[0]);
        if (pb::PrintDrawing(*writer, drawing, request) != pb::PrintOutcome::Printed)
            return Fail("cannot write " + pdf);
    }
    return leftOut ? 1 : 0;
}

const pbcli::CliCommandRegistration registration{
    {"export", "render a saved work as a bitmap, EMF or PDF file", Run}};

}  // namespace
