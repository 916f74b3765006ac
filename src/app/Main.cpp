// The program's entry point: the one application object runs everything.
#include <windows.h>

#include "app/OrbelslaunchApp.h"

namespace {
COrbelslaunchApp theApp;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
  return theApp.WinMain(instance, commandLine, showCommand);
}
