// Runs test code on the UI thread from inside the next modal loop (a one-shot thread timer),
// so that it can work a dialog the way its own window procedure sees it: messages are sent
// on the dialog's thread, and message boxes that they raise are answered by a
// ModalResponder meanwhile.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "support/ModalResponder.h"

namespace oltest {

class ModalScript {
 public:
  explicit ModalScript(std::function<void()> script, UINT delayMs = 100) {
    Script() = std::move(script);
    m_timer = ::SetTimer(nullptr, 0, delayMs, &ModalScript::Fire);
  }
  ~ModalScript() {
    ::KillTimer(nullptr, m_timer);
    Script() = nullptr;
  }
  ModalScript(const ModalScript&) = delete;
  ModalScript& operator=(const ModalScript&) = delete;

 private:
  static std::function<void()>& Script() {
    static std::function<void()> script;
    return script;
  }
  static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);  // before the script, whose message boxes pump timers too
    std::function<void()> script = std::move(Script());
    Script() = nullptr;
    if (script) script();
  }
  UINT_PTR m_timer = 0;
};

// A responder that answers message boxes with OK and leaves the dialog titled `keep` alone.
inline ModalResponder AnswerMessageBoxes(const std::string& keep, int count = 12) {
  std::vector<ModalResponder::Action> actions(static_cast<std::size_t>(count),
                                              [keep](HWND dialog, const SeenDialog& seen) {
                                                if (seen.title != keep) ModalResponder::Press(IDOK)(dialog, seen);
                                              });
  return ModalResponder(std::move(actions), 0);
}

}  // namespace oltest
