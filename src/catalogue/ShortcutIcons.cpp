#include "catalogue/ShortcutIcons.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdint>

#include "catalogue/Shortcut.h"
#include "util/SystemUtil.h"

namespace ol {

namespace {
BITMAPINFO ImageFormat(int size) {
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = size;
  format.bmiHeader.biHeight = -size;  // top-down rows
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  return format;
}
}  // namespace

IconSizes ImageListSizes(const CImageList& large, const CImageList& small) {
  IconSizes sizes;
  int height = 0;
  ::ImageList_GetIconSize(large.GetSafeHandle(), &sizes.large, &height);
  ::ImageList_GetIconSize(small.GetSafeHandle(), &sizes.small, &height);
  return sizes;
}

TargetIcons ExtractTargetIcons(const std::string& target, IconSizes sizes) {
  // ExtractIconExA gives the system's icon sizes only; this gives the sizes asked for. It
  // answers S_OK with both icons, S_FALSE for a file without icons and an error for a file
  // that cannot be read; the handles are trusted only with S_OK.
  TargetIcons icons;
  HICON large = nullptr;
  HICON small = nullptr;
  const HRESULT result = ::SHDefExtractIconA(target.c_str(), 0, 0, &large, &small,
                                             static_cast<UINT>(MAKELONG(sizes.large, sizes.small)));
  if (result == S_OK) {
    icons.large.Reset(large);
    icons.small.Reset(small);
  }
  // A batch file holds no icon, yet it is a program: it takes the shell's icon for its type
  // (at the system's icon sizes, which a list of other sizes scales), so that it is not taken
  // for a program whose target is gone.
  if (!icons.Any() && IsBatchFile(target)) {
    SHFILEINFOA shell{};
    if (::SHGetFileInfoA(target.c_str(), 0, &shell, sizeof shell, SHGFI_ICON | SHGFI_LARGEICON)) {
      icons.large.Reset(shell.hIcon);
    }
    if (::SHGetFileInfoA(target.c_str(), 0, &shell, sizeof shell, SHGFI_ICON | SHGFI_SMALLICON)) {
      icons.small.Reset(shell.hIcon);
    }
  }
  return icons;
}

int AppendTargetIcons(CImageList& large, CImageList& small, const TargetIcons& icons) {
  if (!icons.Any()) return kIconNone;
  const int index = large.Add(icons.LargeOrSmall());
  small.Add(icons.SmallOrLarge());
  return index < 0 ? kIconNone : index;
}

int AppendTargetIcons(CIconListFiller& large, CIconListFiller& small, const TargetIcons& icons) {
  if (!icons.Any()) return kIconNone;
  const int index = large.Put(icons.LargeOrSmall());
  small.Put(icons.SmallOrLarge());
  return index < 0 ? kIconNone : index;
}

void ReplaceTargetIcons(CImageList& large, CImageList& small, int index, const TargetIcons& icons) {
  if (!icons.Any()) return;
  large.Replace(index, icons.LargeOrSmall());
  small.Replace(index, icons.SmallOrLarge());
}

CIconListFiller::CIconListFiller(CImageList& list, int room) : m_list(list), m_first(list.GetImageCount()) {
  m_next = m_first;
  if (m_list.GetSafeHandle() == nullptr) return;
  int height = 0;
  ::ImageList_GetIconSize(m_list.GetSafeHandle(), &m_size, &height);
  if (room > 0) m_reserved = m_list.SetImageCount(m_first + room) ? room : 0;
  if (m_size != height || m_size <= 0) return;  // not square: every icon goes the list's own way
  m_screen = ::GetDC(nullptr);
  m_mask32Dc = ::CreateCompatibleDC(m_screen);
  m_maskDc = ::CreateCompatibleDC(m_screen);
  BITMAPINFO format = ImageFormat(m_size);
  void* bits = nullptr;
  m_color.Reset(::CreateDIBSection(m_screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
  m_colorBits = static_cast<std::uint32_t*>(bits);
  m_mask32.Reset(::CreateDIBSection(m_screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
  m_maskBits = static_cast<std::uint32_t*>(bits);
  m_mask.Reset(::CreateBitmap(m_size, m_size, 1, 1, nullptr));
  if (m_mask32Dc == nullptr || m_maskDc == nullptr || !m_color || !m_mask32 || !m_mask) {
    m_colorBits = nullptr;
    return;
  }
  m_oldMask32DcObject = ::SelectObject(m_mask32Dc, m_mask32.Get());
}

CIconListFiller::~CIconListFiller() {
  if (m_mask32Dc != nullptr) {
    if (m_oldMask32DcObject != nullptr) ::SelectObject(m_mask32Dc, m_oldMask32DcObject);
    ::DeleteDC(m_mask32Dc);
  }
  if (m_maskDc != nullptr) ::DeleteDC(m_maskDc);
  if (m_screen != nullptr) ::ReleaseDC(nullptr, m_screen);
  // Room that no icon needed is given back, so the list ends as one-by-one appends leave it.
  if (m_next < m_first + m_reserved) m_list.SetImageCount(m_next);
}

std::optional<CIconListFiller::Pixels> CIconListFiller::Read(HICON icon) const {
  if (m_colorBits == nullptr || icon == nullptr) return std::nullopt;
  ICONINFO info{};
  if (!::GetIconInfo(icon, &info)) return std::nullopt;
  UniqueGdiObject colorBitmap(info.hbmColor);
  UniqueGdiObject maskBitmap(info.hbmMask);
  BITMAP bitmap{};
  // Only colour icons of exactly the list's size are taken pixel for pixel; the list scales
  // any other itself.
  if (!info.hbmColor || !::GetObjectA(info.hbmColor, sizeof bitmap, &bitmap) || bitmap.bmWidth != m_size ||
      bitmap.bmHeight != m_size) {
    return std::nullopt;
  }
  const std::size_t count = static_cast<std::size_t>(m_size) * static_cast<std::size_t>(m_size);
  Pixels pixels{std::vector<std::uint32_t>(count), std::vector<std::uint32_t>(count)};
  BITMAPINFO format = ImageFormat(m_size);
  if (::GetDIBits(m_screen, info.hbmColor, 0, m_size, pixels.color.data(), &format, DIB_RGB_COLORS) != m_size ||
      ::GetDIBits(m_screen, info.hbmMask, 0, m_size, pixels.mask.data(), &format, DIB_RGB_COLORS) != m_size) {
    return std::nullopt;
  }
  return pixels;
}

int CIconListFiller::Put(const Pixels& pixels) {
  if (m_colorBits == nullptr || pixels.color.size() != static_cast<std::size_t>(m_size) * m_size) return -1;
  ::GdiFlush();
  std::copy(pixels.color.begin(), pixels.color.end(), m_colorBits);
  std::copy(pixels.mask.begin(), pixels.mask.end(), m_maskBits);
  // The list wants its mask as a monochrome bitmap; selected only for the copy, since the
  // list cannot read a bitmap that another device context holds.
  const HGDIOBJ previous = ::SelectObject(m_maskDc, m_mask.Get());
  ::BitBlt(m_maskDc, 0, 0, m_size, m_size, m_mask32Dc, 0, 0, SRCCOPY);
  ::SelectObject(m_maskDc, previous);
  const int position = m_next;
  bool placed = false;
  if (position < m_first + m_reserved) {
    placed = ::ImageList_Replace(m_list.GetSafeHandle(), position, static_cast<HBITMAP>(m_color.Get()),
                                 static_cast<HBITMAP>(m_mask.Get())) != FALSE;
  } else {
    placed = ::ImageList_Add(m_list.GetSafeHandle(), static_cast<HBITMAP>(m_color.Get()),
                             static_cast<HBITMAP>(m_mask.Get())) == position;
  }
  if (!placed) return -1;
  ++m_next;
  return position;
}

int CIconListFiller::Skip() {
  if (m_next >= m_first + m_reserved) {
    if (!m_list.SetImageCount(m_next + 1)) return -1;
    m_reserved = m_next + 1 - m_first;
  }
  return m_next++;
}

int CIconListFiller::Put(HICON icon) {
  if (auto pixels = Read(icon)) return Put(*pixels);
  // The list's own way: scaled to its size, as a one-by-one append does.
  const int position = m_next < m_first + m_reserved ? m_list.Replace(m_next, icon) : m_list.Add(icon);
  if (position < 0) return -1;
  ++m_next;
  return position;
}

}  // namespace ol
