#include "objects/ui/object_images.h"

#include <QWidget>
#include <cstdlib>

#include "common/app_state.h"
#include "common/ui/object_image.h"
#include "common/ui/screen_hub.h"
#include "objects/object_renderer.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"
#include "platform/ui/dialogs.h"

namespace pb {

namespace {

void ReportUnreadable(int slot) {
    Dialogs().MessageBox(
        "StrData" + std::to_string(slot) + ".txt が読めないので、その部品は無視する", "NG");
}

// Stores the companion of a fresh render (or removes the old one) and shows the picture in
// the slot's image. False when the slot has no image.
bool ShowPicture(const std::string& folder, int slot, ObjectPicture picture) {
    const std::string companion = CompanionBitmapPath(folder, slot);
    DeleteFileIfExists(companion);
    if (picture.companion) SaveBmp(*picture.companion, companion);
    TCImg* img = ObjectImages()[slot];
    if (!img) return false;
    const Size size = picture.image.size();
    img->SetPicture(std::move(picture.image));
    img->SizeAtZoom(size.width, size.height, Hub().Zoom());
    return true;
}

void RenderInto(const std::string& folder, int slot, const ObjectRecord& rec) {
    if (auto picture = RenderObjectPicture(rec)) {
        ShowPicture(folder, slot, std::move(*picture));
    } else {
        ReportUnreadable(slot);
        FreeObject(slot);
    }
}

}  // namespace

void RenderPlainText(const std::string& folder, int slot, const ObjectRecord& rec) {
    ObjectRecord plain = rec;
    plain.family = ObjectFamily::Plain;
    RenderInto(folder, slot, plain);
}

void RenderDecorated(const std::string& folder, int slot, const ObjectRecord& rec) {
    ObjectRecord decorated = rec;
    decorated.family = ObjectFamily::Decorated;
    RenderInto(folder, slot, decorated);
}

bool RenderObject(const std::string& folder, int slot, bool create, bool place) {
    if (!ObjectSlots::valid(slot)) return false;
    const ReadResult read = ReadObjectRecord(folder, slot);
    if (read.status == ReadStatus::Missing) return false;
    std::optional<ObjectPicture> picture;
    // A position no page has cannot be placed on the screen either.
    if (read.record && PlaceableOnPage(*read.record)) picture = RenderObjectPicture(*read.record);
    if (!picture) {
        // Reported here, where objects come to the screen; the slot stays empty, so nothing
        // reads the record again until the user replaces it.
        ReportUnreadable(slot);
        FreeObject(slot);
        return false;
    }
    const ObjectRecord& rec = *read.record;
    if (create) {
        QWidget* area = Hub().PageArea();
        if (!area) return false;
        ObjectImages().Create(slot, rec.Left, rec.Top, 50, 50, area);
    }
    TCImg* img = ObjectImages()[slot];
    if (!img) return false;
    if (place) {
        if (const QWidget* page = Hub().PageImage())
            img->PlaceAtZoom(rec.Left, rec.Top, Hub().Zoom(), *page);
    }
    return ShowPicture(folder, slot, std::move(*picture));
}

void SaveObjectImagePosition(const std::string& folder, int slot, const QWidget& page, int zoom) {
    if (const TCImg* img = ObjectImages()[slot]) SaveObjectPosition(folder, slot, img->PositionOn(page), zoom);
}

void SaveAllPositions(const QWidget& page, int zoom) {
    const std::string& folder = App().ObjectFolder;
    for (int n = 0; n < ObjectSlots::kCount; ++n)
        if (ObjectImages().exists(n)) SaveObjectImagePosition(folder, n, page, zoom);
}

bool ReportObjectWrite(WriteStatus status, const ObjectRecord& rec) {
    switch (status) {
        case WriteStatus::Written:
            return true;
        case WriteStatus::TextTooLong:
            Dialogs().MessageBox("文字が長すぎ(" + std::to_string(MaxTextLines(rec)) + "行まで)", "NG");
            return false;
        case WriteStatus::NotWritten:
            break;
    }
    Dialogs().MessageBox("部品のファイルを書けなかった(ディスクがいっぱいか、書き込めない)", "NG");
    return false;
}

int FindFreeSlot() {
    for (int n = ObjectSlots::kCount - 1; n >= 0; --n)
        if (ObjectImages().exists(n)) return n + 1;
    return 0;
}

bool AnyObject() {
    return ObjectImages().Any();
}

void FreeObject(int slot) {
    ObjectImages().Free(slot);
}

}  // namespace pb
