// popboard-cli render: one object record drawn as the object list shows it, the object bitmap
// with KeyColour (255, 255, 254) where nothing is drawn, optionally stretched to a zoom.
// Nothing is written beside the record: the fill the screen keeps as companion bitmap is
// computed in memory.

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli_commands.h"
#include "objects/object_renderer.h"
#include "objects/strdata.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"
#include "platform/stretch.h"

namespace {

constexpr const char* kUsage =
    "usage: popboard-cli render STRDATA_FILE OUT.bmp [--zoom Z]\n"
    "  Renders the object record STRDATA_FILE (\"StrData\" + n + \".txt\", CP932) into OUT.bmp\n"
    "  at Z percent (10 to 800, default 100), as the object image shows it.\n";

int Fail(const std::string& message, int status = 1) {
    std::fprintf(stderr, "popboard-cli render: %s\n", message.c_str());
    return status;
}

std::optional<int> ParseZoom(const std::string& s) {
    if (s.empty()) return std::nullopt;
    char* end = nullptr;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (*end || v < 10 || v > 800) return std::nullopt;
    return static_cast<int>(v);
}

int RunRender(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    int zoom = 100;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (a == "--zoom") {
            const auto z = i + 1 < args.size() ? ParseZoom(args[i + 1]) : std::nullopt;
            if (!z) return Fail(std::string("--zoom wants a number from 10 to 800\n") + kUsage, 2);
            zoom = *z;
            ++i;
            continue;
        }
        if (a.rfind("--", 0) == 0) return Fail("unknown option " + a + "\n" + kUsage, 2);
        files.push_back(a);
    }
    if (files.size() != 2)
        return Fail(std::string("STRDATA_FILE and OUT.bmp are needed\n") + kUsage, 2);

    const pb::ReadResult read = pb::ParseObjectRecord(pb::ReadWholeFile(files[0]));
    if (read.status == pb::ReadStatus::Missing) return Fail("no object in " + files[0]);
    if (read.status == pb::ReadStatus::Malformed) return Fail("cannot read the record " + files[0]);

    // Text needs a GUI application (fonts); none is shown. Family names in Japanese, as the
    // program lists the fonts that records index.
    std::unique_ptr<QGuiApplication> app;
    if (!QCoreApplication::instance()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        setenv("FC_LANG", "ja", 1);
        static int argc = 1;
        static char name[] = "popboard-cli";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    std::optional<pb::ObjectPicture> picture = pb::RenderObjectPicture(*read.record);
    if (!picture) return Fail("the object is empty or too large to draw");
    pb::Bitmap out = std::move(picture->image);
    if (zoom != 100) {
        // Nearest pixel, as the object image stretches: the key colour stays exact.
        out = pb::StretchBitmap(out, std::max(1, out.width() * zoom / 100),
                                std::max(1, out.height() * zoom / 100),
                                pb::StretchMode::ColorOnColor);
    }
    if (!pb::SaveBmp(out, files[1])) return Fail("cannot write " + files[1]);
    return 0;
}

const pbcli::CliCommandRegistration kRender({"render", "draw one object record into a BMP",
                                             RunRender});

}  // namespace
