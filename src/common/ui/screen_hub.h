#pragma once
// ScreenHub: what the screens ask of each other and of the main screen. The screens of one
// subsystem never include another subsystem's screens; they call the hub, which the program
// (src/app) implements and installs at start-up. Each call is a hand-over that a screen makes
// when it finishes or opens another; a call whose screen does not exist yet does nothing.
//
// Text crossing the hub is UTF-8.

#include <QWidget>
#include <string>

namespace pb {

class ImageControl;
class RegionHost;

struct KeyboardRequest {
    int callerMode = 0;     // "0" object text, "1" QR data, "2" plain text stamp, "3" decorated stamp
    std::string text;       // initial text of the memo
    std::string hint;       // the hint label (the QR capacity message in mode 1)
    bool decoratedHint = false;  // show the decorated-text hint (object text of family "1")
};

class ScreenHub {
public:
    virtual ~ScreenHub() = default;

    // The main screen: parent and size reference of the other screens.
    virtual QWidget* MainWindow() { return nullptr; }
    // The page area (the scroll box's content widget) in which the page image and the object
    // images lie, and the page image and floating image themselves.
    virtual QWidget* PageArea() { return nullptr; }
    virtual ImageControl* PageImage() { return nullptr; }
    virtual ImageControl* FloatingImage() { return nullptr; }
    // The main screen's zoom percentage and the width of its page area (side-panel screens
    // stand right of it).
    virtual int Zoom() { return 100; }
    virtual int PageAreaWidth() { return 567; }

    // Object images: renders slot `slot` of `folder` into a new object image on the page and
    // hooks the main screen's mouse handlers to it (dragging, selecting). False when the slot
    // holds no object that can be shown.
    virtual bool LoadObjectImage(const std::string& folder, int slot) { return false; }
    // Shows or hides the main screen's notes that undo, redo and the flips leave the objects
    // alone ("MetaFile部分は無視").
    virtual void ShowObjectNotes(bool visible) {}

    // The main screen's note that a picture embedded as the fill of a decorated object loses
    // quality (Memo1): shown 10 pixels below the page image, or hidden and moved back to the
    // left edge.
    virtual void ShowImageQualityNote(bool visible) {}

    // The region editor while it is open, else nullptr.
    virtual RegionHost* Region() { return nullptr; }
    // The region editor's "Barcode描画" and "QRcode描画": the code drawing into the region.
    virtual void DrawBarcode() {}
    virtual void DrawQrCode() {}

    // Screen hand-overs.
    virtual void OpenObjectList() {}
    // "デザイン変更" of the object list: the design screen of the selected object, the one for
    // decorated texts and shapes (family "1") or the one for plain texts.
    virtual void OpenObjectDesign(bool decorated) {}
    virtual void OpenKeyboard(const KeyboardRequest& request) {}
    // The keyboard's confirm in caller mode "0": rewrite the selected object's text (with a
    // fitted size) and render it again. False when the record was empty and nothing changed.
    virtual bool ApplyObjectText(const std::string& text) { return false; }
    // Caller mode "1": hand the text (CP932 bytes) to the QR placement. False refuses.
    virtual bool HandOverQrText(const std::string& cp932) { return false; }
    // Caller modes "2" and "3": open the plain / decorated text stamp screen with the text.
    virtual void OpenPlainTextStamp(const std::string& text) {}
    virtual void OpenDecoratedTextStamp(const std::string& text) {}
};

ScreenHub& Hub();
// Installs the hub (not owned); nullptr restores the one that does nothing.
void InstallHub(ScreenHub* hub);

}  // namespace pb
