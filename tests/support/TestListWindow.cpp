#include "support/TestListWindow.h"

#include "catalogue/CatalogueList.h"
#include "catalogue/DataFileFormat.h"
#include "listview/IconArrival.h"
#include "support/TestFiles.h"

namespace oltest {

TestListWindow::TestListWindow() {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&init);
  m_frame = ::CreateWindowExA(0, "STATIC", "test frame", WS_OVERLAPPEDWINDOW, 0, 0, 450, 300, nullptr, nullptr,
                              ::GetModuleHandleA(nullptr), nullptr);
  HWND list = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_SINGLESEL | LVS_AUTOARRANGE,
                                0, 0, 440, 260, m_frame, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  m_list = CListCtrl(list);
  m_list.InsertColumn(0, "Shortcut Name", LVCFMT_LEFT, 160, 0);
  m_list.InsertColumn(1, "Path", LVCFMT_LEFT, 240, 1);
  m_large.Create(32, 32, ILC_COLOR32 | ILC_MASK, 8, 4);
  m_small.Create(16, 16, ILC_COLOR32 | ILC_MASK, 8, 4);
  for (CImageList* images : {&m_large, &m_small}) {
    images->Add(::LoadIconA(nullptr, IDI_HAND));
    images->Add(::LoadIconA(nullptr, IDI_WINLOGO));
  }
  m_list.SetImageList(m_large.GetSafeHandle(), LVSIL_NORMAL);
  m_list.SetImageList(m_small.GetSafeHandle(), LVSIL_SMALL);
  m_large.SetOwnedByControl();
  m_small.SetOwnedByControl();
}

TestListWindow::~TestListWindow() {
  ol::RemoveAllShortcuts(m_list);
  ::DestroyWindow(m_frame);
}

void TestListWindow::FetchIcons() {
  ol::CIconArrival icons(m_list, m_large, m_small);
  icons.Start();
  while (icons.Busy()) PumpMessagesFor(std::chrono::milliseconds(5));
}

std::vector<std::string> TestListWindow::Names() const {
  std::vector<std::string> names;
  for (int i = 0; i < m_list.GetItemCount(); ++i) names.push_back(m_list.GetItemText(i, 0));
  return names;
}

std::vector<int> TestListWindow::IconIndices() const {
  std::vector<int> indices;
  for (int i = 0; i < m_list.GetItemCount(); ++i) indices.push_back(RecordAt(i).m_nIconIndex);
  return indices;
}

std::vector<int> TestListWindow::ItemImages() const {
  std::vector<int> images;
  for (int i = 0; i < m_list.GetItemCount(); ++i) images.push_back(m_list.GetItemImage(i));
  return images;
}

const ol::CShortcut& TestListWindow::RecordAt(int index) const { return *ol::RecordAt(m_list, index); }

std::string TestListWindow::Catalogue() const {
  return ol::FormatDataFile(m_list.GetItemCount(), [this](int i) -> const ol::CShortcut& { return RecordAt(i); });
}

}  // namespace oltest

namespace oltest {

std::vector<std::uint32_t> ImagePixels(HIMAGELIST images, int index) {
  int cx = 0;
  int cy = 0;
  ::ImageList_GetIconSize(images, &cx, &cy);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = cx;
  info.bmiHeader.biHeight = -cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = ::CreateCompatibleDC(nullptr);
  HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  ::ImageList_Draw(images, index, dc, 0, 0, ILD_NORMAL);
  ::GdiFlush();
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> result(pixels, pixels + cx * cy);
  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  return result;
}

}  // namespace oltest
