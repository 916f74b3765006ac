#include "catalogue/TargetPictures.h"

#include <commctrl.h>

#include <algorithm>

namespace ol {

namespace {

// A device context for reading bitmaps, one for each thread: the screen's own would cost a
// round trip to the window system at every read.
HDC ReadingDc() {
  struct Dc {
    HDC dc = ::CreateCompatibleDC(nullptr);
    ~Dc() { ::DeleteDC(dc); }
  };
  thread_local Dc reading;
  return reading.dc;
}

// A colour icon of exactly `size` pixels, read pixel for pixel.
std::optional<IconPicture> ReadExactIcon(HICON icon, int size) {
  ICONINFO info{};
  if (icon == nullptr || !::GetIconInfo(icon, &info)) return std::nullopt;
  UniqueGdiObject colorBitmap(info.hbmColor);
  UniqueGdiObject maskBitmap(info.hbmMask);
  BITMAP bitmap{};
  if (!info.hbmColor || !::GetObjectA(info.hbmColor, sizeof bitmap, &bitmap) || bitmap.bmWidth != size ||
      bitmap.bmHeight != size) {
    return std::nullopt;
  }
  const std::size_t count = static_cast<std::size_t>(size) * static_cast<std::size_t>(size);
  IconPicture picture{size, std::vector<std::uint32_t>(count), std::vector<std::uint8_t>(MaskRowBytes(size) * size)};
  std::vector<std::uint32_t> mask(count);
  BITMAPINFO format = TopDownFormat(size, size);
  HDC dc = ReadingDc();
  if (::GetDIBits(dc, info.hbmColor, 0, size, picture.color.data(), &format, DIB_RGB_COLORS) != size ||
      ::GetDIBits(dc, info.hbmMask, 0, size, mask.data(), &format, DIB_RGB_COLORS) != size) {
    return std::nullopt;
  }
  const std::size_t row = MaskRowBytes(size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      if ((mask[static_cast<std::size_t>(y) * size + x] & 0xFFFFFF) == 0) continue;
      picture.mask[y * row + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
  }
  return picture;
}

// Any icon as an image list of `size` makes it: drawn at that size when it has it, scaled
// otherwise.
std::optional<IconPicture> ReadIcon(HICON icon, int size) {
  if (auto exact = ReadExactIcon(icon, size)) return exact;
  CImageList list;
  if (icon == nullptr || !list.Create(size, size, ILC_COLOR32 | ILC_MASK, 1, 1) || list.Add(icon) != 0) {
    return std::nullopt;
  }
  // Taken out as an icon: a copy within the list would lose the picture's alpha on some systems.
  const UniqueIcon scaled(::ImageList_GetIcon(list.GetSafeHandle(), 0, ILD_NORMAL));
  return ReadExactIcon(scaled.Get(), size);
}

}  // namespace

std::optional<TargetPictures> PicturesOfIcons(const TargetIcons& icons, IconSizes sizes) {
  if (!icons.Any()) return std::nullopt;
  // A target that gives one size only has that icon in both lists.
  const HICON large = icons.large ? icons.large.Get() : icons.small.Get();
  const HICON small = icons.small ? icons.small.Get() : icons.large.Get();
  auto largePicture = ReadIcon(large, sizes.large);
  auto smallPicture = ReadIcon(small, sizes.small);
  if (!largePicture || !smallPicture) return std::nullopt;
  return TargetPictures{std::move(*largePicture), std::move(*smallPicture)};
}

std::optional<TargetPictures> PicturesAt(const CImageList& large, const CImageList& small, int index,
                                         std::optional<IconSizes> sizes) {
  // Taken out as icons: a copy within a list loses the picture's alpha on some systems.
  TargetIcons icons;
  icons.large.Reset(::ImageList_GetIcon(large.GetSafeHandle(), index, ILD_NORMAL));
  icons.small.Reset(::ImageList_GetIcon(small.GetSafeHandle(), index, ILD_NORMAL));
  if (!icons.large || !icons.small) return std::nullopt;
  return PicturesOfIcons(icons, sizes.value_or(ImageListSizes(large, small)));
}

BITMAPINFO TopDownFormat(int width, int height) {
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;  // top row first
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  return format;
}

IconSizes ImageListSizes(const CImageList& large, const CImageList& small) {
  IconSizes sizes;
  int height = 0;
  ::ImageList_GetIconSize(large.GetSafeHandle(), &sizes.large, &height);
  ::ImageList_GetIconSize(small.GetSafeHandle(), &sizes.small, &height);
  return sizes;
}

CPicturePlacer::CPicturePlacer(int size) : m_size(size) {
  BITMAPINFO format = TopDownFormat(size, size);
  void* bits = nullptr;
  m_color.Reset(::CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
  m_colorBits = m_color ? static_cast<std::uint32_t*>(bits) : nullptr;
  m_mask.Reset(::CreateBitmap(size, size, 1, 1, nullptr));
}

bool CPicturePlacer::Place(CImageList& list, int index, const IconPicture& picture) {
  if (m_colorBits == nullptr || !m_mask || picture.size != m_size || !IsWhole(picture)) return false;
  ::GdiFlush();
  std::copy(picture.color.begin(), picture.color.end(), m_colorBits);
  ::SetBitmapBits(static_cast<HBITMAP>(m_mask.Get()), static_cast<LONG>(picture.mask.size()), picture.mask.data());
  return ::ImageList_Replace(list.GetSafeHandle(), index, static_cast<HBITMAP>(m_color.Get()),
                             static_cast<HBITMAP>(m_mask.Get())) != FALSE;
}

}  // namespace ol
