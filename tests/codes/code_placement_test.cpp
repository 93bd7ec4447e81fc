// Codes placed into a region: the EAN check digits, the size checks, module sizes, capacities
// and versions, the drawing into the region with its refusals, the version steps, and the
// placed codes read back by zbarimg (which also checks the EAN module patterns).
#include "codes/code_placement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codes/ean_barcode.h"
#include "codes/qr_code.h"
#include "platform/bitmap_canvas.h"
#include "platform/text_codec.h"
#include "support/test_support.h"
#include "zbar_reader.h"

namespace pb {
namespace {

std::string Sjis(std::string_view utf8) {
    return Utf8ToCp932(utf8);
}

// A region with a recognisable picture, so that any change to it shows.
Bitmap Region(int width, int height) {
    Bitmap bmp(width, height, clWhite);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if ((x + y) % 7 == 0) bmp.setPixel(x, y, RGB(200, 30, 30));
    return bmp;
}

TEST(Ean, CheckDigitsAndTheFallbackPattern) {
    struct Case {
        std::string input;
        std::string (*check)(std::string_view);
        std::string result;
    };
    const Case cases[] = {
        {"490123456789", EanCheck13, "4901234567894"},
        {"000000000055", EanCheck13, "0000000000550"},   // s = 20: "0", not "10"
        {"4901234567890", EanCheck13, "0000000000000"},  // 13 digits
        {"49012345678A", EanCheck13, "0000000000000"},
        {"4901234", EanCheck8, "49012347"},
        {"1000009", EanCheck8, "10000090"},  // s = 30
        {"49O1234", EanCheck8, "00000000"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.check(c.input), c.result) << c.input;

    for (const char* bad : {"0000000000000", "123", "49012A47", "4901234567 94"})
        EXPECT_EQ(EanPattern(bad), kEanFallbackPattern) << bad;
}

TEST(CodePlacement, BarcodeRegionsScansAndModuleWidths) {
    const struct {
        int width, height;
        BarcodeRegionStatus status;
    } regions[] = {
        {100, 36, BarcodeRegionStatus::Ok},
        {99, 36, BarcodeRegionStatus::TooNarrow},
        {100, 35, BarcodeRegionStatus::TooLow},
    };
    for (const auto& c : regions)
        EXPECT_EQ(CheckBarcodeRegion(c.width, c.height), c.status) << c.width << " x " << c.height;
    // Bars of one pixel a module up to 199 pixels, two from 200 (read back by zbarimg below).
    EXPECT_EQ(std::pair(BarcodeModuleWidth(199), BarcodeModuleWidth(200)), std::pair(1, 2));

    const std::pair<std::string, ScannedCodeStatus> scans[] = {
        {"4901234567894", ScannedCodeStatus::Ok},
        {"", ScannedCodeStatus::Empty},
        {Sjis("４９０１２３４７"), ScannedCodeStatus::WrongLength},  // full-width: 16 bytes
        {"4901234567895", ScannedCodeStatus::WrongCheckDigit},
    };
    for (const auto& [scanned, status] : scans)
        EXPECT_EQ(CheckScannedCode(scanned), status) << scanned;
    // Cancelling the input box stops without a message.
    EXPECT_TRUE(MessageFor(ScannedCodeStatus::Empty).text.empty());
}

TEST(CodePlacement, QrModuleSizesOfferedByTheSmallerSide) {
    const struct {
        int side, modules, choices, preselected;
    } cases[] = {
        {37, 20, 0, 0},  {38, 21, 1, 1},  {75, 41, 1, 1},   {76, 42, 2, 2},
        {113, 62, 2, 2}, {114, 63, 3, 2}, {600, 333, 3, 2},
    };
    for (const auto& c : cases)
        for (const auto& [w, h] : {std::pair{c.side, 900}, std::pair{900, c.side}}) {
            EXPECT_EQ(QrModulesOfRegion(w, h), c.modules) << w << " x " << h;
            const QrSizeChoice choice = ChooseQrModuleSizes(w, h);
            EXPECT_EQ(choice.choices, c.choices) << w << " x " << h;
            EXPECT_EQ(choice.preselected, c.preselected) << w << " x " << h;
        }
    EXPECT_EQ(ChooseQrModuleSizes(-5, 100).choices, 0);
}

TEST(CodePlacement, AreaCapacityFollowsTheVersionTheAreaHolds) {
    const struct {
        int width, height, moduleSize;
        QrCapacity capacity;
    } cases[] = {
        {150, 400, 2, {6, 139, 64, 36}},  // m = 75 x 5 div 9 = 41
        {37, 37, 1, {0, 0, 0, 0}},          {38, 38, 1, {1, 17, 6, 4}},
        {132, 132, 1, {14, 468, 259, 120}},  // m = 73
    };
    for (const auto& c : cases) {
        const QrCapacity got = AreaCapacity(c.width, c.height, c.moduleSize);
        EXPECT_EQ(std::tuple(got.version, got.numeric, got.singleByte, got.kanji),
                  std::tuple(c.capacity.version, c.capacity.numeric, c.capacity.singleByte,
                             c.capacity.kanji))
            << c.width << " x " << c.height;
    }
    for (int bad : {0, 4, -1}) EXPECT_THROW(AreaCapacity(100, 100, bad), std::invalid_argument);
}

TEST(CodePlacement, VersionForTextByKindOverTheFirst255Bytes) {
    const std::string kanji = Sjis("漢");
    std::string kanji121;
    for (int i = 0; i < 121; ++i) kanji121 += kanji;
    const std::pair<std::string, int> cases[] = {
        {std::string(17, '7'), 1},
        {std::string(18, '7'), 2},
        {"abcdefg", 2},
        {"ABCDEF", 1},
        {Sjis("ab漢cd"), 2},  // 5 characters, kanji kind
        // Only the first 255 bytes count: the letter after them leaves the text numeric.
        {std::string(255, '1') + "A", 10},
        {std::string(254, 'a') + kanji, 14},  // the lead byte left at the cut counts as one
        {kanji121, 0},                        // 121 kanji, 128 characters counted
    };
    for (const auto& [text, version] : cases) EXPECT_EQ(QrVersionForText(text), version) << text;
}

TEST(CodePlacement, StepVersionStaysWithinItsBounds) {
    const struct {
        int current, direction, minimum, result;
    } cases[] = {
        {14, 1, 3, 14}, {3, 0, 3, 3},   {5, 1, 3, 6},
        {5, 0, 1, 4},   {20, 0, 3, 14},  // beyond the maximum comes back to it
    };
    for (const auto& c : cases)
        EXPECT_EQ(StepVersion(c.current, c.direction, 1, 14, c.minimum), c.result)
            << c.current << " " << c.direction;

    // The caption as the screen shows it, the direction, the minimum, and the new caption.
    const std::tuple<std::string_view, int, int, std::string_view> captions[] = {
        {"7", 1, 2, "8"},
        {"", 1, 2, "2"},
        {"x", 0, 3, "3"},
    };
    for (const auto& [caption, direction, minimum, result] : captions)
        EXPECT_EQ(StepVersion(caption, direction, 1, 14, minimum), result) << caption;
}

class QrPlacement : public ::testing::Test {
  protected:
    void SetUp() override { PrepareRegionQrCode(qr_); }
    // A snapshot that records the region it saw.
    std::function<bool()> Snapshot(const Bitmap& region, bool ok = true) {
        return [this, &region, ok] {
            snapshots_.push_back(region);
            return ok;
        };
    }
    TQRCode qr_;
    std::vector<Bitmap> snapshots_;
};

TEST_F(QrPlacement, RefusalsLeaveTheRegionAlone) {
    const struct {
        int side, moduleSize;
        std::string text;
        int version;
        bool snapshotOk;
        QrPlacementStatus status;
    } cases[] = {
        {38, 1, "abcdef", 1, true, QrPlacementStatus::Ok},
        {38, 1, "abcdefg", 2, true, QrPlacementStatus::TooManyCharacters},  // 6 at this area
        {38, 1, "12", 3, true, QrPlacementStatus::Ok},  // 37 pixels with the quiet zone
        {38, 1, "12", 4, true, QrPlacementStatus::LargerThanRegion},
        {200, 1, std::string(35, 'q'), 4, true, QrPlacementStatus::NotEncoded},
        // Counted over 468 bytes, 260 letters exceed the 259 of the area (over 255 they
        // would not, and version 14 would hold them).
        {200, 1, std::string(260, 'A'), 14, true, QrPlacementStatus::TooManyCharacters},
        {200, 1, std::string(259, 'A'), 14, true, QrPlacementStatus::Ok},
        {200, 1, "abc", 2, false, QrPlacementStatus::SnapshotFailed},
    };
    for (const auto& c : cases) {
        qr_.SetPxmag(c.moduleSize);
        // A code of another text in the component first: a failed painting must not place it.
        qr_.SetVersion(2);
        qr_.SetCode("OTHER");
        const Bitmap before = Region(c.side, c.side + 10);
        Bitmap region = before;
        snapshots_.clear();
        const QrPlacementStatus status =
            PlaceQrCode(region, qr_, c.text, c.version, Snapshot(region, c.snapshotOk));
        EXPECT_EQ(status, c.status) << c.text << " v" << c.version;
        const bool reachedSnapshot =
            c.status == QrPlacementStatus::Ok || c.status == QrPlacementStatus::SnapshotFailed;
        ASSERT_EQ(snapshots_.size(), reachedSnapshot ? 1u : 0u) << c.text;
        if (reachedSnapshot) {
            EXPECT_TRUE(snapshots_[0] == before) << c.text;
        }
        EXPECT_EQ(region == before, c.status != QrPlacementStatus::Ok) << c.text;
        EXPECT_EQ(region.size(), before.size());
    }
    // A failed snapshot and a text beyond every version stop without a message.
    EXPECT_TRUE(MessageFor(QrPlacementStatus::SnapshotFailed).text.empty());
    EXPECT_TRUE(MessageFor(QrPlacementStatus::NoVersion).text.empty());
}

TEST_F(QrPlacement, HandOverCutsTheTextAndChoosesTheVersion) {
    const std::string kanji = Sjis("漢");
    std::string kanji121, mixed;
    for (int i = 0; i < 121; ++i) kanji121 += kanji;
    for (int i = 0; i < 60; ++i) mixed += "a" + kanji;
    const struct {
        std::string text;
        QrPlacementStatus status;
        std::size_t keptBytes;
        int version;
    } cases[] = {
        {std::string(130, '5'), QrPlacementStatus::Ok, 120, 6},
        {kanji121, QrPlacementStatus::Ok, 240, 14},
        {"", QrPlacementStatus::NoVersion, 0, 0},
        {mixed, QrPlacementStatus::NoVersion, 180, 0},  // no version holds its segments
    };
    qr_.SetPxmag(2);
    for (const auto& c : cases) {
        const Bitmap before = Region(400, 400);
        Bitmap region = before;
        snapshots_.clear();
        const QrHandOver h = HandOverQrText(region, qr_, c.text, Snapshot(region));
        EXPECT_EQ(h.status, c.status) << c.text;
        EXPECT_EQ(h.text, c.text.substr(0, c.keptBytes)) << c.text;
        EXPECT_EQ(h.version, c.version) << c.text;
        EXPECT_EQ(snapshots_.size(), c.status == QrPlacementStatus::Ok ? 1u : 0u) << c.text;
        EXPECT_EQ(region == before, c.status != QrPlacementStatus::Ok) << c.text;
    }
}

TEST_F(QrPlacement, PlacedCodesReadBackByZbar) {
    REQUIRE_PROGRAMS("zbarimg");
    test::TempDir dir;
    std::vector<std::string> files, expected;
    auto keep = [&](const Bitmap& region, const std::string& text, int scale) {
        files.push_back(dir.file("placed" + std::to_string(files.size()) + ".pgm"));
        test::WritePgm(region, files.back(), scale);
        expected.push_back(text);
    };

    const struct {
        int side, moduleSize;
        std::string text;
    } qrCases[] = {
        {150, 2, "HTTPS://EXAMPLE.JP/POP"},
        {38, 1, "abcdef"},
        {300, 3, Sjis("本日特売 卵1パック98円")},
        {400, 2, std::string(35, 'q')},  // raised from version 4 to 5
        {400, 2, std::string(120, '8')},
    };
    for (const auto& c : qrCases) {
        qr_.SetPxmag(c.moduleSize);
        Bitmap region = Region(c.side + 20, c.side);
        const QrHandOver h = HandOverQrText(region, qr_, c.text, nullptr);
        ASSERT_EQ(h.status, QrPlacementStatus::Ok) << c.text;
        keep(region, c.text, c.moduleSize == 1 ? 2 : 1);
    }
    const struct {
        int width, height;
        std::string code;
    } eanCases[] = {{300, 100, "4901234567894"}, {160, 60, "49012347"}, {199, 60, "9784101092058"}};
    for (const auto& c : eanCases) {
        ASSERT_EQ(CheckBarcodeRegion(c.width, c.height), BarcodeRegionStatus::Ok);
        ASSERT_EQ(CheckScannedCode(c.code), ScannedCodeStatus::Ok);
        keep(DrawBarcodeRegion(c.width, c.height, c.code, Font{}.family), c.code,
             BarcodeModuleWidth(c.width) == 1 ? 2 : 1);
    }
    EXPECT_EQ(test::ZbarReadAll(files, expected), expected);
}

}  // namespace
}  // namespace pb
