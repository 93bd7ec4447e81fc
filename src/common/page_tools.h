#pragma once
// The painting tools of a canvas image: free-hand, straight line, rectangle, rounded
// rectangle, ellipse, the bucket fill, and the three rectangle-selection tools with their
// floating image. The same routines serve the main screen's page (history slot 1) and the
// region editor's canvas (slot 2): each takes the canvas image, the floating image where it
// needs one, and the history slot it snapshots into before changing the bitmap.
//
// Positions X, Y are in the canvas image's own (screen) coordinates; they become bitmap pixels
// by bitmap size * position / image size (integer division), so the tools work at every zoom.

#include <QWidget>

#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/ui/image_control.h"

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

// State of the gesture in progress, shared by both canvases (only one gesture runs at a time).
struct GestureState {
    Point StartPoint;
    Point EndPoint;
    bool bandDrawn = false;  // a rubber band is on the bitmap and must be erased before the next
    Pen pen;
    Point penPosition;
};
GestureState& Gesture();

bool IsSelectionTool(int tool);
// A point of the image in bitmap pixels.
Point ImageToBitmap(const ImageControl& image, int x, int y);

// Left press: snapshot (unless skipSnapshot), pen set-up, start of the gesture.
void ToolMouseDown(ImageControl& image, int k, Qt::MouseButton button, int x, int y, TColor colour,
                   int penWidth, bool skipSnapshot);
// Move while tracking: moves the rubber band, or draws the next free-hand segment.
void ToolMouseMove(ImageControl& image, int x, int y);
// Draws the tool's shape from s to e (as a rubber band in not-xor, or final in copy mode).
void DrawToolShape(ImageControl& image, Point s, Point e, bool rubberBand);
// Left release for the drawing tools 0..4: the final shape. Returns the release point in bitmap
// pixels (the caller's selection tools use it).
void FinishToolShape(ImageControl& image, Point p);

// The rectangle between StartPoint and EndPoint, normalised.
Rect SelectionRect();

// Lifts the selection into the floating image (drop = false) or drops the floating image
// back onto the canvas (drop = true, only while it is visible). True when it lifted or
// dropped. `cctmpPath` is the file that holds the lifted pixels without their frame.
bool LiftOrDropSelection(ImageControl& image, ImageControl& floating, int k, bool drop,
                         const std::string& cctmpPath);

// Bucket fill ("Brush" mode) at a point of the image: snapshot, then a surface flood fill of
// the clicked colour with `colour`.
void BucketFill(ImageControl& image, int k, TColor colour, int x, int y);

// Dragging a floating control (the floating selection, an object image) over the page: places
// it so that its centre lies under (x, y) (the control's own coordinates), kept inside `page`.
void DragFloatingControl(QWidget& control, const QWidget& page, int x, int y);

}  // namespace pb
