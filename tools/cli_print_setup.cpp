#include "cli_print_setup.h"

#include <cstdio>
#include <cstdlib>

#include "app/printing.h"
#include "app/works.h"

#include "common/app_state.h"
#include "platform/file_service.h"
#include "platform/ui/metrics.h"

namespace pbcli {

std::unique_ptr<QApplication> MakeHeadlessApplication() {
    setenv("FC_LANG", "ja", 1);
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "popboard-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QApplication>(argc, argv);
}

bool LoadPrintState(const std::string& appDir) {
    pb::AppState& app = pb::App();
    pb::SetAppDir(app, appDir);
    const pb::ScreenMetrics screen = pb::ReadScreenMetrics();
    app.ScreenPPIX = screen.ppiX;
    app.ScreenPPIY = screen.ppiY;
    const pb::PrinterMetrics printer = pb::ReadPrinterMetrics();
    app.Printer = printer.kind;
    app.PrinterPPIX = printer.ppiX;
    app.PrinterPPIY = printer.ppiY;
    app.PrinterOffsetX = printer.offsetX;
    app.PrinterOffsetY = printer.offsetY;
    return pb::ReadWholeFile(app.AppDir + "PPPOS.txt") == "True";
}

bool ReportLeftOut(const char* command, const std::string& work,
                   const pb::SavedWorkComposition& composition) {
    const std::string name = pb::WorkNameOf(work);
    if (composition.objectFolderMissing)
        std::fprintf(stderr, "popboard-cli %s: %s: the object folder SData/%s is missing\n",
                     command, name.c_str(), name.c_str());
    for (const std::string& file : composition.skippedObjects)
        std::fprintf(stderr, "popboard-cli %s: %s: %s cannot be read or drawn; left out\n", command,
                     name.c_str(), file.c_str());
    return composition.objectFolderMissing || !composition.skippedObjects.empty();
}

}  // namespace pbcli
