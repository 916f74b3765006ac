// Objects that receive commands and command-state updates through their message maps, and
// the command-state object (CCmdUI) that one update handler uses for a menu item, a toolbar
// button, a status-bar pane or a dialog control alike.
#pragma once

#include <windows.h>

#include <string>

#include "framework/MessageMap.h"

class CCmdTarget {
 public:
  virtual ~CCmdTarget() = default;

  static const MessageMap* GetThisMessageMap();
  virtual const MessageMap* GetMessageMap() const { return GetThisMessageMap(); }

  // Runs this object's handler for command `id` (code 0 for menus, accelerators and toolbar
  // buttons, the notification code for control notifications), or its update handler when
  // `cmdUI` is given. True when a handler was found.
  virtual bool OnCmdMsg(UINT id, UINT code, CCmdUI* cmdUI);

  // The first entry of this class or its bases that matches.
  const MessageMapEntry* FindEntry(EntryKind kind, UINT message, UINT id) const;
};

class CCmdUI {
 public:
  virtual ~CCmdUI() = default;

  UINT m_nID = 0;
  UINT m_nIndex = 0;
  bool m_bEnableChanged = false;  // an update handler (or the default rule) set the state

  virtual void Enable(bool on = true) = 0;
  virtual void SetCheck(int check = 1) = 0;
  virtual void SetText(const std::string& text) = 0;

  // Asks `target` (and the targets it routes to) for this command's state. Without an update
  // handler, a command that has a handler is enabled; one without is disabled when
  // `disableIfNoHandler` is set, and left alone otherwise.
  void DoUpdate(CCmdTarget* target, bool disableIfNoHandler);
};
