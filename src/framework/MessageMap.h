// Static message maps: each window class has one table that maps a message, a notification
// or a command identifier to a member handler. Lookups walk the class's table, then its
// base's. Handlers are plain member functions; the table entries are made by the helpers at
// the end of this file from member-function pointers.
#pragma once

#include <windows.h>

#include <span>
#include <type_traits>

class CCmdTarget;
class CCmdUI;

// What a handler is being asked to do.
enum class EntryKind {
  Message,        // a window message: LRESULT (C::*)(WPARAM, LPARAM)
  Command,        // WM_COMMAND from a menu, accelerator, toolbar or control: void (C::*)()
  UpdateCommand,  // command-state update: void (C::*)(CCmdUI*)
  Notify,         // WM_NOTIFY from a child control: LRESULT (C::*)(NMHDR*)
  NotifyReflect,  // WM_NOTIFY handled by the control that sent it: LRESULT (C::*)(NMHDR*)
  CtlColorReflect // WM_CTLCOLOR* handled by the control itself: HBRUSH (C::*)(HDC, UINT)
};

struct MessageArgs {
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  CCmdUI* cmdUI = nullptr;
  NMHDR* notify = nullptr;
  LRESULT result = 0;
};

using MessageThunk = void (*)(CCmdTarget* target, MessageArgs& args);

struct MessageMapEntry {
  EntryKind kind;
  UINT message;  // the message (Message), or the notification code (Command, Notify, ...)
  UINT idFirst;  // command or control identifier range (commands and notifications)
  UINT idLast;
  MessageThunk thunk;
};

struct MessageMap {
  const MessageMap* (*base)();
  std::span<const MessageMapEntry> entries;
};

namespace msgmap_detail {

template <typename T>
struct MemberClass;
template <typename R, typename C, typename... A>
struct MemberClass<R (C::*)(A...)> {
  using type = C;
};
template <auto Member>
using ClassOf = typename MemberClass<decltype(Member)>::type;

template <auto Member>
void MessageThunkFor(CCmdTarget* target, MessageArgs& a) {
  a.result = (static_cast<ClassOf<Member>*>(target)->*Member)(a.wParam, a.lParam);
}
template <auto Member>
void CommandThunkFor(CCmdTarget* target, MessageArgs&) {
  (static_cast<ClassOf<Member>*>(target)->*Member)();
}
template <auto Member>
void UpdateThunkFor(CCmdTarget* target, MessageArgs& a) {
  (static_cast<ClassOf<Member>*>(target)->*Member)(a.cmdUI);
}
template <auto Member>
void NotifyThunkFor(CCmdTarget* target, MessageArgs& a) {
  a.result = (static_cast<ClassOf<Member>*>(target)->*Member)(a.notify);
}
template <auto Member>
void CtlColorThunkFor(CCmdTarget* target, MessageArgs& a) {
  a.result = reinterpret_cast<LRESULT>(
      (static_cast<ClassOf<Member>*>(target)->*Member)(reinterpret_cast<HDC>(a.wParam), a.message));
}

}  // namespace msgmap_detail

// A window message, e.g. MapMessage<&CMainFrame::OnCreate>(WM_CREATE).
template <auto Member>
constexpr MessageMapEntry MapMessage(UINT message) {
  return {EntryKind::Message, message, 0, 0, &msgmap_detail::MessageThunkFor<Member>};
}
// A command from menus, accelerators and toolbar buttons.
template <auto Member>
constexpr MessageMapEntry MapCommand(UINT id) {
  return {EntryKind::Command, 0, id, id, &msgmap_detail::CommandThunkFor<Member>};
}
template <auto Member>
constexpr MessageMapEntry MapCommandRange(UINT first, UINT last) {
  return {EntryKind::Command, 0, first, last, &msgmap_detail::CommandThunkFor<Member>};
}
// A control's WM_COMMAND notification, e.g. MapControl<&CDlg::OnChange>(EN_CHANGE, 1016).
template <auto Member>
constexpr MessageMapEntry MapControl(UINT code, UINT id) {
  return {EntryKind::Command, code, id, id, &msgmap_detail::CommandThunkFor<Member>};
}
template <auto Member>
constexpr MessageMapEntry MapUpdate(UINT id) {
  return {EntryKind::UpdateCommand, 0, id, id, &msgmap_detail::UpdateThunkFor<Member>};
}
template <auto Member>
constexpr MessageMapEntry MapNotify(UINT code, UINT id) {
  return {EntryKind::Notify, code, id, id, &msgmap_detail::NotifyThunkFor<Member>};
}
template <auto Member>
constexpr MessageMapEntry MapNotifyReflect(UINT code) {
  return {EntryKind::NotifyReflect, code, 0, 0, &msgmap_detail::NotifyThunkFor<Member>};
}
template <auto Member>
constexpr MessageMapEntry MapCtlColorReflect() {
  return {EntryKind::CtlColorReflect, 0, 0, 0, &msgmap_detail::CtlColorThunkFor<Member>};
}

// Each class with handlers declares
//   static const MessageMap* GetThisMessageMap();
//   const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }
// and defines its table in its .cpp file, naming its base class's GetThisMessageMap.
