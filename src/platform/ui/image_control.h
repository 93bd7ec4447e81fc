#pragma once
// ImageControl: an image control showing a Bitmap, optionally stretched to the control's size
// and optionally see-through where the picture has a transparent colour. It stands for the
// image controls the screens are built from (the page, the floating selection, object images,
// previews). Mouse positions are reported in control coordinates.

#include <QWidget>
#include <optional>

#include "platform/bitmap.h"

namespace pb {

class ImageControl : public QWidget {
    Q_OBJECT
public:
    explicit ImageControl(QWidget* parent = nullptr);

    const Bitmap& picture() const { return picture_; }
    // Draw on the picture in place, then call pictureChanged().
    Bitmap& picture() { return picture_; }
    void setPicture(Bitmap bmp);
    void clearPicture();
    void pictureChanged();

    bool stretch() const { return stretch_; }
    void setStretch(bool on);
    // With smooth shrinking on, a stretched picture shown smaller than its own size (on the
    // device's pixels) is drawn area-averaged, so thin lines stay visible; shown at its size
    // or larger its pixels stay sharp. Only the display changes; the picture and the mouse
    // positions are the same either way. Not used with a transparent colour.
    bool smoothShrink() const { return smoothShrink_; }
    void setSmoothShrink(bool on);
    // With a colour set, pixels of that colour are not drawn (the control is see-through
    // there, and mouse presses there still reach this control, as an image control's do).
    void setTransparentColour(std::optional<TColor> colour);
    std::optional<TColor> transparentColour() const { return transparent_; }

    // Places the control's top-left corner and size at once.
    void setBoundsRect(int left, int top, int width, int height) { setGeometry(left, top, width, height); }

signals:
    void mouseDown(Qt::MouseButton button, int x, int y);
    void mouseMove(Qt::MouseButtons buttons, int x, int y);
    void mouseUp(Qt::MouseButton button, int x, int y);
    // A left press and release inside the control; emitted before mouseUp, as image
    // controls order them.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Bitmap picture_;
    bool stretch_ = false;
    std::optional<TColor> transparent_;
    QImage masked_;  // picture with the transparent colour as alpha 0; rebuilt on change
    bool maskedStale_ = true;
    bool pressedInside_ = false;

    // The shrunk picture of smooth shrinking, and the picture it was made from, so that after
    // a change only the part shown from the changed pixels is averaged again.
    void refreshShrunk(int width, int height);
    bool smoothShrink_ = false;
    bool shrunkStale_ = true;
    Bitmap shrunk_;
    Bitmap shrunkFrom_;
};

}  // namespace pb
