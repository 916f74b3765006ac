// Random use of the real launcher beside a plain model of its catalogue: a seeded sequence of
// what a user does (adding, renaming, deleting, properties, icons, views, launches), the list
// compared with the model after every step, and at the end the data file compared byte for
// byte with the model's. OL_RANDOM_SEED, OL_RANDOM_SEEDS and OL_RANDOM_STEPS set the first
// seed, the number of seeds and the steps of each. make test runs one fixed seed, so that two
// runs of a commit do the same; make soak runs 20 random seeds of 2,000 steps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <mutex>
#include <random>

#include "../games/DialogDriving.h"
#include "catalogue/DataFileFormat.h"
#include "catalogue/ShortcutLaunch.h"
#include "controls/FolderPicker.h"
#include "framework/FileDialog.h"
#include "listview/ListTestSupport.h"
#include "res/resource.h"
#include "support/TestIconCalls.h"
#include "util/PathText.h"
#include "util/SystemUtil.h"

using namespace oltest;

namespace {

// A shortcut as the model holds it. `icon` is the kind of the record's icon index: 0 (none),
// 1 (the folder image) or 2 (an image of the target's own); unknown while `pending` (a program
// loaded at the start whose target nobody has looked at yet).
struct Entry {
  std::string type, name, target, commandLine;
  int icon = 0;
  bool pending = false;
  bool operator==(const Entry&) const = default;
  std::string Text() const {
    return "{" + type + ", \"" + name + "\", " + target + ", \"" + commandLine + "\", " + std::to_string(icon) + "}";
  }
};

void SortByName(std::vector<Entry>& entries) {  // std::string orders by unsigned bytes
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
}

// The data file holding the entries in the order given.
std::string FileOf(const std::vector<Entry>& entries) {
  std::vector<ol::CShortcut> records;
  for (const Entry& e : entries) records.push_back({e.type, e.name, e.target, e.commandLine, 0});
  return ol::FormatDataFile(static_cast<int>(records.size()),
                            [&records](int i) -> const ol::CShortcut& { return records[static_cast<std::size_t>(i)]; });
}

std::string AfterLastBackslash(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

// Every program file is a copy of the recorder (it has an icon and records its starts) but
// Notes.exe, which is text.
bool GivesIcon(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         AfterLastBackslash(path) != "Notes.exe";
}

// The icons of the pending programs to `target` (all of them for none) as their targets give
// them now: looked at once, for every shortcut to the target alike.
void LookAtTargets(std::vector<Entry>& entries, const std::string* target = nullptr) {
  for (Entry& e : entries) {
    if (!e.pending || (target != nullptr && e.target != *target)) continue;
    e.icon = GivesIcon(e.target) ? 2 : 0;
    e.pending = false;
  }
}

// Characters the user can type, "Ä" and "é" in UTF-8, the program's code page.
std::string RandomText(std::mt19937& random, std::size_t shortest, std::size_t longest) {
  static const char* kLetters[] = {"a", "A", "b", "B", "z", "Z", "0", "9", " ", ".", "_", "-", "~", "\xC3\x84", "\xC3\xA9"};
  std::string text;
  for (std::size_t n = shortest + random() % (longest - shortest + 1); n > 0; --n) text += kLetters[random() % 15];
  return text;
}

std::string RandomCommandLine(std::mt19937& random) {
  static const char* kParts[] = {"-w", "-nosound", "\"two words\"", "/x=1", " ", "\t"};
  std::string text = random() % 2 ? " " : "";
  for (std::size_t n = random() % 5; n > 0; --n) text += std::string(kParts[random() % 6]) + " ";
  return text;
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

class RandomUseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder : {"Tools", "Zed Dir", "Other", "Saves", "Saves\\Deep Folder"}) {
      ::CreateDirectoryA((m_files / folder).c_str(), nullptr);
    }
    // ALPHA.EXE is Alpha.exe spelt another way; ORBELS.EXE is refused by its name.
    m_programs = {m_files / "Tools\\Alpha.exe", m_files / "Tools\\beta.tool.exe", m_files / "Tools\\ALPHA.EXE",
                  m_files / "Zed Dir\\Zed Runner.exe", m_files / "Tools\\Notes.exe", m_files / "Other\\ORBELS.EXE"};
    m_folders = {m_files / "Saves", m_files / "Saves\\Deep Folder", m_files / "Tools", "C:\\", "C:\\windows"};
    m_out = m_files / "recording.txt";
    ::SetEnvironmentVariableA("OL_RECORDER_OUT", m_out.c_str());
    CFileDialog::SetResponderForTesting([this](const CFileDialog&) { return m_nextPath; });
    CFolderPicker::SetResponderForTesting([this](const CFolderPicker&) { return m_nextPath; });
    ol::SetShellOpenForTesting([this](const std::string& target) { m_opened.push_back(target); });
  }
  void TearDown() override {
    CFileDialog::SetResponderForTesting(nullptr);
    CFolderPicker::SetResponderForTesting(nullptr);
    ol::SetShellOpenForTesting(nullptr);
  }

