// "About Orbels Launch" (template 100): the banner, the version and two live links, one to
// the support mail address and one to the maker's website.
#pragma once

#include "controls/HyperLink.h"
#include "framework/Dialog.h"
#include "framework/Handle.h"

class CAboutDlg : public CDialog {
 public:
  explicit CAboutDlg(CWnd* parent = nullptr);
  ~CAboutDlg() override;

  static const MessageMap* GetThisMessageMap();
  const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

  CHyperLink m_linkWeb;
  CHyperLink m_linkMail;

  void DoDataExchange(CDataExchange* pDX) override;
  bool OnInitDialog() override;

 private:
  // The banner as large as the dialog's DPI makes its place: 300 x 75 pixels at 96 DPI, which
  // the template's picture is; the pictures drawn for 150 % and 200 % where those fit, shrunk
  // from the next larger one between them.
  void ShowBannerForDpi(int dpi);
  LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);

  ol::UniqueGdiObject m_bmpBanner;          // the banner shown instead of the template's
  HGDIOBJ m_hTemplateBanner = nullptr;      // the template's, the control's own: given back
};

namespace ol {

// The About command: the about box, modal over the main window.
void ShowAboutBox();

}  // namespace ol
