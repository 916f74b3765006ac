// An image list handle with its owner. A list view whose image lists are not marked as
// shared destroys them itself; after handing a list to such a control, call
// SetOwnedByControl so that it is destroyed exactly once.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

class CImageList {
 public:
  CImageList() = default;
  CImageList(const CImageList&) = delete;
  CImageList& operator=(const CImageList&) = delete;
  ~CImageList() { DeleteImageList(); }

  bool Create(int cx, int cy, UINT flags, int initial, int grow) {
    return Attach(::ImageList_Create(cx, cy, flags, initial, grow));
  }
  bool Attach(HIMAGELIST handle) {
    DeleteImageList();
    m_hImageList = handle;
    m_bOwned = true;
    return handle != nullptr;
  }
  HIMAGELIST Detach() {
    m_bOwned = false;
    return std::exchange(m_hImageList, nullptr);
  }
  void SetOwnedByControl() { m_bOwned = false; }
  void DeleteImageList() {
    if (m_hImageList != nullptr && m_bOwned) ::ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
  }

  HIMAGELIST GetSafeHandle() const { return m_hImageList; }
  int GetImageCount() const { return m_hImageList ? ::ImageList_GetImageCount(m_hImageList) : 0; }
  // Appends with index -1; returns the new image's position, or -1.
  int Add(HICON icon) { return Replace(-1, icon); }
  int Replace(int index, HICON icon) {
    return m_hImageList ? ::ImageList_ReplaceIcon(m_hImageList, index, icon) : -1;
  }
  int AddMasked(HBITMAP bitmap, COLORREF mask) {
    return m_hImageList ? ::ImageList_AddMasked(m_hImageList, bitmap, mask) : -1;
  }
  // Makes room for `count` images in one step (new images are blank until replaced).
  bool SetImageCount(int count) {
    return m_hImageList && ::ImageList_SetImageCount(m_hImageList, static_cast<UINT>(count));
  }
  COLORREF SetBkColor(COLORREF color) {
    return m_hImageList ? ::ImageList_SetBkColor(m_hImageList, color) : CLR_NONE;
  }

 private:
  HIMAGELIST m_hImageList = nullptr;
  bool m_bOwned = true;
};
