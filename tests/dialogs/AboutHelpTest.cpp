// The about box with its two links on the real template, and Help Contents with the real
// help file under Wine's HTML Help, or the message that says where the file was expected.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "dialogs/AboutDlg.h"
#include "dialogs/HelpContents.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "support/ModalResponder.h"
#include "support/ModalScript.h"
#include "support/TestFiles.h"
#include "util/SystemUtil.h"

using namespace oltest;

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

COLORREF TextColorOf(HWND dialog, HWND control) {
  HDC dc = ::CreateCompatibleDC(nullptr);
  ::SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
  const COLORREF color = ::GetTextColor(dc);
  ::DeleteDC(dc);
  return color;
}

int TextWidth(HWND control) {
  const std::string text = WindowText(control);
  HDC dc = ::GetDC(control);
  HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)));
  SIZE extent{};
  ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  ::SelectObject(dc, previous);
  ::ReleaseDC(control, dc);
  return extent.cx;
}

bool IsUnderlined(HWND control) {
  LOGFONTA font{};
  ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font.lfUnderline != 0;
}

class AboutBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_app.PrepareRun(::GetModuleHandleA(nullptr), "", SW_SHOW);
    CHyperLink::SetShellOpenForTesting([this](const std::string& url, int) {
      m_opened.push_back(url);
      return 42;
    });
  }
  void TearDown() override {
    CHyperLink::SetShellOpenForTesting({});
    CHyperLink::SetLinkColors(kBlue, RGB(0, 128, 128), RGB(128, 0, 128), kRed);
  }
  CWinApp m_app;
  std::vector<std::string> m_opened;
};

}  // namespace

