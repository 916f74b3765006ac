// Controls made elsewhere and taken over by an object: messages reach the object and the
// control alike, and letting go hands the control its own procedure back, or, when another
// procedure was put in front meanwhile, keeps that one working.
#include <gtest/gtest.h>

#include "framework/Wnd.h"

namespace {

class CountingEdit : public CWnd {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SETTEXT) ++m_setTexts;
    return CWnd::WindowProc(message, wParam, lParam);
  }
  int m_setTexts = 0;
};

WNDPROC g_outer = nullptr;
int g_outerMessages = 0;
LRESULT CALLBACK OuterProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ++g_outerMessages;
  return ::CallWindowProcW(g_outer, hwnd, message, wParam, lParam);
}

struct Edit {
  HWND hwnd = ::CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
  ~Edit() { ::DestroyWindow(hwnd); }
  std::string Text() const {
    char text[64] = {};
    ::GetWindowTextA(hwnd, text, sizeof text);
    return text;
  }
};

TEST(Subclassing, TheObjectSeesTheMessagesAndTheControlKeepsWorking) {
  Edit edit;
  ASSERT_NE(edit.hwnd, nullptr);
  const auto own = ::GetWindowLongPtrW(edit.hwnd, GWLP_WNDPROC);
  CountingEdit object;
  ASSERT_TRUE(object.SubclassWindow(edit.hwnd));
  EXPECT_EQ(CWnd::FromHandlePermanent(edit.hwnd), &object);
  EXPECT_TRUE(::IsWindowUnicode(edit.hwnd));
  ::SetWindowTextA(edit.hwnd, "first");
  EXPECT_EQ(edit.Text(), "first");
  EXPECT_EQ(object.m_setTexts, 1);

  EXPECT_EQ(object.UnsubclassWindow(), edit.hwnd);
  EXPECT_EQ(CWnd::FromHandlePermanent(edit.hwnd), nullptr);
  EXPECT_EQ(::GetWindowLongPtrW(edit.hwnd, GWLP_WNDPROC), own);
  ::SetWindowTextA(edit.hwnd, "second");
  EXPECT_EQ(edit.Text(), "second");
  EXPECT_EQ(object.m_setTexts, 1);
}

TEST(Subclassing, LettingGoUnderAnotherProcedureKeepsThatOneAndTheControl) {
  Edit edit;
  CountingEdit object;
  ASSERT_TRUE(object.SubclassWindow(edit.hwnd));
  g_outer = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(edit.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OuterProc)));
  object.UnsubclassWindow();
  EXPECT_EQ(::GetWindowLongPtrW(edit.hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&OuterProc));
  g_outerMessages = 0;
  ::SetWindowTextA(edit.hwnd, "through");
  EXPECT_EQ(edit.Text(), "through");
  EXPECT_GT(g_outerMessages, 0);
  EXPECT_EQ(object.m_setTexts, 0);
}

TEST(Subclassing, AWindowDestroyedUnderTheObjectIsForgotten) {
  CountingEdit object;
  {
    Edit edit;
    ASSERT_TRUE(object.SubclassWindow(edit.hwnd));
  }
  EXPECT_EQ(object.m_hWnd, nullptr);
}

}  // namespace
