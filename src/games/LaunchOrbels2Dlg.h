// "Launch The Orbels 2...": the second game's executable, its resolution (two sizes or a
// custom text, only when a resolution is specified), window mode and sound, with the
// command-line preview they give, and the do-not-show-again box. The dialog starts nothing;
// the launch command seeds it, runs it and takes its fields back after OK.
#pragma once

#include <string>

#include "framework/Dialog.h"

class CLaunchOrbels2Dlg : public CDialog {
 public:
  // Without a parent the main window owns the dialog.
  explicit CLaunchOrbels2Dlg(CWnd* parent = nullptr);
  ~CLaunchOrbels2Dlg() override;

  static const MessageMap* GetThisMessageMap();
  const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

  std::string m_strAutoExecutable;  // from the installer's entry when the dialog opened
  std::string m_strCommandLine;     // the preview, composed by UpdateCommandLine
  std::string m_strCustomResolution;
  int m_bSpecifyResolution = 0;
  int m_bRunInWindow = 0;
  int m_bHideLaunch = 0;
  int m_bNoSound = 0;
  int m_nResolution = -1;  // 0 800 x 600, 1 1024 x 768, 2 custom, -1 no button checked
  std::string m_strExecutable;  // full path of the game's executable

  void DoDataExchange(CDataExchange* pDX) override;
  bool OnInitDialog() override;

  // Composes the preview from the executable's name and the options and shows it.
  void UpdateCommandLine();

  // Handlers.
  LRESULT OnKickIdle(WPARAM, LPARAM);
  void OnUpdateResolutionControls(CCmdUI* cmdUI);
  void OnCustomResolutionChange();
  void OnOptionClicked();
  void OnAutoLocate();
  void OnChangeExecutable();
  void OnExecutableChange();
};
