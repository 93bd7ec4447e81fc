#pragma once
// RegionHost: what the tool screens laid over the region editor ask of it. The editor's
// canvas shows RegionBitmap, the picture cut from the page, with its own history (number 2);
// the tool screens change that bitmap in place, taking a snapshot before each change, and
// roll back to the counter they remembered when they opened. The region editor implements
// this; screens of other subsystems reach it through Hub().Region().

#include "common/edit_surface.h"
#include "platform/colour.h"

class QWidget;

namespace pb {

class ImageControl;

class RegionHost {
public:
    virtual ~RegionHost() = default;

    // The region editor's window: the parent and the size reference of the tool screens.
    virtual QWidget* EditorWindow() = 0;
    // RegionBitmap (the canvas image's picture) with the region history.
    virtual EditSurface& RegionSurface() = 0;
    Bitmap& RegionBitmap() { return RegionSurface().bitmap(); }
    // The canvas image (Image1) and the floating image over it (PlacedImage, Image2), both
    // children of the canvas's scroll area.
    virtual ImageControl* CanvasImage() = 0;
    virtual ImageControl* PlacedImage() = 0;
    // The zoom percentage of the canvas (10..800).
    virtual int Zoom() const = 0;
    // The colour chosen in the editor's palette.
    virtual TColor CurrentColour() const = 0;

    // Shows RegionBitmap again after a tool changed it (the canvas keeps the zoom).
    virtual void RegionChanged() = 0;
    // Saves RegionBitmap as the next snapshot of the region history. False when that failed:
    // the action that asked for it then does nothing further.
    virtual bool SnapshotRegion() = 0;
    // A tool screen's "Cancel": back to the state it opened on (`start` is the history
    // counter it remembered then), with the hourglass while the snapshots are deleted.
    virtual void RollbackToOpen(int start) = 0;
};

}  // namespace pb
