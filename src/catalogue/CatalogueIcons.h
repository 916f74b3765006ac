// The catalogue's pictures in the view's two image lists: given to a catalogue that was just
// read, and drawn again at another size (a display of another scale) in fresh lists.
#pragma once

#include <vector>

#include "catalogue/Shortcut.h"
#include "framework/ImageList.h"
#include "framework/ListCtrl.h"

namespace ol {

// Gives every record its icon index and images as if each program had been extracted and
// appended one by one (folders 1, programs without an icon 0), at the lists' sizes.
void AssignCatalogueIcons(std::vector<CShortcut>& records, CImageList& large, CImageList& small);

// Fills fresh lists, which hold only images 0 and 1, with the catalogue's images at their
// sizes: every position of the old lists from 2 on gets its picture anew, at the same
// position, so every record keeps its icon index. A program's picture is extracted from its
// target again; a position whose target gives none now, or that no record uses any more
// (its shortcut was deleted), gets the old picture resized.
void RefillCatalogueIcons(const CListCtrl& list, const CImageList& oldLarge, const CImageList& oldSmall,
                          CImageList& large, CImageList& small);

}  // namespace ol
