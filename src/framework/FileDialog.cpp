#include "framework/FileDialog.h"

#include <algorithm>
#include <vector>

#include "framework/DialogText.h"
#include "framework/FrameWnd.h"
#include "framework/WinApp.h"
#include "util/PathText.h"
#include "util/SystemUtil.h"

namespace {
CFileDialog::Responder g_responder;
}

void CFileDialog::SetResponderForTesting(Responder responder) { g_responder = std::move(responder); }

CFileDialog::CFileDialog(bool, const char* defaultExtension, const char* fileName, DWORD flags, const char* filter,
                         CWnd* parent)
    : m_strDefExt(defaultExtension ? defaultExtension : ""), m_strFileName(fileName ? fileName : ""),
      m_strFilterBars(filter ? filter : ""), m_dwFlags(flags), m_pParent(parent) {}

INT_PTR CFileDialog::DoModal() {
  if (g_responder) {
    std::optional<std::string> chosen = g_responder(*this);
    if (!chosen) return IDCANCEL;
    m_strPath = *chosen;
    return IDOK;
  }
  const std::string filter = ol::FileDialogFilter(m_strFilterBars);
  // Room for a long path; the dialog reports one that does not fit as an error.
  std::vector<char> file(32768, '\0');
  m_strFileName.copy(file.data(), std::min(m_strFileName.size(), file.size() - 1));
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetOwnerWindow();
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = m_strInitialDir.empty() ? nullptr : m_strInitialDir.c_str();
  ofn.lpstrTitle = m_strTitle.empty() ? nullptr : m_strTitle.c_str();
  ofn.lpstrDefExt = m_strDefExt.empty() ? nullptr : m_strDefExt.c_str();
  ofn.Flags = m_dwFlags | OFN_EXPLORER | OFN_ENABLESIZING;
  if (!::GetOpenFileNameA(&ofn)) return IDCANCEL;
  m_strPath = file.data();
  return IDOK;
}

std::string CFileDialog::GetFileName() const { return ol::GetFileNamePart(m_strPath); }

std::string CFileDialog::GetFileTitle() const { return ol::FileTitleOf(GetFileName()); }

HWND CFileDialog::GetOwnerWindow() const {
  if (m_pParent != nullptr && m_pParent->m_hWnd != nullptr) return m_pParent->m_hWnd;
  // Without a parent: the window the user works in, so that a modal dialog that is open owns
  // the chooser and stays disabled under it.
  HWND main = AfxGetMainWnd() ? AfxGetMainWnd()->m_hWnd : nullptr;
  return main != nullptr ? ::GetLastActivePopup(main) : nullptr;
}
