// Start-up and shut-down of the launcher with large catalogues, beside the unavoidable cost
// (the icon extraction alone) and beside a bare program that fills a list view the naive
// way. Each run is one measurement in a fresh process:
//   startup_bench app <data file>     the launcher's own start-up, first idle and shut-down
//   startup_bench arrival <data file> the launcher until every icon is in (its own line:
//                                     "arrival <records> <first screen ms> <all icons ms>
//                                     <longest wait ms> <peak KiB>")
//   startup_bench floor <data file>   one extraction per program shortcut, as the launcher
//                                     extracts: both icons at the display's icon sizes
//   startup_bench pixels <data file>  the floor, plus reading each icon's exact pixels
//                                     (GetIconInfo, as the image lists' own append does)
//   startup_bench items <data file>   one list item per record, set the launcher's way (item,
//                                     column text, record pointer), with no images at all
//   startup_bench bare <data file>    a plain list view filled one item and icon at a time
//   startup_bench drop <data file>    the launcher started empty, then the file's targets
//                                     dropped on its list at once, as Explorer drops them:
//                                     from the drop to the first idle after it
// It prints one line: "<mode> <records> <startup ms> <shutdown ms> <peak working set KiB>".
// On a scaled display (OL_DPI, see tools/wine-run.sh.in) every icon is at that display's size.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/OrbelslaunchApp.h"
#include "framework/FrameWnd.h"
#include "catalogue/CatalogueList.h"
#include "catalogue/DataFileFormat.h"
#include "listview/OrbelslaunchView.h"
#include "support/DropHandle.h"
#include "util/AtomicFile.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

std::size_t PeakKiB() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakWorkingSetSize / 1024;
}

std::vector<ol::CShortcut> ReadRecords(const std::string& path) {
  std::vector<ol::CShortcut> records;
  if (auto bytes = ol::ReadWholeFile(path)) {
    ol::ParseDataFile(*bytes, [&records](ol::CShortcut&& record) { records.push_back(std::move(record)); });
  }
  return records;
}

void Pump() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

int RunApp(const std::string& dataFile) {
  const std::size_t records = ReadRecords(dataFile).size();
  COrbelslaunchView::SetDataFilePathForTesting(dataFile);
  COrbelslaunchApp app;
  const auto start = Clock::now();
  app.PrepareRun(::GetModuleHandleA(nullptr), "", SW_SHOW);
  if (!app.InitInstance()) return 1;
  Pump();
  app.OnIdle(0);  // the first idle: bars and count updated
  const auto idle = Clock::now();
  HWND frame = app.m_pMainWnd->m_hWnd;
  ::SendMessageA(frame, WM_CLOSE, 0, 0);
  const auto closed = Clock::now();
  std::printf("app %zu %.1f %.1f %zu\n", records, Milliseconds(start, idle), Milliseconds(idle, closed), PeakKiB());
  return 0;
}

// The start-up with the icons arriving from their own thread: from the start to the first idle
// with the icons of the first screen in, to every icon in, and the longest time the window's
// thread kept a message waiting meanwhile (a probe posted every 50 ms from another thread).
int RunArrival(const std::string& dataFile) {
  constexpr UINT kProbe = WM_APP + 50;
  const std::size_t records = ReadRecords(dataFile).size();
  COrbelslaunchView::SetDataFilePathForTesting(dataFile);
  COrbelslaunchApp app;
  const auto start = Clock::now();
  app.PrepareRun(::GetModuleHandleA(nullptr), "", SW_SHOW);
  if (!app.InitInstance()) return 1;
  auto* view = static_cast<COrbelslaunchView*>(static_cast<CFrameWnd*>(app.m_pMainWnd)->GetActiveView());
  std::atomic<bool> loading{true};
  const DWORD thread = ::GetCurrentThreadId();
  std::thread probe([&loading, thread] {
    while (loading) {
      const auto posted = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch());
      ::PostThreadMessageA(thread, kProbe, 0, static_cast<LPARAM>(posted.count()));
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  });
  double firstScreen = 0;
  double longestWait = 0;
  for (;;) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.hwnd == nullptr && msg.message == kProbe) {
        const auto now = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch());
        longestWait = std::max(longestWait, (now.count() - static_cast<long long>(msg.lParam)) / 1000.0);
        continue;
      }
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
      if (firstScreen == 0 && view->IconsOnScreenIn()) break;  // to the first idle at once
    }
    if (firstScreen == 0 && view->IconsOnScreenIn()) {
      app.OnIdle(0);
      firstScreen = Milliseconds(start, Clock::now());
    }
    if (!view->IconsArriving()) break;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  const double all = Milliseconds(start, Clock::now());
  loading = false;
  probe.join();
  ::SendMessageA(app.m_pMainWnd->m_hWnd, WM_CLOSE, 0, 0);
  std::printf("arrival %zu %.1f %.1f %.1f %zu\n", records, firstScreen, all, longestWait, PeakKiB());
  return 0;
}

