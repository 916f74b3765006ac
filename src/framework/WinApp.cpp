#include "framework/WinApp.h"

#include <vector>

#include "framework/DocTemplate.h"
#include "framework/FrameWnd.h"
#include "framework/Wnd.h"
#include "util/Utf8.h"

CWinApp* CWinApp::s_pApp = nullptr;

namespace {
constexpr UINT kFileNewCommand = 57600;
constexpr UINT kAppExitCommand = 57665;
constexpr UINT kAppTitleString = 57344;
constexpr UINT kFailedToCreateDocString = 61700;
constexpr UINT WM_SYSTIMER = 0x0118;
}  // namespace

std::string LoadStringResource(UINT id) {
  // A string resource holds at most 65535 characters; grow the buffer until the text fits
  // with room for the longest character to spare (LoadStringA cuts a longer text without
  // saying so, before a character that does not fit whole).
  std::vector<char> buffer(512);
  for (;;) {
    const int got = ::LoadStringA(::GetModuleHandleA(nullptr), id, buffer.data(), static_cast<int>(buffer.size()));
    if (got <= 0) return std::string();
    if (static_cast<std::size_t>(got) + ol::kLongestCharacterBytes < buffer.size() || buffer.size() > 65536 * 3) {
      return std::string(buffer.data(), static_cast<std::size_t>(got));
    }
    buffer.resize(buffer.size() * 4);
  }
}

const MessageMap* CWinApp::GetThisMessageMap() {
  static constexpr MessageMapEntry kEntries[] = {
      MapCommand<&CWinApp::OnFileNew>(kFileNewCommand),
      MapCommand<&CWinApp::OnAppExit>(kAppExitCommand),
  };
  static const MessageMap map{&CCmdTarget::GetThisMessageMap, kEntries};
  return &map;
}

CWinApp::CWinApp(const char* appName) {
  s_pApp = this;
  if (appName != nullptr) m_strAppName = appName;
}

CWinApp::~CWinApp() {
  if (s_pApp == this) s_pApp = nullptr;
}

CFrameWnd* AfxGetMainWnd() { return CWinApp::Get() ? CWinApp::Get()->m_pMainWnd : nullptr; }

void AfxEnableControlContainer() {}

int CWinApp::WinMain(HINSTANCE instance, const char* commandLine, int showCommand) {
  PrepareRun(instance, commandLine, showCommand);
  if (!InitInstance()) {
    // Nothing more to run: whatever the start-up created goes away now.
    if (m_pMainWnd && ::IsWindow(m_pMainWnd->m_hWnd)) ::DestroyWindow(m_pMainWnd->m_hWnd);
    ExitInstance();
    return -1;
  }
  return Run();
}

void CWinApp::PrepareRun(HINSTANCE instance, const char* commandLine, int showCommand) {
  m_hInstance = instance;
  m_nCmdShow = showCommand;
  m_strCommandLine = commandLine ? commandLine : "";
  if (m_strAppName.empty()) m_strAppName = LoadStringResource(kAppTitleString);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&controls);
}

void CWinApp::SetRegistryKey(const char* key) { m_strRegistryKey = key ? key : ""; }

std::string CWinApp::GetAppRegistryPath() const {
  return "Software\\" + m_strRegistryKey + "\\" + m_strAppName;
}

HKEY CWinApp::OpenSectionKey(const char* section) const {
  if (m_strRegistryKey.empty()) return nullptr;
  std::string path = GetAppRegistryPath();
  if (section != nullptr && *section != '\0') path += std::string("\\") + section;
  // Reads create the key too, as writes do; where it cannot be created (a key the user may
  // only read), it is still read.
  HKEY key = nullptr;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                        nullptr, &key, nullptr) == ERROR_SUCCESS) {
    return key;
  }
  return ::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS ? key : nullptr;
}

UINT CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue) const {
  HKEY key = OpenSectionKey(section);
  if (key == nullptr) return static_cast<UINT>(defaultValue);
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  const LONG status = ::RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  ::RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return static_cast<UINT>(defaultValue);
  return value;
}

std::string CWinApp::GetProfileString(const char* section, const char* entry, const char* defaultValue) const {
  const std::string fallback = defaultValue ? defaultValue : "";
  HKEY key = OpenSectionKey(section);
  if (key == nullptr) return fallback;
  DWORD type = 0;
  DWORD size = 0;
  std::string value;
  LONG status = ::RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size);
  // The size asked for first may be the text's size in UTF-16, less than its UTF-8 takes (a
  // CJK character: two bytes against three); a buffer that proves too small is grown.
  for (int attempt = 0; attempt < 4 && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) && type == REG_SZ;
       ++attempt) {
    std::vector<char> buffer(size + 1, '\0');
    status = ::RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (status == ERROR_SUCCESS && type == REG_SZ) {
      value.assign(buffer.data());  // up to the terminating zero
      ::RegCloseKey(key);
      return value;
    }
  }
  ::RegCloseKey(key);
  return fallback;
}

