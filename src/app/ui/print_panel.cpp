#include "app/ui/print_panel.h"

#include <optional>

#include "app/printing.h"
#include "app/ui/card_merge_screen.h"
#include "app/ui/main_screen.h"
#include "app/ui/preview_screen.h"
#include "app/works.h"
#include "common/app_state.h"
#include "common/ui/object_image.h"
#include "objects/ui/object_images.h"
#include "platform/file_service.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/printer.h"

namespace pb {

void ComposeAndPrint(TForm1& form, bool print) {
    AppState& app = App();
    std::optional<BusyCursor> busy(std::in_place);
    form.Image0->setPicture(form.Image1->picture());

    std::vector<int> objectSlots;
    for (int n = 0; n < kObjectSlots; ++n)
        if (ObjectImages().exists(n)) objectSlots.push_back(n);
    ComposedPage composed = ComposePage(form.Image0->picture(), app.ObjectFolder, objectSlots);
    form.Image0->setPicture(*composed.pageCopy);

    const Size page = composed.drawing->size();
    const Size drawn = ReducedSize(page, app.PageMode, form.reduceA4ToPostcard());
    if (!print) {
        auto* preview = new TForm18(composed.drawing, drawn, &form);
        preview->show();
        return;
    }

    const std::string pdfFolder = app.AppDir + "PDF";
    std::unique_ptr<PrintDevice> device = OpenDefaultPrinter(pdfFolder);
    if (!device) {
        busy.reset();
        Dialogs().MessageBox("PRINTERの設定が変", "NG");
        return;
    }
    PrintRequest request;
    request.drawnSize = drawn;
    request.pageMode = app.PageMode;
    request.centre = form.feedCentre();
    request.copies = form.copies();
    request.screenPPIX = app.ScreenPPIX;
    request.screenPPIY = app.ScreenPPIY;
    request.title = app.WorkName.empty() ? "popboard" : "popboard " + app.WorkName;
    const PrintOutcome outcome = PrintDrawing(*device, *composed.drawing, request);
    busy.reset();
    if (outcome != PrintOutcome::Printed) {
        Dialogs().MessageBox("印刷できなかった", "NG");
    } else if (device->kind() == PrinterKind::BuiltInPdf) {
        Dialogs().MessageBox("プリンタがないのでPDFにした\n" + device->outputFile(),
                             "どうでもいいけど");
    }
}

void OpenCardMerge(TForm1& form) {
    AppState& app = App();
    form.FocusEdit0();
    SaveAllPositions(*form.Image1, form.zoom());
    const int r = form.AskToSave();
    if (r == IDCANCEL) return;
    if (r == IDYES) {
        const std::string previous = app.WorkName;
        app.WorkName = NewWorkName();
        if (!form.SaveWork(true)) {
            app.WorkName = previous;
            return;
        }
        form.EnableOverwrite(true);
    }
    if (app.WorkName.empty()) {
        Dialogs().MessageBox("保存した作品でないと差し込み印刷できない", "NG");
        return;
    }
    // The folder tree starts where the last list was picked, else in the picture folder.
    static std::string lastFolder;
    CardMergeRequest request;
    request.worksFolder = app.WorksFolder;
    request.work = app.WorkName;
    request.copies = form.copies();
    request.centre = form.feedCentre();
    request.reduceA4ToPostcard = form.reduceA4ToPostcard();
    request.startFolder = lastFolder;
    if (request.startFolder.empty() && Files().FolderExists(app.CurrentPictureFolder))
        request.startFolder = app.CurrentPictureFolder;
    auto* screen = new CardMergeScreen(std::move(request), &form);
    QObject::connect(screen->ShellTreeView1, &FolderTree::folderChanged, screen,
                     [](const QString& path) { lastFolder = path.toStdString(); });
}

}  // namespace pb