  std::string RunSequence(std::uint32_t seed, int steps, std::vector<std::string>& log);
  std::string Step(LauncherHarness& launcher, std::mt19937& random, std::vector<Entry>& model,
                   std::vector<std::string>& titles, std::string& failure);
  std::string Compare(LauncherHarness& launcher, const std::vector<Entry>& model) const;
  // The next dialog gets `action`; `titles` the title it should have.
  void Expect(std::vector<std::string>& titles, const char* title, ModalResponder::Action action) {
    titles.push_back(title);
    std::lock_guard lock(m_answersMutex);
    m_answers.push_back(std::move(action));
  }

  ScratchDir m_files;
  std::vector<std::string> m_programs, m_folders;
  std::string m_out;
  std::optional<std::string> m_nextPath;  // what the file dialog or the folder picker gives
  std::vector<std::string> m_opened;      // what the shell was asked to open
  std::mutex m_answersMutex;
  std::deque<ModalResponder::Action> m_answers;
  int m_viewMode = 0;
  long m_liveBefore = 0;
};

std::string RandomUseTest::Compare(LauncherHarness& launcher, const std::vector<Entry>& model) const {
  const CListCtrl list = launcher.View()->GetListCtrl();
  if (list.GetItemCount() != static_cast<int>(model.size())) {
    return std::to_string(list.GetItemCount()) + " items, the model has " + std::to_string(model.size());
  }
  for (int i = 0; i < list.GetItemCount(); ++i) {
    const ol::CShortcut& r = *ol::RecordAt(list, i);
    const Entry& expected = model[static_cast<std::size_t>(i)];
    const Entry shown{r.m_strType, r.m_strName, r.m_strTarget, r.m_strCommandLine,
                      expected.pending ? expected.icon : std::min(r.m_nIconIndex, 2), expected.pending};
    if (!(shown == expected) || list.GetItemText(i, 0) != r.m_strName || list.GetItemText(i, 1) != r.m_strTarget) {
      return "item " + std::to_string(i) + " is " + shown.Text() + " shown as \"" + list.GetItemText(i, 0) + "\", " +
             list.GetItemText(i, 1) + "; the model has " + expected.Text();
    }
  }
  if (ol::LiveShortcutRecordCount() != m_liveBefore + static_cast<long>(model.size())) return "records leaked";
  launcher.Idle();
  const std::string pane = launcher.Frame()->m_wndStatusBar.GetPaneText(1);
  if (pane != "\t\t" + std::to_string(model.size()) + (model.size() == 1 ? " Shortcut" : " Shortcuts")) {
    return "the count pane shows \"" + pane + "\"";
  }
  const DWORD styles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  if ((launcher.View()->GetStyle() & LVS_TYPEMASK) != styles[m_viewMode]) return "the view style is wrong";
  return "";
}

