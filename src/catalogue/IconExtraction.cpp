#include "catalogue/IconExtraction.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <vector>

#include "catalogue/ProgramFileIcons.h"
#include "util/CodePages.h"
#include "util/SystemUtil.h"

namespace ol {

namespace {

std::atomic<CIconCalls*> g_replacement{nullptr};

}  // namespace

bool CIconCalls::Stamp(const std::string& path, FileStamp* stamp) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
  stamp->size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  stamp->writeTime = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
  return true;
}

HRESULT CIconCalls::DefaultExtract(const std::string& path, IconSizes sizes, HICON* large, HICON* small) {
  return ::SHDefExtractIconA(path.c_str(), 0, 0, large, small, static_cast<UINT>(MAKELONG(sizes.large, sizes.small)));
}

HICON CIconCalls::ExtractAtSize(const std::string& path, int size) {
  HICON icon = nullptr;
  UINT id = 0;
  const UINT got = ::PrivateExtractIconsW(WidenText(path).c_str(), 0, size, size, &icon, &id, 1, LR_DEFAULTCOLOR);
  if (got == 0 || got == 0xFFFFFFFF) return nullptr;  // no icon, or no such file
  return icon;
}

void CIconCalls::ExtractAtSystemSizes(const std::string& path, HICON* large, HICON* small) {
  ::ExtractIconExW(WidenText(path).c_str(), 0, large, small, 1);
}

HICON CIconCalls::TypeIcon(const std::string& path, bool small) {
  SHFILEINFOA shell{};
  const UINT size = small ? SHGFI_SMALLICON : SHGFI_LARGEICON;
  return ::SHGetFileInfoA(path.c_str(), 0, &shell, sizeof shell, SHGFI_ICON | size) ? shell.hIcon : nullptr;
}

std::optional<TargetPictures> CIconCalls::ReadProgramFile(const std::string& path, IconSizes sizes) {
  // The system picks an icon's image by the display's colour depth; the file is read only where
  // that is 32 bits (a remote session may run at 16, and the system pick fewer colours then).
  static const bool fullColour = [] {
    HDC screen = ::GetDC(nullptr);
    const int bits = ::GetDeviceCaps(screen, BITSPIXEL) * ::GetDeviceCaps(screen, PLANES);
    ::ReleaseDC(nullptr, screen);
    return bits == 32;
  }();
  if (!fullColour) return std::nullopt;
  const UniqueKernelHandle file(::CreateFileW(WidenText(path).c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_RANDOM_ACCESS, nullptr));
  if (!file) return std::nullopt;
  // The reader asks for many small pieces that lie in a few places (the headers; the resources'
  // directories; the icon images): each read of the file takes a whole block around a piece,
  // and the last few blocks serve the pieces after it. (Not a mapping of the file: one on a
  // network share that goes away would fault.)
  struct Block {
    std::uint64_t start = 0;
    std::vector<std::uint8_t> bytes;
  };
  constexpr std::size_t kBlockSize = 64 * 1024;
  std::array<Block, 4> blocks;
  std::size_t next = 0;  // the block to use for the next read
  return ReadProgramFileIcons(
      [&](std::uint64_t offset, std::size_t size, void* into) {
        const auto holds = [&](const Block& block) {
          return offset >= block.start && offset + size <= block.start + block.bytes.size();
        };
        const auto held = std::find_if(blocks.begin(), blocks.end(), holds);
        Block* found = held != blocks.end() ? &*held : nullptr;
        if (found == nullptr) {
          Block& block = blocks[next++ % blocks.size()];
          block.start = offset & ~std::uint64_t{4095};
          block.bytes.resize(std::max(kBlockSize, static_cast<std::size_t>(offset - block.start) + size));
          LARGE_INTEGER at{};
          at.QuadPart = static_cast<LONGLONG>(block.start);
          DWORD read = 0;
          if (block.bytes.size() > MAXDWORD || !::SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN) ||
              !::ReadFile(file.Get(), block.bytes.data(), static_cast<DWORD>(block.bytes.size()), &read, nullptr)) {
            read = 0;
          }
          block.bytes.resize(read);
          if (!holds(block)) return false;  // the file ends before
          found = &block;
        }
        std::memcpy(into, found->bytes.data() + (offset - found->start), size);
        return true;
      },
      sizes);
}

CIconCalls& IconCalls() {
  // Never destroyed: a thread still inside the shell when the program ends may yet return here.
  static CIconCalls* const real = new CIconCalls;
  CIconCalls* replacement = g_replacement;
  return replacement != nullptr ? *replacement : *real;
}

void SetIconCallsForTesting(CIconCalls* replacement) { g_replacement = replacement; }

TargetIcons ExtractTargetIcons(const std::string& target, IconSizes sizes) {
  CIconCalls& calls = IconCalls();
  TargetIcons icons;
  HICON large = nullptr;
  HICON small = nullptr;
  // The handles are trusted only with S_OK.
  const HRESULT result = calls.DefaultExtract(target, sizes, &large, &small);
  if (result == S_OK) {
    icons.large.Reset(large);
    icons.small.Reset(small);
  } else if (FAILED(result)) {
    // The shell declines a file "accessed through a slow link", and a program there is no less
    // a program: the icon of a file that is there is taken without that judgement, at each
    // size, else at the system's sizes for the lists to scale.
    if (FileStamp stamp; calls.Stamp(target, &stamp)) {
      icons.large.Reset(calls.ExtractAtSize(target, sizes.large));
      icons.small.Reset(calls.ExtractAtSize(target, sizes.small));
      if (!icons.Any()) {
        HICON systemLarge = nullptr;
        HICON systemSmall = nullptr;
        calls.ExtractAtSystemSizes(target, &systemLarge, &systemSmall);
        icons.large.Reset(systemLarge);
        icons.small.Reset(systemSmall);
      }
    }
    icons.unreadable = !icons.Any();
  }
  // A batch file holds no icon, yet it is a program: it takes the shell's icon for its type,
  // so that it is not taken for a program whose target is gone.
  if (!icons.Any() && IsBatchFile(target)) {
    icons.large.Reset(calls.TypeIcon(target, false));
    icons.small.Reset(calls.TypeIcon(target, true));
    icons.unreadable = icons.unreadable && !icons.Any();
  }
  return icons;
}

}  // namespace ol
