#include "framework/Dialog.h"

#include "framework/CmdUI.h"
#include "framework/DialogText.h"
#include "framework/FrameWnd.h"
#include "framework/WinApp.h"

namespace {
struct DataExchangeFailed {};
}  // namespace

HWND CDataExchange::PrepareCtrl(int id) {
  m_hLastControl = m_pDlgWnd->GetDlgItem(id);
  m_bEditLastControl = false;
  return m_hLastControl;
}

HWND CDataExchange::PrepareEditCtrl(int id) {
  PrepareCtrl(id);
  m_bEditLastControl = true;
  return m_hLastControl;
}

void CDataExchange::Fail() { throw DataExchangeFailed{}; }

const MessageMap* CDialog::GetThisMessageMap() {
  static const MessageMap map{&CWnd::GetThisMessageMap, {}};
  return &map;
}

bool CDialog::UpdateData(bool saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  const bool wasExchanging = m_bInExchange;
  m_bInExchange = true;
  bool ok = true;
  try {
    DoDataExchange(&dx);
  } catch (const DataExchangeFailed&) {
    ok = false;
  }
  m_bInExchange = wasExchanging;
  if (!ok && dx.m_hLastControl != nullptr) {
    ::SetFocus(dx.m_hLastControl);
    if (dx.m_bEditLastControl) ::SendMessageA(dx.m_hLastControl, EM_SETSEL, 0, -1);
  }
  return ok;
}

bool CDialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void CDialog::OnOK() {
  if (UpdateData(true)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int result) {
  m_nModalResult = result;
  m_bEnded = true;
  if (m_hWnd) ::PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wake the modal loop
}

LRESULT CDialog::DefWindowProc(UINT, WPARAM, LPARAM) { return 0; }

bool CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  // A control's notification during a data exchange comes from the exchange itself.
  if (lParam != 0 && m_bInExchange) return true;
  if (CWnd::OnCommand(wParam, lParam)) return true;
  if (code == BN_CLICKED || lParam == 0) {
    if (id == IDOK) {
      OnOK();
      return true;
    }
    if (id == IDCANCEL) {
      OnCancel();
      return true;
    }
  }
  return false;
}

bool CDialog::PreTranslateMessage(MSG* msg) { return ::IsDialogMessageA(m_hWnd, msg) != FALSE; }

void CDialog::UpdateDialogControls(CCmdTarget* target, bool disableIfNoHandler) {
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    const int id = ::GetDlgCtrlID(child);
    if (id <= 0 || id == 0xFFFF) continue;
    CDialogControlCmdUI state(child, static_cast<UINT>(id));
    // Only update handlers count here: a control's own notification handler does not make
    // it a command.
    if (const MessageMapEntry* entry = target->FindEntry(EntryKind::UpdateCommand, 0, static_cast<UINT>(id))) {
      MessageArgs args;
      args.cmdUI = &state;
      entry->thunk(target, args);
    } else if (disableIfNoHandler) {
      state.Enable(false);
    }
  }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* dialog = static_cast<CDialog*>(CWnd::FromHandlePermanent(hwnd));
  if (message == WM_INITDIALOG) {
    dialog = reinterpret_cast<CDialog*>(lParam);
    dialog->Attach(hwnd);
    try {
      return dialog->OnInitDialog() ? TRUE : FALSE;
    } catch (...) {
      return TRUE;
    }
  }
  if (dialog == nullptr) return FALSE;
  LRESULT result = 0;
  bool handled = false;
  try {
    handled = dialog->OnWndMsg(message, wParam, lParam, &result);
  } catch (...) {
    handled = false;
  }
  if (message == WM_NCDESTROY) {
    dialog->Detach();
    dialog->PostNcDestroy();
  }
  if (!handled) return FALSE;
  if (IsCtlColorMessage(message)) return static_cast<INT_PTR>(result);
  ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
  return TRUE;
}

