// The hyperlink control on real static controls: attaching (font, fitting, tooltip), the
// colours it chooses, hover, focus, the mouse and the space key, style changes, the cursor,
// failures reported by shell code, and the registered web-page handler as the fallback.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/HyperLink.h"
#include "framework/WinApp.h"
#include "support/ModalResponder.h"
#include "support/TestFiles.h"

using namespace oltest;

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kTeal = RGB(0, 128, 128);
constexpr COLORREF kPurple = RGB(128, 0, 128);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr const char* kParentClass = "OrbelsLaunch.LinkTestParent";

struct Opening {
  std::string url;
  int show;
};

bool IsUnderlined(HWND control) {
  LOGFONTA font{};
  ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font.lfUnderline != 0;
}

SIZE TextExtent(HWND control) {
  const std::string text = WindowText(control);
  HDC dc = ::GetDC(control);
  HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)));
  SIZE extent{};
  ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  ::SelectObject(dc, previous);
  ::ReleaseDC(control, dc);
  return extent;
}

// The control's window rectangle in its parent's client coordinates.
RECT PlaceOf(HWND control) {
  RECT rect{};
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::string ToolTipText(const CHyperLink& link) {
  char text[512] = {};
  TTTOOLINFOA info{};
  info.cbSize = TTTOOLINFOA_V2_SIZE;
  info.hwnd = link.m_hWnd;
  info.uId = 1;
  info.lpszText = text;
  ::SendMessageA(link.m_wndToolTip.Get(), TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
  return text;
}

// Two cursors look alike when their hot spots and masks are the same.
bool SameCursorImage(HCURSOR a, HCURSOR b) {
  ICONINFO first{};
  ICONINFO second{};
  if (!::GetIconInfo(a, &first) || !::GetIconInfo(b, &second)) return false;
  BITMAP firstBits{};
  BITMAP secondBits{};
  ::GetObjectA(first.hbmMask, sizeof firstBits, &firstBits);
  ::GetObjectA(second.hbmMask, sizeof secondBits, &secondBits);
  bool same = first.xHotspot == second.xHotspot && first.yHotspot == second.yHotspot &&
              firstBits.bmWidth == secondBits.bmWidth && firstBits.bmHeight == secondBits.bmHeight;
  if (same) {
    const LONG size = firstBits.bmWidthBytes * firstBits.bmHeight;
    std::vector<char> one(static_cast<std::size_t>(size));
    std::vector<char> two(static_cast<std::size_t>(size));
    ::GetBitmapBits(first.hbmMask, size, one.data());
    ::GetBitmapBits(second.hbmMask, size, two.data());
    same = one == two;
  }
  for (HBITMAP bitmap : {first.hbmMask, first.hbmColor, second.hbmMask, second.hbmColor}) {
    if (bitmap != nullptr) ::DeleteObject(bitmap);
  }
  return same;
}

class HyperLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_app.PrepareRun(::GetModuleHandleA(nullptr), "", SW_SHOW);
    CWnd::RegisterWindowClass(kParentClass, 0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    ASSERT_TRUE(m_parent.CreateEx(0, kParentClass, "Links", WS_POPUP | WS_VISIBLE, 50, 50, 500, 300, nullptr,
                                  nullptr));
    LOGFONTA logFont{};
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof logFont, &logFont);
    m_font.Reset(::CreateFontIndirectA(&logFont));
    CHyperLink::SetShellOpenForTesting([this](const std::string& url, int show) {
      m_opened.push_back({url, show});
      return m_shellResult;
    });
  }
  void TearDown() override {
    CHyperLink::SetShellOpenForTesting({});
    CHyperLink::SetLinkColors(kBlue, kTeal, kPurple, kRed);
  }

  // A static control of the test window, with a font unless `withFont` is false.
  HWND MakeStatic(const char* text, DWORD style, int id, bool withFont = true) {
    HWND control = ::CreateWindowExA(0, "Static", text, WS_CHILD | WS_VISIBLE | style, 20, 40, 300, 30,
                                     m_parent.m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                     ::GetModuleHandleA(nullptr), nullptr);
    if (withFont) ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
    return control;
  }

  // What the link chooses when its parent is asked for a static control's colours.
  COLORREF TextColorOf(const CHyperLink& link, LRESULT* brush = nullptr, int* backgroundMode = nullptr) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    ::SetTextColor(dc, RGB(1, 2, 3));
    ::SetBkMode(dc, OPAQUE);
    const LRESULT result = ::SendMessageA(m_parent.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                          reinterpret_cast<LPARAM>(link.m_hWnd));
    const COLORREF color = ::GetTextColor(dc);
    if (brush) *brush = result;
    if (backgroundMode) *backgroundMode = ::GetBkMode(dc);
    ::DeleteDC(dc);
    return color;
  }

  static void Press(const CHyperLink& link) {
    ::SendMessageA(link.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  }
  static void Release(const CHyperLink& link) { ::SendMessageA(link.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(3, 3)); }

  CWinApp m_app;
  CWnd m_parent;
  ol::UniqueGdiObject m_font;
  std::vector<Opening> m_opened;
  int m_shellResult = 42;
};

}  // namespace

