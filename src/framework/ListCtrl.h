// A thin, non-owning view of a list-view control's window: the operations the launcher
// sends to its list.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

class CListCtrl {
 public:
  CListCtrl() = default;
  explicit CListCtrl(HWND hwnd) : m_hWnd(hwnd) {}

  HWND GetSafeHwnd() const { return m_hWnd; }

  int GetItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
  int GetNextItem(int start, UINT flags) const {
    return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
  }
  int GetSelectedItem() const { return GetNextItem(-1, LVNI_SELECTED); }

  // Inserts at `index` with label and image (LVIF_TEXT | LVIF_IMAGE), and the data value when
  // one is given; returns the position.
  int InsertItem(int index, const std::string& label, int image, LPARAM data = 0) const;
  bool SetItemText(int index, int subItem, const std::string& text) const;
  std::string GetItemText(int index, int subItem) const;
  bool SetItemData(int index, LPARAM data) const;
  LPARAM GetItemData(int index) const;
  bool SetItemImage(int index, int image) const;
  int GetItemImage(int index) const;
  bool SetItemState(int index, UINT state, UINT mask) const;
  UINT GetItemState(int index, UINT mask) const;
  bool EnsureVisible(int index, bool partialOk) const {
    return Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), partialOk ? TRUE : FALSE) != 0;
  }
  bool DeleteItem(int index) const { return Send(LVM_DELETEITEM, static_cast<WPARAM>(index)) != 0; }
  bool DeleteAllItems() const { return Send(LVM_DELETEALLITEMS) != 0; }
  bool SortItems(PFNLVCOMPARE compare, LPARAM data) const {
    return Send(LVM_SORTITEMS, static_cast<WPARAM>(data), reinterpret_cast<LPARAM>(compare)) != 0;
  }
  HIMAGELIST SetImageList(HIMAGELIST list, int which) const {
    return reinterpret_cast<HIMAGELIST>(Send(LVM_SETIMAGELIST, static_cast<WPARAM>(which),
                                             reinterpret_cast<LPARAM>(list)));
  }
  HIMAGELIST GetImageList(int which) const {
    return reinterpret_cast<HIMAGELIST>(Send(LVM_GETIMAGELIST, static_cast<WPARAM>(which)));
  }
  void SetItemCountEx(int count) const { Send(LVM_SETITEMCOUNT, static_cast<WPARAM>(count), 0); }
  int InsertColumn(int index, const std::string& heading, int format, int width, int subItem) const;
  bool SetColumnWidth(int column, int width) const {
    return Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0)) != 0;
  }
  int GetColumnWidth(int column) const {
    return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
  }
  int GetStringWidth(const std::string& text) const {
    return static_cast<int>(Send(LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text.c_str())));
  }
  DWORD GetExtendedStyle() const { return static_cast<DWORD>(Send(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
  void SetExtendedStyle(DWORD style) const { Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style)); }
  bool RedrawItems(int first, int last) const {
    return Send(LVM_REDRAWITEMS, static_cast<WPARAM>(first), static_cast<LPARAM>(last)) != 0;
  }
  HWND EditLabel(int index) const {
    return reinterpret_cast<HWND>(Send(LVM_EDITLABELA, static_cast<WPARAM>(index)));
  }
  void SetRedraw(bool redraw) const { Send(WM_SETREDRAW, redraw ? TRUE : FALSE); }

 private:
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
  }

  HWND m_hWnd = nullptr;
};
