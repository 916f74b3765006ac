#include "framework/CmdTarget.h"

const MessageMap* CCmdTarget::GetThisMessageMap() {
  static const MessageMap map{nullptr, {}};
  return &map;
}

const MessageMapEntry* CCmdTarget::FindEntry(EntryKind kind, UINT message, UINT id) const {
  for (const MessageMap* map = GetMessageMap(); map != nullptr; map = map->base ? map->base() : nullptr) {
    for (const MessageMapEntry& entry : map->entries) {
      if (entry.kind != kind || entry.message != message) continue;
      if (kind == EntryKind::Message || kind == EntryKind::NotifyReflect || kind == EntryKind::CtlColorReflect ||
          (id >= entry.idFirst && id <= entry.idLast)) {
        return &entry;
      }
    }
  }
  return nullptr;
}

bool CCmdTarget::OnCmdMsg(UINT id, UINT code, CCmdUI* cmdUI) {
  if (cmdUI != nullptr) {
    if (const MessageMapEntry* entry = FindEntry(EntryKind::UpdateCommand, 0, id)) {
      MessageArgs args;
      args.cmdUI = cmdUI;
      cmdUI->m_bEnableChanged = false;
      entry->thunk(this, args);
      return true;
    }
    // No update handler: a command handler alone means "enabled".
    if (FindEntry(EntryKind::Command, 0, id) != nullptr) {
      cmdUI->Enable(true);
      return true;
    }
    return false;
  }
  if (const MessageMapEntry* entry = FindEntry(EntryKind::Command, code, id)) {
    MessageArgs args;
    entry->thunk(this, args);
    return true;
  }
  return false;
}

void CCmdUI::DoUpdate(CCmdTarget* target, bool disableIfNoHandler) {
  if (m_nID == 0 || target == nullptr) return;
  if (!target->OnCmdMsg(m_nID, 0, this) && disableIfNoHandler) Enable(false);
}
