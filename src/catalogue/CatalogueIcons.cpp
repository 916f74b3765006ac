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

void MakeRoom(CImageList& large, CImageList& small, int count) {
  if (large.GetImageCount() < count) large.SetImageCount(count);
  if (small.GetImageCount() < count) small.SetImageCount(count);
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

void PlanCatalogueIcons(std::vector<CShortcut>& records, CImageList& large, CImageList& small) {
  int next = large.GetImageCount();
  for (CShortcut& record : records) {
    if (!record.IsProgram()) {
      record.m_nIconIndex = kIconFolder;
      continue;
    }
    record.m_nIconIndex = next++;
  }
  MakeRoom(large, small, next);
}

void PlanRefetchedIcons(const CImageList& old, CImageList& large, CImageList& small) {
  MakeRoom(large, small, old.GetImageCount());
}

}  // namespace ol
