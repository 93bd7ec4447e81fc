#pragma once
// Stepped numbers of the screens: the zoom of a page or picture and the small spin values
// (pen width, copies) changed by "↑" and "↓" within fixed bounds.

namespace pb {

// The smallest and largest zoom percentages any screen shows.
inline constexpr int kZoomMin = 10;
inline constexpr int kZoomMax = 800;

enum class ZoomSteps {
    // 10, 20, ..., 100, 200, ..., 800: the page of the main screen and the region editor.
    TensThenHundreds,
    // 10, 20, 30, ..., 800: the print preview.
    Tens,
};

// The next zoom percentage up or down, staying within kZoomMin..kZoomMax. A zoom off the
// steps (or out of the range) is moved by the step of its side of 100 and then kept in range.
int ZoomStep(int zoom, bool up, ZoomSteps steps = ZoomSteps::TensThenHundreds);

// value + step kept within low..high (low <= high).
int SpinStep(int value, int step, int low, int high);

}  // namespace pb
