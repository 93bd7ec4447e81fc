#include "codes/code_placement.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <span>
#include <stdexcept>

#include "codes/ean_barcode.h"
#include "codes/qr_code.h"
#include "codes/qr_encoder.h"
#include "platform/bitmap_canvas.h"
#include "platform/text_codec.h"

namespace pb {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

void RequireModuleSize(int moduleSize) {
    if (moduleSize < 1 || moduleSize > kQrMaxModuleSize)
        throw std::invalid_argument("QR module size outside 1..3");
}

std::span<const std::uint8_t> Bytes(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// Level-H capacities of versions 1..14: numeric, single-byte, kanji.
constexpr std::array<std::array<int, 3>, kQrMaxVersion> kCapacities{{
    {17, 6, 4},
    {34, 10, 8},
    {58, 20, 15},
    {82, 35, 21},
    {106, 50, 27},
    {139, 64, 36},
    {154, 84, 39},
    {202, 93, 52},
    {235, 122, 60},
    {288, 143, 74},
    {331, 174, 85},
    {374, 200, 96},
    {427, 227, 109},
    {468, 259, 120},
}};

}  // namespace

// ---- Barcode ----

BarcodeRegionStatus CheckBarcodeRegion(int width, int height) {
    if (width < kBarcodeMinWidth) return BarcodeRegionStatus::TooNarrow;
    if (height < kBarcodeMinHeight) return BarcodeRegionStatus::TooLow;
    return BarcodeRegionStatus::Ok;
}

ScannedCodeStatus CheckScannedCode(std::string_view cp932) {
    if (cp932.empty()) return ScannedCodeStatus::Empty;
    if (cp932.size() != 8 && cp932.size() != 13) return ScannedCodeStatus::WrongLength;
    const std::string_view body = cp932.substr(0, cp932.size() - 1);
    const std::string completed = cp932.size() == 8 ? EanCheck8(body) : EanCheck13(body);
    return completed == cp932 ? ScannedCodeStatus::Ok : ScannedCodeStatus::WrongCheckDigit;
}

int BarcodeModuleWidth(int regionWidth) {
    return regionWidth < 200 ? 1 : 2;
}

Bitmap DrawBarcodeRegion(int width, int height, std::string_view code,
                         const std::string& fontFamily) {
    if (width < 1 || height < 1) throw std::invalid_argument("barcode region without area");
    Bitmap bmp(width, height, clWhite);
    BitmapCanvas canvas(bmp);
    canvas.font.family = fontFamily;
    canvas.font.colour = clBlack;
    canvas.pen.colour = clBlack;
    canvas.brush = SolidBrush(clWhite);
    DrawEan(canvas, code, 0, BarcodeModuleWidth(width), height, width, 0);
    return bmp;
}

PlacementMessage MessageFor(BarcodeRegionStatus status) {
    switch (status) {
        case BarcodeRegionStatus::TooNarrow:
            return {"もうちょっと幅がほしい", "ごめん"};
        case BarcodeRegionStatus::TooLow:
            return {"もうちょっと高さがほしい", "ごめん"};
        case BarcodeRegionStatus::Ok:
            break;
    }
    return {};
}

PlacementMessage MessageFor(ScannedCodeStatus status) {
    switch (status) {
        case ScannedCodeStatus::WrongLength:
            return {"8桁、13桁の数字以外は受け付ける気になれない", "NG"};
        case ScannedCodeStatus::WrongCheckDigit:
            return {"なんか変", "NG"};
        case ScannedCodeStatus::Ok:
        case ScannedCodeStatus::Empty:
            break;
    }
    return {};
}

// ---- QR code: module size and capacity ----

int QrModulesOfRegion(int width, int height, int moduleSize) {
    RequireModuleSize(moduleSize);
    const int side = std::max(0, std::min(width, height));
    return side / moduleSize * 5 / 9;
}

QrSizeChoice ChooseQrModuleSizes(int width, int height) {
    const int m = QrModulesOfRegion(width, height);
    if (m < kQrMinModules) return {};
    if (m < 2 * kQrMinModules) return {1, 1};
    if (m < 3 * kQrMinModules) return {2, 2};
    return {3, 2};
}

QrCapacity QrCapacityOfVersion(int version) {
    if (version < 1 || version > kQrMaxVersion)
        throw std::invalid_argument("QR version outside 1..14");
    const auto& row = kCapacities[static_cast<std::size_t>(version - 1)];
    return {version, row[0], row[1], row[2]};
}

QrCapacity AreaCapacity(int width, int height, int moduleSize) {
    const int m = QrModulesOfRegion(width, height, moduleSize);
    if (m < kQrMinModules) return {};
    return QrCapacityOfVersion(std::min(kQrMaxVersion, (m - kQrMinModules) / 4 + 1));
}

std::string QrCapacityMessage(const QrCapacity& capacity) {
    return "上限 : 数字だけなら" + std::to_string(capacity.numeric) + "文字､英数だったら" +
           std::to_string(capacity.singleByte) + "文字、日本語は" + std::to_string(capacity.kanji) +
           "文字(多少の計算違いは勘弁)";
}

// ---- QR code: text ----

QrTextCount CountQrText(std::string_view cp932, std::size_t prefixBytes) {
    const std::string_view prefix = cp932.substr(0, std::min(prefixBytes, cp932.size()));
    QrTextCount count;
    count.characters = Cp932CharCount(prefix);
    if (std::all_of(prefix.begin(), prefix.end(), IsDigit))
        count.kind = QrTextKind::Numeric;
    else if (count.characters == prefix.size())
        count.kind = QrTextKind::SingleByte;
    else
        count.kind = QrTextKind::Kanji;
    return count;
}

int CapacityFor(const QrCapacity& capacity, QrTextKind kind) {
    switch (kind) {
        case QrTextKind::Numeric:
            return capacity.numeric;
        case QrTextKind::SingleByte:
            return capacity.singleByte;
        case QrTextKind::Kanji:
            return capacity.kanji;
    }
    return 0;
}

int QrVersionForText(std::string_view cp932) {
    const QrTextCount count = CountQrText(cp932, kQrVersionPrefixBytes);
    if (count.characters == 0) return 0;
    for (int v = 1; v <= kQrMaxVersion; ++v)
        if (static_cast<std::size_t>(CapacityFor(QrCapacityOfVersion(v), count.kind)) >=
            count.characters)
            return v;
    return 0;
}

int QrVersionThatEncodes(std::string_view cp932, int from) {
    if (from < 1 || from > kQrMaxVersion) throw std::invalid_argument("QR version outside 1..14");
    qr::Encoder encoder;
    for (int v = from; v <= kQrMaxVersion; ++v) {
        qr::EncodeOptions options;
        options.version = v;
        options.level = qr::kLevelH;
        // The data stage alone decides whether the text fits.
        if (encoder.BuildDataCodewords(Bytes(cp932), options) == qr::EncodeStatus::Ok) return v;
    }
    return 0;
}

// ---- QR code: placement ----

void PrepareRegionQrCode(TQRCode& qr) {
    qr.SetSymbolDebug(false);
    qr.SetTransparent(false);
    qr.SetMatch(true);
    qr.SetPxmag(2);
}

PlacementMessage MessageFor(QrPlacementStatus status) {
    switch (status) {
        case QrPlacementStatus::TooManyCharacters:
            return {"文字多すぎ", "NG"};
        case QrPlacementStatus::LargerThanRegion:
        case QrPlacementStatus::NotEncoded:
            return {"選択範囲狭すぎ、または、文字多すぎ", "これ以上は無理"};
        case QrPlacementStatus::Ok:
        case QrPlacementStatus::SnapshotFailed:
        case QrPlacementStatus::NoVersion:
            break;
    }
    return {};
}

QrPlacementStatus PlaceQrCode(Bitmap& region, TQRCode& qr, std::string_view cp932, int version,
                              const std::function<bool()>& snapshot) {
    if (version < 1 || version > kQrMaxVersion)
        throw std::invalid_argument("QR version outside 1..14");
    const QrTextCount count = CountQrText(cp932, kQrPlacementPrefixBytes);
    const QrCapacity capacity = AreaCapacity(region.width(), region.height(), qr.Pxmag());
    if (static_cast<std::size_t>(CapacityFor(capacity, count.kind)) < count.characters)
        return QrPlacementStatus::TooManyCharacters;

    qr.SetVersion(version);
    qr.SetEclevel(qr::kLevelH);
    qr.SetCode(std::string(cp932));
    // A text the version cannot hold leaves the previous picture in the component; placing
    // that would show a code of some other text.
    if (!qr.SymbolDisped()) return QrPlacementStatus::NotEncoded;
    const Bitmap& symbol = qr.Picture();
    if (symbol.width() > region.width() || symbol.height() > region.height())
        return QrPlacementStatus::LargerThanRegion;
    if (snapshot && !snapshot()) return QrPlacementStatus::SnapshotFailed;

    Bitmap placed(region.width(), region.height(), clWhite);
    {
        BitmapCanvas canvas(placed);
        canvas.Draw((region.width() - symbol.width()) / 2, (region.height() - symbol.height()) / 2,
                    symbol);
    }
    region = std::move(placed);
    return QrPlacementStatus::Ok;
}

QrHandOver HandOverQrText(Bitmap& region, TQRCode& qr, std::string_view cp932,
                          const std::function<bool()>& snapshot) {
    QrHandOver result;
    result.text = std::string(Cp932Left(cp932, kQrMaxTextCharacters));
    int version = QrVersionForText(result.text);
    if (version != 0) version = QrVersionThatEncodes(result.text, version);
    if (version == 0) return result;
    result.status = PlaceQrCode(region, qr, result.text, version, snapshot);
    if (result.status == QrPlacementStatus::Ok) result.version = version;
    return result;
}

int StepVersion(int current, int direction, int step, int maximum, int minimum) {
    const long long next = direction == 1 ? static_cast<long long>(current) + step
                                          : static_cast<long long>(current) - step;
    return static_cast<int>(std::max<long long>(minimum, std::min<long long>(maximum, next)));
}

std::string StepVersion(std::string_view current, int direction, int step, int maximum,
                        int minimum) {
    int value = 0;
    const auto [end, error] =
        std::from_chars(current.data(), current.data() + current.size(), value);
    if (error != std::errc() || end != current.data() + current.size()) value = 0;
    return std::to_string(StepVersion(value, direction, step, maximum, minimum));
}

}  // namespace pb
