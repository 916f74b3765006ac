#include "controls/HyperLink.h"

#include <windowsx.h>
#include <shellapi.h>

#include <utility>

#include "framework/Dpi.h"
#include "framework/WinApp.h"
#include "util/SystemUtil.h"

COLORREF CHyperLink::s_crLinkColor = RGB(0, 0, 255);
COLORREF CHyperLink::s_crActiveColor = RGB(0, 128, 128);
COLORREF CHyperLink::s_crVisitedColor = RGB(128, 0, 128);
COLORREF CHyperLink::s_crHoverColor = RGB(255, 0, 0);
ol::UniqueIcon CHyperLink::s_hLinkCursor;

namespace {

constexpr UINT_PTR kToolId = 1;

std::function<int(const std::string&, int)>& ShellOpenOverride() {
  static std::function<int(const std::string&, int)> open;
  return open;
}

TTTOOLINFOA ToolInfo(HWND link, const std::string& text) {
  TTTOOLINFOA info{};
  info.cbSize = TTTOOLINFOA_V2_SIZE;  // understood by every common-controls version we run on
  info.hwnd = link;
  info.uId = kToolId;
  info.lpszText = const_cast<char*>(text.c_str());
  return info;
}

}  // namespace

const MessageMap* CHyperLink::GetThisMessageMap() {
  static constexpr MessageMapEntry kEntries[] = {
      MapCtlColorReflect<&CHyperLink::CtlColor>(),
      MapMessage<&CHyperLink::OnSetCursor>(WM_SETCURSOR),
      MapMessage<&CHyperLink::OnMouseMove>(WM_MOUSEMOVE),
      MapMessage<&CHyperLink::OnLButtonUp>(WM_LBUTTONUP),
      MapMessage<&CHyperLink::OnSetFocus>(WM_SETFOCUS),
      MapMessage<&CHyperLink::OnKillFocus>(WM_KILLFOCUS),
      MapMessage<&CHyperLink::OnKeyDown>(WM_KEYDOWN),
      MapMessage<&CHyperLink::OnNcHitTest>(WM_NCHITTEST),
      MapMessage<&CHyperLink::OnLButtonDown>(WM_LBUTTONDOWN),
      MapMessage<&CHyperLink::OnLButtonDblClk>(WM_LBUTTONDBLCLK),
      MapMessage<&CHyperLink::OnDpiChangedAfterParent>(ol::kWmDpiChangedAfterParent),
  };
  static const MessageMap map{&CStatic::GetThisMessageMap, kEntries};
  return &map;
}

CHyperLink::~CHyperLink() {
  // The control goes before the font it draws with.
  if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) DestroyWindow();
  m_wndToolTip.Reset();
  s_hLinkCursor.Reset();
}

void CHyperLink::PostNcDestroy() {
  // The tooltip belongs to the link's top-level window; it goes with the link.
  m_wndToolTip.Reset();
  CStatic::PostNcDestroy();
}

void CHyperLink::SetLinkURL(const std::string& url) {
  m_strURL = url;
  if (m_hWnd == nullptr || !::IsWindow(m_hWnd)) return;
  ::ShowWindow(m_hWnd, SW_HIDE);
  FitToText();
  if (m_wndToolTip) {
    TTTOOLINFOA info = ToolInfo(m_hWnd, m_strURL);
    ::SendMessageA(m_wndToolTip.Get(), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
  }
  ::ShowWindow(m_hWnd, SW_SHOW);
}

bool CHyperLink::ChangeLinkStyle(DWORD remove, DWORD add, bool apply) {
  if (remove & add) return false;
  m_dwLinkStyle = (m_dwLinkStyle & ~remove) | add;
  if (apply && m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
    if ((remove | add) & LinkUnderline) RebuildFont(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
    if (add & LinkFitText) FitToText();
    if (remove & LinkHoverColor) Repaint();
  }
  return true;
}

void CHyperLink::SetLinkColors(COLORREF link, COLORREF active, COLORREF visited, COLORREF hover) {
  s_crLinkColor = link;
  s_crActiveColor = active;
  s_crVisitedColor = visited;
  s_crHoverColor = hover == static_cast<COLORREF>(-1) ? ::GetSysColor(COLOR_HIGHLIGHT) : hover;
}

void CHyperLink::SetShellOpenForTesting(std::function<int(const std::string& url, int show)> open) {
  ShellOpenOverride() = std::move(open);
}

void CHyperLink::PreSubclassWindow() {
  const std::string text = GetWindowText();
  if (m_strURL.empty()) m_strURL = text;
  if (text.empty()) SetWindowText(m_strURL);

  if (auto font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT))) {
    LOGFONTA logFont{};
    ::GetObjectA(font, sizeof logFont, &logFont);
    logFont.lfUnderline = (m_dwLinkStyle & LinkUnderline) ? TRUE : FALSE;
    m_fontLink.Reset(::CreateFontIndirectA(&logFont));
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontLink.Get()), TRUE);
    FitToText();
  } else {
    m_dwLinkStyle &= ~LinkFitText;  // nothing to measure with: the control keeps its size
  }

  if (!(m_dwLinkStyle & LinkNoHandCursor)) LoadHandCursor();
  CreateToolTip();
  CStatic::PreSubclassWindow();
}

