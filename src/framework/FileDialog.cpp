#include "framework/FileDialog.h"

#include <algorithm>
#include <vector>

#include "catalogue/Shortcut.h"
#include "framework/DialogText.h"
#include "framework/FrameWnd.h"
#include "framework/WinApp.h"
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
  HWND owner = m_pParent ? m_pParent->m_hWnd : nullptr;
  if (owner == nullptr && AfxGetMainWnd()) owner = AfxGetMainWnd()->m_hWnd;
  ofn.hwndOwner = owner;
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

std::string CFileDialog::GetFileTitle() const { return ol::DefaultProgramName(GetFileName()); }