// The system's icon sizes, at the display's scale.
SIZE IconSizes() { return {::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CXSMICON)}; }

// Both icons of a target at the display's sizes, as the launcher extracts them.
bool ExtractIcons(const std::string& target, HICON& large, HICON& small) {
  const SIZE sizes = IconSizes();
  return ::SHDefExtractIconA(target.c_str(), 0, 0, &large, &small, static_cast<UINT>(MAKELONG(sizes.cx, sizes.cy))) ==
         S_OK;
}

int RunDrop(const std::string& dataFile) {
  const auto records = ReadRecords(dataFile);
  const std::string emptyFile = dataFile + ".dropped";
  ::DeleteFileA(emptyFile.c_str());
  COrbelslaunchView::SetDataFilePathForTesting(emptyFile);
  COrbelslaunchApp app;
  app.PrepareRun(::GetModuleHandleA(nullptr), "", SW_SHOW);
  if (!app.InitInstance()) return 1;
  Pump();
  app.OnIdle(0);
  auto* frame = static_cast<CFrameWnd*>(app.m_pMainWnd);
  std::vector<std::string> paths;
  for (const auto& record : records) paths.push_back(record.m_strTarget);
  HGLOBAL drop = oltest::MakeDropHandle(paths);
  const auto start = Clock::now();
  ::SendMessageA(frame->GetActiveView()->m_hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  Pump();
  app.OnIdle(0);
  const auto idle = Clock::now();
  ::SendMessageA(frame->m_hWnd, WM_CLOSE, 0, 0);
  const auto closed = Clock::now();
  ::DeleteFileA(emptyFile.c_str());
  std::printf("drop %zu %.1f %.1f %zu\n", records.size(), Milliseconds(start, idle), Milliseconds(idle, closed),
              PeakKiB());
  return 0;
}

int RunFloor(const std::string& dataFile) {
  const auto records = ReadRecords(dataFile);
  const auto start = Clock::now();
  for (const auto& record : records) {
    HICON large = nullptr;
    HICON small = nullptr;
    if (ExtractIcons(record.m_strTarget, large, small)) {
      ::DestroyIcon(large);
      ::DestroyIcon(small);
    }
  }
  std::printf("floor %zu %.1f 0 %zu\n", records.size(), Milliseconds(start, Clock::now()), PeakKiB());
  return 0;
}

// Reading an icon's pixels exactly means copying its bitmaps (GetIconInfo); whoever puts an
// icon into an image list pays this once per icon, on top of the extraction.
int RunPixels(const std::string& dataFile) {
  const auto records = ReadRecords(dataFile);
  const auto start = Clock::now();
  for (const auto& record : records) {
    HICON icons[2] = {};
    if (!ExtractIcons(record.m_strTarget, icons[0], icons[1])) continue;
    for (HICON icon : icons) {
      ICONINFO info{};
      if (::GetIconInfo(icon, &info)) {
        ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
      }
      ::DestroyIcon(icon);
    }
  }
  std::printf("pixels %zu %.1f 0 %zu\n", records.size(), Milliseconds(start, Clock::now()), PeakKiB());
  return 0;
}

HWND CreateFrameAndList(DWORD listStyle) {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&init);
  HWND frame = ::CreateWindowExA(0, "STATIC", "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 450, 300, nullptr,
                                 nullptr, nullptr, nullptr);
  return ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | listStyle, 0, 0, 440, 260, frame, nullptr,
                           nullptr, nullptr);
}

