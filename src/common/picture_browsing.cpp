#include "common/picture_browsing.h"

#include <QDir>
#include <QStandardPaths>
#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "common/app_state.h"
#include "platform/bitmap_canvas.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"
#include "platform/stretch.h"
#include "platform/text_codec.h"
#include "platform/work_indicator.h"

namespace pb {

namespace {

// Making more thumbnails than this at once shows a progress bar.
constexpr int kProgressThreshold = 20;

bool EndsWithNoCase(const std::string& s, std::string_view suffix) {
    if (s.size() < suffix.size()) return false;
    return std::equal(suffix.begin(), suffix.end(), s.end() - suffix.size(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string DefaultPictureFolder() {
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QDir(pictures).exists()) return pictures.toStdString();
    return QDir::homePath().toStdString();
}

// Whether the cached thumbnail was written after its picture last changed, so that a picture
// replaced under the same name gets a new thumbnail. Times that cannot be read count as fresh.
bool ThumbnailFresh(const std::string& picture, const std::string& thumbnail) {
    std::error_code a, b;
    const auto pictureTime = std::filesystem::last_write_time(picture, a);
    const auto thumbnailTime = std::filesystem::last_write_time(thumbnail, b);
    return a || b || thumbnailTime >= pictureTime;
}

bool IsJpegData(const std::string& bytes) {
    return bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xD8;
}

Bitmap TwoLineMarker(const char* top, const char* bottom, TColor text, TColor background) {
    Bitmap bmp(kThumbnailWidth, kThumbnailHeight, background);
    BitmapCanvas canvas(bmp);
    canvas.font.sizePoints = 15;  // 20 pixels high at 96 dpi
    canvas.font.colour = text;
    canvas.bkMode = BkMode::Transparent;
    canvas.TextOut(0, 0, top);
    canvas.TextOut(0, 20, bottom);
    return bmp;
}

}  // namespace

Size FitToBox(int srcW, int srcH, int maxW, int maxH) {
    if (srcW <= 0 || srcH <= 0 || maxW <= 0 || maxH <= 0) return {0, 0};
    const long long sw = srcW, sh = srcH;
    if (sh * maxW == sw * maxH) return {maxW, maxH};
    if (maxW < srcW || srcH > maxH) {
        for (int k = 0; k < 100; ++k) {
            const long long w = sw * (100 - k) / 100, h = sh * (100 - k) / 100;
            if (w <= maxW && h <= maxH && w > 0 && h > 0)
                return {static_cast<int>(w), static_cast<int>(h)};
        }
        // The steps would end at 0 x 0: scale by the ratio of the side that limits.
        if (sw * maxH >= sh * maxW)
            return {maxW, static_cast<int>(std::max<long long>(1, sh * maxW / sw))};
        return {static_cast<int>(std::max<long long>(1, sw * maxH / sh)), maxH};
    }
    long long w = sw, h = sh;
    for (long long k = 0;; ++k) {
        w = sw * (100 + k) / 100;
        h = sh * (100 + k) / 100;
        if (!(maxW > w && h < maxH)) break;
    }
    return {static_cast<int>(std::min<long long>(w, maxW)),
            static_cast<int>(std::min<long long>(h, maxH))};
}

std::string ReadPictureFolder(const std::string& appDir) {
    std::string folder = ReadWholeFile(JoinPath(appDir, kPictureFolderFile));
    while (!folder.empty() && (folder.back() == '\n' || folder.back() == '\r')) folder.pop_back();
    folder = WithoutTrailingSlash(folder);
    if (folder.empty() || !Files().FolderExists(folder)) return DefaultPictureFolder();
    return folder;
}

void LoadCurrentPictureFolder() {
    App().CurrentPictureFolder = ReadPictureFolder(App().AppDir);
}

bool SavePictureFolder(const std::string& folder) {
    if (!EncodableInCp932(folder)) return false;
    return WriteWholeFile(JoinPath(App().AppDir, kPictureFolderFile), folder);
}

bool IsBrowsableFolder(const std::string& folder, const std::string& appDir) {
    const std::string path = WithoutTrailingSlash(folder);
    const std::string cache = kThumbnailCacheFolder;
    if (path.size() >= cache.size() &&
        path.compare(path.size() - cache.size(), cache.size(), cache) == 0)
        return false;
    // "PDF" holds the jobs of the built-in PDF printer.
    static const std::array<const char*, 10> kOwnFolders = {
        "TmpWork", "TmpWorkA",    "TmpWorkB",   "TmpWorkC",   "METAFILES",
        "A4HGK",   "A4HGK/SData", "A4HGK/MImg", "A4HGK/SImg", "PDF"};
    for (const char* name : kOwnFolders)
        if (path == JoinPath(appDir, name)) return false;
    return true;
}

bool IsBrowsableFolder(const std::string& folder) {
    return IsBrowsableFolder(folder, App().AppDir);
}

bool IsPictureFileName(const std::string& name) {
    return EndsWithNoCase(name, ".bmp") || EndsWithNoCase(name, ".jpg") ||
           EndsWithNoCase(name, ".jpeg");
}

std::vector<std::string> ListPictureFiles(const std::string& folder) {
    std::vector<std::string> names = Files().ListFiles(folder);
    std::erase_if(names, [](const std::string& n) { return !IsPictureFileName(n); });
    return names;
}

std::string ThumbnailCachePath(const std::string& folder) {
    return JoinPath(folder, kThumbnailCacheFolder);
}

std::string ThumbnailFilePath(const std::string& folder, const std::string& pictureName) {
    return JoinPath(ThumbnailCachePath(folder), pictureName + ".bmp");
}

std::optional<Bitmap> MakePictureThumbnail(const std::string& path, bool* damaged) {
    if (damaged) *damaged = false;
    const auto bytes = Files().ReadBytes(path);
    if (!bytes) return std::nullopt;
    const bool jpeg = IsJpegData(*bytes);
    std::optional<Bitmap> picture;
    Size full;
    PictureError error;
    if (jpeg) {
        const auto size = JpegSize(*bytes);
        if (!size) return std::nullopt;
        full = *size;
        const Size fit = FitToBox(full.width, full.height, kThumbnailWidth, kThumbnailHeight);
        picture = DecodeJpeg(*bytes, fit.width, fit.height, &error);
        if (damaged) *damaged = error.damaged;
    } else {
        picture = DecodeBmp(*bytes, &error);
        if (picture) full = picture->size();
    }
    if (!picture) return std::nullopt;
    const Size fit = FitToBox(full.width, full.height, kThumbnailWidth, kThumbnailHeight);
    Bitmap thumbnail(kThumbnailWidth, kThumbnailHeight, clWhite);
    if (fit.width > 0 && fit.height > 0)
        StretchBits(thumbnail, RectOfSize(0, 0, fit.width, fit.height), *picture,
                    RectOfSize(0, 0, picture->width(), picture->height()), StretchMode::Halftone);
    return thumbnail;
}

std::optional<Size> PictureFileSize(const std::string& path) {
    const auto bytes = Files().ReadBytes(path);
    if (!bytes) return std::nullopt;
    if (IsJpegData(*bytes)) return JpegSize(*bytes);
    if (auto bmp = DecodeBmp(*bytes)) return bmp->size();
    return std::nullopt;
}

Bitmap DeletedThumbnail() {
    return TwoLineMarker("消さ", "れた", clBlack, clWhite);
}

Bitmap UnreadableThumbnail() {
    return TwoLineMarker("読め", "ない", RGB(0xFF, 0, 0), RGB(0xE0, 0xE0, 0xE0));
}

void MarkDamagedThumbnail(Bitmap& thumbnail) {
    if (thumbnail.isNull()) return;
    BitmapCanvas canvas(thumbnail);
    canvas.brush.style = BrushStyle::Clear;
    canvas.pen = Pen{RGB(0xFF, 0, 0), 2, PenStyle::Solid, PenMode::Copy};
    canvas.Rectangle(1, 1, thumbnail.width() - 1, thumbnail.height() - 1);
}

int PruneThumbnailCache(const std::string& folder) {
    const std::string cache = ThumbnailCachePath(folder);
    int removed = 0;
    for (const std::string& name : Files().ListFiles(cache)) {
        if (!EndsWithNoCase(name, ".bmp")) continue;
        const std::string picture = name.substr(0, name.size() - 4);
        if (Files().FileExists(JoinPath(folder, picture))) continue;
        if (Files().DeleteFile(JoinPath(cache, name))) ++removed;
    }
    return removed;
}

std::optional<ThumbnailList> BuildThumbnailList(const std::string& folder) {
    if (!Files().FolderExists(folder)) return std::nullopt;
    const std::vector<std::string> names = ListPictureFiles(folder);
    if (names.empty()) return std::nullopt;
    BusyCursor busy;

    ThumbnailList list;
    list.folder = folder;
    const std::string cache = ThumbnailCachePath(folder);
    // An unwritable folder still gets its thumbnails, only nothing is kept.
    if (!Files().FolderExists(cache))
        Files().CreateFolder(cache);
    else
        list.pruned = PruneThumbnailCache(folder);

    // Thumbnails that can be read from the cache, and how many have to be made.
    std::vector<std::optional<Bitmap>> cachedImages(names.size());
    int toMake = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string thumbnailPath = JoinPath(cache, names[i] + ".bmp");
        const std::string picturePath = JoinPath(folder, names[i]);
        if (Files().FileExists(thumbnailPath) && ThumbnailFresh(picturePath, thumbnailPath)) {
            auto bmp = LoadBmp(thumbnailPath);
            if (bmp && bmp->width() == kThumbnailWidth && bmp->height() == kThumbnailHeight)
                cachedImages[i] = std::move(bmp);
        }
        if (!cachedImages[i]) ++toMake;
    }
    std::unique_ptr<ProgressSink> progress;
    if (toMake > kProgressThreshold) progress = Indicator().BeginProgress("サムネイル作成中", toMake);

    int madeSoFar = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        Thumbnail item;
        item.name = names[i];
        if (cachedImages[i]) {
            item.image = std::move(*cachedImages[i]);
            item.state = ThumbnailState::Cached;
            ++list.cached;
        } else {
            bool damaged = false;
            auto made = MakePictureThumbnail(JoinPath(folder, names[i]), &damaged);
            if (!made) {
                item.image = UnreadableThumbnail();
                item.state = ThumbnailState::Unreadable;
                ++list.failed;
            } else if (damaged) {
                item.image = std::move(*made);
                MarkDamagedThumbnail(item.image);
                item.state = ThumbnailState::Damaged;
                ++list.made;
            } else {
                item.image = std::move(*made);
                item.state = ThumbnailState::Made;
                SaveBmp(item.image, JoinPath(cache, names[i] + ".bmp"));
                ++list.made;
            }
            if (progress) progress->SetValue(++madeSoFar);
        }
        list.items.push_back(std::move(item));
    }
    return list;
}

std::string ChangePictureFolder(const std::string& oldFolder, const std::string& newFolder,
                                ThumbnailList& shown) {
    shown = ThumbnailList{};
    if (!IsBrowsableFolder(newFolder)) return oldFolder;
    shown.folder = newFolder;
    auto list = BuildThumbnailList(newFolder);
    if (!list) return oldFolder;
    shown = std::move(*list);
    if (newFolder != oldFolder && SavePictureFolder(newFolder)) return newFolder;
    return oldFolder;
}

}  // namespace pb
