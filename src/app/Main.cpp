// The program's entry point: the one application object runs everything.
#include <windows.h>

#include "app/CatalogueLock.h"
#include "app/OrbelslaunchApp.h"
#include "catalogue/DataFile.h"
#include "util/SystemUtil.h"

namespace {
COrbelslaunchApp theApp;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
  ol::LoadLibrariesFromSystemOnly();
  // One running copy per catalogue: a start that does not get it reads and writes nothing, so
  // two copies never overwrite each other's changes.
  ol::CCatalogueLock catalogue(ol::DefaultDataFilePath());
  switch (catalogue.Take()) {
    case ol::CCatalogueLock::Outcome::kRun:
      return theApp.WinMain(instance, commandLine, showCommand);
    case ol::CCatalogueLock::Outcome::kHeldElsewhere:
      catalogue.ReportHeldElsewhere();
      return 0;
    case ol::CCatalogueLock::Outcome::kBroughtForward:
      break;
  }
  return 0;
}
