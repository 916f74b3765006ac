#include "catalogue/CatalogueIcons.h"

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_map>

#include "catalogue/CatalogueList.h"
#include "catalogue/ShortcutIcons.h"

namespace ol {

namespace {

// Puts the images of targets into two lists through their fillers, extracting each distinct
// target once: its pixels are read once and put for every shortcut to it, and its icons go as
// soon as its last shortcut has its images.
class CTargetImageSource {
 public:
  CTargetImageSource(CIconListFiller& large, CIconListFiller& small, IconSizes sizes)
      : m_large(large), m_small(small), m_sizes(sizes) {}

  // One more shortcut to `target` will ask for its images.
  void Expect(const std::string& target) { ++m_targets[target].remaining; }

  // Puts the target's images into both lists; the large list's position, or -1 when the target
  // gives no icon (nothing is put then).
  int Put(const std::string& target) {
    const auto found = m_targets.find(target);
    if (found == m_targets.end()) return -1;
    Target& images = found->second;
    if (!images.extracted) {
      images.extracted = true;
      images.icons = ExtractTargetIcons(target, m_sizes);
      if (images.icons.Any() && images.remaining > 1) {
        images.largePixels = m_large.Read(images.icons.LargeOrSmall());
        images.smallPixels = m_small.Read(images.icons.SmallOrLarge());
      }
    }
    int position = -1;
    if (images.icons.Any() || images.largePixels) {
      position = images.largePixels ? m_large.Put(*images.largePixels) : m_large.Put(images.icons.LargeOrSmall());
      if (images.smallPixels) {
        m_small.Put(*images.smallPixels);
      } else {
        m_small.Put(images.icons.SmallOrLarge());
      }
    }
    if (--images.remaining == 0) {
      m_targets.erase(found);
    } else if (images.largePixels && images.smallPixels) {
      images.icons = TargetIcons{};  // every later shortcut is served from the pixels
    }
    return position;
  }

 private:
  struct Target {
    int remaining = 0;  // shortcuts still to be given this target's images
    bool extracted = false;
    TargetIcons icons;  // kept only while their pixels could not be read
    std::optional<CIconListFiller::Pixels> largePixels;
    std::optional<CIconListFiller::Pixels> smallPixels;
  };
  CIconListFiller& m_large;
  CIconListFiller& m_small;
  IconSizes m_sizes;
  std::unordered_map<std::string, Target> m_targets;
};

// An image of an old list, put into a fresh one at the fresh list's size; a blank image where
// the old list has none.
void PutOldImage(CIconListFiller& filler, const CImageList& old, int position) {
  UniqueIcon icon(::ImageList_GetIcon(old.GetSafeHandle(), position, ILD_NORMAL));
  if (!icon || filler.Put(icon.Get()) < 0) filler.Skip();
}

}  // namespace

void AssignCatalogueIcons(std::vector<CShortcut>& records, CImageList& large, CImageList& small) {
  int programs = 0;
  for (const CShortcut& record : records) programs += record.IsProgram() ? 1 : 0;
  CIconListFiller largeFiller(large, programs);
  CIconListFiller smallFiller(small, programs);
  CTargetImageSource source(largeFiller, smallFiller, ImageListSizes(large, small));
  for (const CShortcut& record : records) {
    if (record.IsProgram()) source.Expect(record.m_strTarget);
  }
  for (CShortcut& record : records) {
    if (!record.IsProgram()) {
      record.m_nIconIndex = kIconFolder;
      continue;
    }
    // The record keeps the large list's position, as a one-by-one append gives it.
    const int position = source.Put(record.m_strTarget);
    record.m_nIconIndex = position < 0 ? kIconNone : position;
  }
}

void RefillCatalogueIcons(const CListCtrl& list, const CImageList& oldLarge, const CImageList& oldSmall,
                          CImageList& large, CImageList& small) {
  const int first = large.GetImageCount();  // the two built-in images
  const int count = oldLarge.GetImageCount();
  // The target whose picture stands at each position.
  std::vector<const std::string*> targets(static_cast<std::size_t>(std::max(count, 0)), nullptr);
  for (int i = 0; i < list.GetItemCount(); ++i) {
    const CShortcut* record = RecordAt(list, i);
    if (record == nullptr || !record->IsProgram() || record->m_nIconIndex < first || record->m_nIconIndex >= count) {
      continue;
    }
    targets[static_cast<std::size_t>(record->m_nIconIndex)] = &record->m_strTarget;
  }

  CIconListFiller largeFiller(large, count - first);
  CIconListFiller smallFiller(small, count - first);
  CTargetImageSource source(largeFiller, smallFiller, ImageListSizes(large, small));
  for (int position = first; position < count; ++position) {
    if (const std::string* target = targets[static_cast<std::size_t>(position)]) source.Expect(*target);
  }
  for (int position = first; position < count; ++position) {
    const std::string* target = targets[static_cast<std::size_t>(position)];
    if (target != nullptr && source.Put(*target) >= 0) continue;
    PutOldImage(largeFiller, oldLarge, position);
    PutOldImage(smallFiller, oldSmall, position);
  }
}

}  // namespace ol
