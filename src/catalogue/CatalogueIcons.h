// The catalogue's positions in the view's two image lists. Every program shortcut has a position
// of its own from 2 on, the same in both lists, where its target's picture goes; a folder shows
// image 1 and a program whose target gives no icon image 0.
#pragma once

#include <vector>

#include "catalogue/Shortcut.h"
#include "framework/ImageList.h"

namespace ol {

// The first position a target's icon can have: after the fixed images 0 and 1.
inline constexpr int kFirstTargetImage = kIconFolder + 1;

// Gives every record its icon index without extracting anything: folders 1, and each program a
// position of its own from the lists' end on, in order, left blank for its target's picture to
// arrive later (listview/IconArrival).
void PlanCatalogueIcons(std::vector<CShortcut>& records, CImageList& large, CImageList& small);

// Fresh lists, holding the fixed images only, made ready to take the catalogue's pictures again
// at their size, each at the position it has in `old`, so that every record keeps its index.
void PlanRefetchedIcons(const CImageList& old, CImageList& large, CImageList& small);

}  // namespace ol
