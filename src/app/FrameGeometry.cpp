#include "app/FrameGeometry.h"

#include <cstdlib>

#include "framework/DpiScale.h"

namespace ol {

Point ClampFramePosition(int left, int top, int width, int height, const Rect& workArea) {
  // Wide arithmetic: a stored size may be any 32-bit value.
  const long long greatestLeft = static_cast<long long>(workArea.right) - workArea.left - width;
  const long long greatestTop = static_cast<long long>(workArea.bottom) - workArea.top - height;
  Point position{left, top};
  if (position.x < 0 || position.x > greatestLeft) position.x = 0;
  if (position.y < 0 || position.y > greatestTop) position.y = 0;
  return position;
}

Placement PlaceStoredFrame(const Placement& stored, int dpi, const Rect& workArea) {
  const int width = ScaleForDpi(stored.width, dpi);
  const int height = ScaleForDpi(stored.height, dpi);
  const Point position =
      ClampFramePosition(ScaleForDpi(stored.left, dpi), ScaleForDpi(stored.top, dpi), width, height, workArea);
  return {position.x, position.y, width, height};
}

bool IsNear(int a, int b, int snapWidth) {
  const long long distance = std::llabs(static_cast<long long>(a) - b);
  return distance < snapWidth;
}

Rect SnapToWorkArea(const Rect& proposed, Point cursor, Point grabOffset, const Rect& workArea, int snapWidth) {
  Rect rect = proposed;
  const int dx = (cursor.x - grabOffset.x) - rect.left;
  const int dy = (cursor.y - grabOffset.y) - rect.top;
  rect = {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
  if (IsNear(rect.left, workArea.left, snapWidth)) {
    const int shift = workArea.left - rect.left;
    rect.left += shift, rect.right += shift;
  } else if (IsNear(workArea.right, rect.right, snapWidth)) {
    const int shift = workArea.right - rect.right;
    rect.left += shift, rect.right += shift;
  }
  if (IsNear(rect.top, workArea.top, snapWidth)) {
    const int shift = workArea.top - rect.top;
    rect.top += shift, rect.bottom += shift;
  } else if (IsNear(workArea.bottom, rect.bottom, snapWidth)) {
    const int shift = workArea.bottom - rect.bottom;
    rect.top += shift, rect.bottom += shift;
  }
  return rect;
}

}  // namespace ol
