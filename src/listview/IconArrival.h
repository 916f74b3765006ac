// The program shortcuts' icons in the view's image lists, and the one owner of every change of a
// record's icon index.
//
// At start-up each program record has a position of its own in the lists (planned as it is
// loaded); its picture comes from the icon cache at once where the cache knows its target, and
// from the fetching threads (CIconFetcher) otherwise, the shortcuts on screen first. A position
// on screen whose picture is still to come shows a neutral "loading" picture. The window's thread
// only copies pictures in, a short batch at a time. A target that is not there or gives no icon
// leaves its position unused and its record at icon index 0 (which the launch refuses).
// Positions are never renumbered, and no record pointer is kept from one message to the next:
// the arrival knows positions and targets only.
//
// Whatever needs a shortcut's icon before it arrived (a launch, Properties, Reload Icon) looks at
// its target at once, on the window's thread, without waiting for a fetching thread.
// (IconArrival.cpp: a start and the results; IconArrivalCommands.cpp: what launching and editing
// ask; IconCacheUse.cpp: the icon cache's file and its pictures put in by the strip.)
#pragma once

#include <windows.h>

#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "catalogue/IconCache.h"
#include "catalogue/IconFetcher.h"
#include "catalogue/PictureStrips.h"
#include "catalogue/Shortcut.h"
#include "catalogue/TargetPictures.h"
#include "framework/Handle.h"
#include "framework/ImageList.h"
#include "framework/ListCtrl.h"
#include "framework/MessageWindow.h"

namespace ol {

class CIconArrival {
 public:
  CIconArrival(const CListCtrl& list, CImageList& large, CImageList& small);
  ~CIconArrival();
  CIconArrival(const CIconArrival&) = delete;
  CIconArrival& operator=(const CIconArrival&) = delete;

  // The icon cache file beside the catalogue: read before the icons start (one that cannot be
  // used is ignored), written once the catalogue has been saved (failures are silent: it is
  // made again next time).
  void ReadCache(const std::string& path);
  void WriteCache();

  // The program items just loaded, each at its planned position, get their pictures.
  void Start();
  // The lists were made anew for another display scale (`oldLarge` and `oldSmall` are the ones
  // they replace): every picture comes again at the new size. A target that gives none now keeps
  // its old picture.
  void Rescale(CImageList&& oldLarge, CImageList&& oldSmall);

  // The list is about to paint: what is on screen is fetched first, shows what the cache knows,
  // or the loading picture.
  void PutOnScreenFirst();
  // The record's icon index is final after this: its target looked at now, unless it is known.
  // `item` is the record's item.
  void Settle(CShortcut& record, int item);
  // Where a stored target is on this computer, as last looked at: on the launcher's own drive
  // when the launcher came on a removable drive that has another letter here.
  std::string TargetOf(const std::string& stored) const;
  // New program records (not in the list yet): their pictures appended, their icon indices set.
  void AddPrograms(const std::vector<CShortcut*>& records);
  // The record's target changed, or its icon is reloaded: taken afresh from the target, into the
  // record's position, or appended when it had none. A target that gives none keeps the picture.
  void Refresh(CShortcut& record, int item);
  // Reload Icon found the target gone: the record's index becomes 0 and its item keeps the
  // picture it shows.
  void MarkTargetGone(CShortcut& record);
  // The record's item goes / every item goes.
  void Forget(const CShortcut& record);
  void ForgetAll();
  // Nothing more is fetched or put in (the window is closing). Never waits for a thread.
  void Stop();

  // True until every picture is in.
  bool Busy() const { return m_bBusy; }
  // True once the items last seen on screen show their pictures.
  bool OnScreenIn() const;

  // How many threads fetch; tests may choose.
  static void SetThreadsForTesting(int threads);

 private:
  struct Job {
    std::string target;
    std::vector<int> positions;      // its program shortcuts' positions still waiting for it
    CIconCache::Pictures pictures;   // what its positions are to show: known or fetched
    bool fetched = false;            // the target has been looked at in this run
    bool folder = false;             // a folder shortcut's: only where it is counts
  };
  struct Slot {
    int job = -1;                    // -1: the position's picture is final
    CIconCache::Pictures placed;     // the pictures in the lists there
    bool loading = false;            // the loading picture is there
    bool oldPicture = false;         // the lists replaced by a rescale hold its picture there
    bool copiedOld = false;          // that old picture was put in again: the target gave none
    bool gone = false;               // its shortcut went
  };

  static int FetchingThreads();
  void Begin(bool rescaled);
  void EnsureWindow();
  // A batch of results put in, and known pictures placed; goes on later while any wait.
  void OnWork();
  void GoOnLater();
  // What a job's target gave: its positions show its pictures, or, for none, stay unused;
  // true when something on screen changed.
  bool Apply(int job, TargetLook look);
  // A stored target found `where` (empty: nowhere); true when that changed.
  bool Found(const std::string& stored, const std::string& where);
  int JobOf(const CShortcut& record) const;
  CIconCache& Cache();
  // Puts the job's pictures at one of its positions; true when something there changed.
  bool Show(int position);
  // A position is let go by its job (its shortcut went, or its target changed).
  void Detach(int position);
  // The record's item brought up to date: index 0 when its target turned out to give no icon,
  // and the place where its target was found.
  void UpdateItem(CShortcut& record, int item);
  bool PlaceAt(int position, const TargetPictures& pictures);
  // Known pictures put in: a strip into the fresh lists, or, without them, a few one by one;
  // false when none are left.
  bool PlaceKnown();
  const TargetPictures* RefillPictures(int position, std::deque<TargetPictures>& readBack);
  // The fresh lists, complete, take the current ones' place in the list.
  void SwapInRefill();
  // Every picture is in: the records of targets without an icon get index 0.
  void Finish();
  Slot* SlotOf(int position);

  const CListCtrl& m_list;
  CImageList& m_large;
  CImageList& m_small;
  std::unique_ptr<CMessageWindow> m_window;  // for the threads' posts and the arrival's timer
  std::string m_strCachePath;
  std::shared_ptr<CIconCache> m_cache;
  CIconFetcher m_fetcher;
  const char m_launcherDrive;
  std::vector<Job> m_jobs;
  std::unordered_map<std::string, int> m_folderJobOf;  // a folder target's job
  std::unordered_map<std::string, std::string> m_found;  // stored targets found elsewhere
  std::vector<Slot> m_slots;       // by position
  bool m_bRefilling = false;       // known pictures go into fresh lists by the strip,
  std::unique_ptr<CPictureStrips> m_refill;  // these, made at the first strip
  std::size_t m_knownNext = 0;     // without them: the next job whose known pictures go in
  std::vector<int> m_onScreen;     // jobs on screen when last painted, in order
  std::unique_ptr<CPicturePlacer> m_placeLarge;
  std::unique_ptr<CPicturePlacer> m_placeSmall;
  std::optional<TargetPictures> m_loading;
  CImageList m_oldLarge;
  CImageList m_oldSmall;
  bool m_bBusy = false;
  bool m_bTurnPosted = false;      // the arrival's own message is on its way
  bool m_bNoIconSeen = false;      // some record still carries the position of an iconless target
};

}  // namespace ol
