#include "util/ShellLink.h"

#include <objbase.h>
#include <shlobj.h>

#include <vector>

#include "util/CodePages.h"
#include "util/InstallerShortcut.h"
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

}  // namespace

bool IsWindowsShortcutFile(std::string_view path) { return HasExtension(path, ".lnk"); }

std::optional<LinkTarget> ReadWindowsShortcut(const std::string& path) {
  ComScope com;
  ComPtr<IShellLinkA> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(link.Out())))) {
    return std::nullopt;
  }
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Out()))) ||
      FAILED(file->Load(WidenText(path).c_str(), STGM_READ))) {
    return std::nullopt;
  }
  LinkTarget target;
  std::vector<char> buffer(32768, '\0');
  if (SUCCEEDED(link->GetArguments(buffer.data(), static_cast<int>(buffer.size())))) target.arguments = buffer.data();
  if (const std::optional<InstallerComponent> component = ReadInstallerShortcut(path)) {
    target.fromInstaller = true;
    target.path = InstalledComponentPath(*component).value_or(std::string());
    return target;
  }
  // No search for a moved target, no tracking, no window: what the shortcut says, or nothing.
  link->Resolve(nullptr, SLR_NO_UI | SLR_NOSEARCH | SLR_NOTRACK | SLR_NOUPDATE);
  buffer.assign(buffer.size(), '\0');
  if (link->GetPath(buffer.data(), static_cast<int>(buffer.size()), nullptr, 0) != S_OK || buffer[0] == '\0') {
    return std::nullopt;
  }
  target.path = buffer.data();
  return target;
}

}  // namespace ol
