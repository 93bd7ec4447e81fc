// popboard-cli ean: an EAN-13 or EAN-8 barcode drawn as the region editor draws it.

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli_commands.h"
#include "codes/ean_barcode.h"
#include "platform/bitmap_canvas.h"
#include "platform/picture_io.h"

namespace {

constexpr const char* kUsage =
    "usage: popboard-cli ean CODE [--module N] [--width W] [--height H] --out FILE.bmp\n"
    "  CODE is 13 or 8 digits with their check digit. The bars are centred on a white\n"
    "  W x H picture (default 200 x 100), N pixels per module (default 1 below a width\n"
    "  of 200, else 2), with the digits under them.\n";

int Fail(const std::string& message, int status = 1) {
    std::fprintf(stderr, "popboard-cli ean: %s\n", message.c_str());
    return status;
}

std::optional<int> ParsePositive(const std::string& s, int max) {
    if (s.empty()) return std::nullopt;
    char* end = nullptr;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (*end || v < 1 || v > max) return std::nullopt;
    return static_cast<int>(v);
}

int RunEan(const std::vector<std::string>& args) {
    std::optional<int> module;
    int width = 200, height = 100;
    std::string out, code;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (a.rfind("--", 0) == 0) {
            if (i + 1 >= args.size()) return Fail("missing value after " + a + "\n" + kUsage, 2);
            const std::string& value = args[++i];
            std::optional<int> n;
            if (a == "--module" && (n = ParsePositive(value, 100))) {
                module = n;
            } else if (a == "--width" && (n = ParsePositive(value, 20000))) {
                width = *n;
            } else if (a == "--height" && (n = ParsePositive(value, 20000))) {
                height = *n;
            } else if (a == "--out") {
                out = value;
            } else {
                return Fail("bad option " + a + " " + value + "\n" + kUsage, 2);
            }
            continue;
        }
        if (!code.empty()) return Fail(std::string("more than one CODE\n") + kUsage, 2);
        code = a;
    }
    if (code.empty() || out.empty())
        return Fail(std::string("CODE and --out are needed\n") + kUsage, 2);
    // The region editor's checks, with its messages.
    if (code.size() != 8 && code.size() != 13)
        return Fail("8桁、13桁の数字以外は受け付ける気になれない");
    const std::string head = code.substr(0, code.size() - 1);
    if ((code.size() == 13 ? pb::EanCheck13(head) : pb::EanCheck8(head)) != code)
        return Fail("なんか変");

    // Text needs a GUI application (fonts); none is shown.
    std::unique_ptr<QGuiApplication> app;
    if (!QCoreApplication::instance()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "popboard-cli";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    pb::Bitmap bmp(width, height, pb::clWhite);
    {
        pb::BitmapCanvas canvas(bmp);
        canvas.pen.colour = pb::clBlack;
        canvas.font.colour = pb::clBlack;
        canvas.brush.colour = pb::clWhite;
        pb::DrawEan(canvas, code, 0, module.value_or(width < 200 ? 1 : 2), height, width, 0);
    }
    if (!pb::SaveBmp(bmp, out)) return Fail("cannot write " + out);
    return 0;
}

const pbcli::CliCommandRegistration kEan({"ean", "draw an EAN-13 or EAN-8 barcode into a BMP",
                                          RunEan});

}  // namespace
