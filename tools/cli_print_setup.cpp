#include "cli_print_setup.h"

#include <cstdlib>

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

}  // namespace pbcli
