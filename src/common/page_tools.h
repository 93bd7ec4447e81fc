#pragma once
// The painting tools of a canvas: free-hand, straight line, rectangle, rounded rectangle,
// ellipse, the bucket fill, and the three rectangle-selection tools. They work on an editing
// surface in bitmap pixels; the screens map their image's positions to bitmap pixels
// (ImageToBitmap), call the tools, and show the changed bitmap.

#include <memory>
#include <string>

#include "common/edit_surface.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace pb {

enum ToolIndexes : int {
    kFreeDraw = 0,
    kStraightLine = 1,
    kRectangleTool = 2,
    kRoundRectTool = 3,
    kEllipseTool = 4,
    kSelectCopy = 5,
    kSelectMove = 6,
    kSelectEdit = 7,
};

bool IsSelectionTool(int tool);
// A point of an image `image` large showing a bitmap `bitmap` large, in bitmap pixels:
// bitmap size * position / image size (integer division), so the tools work at every zoom.
Point ImageToBitmap(Size bitmap, Size image, int x, int y);

// A tool: a press starts its gesture, moves follow it, a release ends it.
class Tool {
public:
    virtual ~Tool() = default;
    virtual void Press(EditSurface& surface, Point p) const = 0;
    virtual void Move(EditSurface& surface, Point p) const = 0;
    virtual void Release(EditSurface& surface, Point p) const = 0;
};

// How a rectangular tool draws its shape between two corners with the canvas's pen.
using ShapeRoutine = void (*)(Canvas& canvas, Point s, Point e);
void DrawLineShape(Canvas& canvas, Point s, Point e);
void DrawRectangleShape(Canvas& canvas, Point s, Point e);
void DrawRoundRectShape(Canvas& canvas, Point s, Point e);
void DrawEllipseShape(Canvas& canvas, Point s, Point e);

// Free-hand: each move draws the next segment for good.
class FreeHandTool : public Tool {
public:
    void Press(EditSurface& surface, Point p) const override;
    void Move(EditSurface& surface, Point p) const override;
    void Release(EditSurface& surface, Point p) const override;
};

// A shape spanned from the press to the release: moves show it as a not-xor rubber band,
// which drawn a second time at the same place restores the pixels under it; the release draws
// it for good (`final`), or, for the selection tools, only takes the band away.
class RectangularTool : public Tool {
public:
    RectangularTool(ShapeRoutine draw, bool clampToBitmap, bool final)
        : draw_(draw), clamp_(clampToBitmap), final_(final) {}
    void Press(EditSurface& surface, Point p) const override;
    void Move(EditSurface& surface, Point p) const override;
    void Release(EditSurface& surface, Point p) const override;

private:
    void Band(EditSurface& surface, Point s, Point e) const;
    ShapeRoutine draw_;
    bool clamp_;
    bool final_;
};

// The tool of a tool index (kFreeDraw ... kSelectEdit; others give the rectangle).
const Tool& ToolFor(int toolIndex);

// A left press with pen mode on: the snapshot (unless skipSnapshot), the pen (the selection
// tools draw their band 2 pixels black) and the tool's press. False, and nothing begun, when
// the bitmap is empty or the snapshot could not be written.
bool BeginGesture(EditSurface& surface, int toolIndex, Point p, TColor colour, int penWidth,
                  bool skipSnapshot);

// Calls off the gesture in progress (a second finger landed: the stroke was the start of a
// pinch): the bitmap goes back to how it was at the press and the press's snapshot leaves the
// history. False when that snapshot could not be read (the bitmap is then left as it is).
bool CancelGesture(EditSurface& surface);

// The rectangle between StartPoint and EndPoint of the surface's gesture, normalised.
Rect SelectionRect(const GestureState& gesture);

enum class SelectionStatus {
    Done,
    Nothing,  // nothing to drop
    Broken,   // the snapshot or the selection's file could not be read or written
};

// Lifts the selection of the finished gesture: the surface goes back to the snapshot taken
// when the gesture began (without the band), `lifted` becomes the selected pixels, and for
// the copy and move tools they are written to `cctmpPath` (the move tool whitens the
// rectangle). Broken, with the bitmap whole, when the snapshot or the file failed.
SelectionStatus LiftSelection(EditSurface& surface, int toolIndex, Bitmap& lifted,
                              const std::string& cctmpPath);
// Draws the lifted pixels of `cctmpPath` onto the surface with their top-left at `at`;
// `lifted` becomes those pixels. Nothing when there is no such file.
SelectionStatus DropSelection(EditSurface& surface, Point at, Bitmap& lifted,
                              const std::string& cctmpPath);
// The dotted frame shown around a lifted selection.
void DrawSelectionFrame(Bitmap& lifted);

// Bucket fill ("Brush" mode) at a bitmap point: the snapshot, then a surface flood fill of the
// clicked colour with `colour`. False when nothing was filled.
bool BucketFill(EditSurface& surface, TColor colour, Point p);

}  // namespace pb
