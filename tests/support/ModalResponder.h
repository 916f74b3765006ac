// Answers the modal windows (message boxes, dialogs) that the thread under test opens: a
// watcher thread finds each new dialog window of that thread, records its title, text,
// buttons and icon, and then presses the next planned button.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace oltest {

struct SeenButton {
  int id;
  std::string text;
  bool isDefault;
};

struct SeenDialog {
  HWND hwnd = nullptr;
  std::string title;
  std::string text;  // a message box's message
  std::vector<SeenButton> buttons;
  std::string icon;  // "hand", "exclamation", "question", "asterisk" or ""

  std::string ButtonTexts() const;
  int DefaultButton() const;
};

class ModalResponder {
 public:
  // Each planned step either presses a button by id or runs a custom action (on the watcher
  // thread) with the dialog's window. Dialogs beyond the plan are cancelled and recorded.
  using Action = std::function<void(HWND dialog, const SeenDialog& seen)>;

  explicit ModalResponder(std::vector<int> buttonsToPress = {});
  ModalResponder(std::vector<Action> actions, int);
  // Runs `answer` for every dialog, however many there are.
  explicit ModalResponder(Action answer);
  ~ModalResponder();
  ModalResponder(const ModalResponder&) = delete;
  ModalResponder& operator=(const ModalResponder&) = delete;

  std::vector<SeenDialog> Seen() const;
  static Action Press(int id);

 private:
  void Watch();

  DWORD m_threadId;
  std::vector<Action> m_actions;
  Action m_answerEvery;
  std::vector<SeenDialog> m_seen;
  std::vector<HWND> m_handled;
  mutable std::mutex m_mutex;
  std::atomic<bool> m_stop{false};
  std::thread m_watcher;
};

// Reads a dialog window's title, message-box text, buttons and icon.
SeenDialog DescribeDialog(HWND dialog);
std::string WindowText(HWND hwnd);

}  // namespace oltest