TEST_F(HyperLinkTest, AttachingUnderlinesFitsAndTakesTheTextAsTheAddress) {
  HWND control = MakeStatic("Nettlewick (www.example.com)", SS_LEFT, 1001);
  CHyperLink link;
  EXPECT_EQ(link.m_dwLinkStyle, 0x15u);
  ASSERT_TRUE(link.SubclassWindow(control));
  EXPECT_EQ(link.m_strURL, "Nettlewick (www.example.com)");
  EXPECT_TRUE(IsUnderlined(control));
  EXPECT_NE(reinterpret_cast<HGDIOBJ>(::SendMessageA(control, WM_GETFONT, 0, 0)), m_font.Get());  // its own copy
  const SIZE text = TextExtent(control);
  const RECT place = PlaceOf(control);
  EXPECT_EQ(place.left, 20);
  EXPECT_EQ(place.top, 40);
  EXPECT_EQ(place.right - place.left, text.cx);
  EXPECT_EQ(place.bottom - place.top, text.cy);
  EXPECT_LT(text.cx, 300);
  // The tooltip has one tool that shows the address.
  ASSERT_TRUE(link.m_wndToolTip);
  EXPECT_EQ(::SendMessageA(link.m_wndToolTip.Get(), TTM_GETTOOLCOUNT, 0, 0), 1);
  EXPECT_EQ(ToolTipText(link), "Nettlewick (www.example.com)");
  EXPECT_FALSE(link.m_bActive || link.m_bHover || link.m_bVisited);
}

TEST_F(HyperLinkTest, AnEmptyTextBecomesTheAddressAndAControlWithoutFontKeepsItsSize) {
  CHyperLink link;
  link.m_strURL = "http://www.example.com/";
  ASSERT_TRUE(link.SubclassWindow(MakeStatic("", SS_LEFT, 1000)));
  EXPECT_EQ(link.GetWindowText(), "http://www.example.com/");
  EXPECT_EQ(ToolTipText(link), "http://www.example.com/");

  CHyperLink plain;
  HWND control = MakeStatic("support@example.com", SS_LEFT, 1001, false);
  ASSERT_TRUE(plain.SubclassWindow(control));
  EXPECT_EQ(plain.m_dwLinkStyle, 0x11u);  // no longer fitted
  const RECT place = PlaceOf(control);
  EXPECT_EQ(place.right - place.left, 300);
  EXPECT_EQ(place.bottom - place.top, 30);
}

