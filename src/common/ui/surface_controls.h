#pragma once
// The screens' side of an editing surface: the image control that shows its bitmap, the
// floating image of a lifted selection, and the messages of the history and the tools.

#include <string>

#include "common/edit_surface.h"
#include "common/history.h"
#include "platform/geometry.h"

class QWidget;

namespace pb {

class ImageControl;

// A point of the image control in bitmap pixels of the picture it shows.
Point ImageToBitmap(const ImageControl& image, int x, int y);

// "これより前はない", "これより後はない" or "この履歴は壊れていて読めない" for a refused or
// failed step; true when the step was done.
bool ReportHistory(HistoryStatus status);
// "履歴を書けなかったので何も変えていない(ディスクがいっぱいか、書き込めない)": the snapshot
// that comes before every change could not be written, so the change was not made.
void ReportSnapshotFailed();

// "戻す" and "進む" on the surface shown by `image`.
void StepBack(ImageControl& image, EditSurface& surface);
void StepForward(ImageControl& image, EditSurface& surface);

// Lifts the finished selection into the floating image (drop = false; shown for the copy and
// move tools) or drops the floating image back onto the surface (drop = true, only while it
// is visible). True when it lifted or dropped; "何か事故" when a file failed.
bool LiftOrDropSelection(ImageControl& image, ImageControl& floating, EditSurface& surface,
                         int toolIndex, bool drop, const std::string& cctmpPath);

// Dragging a floating control (the floating selection, an object image) over the page: places
// it so that its centre lies under (x, y) (the control's own coordinates), kept inside `page`.
void DragFloatingControl(QWidget& control, const QWidget& page, int x, int y);

}  // namespace pb
