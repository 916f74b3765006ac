// Modal dialogs from resource templates, with data exchange between fields and controls.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Wnd.h"

// Sent to a modal dialog while its message loop is idle (wParam MSGF_DIALOGBOX, lParam the
// idle count); a dialog whose controls depend on other controls updates them then.
inline constexpr UINT WM_KICKIDLE = 0x036A;
inline constexpr UINT AFX_IDP_PARSE_INT = 61712;
inline constexpr UINT AFX_IDP_PARSE_INT_RANGE = 61713;

class CDialog;

class CDataExchange {
 public:
  CDataExchange(CDialog* dialog, bool saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
  CDialog* m_pDlgWnd;
  bool m_bSaveAndValidate;  // true: controls to fields (with checks); false: fields to controls

  HWND PrepareCtrl(int id);
  HWND PrepareEditCtrl(int id);
  // Stops the exchange: the last prepared control gets the focus (an edit with its text
  // selected).
  [[noreturn]] void Fail();

  HWND m_hLastControl = nullptr;
  bool m_bEditLastControl = false;
};

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT templateId, CWnd* parent = nullptr) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

  static const MessageMap* GetThisMessageMap();
  const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

  // Runs the dialog in its own modal loop over its owner (the main window without a parent).
  virtual INT_PTR DoModal();
  virtual bool OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  virtual void DoDataExchange(CDataExchange*) {}

  // Moves the fields into the controls (false) or the controls into the fields (true, with
  // validation). Control notifications that arrive meanwhile are ignored.
  bool UpdateData(bool saveAndValidate = true);
  bool IsExchanging() const { return m_bInExchange; }
  void EndDialog(int result);
  // Command-state updates of the dialog's own controls, with `target` answering them.
  void UpdateDialogControls(CCmdTarget* target, bool disableIfNoHandler);

  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool OnCommand(WPARAM wParam, LPARAM lParam) override;
  bool PreTranslateMessage(MSG* msg) override;

  UINT m_nIDTemplate;

 protected:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  CWnd* m_pParentWnd;
  int m_nModalResult = -1;
  bool m_bEnded = false;
  bool m_bInExchange = false;
};

// Data exchange between a field and a control of the dialog.
void DDX_Text(CDataExchange* pDX, int id, std::string& value);
void DDX_Text(CDataExchange* pDX, int id, int& value);
void DDX_Check(CDataExchange* pDX, int id, int& value);
void DDX_Radio(CDataExchange* pDX, int id, int& value);
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minimum, int maximum);
