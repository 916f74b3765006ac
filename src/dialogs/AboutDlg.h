// "About Orbels Launch" (template 100): the banner, the version and two live links, one to
// the support mail address and one to the maker's website.
#pragma once

#include "controls/HyperLink.h"
#include "framework/Dialog.h"
#include "framework/Handle.h"
#include "framework/Static.h"

// The about box's picture at the size its place has: 300 x 75 pixels at 96 DPI, which is the
// template's own picture; the pictures drawn for 150 % and 200 % where those fit, and between
// them the next larger one shrunk. When the dialog moves to a display of another DPI, Windows
// scales the place with the dialog, and the picture follows.
class CAboutBanner : public CStatic {
 public:
  static const MessageMap* GetThisMessageMap();
  const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

  void ShowAtSize(SIZE size);
  LRESULT OnDpiChangedAfterParent(WPARAM wParam, LPARAM lParam);
  LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);

 private:
  ol::UniqueGdiObject m_bmpShown;      // the picture shown instead of the template's
  HGDIOBJ m_hTemplatePicture = nullptr;  // the template's, the control's own: given back
  bool m_bReplaced = false;
};

class CAboutDlg : public CDialog {
 public:
  explicit CAboutDlg(CWnd* parent = nullptr);
  ~CAboutDlg() override;

  CHyperLink m_linkWeb;
  CHyperLink m_linkMail;
  CAboutBanner m_banner;

  void DoDataExchange(CDataExchange* pDX) override;
  bool OnInitDialog() override;
};

namespace ol {

// The About command: the about box, modal over the main window.
void ShowAboutBox();

}  // namespace ol
