#include "app/works.h"

#include <QDateTime>
#include <algorithm>
#include <filesystem>

#include "common/app_state.h"
#include "platform/bitmap_canvas.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"

namespace pb {

namespace {

std::string StrDataName(int n) { return "StrData" + std::to_string(n) + ".txt"; }

// Draws `src` stretched (nearest pixel) into `dest` of `target`, leaving the target's pixels
// where the source has the see-through colour `key`.
void StretchKeyed(Bitmap& target, const Rect& dest, const Bitmap& src, TColor key) {
    const int dw = dest.width(), dh = dest.height();
    if (dw <= 0 || dh <= 0 || src.isNull()) return;
    for (int y = 0; y < dh; ++y) {
        const int ty = dest.top + y;
        if (ty < 0 || ty >= target.height()) continue;
        const int sy = static_cast<int>(static_cast<long long>(y) * src.height() / dh);
        for (int x = 0; x < dw; ++x) {
            const int tx = dest.left + x;
            if (tx < 0 || tx >= target.width()) continue;
            const int sx = static_cast<int>(static_cast<long long>(x) * src.width() / dw);
            const TColor c = src.pixel(sx, sy);
            if (c != key) target.setPixel(tx, ty, c);
        }
    }
}
const char* const kPartSuffix = ".new";
const char* const kOldSuffix = ".old";

}  // namespace

std::string NewWorkName() {
    return NewWorkName(App().WorksFolder, QDateTime::currentDateTime());
}

std::string NewWorkName(const std::string& worksFolder, const QDateTime& now) {
    auto taken = [&](const std::string& name) {
        for (const std::string& part :
             {"MImg/" + name + ".bmp", "SData/" + name, "SImg/" + name + ".bmp"}) {
            for (const char* suffix : {"", kPartSuffix, kOldSuffix}) {
                const std::string path = JoinPath(worksFolder, part + suffix);
                if (Files().FileExists(path) || Files().FolderExists(path)) return true;
            }
        }
        return false;
    };
    // The same format whatever the second, so that the gallery sorts and lists it.
    QDateTime at = now;
    std::string name;
    for (int tries = 0; tries < 1000000; ++tries, at = at.addSecs(1)) {
        name = "X" + at.toString(QStringLiteral("yyMMddHHmmss")).toStdString();
        if (!taken(name)) break;
    }
    return name;
}

void EnsureWorkFolders(const std::string& appDir) {
    for (const char* folder : {"A4HGK", "A4HGK/SData", "A4HGK/MImg", "A4HGK/SImg"}) {
        const std::string path = JoinPath(appDir, folder);
        if (!Files().FolderExists(path)) Files().CreateFolder(path);
    }
}

void CompactObjectFiles(const std::string& objectFolder) {
    int j = 0;
    for (int n = 0; n < kObjectSlots; ++n) {
        const std::string from = JoinPath(objectFolder, StrDataName(n));
        if (!Files().FileExists(from)) continue;
        if (n != j) Files().MoveFile(from, JoinPath(objectFolder, StrDataName(j)));
        ++j;
    }
}

bool ObjectsChanged(const std::string& objectFolder, const std::string& worksFolder,
                    const std::string& workName) {
    for (int n = 0; n < kObjectSlots; ++n) {
        const std::string f = JoinPath(objectFolder, StrDataName(n));
        const bool fExists = Files().FileExists(f);
        if (workName.empty()) {
            if (fExists) return true;
            continue;
        }
        const std::string g = JoinPath(worksFolder, "SData/" + workName + "/" + StrDataName(n));
        const bool gExists = Files().FileExists(g);
        if (fExists != gExists) return true;
        if (fExists && Files().ReadBytes(f) != Files().ReadBytes(g)) return true;
    }
    return false;
}

Bitmap MakeThumbnail(const Bitmap& page, Size shown, const std::vector<ThumbnailObject>& objects) {
    const int w = std::max(1, shown.width), h = std::max(1, shown.height);
    Bitmap b(w, h, clSilver);
    BitmapCanvas(b).StretchBlt({0, 0, w, h}, page, {0, 0, page.width(), page.height()},
                                StretchMode::Halftone);
    for (const ThumbnailObject& o : objects)
        if (o.bitmap) StretchKeyed(b, o.shown, *o.bitmap, KeyColour);
    const int m = std::max(w, h);
    b.resize(m, m, clSilver);
    Bitmap t(140, 140, clSilver);
    BitmapCanvas(t).StretchBlt({0, 0, 140, 140}, b, {0, 0, m, m}, StretchMode::Halftone);
    return t;
}

bool StoreWork(const std::string& worksFolder, const std::string& name, const Bitmap& page,
               const Bitmap& thumbnail, const std::string& objectFolder) {
    struct Part {
        std::string final;
        std::string fresh;  // written first
        std::string old;    // the earlier version while the new one is moved in
        bool hadOld = false;
    };
    auto part = [](std::string final) {
        return Part{final, final + kPartSuffix, final + kOldSuffix, false};
    };
    // The thumbnail lists the work in the gallery, so it is the last part put in place.
    Part parts[] = {part(JoinPath(worksFolder, "MImg/" + name + ".bmp")),
                    part(JoinPath(worksFolder, "SData/" + name)),
                    part(JoinPath(worksFolder, "SImg/" + name + ".bmp"))};
    Part& pagePart = parts[0];
    Part& dataPart = parts[1];
    Part& thumbPart = parts[2];

    auto remove = [](const std::string& path) {
        DeleteFileIfExists(path);
        ResetFolder(path, false);
    };
    // The new thumbnail goes first: while it is on disk the recovery takes the other new
    // parts as complete, and a kill may leave them half removed.
    auto removeFresh = [&] {
        for (int i = 2; i >= 0; --i) remove(parts[i].fresh);
    };
    removeFresh();  // leftovers of an interrupted save

    // Each new part is synced before anything refers to it: the recovery takes a new thumbnail
    // on disk as the sign that the other new parts are complete, so their data and names reach
    // the disk before the thumbnail is written.
    const std::string pageFolder = JoinPath(worksFolder, "MImg");
    const std::string dataFolder = JoinPath(worksFolder, "SData");
    const std::string thumbFolder = JoinPath(worksFolder, "SImg");
    bool written = SaveBmp(page, pagePart.fresh) && Files().SyncFile(pagePart.fresh);
    if (written) {
        written = Files().FolderExists(objectFolder)
                      ? Files().CopyFolder(objectFolder, dataPart.fresh, true)
                      : Files().CreateFolder(dataPart.fresh);
        written = written && SyncTree(dataPart.fresh);
    }
    written = written && Files().SyncFolder(pageFolder) && Files().SyncFolder(dataFolder);
    written = written && SaveBmp(thumbnail, thumbPart.fresh) && Files().SyncFile(thumbPart.fresh);
    if (!written) {
        removeFresh();
        return false;
    }

    // Everything is on disk. Each part replaces its earlier version; should a move fail, the
    // parts already moved are put back, so the earlier version stays whole.
    auto exists = [](const std::string& path) {
        return Files().FileExists(path) || Files().FolderExists(path);
    };
    int moved = 0;
    bool ok = true;
    for (Part& p : parts) {
        remove(p.old);
        p.hadOld = exists(p.final);
        if (p.hadOld && !Files().MoveFile(p.final, p.old)) {
            ok = false;
            break;
        }
        if (!Files().MoveFile(p.fresh, p.final)) {
            if (p.hadOld) Files().MoveFile(p.old, p.final);
            ok = false;
            break;
        }
        ++moved;
    }
    // The renames reach the disk with their folders: only then is the work saved.
    ok = ok && Files().SyncFolder(pageFolder) && Files().SyncFolder(dataFolder) &&
         Files().SyncFolder(thumbFolder);
    if (!ok) {
        // The new parts are moved back rather than removed: a kill in between leaves each
        // part whole under one of its names, for the recovery to finish or undo the save.
        for (int i = moved - 1; i >= 0; --i) {
            Files().MoveFile(parts[i].final, parts[i].fresh);
            if (parts[i].hadOld) Files().MoveFile(parts[i].old, parts[i].final);
        }
        removeFresh();
        return false;
    }
    for (const Part& p : parts) remove(p.old);
    return true;
}

namespace {

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// Names of the files and folders in `folder`.
std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names = Files().ListFiles(folder);
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError)) names.push_back(it->path().filename().string());
    }
    return names;
}