TEST_F(HyperLinkTest, FittingFollowsTheControlsAlignment) {
  CHyperLink centred;
  ASSERT_TRUE(centred.SubclassWindow(MakeStatic("Centred link", SS_CENTER | SS_CENTERIMAGE, 1)));
  SIZE text = TextExtent(centred.m_hWnd);
  RECT place = PlaceOf(centred.m_hWnd);
  EXPECT_EQ(place.left, 20 + (300 - text.cx) / 2);
  EXPECT_EQ(place.right - place.left, 300 - 2 * ((300 - text.cx) / 2));
  EXPECT_EQ(place.top, 40 + (30 - text.cy) / 2);

  CHyperLink right;
  ASSERT_TRUE(right.SubclassWindow(MakeStatic("Right-aligned link", SS_RIGHT, 2)));
  text = TextExtent(right.m_hWnd);
  place = PlaceOf(right.m_hWnd);
  EXPECT_EQ(place.right, 320);
  EXPECT_EQ(place.right - place.left, text.cx);
  EXPECT_EQ(place.top, 40);

  // A border is kept around the text.
  CHyperLink bordered;
  ASSERT_TRUE(bordered.SubclassWindow(MakeStatic("Bordered link", SS_LEFT | WS_BORDER, 3)));
  text = TextExtent(bordered.m_hWnd);
  place = PlaceOf(bordered.m_hWnd);
  const RECT client = bordered.GetClientRect();
  EXPECT_EQ(client.right, text.cx);
  EXPECT_EQ(client.bottom, text.cy);
  EXPECT_GT(place.right - place.left, text.cx);
}

TEST_F(HyperLinkTest, TheTextColourFollowsHoverFocusAndVisits) {
  CHyperLink link;
  link.m_strURL = "http://www.example.com/";
  ASSERT_TRUE(link.SubclassWindow(MakeStatic("Website", SS_LEFT, 1001)));
  HWND other = MakeStatic("other", SS_LEFT, 7);

  LRESULT brush = 0;
  int mode = 0;
  EXPECT_EQ(TextColorOf(link, &brush, &mode), kBlue);
  EXPECT_EQ(brush, reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH)));
  EXPECT_EQ(mode, TRANSPARENT);

  ::SetFocus(link.m_hWnd);
  EXPECT_TRUE(link.m_bActive);
  EXPECT_EQ(TextColorOf(link), kTeal);
  ::SetFocus(other);
  EXPECT_FALSE(link.m_bActive);
  EXPECT_EQ(TextColorOf(link), kBlue);

  // Hovering: the control holds the capture while the pointer is over it.
  ::SendMessageA(link.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  EXPECT_TRUE(link.m_bHover);
  EXPECT_EQ(::GetCapture(), link.m_hWnd);
  EXPECT_EQ(TextColorOf(link), kBlue);  // no hover colour in the default style
  ASSERT_TRUE(link.ChangeLinkStyle(0, CHyperLink::LinkHoverColor, true));
  EXPECT_EQ(TextColorOf(link), kRed);
  ::SendMessageA(link.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));  // still inside
  EXPECT_EQ(::GetCapture(), link.m_hWnd);
  ::SendMessageA(link.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(-4, 2));
  EXPECT_FALSE(link.m_bHover);
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(TextColorOf(link), kBlue);

  // Opened once: visited, unless hovered (with the hover colour) or active.
  ::SendMessageA(link.m_hWnd, WM_KEYDOWN, VK_SPACE, 0);
  ASSERT_EQ(m_opened.size(), 1u);
  EXPECT_TRUE(link.m_bVisited);
  ::SetFocus(other);
  EXPECT_EQ(TextColorOf(link), kPurple);
  ::SetFocus(link.m_hWnd);
  EXPECT_EQ(TextColorOf(link), kTeal);
  ASSERT_TRUE(link.ChangeLinkStyle(0, CHyperLink::LinkNoActiveColor, true));
  EXPECT_EQ(TextColorOf(link), kPurple);
  ::SendMessageA(link.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(TextColorOf(link), kRed);
  ::SendMessageA(link.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(2, 500));
  EXPECT_EQ(TextColorOf(link), kPurple);
}

TEST_F(HyperLinkTest, ColoursAreClassWideAndHoverMinusOneIsTheHighlightColourOfTheMoment) {
  CHyperLink first;
  CHyperLink second;
  ASSERT_TRUE(first.SubclassWindow(MakeStatic("first", SS_LEFT, 1)));
  ASSERT_TRUE(second.SubclassWindow(MakeStatic("second", SS_LEFT, 2)));
  ASSERT_TRUE(second.ChangeLinkStyle(0, CHyperLink::LinkHoverColor, false));
  CHyperLink::SetLinkColors(RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), static_cast<COLORREF>(-1));
  EXPECT_EQ(TextColorOf(first), RGB(1, 1, 1));
  ::SendMessageA(second.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
  EXPECT_EQ(TextColorOf(second), ::GetSysColor(COLOR_HIGHLIGHT));
  ::SendMessageA(second.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(-1, -1));
}