INT_PTR CDialog::DoModal() {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(m_nIDTemplate), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
  if (found == nullptr) return -1;
  auto* dialogTemplate = static_cast<const DLGTEMPLATE*>(::LockResource(::LoadResource(instance, found)));
  HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
  if (owner == nullptr && AfxGetMainWnd() != nullptr) owner = AfxGetMainWnd()->m_hWnd;
  // The owner is disabled while the dialog runs, as with any modal window.
  const bool enableOwner = owner != nullptr && ::IsWindowEnabled(owner);
  m_bEnded = false;
  m_nModalResult = -1;
  HWND hwnd = ::CreateDialogIndirectParamA(instance, dialogTemplate, owner, &CDialog::DialogProc,
                                           reinterpret_cast<LPARAM>(this));
  if (hwnd == nullptr) return -1;
  if (enableOwner) ::EnableWindow(owner, FALSE);
  if (!m_bEnded) ::ShowWindow(hwnd, SW_SHOW);

  bool idle = true;
  long idleCount = 0;
  while (!m_bEnded) {
    MSG msg;
    while (idle && !m_bEnded && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!::SendMessageA(hwnd, WM_KICKIDLE, MSGF_DIALOGBOX, idleCount++)) idle = false;
    }
    if (m_bEnded) break;
    if (::GetMessageA(&msg, nullptr, 0, 0) <= 0) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));  // leave the quit for the main loop
      break;
    }
    if (!WalkPreTranslateTree(hwnd, &msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    if (msg.message != WM_PAINT && msg.message != 0x0118 && msg.message != WM_TIMER) {
      idle = true;
      idleCount = 0;
    }
  }
  if (enableOwner) ::EnableWindow(owner, TRUE);
  if (owner != nullptr && ::GetActiveWindow() == hwnd) ::SetActiveWindow(owner);
  ::DestroyWindow(hwnd);
  return m_nModalResult;
}

void DDX_Text(CDataExchange* pDX, int id, std::string& value) {
  HWND control = pDX->PrepareEditCtrl(id);
  if (pDX->m_bSaveAndValidate) {
    const int length = ::GetWindowTextLengthA(control);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextA(control, text.data(), length + 1)));
    value = text;
  } else {
    // An edit that already shows the text is left alone: no caret move, no change notice.
    const int length = ::GetWindowTextLengthA(control);
    std::string current(static_cast<std::size_t>(length) + 1, '\0');
    current.resize(static_cast<std::size_t>(::GetWindowTextA(control, current.data(), length + 1)));
    if (current != value) ::SetWindowTextA(control, value.c_str());
  }
}

void DDX_Text(CDataExchange* pDX, int id, int& value) {
  HWND control = pDX->PrepareEditCtrl(id);
  if (pDX->m_bSaveAndValidate) {
    char text[64] = {};
    ::GetWindowTextA(control, text, sizeof text);
    const std::optional<int> parsed = ol::ParseDialogInteger(text);
    if (!parsed) {
      AfxMessageBox(AFX_IDP_PARSE_INT, MB_ICONEXCLAMATION | MB_OK);
      pDX->Fail();
    }
    value = *parsed;
  } else {
    std::string number = std::to_string(value);
    DDX_Text(pDX, id, number);
  }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minimum, int maximum) {
  if (!pDX->m_bSaveAndValidate || (value >= minimum && value <= maximum)) return;
  AfxMessageBox(ol::FormatWithArguments(LoadStringResource(AFX_IDP_PARSE_INT_RANGE), std::to_string(minimum),
                                        std::to_string(maximum)),
                MB_ICONEXCLAMATION | MB_OK);
  pDX->Fail();
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
  HWND control = pDX->PrepareCtrl(id);
  if (pDX->m_bSaveAndValidate) {
    value = static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0));
  } else {
    // Like the button with a value beyond its states, a two-state box shows any non-zero
    // value checked; 2 is the third state of a three-state box.
    ::SendMessageA(control, BM_SETCHECK, value == 0 ? BST_UNCHECKED : (value == 2 ? BST_INDETERMINATE : BST_CHECKED), 0);
  }
}

void DDX_Radio(CDataExchange* pDX, int id, int& value) {
  HWND control = pDX->PrepareCtrl(id);
  if (pDX->m_bSaveAndValidate) value = -1;
  // The group runs from this button to the next control that starts a group.
  int index = -1;
  for (HWND button = control; button != nullptr; button = ::GetWindow(button, GW_HWNDNEXT)) {
    if (button != control && (::GetWindowLongA(button, GWL_STYLE) & WS_GROUP)) break;
    const LONG type = ::GetWindowLongA(button, GWL_STYLE) & 0x0F;
    if (type != BS_RADIOBUTTON && type != BS_AUTORADIOBUTTON) continue;
    ++index;
    if (pDX->m_bSaveAndValidate) {
      if (::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
    } else {
      ::SendMessageA(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
    }
  }
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
  if (control.m_hWnd == nullptr) control.SubclassWindow(pDX->PrepareCtrl(id));
}
