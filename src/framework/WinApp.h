// The application object: registry-backed profile settings, the message loop with idle-time
// command-state updates and accelerators, the wait cursor, the application message box, and
// the single-document start-up.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "framework/CmdTarget.h"

class CFrameWnd;
class CSingleDocTemplate;
class CWnd;

// The text of a string resource of the program ("" when missing).
std::string LoadStringResource(UINT id);

class CCommandLineInfo {
 public:
  enum Shell { FileNew, FileOpen, FileNothing };
  Shell m_nShellCommand = FileNew;
  std::string m_strFileName;
};

class CWinApp : public CCmdTarget {
 public:
  // Without a name the application name is string resource 57344.
  explicit CWinApp(const char* appName = nullptr);
  ~CWinApp() override;

  static const MessageMap* GetThisMessageMap();
  const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

  static CWinApp* Get() { return s_pApp; }

  HINSTANCE m_hInstance = nullptr;
  // The show command the process was started with; used once, for the main frame's first
  // showing, then -1.
  int m_nCmdShow = SW_SHOWNORMAL;
  std::string m_strAppName;
  std::string m_strRegistryKey;
  CFrameWnd* m_pMainWnd = nullptr;  // owned by the document template

  virtual bool InitInstance() { return true; }
  virtual int ExitInstance() { return 0; }
  virtual int Run();
  // Idle-time work after real input: command-state updates of the main frame's bars.
  virtual bool OnIdle(long count);
  virtual bool PreTranslateMessage(MSG* msg);
  // One message of the loop; false on WM_QUIT.
  bool PumpMessage();

  // Runs the whole program: InitInstance, the message loop, ExitInstance.
  int WinMain(HINSTANCE instance, const char* commandLine, int showCommand);
  // What WinMain does before InitInstance: names the application and readies the controls.
  void PrepareRun(HINSTANCE instance, const char* commandLine, int showCommand);

  // Profile settings under HKEY_CURRENT_USER\Software\<registry key>\<application name>; an
  // empty section means the values lie directly in that key. A value of another type than
  // asked for reads as missing.
  void SetRegistryKey(const char* key);
  UINT GetProfileInt(const char* section, const char* entry, int defaultValue) const;
  std::string GetProfileString(const char* section, const char* entry, const char* defaultValue) const;
  bool WriteProfileInt(const char* section, const char* entry, int value) const;
  bool WriteProfileString(const char* section, const char* entry, const std::string& value) const;
  std::string GetAppRegistryPath() const;

  void BeginWaitCursor();
  void EndWaitCursor();
  void RestoreWaitCursor();

  void Enable3dControlsStatic() {}  // themed controls come from the manifest
  void AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate);
  CSingleDocTemplate* GetDocTemplate() const { return m_pDocTemplate.get(); }
  void ParseCommandLine(CCommandLineInfo& info) const;
  bool ProcessShellCommand(const CCommandLineInfo& info);

  // Command 57600: a new (empty) document with its frame and view.
  void OnFileNew();
  // Command 57665 (File > Exit): closes the main frame the normal way.
  void OnAppExit();

 private:
  static bool IsIdleMessage(const MSG& msg);
  HKEY OpenSectionKey(const char* section) const;

  static CWinApp* s_pApp;
  std::unique_ptr<CSingleDocTemplate> m_pDocTemplate;
  std::string m_strCommandLine;
  int m_nWaitCursorCount = 0;
  HCURSOR m_hcurWaitRestore = nullptr;
  bool m_bNewDocumentFailed = false;
  MSG m_msgCur{};
};

inline CWinApp* AfxGetApp() { return CWinApp::Get(); }

// The wait cursor for as long as the object lives.
class CWaitCursor {
 public:
  CWaitCursor() : m_pApp(AfxGetApp()) {
    if (m_pApp) m_pApp->BeginWaitCursor();
  }
  ~CWaitCursor() {
    if (m_pApp) m_pApp->EndWaitCursor();
  }
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;

 private:
  CWinApp* m_pApp;
};
CFrameWnd* AfxGetMainWnd();
void AfxEnableControlContainer();

// The application message box: owned by the main window, captioned with the application's
// title.
int AfxMessageBox(const std::string& text, UINT type = MB_OK);
int AfxMessageBox(UINT stringId, UINT type = MB_OK);

// Runs PreTranslateMessage for the window the message is for and its ancestors up to and
// including `stop`; true when one of them used the message.
bool WalkPreTranslateTree(HWND stop, MSG* msg);
