#include "catalogue/PictureStrips.h"

#include "catalogue/TargetPictures.h"

#include <commctrl.h>

#include <algorithm>

namespace ol {

namespace {

constexpr std::size_t kStripRoom = 128;  // pictures a strip holds

}  // namespace

CPictureStrips::CPictureStrips(IconSizes sizes, int capacity) {
  for (auto [list, size] : {std::pair{&m_large, sizes.large}, std::pair{&m_small, sizes.small}}) {
    list->Create(size, size, ILC_COLOR32 | ILC_MASK, std::max(capacity, 1), 4);
    list->SetBkColor(CLR_NONE);
  }
}

bool CPictureStrips::Append(const std::vector<const TargetPictures*>& pictures) {
  for (std::size_t from = 0; from < pictures.size(); from += kStripRoom) {
    std::vector<const IconPicture*> large;
    std::vector<const IconPicture*> small;
    for (std::size_t i = from; i < std::min(pictures.size(), from + kStripRoom); ++i) {
      large.push_back(pictures[i] != nullptr ? &pictures[i]->large : nullptr);
      small.push_back(pictures[i] != nullptr ? &pictures[i]->small : nullptr);
    }
    if (!Put(m_large, large) || !Put(m_small, small)) return false;
  }
  return true;
}

bool CPictureStrips::Put(CImageList& list, const std::vector<const IconPicture*>& pictures) {
  // One bitmap as wide as the pictures side by side: the list takes them all in one call.
  int size = 0;
  ImageList_GetIconSize(list.GetSafeHandle(), &size, &size);
  const int width = size * static_cast<int>(pictures.size());
  BITMAPINFO format = TopDownFormat(width, size);
  void* bits = nullptr;
  UniqueGdiObject color(::CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
  UniqueGdiObject mask(::CreateBitmap(width, size, 1, 1, nullptr));
  if (!color || !mask || width == 0) return pictures.empty();
  auto* colorBits = static_cast<std::uint32_t*>(bits);
  const std::size_t maskRow = MaskRowBytes(width);
  std::vector<std::uint8_t> maskBits(maskRow * static_cast<std::size_t>(size), 0);
  for (std::size_t n = 0; n < pictures.size(); ++n) {
    const IconPicture* picture = pictures[n];
    const bool whole = picture != nullptr && picture->size == size && IsWhole(*picture);
    for (int y = 0; y < size; ++y) {
      std::uint32_t* row = colorBits + static_cast<std::size_t>(y) * width + n * static_cast<std::size_t>(size);
      if (whole) {
        std::copy_n(picture->color.begin() + static_cast<std::ptrdiff_t>(y) * size, size, row);
      } else {
        std::fill_n(row, size, 0u);  // blank: transparent
      }
      for (int x = 0; x < size; ++x) {
        if (whole && (picture->mask[y * MaskRowBytes(size) + x / 8] & (0x80 >> (x % 8))) == 0) continue;
        const std::size_t bit = n * static_cast<std::size_t>(size) + static_cast<std::size_t>(x);
        maskBits[y * maskRow + bit / 8] |= static_cast<std::uint8_t>(0x80 >> (bit % 8));
      }
    }
  }
  ::SetBitmapBits(static_cast<HBITMAP>(mask.Get()), static_cast<LONG>(maskBits.size()), maskBits.data());
  return ::ImageList_Add(list.GetSafeHandle(), static_cast<HBITMAP>(color.Get()), static_cast<HBITMAP>(mask.Get())) >= 0;
}

}  // namespace ol
