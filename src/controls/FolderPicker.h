// The shell's folder browser: the caller gives a caption, an instruction and an initial
// folder, and gets back a full folder path or nothing. Tests may stand in for the user with a
// responder that sees the picker's settings (after the initial folder has been tidied).
#pragma once

#include <functional>
#include <optional>
#include <string>

class CWnd;

class CFolderPicker {
 public:
  CFolderPicker() = default;
  CFolderPicker(const CFolderPicker&) = delete;
  CFolderPicker& operator=(const CFolderPicker&) = delete;
  virtual ~CFolderPicker() = default;

  std::string m_strCaption;        // the browser window's caption, when not empty
  std::string m_strPath;           // the result: the chosen folder's file-system path
  std::string m_strInitialFolder;  // selected when the browser opens, when not empty
  std::string m_strInstruction;    // shown above the folder tree

  // Whether OK is enabled for the item just selected ("" when it has no file-system path).
  virtual bool ValidateFolder(const std::string& path);

  // True when the user confirmed a folder that has a file-system path; m_strPath holds it.
  bool Browse(CWnd* parent);

  using Responder = std::function<std::optional<std::string>(const CFolderPicker&)>;
  static void SetResponderForTesting(Responder responder);

  // The initial folder as the browser gets it: trailing white space and then one trailing
  // backslash removed.
  static std::string TidyInitialFolder(const std::string& folder);
};
