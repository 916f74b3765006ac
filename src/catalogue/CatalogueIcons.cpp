#include "catalogue/CatalogueIcons.h"

namespace ol {

namespace {

void MakeRoom(CImageList& large, CImageList& small, int count) {
  if (large.GetImageCount() < count) large.SetImageCount(count);
  if (small.GetImageCount() < count) small.SetImageCount(count);
}

}  // namespace

void PlanCatalogueIcons(std::vector<CShortcut>& records, CImageList& large, CImageList& small) {
  int next = large.GetImageCount();
  for (CShortcut& record : records) record.m_nIconIndex = record.IsProgram() ? next++ : kIconFolder;
  MakeRoom(large, small, next);
}

void PlanRefetchedIcons(const CImageList& old, CImageList& large, CImageList& small) {
  MakeRoom(large, small, old.GetImageCount());
}

}  // namespace ol
