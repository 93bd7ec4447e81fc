#include "app/printing.h"

#include <exception>

#include <QTemporaryDir>

#include "app/page_geometry.h"
#include "app/works.h"
#include "common/app_state.h"
#include "objects/object_renderer.h"
#include "objects/print_composition.h"
#include "objects/strdata.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"

namespace pb {

namespace {

// a * b / c rounded half to even (c > 0), as the printer scale is rounded.
int MulDivRoundEven(long long a, long long b, long long c) {
    const long long n = a * b;
    long long q = n / c;
    const long long r = n % c;
    if (2 * r > c || (2 * r == c && (q & 1))) ++q;
    return static_cast<int>(q);
}

}  // namespace

const ObjectPrintPasses& RendererPrintPasses() {
    static const ObjectPrintPasses passes{&OverlapPrePass, &RasterPass, &DrawObjectVector};
    return passes;
}

ComposedPage ComposePage(const Bitmap& page, const std::string& objectFolder,
                         const std::vector<int>& objectSlots, const ObjectPrintPasses& passes) {
    ComposedPage out;
    if (!objectSlots.empty() && passes.overlapPrePass) passes.overlapPrePass(objectFolder);
    Bitmap copy = page;
    if (passes.rasterPass)
        for (int n : objectSlots) passes.rasterPass(copy, objectFolder, n);
    auto shared = std::make_shared<const Bitmap>(std::move(copy));
    auto drawing = std::make_shared<Recording>(shared->size());
    drawing->StretchDrawShared({0, 0, shared->width(), shared->height()}, shared);
    if (passes.vectorPass)
        for (int n : objectSlots) passes.vectorPass(*drawing, objectFolder, n);
    out.pageCopy = std::move(shared);
    out.drawing = std::move(drawing);
    return out;
}

std::vector<int> ObjectSlotsIn(const std::string& objectFolder) {
    std::vector<int> objectSlots;
    for (int n = 0; n < kObjectSlots; ++n) {
        const auto bytes = Files().ReadBytes(ObjectFilePath(objectFolder, n));
        if (bytes && !bytes->empty()) objectSlots.push_back(n);
    }
    return objectSlots;
}

std::optional<Bitmap> LoadSavedWorkPage(const std::string& worksFolder, const std::string& name,
                                        std::string& stem, std::string& error) {
    stem = WorkNameOf(name);
    if (stem.empty() || stem.find('/') != std::string::npos) {
        error = "not a work name: " + name;
        return std::nullopt;
    }
    const std::string pagePath = JoinPath(worksFolder, "MImg/" + stem + ".bmp");
    PictureError pictureError;
    auto page = LoadBmp(pagePath, &pictureError);
    if (!page)
        error = Files().FileExists(pagePath) ? pagePath + ": " + pictureError.message
                                             : "no such work: " + stem;
    return page;
}

std::optional<SavedWorkComposition> ComposeSavedWork(const std::string& worksFolder,
                                                     const std::string& name, std::string& error) {
    std::string stem;
    auto page = LoadSavedWorkPage(worksFolder, name, stem, error);
    if (!page) return std::nullopt;
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        error = "no room for a scratch folder";
        return std::nullopt;
    }
    const std::string folder = scratch.path().toStdString() + "/";
    SavedWorkComposition out;
    const std::string saved = JoinPath(worksFolder, "SData/" + stem);
    out.objectFolderMissing = !Files().FolderExists(saved);
    if (!out.objectFolderMissing && !Files().CopyFolder(saved, folder, true)) {
        error = "could not copy the objects of " + stem;
        return std::nullopt;
    }
    // As opening the work renders its objects, which leaves their companion bitmaps (the
    // bitmap fills the raster pass burns into the page) beside the records. A record that
    // opening would report as unreadable is left out here too, and listed.
    std::vector<int> objectSlots;
    for (int n : ObjectSlotsIn(folder)) {
        const std::optional<ObjectRecord> record = ReadObject(folder, n);
        std::optional<ObjectPicture> picture;
        if (record && PlaceableOnPage(*record)) picture = RenderObjectPicture(*record);
        if (!picture) {
            out.skippedObjects.push_back("StrData" + std::to_string(n) + ".txt");
            continue;
        }
        if (picture->companion) SaveBmp(*picture->companion, CompanionBitmapPath(folder, n));
        objectSlots.push_back(n);
    }
    out.pageMode = OpenedPageMode(page->size(), App());
    out.composed = ComposePage(*page, folder, objectSlots);
    return out;
}

