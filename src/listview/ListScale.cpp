// The shortcut list at the scale of the frame's display: its image lists at the system's icon
// sizes, its font and icon spacing, and all of them made anew when the frame moves to a display
// of another DPI.
#include "listview/OrbelslaunchView.h"

#include <commctrl.h>

#include "app/MainFrame.h"
#include "listview/ItemsOnScreen.h"
#include "catalogue/CatalogueIcons.h"
#include "framework/Dpi.h"
#include "res/resource.h"

int COrbelslaunchView::Dpi() const {
  if (CMainFrame* main = MainFrame()) return main->Dpi();
  return ol::WindowDpi(m_hWnd);
}

void COrbelslaunchView::CreateImageLists(CImageList& large, CImageList& small, int dpi) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  for (auto [list, metric] : {std::pair{&large, SM_CXICON}, std::pair{&small, SM_CXSMICON}}) {
    const int size = ol::SystemMetricForDpi(metric, dpi);
    list->Create(size, size, ILC_COLOR32 | ILC_MASK, 8, 4);
    list->SetBkColor(CLR_NONE);
    for (UINT id : {IDI_NOICON, IDI_FOLDER}) list->Add(ol::UniqueIcon(ol::LoadIconOfSize(instance, id, size)).Get());
  }
}

void COrbelslaunchView::RebuildImageLists(int dpi) {
  CImageList large;
  CImageList small;
  CreateImageLists(large, small, dpi);
  // Every shortcut keeps its position; its icon arrives at the new size from the same thread as
  // at start-up, so the window is never held up.
  ol::PlanRefetchedIcons(m_imageListLarge, large, small);
  // The list lets go of the old lists without destroying them: they are ours again, kept until
  // every icon has arrived.
  m_list.SetImageList(large.GetSafeHandle(), LVSIL_NORMAL);
  m_list.SetImageList(small.GetSafeHandle(), LVSIL_SMALL);
  CImageList oldLarge;
  CImageList oldSmall;
  oldLarge.Attach(m_imageListLarge.Detach());
  oldSmall.Attach(m_imageListSmall.Detach());
  m_imageListLarge.Attach(large.Detach());
  m_imageListSmall.Attach(small.Detach());
  m_imageListLarge.SetOwnedByControl();
  m_imageListSmall.SetOwnedByControl();
  m_iconArrival.Rescale(std::move(oldLarge), std::move(oldSmall));
}

void COrbelslaunchView::ApplyListFont(int dpi) {
  const LOGFONTW font = ol::IconTitleFontForDpi(dpi);
  ol::UniqueGdiObject created(::CreateFontIndirectW(&font));
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(created.Get()), TRUE);
  // The list gives its column header the font only while it shows Details.
  if (HWND header = ListView_GetHeader(m_hWnd)) {
    ::SendMessageA(header, WM_SETFONT, reinterpret_cast<WPARAM>(created.Get()), TRUE);
  }
  m_fontList = std::move(created);  // the old font goes once the list and header have the new one
}

void COrbelslaunchView::ApplyIconSpacing(int dpi) {
  SendMessage(LVM_SETICONSPACING, 0,
              MAKELPARAM(ol::SystemMetricForDpi(SM_CXICONSPACING, dpi), ol::SystemMetricForDpi(SM_CYICONSPACING, dpi)));
}

void COrbelslaunchView::BeginDpiChange() {
  // Not set up yet (the frame is placed before the lists are made): the initial update makes
  // them at the new DPI.
  if (m_pList == nullptr || m_imageListLarge.GetSafeHandle() == nullptr) return;
  const int dpi = Dpi();
  m_nFirstVisibleBeforeDpiChange = ol::ItemsOnScreen(m_list).first;
  m_list.SetRedraw(false);
  RebuildImageLists(dpi);
  ApplyListFont(dpi);
  ApplyIconSpacing(dpi);
}

void COrbelslaunchView::EndDpiChange() {
  if (m_pList == nullptr || m_imageListLarge.GetSafeHandle() == nullptr) return;
  LayoutColumns();
  if ((GetStyle() & LVS_TYPEMASK) == LVS_LIST) FitListColumnWidth();
  if ((GetStyle() & LVS_TYPEMASK) <= LVS_SMALLICON) SendMessage(LVM_ARRANGE, LVA_DEFAULT);
  // The item that was shown first is shown first again: scrolled to the end, then back to it.
  if (m_nFirstVisibleBeforeDpiChange >= 0) {
    m_list.EnsureVisible(m_list.GetItemCount() - 1, false);
    m_list.EnsureVisible(m_nFirstVisibleBeforeDpiChange, false);
  }
  m_list.SetRedraw(true);
  Invalidate();
}
