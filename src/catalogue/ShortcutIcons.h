// A program target's icon in both sizes, and putting it into the view's two image lists at
// the same position.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
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

// The sizes of the large and the small icons, in pixels (32 and 16 at 100 % display scaling).
struct IconSizes {
  int large = 32;
  int small = 16;
};
// The sizes of two image lists' images.
IconSizes ImageListSizes(const CImageList& large, const CImageList& small);

// The target's first icon, large and small, each at the size asked for: drawn at that size
// when the target has it, else made from its nearest picture by the system.
TargetIcons ExtractTargetIcons(const std::string& target, IconSizes sizes = {});

// Appends the icons to both lists; returns the large list's new position, or 0 (the image of
// a program without an icon) when the target gave none.
int AppendTargetIcons(CImageList& large, CImageList& small, const TargetIcons& icons);

// Puts many icons into one image list in order, picture for picture as appending them one by
// one would, but into room the list gets in one step. An icon's pixels can be read once and
// put many times, so a target's icon serves every shortcut to it after the icon is gone.
// Room that was not used is given back when the filler goes.
class CIconListFiller {
 public:
  struct Pixels {
    std::vector<std::uint32_t> color;
    std::vector<std::uint32_t> mask;
  };

  CIconListFiller(CImageList& list, int room);
  CIconListFiller(const CIconListFiller&) = delete;
  CIconListFiller& operator=(const CIconListFiller&) = delete;
  ~CIconListFiller();

  // The icon's pixels, when it is a colour icon of exactly the list's size.
  std::optional<Pixels> Read(HICON icon) const;
  // Each returns the image's position, or -1 when the list took nothing.
  int Put(const Pixels& pixels);
  int Put(HICON icon);  // icons of another size are scaled by the list
  // Leaves the next position blank (room is made when there is none); its position.
  int Skip();

 private:
  CImageList& m_list;
  int m_first = 0;
  int m_next = 0;
  int m_reserved = 0;
  int m_size = 0;
  HDC m_screen = nullptr;
  HDC m_mask32Dc = nullptr;
  HDC m_maskDc = nullptr;
  HGDIOBJ m_oldMask32DcObject = nullptr;
  UniqueGdiObject m_color;   // one image, 32 bits
  UniqueGdiObject m_mask32;  // its mask as read, 32 bits
  UniqueGdiObject m_mask;    // its mask as the list takes it, 1 bit
  std::uint32_t* m_colorBits = nullptr;
  std::uint32_t* m_maskBits = nullptr;
};

// Appends the icons through two fillers, as AppendTargetIcons does to the lists themselves.
int AppendTargetIcons(CIconListFiller& large, CIconListFiller& small, const TargetIcons& icons);

// Replaces the images at `index` in both lists; the old images stay when the target gave none.
void ReplaceTargetIcons(CImageList& large, CImageList& small, int index, const TargetIcons& icons);

}  // namespace ol
