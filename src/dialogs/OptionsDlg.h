// "Program Options" (template 136): snapping and its distance, keeping the main window on
// top, minimising after a game start, quick launch, and the list's mouse-selection mode.
#pragma once

#include "framework/Dialog.h"

class COptionsDlg : public CDialog {
 public:
  explicit COptionsDlg(CWnd* parent = nullptr);
  ~COptionsDlg() override;

  static const MessageMap* GetThisMessageMap();
  const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

  int m_bKeepOnTop = 0;
  int m_nMouseSelection = -1;  // 0 single click, 1 double click, -1 no button checked
  int m_bSnapWindow = 0;
  int m_nSnapWidth = 0;  // pixels, 0 to 100
  int m_bAutoMinimize = 0;
  int m_bHideLaunch = 0;

  void DoDataExchange(CDataExchange* pDX) override;

 protected:
  // Every check-box click and every change of the snap width is read back at once, so that
  // a bad snap width is reported on the keystroke that makes it.
  void OnOptionChanged();
};
