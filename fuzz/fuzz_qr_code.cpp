// TQRCode painting a Code (CP932 bytes, with BinaryOperation's "~hh~" runs) under properties
// taken from the input's first bytes. Sizes stay small enough for many runs a second: up to
// 16 symbols of up to 3 pixels a module, and only 2 above version 20 (14 symbols of version
// 38 into a turned metafile take seconds under the sanitizers, though nothing is wrong).
#include <cstddef>
#include <cstdint>
#include <string>

#include "codes/qr_code.h"
#include "gui_app.h"

namespace {

constexpr std::size_t kPropertyBytes = 10;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    StartGuiApp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kPropertyBytes) return 0;
    const std::uint8_t* p = data;
    pb::TQRCode qr;
    // One painting at the end instead of one for each property.
    qr.SetSymbolEnabled(false);
    qr.SetSize(1 + p[0] % 64 * 8, 1 + p[1] % 64 * 8);
    const int version = 1 + p[2] % 40;
    qr.SetVersion(version);
    qr.SetEclevel(p[3] & 3);
    qr.SetEmode(static_cast<int>(p[3] >> 2 & 7) - 1);  // -1..6: 4..6 are refused
    qr.SetMasktype(static_cast<int>(p[4] & 15) - 1);    // -1..14: 8.. are refused
    qr.SetCount(version > 20 ? 1 + (p[4] >> 4) % 2 : 1 + (p[4] >> 4));
    qr.SetColumn(1 + (p[5] & 7));
    qr.SetMode(static_cast<pb::TQRMode>(p[5] >> 3 & 3));  // 3 is refused
    qr.SetPxmag(1 + (p[5] >> 5) % 3);
    qr.SetAngle(90 * (p[6] & 3));
    qr.SetReverse(p[6] & 4);
    qr.SetMatch(p[6] & 8);
    qr.SetSymbolPicture(static_cast<pb::TPictures>(p[6] >> 4 & 3));
    qr.SetTransparent(p[6] & 64);
    qr.SetClearOption(p[6] & 128);
    qr.SetNumbering(static_cast<pb::TNumbering>(p[7] & 3));
    qr.SetCommentUp(p[7] & 4 ? "上" : "");
    qr.SetCommentDown(p[7] & 8 ? "No." : "");
    qr.SetCommentUpLoc(static_cast<pb::TLocation>(p[7] >> 4 & 3));
    qr.SetCommentDownLoc(static_cast<pb::TLocation>(p[7] >> 6));
    qr.SetSymbolLeft(static_cast<std::int8_t>(p[8]));
    qr.SetSymbolTop(static_cast<std::int8_t>(p[9]));
    qr.SetSymbolSpaceUp(p[8] & 15);
    qr.SetSymbolSpaceDown(p[8] >> 4);
    qr.SetSymbolSpaceLeft(p[9] & 15);
    qr.SetSymbolSpaceRight(p[9] >> 4);
    qr.SetSymbolDebug(p[2] >= 200);
    qr.SetBinaryOperation(p[3] & 32);
    qr.SetCode(std::string(reinterpret_cast<const char*>(data + kPropertyBytes),
                           size - kPropertyBytes));
    qr.SetSymbolEnabled(true);
    if (qr.SymbolDisped() && qr.Picture().isNull()) __builtin_trap();
    if (qr.Count() <= 4 && qr.Version() <= 10) qr.PBM();
    return 0;
}
