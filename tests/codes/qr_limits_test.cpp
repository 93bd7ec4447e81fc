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
};

// A component with the settings applied while painting was off, then painted once.
void Paint(TQRCode& q, const Settings& s) {
    q.SetSymbolEnabled(false);
    q.SetMatch(true);
    q.SetMasktype(0);  // the mask choice is not what these cases are about
    q.SetVersion(s.version);
    q.SetPxmag(s.pxmag);
    q.SetColumn(s.column);
    q.SetSymbolSpaceDown(s.spaceDown);
    q.SetSymbolSpaceRight(s.spaceRight);
    q.SetSymbolLeft(s.left);
    q.SetCode(std::string(static_cast<std::size_t>(s.count), '1'));
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
        {"a wide margin within the limit",
         {.count = 2, .column = 2, .spaceRight = 30000},
         QrPaintFailure::None,
         {2 * (29 + 30000), 29}},
        {"the corner left of the picture would cut the symbols off",
         {.left = -10},
         QrPaintFailure::NoRoom,
         {}},
        {"a corner to the right is a margin", {.left = 7}, QrPaintFailure::None, {36, 29}},
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

TEST(QrLimits, ARefusedPictureKeepsTheLastOneOrClearsIt) {
    for (const bool clearOption : {false, true}) {
        TQRCode q;
        q.SetMatch(true);
        q.SetVersion(40);
        q.SetPxmag(10);
        q.SetClearOption(clearOption);
        q.SetCode(std::string(1024, 'A'));
        ASSERT_TRUE(q.SymbolDisped());
        const Bitmap before = q.Picture();
        q.SetCount(1024);  // 29600 x 118400
        EXPECT_FALSE(q.SymbolDisped()) << clearOption;
        EXPECT_EQ(q.PaintFailure(), QrPaintFailure::PictureTooLarge) << clearOption;
        EXPECT_TRUE(clearOption ? q.Picture().isNull() : q.Picture() == before) << clearOption;
        q.SetCount(1);  // back within the limit
        EXPECT_EQ(std::pair(q.SymbolDisped(), q.Picture().size()),
                  std::pair(true, Size{1850, 1850}));
    }
}

TEST(QrLimits, CapacityIsWhatTheSymbolsAccept) {
    // Per symbol: less the 20-bit structured append header when 2 to 16 symbols are
    // connected (a single symbol's capacity at every version and level is the zbar sweep's).
    struct Case {
        int version, level, mode, count;
        int perSymbol;
    };
    const Case cases[] = {
        {40, 0, qr::kByte, 16, 2951},  // the standard's 2953 less the header
        {40, 3, qr::kAlphanumeric, 3, 1849},
        {1, 3, qr::kNumeric, 2, 11},
        {1, 3, qr::kNumeric, 17, 17},  // separate symbols carry no header
        {1, 0, qr::kKanji, 2, 9},
    };
    for (const Case& c : cases) {
        const std::string what = "version " + std::to_string(c.version) + " level " +
                                 std::to_string(c.level) + " mode " + std::to_string(c.mode) +
                                 " count " + std::to_string(c.count);
        const std::string character = c.mode == qr::kNumeric        ? "7"
                                      : c.mode == qr::kAlphanumeric ? "Q"
                                      : c.mode == qr::kByte         ? "q"
                                                                    : kKanji;
        auto paint = [&](int perSymbol) {
            TQRCode q;
            q.SetSymbolDebug(true);  // encoding only
            q.SetSymbolEnabled(false);
            q.SetVersion(c.version);
            q.SetEclevel(c.level);
            q.SetEmode(c.mode);
            q.SetMasktype(0);
            std::string code;
            for (int i = 0; i < perSymbol * c.count; ++i) code += character;
            q.SetCode(code);
            if (c.count > 1) q.SetMode(c.count <= 16 ? qrConnect : qrPlus);
            q.SetCount(c.count);
            q.SetSymbolEnabled(true);
            EXPECT_EQ(q.Count(), c.count) << what;
            EXPECT_EQ(q.Capacity(), c.perSymbol * c.count) << what;
            return q.SymbolDisped();
        };
        EXPECT_TRUE(paint(c.perSymbol)) << what;
        EXPECT_FALSE(paint(c.perSymbol + 1)) << what;
    }
}

}  // namespace
}  // namespace pb
