#pragma once
// The undo history: every state of the page (slot 1) or of the region editor's canvas
// (slot 2) is a numbered bitmap file "Tmp" + n + ".bmp" in the slot's folder, and
// App().HistoryCounter[k] is the number of the next snapshot to write. Nothing is kept in
// memory; the picture on screen is the newest state and has no file of its own.

#include <string>

#include "platform/bitmap.h"

namespace pb {

class ImageControl;

// folder + "/Tmp" + n + ".bmp"
std::string SnapshotPath(const std::string& folder, int n);

// Saves `bmp` as snapshot n in `folder`; when that fails, creates the folder and tries once
// more. False when the snapshot could not be written.
bool SaveSnapshot(const Bitmap& bmp, const std::string& folder, int n);

// Saves `bmp` as the next snapshot of slot k and counts it. False (and the counter unchanged)
// when it could not be written; the caller then leaves the bitmap alone.
bool TakeSnapshot(const Bitmap& bmp, int k);

// "戻す": loads the snapshot before the current one into `image`, or refuses with
// "これより前はない".
void StepBack(ImageControl& image, int k);
// "進む": loads the snapshot after the current one, or refuses with "これより後はない".
void StepForward(ImageControl& image, int k);

// Empties slot k's folder (recreating it) and starts its counter again at 1.
void ResetHistory(int k);

}  // namespace pb
