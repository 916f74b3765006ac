// The program's entry point: the one application object runs everything.
#include <windows.h>

#include "app/OrbelslaunchApp.h"
#include "util/SystemUtil.h"

namespace {
COrbelslaunchApp theApp;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
  ol::LoadLibrariesFromSystemOnly();
  return theApp.WinMain(instance, commandLine, showCommand);
}
