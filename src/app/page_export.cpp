#include "app/page_export.h"

#include <QDateTime>

#include "platform/bitmap_canvas.h"
#include "platform/emf_writer.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"

namespace pb {

Bitmap RenderDrawing(const Recording& drawing, Size size) {
    Bitmap bmp(size.width, size.height, clWhite);
    if (bmp.isNull()) return bmp;
    BitmapCanvas canvas(bmp);
    drawing.PlayInto(canvas, {0, 0, size.width, size.height});
    return bmp;
}

Size MetafileSize(Size page) {
    return page.width <= page.height ? Size{330, 480} : Size{480, 330};
}

std::string TimeStamp() {
    return QDateTime::currentDateTime().toString(QStringLiteral("yyMMddHHmmss")).toStdString();
}

bool ExportBitmap(const Recording& drawing, Size page, const std::string& path) {
    return SaveBmp(RenderDrawing(drawing, page), path);
}

bool ExportMetafiles(const Recording& drawing, Size page, const std::string& metafileFolder,
                     const std::string& stamp) {
    if (!Files().FolderExists(metafileFolder) && !Files().CreateFolder(metafileFolder))
        return false;
    const std::string base = JoinPath(metafileFolder, "M" + stamp);
    // Two exports within one second share the name: the folder is there already.
    if (!Files().FolderExists(base) && !Files().CreateFolder(base)) return false;
    const Size size = MetafileSize(page);
    const Recording empty(size);
    Recording picture(size);
    drawing.PlayInto(picture, {0, 0, size.width, size.height});
    bool ok = SaveEmf(empty, JoinPath(base, "Tmp1.emf"));
    ok = SaveEmf(picture, JoinPath(base, "Tmp2.emf")) && ok;
    ok = SaveEmf(picture, base + ".emf") && ok;
    return ok;
}

}  // namespace pb
