#pragma once
// Bridges between Bitmap and Qt's images. A view shares the bitmap's pixels (painting on it
// changes the bitmap); the conversions copy.

#include <QImage>

#include "platform/bitmap.h"

namespace pb {

// A QImage (Format_BGR888) over the bitmap's own pixels. Valid while the bitmap lives and
// is not resized.
inline QImage ImageView(Bitmap& bmp) {
    if (bmp.isNull()) return {};
    return QImage(bmp.bits(), bmp.width(), bmp.height(), bmp.stride(), QImage::Format_BGR888);
}
inline QImage ConstImageView(const Bitmap& bmp) {
    if (bmp.isNull()) return {};
    return QImage(bmp.bits(), bmp.width(), bmp.height(), bmp.stride(), QImage::Format_BGR888);
}

Bitmap BitmapFromImage(const QImage& image);
QImage ImageFromBitmap(const Bitmap& bmp);  // a deep copy in Format_BGR888

}  // namespace pb
