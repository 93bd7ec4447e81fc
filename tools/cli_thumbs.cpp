// popboard-cli thumbs: builds or refreshes the thumbnail cache ("vrnsimgfiles") of a picture
// folder with the code the screens use, old thumbnails of deleted pictures pruned, and prints
// how many thumbnails were made and how many came from the cache.
//   thumbs FOLDER [--appdir DIR]

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli_appdir.h"
#include "cli_commands.h"
#include "common/app_state.h"
#include "common/picture_browsing.h"
#include "platform/file_service.h"

namespace {

int Run(const std::vector<std::string>& argv) {
    std::vector<std::string> args = argv;
    const std::string appDir = pbcli::TakeAppDir(args);
    if (args.size() != 1 || appDir.empty() || args[0].rfind("--", 0) == 0) {
        std::fprintf(stderr, "usage: popboard-cli thumbs FOLDER [--appdir DIR]\n");
        return 2;
    }
    std::string folder = args[0];
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    pb::SetAppDir(pb::App(), appDir);
    if (!pb::Files().FolderExists(folder)) {
        std::fprintf(stderr, "popboard-cli thumbs: no folder %s\n", folder.c_str());
        return 1;
    }
    if (!pb::IsBrowsableFolder(folder)) {
        std::fprintf(stderr,
                     "popboard-cli thumbs: %s is a folder of the program, not of pictures\n",
                     folder.c_str());
        return 1;
    }
    // The markers of unreadable pictures are drawn with a font.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("FC_LANG", "ja", 1);
    int argc = 1;
    char name[] = "popboard-cli";
    char* qtArgv[] = {name, nullptr};
    QGuiApplication app(argc, qtArgv);

    const auto list = pb::BuildThumbnailList(folder);
    if (!list) {
        std::printf("made 0, from cache 0 (no pictures in %s)\n", folder.c_str());
        return 0;
    }
    std::printf("made %d, from cache %d", list->made, list->cached);
    if (list->failed) std::printf(", unreadable %d", list->failed);
    if (list->pruned) std::printf(", pruned %d", list->pruned);
    std::printf("\n");
    return 0;
}

const pbcli::CliCommandRegistration registration{
    {"thumbs", "build or refresh the thumbnail cache of a picture folder", Run}};

}  // namespace
