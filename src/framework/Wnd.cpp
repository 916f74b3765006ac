#include "framework/Wnd.h"

#include <exception>
#include <mutex>
#include <unordered_map>

namespace {
thread_local CWnd* t_creating = nullptr;  // the object whose window is being created

// Which object stands behind which window. Never destroyed, so that objects that outlive
// the program's static data can still detach.
struct WindowObjects {
  std::mutex lock;
  std::unordered_map<HWND, CWnd*> objects;
  // Controls whose procedure could not be handed back (subclassed again after us).
  std::unordered_map<HWND, WNDPROC> orphans;
};
WindowObjects& Windows() {
  static auto* windows = new WindowObjects;
  return *windows;
}
}  // namespace

bool IsCtlColorMessage(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

const MessageMap* CWnd::GetThisMessageMap() {
  static const MessageMap map{&CCmdTarget::GetThisMessageMap, {}};
  return &map;
}

CWnd::~CWnd() {
  if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
    HWND hwnd = m_hWnd;
    Detach();
    ::DestroyWindow(hwnd);
  }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
  if (hwnd == nullptr) return nullptr;
  WindowObjects& windows = Windows();
  std::lock_guard<std::mutex> guard(windows.lock);
  const auto found = windows.objects.find(hwnd);
  return found == windows.objects.end() ? nullptr : found->second;
}

void CWnd::Attach(HWND hwnd) {
  m_hWnd = hwnd;
  WindowObjects& windows = Windows();
  std::lock_guard<std::mutex> guard(windows.lock);
  windows.objects[hwnd] = this;
}

void CWnd::Detach() {
  if (m_hWnd == nullptr) return;
  {
    WindowObjects& windows = Windows();
    std::lock_guard<std::mutex> guard(windows.lock);
    if (auto found = windows.objects.find(m_hWnd); found != windows.objects.end() && found->second == this) {
      windows.objects.erase(found);
    }
  }
  if (m_pfnSuper != nullptr) {
    // Hand the procedure back only while it is still ours: a later subclass keeps its own.
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC)) == &CWnd::SubclassProc) {
      ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    } else if (::IsWindow(m_hWnd)) {
      WindowObjects& windows = Windows();
      std::lock_guard<std::mutex> guard(windows.lock);
      windows.orphans[m_hWnd] = m_pfnSuper;
    }
    m_pfnSuper = nullptr;
  }
  m_hWnd = nullptr;
}

bool CWnd::RegisterWindowClass(const char* className, UINT style, HICON icon, HBRUSH background) {
  WNDCLASSA existing{};
  if (::GetClassInfoA(::GetModuleHandleA(nullptr), className, &existing)) return true;
  WNDCLASSA wc{};
  wc.style = style;
  wc.lpfnWndProc = &CWnd::StandardWindowProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hIcon = icon;
  wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = className;
  return ::RegisterClassA(&wc) != 0;
}

bool CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y, int cx,
                    int cy, HWND parent, HMENU idOrMenu) {
  WNDCLASSA info{};
  const bool ours = ::GetClassInfoA(::GetModuleHandleA(nullptr), className, &info) &&
                    info.lpfnWndProc == &CWnd::StandardWindowProc;
  CWnd* previous = t_creating;
  t_creating = ours ? this : nullptr;
  HWND hwnd = ::CreateWindowExA(exStyle, className, windowName, style, x, y, cx, cy, parent, idOrMenu,
                                ::GetModuleHandleA(nullptr), nullptr);
  t_creating = previous;
  if (hwnd == nullptr) return false;
  if (!ours) return SubclassWindow(hwnd);
  return m_hWnd == hwnd;
}

bool CWnd::SubclassWindow(HWND hwnd) {
  if (hwnd == nullptr || m_hWnd != nullptr) return false;
  Attach(hwnd);
  PreSubclassWindow();
  // Installed as a Unicode procedure, so the control stays a Unicode window and its own
  // procedure receives every message as it was sent.
  const auto super = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
  if (super == nullptr) {
    Detach();
    return false;
  }
  m_pfnSuper = super;
  return true;
}

HWND CWnd::UnsubclassWindow() {
  HWND hwnd = m_hWnd;
  Detach();
  return hwnd;
}

bool CWnd::DestroyWindow() { return m_hWnd != nullptr && ::DestroyWindow(m_hWnd); }

