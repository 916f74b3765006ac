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
  if (!catalogue.TakeAtStartUp()) return 0;
  return theApp.WinMain(instance, commandLine, showCommand);
}
