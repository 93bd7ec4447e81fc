#pragma once
// The arithmetic of the touch slider: where its thumb stands and where a drag takes it,
// apart from the widget so that it is tested without one. Positions run from `min` to `max`
// (min < max); the track is the control's width less its left and right margins, in pixels.

namespace pb {

// Thumb centre x for a position: Trunc((position - min) / (max - min) x track) + left margin.
int TrackThumbCentre(int position, int min, int max, int trackLength, int leftMargin);

// Whether a press at x takes the thumb: within centre ± thumbWidth div 2, ends included.
bool TrackHitsThumb(int x, int thumbCentre, int thumbWidth);

// The position while dragging: the position at the press moved by
// Trunc((x - downX) x (max - min) / track), clamped to min..max. A track of no length
// (a control narrower than its margins) leaves the position where it was.
int TrackDragPosition(int x, int downX, int downPosition, int min, int max, int trackLength);

}  // namespace pb
