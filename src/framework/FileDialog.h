// The system's open-file dialog. Tests may stand in for the user with a responder that sees
// the dialog's settings and gives the chosen path (or nothing, for Cancel).
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <functional>
#include <optional>
#include <string>

class CWnd;

class CFileDialog {
 public:
  // `filter` in the "name|pattern|name|pattern||" form.
  CFileDialog(bool openFileDialog, const char* defaultExtension, const char* fileName, DWORD flags,
              const char* filter, CWnd* parent = nullptr);
  CFileDialog(const CFileDialog&) = delete;
  CFileDialog& operator=(const CFileDialog&) = delete;

  INT_PTR DoModal();
  std::string GetPathName() const { return m_strPath; }
  std::string GetFileName() const;
  // The file name cut before its last ".".
  std::string GetFileTitle() const;

  std::string m_strInitialDir;
  std::string m_strTitle;
  // What the dialog is opened with.
  const std::string& DefaultExtension() const { return m_strDefExt; }
  const std::string& Filter() const { return m_strFilterBars; }
  DWORD Flags() const { return m_dwFlags; }
  // The window that owns the dialog while it is open: the parent, or else the main window's
  // active popup (a modal dialog that is open), or the main window.
  HWND GetOwnerWindow() const;

  using Responder = std::function<std::optional<std::string>(const CFileDialog&)>;
  static void SetResponderForTesting(Responder responder);

 private:
  std::string m_strDefExt;
  std::string m_strFileName;
  std::string m_strFilterBars;
  DWORD m_dwFlags;
  CWnd* m_pParent;
  std::string m_strPath;
};
