// The catalogue's pictures in the view's two image lists. Every program shortcut has a picture
// of its own at a position from 2 on, the same in both lists; a folder shows image 1 and a
// program whose target gives no icon image 0.
#pragma once

#include <vector>

#include "catalogue/Shortcut.h"
#include "framework/ImageList.h"
#include "framework/ListCtrl.h"

namespace ol {

// The first position a target's icon can have: after the fixed images 0 and 1.
inline constexpr int kFirstTargetImage = kIconFolder + 1;

// Gives every record its icon index and images at once, as if each program had been extracted
// and appended one by one (folders 1, programs without an icon 0), at the lists' sizes.
void AssignCatalogueIcons(std::vector<CShortcut>& records, CImageList& large, CImageList& small);

// Gives every record its icon index without extracting anything: folders 1, and each program a
// position of its own from the lists' end on, in order, showing the loading picture until its
// target's icon arrives (listview/IconArrival).
void PlanCatalogueIcons(std::vector<CShortcut>& records, CImageList& large, CImageList& small);

// Fresh lists, holding the fixed images only, made ready to take the pictures of the catalogue
// in `list` again at their size: as many positions as `old` has, each position a program
// shortcut uses showing the loading picture, so every record keeps its icon index.
void PlanRefetchedIcons(const CListCtrl& list, const CImageList& old, CImageList& large, CImageList& small);

// The loading picture at these positions of both lists, which have room there.
void FillWithLoadingPicture(CImageList& large, CImageList& small, const std::vector<int>& positions);

}  // namespace ol
