// Where the main frame goes: clamping the stored placement at start-up and snapping to the
// work area's edges while the frame is moved. Portable.
#pragma once

#include "app/Settings.h"

namespace ol {

struct Rect {
  int left;
  int top;
  int right;
  int bottom;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

struct Point {
  int x;
  int y;
  bool operator==(const Point&) const = default;
};

// The stored left and top, each reset to 0 when below 0 or beyond the greatest value that
// keeps the frame's size on the work area (measured from the screen origin).
Point ClampFramePosition(int left, int top, int width, int height, const Rect& workArea);

// The frame's placement in pixels from its stored placement, whose figures are at 96 DPI: all
// four scaled to `dpi`, then the position clamped as above against the work area (in pixels).
Placement PlaceStoredFrame(const Placement& stored, int dpi, const Rect& workArea);

// True when |a - b| is strictly less than the snap width (never for a width of 0 or less).
bool IsNear(int a, int b, int snapWidth);

// The proposed rectangle moved to follow the cursor from the grab point, then pulled flush
// to a work-area edge that is near: left before right, top before bottom.
Rect SnapToWorkArea(const Rect& proposed, Point cursor, Point grabOffset, const Rect& workArea, int snapWidth);

}  // namespace ol
