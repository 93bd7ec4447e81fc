#pragma once
// The colour tone of the region: an overall brightness and separate blue, green and red
// offsets, each -100..100 (a slider's position 0..100 shown as (position - 50) x 2).

#include "platform/bitmap.h"

namespace pb {

struct ToneOffsets {
    int blue = 0;
    int green = 0;
    int red = 0;
    int overall = 0;
    friend bool operator==(const ToneOffsets&, const ToneOffsets&) = default;
};

// The offset a slider position stands for: (position - 50) x 2.
constexpr int ToneOffsetOfPosition(int position) {
    return (position - 50) * 2;
}

// `opened` with every byte raised by overall x 255 div 100 + channel x 255 div 100 (division
// truncating toward zero, each offset clamped to -100..100), the sum clamped to 0..255.
// All offsets 0 give the picture back unchanged.
Bitmap AdjustTone(const Bitmap& opened, const ToneOffsets& offsets);

}  // namespace pb
