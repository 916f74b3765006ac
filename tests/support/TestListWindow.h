// A real list-view control in a top-level window, with the two image lists set up the way the
// shortcut view sets them up (images 0 and 1 in place), for catalogue tests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/Shortcut.h"
#include "framework/ImageList.h"
#include "framework/ListCtrl.h"

namespace oltest {

class TestListWindow {
 public:
  TestListWindow();
  ~TestListWindow();
  TestListWindow(const TestListWindow&) = delete;
  TestListWindow& operator=(const TestListWindow&) = delete;

  const CListCtrl& List() const { return m_list; }
  HWND Frame() const { return m_frame; }
  CImageList& Large() { return m_large; }
  CImageList& Small() { return m_small; }

  // The program records' pictures put in, as the launcher puts them in after a load.
  void FetchIcons();

  std::vector<std::string> Names() const;
  std::vector<int> IconIndices() const;  // the records' icon indices, in item order
  std::vector<int> ItemImages() const;   // the items' images, in item order
  const ol::CShortcut& RecordAt(int index) const;
  // The records in the data file's format, in item order.
  std::string Catalogue() const;

 private:
  HWND m_frame = nullptr;
  CListCtrl m_list;
  CImageList m_large;
  CImageList m_small;
};

}  // namespace oltest

namespace oltest {
// The pixels of one image of an image list, drawn onto black.
std::vector<std::uint32_t> ImagePixels(HIMAGELIST images, int index);
}  // namespace oltest