bool CHyperLink::PreTranslateMessage(MSG* msg) {
  if (m_wndToolTip) ::SendMessageA(m_wndToolTip.Get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
  return CStatic::PreTranslateMessage(msg);
}

void CHyperLink::CreateToolTip() {
  m_wndToolTip.Reset(::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                                       ::GetModuleHandleA(nullptr), nullptr));
  if (!m_wndToolTip) return;
  TTTOOLINFOA info = ToolInfo(m_hWnd, m_strURL);
  info.rect = GetClientRect();
  ::SendMessageA(m_wndToolTip.Get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void CHyperLink::LoadHandCursor() {
  if (s_hLinkCursor) return;
  // A copy of our own, so that the last link can destroy it like any other handle it owns.
  if (HCURSOR hand = ::LoadCursorA(nullptr, IDC_HAND)) s_hLinkCursor.Reset(::CopyIcon(hand));
}

void CHyperLink::FitToText() {
  if (!(m_dwLinkStyle & LinkFitText)) return;
  RECT window = GetWindowRect();
  ::MapWindowPoints(nullptr, GetParent(), reinterpret_cast<POINT*>(&window), 2);
  const RECT client = GetClientRect();
  const int borderWidth = (window.right - window.left) - (client.right - client.left);
  const int borderHeight = (window.bottom - window.top) - (client.bottom - client.top);

  const std::string text = GetWindowText();
  SIZE extent{};
  HDC dc = ::GetDC(m_hWnd);
  HGDIOBJ previous = m_fontLink ? ::SelectObject(dc, m_fontLink.Get()) : nullptr;
  ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  if (previous != nullptr) ::SelectObject(dc, previous);
  ::ReleaseDC(m_hWnd, dc);

  const DWORD style = GetStyle();
  const ol::LinkAlignment horizontal = (style & SS_CENTER)  ? ol::LinkAlignment::Center
                                       : (style & SS_RIGHT) ? ol::LinkAlignment::Right
                                                            : ol::LinkAlignment::Left;
  const ol::LinkBox box = ol::FitLinkBox({window.left, window.top, window.right, window.bottom}, extent.cx,
                                         extent.cy, horizontal, (style & SS_CENTERIMAGE) != 0);
  ::MoveWindow(m_hWnd, box.left, box.top, box.right - box.left + borderWidth, box.bottom - box.top + borderHeight,
               TRUE);
}

void CHyperLink::RebuildFont(HFONT font) {
  if (font == nullptr) return;
  LOGFONTA logFont{};
  ::GetObjectA(font, sizeof logFont, &logFont);
  logFont.lfUnderline = (m_dwLinkStyle & LinkUnderline) ? TRUE : FALSE;
  ol::UniqueGdiObject created(::CreateFontIndirectA(&logFont));
  ::ShowWindow(m_hWnd, SW_HIDE);
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(created.Get()), TRUE);
  m_fontLink = std::move(created);  // the old font goes only once the control has let go of it
  FitToText();
  ::ShowWindow(m_hWnd, SW_SHOW);
}

void CHyperLink::Repaint() {
  // The text is drawn without a background, so what lies behind it is drawn again first.
  if (HWND parent = GetParent()) {
    RECT area = GetWindowRect();
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    ::RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  } else {
    Invalidate(true);
  }
}

void CHyperLink::FollowLink() {
  const auto& open = ShellOpenOverride();
  const int result = open ? open(m_strURL, SW_SHOW) : ShellOpen(m_strURL, SW_SHOW);
  if (result <= 32) {
    ::MessageBeep(MB_ICONEXCLAMATION);
    ReportError(result);
    return;
  }
  m_bVisited = TRUE;
  Repaint();
}

int CHyperLink::ShellOpen(const std::string& url, int show) {
  const auto shell =
      static_cast<int>(reinterpret_cast<INT_PTR>(::ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, show)));
  if (shell > 32) return shell;

  // The shell could not open it: hand it to the program registered for web pages.
  std::string className;
  if (ReadKeyDefaultValue(HKEY_CLASSES_ROOT, ".htm", className) != ERROR_SUCCESS) return shell;
  const std::optional<std::string> commandKey = ol::OpenCommandKeyPath(className);
  if (!commandKey) return shell;
  std::string registered;
  if (ReadKeyDefaultValue(HKEY_CLASSES_ROOT, *commandKey, registered) != ERROR_SUCCESS) return shell;
  const std::optional<std::string> command = ol::FallbackCommandLine(registered, url);
  if (!command) return shell;  // too long for the command buffer: as if unreadable
  return static_cast<int>(::WinExec(command->c_str(), static_cast<UINT>(show)));
}