TEST_F(HyperLinkTest, PressAndReleaseOpenOnceOnReleaseOrOnPressWhenFollowingOnPress) {
  CHyperLink link;
  link.m_strURL = "mailto:support@example.com";
  ASSERT_TRUE(link.SubclassWindow(MakeStatic("support@example.com", SS_LEFT, 1000)));
  Release(link);  // a release that no press or focus armed does nothing
  EXPECT_TRUE(m_opened.empty());
  Press(link);
  EXPECT_TRUE(m_opened.empty());
  EXPECT_EQ(::GetFocus(), link.m_hWnd);  // LinkFocusOnPress
  Release(link);
  ASSERT_EQ(m_opened.size(), 1u);
  EXPECT_EQ(m_opened[0].url, "mailto:support@example.com");
  EXPECT_EQ(m_opened[0].show, SW_SHOW);
  // A double click is press, release, double-click message, release: one opening in all.
  m_opened.clear();
  Press(link);
  Release(link);
  ::SendMessageA(link.m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
  Release(link);
  EXPECT_EQ(m_opened.size(), 1u);
  Press(link);
  Release(link);  // and the next single click opens it again
  EXPECT_EQ(m_opened.size(), 2u);
  // A double click whose last release comes outside the control, to another window, leaves
  // the next click its opening.
  ::SendMessageA(link.m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
  Press(link);
  Release(link);
  EXPECT_EQ(m_opened.size(), 3u);

  CHyperLink onPress;
  onPress.m_strURL = "http://www.example.com/";
  ASSERT_TRUE(onPress.SubclassWindow(MakeStatic("Website", SS_LEFT, 1001)));
  ASSERT_TRUE(onPress.ChangeLinkStyle(CHyperLink::LinkFocusOnPress, CHyperLink::LinkFollowOnPress, true));
  m_opened.clear();
  Press(onPress);
  ASSERT_EQ(m_opened.size(), 1u);
  EXPECT_EQ(m_opened[0].url, "http://www.example.com/");
  EXPECT_EQ(::GetFocus(), link.m_hWnd);  // the focus stays where it was
  Release(onPress);
  ::SendMessageA(onPress.m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
  Release(onPress);
  EXPECT_EQ(m_opened.size(), 1u);
  EXPECT_TRUE(onPress.m_bVisited);
}

TEST_F(HyperLinkTest, OnlyTheSpaceKeyOpensTheLinkAndTheControlAnswersHitTests) {
  CHyperLink link;
  ASSERT_TRUE(link.SubclassWindow(MakeStatic("Website", SS_LEFT, 1001)));
  for (WPARAM key : {static_cast<WPARAM>(VK_RETURN), static_cast<WPARAM>('A'), static_cast<WPARAM>(VK_TAB)}) {
    ::SendMessageA(link.m_hWnd, WM_KEYDOWN, key, 0);
  }
  EXPECT_TRUE(m_opened.empty());
  ::SendMessageA(link.m_hWnd, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(m_opened.size(), 1u);
  // A plain static control lets the mouse through to its parent.
  EXPECT_EQ(::SendMessageA(link.m_hWnd, WM_NCHITTEST, 0, 0), HTCLIENT);
}

TEST_F(HyperLinkTest, AFailureBeepsAndReportsTheShellCodeAndLeavesTheLinkUnvisited) {
  CHyperLink link;
  link.m_strURL = "http://www.example.com/";
  ASSERT_TRUE(link.SubclassWindow(MakeStatic("Website", SS_LEFT, 1001)));
  ModalResponder responder({IDOK, IDOK});
  m_shellResult = 31;
  ::SendMessageA(link.m_hWnd, WM_KEYDOWN, VK_SPACE, 0);
  m_shellResult = 32;  // the highest failure
  ::SendMessageA(link.m_hWnd, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_FALSE(link.m_bVisited);
  EXPECT_EQ(TextColorOf(link), kBlue);
  const auto seen = responder.Seen();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].text, "Can't open link:\n\nThere is no application associated\nwith the given filename extension.");
  EXPECT_EQ(seen[1].text, "Can't open link:\n\nThe specified dynamic-link library was not found.");
  for (const SeenDialog& box : seen) {
    EXPECT_EQ(box.title, "Orbels Launch");
    EXPECT_EQ(box.icon, "exclamation");
    EXPECT_EQ(box.ButtonTexts(), "OK");
  }
  m_shellResult = 33;
  ::SendMessageA(link.m_hWnd, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(link.m_bVisited);
}

TEST_F(HyperLinkTest, ChangeLinkStyleRefusesSharedBitsAndAppliesOnlyWhenAsked) {
  CHyperLink link;
  HWND control = MakeStatic("Nettlewick (www.example.com)", SS_LEFT, 1001);
  ASSERT_TRUE(link.SubclassWindow(control));
  const RECT before = PlaceOf(control);

  EXPECT_FALSE(link.ChangeLinkStyle(CHyperLink::LinkUnderline | CHyperLink::LinkHoverColor,
                                    CHyperLink::LinkHoverColor, true));
  EXPECT_EQ(link.m_dwLinkStyle, 0x15u);
  EXPECT_TRUE(IsUnderlined(control));

  EXPECT_TRUE(link.ChangeLinkStyle(CHyperLink::LinkUnderline, 0, false));
  EXPECT_EQ(link.m_dwLinkStyle, 0x14u);
  EXPECT_TRUE(IsUnderlined(control));  // not applied

  // Applied: the font is rebuilt with or without the underline, the control refitted and shown.
  EXPECT_TRUE(link.ChangeLinkStyle(0, CHyperLink::LinkUnderline | CHyperLink::LinkNoActiveColor, true));
  EXPECT_EQ(link.m_dwLinkStyle, 0x55u);
  EXPECT_TRUE(IsUnderlined(control));
  EXPECT_TRUE(link.ChangeLinkStyle(CHyperLink::LinkUnderline, 0, true));
  EXPECT_FALSE(IsUnderlined(control));
  EXPECT_EQ(link.m_dwLinkStyle, 0x54u);
  EXPECT_TRUE(::IsWindowVisible(control));
  const RECT after = PlaceOf(control);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.right - after.left, TextExtent(control).cx);
}

TEST_F(HyperLinkTest, SetLinkUrlChangesTheTooltipButNotTheText) {
  CHyperLink link;
  ASSERT_TRUE(link.SubclassWindow(MakeStatic("support@example.com", SS_LEFT, 1000)));
  link.SetLinkURL("mailto:support@example.com");
  EXPECT_EQ(link.m_strURL, "mailto:support@example.com");
  EXPECT_EQ(ToolTipText(link), "mailto:support@example.com");
  EXPECT_EQ(link.GetWindowText(), "support@example.com");
  EXPECT_TRUE(::IsWindowVisible(link.m_hWnd));
  EXPECT_EQ(PlaceOf(link.m_hWnd).right - PlaceOf(link.m_hWnd).left, TextExtent(link.m_hWnd).cx);
}

TEST_F(HyperLinkTest, TheSystemsHandCursorIsSharedAndGoesWithTheLastLinkDestroyed) {
  const HCURSOR hand = ::LoadCursorA(nullptr, IDC_HAND);
  ASSERT_FALSE(SameCursorImage(hand, ::LoadCursorA(nullptr, IDC_ARROW)));
  CHyperLink noHand;
  noHand.m_dwLinkStyle |= CHyperLink::LinkNoHandCursor;
  ASSERT_TRUE(noHand.SubclassWindow(MakeStatic("no hand", SS_LEFT, 1)));
  EXPECT_EQ(::SendMessageA(noHand.m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(noHand.m_hWnd),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            FALSE);
  {
    CHyperLink withHand;
    ASSERT_TRUE(withHand.SubclassWindow(MakeStatic("hand", SS_LEFT, 2)));
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(::SendMessageA(withHand.m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(withHand.m_hWnd),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_TRUE(SameCursorImage(::GetCursor(), hand));
    // Every link shows the one hand cursor, once it is loaded.
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(::SendMessageA(noHand.m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(noHand.m_hWnd),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_TRUE(SameCursorImage(::GetCursor(), hand));
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
  }
  EXPECT_EQ(::SendMessageA(noHand.m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(noHand.m_hWnd),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            FALSE);
}

// The registered web-page handler, as the shell's fallback: a page class of the test's own
// is registered for ".htm" in the machine's classes (the classes root) while the test runs,
// and whatever ".htm" named before is put back afterwards.
class LinkFallbackTest : public ::testing::Test {
 protected:
  static constexpr const char* kClasses = "Software\\Classes";
  static constexpr const char* kClassName = "OrbelsLaunchTest.Page";

  void SetUp() override {
    std::string previous;
    m_hadPageClass = CHyperLink::ReadKeyDefaultValue(HKEY_LOCAL_MACHINE, Key(".htm"), previous) == ERROR_SUCCESS;
    m_previousPageClass = previous;
  }
  void TearDown() override {
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, Key(kClassName).c_str());
    if (m_hadPageClass) {
      SetDefault(".htm", m_previousPageClass);
    } else {
      ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, Key(".htm").c_str());
    }
  }
  static std::string Key(const std::string& subKey) { return std::string(kClasses) + "\\" + subKey; }
  static void SetDefault(const std::string& subKey, const std::string& value) {
    ::RegSetValueA(HKEY_LOCAL_MACHINE, Key(subKey).c_str(), REG_SZ, value.c_str(), static_cast<DWORD>(value.size()));
  }
  static void RegisterPageHandler(const std::string& command) {
    SetDefault(".htm", kClassName);
    SetDefault(std::string(kClassName) + "\\shell\\open\\command", command);
  }

  bool m_hadPageClass = false;
  std::string m_previousPageClass;
};

TEST_F(LinkFallbackTest, ThePageHandlerGetsTheAddressInPlaceOfItsPlaceholder) {
  std::string className;
  RegisterPageHandler("\"" + RecorderPath() + "\" -page \"%1\" -ignored");
  ASSERT_EQ(CHyperLink::ReadKeyDefaultValue(HKEY_CLASSES_ROOT, ".htm", className), ERROR_SUCCESS);
  ASSERT_EQ(className, kClassName) << "the classes root does not show the machine's classes";

  ScratchDir dir;
  const std::string out = dir / "start.txt";
  ::SetEnvironmentVariableA("OL_RECORDER_OUT", out.c_str());
  const std::string address = dir / "missing-page.olx";  // the shell cannot open this
  const int result = CHyperLink::ShellOpen(address, SW_SHOW);
  EXPECT_GT(result, 32);
  const auto recorded = WaitForRecording(out);
  ASSERT_TRUE(recorded);
  EXPECT_EQ(recorded->commandLine, "\"" + RecorderPath() + "\" -page  " + address);
}

TEST_F(LinkFallbackTest, AnUnreadableOrOverlongHandlerLeavesTheShellsResult) {
  ScratchDir dir;
  const std::string address = dir / "missing-page.olx";
  RegisterPageHandler("\"" + RecorderPath() + "\" \"%1\"");
  ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, Key(kClassName).c_str());  // ".htm" names a class that is gone
  ASSERT_LE(CHyperLink::ShellOpen(address, SW_SHOW), 32);

  std::string value = "unchanged";
  EXPECT_NE(CHyperLink::ReadKeyDefaultValue(HKEY_CLASSES_ROOT, "OrbelsLaunchTest.Missing", value), ERROR_SUCCESS);
  EXPECT_EQ(value, "unchanged");

  // A registered command longer than the 260-byte buffer is refused, not cut.
  RegisterPageHandler("\"" + RecorderPath() + "\" " + std::string(300, 'x') + " \"%1\"");
  EXPECT_NE(CHyperLink::ReadKeyDefaultValue(HKEY_CLASSES_ROOT, std::string(kClassName) + "\\shell\\open\\command",
                                            value),
            ERROR_SUCCESS);
  EXPECT_LE(CHyperLink::ShellOpen(address, SW_SHOW), 32);

  // One that fits, but leaves no room for a long address in the command buffer.
  RegisterPageHandler("\"" + RecorderPath() + "\" \"%1\"");
  EXPECT_LE(CHyperLink::ShellOpen(dir / std::string(600, 'p'), SW_SHOW), 32);
}
