#pragma once
// TYTrackBar: the slider of the image tools, drawn by the program itself for finger use: a
// gauge with a raised thumb that is dragged. No keyboard, no focus, no paging by pressing
// beside the thumb. Screens follow OnChange (fired on every move while dragging, for a live
// label) and apply their costly operation on OnMouseUp.
//
// Default size 160 x 30; margins left 4, top 8, right 4, bottom 10, so the track is 152
// pixels long. The drag arithmetic is in imaging/track_bar_math.h.

#include <QWidget>

#include "platform/colour.h"

namespace pb {

class TYTrackBar : public QWidget {
    Q_OBJECT
  public:
    explicit TYTrackBar(QWidget* parent = nullptr);

    // Taken only when it differs and stays above Min; repaints.
    int Max() const { return max_; }
    void SetMax(int value);
    // Taken only when it differs and stays below Max; repaints.
    int Min() const { return min_; }
    void SetMin(int value);
    // Stored without repainting; shown at the next paint.
    TColor ThumbColor() const { return thumbColour_; }
    void SetThumbColor(TColor colour) { thumbColour_ = colour & 0xFFFFFF; }
    // Taken only when it differs and is above 1; the left and right margins become
    // width div 2 + 1 so that the thumb fits at both ends. Repaints.
    int ThumbWidth() const { return thumbWidth_; }
    void SetThumbWidth(int value);
    TColor GageColor() const { return gageColour_; }
    void SetGageColor(TColor colour) { gageColour_ = colour & 0xFFFFFF; }
    // Clamped into Min..Max; repaints when it changes; never fires OnChange.
    int Position() const { return position_; }
    void SetPosition(int value);

    bool dragging() const { return dragging_; }
    // Track length and thumb centre as the next paint draws them (pixels).
    int trackLength() const { return width() - leftMargin_ - rightMargin_; }
    int thumbCentre() const;

  signals:
    void OnChange();
    void OnMouseDown(Qt::MouseButton button, int x, int y);
    void OnMouseMove(int x, int y);
    void OnMouseUp(Qt::MouseButton button, int x, int y);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    static constexpr int kTopMargin = 8;
    static constexpr int kBottomMargin = 10;

    int max_ = 100;
    int min_ = 0;
    TColor thumbColour_;
    int thumbWidth_ = 10;
    TColor gageColour_ = clWhite;
    int position_ = 0;
    int leftMargin_ = 4;
    int rightMargin_ = 4;

    bool dragging_ = false;
    int downX_ = 0;
    int downPosition_ = 0;
};

}  // namespace pb
