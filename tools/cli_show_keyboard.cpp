// popboard-cli show-keyboard: the keyboard screen alone, for looking at it and for screenshots.
//   show-keyboard [--appdir DIR] [--mode N] [--text TEXT] [--hint TEXT]

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli_appdir.h"
#include "cli_commands.h"
#include "common/app_state.h"
#include "platform/ui/dialogs.h"
#include "textentry/ui/keyboard_screen.h"

namespace {

int Run(const std::vector<std::string>& argv) {
    std::vector<std::string> args = argv;
    const std::string appDir = pbcli::TakeAppDir(args);
    pb::KeyboardRequest request;
    request.callerMode = std::atoi(pbcli::TakeOption(args, "--mode", "0").c_str());
    request.text = pbcli::TakeOption(args, "--text");
    request.hint = pbcli::TakeOption(args, "--hint");
    if (!args.empty() || appDir.empty()) {
        std::fprintf(stderr,
                     "usage: popboard-cli show-keyboard [--appdir DIR] [--mode N] [--text TEXT] "
                     "[--hint TEXT]\n");
        return 2;
    }
    // Japanese family names from fontconfig, as the program itself asks for them.
    setenv("FC_LANG", "ja", 1);
    int argc = 1;
    char name[] = "popboard-cli";
    char* qtArgv[] = {name, nullptr};
    QApplication app(argc, qtArgv);
    pb::InstallDialogService(pb::MakeQtDialogService());
    pb::SetAppDir(pb::App(), appDir);
    auto* keyboard = new pb::TForm6();  // deletes itself when closed
    keyboard->Setup(request);
    return app.exec();
}

const pbcli::CliCommandRegistration registration{
    {"show-keyboard", "show the keyboard screen alone", Run}};

}  // namespace
