// TQRCode at the edges of its ranges: pictures too large to make, margins at their limits, and
// the capacity that the encoder really accepts.
#include <gtest/gtest.h>

#include <string>

#include "codes/qr_code.h"

namespace pb {
namespace {

const std::string kKanji = "\x8A\xBF";  // one double-byte character

struct Settings {
    int count = 1, column = 16, version = 1, pxmag = 1;
    int spaceDown = 0, spaceRight = 0, left = 0;
    int level = 0, emode = -1;
    bool debug = false;     // encoding only
    std::string code = {};  // Count digits when empty
};

// A component with the settings applied while painting was off, then painted once.
void Paint(TQRCode& q, const Settings& s) {
    q.SetSymbolEnabled(false);
    q.SetSymbolDebug(s.debug);
    q.SetMatch(true);
    q.SetMasktype(0);  // the mask choice is not what these cases are about
    q.SetEclevel(s.level);
    q.SetEmode(s.emode);
    q.SetVersion(s.version);
    q.SetPxmag(s.pxmag);
    q.SetColumn(s.column);
    q.SetSymbolSpaceDown(s.spaceDown);
    q.SetSymbolSpaceRight(s.spaceRight);
    q.SetSymbolLeft(s.left);
    q.SetCode(s.code.empty() ? std::string(static_cast<std::size_t>(s.count), '1') : s.code);
    if (s.count > 1) q.SetMode(s.count <= 16 ? qrConnect : qrPlus);
    q.SetCount(s.count);
    q.SetSymbolEnabled(true);
}

TEST(QrLimits, PicturesBeyondTheBitmapLimitAreRefusedBeforeTheyAreMade) {
    struct Case {
        const char* name;
        Settings settings;
        QrPaintFailure failure;
        Size picture;  // {} when refused
    };
    const Case cases[] = {
        // 1024 symbols of version 40 in 16 columns: 185 x Pxmag a module square.
        {"Pxmag 2: sides fit, 140 million pixels do not",
         {.count = 1024, .version = 40, .pxmag = 2},
         QrPaintFailure::PictureTooLarge,
         {}},
        // One column of version 1 symbols: the height alone decides.
        {"1024 rows of 87 pixels: 89088 high",
         {.count = 1024, .column = 1, .pxmag = 3},
         QrPaintFailure::PictureTooLarge,
         {}},
        {"1024 rows of 58 pixels: 59392 high",
         {.count = 1024, .column = 1, .pxmag = 2},
         QrPaintFailure::None,
         {58, 59392}},
        {"the widest margins are accepted but make a picture too tall",
         {.count = 2, .column = 1, .spaceDown = kQrMaxSpace},
         QrPaintFailure::PictureTooLarge,
         {}},
        {"the corner left of the picture would cut the symbols off",
         {.left = -10},
         QrPaintFailure::NoRoom,
         {}},
    };
    for (const Case& c : cases) {
        TQRCode q;
        Paint(q, c.settings);
        EXPECT_EQ(q.PaintFailure(), c.failure) << c.name;
        EXPECT_EQ(q.SymbolDisped(), c.failure == QrPaintFailure::None) << c.name;
        // A refused painting leaves the picture as it was: nothing was painted before.
        EXPECT_EQ(q.Picture().size(), c.picture) << c.name;
    }
}

TEST(QrLimits, CapacityIsWhatTheSymbolsAccept) {
    // Per symbol: less the 20-bit structured append header when 2 to 16 symbols are
    // connected (a single symbol's capacity at every version and level is the zbar sweep's).
    struct Case {
        int version, level, mode, count, perSymbol;
        std::string character;
    };
    const Case cases[] = {
        {40, 0, qr::kByte, 16, 2951, "q"},  // the standard's 2953 less the header
        {40, 3, qr::kAlphanumeric, 3, 1849, "Q"}, {1, 3, qr::kNumeric, 2, 11, "7"},
        {1, 3, qr::kNumeric, 17, 17, "7"},  // separate symbols carry no header
        {1, 0, qr::kKanji, 2, 9, kKanji},
    };
    for (const Case& c : cases) {
        for (const int more : {0, 1}) {  // at capacity, and one character more a symbol
            std::string code;
            for (int i = 0; i < (c.perSymbol + more) * c.count; ++i) code += c.character;
            TQRCode q;
            Paint(q, {.count = c.count,
                      .version = c.version,
                      .level = c.level,
                      .emode = c.mode,
                      .debug = true,
                      .code = code});
            EXPECT_EQ(std::tuple(q.Count(), q.Capacity(), q.SymbolDisped()),
                      std::tuple(c.count, c.perSymbol * c.count, more == 0))
                << c.version << " " << c.level << " " << c.mode << " " << c.count << " " << more;
        }
    }
}

}  // namespace
}  // namespace pb
