#pragma once
// Saved works in AppDir + "A4HGK/": each work is a thumbnail "SImg/" + name + ".bmp", the
// page bitmap "MImg/" + name + ".bmp" and a copy of the object folder "SData/" + name + "/",
// named "X" + yymmddhhnnss. A work is complete when all three exist.

#include <string>
#include <vector>

#include "platform/bitmap.h"

class QDateTime;

namespace pb {

// "X" + the local date and time as yymmddhhnnss. When a work of App().WorksFolder already has
// that name (any of its parts, also one a save left behind), the next free second is taken,
// so that two saves within one second, or a save after the clock was set back, never replace
// another work.
std::string NewWorkName();
// The same for the works in `worksFolder` at the time `now`.
std::string NewWorkName(const std::string& worksFolder, const QDateTime& now);

// Creates "A4HGK", "A4HGK/SData", "A4HGK/MImg", "A4HGK/SImg" under appDir where missing.
void EnsureWorkFolders(const std::string& appDir);

// Renumbers "StrData" + n + ".txt" in the folder so that they are contiguous from 0, keeping
// their order.
void CompactObjectFiles(const std::string& objectFolder);

// Whether the objects of the working folder differ from those saved with the work (any object
// counts as a change when the work has no name).
bool ObjectsChanged(const std::string& objectFolder, const std::string& worksFolder,
                    const std::string& workName);

// An object drawn over the page in the thumbnail: its bitmap (KeyColour see-through) and the
// rectangle it covers on the page image as shown on screen.
struct ThumbnailObject {
    const Bitmap* bitmap;
    Rect shown;
};

// The 140 x 140 thumbnail: the page as shown (shownSize) with its objects over it, on a silver
// square.
Bitmap MakeThumbnail(const Bitmap& page, Size shownSize, const std::vector<ThumbnailObject>& objects);

// Writes the three parts of work `name`: first each under a temporary name (page, object
// folder copy, thumbnail), and only when all three were written, moves them into place, the
// thumbnail last. On failure nothing of the earlier version of the work is touched and the
// temporary parts are removed. `objectFolder` must no longer hold rendered bitmaps.
// True only when the work has reached the disk (files and folders synced): it survives a
// power cut.
bool StoreWork(const std::string& worksFolder, const std::string& name, const Bitmap& page,
               const Bitmap& thumbnail, const std::string& objectFolder);

// Finishes or undoes saves that a crash interrupted, from the temporary parts StoreWork leaves
// (bitmaps whose writing was cut off are removed):
// when the new thumbnail was written, every new part is complete and the save is finished;
// otherwise the new parts are removed and the earlier version (if any) stays as it was. The
// earlier version's leftover copies are removed, or put back where a part is missing.
void RecoverInterruptedSaves(const std::string& worksFolder);

// Removes every work whose thumbnail lacks its page bitmap or object folder.
void CleanIncompleteWorks(const std::string& worksFolder);

// The thumbnail file names ("X*.bmp") of the works, ascending (the order of saving). A
// thumbnail without its page bitmap is deleted and not listed.
std::vector<std::string> ListWorkThumbnails(const std::string& worksFolder);

// Deletes the work of a thumbnail file name: page bitmap, thumbnail and object folder.
void DeleteWork(const std::string& worksFolder, const std::string& thumbnailName);

// The name of a work from its thumbnail file name (every ".bmp" removed).
std::string WorkNameOf(const std::string& thumbnailName);

}  // namespace pb
