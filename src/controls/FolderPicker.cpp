#include "controls/FolderPicker.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "framework/Wnd.h"
#include "util/CodePages.h"
#include "util/PathText.h"
#include "util/SystemUtil.h"

namespace {

CFolderPicker::Responder g_responder;

// The folder's path; empty for an item that is no folder of the file system. The 8-bit form
// of the call holds only MAX_PATH bytes, too few for a path of MAX_PATH characters in UTF-8:
// the path is taken in UTF-16 and brought into the program's code page. A path that code page
// cannot spell (a legacy one) is empty too: changed, it would name another folder or none.
std::string PathOfItem(LPCITEMIDLIST item) {
  wchar_t path[MAX_PATH] = {};
  if (item == nullptr || !::SHGetPathFromIDListW(item, path)) return std::string();
  return ol::NarrowTextExactly(path).value_or(std::string());
}

int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM lParam, LPARAM data) {
  auto* picker = reinterpret_cast<CFolderPicker*>(data);
  if (message == BFFM_INITIALIZED) {
    if (!picker->m_strInitialFolder.empty()) {
      ::SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(picker->m_strInitialFolder.c_str()));
    }
    if (!picker->m_strCaption.empty()) ::SetWindowTextA(browser, picker->m_strCaption.c_str());
  } else if (message == BFFM_SELCHANGED) {
    const std::string path = PathOfItem(reinterpret_cast<LPCITEMIDLIST>(lParam));
    ::SendMessageA(browser, BFFM_ENABLEOK, 0, picker->ValidateFolder(path) ? TRUE : FALSE);
  }
  return 0;
}

}  // namespace

void CFolderPicker::SetResponderForTesting(Responder responder) { g_responder = std::move(responder); }

bool CFolderPicker::ValidateFolder(const std::string&) { return true; }

std::string CFolderPicker::TidyInitialFolder(const std::string& folder) {
  if (folder.empty()) return folder;
  return ol::WithoutTrailingBackslash(ol::TrimTrailingWhitespace(folder), ol::IsAnsiLeadByte);
}

bool CFolderPicker::Browse(CWnd* parent) {
  m_strInitialFolder = TidyInitialFolder(m_strInitialFolder);
  if (g_responder) {
    std::optional<std::string> chosen = g_responder(*this);
    if (!chosen || chosen->empty()) return false;
    m_strPath = *chosen;
    return true;
  }

  IMalloc* allocator = nullptr;
  if (FAILED(::SHGetMalloc(&allocator)) || allocator == nullptr) return false;
  std::vector<char> displayName(MAX_PATH, '\0');
  BROWSEINFOA info{};
  info.hwndOwner = parent ? parent->m_hWnd : nullptr;
  info.pidlRoot = nullptr;
  info.pszDisplayName = displayName.data();
  info.lpszTitle = m_strInstruction.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS;
  info.lpfn = &BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(this);
  LPITEMIDLIST item = ::SHBrowseForFolderA(&info);
  if (item == nullptr) {
    allocator->Release();
    return false;
  }
  m_strPath = PathOfItem(item);
  allocator->Free(item);
  allocator->Release();
  return !m_strPath.empty();
}
