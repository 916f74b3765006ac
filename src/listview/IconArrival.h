// The catalogue's program icons arriving after the list is shown: at start-up, and again when
// the window moves to a display of another scale. Each program shortcut holds its own position
// in the image lists from the start, which shows a neutral "loading" picture once the shortcut
// is on screen, until a thread of its own (CIconFetcher) has fetched the target's icon, the
// shortcuts on screen first. The
// window's thread only copies the pictures in, a short batch at a time. Whatever needs a
// shortcut's icon before it arrived fetches it at once. When every icon is in, the positions
// of programs whose targets gave none are closed up, so each shortcut ends with the icon index
// that loading them one by one gives.
#pragma once

#include <windows.h>

#include <chrono>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "catalogue/IconFetcher.h"
#include "catalogue/TargetImages.h"
#include "catalogue/Shortcut.h"
#include "framework/ImageList.h"
#include "framework/ListCtrl.h"

namespace ol {

// The message the fetcher posts to the view when icons wait, and the view's timer that goes
// on with them after the window has answered its input.
inline constexpr UINT kWmIconsFetched = WM_APP + 1;
inline constexpr UINT_PTR kIconArrivalTimer = 1;

class CIconArrival {
 public:
  CIconArrival(const CListCtrl& list, CImageList& large, CImageList& small) : m_list(list), m_large(large), m_small(small) {}

  // Fetches the icons of every program item whose picture is still to come: after a catalogue
  // was planned and its items put in (nothing from before), or after the lists were made anew
  // (`oldLarge` and `oldSmall` are the lists they replace, kept until every icon is in: a
  // target that gives no icon now keeps its old picture).
  void Start(HWND view);
  void Restart(HWND view, CImageList&& oldLarge, CImageList&& oldSmall);

  // kWmIconsFetched and the timer: a batch of fetched icons put in.
  void OnFetched();
  // The list is about to paint what is on screen: those items' icons are fetched first.
  void PutOnScreenFirst();
  // The record's icon is wanted now: fetched on this thread if it has not arrived yet.
  void NeedNow(CShortcut& record);
  // The record goes (its item is deleted) / every record goes.
  void Forget(const CShortcut* record);
  void ForgetAll();
  // Images are about to be appended or the shortcuts to change: a close-up under way is done
  // first, at once (it is done a batch at a time otherwise).
  void FinishClosingUp();
  // True until every icon is in and the lists are closed up.
  bool Busy() const { return m_bBusy; }
  // True once the icons of the items last seen on screen are in.
  bool OnScreenIn() const;
  // Stops fetching at once: nothing more is fetched or put in (the window is closing).
  void Stop();

 private:
  struct Job {
    CShortcut* record;
    int index;      // its position in the lists
    int item;       // where its item was when last seen
    bool hadPicture;  // a picture of the target stood there before the lists were made anew
    bool settled = false;
    bool shown = false;  // its position shows the loading picture or the icon
  };
  // Puts a fetched picture in; true when something changed on screen.
  bool Settle(Job& job, const TargetImages* images);
  int ItemOf(Job& job) const;
  // The fetcher stopped and everything held for the fetch let go.
  void Release();
  // Every icon is in: the positions left unused are closed up, a batch at a time.
  void Finish();
  // Moves images down over the unused positions until done (true) or the time is up.
  bool CloseUp(std::chrono::steady_clock::duration time);
  void Done();

  const CListCtrl& m_list;
  CImageList& m_large;
  CImageList& m_small;
  HWND m_hView = nullptr;
  CIconFetcher m_fetcher;
  std::vector<Job> m_jobs;
  std::unordered_map<const CShortcut*, int> m_jobOf;
  std::vector<int> m_gaps;  // positions no shortcut will use: closed up at the end
  std::vector<int> m_onScreen;
  CImageList m_oldLarge;
  CImageList m_oldSmall;
  std::shared_ptr<const TargetImages> m_loading;  // the loading picture at the lists' sizes
  bool m_bBusy = false;
  // The close-up: the next image to move, and the shortcut (and its item) of each image.
  bool m_bClosingUp = false;
  int m_nCloseFrom = 0;
  std::vector<std::pair<CShortcut*, int>> m_atIndex;
};

// The items with some part on screen: first and last, or -1 and -2 for none. Quick whatever
// the number of items, in every view mode.
struct ItemRange {
  int first;
  int last;
};
ItemRange ItemsOnScreen(const CListCtrl& list);

}  // namespace ol
