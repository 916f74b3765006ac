#include "util/ShellLink.h"

#include <objbase.h>
#include <shlobj.h>

#include <vector>

#include "util/PathText.h"

namespace ol {

namespace {

// COM for the calling thread, for as long as the object lives.
class ComScope {
 public:
  ComScope() : m_bInitialized(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (m_bInitialized) ::CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool m_bInitialized;
};

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (m_p != nullptr) m_p->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T** Out() { return &m_p; }
  T* operator->() const { return m_p; }
  explicit operator bool() const { return m_p != nullptr; }

 private:
  T* m_p = nullptr;
};

std::wstring Widen(const std::string& text) {
  const int length = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
  wide.resize(static_cast<std::size_t>(length - 1));
  return wide;
}

}  // namespace

bool IsWindowsShortcutFile(std::string_view path) {
  return path.size() >= 4 && ToLowerAscii(path.substr(path.size() - 4)) == ".lnk";
}

std::optional<LinkTarget> ReadWindowsShortcut(const std::string& path) {
  ComScope com;
  ComPtr<IShellLinkA> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(link.Out())))) {
    return std::nullopt;
  }
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Out()))) ||
      FAILED(file->Load(Widen(path).c_str(), STGM_READ))) {
    return std::nullopt;
  }
  // No search for a moved target, no tracking, no window: what the shortcut says, or nothing.
  link->Resolve(nullptr, SLR_NO_UI | SLR_NOSEARCH | SLR_NOTRACK | SLR_NOUPDATE);
  std::vector<char> buffer(32768, '\0');
  if (link->GetPath(buffer.data(), static_cast<int>(buffer.size()), nullptr, 0) != S_OK || buffer[0] == '\0') {
    return std::nullopt;
  }
  LinkTarget target;
  target.path = buffer.data();
  buffer.assign(buffer.size(), '\0');
  if (SUCCEEDED(link->GetArguments(buffer.data(), static_cast<int>(buffer.size())))) target.arguments = buffer.data();
  return target;
}

}  // namespace ol
