// "About Orbels Launch" (template 100): the banner, the version and two live links, one to
// the support mail address and one to the maker's website.
#pragma once

#include "controls/HyperLink.h"
#include "framework/Dialog.h"

class CAboutDlg : public CDialog {
 public:
  explicit CAboutDlg(CWnd* parent = nullptr);
  ~CAboutDlg() override;

  CHyperLink m_linkWeb;
  CHyperLink m_linkMail;

  void DoDataExchange(CDataExchange* pDX) override;
  bool OnInitDialog() override;
};

namespace ol {

// The About command: the about box, modal over the main window.
void ShowAboutBox();

}  // namespace ol
