#include "framework/Wnd.h"

#include <exception>
#include <mutex>
#include <unordered_map>

namespace {
thread_local CWnd* t_creating = nullptr;  // the object whose window is being created

// Which object stands behind which window. Never destroyed, so that objects that outlive
// the program's static data can still detach.
class WindowTable {
 public:
  CWnd* Find(HWND hwnd) {
    std::lock_guard<std::mutex> guard(m_lock);
    const auto found = m_objects.find(hwnd);
    return found == m_objects.end() ? nullptr : found->second;
  }
  void Set(HWND hwnd, CWnd* object) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_objects[hwnd] = object;
  }
  void Forget(HWND hwnd, const CWnd* object) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (auto found = m_objects.find(hwnd); found != m_objects.end() && found->second == object) m_objects.erase(found);
  }
  // Controls whose procedure could not be handed back (subclassed again after us).
  void SetOrphan(HWND hwnd, WNDPROC super) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_orphans[hwnd] = super;
  }
  WNDPROC OrphanProcedure(HWND hwnd, bool forget) {
    std::lock_guard<std::mutex> guard(m_lock);
    const auto found = m_orphans.find(hwnd);
    if (found == m_orphans.end()) return nullptr;
    const WNDPROC super = found->second;
    if (forget) m_orphans.erase(found);
    return super;
  }

 private:
  std::mutex m_lock;
  std::unordered_map<HWND, CWnd*> m_objects;
  std::unordered_map<HWND, WNDPROC> m_orphans;
};
WindowTable& Windows() {
  static auto* windows = new WindowTable;
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
  return hwnd ? Windows().Find(hwnd) : nullptr;
}

void CWnd::Attach(HWND hwnd) {
  m_hWnd = hwnd;
  Windows().Set(hwnd, this);
}

void CWnd::Detach() {
  if (m_hWnd == nullptr) return;
  Windows().Forget(m_hWnd, this);
  if (m_pfnSuper != nullptr) {
    // Hand the procedure back only while it is still ours: a later subclass keeps its own.
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC)) == &CWnd::SubclassProc) {
      ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    } else if (::IsWindow(m_hWnd)) {
      Windows().SetOrphan(m_hWnd, m_pfnSuper);
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
  const WNDPROC super = Windows().OrphanProcedure(hwnd, message == WM_NCDESTROY);
  return super != nullptr ? ::CallWindowProcW(super, hwnd, message, wParam, lParam)
                          : ::DefWindowProcW(hwnd, message, wParam, lParam);
}
