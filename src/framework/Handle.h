// Move-only owners for Windows handles: one deleter per handle kind. A raw handle type in
// the code means "not owned".
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace ol {

template <typename T, typename Deleter>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(T handle) : m_handle(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, T{})) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.m_handle, T{}));
    return *this;
  }
  ~UniqueHandle() { Reset(); }

  T Get() const { return m_handle; }
  explicit operator bool() const { return m_handle != T{} && m_handle != Deleter::Invalid(); }
  T Release() { return std::exchange(m_handle, T{}); }
  void Reset(T handle = T{}) {
    T old = std::exchange(m_handle, handle);
    if (old != T{} && old != Deleter::Invalid()) Deleter::Free(old);
  }

 private:
  T m_handle{};
};

struct KernelHandleDeleter {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Free(HANDLE h) { ::CloseHandle(h); }
};
struct IconDeleter {
  static HICON Invalid() { return nullptr; }
  static void Free(HICON h) { ::DestroyIcon(h); }
};
struct GdiObjectDeleter {
  static HGDIOBJ Invalid() { return nullptr; }
  static void Free(HGDIOBJ h) { ::DeleteObject(h); }
};
struct RegKeyDeleter {
  static HKEY Invalid() { return nullptr; }
  static void Free(HKEY h) { ::RegCloseKey(h); }
};
struct MenuDeleter {
  static HMENU Invalid() { return nullptr; }
  static void Free(HMENU h) { ::DestroyMenu(h); }
};
struct ModuleDeleter {
  static HMODULE Invalid() { return nullptr; }
  static void Free(HMODULE h) { ::FreeLibrary(h); }
};
struct WindowDeleter {
  static HWND Invalid() { return nullptr; }
  static void Free(HWND h) {
    if (::IsWindow(h)) ::DestroyWindow(h);
  }
};

using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleDeleter>;
using UniqueIcon = UniqueHandle<HICON, IconDeleter>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, GdiObjectDeleter>;
using UniqueRegKey = UniqueHandle<HKEY, RegKeyDeleter>;
using UniqueMenu = UniqueHandle<HMENU, MenuDeleter>;
using UniqueModule = UniqueHandle<HMODULE, ModuleDeleter>;
using UniqueWindow = UniqueHandle<HWND, WindowDeleter>;

}  // namespace ol
