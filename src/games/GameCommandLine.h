// Command lines for starting the two games: the preview text shown in the options dialogs, the
// switches the dialog route passes on, the quick route's command line and the working
// directories. Portable: no <windows.h>; the code page's lead-byte test is passed in.
#pragma once

#include <string>
#include <string_view>

#include "util/PathText.h"

namespace ol {

// ---- The Orbels -------------------------------------------------------------------------

inline constexpr std::string_view kFirstGameExecutable = "Orbels.exe";

struct FirstGameOptions {
  bool runHighRes = false;
  bool skipIntro = false;
  bool runInWindow = false;
  bool noSound = false;
  bool skipSystemCheck = false;
  bool disableDX6 = false;

  // From stored flags, which may hold any integer: non-zero means set.
  static FirstGameOptions FromFlags(int runHighRes, int skipIntro, int runInWindow, int noSound,
                                    int skipSystemCheck, int disableDX6);
};

// The switches of the set options in the game's fixed order, each with one blank in front;
// empty when none is set.
std::string FirstGameSwitches(const FirstGameOptions& options);

// "Orbels.exe" followed by the switches.
std::string FirstGamePreview(const FirstGameOptions& options);

// The location and "\Orbels.exe" joined as they are: a trailing backslash in the location is
// kept, so the result then holds two backslashes in a row.
std::string FirstGameProgramPath(std::string_view gameLocation);

// Quick route: the program path followed by the switches. Blanks in the path are not quoted.
std::string FirstGameQuickCommandLine(std::string_view gameLocation, const FirstGameOptions& options);

// The game runs in its location.
std::string FirstGameWorkingDirectory(std::string_view gameLocation);

// ---- The Orbels 2 -----------------------------------------------------------------------

// Stored resolution choice; any other stored value may turn up too.
inline constexpr int kResolutionNone = -1;
inline constexpr int kResolution800x600 = 0;
inline constexpr int kResolution1024x768 = 1;
inline constexpr int kResolutionCustom = 2;

struct SecondGameOptions {
  bool runInWindow = false;
  bool noSound = false;
  bool specifyResolution = false;
  int resolution = kResolutionNone;
  std::string customResolution;

  // From stored flags, which may hold any integer: non-zero means set. The resolution is
  // kept as stored.
  static SecondGameOptions FromFlags(int runInWindow, int noSound, int specifyResolution, int resolution,
                                     std::string customResolution);
};

// The executable's file name, then " -w", " -nosound" and the resolution switch. Every
// resolution value other than the two fixed sizes gives " -r" and the custom text as typed.
std::string SecondGamePreview(std::string_view executablePath, const SecondGameOptions& options,
                              LeadByteTest isLeadByte);

// Quick route: only the switches, each with one blank in front. Unlike the preview, a
// resolution value other than 0, 1 and 2 adds no resolution switch at all.
std::string SecondGameQuickCommandLine(const SecondGameOptions& options);

// The executable's directory: the path before its last backslash; empty when it has none.
std::string SecondGameWorkingDirectory(std::string_view executablePath, LeadByteTest isLeadByte);

// ---- Both games -------------------------------------------------------------------------

// Dialog route: the preview from its first '-' to its end; empty when it holds no '-'.
// A file name containing '-' is cut there as well.
std::string SwitchesFromPreview(std::string_view preview);

}  // namespace ol