TEST_F(AboutBoxTest, ShowsTheBannerTheVersionAndTwoLinksWithTheirAddresses) {
  CAboutDlg dialog;
  ModalScript script([&] {
    HWND hwnd = dialog.m_hWnd;
    EXPECT_EQ(WindowText(hwnd), "About Orbels Launch");
    EXPECT_FALSE(::GetWindowLongA(hwnd, GWL_STYLE) & WS_SYSMENU);
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(hwnd, IDOK));

    std::vector<std::string> texts;
    HWND banner = ::GetWindow(hwnd, GW_CHILD);
    EXPECT_EQ(::GetWindowLongA(banner, GWL_STYLE) & SS_TYPEMASK, SS_BITMAP);
    BITMAP picture{};
    ::GetObjectA(reinterpret_cast<HBITMAP>(::SendMessageA(banner, STM_GETIMAGE, IMAGE_BITMAP, 0)), sizeof picture,
                 &picture);
    EXPECT_EQ(picture.bmWidth, 300);
    EXPECT_EQ(picture.bmHeight, 75);
    for (HWND child = banner; child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
      texts.push_back(WindowText(child));
    }
    ASSERT_EQ(texts.size(), 10u);
    EXPECT_EQ(texts[1], "Version 4.1");
    EXPECT_EQ(texts[3], "Contact the author:");
    EXPECT_EQ(texts[4], "support@example.com");
    EXPECT_EQ(texts[6], "Nettlewick (www.example.com)");
    EXPECT_EQ(texts[8], "OK");

    // Both links keep their texts, are underlined, fitted and blue, and show their addresses.
    for (CHyperLink* link : {&dialog.m_linkMail, &dialog.m_linkWeb}) {
      ASSERT_NE(link->m_hWnd, nullptr);
      EXPECT_EQ(link->m_dwLinkStyle, 0x57u);
      EXPECT_TRUE(IsUnderlined(link->m_hWnd));
      const RECT window = link->GetWindowRect();
      EXPECT_EQ(window.right - window.left, TextWidth(link->m_hWnd));
      EXPECT_EQ(TextColorOf(hwnd, link->m_hWnd), kBlue);
      EXPECT_FALSE(link->m_bVisited);
    }
    EXPECT_EQ(dialog.m_linkMail.m_hWnd, ::GetDlgItem(hwnd, IDC_MAIL_LINK));
    EXPECT_EQ(dialog.m_linkWeb.m_hWnd, ::GetDlgItem(hwnd, IDC_WEB_LINK));
    EXPECT_EQ(dialog.m_linkMail.m_strURL, "mailto:support@example.com");
    EXPECT_EQ(dialog.m_linkWeb.m_strURL, "http://www.example.com/");
    EXPECT_EQ(dialog.m_linkMail.GetWindowText(), "support@example.com");
    ::PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST_F(AboutBoxTest, ALinkTurnsRedUnderThePointerAndStaysBlueWhenFocusedOrVisited) {
  CAboutDlg dialog;
  ModalScript script([&] {
    HWND hwnd = dialog.m_hWnd;
    CHyperLink& web = dialog.m_linkWeb;
    ::SendMessageA(web.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(TextColorOf(hwnd, web.m_hWnd), kRed);
    ::SendMessageA(web.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(2, -3));
    EXPECT_EQ(TextColorOf(hwnd, web.m_hWnd), kBlue);

    // A click gives it the focus without a colour change and opens it once.
    ::SendMessageA(web.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_EQ(::GetFocus(), web.m_hWnd);
    EXPECT_EQ(TextColorOf(hwnd, web.m_hWnd), kBlue);
    ::SendMessageA(web.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(m_opened, (std::vector<std::string>{"http://www.example.com/"}));
    EXPECT_TRUE(web.m_bVisited);
    EXPECT_EQ(TextColorOf(hwnd, web.m_hWnd), kBlue);  // the visited colour is blue here
    ::SendMessageA(web.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(TextColorOf(hwnd, web.m_hWnd), kRed);  // red over it, visited or not
    ::SendMessageA(web.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(-3, 2));

    // With the focus, the space key opens it again; through the dialog's own key handling.
    ::SendMessageA(web.m_hWnd, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(m_opened.size(), 2u);
    ::SetFocus(dialog.m_linkMail.m_hWnd);
    ::PostMessageA(dialog.m_linkMail.m_hWnd, WM_KEYDOWN, VK_SPACE, 0);
    ::PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(m_opened, (std::vector<std::string>{"http://www.example.com/", "http://www.example.com/",
                                                "mailto:support@example.com"}));
}

TEST_F(AboutBoxTest, TheAboutCommandShowsTheBoxModally) {
  ModalResponder responder({IDOK});
  ol::ShowAboutBox();
  const auto seen = responder.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, "About Orbels Launch");
  EXPECT_EQ(seen[0].ButtonTexts(), "OK");
  EXPECT_EQ(seen[0].DefaultButton(), IDOK);
}

// Help Contents opens the help file's table of contents through HTML Help.
class HelpContentsTest : public ::testing::Test {
 protected:
  static HWND FindHelpWindow() { return ::FindWindowA(nullptr, "Orbels Launch Help"); }
  static void CloseHelp(HWND help) {
    ::SendMessageA(help, WM_CLOSE, 0, 0);
    PumpMessagesFor(std::chrono::milliseconds(100));
  }
};

TEST_F(HelpContentsTest, OpensTheHelpFileNextToTheLauncherAndRemovesTheJumpItem) {
  ASSERT_TRUE(ol::PathExists(ol::GetLauncherDirectory() + "\\OrbelsLaunch.chm"));
  ModalResponder responder;  // a message box would be a failure; it is recorded and cancelled
  ol::ShowHelpContents(nullptr);
  HWND help = FindHelpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(::IsWindowVisible(help));
  HMENU menu = ::GetSystemMenu(help, FALSE);
  EXPECT_EQ(::GetMenuState(menu, 0xEFFF, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_TRUE(responder.Seen().empty());

  // Asked again, HTML Help answers with the same window, and the item goes again.
  ::AppendMenuA(menu, MF_STRING, 0xEFFF, "&Jump to URL...");
  ASSERT_NE(::GetMenuState(menu, 0xEFFF, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_EQ(ol::ShowHelpFile(nullptr, ol::GetLauncherDirectory() + "\\OrbelsLaunch.chm"), help);
  EXPECT_EQ(::GetMenuState(::GetSystemMenu(help, FALSE), 0xEFFF, MF_BYCOMMAND), static_cast<UINT>(-1));
  CloseHelp(help);
}

TEST_F(HelpContentsTest, AMissingHelpFileIsReportedWithTheFullPathOverTheOwner) {
  ScratchDir dir;
  const std::string path = dir / "OrbelsLaunch.chm";
  CWnd::RegisterWindowClass("OrbelsLaunch.HelpOwner", 0, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  CWnd owner;
  ASSERT_TRUE(owner.CreateEx(0, "OrbelsLaunch.HelpOwner", "Owner", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                             nullptr));
  HWND boxOwner = nullptr;
  ModalResponder responder({[&](HWND box, const SeenDialog& seen) {
                             boxOwner = ::GetWindow(box, GW_OWNER);
                             ModalResponder::Press(IDOK)(box, seen);
                           }},
                           0);
  EXPECT_EQ(ol::ShowHelpFile(owner.m_hWnd, path), nullptr);
  const auto seen = responder.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, "Error Opening Help File");
  EXPECT_EQ(seen[0].text,
            "The program help file was either not found, or\ncannot be opened. The expected file path is:\n\n" + path);
  EXPECT_EQ(seen[0].icon, "hand");
  EXPECT_EQ(seen[0].ButtonTexts(), "OK");
  EXPECT_EQ(boxOwner, owner.m_hWnd);
  EXPECT_EQ(FindHelpWindow(), nullptr);
}
