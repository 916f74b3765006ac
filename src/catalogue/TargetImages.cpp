#include "catalogue/TargetImages.h"

namespace ol {

namespace {

// The icon's own bitmaps when it is a colour icon of `size` pixels; otherwise the icon itself,
// for the list to scale. `icon` is taken over either way.
ListImage MakeListImage(UniqueIcon icon, int size) {
  ListImage image;
  ICONINFO info{};
  if (icon && ::GetIconInfo(icon.Get(), &info)) {
    UniqueGdiObject color(info.hbmColor);
    UniqueGdiObject mask(info.hbmMask);
    BITMAP bitmap{};
    if (color && ::GetObjectA(color.Get(), sizeof bitmap, &bitmap) && bitmap.bmWidth == size &&
        bitmap.bmHeight == size) {
      image.color = std::move(color);
      image.mask = std::move(mask);
      return image;
    }
  }
  image.icon = std::move(icon);
  return image;
}

bool PlaceListImage(CImageList& list, int index, const ListImage& image) {
  if (image.color) {
    return ::ImageList_Replace(list.GetSafeHandle(), index, static_cast<HBITMAP>(image.color.Get()),
                               static_cast<HBITMAP>(image.mask.Get())) != FALSE;
  }
  return image.icon && list.Replace(index, image.icon.Get()) == index;
}

}  // namespace

std::shared_ptr<const TargetImages> MakeTargetImages(TargetIcons icons, IconSizes sizes) {
  if (!icons.Any()) return nullptr;
  // A target that gives one size only has that icon in both lists.
  if (!icons.large) icons.large.Reset(::CopyIcon(icons.small.Get()));
  if (!icons.small) icons.small.Reset(::CopyIcon(icons.large.Get()));
  auto images = std::make_shared<TargetImages>();
  images->large = MakeListImage(std::move(icons.large), sizes.large);
  images->small = MakeListImage(std::move(icons.small), sizes.small);
  return images;
}

std::shared_ptr<const TargetImages> FetchTargetImages(const std::string& target, IconSizes sizes) {
  return MakeTargetImages(ExtractTargetIcons(target, sizes), sizes);
}

std::shared_ptr<const TargetImages> PicturesAt(const CImageList& large, const CImageList& small, int index) {
  // Taken out as icons: the lists' own copies within a list lose the pictures' alpha on some
  // systems, an icon keeps it.
  TargetIcons icons;
  icons.large.Reset(::ImageList_GetIcon(large.GetSafeHandle(), index, ILD_NORMAL));
  icons.small.Reset(::ImageList_GetIcon(small.GetSafeHandle(), index, ILD_NORMAL));
  return MakeTargetImages(std::move(icons), ImageListSizes(large, small));
}

bool PlaceTargetImages(CImageList& large, CImageList& small, int index, const TargetImages& images) {
  const bool placedLarge = PlaceListImage(large, index, images.large);
  const bool placedSmall = PlaceListImage(small, index, images.small);
  return placedLarge && placedSmall;
}

}  // namespace ol
