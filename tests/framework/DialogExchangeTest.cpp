// The dialog framework on a real dialog template: data exchange both ways, validation that
// stops and refocuses, notifications ignored during an exchange, and message-map lookups
// that walk from a class to its base.
#include <gtest/gtest.h>

#include <functional>

#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "support/ModalResponder.h"
#include "support/TestFiles.h"

using namespace oltest;

namespace {

class ExchangeDialog : public CDialog {
 public:
  ExchangeDialog() : CDialog(IDD_OPTIONS) {}
  static const MessageMap* GetThisMessageMap() {
    static constexpr MessageMapEntry kEntries[] = {
        MapControl<&ExchangeDialog::OnSnapWidthChange>(EN_CHANGE, IDC_SNAP_WIDTH),
        MapCommand<&ExchangeDialog::OnKeepOnTop>(IDC_KEEP_ON_TOP),
    };
    static const MessageMap map{&CDialog::GetThisMessageMap, kEntries};
    return &map;
  }
  const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Check(pDX, IDC_KEEP_ON_TOP, m_bKeepOnTop);
    DDX_Radio(pDX, IDC_MOUSE_SINGLE_CLICK, m_nMouse);
    DDX_Text(pDX, IDC_SNAP_WIDTH, m_nSnapWidth);
    DDV_MinMaxInt(pDX, m_nSnapWidth, 0, 100);
    DDX_Check(pDX, IDC_AUTO_MINIMIZE, m_bAutoMinimize);
  }
  bool OnInitDialog() override {
    CDialog::OnInitDialog();
    if (m_test) m_test(*this);
    EndDialog(IDOK);
    return true;
  }
  void OnSnapWidthChange() { ++m_nChangeNotices; }
  void OnKeepOnTop() { ++m_nKeepOnTopClicks; }

  int m_bKeepOnTop = 1;
  int m_nMouse = 1;
  int m_nSnapWidth = 10;
  int m_bAutoMinimize = 0;
  int m_nChangeNotices = 0;
  int m_nKeepOnTopClicks = 0;
  std::function<void(ExchangeDialog&)> m_test;
};

std::string TextOf(HWND control) { return WindowText(control); }

class DialogExchangeTest : public ::testing::Test {
 protected:
  void SetUp() override { m_app.PrepareRun(::GetModuleHandleA(nullptr), "", SW_SHOW); }
  CWinApp m_app;
};

}  // namespace

TEST_F(DialogExchangeTest, FieldsGoIntoTheControlsAndComeBack) {
  ExchangeDialog dialog;
  dialog.m_test = [](ExchangeDialog& d) {
    EXPECT_EQ(::SendMessageA(d.GetDlgItem(IDC_KEEP_ON_TOP), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(::SendMessageA(d.GetDlgItem(IDC_MOUSE_DOUBLE_CLICK), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(::SendMessageA(d.GetDlgItem(IDC_MOUSE_SINGLE_CLICK), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(TextOf(d.GetDlgItem(IDC_SNAP_WIDTH)), "10");
    ::SetWindowTextA(d.GetDlgItem(IDC_SNAP_WIDTH), " 42 ");
    ::SendMessageA(d.GetDlgItem(IDC_KEEP_ON_TOP), BM_SETCHECK, BST_UNCHECKED, 0);
    ::SendMessageA(d.GetDlgItem(IDC_MOUSE_DOUBLE_CLICK), BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_TRUE(d.UpdateData(true));
    EXPECT_EQ(d.m_nSnapWidth, 42);
    EXPECT_EQ(d.m_bKeepOnTop, 0);
    EXPECT_EQ(d.m_nMouse, -1);  // no button of the group checked
    d.m_nMouse = 0;
    d.m_nSnapWidth = 7;
    d.UpdateData(false);
    EXPECT_EQ(::SendMessageA(d.GetDlgItem(IDC_MOUSE_SINGLE_CLICK), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(TextOf(d.GetDlgItem(IDC_SNAP_WIDTH)), "7");
    d.m_nMouse = 5;  // out of the group's range: every button cleared
    d.UpdateData(false);
    EXPECT_EQ(::SendMessageA(d.GetDlgItem(IDC_MOUSE_SINGLE_CLICK), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(::SendMessageA(d.GetDlgItem(IDC_MOUSE_DOUBLE_CLICK), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  };
  EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST_F(DialogExchangeTest, ABadNumberStopsTheExchangeWithTheFrameworksMessageAndRefocuses) {
  ModalResponder responder({IDOK, IDOK});
  ExchangeDialog dialog;
  dialog.m_test = [](ExchangeDialog& d) {
    HWND edit = d.GetDlgItem(IDC_SNAP_WIDTH);
    ::SetWindowTextA(edit, "");
    ::SendMessageA(d.GetDlgItem(IDC_AUTO_MINIMIZE), BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_FALSE(d.UpdateData(true));
    EXPECT_EQ(d.m_bAutoMinimize, 0);  // the exchange stopped before it
    EXPECT_EQ(::GetFocus(), edit);
    ::SetWindowTextA(edit, "101");
    EXPECT_FALSE(d.UpdateData(true));
    EXPECT_EQ(::GetFocus(), edit);
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u);  // all of it selected
    ::SetWindowTextA(edit, "100");
    EXPECT_TRUE(d.UpdateData(true));
    EXPECT_EQ(d.m_nSnapWidth, 100);
  };
  dialog.DoModal();
  const auto seen = responder.Seen();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].text, "Please enter an integer.");
  EXPECT_EQ(seen[1].text, "Please enter an integer between 0 and 100.");
  for (const auto& box : seen) {
    EXPECT_EQ(box.title, "Orbels Launch");
    EXPECT_EQ(box.icon, "exclamation");
  }
}

TEST_F(DialogExchangeTest, NotificationsDuringAnExchangeAreIgnored) {
  ExchangeDialog dialog;
  dialog.m_test = [](ExchangeDialog& d) {
    const int before = d.m_nChangeNotices;
    d.m_nSnapWidth = 55;
    d.UpdateData(false);  // changes the edit's text, which notifies the dialog
    EXPECT_EQ(d.m_nChangeNotices, before);
    ::SetWindowTextA(d.GetDlgItem(IDC_SNAP_WIDTH), "56");  // the user's change is seen
    EXPECT_EQ(d.m_nChangeNotices, before + 1);
    d.UpdateData(false);  // the same text again: the edit is left alone
    d.m_nSnapWidth = 56;
    d.UpdateData(false);
    EXPECT_EQ(d.m_nChangeNotices, before + 1);
  };
  dialog.DoModal();
}

TEST_F(DialogExchangeTest, MessageMapsWalkFromTheClassToItsBase) {
  ExchangeDialog dialog;
  EXPECT_NE(dialog.FindEntry(EntryKind::Command, EN_CHANGE, IDC_SNAP_WIDTH), nullptr);
  EXPECT_EQ(dialog.FindEntry(EntryKind::Command, EN_CHANGE, IDC_AUTO_MINIMIZE), nullptr);
  // A class without entries of its own finds its base's.
  struct Derived : ExchangeDialog {};
  Derived derived;
  EXPECT_NE(derived.FindEntry(EntryKind::Command, 0, IDC_KEEP_ON_TOP), nullptr);
  EXPECT_TRUE(derived.OnCmdMsg(IDC_KEEP_ON_TOP, 0, nullptr));
  EXPECT_EQ(derived.m_nKeepOnTopClicks, 1);
  EXPECT_FALSE(derived.OnCmdMsg(IDC_AUTO_MINIMIZE, 0, nullptr));
}
