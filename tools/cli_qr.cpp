// popboard-cli qr: a QR code from the command line, drawn by the program's own component.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "cli_commands.h"
#include "codes/qr_code.h"
#include "platform/emf_writer.h"
#include "platform/picture_io.h"
#include "platform/text_codec.h"

namespace {

constexpr const char* kUsage =
    "usage: popboard-cli qr [--version N] [--level L|M|Q|H] [--mode "
    "auto|numeric|alnum|byte|kanji]\n"
    "                       [--mask -1..7] [--count N] [--pxmag N] [--binary] [--out FILE] TEXT\n"
    "  TEXT (UTF-8) is encoded as Shift-JIS. --count 2-16 makes a structured append\n"
    "  sequence, 17 and more separate symbols. --binary reads ~hh~ hexadecimal bytes.\n"
    "  --out FILE.bmp writes the picture, FILE.emf the metafile picture; any other FILE,\n"
    "  or none, gets the PBM text.\n";

constexpr const char* kModeNames[] = {"numeric", "alphanumeric", "8-bit", "kanji"};

int Fail(const std::string& message, int status = 1) {
    std::fprintf(stderr, "popboard-cli qr: %s\n", message.c_str());
    return status;
}

std::optional<int> ParseInt(const std::string& s) {
    if (s.empty()) return std::nullopt;
    char* end = nullptr;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (*end || v < -100000 || v > 100000) return std::nullopt;
    return static_cast<int>(v);
}

bool InRange(int v, int lo, int hi) {
    return v >= lo && v <= hi;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    if (s.size() < tail.size()) return false;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        char c = s[s.size() - tail.size() + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != tail[i]) return false;
    }
    return true;
}

int RunQr(const std::vector<std::string>& args) {
    int version = 1, level = 0, mode = -1, mask = -1, count = 1, pxmag = 1;
    bool binary = false;
    std::string out;
    std::optional<std::string> text;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (a == "--binary") {
            binary = true;
            continue;
        }
        if (a.rfind("--", 0) == 0 && a.size() > 2) {
            if (i + 1 >= args.size()) return Fail("missing value after " + a + "\n" + kUsage, 2);
            const std::string& value = args[++i];
            const std::optional<int> number = ParseInt(value);
            if (a == "--version" && number && InRange(*number, 1, 40)) {
                version = *number;
            } else if (a == "--level" && value.size() == 1 &&
                       std::string("LMQH").find(value) != std::string::npos) {
                level = static_cast<int>(std::string("LMQH").find(value));
            } else if (a == "--mode") {
                static const char* const kModes[] = {"auto", "numeric", "alnum", "byte", "kanji"};
                mode = -2;
                for (int m = 0; m < 5; ++m)
                    if (value == kModes[m]) mode = m - 1;
                if (mode == -2) return Fail("unknown mode '" + value + "'", 2);
            } else if (a == "--mask" && number && InRange(*number, -1, 7)) {
                mask = *number;
            } else if (a == "--count" && number && InRange(*number, 1, pb::kQrMaxCount)) {
                count = *number;
            } else if (a == "--pxmag" && number && InRange(*number, 1, 10)) {
                pxmag = *number;
            } else if (a == "--out") {
                out = value;
            } else {
                return Fail("bad option " + a + " " + value + "\n" + kUsage, 2);
            }
            continue;
        }
        if (text) return Fail(std::string("more than one TEXT\n") + kUsage, 2);
        text = a;
    }
    if (!text) return Fail(std::string("no TEXT\n") + kUsage, 2);

    bool lossless = true;
    const std::string cp932 = pb::Utf8ToCp932(*text, &lossless);
    if (!lossless)
        std::fprintf(stderr, "popboard-cli qr: characters without Shift-JIS became '?'\n");

    pb::TQRCode qr;
    qr.SetSymbolEnabled(false);
    qr.SetMatch(true);
    const bool picture = EndsWith(out, ".bmp") || EndsWith(out, ".emf");
    if (EndsWith(out, ".emf")) qr.SetSymbolPicture(pb::picEMF);
    qr.SetNumbering(pb::nbrNone);  // no comment text around the symbols
    qr.SetVersion(version);
    qr.SetEclevel(level);
    qr.SetEmode(mode);
    qr.SetMasktype(mask);
    qr.SetPxmag(pxmag);
    if (count >= 2) qr.SetMode(count <= 16 ? pb::qrConnect : pb::qrPlus);
    qr.SetCount(count);
    qr.SetBinaryOperation(binary);
    qr.SetCode(cp932);
    std::vector<std::string> pbm;
    try {
        qr.SetSymbolEnabled(true);
        if (qr.SymbolDisped() && !picture) pbm = qr.PBM();
    } catch (const pb::QRCodeError& e) {
        return Fail(e.what());
    }
    if (!qr.SymbolDisped()) {
        if (qr.PaintFailure() == pb::QrPaintFailure::PictureTooLarge)
            return Fail("the picture of " + std::to_string(qr.Count()) + " symbols would be " +
                        std::to_string(qr.SymbolWidthA()) + " x " +
                        std::to_string(qr.SymbolHeightA()) + " pixels, more than " +
                        std::to_string(pb::kMaxPictureSide) + " a side or " +
                        std::to_string(pb::kMaxPicturePixels) +
                        " pixels in all; use a smaller --pxmag, --version or --count");
        return Fail("the data (" + std::to_string(qr.Len()) + " bytes) do not fit version " +
                    std::to_string(version) + "-" + "LMQH"[level] +
                    (mode >= 0 ? " in the chosen mode" : ""));
    }
    std::fprintf(stderr, "version %d-%c, %s, mask %d, %d symbol%s, %d x %d pixels\n", version,
                 "LMQH"[level], qr.EmodeR() < 0 ? "no data" : kModeNames[qr.EmodeR()],
                 qr.MasktypeR(), qr.Count(), qr.Count() == 1 ? "" : "s", qr.Picture().width(),
                 qr.Picture().height());

    if (EndsWith(out, ".bmp")) {
        if (!pb::SaveBmp(qr.Picture(), out)) return Fail("cannot write " + out);
        return 0;
    }
    if (EndsWith(out, ".emf")) {
        if (!qr.Metafile() || !pb::SaveEmf(*qr.Metafile(), out)) return Fail("cannot write " + out);
        return 0;
    }
    std::string textOut;
    for (const auto& line : pbm) textOut += line + "\n";
    if (out.empty()) {
        std::fwrite(textOut.data(), 1, textOut.size(), stdout);
        return 0;
    }
    std::ofstream file(out, std::ios::binary);
    file << textOut;
    if (!file.flush()) return Fail("cannot write " + out);
    return 0;
}

const pbcli::CliCommandRegistration kQr({"qr", "draw a QR code (PBM text, BMP or EMF picture)",
                                         RunQr});

}  // namespace
