#include "objects/object_renderer.h"

#include <cstdlib>
#include <memory>

#include "common/app_state.h"
#include "common/fill_styles.h"
#include "objects/canvas_state.h"
#include "objects/decorated_path.h"
#include "platform/bitmap_canvas.h"
#include "platform/file_service.h"
#include "platform/fonts.h"
#include "platform/picture_io.h"
#include "platform/stretch.h"

namespace pb {

namespace {

ComponentColours ComponentsOf(const ObjectRecord& rec) {
    ComponentColours c;
    c.use = rec.UseColor;
    c.colour = rec.Color;
    return c;
}

bool BoxDrawable(Size box) {
    return box.width >= 1 && box.height >= 1 && box.width <= kMaxObjectSide &&
           box.height <= kMaxObjectSide &&
           static_cast<long long>(box.width) * box.height <= kMaxObjectPixels;
}

std::string FontFamilyOf(const ObjectRecord& rec) {
    return FontNameForIndex(InstalledFonts(), rec.FontIndex);
}

// x of line i of a text whose box is W wide.
int AlignedX(int align, int boxWidth, int lineWidth) {
    if (align == 2) return (boxWidth - lineWidth) / 2;
    if (align == 3) return boxWidth - lineWidth;
    return 0;
}

}  // namespace

void DrawPlainTextLines(Canvas& target, Point at, const ObjectRecord& rec, int boxWidth) {
    target.brush.style = BrushStyle::Clear;
    target.bkMode = BkMode::Transparent;
    target.font = Font{FontFamilyOf(rec), rec.FontSize, false, false, rec.FontColor};
    long long y = at.y;
    for (const std::string& line : ObjectTextLines(rec.Text)) {
        const int x = AlignedX(rec.Align, boxWidth, target.TextWidth(line));
        target.TextOut(at.x + x, static_cast<int>(y), line);
        y += target.TextHeight(line);
    }
}

std::optional<Size> ObjectBoxSize(const ObjectRecord& rec) {
    Bitmap probe(1, 1);
    BitmapCanvas measure(probe);
    const std::string family = FontFamilyOf(rec);
    if (rec.decorated()) {
        const DecoratedLayout L = LayoutDecorated(measure, rec, family);
        if (!L.drawable) return std::nullopt;
        return Size{L.W, L.H};
    }
    const Size box = MeasureText(measure, family, rec.FontSize, false, rec.Text);
    if (!BoxDrawable(box)) return std::nullopt;
    return box;
}

bool PlaceableOnPage(const ObjectRecord& rec) {
    return std::llabs(rec.Left) <= kMaxObjectOrigin && std::llabs(rec.Top) <= kMaxObjectOrigin;
}

std::optional<ObjectPicture> RenderPlainTextPicture(const ObjectRecord& rec, int stripeWidth) {
    const std::optional<Size> box = ObjectBoxSize(rec);
    if (!box) return std::nullopt;
    ObjectPicture out;
    out.image = Bitmap(box->width, box->height, clWhite);
    Bitmap& bmp = out.image;
    switch (rec.BackStyle) {
        case 0:
            bmp.fill(KeyColour);
            break;
        case 1:
            bmp.fill(rec.BackColor);
            break;
        case 2:
            StripeFill(bmp, stripeWidth, ComponentsOf(rec), clWhite, rec.Horizontal);
            break;
        case 3:
            if (rec.Horizontal)
                GradationFillDown(bmp, ComponentsOf(rec), clWhite);
            else
                GradationFillAcross(bmp, ComponentsOf(rec), clWhite);
            break;
        default:
            break;  // stays white
    }
    if (rec.BackStyle != 0) out.companion = bmp;
    BitmapCanvas canvas(bmp);
    DrawPlainTextLines(canvas, {0, 0}, rec, box->width);
    return out;
}

Bitmap DecoratedFillBitmap(const ObjectRecord& rec, Size box, int stripeWidth) {
    Bitmap fill(box.width, box.height, clWhite);
    switch (rec.FillStyle) {
        case 2:
            StripeFill(fill, stripeWidth, ComponentsOf(rec), clWhite, rec.Horizontal);
            break;
        case 3:
            if (rec.Horizontal)
                GradationFillDown(fill, ComponentsOf(rec), clWhite);
            else
                GradationFillAcross(fill, ComponentsOf(rec), clWhite);
            break;
        case 4:
            // A picture that is gone or cannot be read leaves the fill white.
            if (!rec.ImageFile.empty() && Files().FileExists(rec.ImageFile)) {
                if (auto picture = LoadPicture(rec.ImageFile))
                    StretchBits(fill, {0, 0, box.width, box.height}, *picture,
                                {0, 0, picture->width(), picture->height()}, StretchMode::Halftone);
            }
            break;
        default:
            break;
    }
    return fill;
}

std::optional<ObjectPicture> RenderDecoratedPicture(const ObjectRecord& rec, int stripeWidth) {
    const std::optional<Size> box = ObjectBoxSize(rec);
    if (!box) return std::nullopt;
    ObjectPicture out;
    std::shared_ptr<const Bitmap> fill;
    if (rec.FillStyle < 10) {
        out.companion = DecoratedFillBitmap(rec, *box, stripeWidth);
        fill = std::make_shared<const Bitmap>(*out.companion);
    }
    out.image = Bitmap(box->width, box->height, KeyColour);
    BitmapCanvas canvas(out.image);
    DrawDecorated(canvas, {0, 0}, rec, fill, DrawMode::Screen);
    return out;
}

std::optional<ObjectPicture> RenderObjectPicture(const ObjectRecord& rec) {
    return rec.decorated() ? RenderDecoratedPicture(rec) : RenderPlainTextPicture(rec);
}

void DrawPlainTextForPrint(Canvas& target, const std::string& folder, int slot,
                           const ObjectRecord& rec) {
    if (!PlaceableOnPage(rec)) return;
    CanvasStateScope restore(target);
    const std::string family = FontFamilyOf(rec);
    const Size box = MeasureText(target, family, rec.FontSize, false, rec.Text);
    if (!BoxDrawable(box)) return;
    const std::string companion = CompanionBitmapPath(folder, slot);
    if (Files().FileExists(companion)) {
        if (auto bmp = LoadBmp(companion))
            target.StretchDraw(RectOfSize(rec.Left, rec.Top, box.width, box.height), *bmp);
    }
    DrawPlainTextLines(target, {rec.Left, rec.Top}, rec, box.width);
}

}  // namespace pb
