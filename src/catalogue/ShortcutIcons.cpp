#include "catalogue/ShortcutIcons.h"

#include <shellapi.h>

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
