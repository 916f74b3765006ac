// The launcher's one view: the shortcut list. It owns the catalogue (one record per item)
// and holds the settings while the launcher runs.
#pragma once

#include "app/Settings.h"
#include "catalogue/DataFile.h"
#include "catalogue/Shortcut.h"
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

  // Mouse, keyboard, context menu and label editing of the list.
  LRESULT OnClick(NMHDR* header);
  LRESULT OnDblClick(NMHDR* header);
  LRESULT OnRightClick(NMHDR* header);
  LRESULT OnListKeyDown(NMHDR* header);
  LRESULT OnSysKeyDown(WPARAM wParam, LPARAM lParam);
  LRESULT OnBeginLabelEdit(NMHDR* header);
  LRESULT OnEndLabelEdit(NMHDR* header);

  // Launching and editing the catalogue.
  void OnLaunchShortcut();
  void OnUpdateSelectedShortcut(CCmdUI* cmdUI);
  void OnUpdateDeleteAll(CCmdUI* cmdUI);
  void OnNewProgramShortcut();
  void OnNewFolderShortcut();
  void OnRename();
  void OnDelete();
  void OnDeleteAll();
  void OnProperties();
  void OnReloadIcon();

  // The games.
  void OnLaunchOrbels();
  void OnLaunchOrbels2();

  // Options and help.
  void OnProgramOptions();
  void OnHelpContents();

  CMainFrame* MainFrame() const;
  // The selected item's position (-1 for none) and its record (null for none).
  int SelectedItem() const;
  ol::CShortcut* SelectedRecord() const;

 private:
  void ChooseViewMode(int mode);
  // Tells about a duplicate target, then selects, focuses and reveals the existing item.
  void ShowExistingShortcut(int item, const char* text);
  // Adds a new record's item at the end and puts the list in catalogue order.
  void AddShortcut(ol::CShortcut record);
  // A program record's images after its target changed or was reloaded.
  void RefreshProgramIcon(int item, ol::CShortcut& record);
  CListCtrl m_list;
  ol::CDataFile m_dataFile;
};
