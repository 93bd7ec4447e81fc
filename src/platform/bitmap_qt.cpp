#include "platform/bitmap_qt.h"

#include <cstring>

namespace pb {

Bitmap BitmapFromImage(const QImage& image) {
    if (image.isNull()) return {};
    const QImage bgr = image.format() == QImage::Format_BGR888
                           ? image
                           : image.convertToFormat(QImage::Format_BGR888);
    Bitmap bmp(bgr.width(), bgr.height());
    for (int y = 0; y < bgr.height(); ++y)
        std::memcpy(bmp.scanLine(y), bgr.constScanLine(y), static_cast<std::size_t>(bgr.width()) * 3);
    return bmp;
}

QImage ImageFromBitmap(const Bitmap& bmp) { return ConstImageView(bmp).copy(); }

}  // namespace pb
