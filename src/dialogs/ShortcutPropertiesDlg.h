// "Shortcut Properties": the target path of one shortcut and, for a program, its command line.
// OK is refused while the target does not exist.
#pragma once

#include <string>
#include <string_view>

#include "framework/Dialog.h"

namespace ol {
inline constexpr std::string_view kInvalidPathTitle = "Invalid Path";
inline constexpr std::string_view kInvalidPathText =
    "Orbels Launch has determined that the specified target path\nis invalid. Please enter a valid target.";
}  // namespace ol

class CShortcutPropertiesDlg : public CDialog {
 public:
  explicit CShortcutPropertiesDlg(CWnd* parent = nullptr);

  static const MessageMap* GetThisMessageMap();
  const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

  std::string m_strType;
  std::string m_strCommandLine;
  std::string m_strTarget;

  void DoDataExchange(CDataExchange* pDX) override;
  void OnOK() override;

  void OnChangeTarget();
  void OnEditChange();
  LRESULT OnKickIdle(WPARAM, LPARAM);
  void OnUpdateCommandLine(CCmdUI* cmdUI);
};
