#include "common/ui/surface_controls.h"

#include <QWidget>
#include <algorithm>

#include "common/page_tools.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/image_control.h"

namespace pb {

namespace {

void SayAccident() { Dialogs().MessageBox("何か事故", "どうでもいいけど"); }

}  // namespace

Point ImageToBitmap(const ImageControl& image, int x, int y) {
    return ImageToBitmap(image.picture().size(), Size{image.width(), image.height()}, x, y);
}

bool ReportHistory(HistoryStatus status) {
    switch (status) {
        case HistoryStatus::Done:
            return true;
        case HistoryStatus::NothingBefore:
            Dialogs().MessageBox("これより前はない", "NG");
            break;
        case HistoryStatus::NothingAfter:
            Dialogs().MessageBox("これより後はない", "NG");
            break;
        case HistoryStatus::Unreadable:
            Dialogs().MessageBox("この履歴は壊れていて読めない", "NG");
            break;
    }
    return false;
}

void ReportSnapshotFailed() {
    Dialogs().MessageBox(
        "履歴を書けなかったので何も変えていない(ディスクがいっぱいか、書き込めない)", "NG");
}

void StepBack(ImageControl& image, EditSurface& surface) {
    if (ReportHistory(surface.history().StepBack(surface.bitmap()))) image.pictureChanged();
}

void StepForward(ImageControl& image, EditSurface& surface) {
    if (ReportHistory(surface.history().StepForward(surface.bitmap()))) image.pictureChanged();
}

bool LiftOrDropSelection(ImageControl& image, ImageControl& floating, EditSurface& surface,
                         int toolIndex, bool drop, const std::string& cctmpPath) {
    const Bitmap& page = surface.bitmap();
    const int bw = std::max(1, page.width()), bh = std::max(1, page.height());
    const int iw = std::max(1, image.width()), ih = std::max(1, image.height());
    if (drop) {
        if (floating.isHidden()) return false;
        const Point at{(floating.x() - image.x()) * page.width() / iw,
                       (floating.y() - image.y()) * page.height() / ih};
        floating.hide();
        Bitmap lifted;
        const SelectionStatus status = DropSelection(surface, at, lifted, cctmpPath);
        if (status == SelectionStatus::Broken) SayAccident();
        if (status != SelectionStatus::Done) return false;
        floating.setPicture(std::move(lifted));
        image.pictureChanged();
        return true;
    }
    const Rect sel = SelectionRect(surface.gesture());
    floating.setGeometry(sel.left * iw / bw + image.x(), sel.top * ih / bh + image.y(),
                         sel.width() * iw / bw, sel.height() * ih / bh);
    Bitmap lifted;
    const SelectionStatus status = LiftSelection(surface, toolIndex, lifted, cctmpPath);
    image.pictureChanged();
    if (status != SelectionStatus::Done) {
        floating.setPicture(Bitmap(sel.width(), sel.height()));
        SayAccident();
        return false;
    }
    const bool shown = toolIndex == kSelectCopy || toolIndex == kSelectMove;
    if (shown) DrawSelectionFrame(lifted);
    floating.setPicture(std::move(lifted));
    if (shown) {
        floating.show();
        floating.raise();
    }
    return true;
}

void DragFloatingControl(QWidget& control, const QWidget& page, int x, int y) {
    int left = x + control.x() - control.width() / 2;
    int top = y + control.y() - control.height() / 2;
    left = std::min(left, page.x() + page.width() - control.width());
    left = std::max(left, page.x());
    top = std::min(top, page.y() + page.height() - control.height());
    top = std::max(top, page.y());
    control.move(left, top);
}

}  // namespace pb
