// "Launch The Orbels...": the first game's location, its six startup options with the
// command-line preview they give, and the do-not-show-again box. The dialog starts nothing;
// the launch command seeds it, runs it and takes its fields back after OK.
#pragma once

#include <string>

#include "framework/Dialog.h"

class CLaunchOrbelsDlg : public CDialog {
 public:
  // Without a parent the main window owns the dialog.
  explicit CLaunchOrbelsDlg(CWnd* parent = nullptr);
  ~CLaunchOrbelsDlg() override;

  static const MessageMap* GetThisMessageMap();
  const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

  std::string m_strAutoLocation;  // what the installer's entry said when the dialog opened
  std::string m_strCommandLine;   // the preview, composed by UpdateCommandLine
  int m_bDisableDX6 = 0;
  std::string m_strGameLocation;  // the game's root installation folder
  int m_bRunHighRes = 0;
  int m_bNoSound = 0;
  int m_bRunInWindow = 0;
  int m_bSkipIntro = 0;
  int m_bSkipSystemCheck = 0;
  int m_bHideLaunch = 0;

  void DoDataExchange(CDataExchange* pDX) override;
  bool OnInitDialog() override;

  // Composes the preview from the options and shows it.
  void UpdateCommandLine();

  // Handlers.
  void OnOptionClicked();
  void OnAutoLocate();
  void OnChangeLocation();
  void OnGameLocationChange();
};