// Does one random step and changes the model as the step should change the catalogue; returns
// what it did. `titles` gets the dialogs it should raise, `failure` what went wrong elsewhere.
std::string RandomUseTest::Step(LauncherHarness& launcher, std::mt19937& random, std::vector<Entry>& model,
                                std::vector<std::string>& titles, std::string& failure) {
  enum { kNewProgram, kNewFolder, kRename, kDelete, kDeleteAll, kProperties, kReloadIcon, kRefresh, kView, kLaunch };
  static constexpr int kWeights[] = {10, 8, 10, 8, 2, 10, 8, 5, 5, 8, 5};  // the last: a file vanishes or returns
  int op = std::discrete_distribution<int>(std::begin(kWeights), std::end(kWeights))(random);
  if (model.empty() && (op == kRename || op == kDelete || op == kProperties || op == kReloadIcon || op == kLaunch)) {
    op = static_cast<int>(random() % 2);  // nothing to select: add something
  }
  const int item = model.empty() ? -1 : static_cast<int>(random() % model.size());
  if (item >= 0) Select(launcher, item);
  Entry* e = item >= 0 ? &model[static_cast<std::size_t>(item)] : nullptr;
  // A launch, Properties and Reload Icon look at a target whose icon has not come yet.
  if (e != nullptr && e->pending && (op == kLaunch || op == kProperties || op == kReloadIcon)) {
    const std::string target = e->target;
    LookAtTargets(model, &target);
  }
  const std::string at = " " + std::to_string(item);

  switch (op) {
    case kNewProgram:
    case kNewFolder: {  // a file that vanished cannot be chosen: that is a Cancel
      const bool program = op == kNewProgram;
      const std::vector<std::string>& pool = program ? m_programs : m_folders;
      const std::size_t pick = random() % (pool.size() + 1);
      m_nextPath.reset();
      if (pick < pool.size() && ol::PathExists(pool[pick])) m_nextPath = pool[pick];
      const std::string path = m_nextPath.value_or(""), file = AfterLastBackslash(path);
      const std::string type = program ? "PROGRAM" : "FOLDER", lower = ol::ToLowerAscii(file);
      if (program && (lower == "orbels.exe" || lower == "orbels2.exe" || lower == "orbelslaunch.exe")) {
        Expect(titles, "Shortcut Not Allowed", ModalResponder::Press(IDOK));
      } else if (m_nextPath && std::any_of(model.begin(), model.end(), [&](const Entry& m) {
                   return m.type == type && m.target == path;
                 })) {
        Expect(titles, "Shortcut Already Exists", ModalResponder::Press(IDOK));
      } else if (m_nextPath) {
        model.push_back({type, program ? file.substr(0, file.rfind('.')) : file, path, "",
                         program ? (GivesIcon(path) ? 2 : 0) : 1});
        SortByName(model);
      }
      Command(launcher, program ? ID_NEW_PROGRAM_SHORTCUT : ID_NEW_FOLDER_SHORTCUT);
      return (program ? "new program " : "new folder ") + path;
    }
    case kRename: {  // through the label editor, to a name one can type (Wine's list control
                     // reports an emptied label as no edit); Escape cancels
      const bool cancel = random() % 6 == 0;
      const std::string name = RandomText(random, 1, 12);
      Command(launcher, ID_RENAME);
      HWND editor = reinterpret_cast<HWND>(launcher.View()->SendMessage(LVM_GETEDITCONTROL));
      if (editor == nullptr) {
        failure = "no label editor";
      } else {
        if (!cancel) ::SetWindowTextA(editor, name.c_str());
        ::SendMessageA(editor, WM_KEYDOWN, cancel ? VK_ESCAPE : VK_RETURN, 0);
        if (!cancel) e->name = name;
      }
      return "rename" + at + (cancel ? " cancelled" : " to \"" + name + "\"");
    }
    case kDelete: {  // from the menu or with the Delete key; the rest is sorted
      const bool yes = random() % 2;
      Expect(titles, "Remove Shortcut", ModalResponder::Press(yes ? IDYES : IDNO));
      if (random() % 2) {
        Command(launcher, ID_DELETE);
      } else {
        KeyDownInList(launcher, VK_DELETE);
      }
      if (yes) model.erase(model.begin() + item);
      if (yes) SortByName(model);
      return "delete" + at + (yes ? " yes" : " no");
    }
    case kDeleteAll: {
      if (model.empty()) return "delete all is disabled";
      const bool yes = random() % 3 == 0;
      Expect(titles, "Remove All Shortcuts", ModalResponder::Press(yes ? IDYES : IDNO));
      Command(launcher, ID_DELETE_ALL);
      if (yes) model.clear();
      return std::string("delete all ") + (yes ? "yes" : "no");
    }
    case kProperties: {  // a target that exists (a program's may be a folder) and a command line
      const bool program = e->type == "PROGRAM", ok = random() % 5 != 0;
      std::vector<std::string> targets;
      for (const std::string& path : program && random() % 3 ? m_programs : m_folders) {
        if (ol::PathExists(path)) targets.push_back(path);
      }
      const std::string target = targets[random() % targets.size()], commandLine = RandomCommandLine(random);
      Expect(titles, "Shortcut Properties", [=](HWND dialog, const SeenDialog& seen) {
        if (ok) SetItemText(dialog, IDC_TARGET, target);
        if (ok && program) SetItemText(dialog, IDC_PROPERTIES_COMMAND_LINE, commandLine);
        ModalResponder::Press(ok ? IDOK : IDCANCEL)(dialog, seen);
      });
      Command(launcher, ID_PROPERTIES);
      if (ok && program && target != e->target && e->icon == 0 && GivesIcon(target)) e->icon = 2;
      if (ok) e->target = target;
      if (ok && program) e->commandLine = Trimmed(commandLine);
      return "properties" + at + (ok ? " " + target + " \"" + commandLine + "\"" : " cancelled");
    }
    case kReloadIcon:
      if (e->icon != 1 && !ol::PathExists(e->target)) {
        e->icon = 0;
        Expect(titles, "Invalid Target", ModalResponder::Press(IDOK));
      } else if (e->icon == 0 && GivesIcon(e->target)) {
        e->icon = 2;
      }
      Command(launcher, ID_RELOAD_ICON);
      return "reload icon" + at;
    case kRefresh:
      Command(launcher, ID_REFRESH_VIEW);
      SortByName(model);
      return "refresh view";
    case kView: {
      static constexpr UINT kModes[] = {ID_VIEW_LARGE_ICONS, ID_VIEW_SMALL_ICONS, ID_VIEW_LIST, ID_VIEW_DETAILS};
      m_viewMode = static_cast<int>(random() % 4);
      Command(launcher, kModes[m_viewMode]);
      return "view " + std::to_string(m_viewMode);
    }
    case kLaunch: {  // from the menu, with Enter or with a double click
      const bool program = e->type == "PROGRAM", starts = e->icon != 0 && program && GivesIcon(e->target);
      if (e->icon == 0) Expect(titles, "Invalid Shortcut Target", ModalResponder::Press(IDOK));
      if (e->icon != 0 && program && !starts) Expect(titles, "Program Start Error", ModalResponder::Press(IDOK));
      m_opened.clear();
      const int route = static_cast<int>(random() % 3);
      if (route == 0) Command(launcher, ID_LAUNCH_SELECTED);
      if (route == 1) KeyDownInList(launcher, VK_RETURN);
      if (route == 2) SimpleNotify(launcher, NM_DBLCLK);
      if (starts) {
        const auto seen = WaitForRecording(m_out);
        ::DeleteFileA(m_out.c_str());
        if (!seen || seen->workingDirectory != e->target.substr(0, e->target.rfind('\\')) ||
            (!e->commandLine.empty() && seen->commandLine != e->commandLine)) {
          failure = seen ? "the program started with \"" + seen->commandLine + "\" in " + seen->workingDirectory
                         : "the program did not start";
        }
      } else if (e->icon != 0 && !program && m_opened != std::vector<std::string>{e->target}) {
        failure = "the shell was not asked to open " + e->target;
      }
      return "launch" + at + " by route " + std::to_string(route);
    }
    default: {  // outside the launcher, a program's file is deleted or put back
      const std::string& path = m_programs[random() % 2];
      if (!ol::PathExists(path)) {
        if (!CopyTestFile(RecorderPath(), path)) failure = "could not put back " + path;
        return "put back " + path;
      }
      // A program just started may still hold its file for a moment.
      for (int i = 0; i < 500 && !::DeleteFileA(path.c_str()); ++i) ::Sleep(20);
      if (ol::PathExists(path)) failure = "could not delete " + path;
      return "delete file " + path;
    }
  }
}

