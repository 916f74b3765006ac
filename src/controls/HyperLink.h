// A static text of a dialog that behaves as a link: drawn in link colours and underlined, a
// hand pointer over it, a tooltip with its address, opened with a click or the space key
// through the shell (or the registered web-page handler), and a message when that fails.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "controls/HyperLinkText.h"
#include "framework/Handle.h"
#include "framework/Static.h"

class CHyperLink : public CStatic {
 public:
  static constexpr DWORD LinkUnderline = ol::kLinkUnderline;
  static constexpr DWORD LinkHoverColor = ol::kLinkHoverColor;
  static constexpr DWORD LinkFitText = ol::kLinkFitText;
  static constexpr DWORD LinkFollowOnPress = ol::kLinkFollowOnPress;
  static constexpr DWORD LinkFocusOnPress = ol::kLinkFocusOnPress;
  static constexpr DWORD LinkNoHandCursor = ol::kLinkNoHandCursor;
  static constexpr DWORD LinkNoActiveColor = ol::kLinkNoActiveColor;

  CHyperLink() = default;
  ~CHyperLink() override;

  static const MessageMap* GetThisMessageMap();
  const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

  int m_bActive = FALSE;
  int m_bHover = FALSE;
  int m_bVisited = FALSE;
  DWORD m_dwLinkStyle = LinkUnderline | LinkFitText | LinkFocusOnPress;
  std::string m_strURL;
  ol::UniqueGdiObject m_fontLink;  // the control's font with the underline set from the style
  ol::UniqueWindow m_wndToolTip;   // one tool (1) over the client area, showing the address

  void SetLinkURL(const std::string& url);
  // False, and nothing changes, when a flag is both removed and added.
  bool ChangeLinkStyle(DWORD remove, DWORD add, bool apply);
  // Class-wide; a hover colour of -1 (all bits set) means the system's highlight colour now.
  static void SetLinkColors(COLORREF link, COLORREF active, COLORREF visited, COLORREF hover);

  void FollowLink();
  // Opens `url` with the shell, or else with the registered web-page handler; returns the
  // system's result code (above 32 on success).
  static int ShellOpen(const std::string& url, int show);
  // The default value of a key as text, at most 260 characters with its terminator.
  static LONG ReadKeyDefaultValue(HKEY root, const std::string& subKey, std::string& value);
  static void ReportError(int result);

  // Replaces ShellOpen for FollowLink; an empty function restores it.
  static void SetShellOpenForTesting(std::function<int(const std::string& url, int show)> open);

  void PreSubclassWindow() override;
  bool PreTranslateMessage(MSG* msg) override;
  void PostNcDestroy() override;

  HBRUSH CtlColor(HDC dc, UINT ctlType);
  LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
  LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
  LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
  LRESULT OnSetFocus(WPARAM wParam, LPARAM lParam);
  LRESULT OnKillFocus(WPARAM wParam, LPARAM lParam);
  LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
  LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
  LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
  LRESULT OnLButtonDblClk(WPARAM wParam, LPARAM lParam);
  // The dialog was scaled for a display of another DPI, and its font with it.
  LRESULT OnDpiChangedAfterParent(WPARAM wParam, LPARAM lParam);

 private:
  // The second click of a double click comes as a double-click message, not a press: its
  // release must not open the link a second time. That release may come outside the control,
  // to another window; the next press then starts afresh.
  bool m_bDoubleClicked = false;

  void FitToText();
  // The link's font made again from `font`, with the underline the style asks for.
  void RebuildFont(HFONT font);
  void CreateToolTip();
  void Repaint();
  static void LoadHandCursor();

  static COLORREF s_crLinkColor;
  static COLORREF s_crActiveColor;
  static COLORREF s_crVisitedColor;
  static COLORREF s_crHoverColor;
  static ol::UniqueIcon s_hLinkCursor;  // shared by every link, loaded by the first attached
};
