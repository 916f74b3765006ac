// The launcher's one view: the shortcut list. It owns the catalogue (one record per item)
// and holds the settings while the launcher runs.
#pragma once

#include "app/Settings.h"
#include "catalogue/DataFile.h"
#include "framework/ImageList.h"
#include "framework/ListView.h"

class CMainFrame;

class COrbelslaunchView : public CListView, public ol::CLauncherSettings {
 public:
  COrbelslaunchView();
  ~COrbelslaunchView() override;

  static const MessageMap* GetThisMessageMap();
  const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

  CImageList m_imageListLarge;
  CImageList m_imageListSmall;
  CListCtrl* m_pList = nullptr;  // set at the start of the initial update

  bool PreCreateWindow(CREATESTRUCTA& cs) override;
  void OnInitialUpdate() override;

  void LoadSettings();
  void SaveSettings();
  void LoadShortcuts();
  void SaveShortcuts();
  // Places and shows the main frame from the stored placement and "Keep On Top".
  void RestoreWindowPlacement();
  // Switches the list's view type (0 large icons, 1 small icons, 2 list, 3 details; any other
  // value shows large icons).
  void SetViewMode(int mode);
  void LayoutColumns();
  void FitListColumnWidth();
  // Where the data file lives; tests may point it elsewhere before the view is created.
  static void SetDataFilePathForTesting(std::string path);

  // Handlers.
  LRESULT OnDestroy(WPARAM, LPARAM);
  LRESULT OnSize(WPARAM, LPARAM);
  void UpdateShortcutCount(CCmdUI* cmdUI);
  void OnViewLargeIcons();
  void OnViewSmallIcons();
  void OnViewList();
  void OnViewDetails();
  void OnUpdateViewLargeIcons(CCmdUI* cmdUI);
  void OnUpdateViewSmallIcons(CCmdUI* cmdUI);
  void OnUpdateViewList(CCmdUI* cmdUI);
  void OnUpdateViewDetails(CCmdUI* cmdUI);
  void OnRefreshView();

  CMainFrame* MainFrame() const;

 private:
  void ChooseViewMode(int mode);
  CListCtrl m_list;
  ol::CDataFile m_dataFile;
};
