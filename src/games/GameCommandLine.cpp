#include "games/GameCommandLine.h"

#include <utility>

namespace ol {

FirstGameOptions FirstGameOptions::FromFlags(int runHighRes, int skipIntro, int runInWindow, int noSound,
                                             int skipSystemCheck, int disableDX6) {
  FirstGameOptions options;
  options.runHighRes = runHighRes != 0;
  options.skipIntro = skipIntro != 0;
  options.runInWindow = runInWindow != 0;
  options.noSound = noSound != 0;
  options.skipSystemCheck = skipSystemCheck != 0;
  options.disableDX6 = disableDX6 != 0;
  return options;
}

std::string FirstGameSwitches(const FirstGameOptions& options) {
  // The order is the game's own; keep it.
  std::string switches;
  if (options.runHighRes) switches += " -r1024x768";
  if (options.skipIntro) switches += " -skip_intro";
  if (options.runInWindow) switches += " -w";
  if (options.noSound) switches += " -nosound";
  if (options.skipSystemCheck) switches += " -skip_verify";
  if (options.disableDX6) switches += " -nodx6";
  return switches;
}

std::string FirstGamePreview(const FirstGameOptions& options) {
  return std::string(kFirstGameExecutable) + FirstGameSwitches(options);
}

std::string FirstGameProgramPath(std::string_view gameLocation) {
  std::string path(gameLocation);
  path += '\\';
  path += kFirstGameExecutable;
  return path;
}

std::string FirstGameQuickCommandLine(std::string_view gameLocation, const FirstGameOptions& options) {
  return FirstGameProgramPath(gameLocation) + FirstGameSwitches(options);
}

std::string FirstGameWorkingDirectory(std::string_view gameLocation) { return std::string(gameLocation); }

SecondGameOptions SecondGameOptions::FromFlags(int runInWindow, int noSound, int specifyResolution, int resolution,
                                               std::string customResolution) {
  SecondGameOptions options;
  options.runInWindow = runInWindow != 0;
  options.noSound = noSound != 0;
  options.specifyResolution = specifyResolution != 0;
  options.resolution = resolution;
  options.customResolution = std::move(customResolution);
  return options;
}

namespace {

// The window and sound switches, shared by the preview and the quick route.
std::string SecondGameLeadingSwitches(const SecondGameOptions& options) {
  std::string switches;
  if (options.runInWindow) switches += " -w";
  if (options.noSound) switches += " -nosound";
  return switches;
}

}  // namespace

std::string SecondGamePreview(std::string_view executablePath, const SecondGameOptions& options,
                              LeadByteTest isLeadByte) {
  std::string preview = FileNamePartOf(executablePath, isLeadByte);
  preview += SecondGameLeadingSwitches(options);
  if (options.specifyResolution) {
    if (options.resolution == kResolution800x600) {
      preview += " -r800x600";
    } else if (options.resolution == kResolution1024x768) {
      preview += " -r1024x768";
    } else {
      // Any other value, even none or a stray one, shows the custom text.
      preview += " -r";
      preview += options.customResolution;
    }
  }
  return preview;
}

std::string SecondGameQuickCommandLine(const SecondGameOptions& options) {
  std::string commandLine = SecondGameLeadingSwitches(options);
  if (options.specifyResolution) {
    // Only the three known choices give a switch here; a stray value gives none.
    if (options.resolution == kResolution800x600) {
      commandLine += " -r800x600";
    } else if (options.resolution == kResolution1024x768) {
      commandLine += " -r1024x768";
    } else if (options.resolution == kResolutionCustom) {
      commandLine += " -r";
      commandLine += options.customResolution;
    }
  }
  return commandLine;
}

std::string SecondGameWorkingDirectory(std::string_view executablePath, LeadByteTest isLeadByte) {
  return DirectoryPartOf(executablePath, isLeadByte);
}

std::string SwitchesFromPreview(std::string_view preview) {
  // A plain byte search is safe: '-' (0x2D) is never the trail byte of a double-byte character.
  const std::size_t dash = preview.find('-');
  return dash == std::string_view::npos ? std::string() : std::string(preview.substr(dash));
}

}  // namespace ol
