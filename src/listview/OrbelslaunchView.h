// The launcher's one view: the shortcut list. It owns the catalogue (one record per item)
// and holds the settings while the launcher runs.
#pragma once

#include <string>
#include <vector>

#include "app/Settings.h"
#include "catalogue/DataFile.h"
#include "catalogue/Shortcut.h"
#include "framework/Handle.h"
#include "framework/ImageList.h"
#include "framework/ListView.h"
#include "listview/IconArrival.h"

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

  // The DPI of the frame's display: every pixel figure of the list is scaled to it.
  int Dpi() const;
  // Two fresh image lists at the system's icon sizes for `dpi`, holding the image of a program
  // without an icon (0) and the folder image (1).
  static void CreateImageLists(CImageList& large, CImageList& small, int dpi);
  // Fresh image lists for `dpi` with the catalogue's pictures drawn again at their sizes (every
  // icon index stays), handed to the list in place of the old ones.
  void RebuildImageLists(int dpi);
  // The list's font and icon spacing for `dpi`.
  void ApplyListFont(int dpi);
  void ApplyIconSpacing(int dpi);
  // The frame went to a display of another scale: the list's pictures, font and spacing follow
  // before the frame takes its new size; its columns and the item shown first follow after.
  // The selection and the view mode stay.
  void BeginDpiChange();
  void EndDpiChange();
  // Where the data file lives; tests may point it elsewhere before the view is created.
  static void SetDataFilePathForTesting(std::string path);

  // Handlers.
  LRESULT OnDestroy(WPARAM, LPARAM);
  LRESULT OnSize(WPARAM, LPARAM);
  // Paints that show other items: their icons come first.
  LRESULT OnPaint(WPARAM, LPARAM);
  // True while program icons are still on their way.
  bool IconsArriving() const { return m_iconArrival.Busy(); }
  bool IconsOnScreenIn() const { return m_iconArrival.OnScreenIn(); }
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
  // Files and folders dropped on the list from Explorer or the desktop.
  LRESULT OnDropFiles(WPARAM wParam, LPARAM lParam);

  // The games.
  void OnLaunchOrbels();
  void OnLaunchOrbels2();

  // Options and help.
  void OnProgramOptions();
  void OnHelpContents();

  // Adding a program or a folder by the rules of New Program Shortcut and New Folder
  // Shortcut, without any message: what happened, and the item added or already there.
  enum class AddOutcome { Added, Forbidden, DuplicateProgram, DuplicateFolder };
  struct AddResult {
    AddOutcome outcome;
    int item;
  };
  AddResult AddProgramShortcut(const std::string& path, const std::string& commandLine);
  AddResult AddFolderShortcut(const std::string& path);

  CMainFrame* MainFrame() const;
  // The selected item's position (-1 for none) and its record (null for none).
  int SelectedItem() const;
  ol::CShortcut* SelectedRecord() const;

 private:
  void ChooseViewMode(int mode);
  // Tells about a duplicate target, then selects, focuses and reveals the existing item.
  void ShowExistingShortcut(int item, const char* text);
  // Adds a new record's item and puts the list in catalogue order; the item's position then
  // (-1 when it could not be added).
  int AddShortcut(ol::CShortcut record);

  // New records by the rules of the two New commands, a program's still without its icon.
  static ol::CShortcut ProgramRecord(const std::string& path, const std::string& commandLine);
  static ol::CShortcut FolderRecord(const std::string& path);
  // The menu commands' message for a refused addition (none for an added one).
  void ReportRefusal(const AddResult& result);
  // One dropped file, folder or Windows shortcut: added and selected, or refused with the
  // menu commands' message or one of its own.
  void AddDroppedItem(const std::string& path);
  // Many: those that can be added are, the last of them selected; one message tells the rest.
  void AddDroppedItems(const std::vector<std::string>& paths);
  CListCtrl m_list;
  ol::CDataFile m_dataFile;
  ol::UniqueGdiObject m_fontList;  // the list's font at the frame's DPI
  ol::CIconArrival m_iconArrival{m_list, m_imageListLarge, m_imageListSmall};
  int m_nFirstVisibleBeforeDpiChange = -1;
};