void RemovePath(const std::string& path) {
    DeleteFileIfExists(path);
    ResetFolder(path, false);
}

bool PathExists(const std::string& path) {
    return Files().FileExists(path) || Files().FolderExists(path);
}

}  // namespace

void RecoverInterruptedSaves(const std::string& worksFolder) {
    // Work names that have a temporary part in any of the three folders.
    std::vector<std::string> names;
    const std::pair<const char*, const char*> kinds[] = {
        {"MImg/", ".bmp"}, {"SData/", ""}, {"SImg/", ".bmp"}};
    for (const auto& [sub, ext] : kinds) {
        for (const std::string& entry : Entries(JoinPath(worksFolder, sub))) {
            // A bitmap whose writing was cut off: never part of any version of a work.
            if (WriteBytesTarget(entry)) {
                RemovePath(JoinPath(worksFolder, sub + entry));
                continue;
            }
            for (const char* suffix : {kPartSuffix, kOldSuffix}) {
                const std::string tail = std::string(ext) + suffix;
                if (!EndsWith(entry, tail)) continue;
                const std::string name = entry.substr(0, entry.size() - tail.size());
                if (std::find(names.begin(), names.end(), name) == names.end())
                    names.push_back(name);
            }
        }
    }
    for (const std::string& name : names) {
        std::vector<std::string> finals;
        for (const auto& [sub, ext] : kinds)
            finals.push_back(JoinPath(worksFolder, sub + name + ext));
        // The thumbnail is written last and put in place last: with its new copy on disk the
        // other new parts are complete, and those still waiting are moved in.
        const bool complete = PathExists(finals[2] + kPartSuffix);
        for (const std::string& final : finals) {
            const std::string fresh = final + kPartSuffix, old = final + kOldSuffix;
            if (PathExists(fresh)) {
                if (complete) {
                    RemovePath(final);
                    Files().MoveFile(fresh, final);
                } else {
                    RemovePath(fresh);
                }
            }
            if (PathExists(old)) {
                if (!PathExists(final))
                    Files().MoveFile(old, final);
                else
                    RemovePath(old);
            }
        }
    }
}