Size ReducedSize(Size page, int pageMode, bool reduceA4ToPostcard) {
    if (pageMode <= 1 || !reduceA4ToPostcard) return page;
    const long long w = page.width, h = page.height;
    if (pageMode == kA4Portrait)
        return {static_cast<int>(w * 100 / 210), static_cast<int>(h * 148 / 297)};
    return {static_cast<int>(w * 148 / 297), static_cast<int>(h * 100 / 210)};
}

PageOrientation OrientationFor(int pageMode) {
    return (pageMode == kPostcardLandscape || pageMode == kA4Landscape) ? PageOrientation::Landscape
                                                                        : PageOrientation::Portrait;
}

Size ScaleToPrinter(Size drawn, PageOrientation orientation, int screenPPIX, int screenPPIY,
                    int printerPPIX, int printerPPIY) {
    if (screenPPIX <= 0 || screenPPIY <= 0) return drawn;
    if (orientation == PageOrientation::Landscape)
        return {MulDivRoundEven(printerPPIY, drawn.width, screenPPIY),
                MulDivRoundEven(printerPPIX, drawn.height, screenPPIX)};
    return {MulDivRoundEven(printerPPIX, drawn.width, screenPPIX),
            MulDivRoundEven(printerPPIY, drawn.height, screenPPIY)};
}

Rect DestinationRect(PageOrientation orientation, bool centre, Size scaled, int pageWidth,
                     int pageHeight) {
    const int w = scaled.width, h = scaled.height;
    if (orientation == PageOrientation::Portrait) {
        if (!centre) return {0, 0, w, h};
        const int o = (pageWidth - w) / 2;  // truncates toward zero, also when negative
        return {o, 0, o + w, h};
    }
    if (!centre) return {0, pageHeight - h, w, pageHeight};
    const int o = (pageHeight - h) / 2;
    return {0, o, w, o + h};
}

PrintOutcome PrintDrawing(PrintDevice& device, const Recording& drawing,
                          const PrintRequest& request) {
    const PageOrientation orientation = OrientationFor(request.pageMode);
    device.SetOrientation(orientation);
    const int pw = device.PageWidth(), ph = device.PageHeight();
    const int ppi = device.resolution();
    const Size scaled = ScaleToPrinter(request.drawnSize, orientation, request.screenPPIX,
                                       request.screenPPIY, ppi, ppi);
    const Rect dest = DestinationRect(orientation, request.centre, scaled, pw, ph);

    PrintOutcome outcome = PrintOutcome::Printed;
    if (!device.BeginDoc(request.title)) {
        outcome = PrintOutcome::Refused;
    } else {
        try {
            for (int i = 1; i <= request.copies; ++i) {
                Canvas* canvas = device.canvas();
                if (!canvas) {
                    outcome = PrintOutcome::Failed;
                    break;
                }
                drawing.PlayInto(*canvas, dest);
                if (i < request.copies && !device.NewPage()) {
                    outcome = PrintOutcome::Failed;
                    break;
                }
            }
        } catch (const std::exception&) {
            outcome = PrintOutcome::Failed;
        }
        // The document is ended whatever happened, so that no print job stays open.
        if (!device.EndDoc()) outcome = PrintOutcome::Failed;
    }
    device.SetOrientation(PageOrientation::Portrait);
    return outcome;
}

}  // namespace pb
