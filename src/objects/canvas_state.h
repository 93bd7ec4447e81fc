#pragma once
// CanvasStateScope: restores the pen, brush, font and background of a canvas that a drawing
// routine borrowed (the print recording is drawn on by many routines in turn).

#include "platform/canvas.h"

namespace pb {

class CanvasStateScope {
  public:
    explicit CanvasStateScope(Canvas& c)
        : c_(c),
          pen_(c.pen),
          brush_(c.brush),
          font_(c.font),
          bkMode_(c.bkMode),
          bkColour_(c.bkColour) {}
    ~CanvasStateScope() {
        c_.pen = pen_;
        c_.brush = brush_;
        c_.font = font_;
        c_.bkMode = bkMode_;
        c_.bkColour = bkColour_;
    }
    CanvasStateScope(const CanvasStateScope&) = delete;
    CanvasStateScope& operator=(const CanvasStateScope&) = delete;

  private:
    Canvas& c_;
    Pen pen_;
    Brush brush_;
    Font font_;
    BkMode bkMode_;
    TColor bkColour_;
};

}  // namespace pb
