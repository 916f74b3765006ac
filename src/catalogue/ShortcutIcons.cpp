#include "catalogue/ShortcutIcons.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <unordered_map>

#include "catalogue/Shortcut.h"

namespace ol {

namespace {
bool IsIconHandle(HICON icon) {
  ICONINFO info{};
  if (icon == nullptr || !::GetIconInfo(icon, &info)) return false;
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  return true;
}
}  // namespace

TargetIcons ExtractTargetIcons(const std::string& target) {
  // The handles are trusted only as far as the count of extracted icons says: on failure
  // (0, or UINT_MAX for a file that cannot be opened) some systems leave junk in them.
  TargetIcons icons;
  HICON large = nullptr;
  HICON small = nullptr;
  const UINT extracted = ::ExtractIconExA(target.c_str(), 0, &large, &small, 1);
  if (extracted == 2) {
    icons.large.Reset(large);
    icons.small.Reset(small);
  } else if (extracted == 1) {
    // One size only; the other slot may hold junk, which is neither used nor destroyed.
    if (IsIconHandle(large)) icons.large.Reset(large);
    if (IsIconHandle(small)) icons.small.Reset(small);
  }
  return icons;
}

int AppendTargetIcons(CImageList& large, CImageList& small, const TargetIcons& icons) {
  if (!icons.Any()) return kIconNone;
  const int index = large.Add(icons.LargeOrSmall());
  small.Add(icons.SmallOrLarge());
  return index < 0 ? kIconNone : index;
}

void ReplaceTargetIcons(CImageList& large, CImageList& small, int index, const TargetIcons& icons) {
  if (!icons.Any()) return;
  large.Replace(index, icons.LargeOrSmall());
  small.Replace(index, icons.SmallOrLarge());
}

}  // namespace ol

namespace ol {

namespace {

constexpr int kStripImages = 256;  // images per strip: 256 x 32 x 32 x 4 bytes = 1 MiB

// The icon's colour and mask pixels at `size`, or nothing when the icon is not a colour icon
// of exactly that size.
bool ReadIconPixels(HDC screen, HICON icon, int size, std::uint32_t* color, std::uint32_t* mask) {
  ICONINFO info{};
  if (!::GetIconInfo(icon, &info)) return false;
  UniqueGdiObject colorBitmap(info.hbmColor);
  UniqueGdiObject maskBitmap(info.hbmMask);
  BITMAP bitmap{};
  if (!info.hbmColor || !::GetObjectA(info.hbmColor, sizeof bitmap, &bitmap) || bitmap.bmWidth != size ||
      bitmap.bmHeight != size) {
    return false;
  }
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = size;
  format.bmiHeader.biHeight = -size;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  return ::GetDIBits(screen, info.hbmColor, 0, size, color, &format, DIB_RGB_COLORS) == size &&
         ::GetDIBits(screen, info.hbmMask, 0, size, mask, &format, DIB_RGB_COLORS) == size;
}

// Hands `count` images laid side by side to the list in one step.
void AddStrip(CImageList& list, HDC screen, int size, int count, const std::vector<std::uint32_t>& color,
              const std::vector<std::uint32_t>& mask) {
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = size * count;
  format.bmiHeader.biHeight = -size;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  void* colorBits = nullptr;
  void* maskBits = nullptr;
  UniqueGdiObject colorStrip(::CreateDIBSection(screen, &format, DIB_RGB_COLORS, &colorBits, nullptr, 0));
  UniqueGdiObject maskStrip32(::CreateDIBSection(screen, &format, DIB_RGB_COLORS, &maskBits, nullptr, 0));
  UniqueGdiObject maskStrip(::CreateBitmap(size * count, size, 1, 1, nullptr));
  if (!colorStrip || !maskStrip32 || !maskStrip) return;
  const std::size_t row = static_cast<std::size_t>(size) * static_cast<std::size_t>(count);
  for (int image = 0; image < count; ++image) {
    for (int y = 0; y < size; ++y) {
      const std::size_t from = (static_cast<std::size_t>(image) * size + y) * size;
      const std::size_t to = y * row + static_cast<std::size_t>(image) * size;
      std::copy_n(&color[from], size, static_cast<std::uint32_t*>(colorBits) + to);
      std::copy_n(&mask[from], size, static_cast<std::uint32_t*>(maskBits) + to);
    }
  }
  // The list wants its mask as a monochrome bitmap.
  HDC from = ::CreateCompatibleDC(screen);
  HDC to = ::CreateCompatibleDC(screen);
  HGDIOBJ oldFrom = ::SelectObject(from, maskStrip32.Get());
  HGDIOBJ oldTo = ::SelectObject(to, maskStrip.Get());
  ::BitBlt(to, 0, 0, size * count, size, from, 0, 0, SRCCOPY);
  ::SelectObject(from, oldFrom);
  ::SelectObject(to, oldTo);
  ::DeleteDC(from);
  ::DeleteDC(to);
  ::ImageList_Add(list.GetSafeHandle(), static_cast<HBITMAP>(colorStrip.Get()), static_cast<HBITMAP>(maskStrip.Get()));
}

}  // namespace

int AppendIconsInOrder(CImageList& list, const std::vector<HICON>& icons) {
  const int first = list.GetImageCount();
  if (icons.empty() || list.GetSafeHandle() == nullptr) return first;
  int size = 0;
  int height = 0;
  ::ImageList_GetIconSize(list.GetSafeHandle(), &size, &height);
  HDC screen = ::GetDC(nullptr);
  const std::size_t pixels = static_cast<std::size_t>(size) * static_cast<std::size_t>(size);
  std::vector<std::uint32_t> color(pixels * kStripImages);
  std::vector<std::uint32_t> mask(pixels * kStripImages);
  int pending = 0;
  auto flush = [&] {
    if (pending > 0) AddStrip(list, screen, size, pending, color, mask);
    pending = 0;
  };
  // A repeated icon (many shortcuts to one target) is read once; only repeated ones are kept.
  std::unordered_map<HICON, int> uses;
  for (HICON icon : icons) ++uses[icon];
  std::unordered_map<HICON, std::pair<std::vector<std::uint32_t>, std::vector<std::uint32_t>>> readBefore;
  for (HICON icon : icons) {
    std::uint32_t* colorSlot = &color[pixels * static_cast<std::size_t>(pending)];
    std::uint32_t* maskSlot = &mask[pixels * static_cast<std::size_t>(pending)];
    bool batchable = false;
    if (auto found = readBefore.find(icon); found != readBefore.end()) {
      std::copy(found->second.first.begin(), found->second.first.end(), colorSlot);
      std::copy(found->second.second.begin(), found->second.second.end(), maskSlot);
      batchable = true;
    } else if (size == height && ReadIconPixels(screen, icon, size, colorSlot, maskSlot)) {
      if (uses[icon] > 1) {
        readBefore.emplace(icon, std::pair{std::vector<std::uint32_t>(colorSlot, colorSlot + pixels),
                                           std::vector<std::uint32_t>(maskSlot, maskSlot + pixels)});
      }
      batchable = true;
    }
    if (batchable) {
      if (++pending == kStripImages) flush();
    } else {
      flush();
      list.Add(icon);
    }
  }
  flush();
  ::ReleaseDC(nullptr, screen);
  return first;
}

}  // namespace ol
