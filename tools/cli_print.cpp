// popboard-cli print: a saved work printed on the default printer, as "印刷" prints it.
//   print WORK [--copies N] [--appdir DIR]
// Without a system printer the built-in PDF printer writes APPDIR/PDF/P<yymmddhhnnss>.pdf.
// Objects that cannot be drawn are named on stderr; the work prints without them (as the
// editor prints a work whose unreadable objects it reported) and the exit status is 1.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/printing.h"
#include "app/works.h"
#include "cli_appdir.h"
#include "cli_commands.h"
#include "cli_print_setup.h"
#include "common/app_state.h"
#include "platform/ui/printer.h"

namespace {

constexpr const char* kUsage = "usage: popboard-cli print WORK [--copies N] [--appdir DIR]\n";

int Fail(const std::string& message) {
    std::fprintf(stderr, "popboard-cli print: %s\n", message.c_str());
    return 1;
}

int Run(const std::vector<std::string>& argv) {
    std::vector<std::string> args = argv;
    const std::string appDir = pbcli::TakeAppDir(args);
    const std::string copiesText = pbcli::TakeOption(args, "--copies", "1");
    char* end = nullptr;
    const long copies = std::strtol(copiesText.c_str(), &end, 10);
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-' || appDir.empty() ||
        copiesText.empty() || *end || copies < 1 || copies > 99) {
        std::fputs(kUsage, stderr);
        std::fputs("  N is 1 to 99, as on the print panel\n", stderr);
        return 2;
    }
    const auto app = pbcli::MakeHeadlessApplication();
    const bool centre = pbcli::LoadPrintState(appDir);
    std::string error;
    const auto work = pb::ComposeSavedWork(pb::App().WorksFolder, args[0], error);
    if (!work) return Fail(error);
    const bool leftOut = pbcli::ReportLeftOut("print", args[0], *work);
    const auto device = pb::OpenDefaultPrinter(pb::App().AppDir + "PDF");
    if (!device) return Fail("the default printer cannot be used");
    const pb::Recording& drawing = *work->composed.drawing;
    pb::PrintRequest request;
    request.drawnSize = drawing.size();
    request.pageMode = work->pageMode;
    request.centre = centre;
    request.copies = static_cast<int>(copies);
    request.screenPPIX = pb::App().ScreenPPIX;
    request.screenPPIY = pb::App().ScreenPPIY;
    request.title = "popboard " + pb::WorkNameOf(args[0]);
    switch (pb::PrintDrawing(*device, drawing, request)) {
        case pb::PrintOutcome::Refused:
            return Fail("the printer refused the document");
        case pb::PrintOutcome::Failed:
            return Fail("printing failed");
        case pb::PrintOutcome::Printed:
            break;
    }
    if (device->kind() == pb::PrinterKind::BuiltInPdf)
        std::printf("%s\n", device->outputFile().c_str());
    return leftOut ? 1 : 0;
}

const pbcli::CliCommandRegistration registration{
    {"print", "print a saved work on the default printer", Run}};

}  // namespace