std::string RandomUseTest::RunSequence(std::uint32_t seed, int steps, std::vector<std::string>& log) {
  std::mt19937 random(seed);
  for (const std::string& path : {m_programs[0], m_programs[1], m_programs[3], m_programs[5]}) {
    CopyTestFile(RecorderPath(), path);
  }
  WriteFileBytes(m_programs[4], "not a program");
  m_viewMode = 0;
  m_liveBefore = ol::LiveShortcutRecordCount();
  // The first steps meet the icons still arriving: extractions are held until a random step.
  TestIconCalls calls;
  calls.Hold();
  const int iconsFrom = static_cast<int>(random() % 20);
  LauncherHarness launcher;

  // The launcher starts from a data file of a few records of every kind, loaded in file order.
  std::vector<Entry> model;
  for (std::size_t n = random() % 9; n > 0; --n) {
    const std::string name = random() % 10 ? RandomText(random, 0, 10) : std::string(300, 'L');
    const std::string commandLine = random() % 2 ? RandomCommandLine(random) : "";
    const std::string program = m_programs[random() % m_programs.size()];
    const std::string folder = random() % 4 ? m_folders[random() % m_folders.size()] : "C:\\no\\such\\folder";
    switch (random() % 4) {
      case 0: model.push_back({"PROGRAM", name, program, commandLine, 0, true}); break;
      case 1: model.push_back({"PROGRAM", name, "Q:\\not\\there\\game.exe", commandLine, 0, true}); break;
      case 2: model.push_back({"FOLDER", name, folder, commandLine, 1}); break;
      default: model.push_back({"program", name, folder, commandLine, 1});  // a type but PROGRAM is a folder
    }
  }
  WriteFileBytes(launcher.DataPath(), FileOf(model));
  log.push_back("start with " + std::to_string(model.size()) + " records");
  if (!launcher.Start(false)) return "the launcher did not start";

  ModalResponder responder([this](HWND dialog, const SeenDialog& seen) {
    ModalResponder::Action next = ModalResponder::Press(IDCANCEL);  // for a dialog nobody expected
    {
      std::lock_guard lock(m_answersMutex);
      if (!m_answers.empty()) next = std::move(m_answers.front());
      if (!m_answers.empty()) m_answers.pop_front();
    }
    next(dialog, seen);
  });
  std::string difference = Compare(launcher, model);
  for (int step = 1; step <= steps && difference.empty(); ++step) {
    if (step == iconsFrom) {
      calls.Release();
      launcher.WaitForIcons();
      LookAtTargets(model);
    }
    std::vector<std::string> titles, shown;
    std::string failure;
    const std::size_t seenBefore = responder.Seen().size();
    log.push_back(Step(launcher, random, model, titles, failure));
    const std::vector<SeenDialog> seen = responder.Seen();
    for (std::size_t i = seenBefore; i < seen.size(); ++i) shown.push_back(seen[i].title);
    if (shown != titles) failure += " dialogs: " + std::to_string(shown.size()) + " shown, " +
                                    std::to_string(titles.size()) + " expected";
    difference = failure.empty() ? Compare(launcher, model) : failure;
    if (!difference.empty()) difference = "after step " + std::to_string(step) + ": " + difference;
    std::lock_guard lock(m_answersMutex);
    m_answers.clear();
  }
  launcher.Close();
  SortByName(model);  // the catalogue is saved in order
  if (difference.empty() && ReadFileBytes(launcher.DataPath()) != FileOf(model)) {
    difference = "at exit the data file differs from the model's";
  }
  if (difference.empty() && ol::LiveShortcutRecordCount() != m_liveBefore) difference = "records left after exit";
  return difference;
}

}  // namespace