bool CWnd::ModifyStyle(DWORD remove, DWORD add) {
  const DWORD style = GetStyle();
  const DWORD changed = (style & ~remove) | add;
  if (changed == style) return false;
  ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(changed));
  return true;
}

RECT CWnd::GetWindowRect() const {
  RECT rect{};
  ::GetWindowRect(m_hWnd, &rect);
  return rect;
}

RECT CWnd::GetClientRect() const {
  RECT rect{};
  ::GetClientRect(m_hWnd, &rect);
  return rect;
}

std::string CWnd::GetWindowText() const {
  const int length = ::GetWindowTextLengthA(m_hWnd);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int got = ::GetWindowTextA(m_hWnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper != nullptr) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (OnWndMsg(message, wParam, lParam, &result)) return result;
  return DefWindowProc(message, wParam, lParam);
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_COMMAND) {
    if (OnCommand(wParam, lParam)) {
      *result = 0;
      return true;
    }
    return false;
  }
  if (message == WM_NOTIFY) return OnNotify(wParam, lParam, result);
  if (IsCtlColorMessage(message)) {
    // The control that is about to be drawn chooses its own colours when it can.
    if (CWnd* control = FromHandlePermanent(reinterpret_cast<HWND>(lParam))) {
      if (const MessageMapEntry* entry = control->FindEntry(EntryKind::CtlColorReflect, 0, 0)) {
        MessageArgs args{static_cast<UINT>(message - WM_CTLCOLORMSGBOX), wParam, lParam};
        entry->thunk(control, args);
        *result = args.result;
        return true;
      }
    }
  }
  if (const MessageMapEntry* entry = FindEntry(EntryKind::Message, message, 0)) {
    MessageArgs args{message, wParam, lParam};
    entry->thunk(this, args);
    *result = args.result;
    return true;
  }
  return false;
}

bool CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  const UINT code = lParam != 0 ? HIWORD(wParam) : 0;  // menus and accelerators carry no code
  return OnCmdMsg(id, code, nullptr);
}

bool CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header == nullptr) return false;
  // The control that sent the notification handles it first (reflection).
  if (CWnd* control = FromHandlePermanent(header->hwndFrom); control != nullptr && control != this) {
    if (const MessageMapEntry* entry = control->FindEntry(EntryKind::NotifyReflect, header->code, 0)) {
      MessageArgs args;
      args.notify = header;
      entry->thunk(control, args);
      *result = args.result;
      return true;
    }
  }
  if (const MessageMapEntry* entry = FindEntry(EntryKind::Notify, header->code, static_cast<UINT>(header->idFrom))) {
    MessageArgs args;
    args.notify = header;
    entry->thunk(this, args);
    *result = args.result;
    return true;
  }
  return false;
}

bool CWnd::PreTranslateMessage(MSG*) { return false; }

LRESULT CWnd::DispatchSafely(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = m_hWnd;
  LRESULT result = 0;
  try {
    result = WindowProc(message, wParam, lParam);
  } catch (const std::exception&) {
    result = 0;  // a failed handler must not unwind through the system's code
  } catch (...) {
    result = 0;
  }
  if (message == WM_NCDESTROY) {
    // The window is gone: forget it, then let the object clean up after itself.
    if (m_hWnd == hwnd) Detach();
    PostNcDestroy();
  }
  return result;
}

LRESULT CALLBACK CWnd::StandardWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* wnd = FromHandlePermanent(hwnd);
  if (wnd == nullptr && t_creating != nullptr) {
    wnd = t_creating;
    t_creating = nullptr;
    wnd->Attach(hwnd);
  }
  if (wnd == nullptr) return ::DefWindowProcA(hwnd, message, wParam, lParam);
  return wnd->DispatchSafely(message, wParam, lParam);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* wnd = FromHandlePermanent(hwnd);
  if (wnd != nullptr && wnd->m_pfnSuper != nullptr) return wnd->DispatchSafely(message, wParam, lParam);
  // Detached while another procedure sat in front of ours: pass everything on.
  WNDPROC super = nullptr;
  {
    WindowObjects& windows = Windows();
    std::lock_guard<std::mutex> guard(windows.lock);
    if (auto found = windows.orphans.find(hwnd); found != windows.orphans.end()) {
      super = found->second;
      if (message == WM_NCDESTROY) windows.orphans.erase(found);
    }
  }
  return super != nullptr ? ::CallWindowProcW(super, hwnd, message, wParam, lParam)
                          : ::DefWindowProcW(hwnd, message, wParam, lParam);
}
