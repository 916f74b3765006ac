// A program target's pictures made ready for the view's two image lists on any thread, so that
// the window's thread only has to copy them in, at any position and as often as asked.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "catalogue/ShortcutIcons.h"
#include "framework/Handle.h"
#include "framework/ImageList.h"

namespace ol {

// One list's picture: the colour bitmap and mask of an icon of exactly the list's size, which
// go in as they are, or an icon of another size, which the list scales.
struct ListImage {
  UniqueGdiObject color;
  UniqueGdiObject mask;
  UniqueIcon icon;
};

struct TargetImages {
  ListImage large;
  ListImage small;
};

// Icons made into pictures for lists of these sizes (one icon serves both when the other is
// missing); null for no icon at all. Safe on any thread.
std::shared_ptr<const TargetImages> MakeTargetImages(TargetIcons icons, IconSizes sizes);

// The target's first icon made into pictures for lists of these sizes; null when the target
// gives no icon. Safe on any thread.
std::shared_ptr<const TargetImages> FetchTargetImages(const std::string& target, IconSizes sizes);

// The pictures at `index` of both lists, to be put elsewhere exactly as they are.
std::shared_ptr<const TargetImages> PicturesAt(const CImageList& large, const CImageList& small, int index);

// Puts the pictures at `index` of both lists, which have room there; false when a list took
// nothing.
bool PlaceTargetImages(CImageList& large, CImageList& small, int index, const TargetImages& images);

}  // namespace ol
