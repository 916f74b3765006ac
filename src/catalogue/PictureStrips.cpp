#include "catalogue/PictureStrips.h"

#include "catalogue/TargetPictures.h"

#include <commctrl.h>

#include <algorithm>
#include <tuple>

namespace ol {

namespace {

constexpr int kStripRoom = 128;  // pictures a strip holds

}  // namespace

CPictureStrips::CPictureStrips(IconSizes sizes, int capacity) {
  for (auto [list, strip, size] : {std::tuple{&m_large, &m_largeStrip, sizes.large},
                                   std::tuple{&m_small, &m_smallStrip, sizes.small}}) {
    list->Create(size, size, ILC_COLOR32 | ILC_MASK, std::max(capacity, 1), 4);
    list->SetBkColor(CLR_NONE);
    strip->size = size;
    strip->room = kStripRoom;
    BITMAPINFO format = TopDownFormat(size * kStripRoom, size);
    void* bits = nullptr;
    strip->color.Reset(::CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    strip->colorBits = strip->color ? static_cast<std::uint32_t*>(bits) : nullptr;
    strip->mask.Reset(::CreateBitmap(size * kStripRoom, size, 1, 1, nullptr));
    strip->maskBits.assign(MaskRowBytes(size * kStripRoom) * static_cast<std::size_t>(size), 0);
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
    if (!Put(m_large, m_largeStrip, large) || !Put(m_small, m_smallStrip, small)) return false;
  }
  return true;
}

bool CPictureStrips::Put(CImageList& list, Strip& strip, const std::vector<const IconPicture*>& pictures) {
  if (strip.colorBits == nullptr || !strip.mask || pictures.empty()) return pictures.empty();
  const int size = strip.size;
  const std::size_t stripRow = static_cast<std::size_t>(size) * static_cast<std::size_t>(strip.room);
  const std::size_t maskRow = MaskRowBytes(size * strip.room);
  ::GdiFlush();
  for (std::size_t n = 0; n < pictures.size(); ++n) {
    const IconPicture* picture = pictures[n];
    const bool whole = picture != nullptr && picture->size == size && IsWhole(*picture);
    for (int y = 0; y < size; ++y) {
      std::uint32_t* row = strip.colorBits + y * stripRow + n * static_cast<std::size_t>(size);
      if (whole) {
        std::copy_n(picture->color.begin() + static_cast<std::ptrdiff_t>(y) * size, size, row);
      } else {
        std::fill_n(row, size, 0u);  // blank: transparent
      }
      for (int x = 0; x < size; ++x) {
        const bool transparent = !whole || (picture->mask[y * MaskRowBytes(size) + x / 8] & (0x80 >> (x % 8))) != 0;
        const std::size_t bit = n * static_cast<std::size_t>(size) + static_cast<std::size_t>(x);
        std::uint8_t& byte = strip.maskBits[y * maskRow + bit / 8];
        byte = static_cast<std::uint8_t>(transparent ? (byte | (0x80 >> (bit % 8))) : (byte & ~(0x80 >> (bit % 8))));
      }
    }
  }
  ::SetBitmapBits(static_cast<HBITMAP>(strip.mask.Get()), static_cast<LONG>(strip.maskBits.size()),
                  strip.maskBits.data());
  // The list takes as many pictures as the strip is wide: a shorter run is cut from a strip of
  // its own width.
  if (pictures.size() == static_cast<std::size_t>(strip.room)) {
    return ::ImageList_Add(list.GetSafeHandle(), static_cast<HBITMAP>(strip.color.Get()),
                           static_cast<HBITMAP>(strip.mask.Get())) >= 0;
  }
  const int width = size * static_cast<int>(pictures.size());
  HDC source = ::CreateCompatibleDC(nullptr);
  HDC target = ::CreateCompatibleDC(nullptr);
  BITMAPINFO format = TopDownFormat(width, size);
  void* bits = nullptr;
  UniqueGdiObject color(::CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
  UniqueGdiObject mask(::CreateBitmap(width, size, 1, 1, nullptr));
  bool added = false;
  if (color && mask && source && target) {
    for (std::size_t y = 0; y < static_cast<std::size_t>(size); ++y) {
      std::copy_n(strip.colorBits + y * stripRow, width, static_cast<std::uint32_t*>(bits) + y * width);
    }
    HGDIOBJ oldSource = ::SelectObject(source, strip.mask.Get());
    HGDIOBJ oldTarget = ::SelectObject(target, mask.Get());
    ::BitBlt(target, 0, 0, width, size, source, 0, 0, SRCCOPY);
    ::SelectObject(source, oldSource);
    ::SelectObject(target, oldTarget);
    added = ::ImageList_Add(list.GetSafeHandle(), static_cast<HBITMAP>(color.Get()), static_cast<HBITMAP>(mask.Get())) >= 0;
  }
  if (source) ::DeleteDC(source);
  if (target) ::DeleteDC(target);
  return added;
}

}  // namespace ol
