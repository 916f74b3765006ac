// A program target's icon in both sizes, and putting it into the view's two image lists at
// the same position.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/Handle.h"
#include "framework/ImageList.h"

namespace ol {

struct TargetIcons {
  UniqueIcon large;
  UniqueIcon small;
  bool Any() const { return static_cast<bool>(large) || static_cast<bool>(small); }
  // A target that gives only one size gets that icon scaled into the other list, so the two
  // lists always receive an image together and stay in step.
  HICON LargeOrSmall() const { return large ? large.Get() : small.Get(); }
  HICON SmallOrLarge() const { return small ? small.Get() : large.Get(); }
};

// The target's first icon, large and small (ExtractIconExA, position 0, count 1).
TargetIcons ExtractTargetIcons(const std::string& target);

// Appends the icons to both lists; returns the large list's new position, or 0 (the image of
// a program without an icon) when the target gave none.
int AppendTargetIcons(CImageList& large, CImageList& small, const TargetIcons& icons);

// Appends many icons to one image list in order, as one-by-one appends would, but drawn into
// strips that the list takes in a few steps. Icons of the list's own size go into the strips;
// any other icon is appended on its own (the list scales it). Returns the first new position.
int AppendIconsInOrder(CImageList& list, const std::vector<HICON>& icons);

// Replaces the images at `index` in both lists; the old images stay when the target gave none.
void ReplaceTargetIcons(CImageList& large, CImageList& small, int index, const TargetIcons& icons);

}  // namespace ol