LONG CHyperLink::ReadKeyDefaultValue(HKEY root, const std::string& subKey, std::string& value) {
  HKEY opened = nullptr;
  const LONG openResult = ::RegOpenKeyExA(root, subKey.c_str(), 0, KEY_QUERY_VALUE, &opened);
  if (openResult != ERROR_SUCCESS) return openResult;
  ol::UniqueRegKey key(opened);
  // A value that does not fit (or is no text) counts as unreadable, like a missing key.
  std::string text;
  DWORD type = 0;
  const LONG queryResult = ol::QueryRegistryText(key.Get(), nullptr, ol::kRegistryValueCharacters, text, type);
  if (queryResult != ERROR_SUCCESS) return queryResult;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
  value = std::move(text);
  return ERROR_SUCCESS;
}

void CHyperLink::ReportError(int result) {
  AfxMessageBox(ol::LinkOpenErrorMessage(result), MB_ICONEXCLAMATION | MB_OK);
}

HBRUSH CHyperLink::CtlColor(HDC dc, UINT) {
  COLORREF color = s_crLinkColor;
  switch (ol::ChooseLinkColor(m_bHover != FALSE, m_bActive != FALSE, m_bVisited != FALSE, m_dwLinkStyle)) {
    case ol::LinkColor::Hover:
      color = s_crHoverColor;
      break;
    case ol::LinkColor::Active:
      color = s_crActiveColor;
      break;
    case ol::LinkColor::Visited:
      color = s_crVisitedColor;
      break;
    case ol::LinkColor::Link:
      break;
  }
  ::SetTextColor(dc, color);
  ::SetBkMode(dc, TRANSPARENT);
  return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

LRESULT CHyperLink::OnSetCursor(WPARAM, LPARAM) {
  if (!s_hLinkCursor) return FALSE;
  ::SetCursor(s_hLinkCursor.Get());
  return TRUE;
}

LRESULT CHyperLink::OnMouseMove(WPARAM, LPARAM lParam) {
  if (!m_bHover) {
    m_bHover = TRUE;
    Repaint();
    ::SetCapture(m_hWnd);
    return 0;
  }
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  const RECT client = GetClientRect();
  if (!::PtInRect(&client, point)) {
    m_bHover = FALSE;
    ::ReleaseCapture();
    Repaint();
  }
  return 0;
}

LRESULT CHyperLink::OnLButtonUp(WPARAM, LPARAM) {
  if (std::exchange(m_bDoubleClicked, false)) return 0;
  if (m_bActive && !(m_dwLinkStyle & LinkFollowOnPress)) FollowLink();
  return 0;
}

LRESULT CHyperLink::OnDpiChangedAfterParent(WPARAM, LPARAM) {
  // The link's own font was made from the dialog's old one: it is made again from the new one
  // and the link fitted to its text in it.
  if (HWND parent = GetParent()) RebuildFont(reinterpret_cast<HFONT>(::SendMessageA(parent, WM_GETFONT, 0, 0)));
  return 0;
}

LRESULT CHyperLink::OnLButtonDblClk(WPARAM, LPARAM) {
  m_bDoubleClicked = true;
  return 0;
}

LRESULT CHyperLink::OnSetFocus(WPARAM, LPARAM) {
  m_bActive = TRUE;
  Repaint();
  return 0;
}

LRESULT CHyperLink::OnKillFocus(WPARAM, LPARAM) {
  m_bHover = FALSE;
  m_bActive = FALSE;
  Repaint();
  return 0;
}

LRESULT CHyperLink::OnKeyDown(WPARAM wParam, LPARAM lParam) {
  if (wParam == VK_SPACE) {
    FollowLink();
    return 0;
  }
  return DefWindowProc(WM_KEYDOWN, wParam, lParam);
}

LRESULT CHyperLink::OnNcHitTest(WPARAM, LPARAM) { return HTCLIENT; }

LRESULT CHyperLink::OnLButtonDown(WPARAM, LPARAM) {
  m_bDoubleClicked = false;  // whatever became of the last double click's release
  if (m_dwLinkStyle & LinkFocusOnPress) ::SetFocus(m_hWnd);
  if (m_dwLinkStyle & LinkFollowOnPress) FollowLink();
  m_bActive = TRUE;
  return 0;
}