bool CWinApp::WriteProfileInt(const char* section, const char* entry, int value) const {
  HKEY key = OpenSectionKey(section);
  if (key == nullptr) return false;
  const DWORD data = static_cast<DWORD>(value);
  const bool ok = ::RegSetValueExA(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data) ==
                  ERROR_SUCCESS;
  ::RegCloseKey(key);
  return ok;
}

bool CWinApp::WriteProfileString(const char* section, const char* entry, const std::string& value) const {
  HKEY key = OpenSectionKey(section);
  if (key == nullptr) return false;
  const bool ok = ::RegSetValueExA(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
  ::RegCloseKey(key);
  return ok;
}

void CWinApp::BeginWaitCursor() {
  if (m_nWaitCursorCount++ == 0) m_hcurWaitRestore = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
}

void CWinApp::EndWaitCursor() {
  if (m_nWaitCursorCount == 0) return;
  if (--m_nWaitCursorCount == 0) ::SetCursor(m_hcurWaitRestore ? m_hcurWaitRestore : ::LoadCursorA(nullptr, IDC_ARROW));
}

void CWinApp::RestoreWaitCursor() {
  if (m_nWaitCursorCount > 0) ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
}

void CWinApp::AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate) {
  m_pDocTemplate = std::move(docTemplate);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) const {
  // The launcher has no options of its own; any file name opens the (empty) document too.
  info.m_nShellCommand = CCommandLineInfo::FileNew;
  info.m_strFileName.clear();
}

bool CWinApp::ProcessShellCommand(const CCommandLineInfo& info) {
  if (info.m_nShellCommand == CCommandLineInfo::FileNothing) return true;
  m_bNewDocumentFailed = false;
  OnCmdMsg(kFileNewCommand, 0, nullptr);
  return !m_bNewDocumentFailed && m_pMainWnd != nullptr;
}

void CWinApp::OnAppExit() {
  // The same as closing the main window: the view saves the catalogue and the settings.
  if (m_pMainWnd != nullptr && ::IsWindow(m_pMainWnd->m_hWnd)) ::SendMessageA(m_pMainWnd->m_hWnd, WM_CLOSE, 0, 0);
}

void CWinApp::OnFileNew() {
  if (m_pDocTemplate == nullptr) {
    m_bNewDocumentFailed = true;
    return;
  }
  if (!m_pDocTemplate->OpenNewDocument(*this)) {
    m_bNewDocumentFailed = true;
    AfxMessageBox(kFailedToCreateDocString, MB_ICONEXCLAMATION | MB_OK);
  }
}

bool CWinApp::IsIdleMessage(const MSG& msg) {
  static POINT lastMouse{-1, -1};
  static UINT lastMouseMessage = 0;
  if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
    const bool same = msg.message == lastMouseMessage && msg.pt.x == lastMouse.x && msg.pt.y == lastMouse.y;
    lastMouse = msg.pt;
    lastMouseMessage = msg.message;
    return !same;
  }
  return msg.message != WM_PAINT && msg.message != WM_SYSTIMER && msg.message != WM_TIMER;
}

bool CWinApp::OnIdle(long count) {
  if (count == 0 && m_pMainWnd != nullptr && ::IsWindow(m_pMainWnd->m_hWnd)) m_pMainWnd->OnIdleUpdateCmdUI();
  return false;
}

bool WalkPreTranslateTree(HWND stop, MSG* msg) {
  for (HWND hwnd = msg->hwnd; hwnd != nullptr; hwnd = ::GetParent(hwnd)) {
    if (CWnd* wnd = CWnd::FromHandlePermanent(hwnd); wnd != nullptr && wnd->PreTranslateMessage(msg)) return true;
    if (hwnd == stop) break;
  }
  return false;
}

bool CWinApp::PreTranslateMessage(MSG* msg) {
  HWND main = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
  if (WalkPreTranslateTree(main, msg)) return true;
  // Messages for windows outside the main frame still get its accelerators.
  if (main != nullptr && msg->hwnd != main && !::IsChild(main, msg->hwnd)) {
    if (CWnd* frame = CWnd::FromHandlePermanent(main)) return frame->PreTranslateMessage(msg);
  }
  return false;
}

bool CWinApp::PumpMessage() {
  MSG& msg = m_msgCur;
  if (::GetMessageA(&msg, nullptr, 0, 0) <= 0) return false;
  if (!PreTranslateMessage(&msg)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return true;
}

int CWinApp::Run() {
  bool idle = true;
  long idleCount = 0;
  for (;;) {
    MSG peek;
    while (idle && !::PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(idleCount++)) idle = false;
    }
    do {
      if (!PumpMessage()) return ExitInstance();
      if (IsIdleMessage(m_msgCur)) {
        idle = true;
        idleCount = 0;
      }
    } while (::PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE));
  }
}

int AfxMessageBox(const std::string& text, UINT type) {
  CWinApp* app = AfxGetApp();
  HWND owner = ::GetActiveWindow();
  if (owner == nullptr && app && app->m_pMainWnd) owner = app->m_pMainWnd->m_hWnd;
  const std::string title = app ? app->m_strAppName : std::string();
  return ::MessageBoxA(owner, text.c_str(), title.c_str(), type);
}

int AfxMessageBox(UINT stringId, UINT type) { return AfxMessageBox(LoadStringResource(stringId), type); }
