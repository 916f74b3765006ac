// A target's icons made into plain pictures for the view's two image lists (on any thread), and
// pictures put into the lists (on the window's thread).
#pragma once

#include <windows.h>

#include <optional>

#include "catalogue/IconExtraction.h"
#include "catalogue/IconPicture.h"
#include "framework/Handle.h"
#include "framework/ImageList.h"

namespace ol {

// The icons' pictures at these sizes, each taken pixel for pixel when the icon has that size and
// scaled as an image list scales it otherwise; one icon serves both sizes when the other is
// missing. Nothing for no icon at all.
std::optional<TargetPictures> PicturesOfIcons(const TargetIcons& icons, IconSizes sizes);

// The pictures at `index` of both lists, at these sizes (scaled as a list scales them) or, by
// default, exactly as they are.
std::optional<TargetPictures> PicturesAt(const CImageList& large, const CImageList& small, int index,
                                         std::optional<IconSizes> sizes = std::nullopt);

// The format of 32-bit pictures `width` x `height`, top row first, as they are read and put.
BITMAPINFO TopDownFormat(int width, int height);

// The sizes of two image lists' images.
IconSizes ImageListSizes(const CImageList& large, const CImageList& small);

// Puts pictures into a list, at any position it has, as often as asked; the picture must have
// the list's size.
class CPicturePlacer {
 public:
  explicit CPicturePlacer(int size);
  CPicturePlacer(const CPicturePlacer&) = delete;
  CPicturePlacer& operator=(const CPicturePlacer&) = delete;

  int Size() const { return m_size; }
  bool Place(CImageList& list, int index, const IconPicture& picture);

 private:
  int m_size;
  UniqueGdiObject m_color;  // one picture's colour pixels, 32 bits
  UniqueGdiObject m_mask;   // its mask, 1 bit
  std::uint32_t* m_colorBits = nullptr;
};

}  // namespace ol
