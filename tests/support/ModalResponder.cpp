#include "support/ModalResponder.h"

#include <algorithm>
#include <chrono>

namespace oltest {

namespace {

std::string ClassNameOf(HWND hwnd) {
  char name[64] = {};
  ::GetClassNameA(hwnd, name, sizeof name);
  return name;
}

std::string IconKind(HICON icon) {
  if (icon == nullptr) return "";
  struct Known {
    LPCSTR id;
    const char* name;
  };
  static const Known kKnown[] = {{IDI_HAND, "hand"}, {IDI_EXCLAMATION, "exclamation"},
                                 {IDI_QUESTION, "question"}, {IDI_ASTERISK, "asterisk"}};
  for (const Known& known : kKnown) {
    if (::LoadIconA(nullptr, known.id) == icon) return known.name;
  }
  return "other";
}

}  // namespace

std::string WindowText(HWND hwnd) {
  const int length = ::GetWindowTextLengthA(hwnd);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int got = ::GetWindowTextA(hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}

std::string SeenDialog::ButtonTexts() const {
  std::string all;
  for (const SeenButton& button : buttons) {
    if (!all.empty()) all += "|";
    all += button.text;
  }
  return all;
}

int SeenDialog::DefaultButton() const {
  for (const SeenButton& button : buttons) {
    if (button.isDefault) return button.id;
  }
  return 0;
}

SeenDialog DescribeDialog(HWND dialog) {
  SeenDialog seen;
  seen.hwnd = dialog;
  seen.title = WindowText(dialog);
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    const std::string cls = ClassNameOf(child);
    const LONG style = ::GetWindowLongA(child, GWL_STYLE);
    const int id = ::GetDlgCtrlID(child);
    if (cls == "Button" && ((style & 0x0F) == BS_PUSHBUTTON || (style & 0x0F) == BS_DEFPUSHBUTTON)) {
      if (style & WS_VISIBLE) seen.buttons.push_back({id, WindowText(child), (style & 0x0F) == BS_DEFPUSHBUTTON});
    } else if (cls == "Static") {
      if ((style & SS_TYPEMASK) == SS_ICON) {
        seen.icon = IconKind(reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0)));
      } else if (id == 0xFFFF) {
        seen.text = WindowText(child);
      }
    }
  }
  // The default button as the dialog reports it (a message box may set it after creation).
  const LRESULT def = ::SendMessageA(dialog, DM_GETDEFID, 0, 0);
  if (HIWORD(def) == DC_HASDEFID) {
    for (SeenButton& button : seen.buttons) button.isDefault = button.id == LOWORD(def);
  }
  // A message box shows its default button by giving it the focus.
  bool anyDefault = false;
  for (const SeenButton& button : seen.buttons) anyDefault = anyDefault || button.isDefault;
  GUITHREADINFO focus{};
  focus.cbSize = sizeof focus;
  if (!anyDefault && ::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &focus)) {
    for (SeenButton& button : seen.buttons) button.isDefault = ::GetDlgItem(dialog, button.id) == focus.hwndFocus;
  }
  return seen;
}

ModalResponder::Action ModalResponder::Press(int id) {
  return [id](HWND dialog, const SeenDialog&) {
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
  };
}

ModalResponder::ModalResponder(std::vector<int> buttonsToPress) : m_threadId(::GetCurrentThreadId()) {
  for (int id : buttonsToPress) m_actions.push_back(Press(id));
  m_watcher = std::thread([this] { Watch(); });
}

ModalResponder::ModalResponder(std::vector<Action> actions, int)
    : m_threadId(::GetCurrentThreadId()), m_actions(std::move(actions)) {
  m_watcher = std::thread([this] { Watch(); });
}

ModalResponder::ModalResponder(Action answer) : m_threadId(::GetCurrentThreadId()), m_answerEvery(std::move(answer)) {
  m_watcher = std::thread([this] { Watch(); });
}

ModalResponder::~ModalResponder() {
  m_stop = true;
  m_watcher.join();
}

std::vector<SeenDialog> ModalResponder::Seen() const {
  std::lock_guard lock(m_mutex);
  return m_seen;
}

void ModalResponder::Watch() {
  std::size_t next = 0;
  while (!m_stop) {
    std::vector<HWND> dialogs;
    ::EnumThreadWindows(
        m_threadId,
        [](HWND hwnd, LPARAM param) -> BOOL {
          char name[16] = {};
          ::GetClassNameA(hwnd, name, sizeof name);
          if (std::string(name) == "#32770" && ::IsWindowVisible(hwnd)) {
            reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&dialogs));
    // Forget windows that have gone, so a reused handle counts as new.
    m_handled.erase(std::remove_if(m_handled.begin(), m_handled.end(), [](HWND h) { return !::IsWindow(h); }),
                    m_handled.end());
    for (HWND dialog : dialogs) {
      if (std::find(m_handled.begin(), m_handled.end(), dialog) != m_handled.end()) continue;
      m_handled.push_back(dialog);
      // Let the dialog finish its initialisation before it is read.
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      SeenDialog seen = DescribeDialog(dialog);
      {
        std::lock_guard lock(m_mutex);
        m_seen.push_back(seen);
      }
      if (m_answerEvery) {
        m_answerEvery(dialog, seen);
      } else if (next < m_actions.size()) {
        m_actions[next++](dialog, seen);
      } else {
        Press(IDCANCEL)(dialog, seen);
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

}  // namespace oltest