std::string WorkNameOf(const std::string& thumbnailName) {
    std::string stem = thumbnailName;
    for (std::size_t at; (at = stem.find(".bmp")) != std::string::npos;) stem.erase(at, 4);
    return stem;
}

void CleanIncompleteWorks(const std::string& worksFolder) {
    for (const std::string& file : Files().ListFiles(JoinPath(worksFolder, "SImg"))) {
        if (!EndsWith(file, ".bmp")) continue;
        const std::string stem = WorkNameOf(file);
        if (Files().FileExists(JoinPath(worksFolder, "MImg/" + file)) &&
            Files().FolderExists(JoinPath(worksFolder, "SData/" + stem)))
            continue;
        DeleteFileIfExists(JoinPath(worksFolder, "MImg/" + file));
        ResetFolder(JoinPath(worksFolder, "SData/" + stem), false);
        Files().DeleteFile(JoinPath(worksFolder, "SImg/" + file));
    }
}

std::vector<std::string> ListWorkThumbnails(const std::string& worksFolder) {
    std::vector<std::string> listed;
    for (const std::string& file : Files().ListFiles(JoinPath(worksFolder, "SImg"))) {
        if (file.empty() || file[0] != 'X' || !EndsWith(file, ".bmp")) continue;
        if (!Files().FileExists(JoinPath(worksFolder, "MImg/" + file))) {
            DeleteFileIfExists(JoinPath(worksFolder, "SImg/" + file));
            continue;
        }
        listed.push_back(file);
    }
    return listed;
}

void DeleteWork(const std::string& worksFolder, const std::string& thumbnailName) {
    DeleteFileIfExists(JoinPath(worksFolder, "MImg/" + thumbnailName));
    DeleteFileIfExists(JoinPath(worksFolder, "SImg/" + thumbnailName));
    const std::string stem = thumbnailName.size() > 4 && EndsWith(thumbnailName, ".bmp")
                                 ? thumbnailName.substr(0, thumbnailName.size() - 4)
                                 : thumbnailName;
    ResetFolder(JoinPath(worksFolder, "SData/" + stem), false);
}

}  // namespace pb