TEST_F(RandomUseTest, TheListAndTheDataFileFollowAModelOfTheCatalogue) {
  const auto seeds = static_cast<int>(EnvNumber("OL_RANDOM_SEEDS", 1));
  const auto steps = static_cast<int>(EnvNumber("OL_RANDOM_STEPS", 300));
  const auto firstSeed = static_cast<std::uint32_t>(EnvNumber("OL_RANDOM_SEED", 4021));
  std::printf("[          ] random use from seed %u (OL_RANDOM_SEED changes it)\n", firstSeed);
  int failed = 0;
  for (int n = 0; n < seeds; ++n) {
    const std::uint32_t seed = firstSeed + static_cast<std::uint32_t>(n);
    std::vector<std::string> log;
    std::string failure = RunSequence(seed, steps, log);
    if (failure.empty()) continue;
    ++failed;
    // The list is checked after every step, so only a difference in the data file at exit
    // can show up in a shorter prefix: looked for by halving.
    int shortest = static_cast<int>(log.size()) - 1;
    for (int lo = 0, hi = shortest - 1; lo <= hi;) {
      const int mid = (lo + hi) / 2;
      std::vector<std::string> shorterLog;
      if (std::string shorter = RunSequence(seed, mid, shorterLog); !shorter.empty()) {
        shortest = mid;
        failure = shorter;
        log = shorterLog;
        hi = mid - 1;
      } else {
        lo = mid + 1;
      }
    }
    std::string listing;
    for (const std::string& line : log) listing += "\n  " + line;
    ADD_FAILURE() << "seed " << seed << ", shortest failing prefix " << shortest << " steps (OL_RANDOM_SEED=" << seed
                  << " OL_RANDOM_STEPS=" << shortest << "): " << failure << listing;
  }
  std::printf("[ SOAK     ] random use: seeds %u-%u, %d steps each, %d steps in all: %d failing\n", firstSeed,
              firstSeed + static_cast<std::uint32_t>(seeds) - 1, steps, seeds * steps, failed);
}
