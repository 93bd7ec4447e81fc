#pragma once
// An editing surface: a bitmap that the painting tools change, its undo history and the state
// of the gesture in progress. The main screen's page owns one and the region editor's canvas
// another; the screens show the bitmap in their image controls.

#include <optional>
#include <string>

#include "common/history.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/geometry.h"

namespace pb {

// The gesture in progress on one surface.
struct GestureState {
    Point StartPoint;
    Point EndPoint;
    bool bandDrawn = false;  // a rubber band is on the bitmap and must be erased before the next
    Pen pen;
    Point penPosition;
    // How to call the gesture off: the history's counter before its press, which wrote that
    // snapshot, or, when the press took none (a dropped selection had just taken one), the
    // bitmap as it was.
    int startCounter = 0;
    std::optional<Bitmap> startBitmap;
};

class EditSurface {
public:
    // The surface paints on `bitmap`, which its owner keeps alive (the bitmap an image control
    // shows, say); the history lies in `historyFolder`.
    EditSurface(Bitmap& bitmap, std::string historyFolder)
        : bitmap_(&bitmap), history_(std::move(historyFolder)) {}

    Bitmap& bitmap() { return *bitmap_; }
    const Bitmap& bitmap() const { return *bitmap_; }
    History& history() { return history_; }
    const History& history() const { return history_; }
    GestureState& gesture() { return gesture_; }
    const GestureState& gesture() const { return gesture_; }

private:
    Bitmap* bitmap_;
    History history_;
    GestureState gesture_;
};

}  // namespace pb
