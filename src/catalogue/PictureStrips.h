// A fresh pair of image lists filled by the strip: many pictures go in with one call per list,
// where putting them in one at a time costs a call (and the image list's own set-up) each.
// Made with room for every picture it is to take, so that it never grows as it fills.
#pragma once

#include <windows.h>

#include <vector>

#include "catalogue/IconPicture.h"
#include "framework/Handle.h"
#include "framework/ImageList.h"

namespace ol {

class CPictureStrips {
 public:
  // Lists of these sizes, as the view makes its own, with room for `capacity` pictures.
  CPictureStrips(IconSizes sizes, int capacity);
  CPictureStrips(const CPictureStrips&) = delete;
  CPictureStrips& operator=(const CPictureStrips&) = delete;

  // Appends the pictures in order, a blank (transparent) image for each null; false when a
  // list took them not.
  bool Append(const std::vector<const TargetPictures*>& pictures);
  int Count() const { return m_large.GetImageCount(); }
  CImageList& Large() { return m_large; }
  CImageList& Small() { return m_small; }

 private:
  // Appends one strip's pictures to the list (a blank for each null).
  static bool Put(CImageList& list, const std::vector<const IconPicture*>& pictures);

  CImageList m_large;
  CImageList m_small;
};

}  // namespace ol
