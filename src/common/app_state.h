#pragma once
// The program-wide state that the main screen owns and every screen reads and writes:
// folders, page mode, zoom, drawing tool and colour, the selected object, the work's name.
// There is one instance, App(), for the whole run. The histories and the gestures belong to
// the editing surfaces of the screens (common/edit_surface.h).

#include <cstdint>
#include <string>

#include "platform/colour.h"
#include "platform/metrics.h"

namespace pb {

// The see-through colour of object bitmaps and stamp previews: RGB (255, 255, 254).
constexpr TColor KeyColour = RGB(255, 255, 254);

constexpr int kObjectSlots = 200;
constexpr int kNoObject = 200;  // SelectedObject when nothing is selected

enum PageModes : std::uint8_t {
    kPostcardPortrait = 0,
    kPostcardLandscape = 1,
    kA4Portrait = 2,
    kA4Landscape = 3,
};

struct AppState {
    // Folders, each with a trailing "/" like the paths built from them.
    std::string AppDir;        // the real folder of the program file
    std::string ObjectFolder;  // AppDir + "TmpWorkC/"
    std::string WorksFolder;   // AppDir + "A4HGK/"
    std::string CurrentPictureFolder;  // no trailing "/"

    std::uint8_t PageMode = kPostcardPortrait;
    int ScreenPPIX = 96, ScreenPPIY = 96;
    int PrinterPPIX = 0, PrinterPPIY = 0;
    int PrinterOffsetX = 0, PrinterOffsetY = 0;
    PrinterKind Printer = PrinterKind::Unusable;
    int WorkAreaWidth = 0, WorkAreaHeight = 0;

    std::uint8_t ToolIndex = 0;
    bool PenMode = true;
    bool Tracking = false;
    TColor CurrentColor = clBlack;

    int SelectedObject = kNoObject;
    bool ObjectListOpen = false;
    std::string WorkName;  // empty when the work was never saved or opened

    bool isA4() const { return PageMode > 1; }
    // The history folder of the page (slot 1) or of the region editor's canvas (slot 2).
    std::string HistoryFolder(int slot) const {
        return AppDir + (slot == 1 ? "TmpWorkA" : "TmpWorkB");
    }
};

AppState& App();

// Sets the folders from the program's folder (with or without a trailing "/").
void SetAppDir(AppState& state, const std::string& appDir);

}  // namespace pb
