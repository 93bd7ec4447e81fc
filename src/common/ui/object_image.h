#pragma once
// TCImg: the image control that shows one overlay object over the page, and ObjectImages,
// the 200 slots of the current work. Slot n shows the object of "StrData" + n + ".txt".
// Object images are stretched (zoom only stretches them) and see-through where their
// bitmap has KeyColour.

#include <QPointer>
#include <array>
#include <memory>

#include "platform/bitmap.h"
#include "platform/ui/image_control.h"

namespace pb {

class TCImg {
public:
    // Creates the image "CImg" + slot at (left, top) with that size on `parent`.
    TCImg(int slot, int left, int top, int width, int height, QWidget* parent);
    // Hides and destroys the image.
    ~TCImg();
    TCImg(const TCImg&) = delete;
    TCImg& operator=(const TCImg&) = delete;

    int slot() const { return slot_; }
    ImageControl* image() const { return image_; }
    const Bitmap& bitmap() const { return image_->picture(); }
    void SetPicture(Bitmap bmp) { image_->setPicture(std::move(bmp)); }

    // Offset of the image from the page image's top-left corner, in screen pixels.
    Point PositionOn(const QWidget& page) const;
    Size size() const { return {image_->width(), image_->height()}; }
    Size bitmapSize() const { return image_->picture().size(); }

    // left = x * zoom / 100 + page left, top likewise (integer division).
    void PlaceAtZoom(int x, int y, int zoom, const QWidget& page);
    // width = w * zoom / 100, height = h * zoom / 100.
    void SizeAtZoom(int w, int h, int zoom);
    // The selection frame: a 2-pixel silver rectangle along the border of the bitmap.
    void DrawSelectionFrame();
    void SetEnabled(bool on) { image_->setEnabled(on); }

private:
    int slot_;
    QPointer<ImageControl> image_;
};

class ObjectSlots {
public:
    static constexpr int kCount = 200;
    TCImg* operator[](int n) const { return valid(n) ? slots_[n].get() : nullptr; }
    bool exists(int n) const { return (*this)[n] != nullptr; }
    // Puts a new image into slot n (freeing what was there) and returns it.
    TCImg* Create(int n, int left, int top, int width, int height, QWidget* parent);
    // FreeObject / RemoveObjectImage: hides and destroys the slot's image, empties the slot.
    void Free(int n);
    void FreeAll();
    // AnyObject: true when at least one slot holds an object image.
    bool Any() const;
    static bool valid(int n) { return n >= 0 && n < kCount; }

private:
    std::array<std::unique_ptr<TCImg>, kCount> slots_;
};

// The slots of the current work, owned by the main screen for the whole run.
ObjectSlots& ObjectImages();

}  // namespace pb
