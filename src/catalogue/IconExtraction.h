// A program target's icon taken from its file at the sizes the view's image lists want. The
// calls that look at a target and take its icon go through one small seam, so that a test can
// answer them the way Windows answers for a file on a slow link, count them, or hold an
// extraction inside the shell.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "catalogue/IconPicture.h"
#include "framework/Handle.h"

namespace ol {

struct TargetIcons {
  UniqueIcon large;
  UniqueIcon small;
  bool unreadable = false;  // no icon because the file could not be read, not for want of one
  bool Any() const { return static_cast<bool>(large) || static_cast<bool>(small); }
};

class CIconCalls {
 public:
  virtual ~CIconCalls() = default;
  // GetFileAttributesExA: the file's size and last-write time; false when it is not there.
  virtual bool Stamp(const std::string& path, FileStamp* stamp);
  // SHDefExtractIconA: the file's first icon at both sizes. S_OK with both icons, S_FALSE for
  // a file without icons, an error for a file it cannot or will not read.
  virtual HRESULT DefaultExtract(const std::string& path, IconSizes sizes, HICON* large, HICON* small);
  // PrivateExtractIconsW: the file's first icon at one size, or null.
  virtual HICON ExtractAtSize(const std::string& path, int size);
  // ExtractIconExW: the file's first icon at the system's sizes (either may stay null).
  virtual void ExtractAtSystemSizes(const std::string& path, HICON* large, HICON* small);
  // SHGetFileInfoA: the shell's icon for the file's type at the system's large or small size.
  virtual HICON TypeIcon(const std::string& path, bool small);
  // The file's first icon read from its resources without the shell, where that is certainly
  // the shell's answer (ReadProgramFileIcons); nothing otherwise.
  virtual std::optional<TargetPictures> ReadProgramFile(const std::string& path, IconSizes sizes);
};

// The calls the program uses.
CIconCalls& IconCalls();
// For tests: `replacement` answers every call until nullptr puts the real calls back.
void SetIconCallsForTesting(CIconCalls* replacement);

// The target's first icon, large and small, each at the size asked for when the file has it.
// No icon at all only for a file that really gives none: one the shell declines to read (it
// does so for a file on a slow network link) is read again without that judgement.
TargetIcons ExtractTargetIcons(const std::string& target, IconSizes sizes);

}  // namespace ol
