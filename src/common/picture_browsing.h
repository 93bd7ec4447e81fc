#pragma once
// Picture browsing: the current picture folder ("PixDir.txt" beside the program), the
// pictures of a folder (*.bmp, *.jpg, *.jpeg) as 40 x 40 thumbnails kept in the folder's
// cache sub-folder "vrnsimgfiles", and the fit of a picture into a box. The screens that let
// the user pick a picture (the object design screen, the import browser, the fill screens)
// show these lists through the widgets of picture_browser_widgets.h; popboard-cli thumbs runs
// the same code.
//
// Folders are paths with "/" and no trailing "/".

#include <optional>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/geometry.h"

namespace pb {

constexpr int kThumbnailWidth = 40;
constexpr int kThumbnailHeight = 40;
// The thumbnail cache sub-folder of every browsed folder. A picture "photo.jpg" has its
// thumbnail "photo.jpg.bmp" there.
constexpr const char* kThumbnailCacheFolder = "vrnsimgfiles";
constexpr const char* kPictureFolderFile = "PixDir.txt";

// Scales srcW x srcH to fit maxW x maxH in steps of 1 % of the source size (never by the
// exact ratio): the same aspect ratio gives the box; a picture too large in either direction
// shrinks by 1 % steps until both sides fit; a smaller one grows by 1 % steps until one side
// reaches the box, and is then clamped to it. A picture so large that the 1 % steps would
// reach nothing (more than 100 times the box) is scaled by the ratio instead, each side at
// least 1. Empty sizes give 0 x 0.
Size FitToBox(int srcW, int srcH, int maxW, int maxH);

// The folder named in appDir + "PixDir.txt"; when the file is missing, empty or names a
// folder that no longer exists, the user's picture folder (or the home folder).
std::string ReadPictureFolder(const std::string& appDir);
// At start-up: App().CurrentPictureFolder from "PixDir.txt".
void LoadCurrentPictureFolder();
// Writes `folder` into App().AppDir + "PixDir.txt" (CP932, no line end). False when it could
// not be written, or when the path has characters CP932 cannot hold (it would read back as
// another folder).
bool SavePictureFolder(const std::string& folder);

// False for a thumbnail cache folder (a path ending in "vrnsimgfiles") and for the program's
// own working folders (appDir + "TmpWork", "TmpWorkA", "TmpWorkB", "TmpWorkC", "METAFILES",
// "A4HGK", "A4HGK/SData", "A4HGK/MImg", "A4HGK/SImg", "PDF"); true otherwise.
bool IsBrowsableFolder(const std::string& folder, const std::string& appDir);
bool IsBrowsableFolder(const std::string& folder);  // against App().AppDir

// Whether a file name has one of the picture endings .bmp, .jpg, .jpeg (any case).
bool IsPictureFileName(const std::string& name);
// The picture files of a folder, by name in ascending order.
std::vector<std::string> ListPictureFiles(const std::string& folder);

// folder + "/vrnsimgfiles" and the thumbnail file of one picture in it.
std::string ThumbnailCachePath(const std::string& folder);
std::string ThumbnailFilePath(const std::string& folder, const std::string& pictureName);

enum class ThumbnailState {
    Cached,      // read from the cache
    Made,        // made from the picture (and stored in the cache when it could be)
    Damaged,     // made from a picture that is cut short or corrupt; marked, not cached
    Unreadable,  // the picture could not be read; a marker, not cached
    Deleted,     // the picture has gone since it was listed
};

struct Thumbnail {
    std::string name;  // the picture's file name, the caption of its item
    Bitmap image;      // 40 x 40
    ThumbnailState state = ThumbnailState::Made;
};

struct ThumbnailList {
    std::string folder;  // the folder the pictures lie in
    std::vector<Thumbnail> items;
    int made = 0;    // made from pictures (Made and Damaged)
    int cached = 0;  // taken from the cache
    int failed = 0;  // unreadable pictures
    int pruned = 0;  // cache files removed because their picture had gone
    bool any() const { return !items.empty(); }
};

// A 40 x 40 white bitmap with the picture scaled by FitToBox into its top-left corner
// (area-averaged). JPEG files are decoded with libjpeg's DCT scaling at the smallest scale
// that still covers the thumbnail. Nothing when the file cannot be read as a picture;
// *damaged tells that it was cut short or corrupt and was drawn as far as it goes.
std::optional<Bitmap> MakePictureThumbnail(const std::string& path, bool* damaged = nullptr);

// Width and height of a BMP or JPEG picture file (a JPEG's from its header alone); nothing
// when it cannot be read.
std::optional<Size> PictureFileSize(const std::string& path);

// The marker of a picture that has gone: "消さ" over "れた" ("was deleted").
Bitmap DeletedThumbnail();
// The marker of a picture that cannot be read: "読め" over "ない" in red.
Bitmap UnreadableThumbnail();
// Marks a thumbnail of a damaged picture (a red frame), keeping what could be decoded.
void MarkDamagedThumbnail(Bitmap& thumbnail);

// Removes the cached thumbnails whose picture is no longer in the folder; the number removed.
int PruneThumbnailCache(const std::string& folder);

// The thumbnails of every picture of `folder`, in name order: from the cache where it holds
// one not older than its picture, otherwise made and stored there. Creates the cache folder,
// or prunes it when it exists. Shows the hourglass, and a progress bar when many thumbnails
// have to be made. Nothing when the folder does not exist or holds no picture.
std::optional<ThumbnailList> BuildThumbnailList(const std::string& folder);

// Moves the browser from `oldFolder` to `newFolder`: `shown` becomes the list to show (empty
// for a folder that may not be browsed). Returns the folder to keep as the current one:
// newFolder only when it holds pictures, differs from oldFolder and was saved as the picture
// folder; oldFolder in every other case.
std::string ChangePictureFolder(const std::string& oldFolder, const std::string& newFolder,
                                ThumbnailList& shown);

}  // namespace pb