struct ImageLists {
  HIMAGELIST large;
  HIMAGELIST small;
};

// Empty lists at the system's icon sizes, as the launcher's, handed to the list (which destroys
// them).
ImageLists AttachImageLists(HWND list) {
  const SIZE sizes = IconSizes();
  const ImageLists lists{::ImageList_Create(sizes.cx, sizes.cx, ILC_COLOR32 | ILC_MASK, 8, 4),
                         ::ImageList_Create(sizes.cy, sizes.cy, ILC_COLOR32 | ILC_MASK, 8, 4)};
  ::SendMessageA(list, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(lists.large));
  ::SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(lists.small));
  return lists;
}

// The list view's own cost for the items, put in the launcher's way but without any icon
// work: what no loader can avoid.
int RunItems(const std::string& dataFile) {
  auto records = ReadRecords(dataFile);
  const auto start = Clock::now();
  HWND list = CreateFrameAndList(LVS_ICON | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_EDITLABELS | LVS_NOSORTHEADER);
  // With image lists holding the launcher's two first images, so the items are laid out and
  // drawn as the launcher's are.
  const ImageLists lists = AttachImageLists(list);
  ::ImageList_SetImageCount(lists.large, 2);
  ::ImageList_SetImageCount(lists.small, 2);
  LVCOLUMNA column{};
  column.mask = LVCF_WIDTH;
  column.cx = 100;
  ::SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
  ::SendMessageA(list, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
  ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  ::SendMessageA(list, LVM_SETITEMCOUNT, records.size(), 0);
  const CListCtrl items(list);
  int index = 0;
  for (auto& record : records) ol::InsertShortcutItem(items, index++, &record);
  ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  Pump();
  std::printf("items %zu %.1f 0 %zu\n", records.size(), Milliseconds(start, Clock::now()), PeakKiB());
  return 0;
}

int RunBare(const std::string& dataFile) {
  const auto records = ReadRecords(dataFile);
  const auto start = Clock::now();
  HWND list = CreateFrameAndList(LVS_ICON | LVS_AUTOARRANGE);
  HWND frame = ::GetParent(list);
  const auto [large, small] = AttachImageLists(list);
  int index = 0;
  for (const auto& record : records) {
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    int image = 0;
    if (::ExtractIconExA(record.m_strTarget.c_str(), 0, &bigIcon, &smallIcon, 1) == 2) {
      image = ::ImageList_ReplaceIcon(large, -1, bigIcon);
      ::ImageList_ReplaceIcon(small, -1, smallIcon);
      ::DestroyIcon(bigIcon);
      ::DestroyIcon(smallIcon);
    }
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index++;
    item.pszText = const_cast<char*>(record.m_strName.c_str());
    item.iImage = image;
    ::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  Pump();
  const auto idle = Clock::now();
  ::DestroyWindow(frame);
  std::printf("bare %zu %.1f %.1f %zu\n", records.size(), Milliseconds(start, idle), Milliseconds(idle, Clock::now()),
              PeakKiB());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_bench app|arrival|floor|pixels|items|bare|drop <data file>\n");
    return 2;
  }
  const std::string mode = argv[1];
  if (mode == "app") return RunApp(argv[2]);
  if (mode == "arrival") {
    // An optional third argument: the number of fetching threads (else one per core, at most four).
    if (argc > 3) ol::CIconArrival::SetThreadsForTesting(std::atoi(argv[3]));
    return RunArrival(argv[2]);
  }
  if (mode == "floor") return RunFloor(argv[2]);
  if (mode == "pixels") return RunPixels(argv[2]);
  if (mode == "items") return RunItems(argv[2]);
  if (mode == "bare") return RunBare(argv[2]);
  if (mode == "drop") return RunDrop(argv[2]);
  return 2;
}
