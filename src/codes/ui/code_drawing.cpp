#include "codes/ui/code_drawing.h"

#include <QLineEdit>
#include <QObject>
#include <QWidget>

#include "codes/code_placement.h"
#include "codes/qr_code.h"
#include "codes/ui/qr_size_screen.h"
#include "common/ui/region_host.h"
#include "platform/text_codec.h"
#include "platform/ui/dialogs.h"

namespace pb {

namespace {

// QRCode1 as a child of the editor's window, so that it lives exactly as long as the editor.
class RegionQrHolder : public QObject {
  public:
    explicit RegionQrHolder(QObject* editor) : QObject(editor) {
        setObjectName(QStringLiteral("QRCode1"));
        PrepareRegionQrCode(qr);
    }
    TQRCode qr;
};

// The editor's own focus sink, not the one of a screen laid over it.
void FocusEditorSink(RegionHost& host) {
    QWidget* editor = host.EditorWindow();
    for (QLineEdit* sink : editor->findChildren<QLineEdit*>(QStringLiteral("Edit0")))
        if (sink->window() == editor) {
            sink->setFocus();
            return;
        }
}

// One QR size screen at a time over the editor.
void CloseQrScreens(RegionHost& host) {
    for (TForm13* form :
         host.EditorWindow()->findChildren<TForm13*>(QString(), Qt::FindDirectChildrenOnly))
        form->Release();
}

}  // namespace

void ShowPlacementMessage(const PlacementMessage& message) {
    if (!message.text.empty())
        Dialogs().MessageBox(std::string(message.text), std::string(message.caption));
}

TQRCode& RegionQrCode(RegionHost& host) {
    QWidget* editor = host.EditorWindow();
    auto* holder = dynamic_cast<RegionQrHolder*>(
        editor->findChild<QObject*>(QStringLiteral("QRCode1"), Qt::FindDirectChildrenOnly));
    if (!holder) holder = new RegionQrHolder(editor);
    return holder->qr;
}

void DrawBarcodeInRegion(RegionHost& host) {
    FocusEditorSink(host);
    const int width = host.RegionBitmap().width();
    const int height = host.RegionBitmap().height();
    const BarcodeRegionStatus size = CheckBarcodeRegion(width, height);
    if (size != BarcodeRegionStatus::Ok) {
        ShowPlacementMessage(MessageFor(size));
        return;
    }
    // A hand-held scanner types the digits into the box and ends with Enter, which confirms it.
    const std::optional<std::string> typed =
        Dialogs().InputBox("Keyboard入力でもいいけど", "描画したいBarcodeをScan", "");
    if (!typed) return;
    const std::string code = Utf8ToCp932(*typed);
    const ScannedCodeStatus scanned = CheckScannedCode(code);
    if (scanned != ScannedCodeStatus::Ok) {
        ShowPlacementMessage(MessageFor(scanned));
        return;
    }
    if (!host.SnapshotRegion()) return;
    const std::string family = host.EditorWindow()->font().family().toStdString();
    host.RegionBitmap() = DrawBarcodeRegion(width, height, code, family);
    host.RegionChanged();
}

void DrawQrCodeInRegion(RegionHost& host) {
    FocusEditorSink(host);
    const Bitmap& region = host.RegionBitmap();
    const QrSizeChoice choice = ChooseQrModuleSizes(region.width(), region.height());
    if (choice.choices == 0) {
        ShowPlacementMessage({kQrTooNarrowText, kQrTooNarrowCaption});
        return;
    }
    RegionQrCode(host);
    CloseQrScreens(host);
    TForm13::OpenSizeSelection(host, choice);
}

bool HandOverQrText(RegionHost& host, const std::string& cp932) {
    const int start = host.RegionSurface().history().counter();
    const QrHandOver handOver = HandOverQrText(host.RegionBitmap(), RegionQrCode(host), cp932,
                                               [&host] { return host.SnapshotRegion(); });
    if (handOver.status != QrPlacementStatus::Ok) {
        ShowPlacementMessage(MessageFor(handOver.status));
        return false;
    }
    host.RegionChanged();
    CloseQrScreens(host);
    TForm13::OpenScannerTest(host, handOver.text, handOver.version, start);
    return true;
}

}  // namespace pb
