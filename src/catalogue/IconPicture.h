// A program target's icon as plain pixels, at the sizes of the view's two image lists: what the
// icon threads hand to the window, what the icon cache keeps on disk, and what goes into the
// lists. Portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ol {

// The sizes of the large and the small icons, in pixels (32 and 16 at 100 % display scaling).
struct IconSizes {
  int large = 32;
  int small = 16;
  bool operator==(const IconSizes&) const = default;
};

// One list's picture: `size` x `size` pixels, top row first.
struct IconPicture {
  int size = 0;
  std::vector<std::uint32_t> color;  // 32-bit pixels, blue in the low byte, alpha in the high one
  std::vector<std::uint8_t> mask;    // one bit a pixel, first pixel in the high bit, set where
                                     // the picture is transparent; rows of MaskRowBytes(size)
  bool operator==(const IconPicture&) const = default;
};

// A monochrome bitmap's rows are whole 16-bit words.
constexpr std::size_t MaskRowBytes(int size) { return static_cast<std::size_t>((size + 15) / 16) * 2; }

// True when the picture's pixels and mask are complete for its size.
bool IsWhole(const IconPicture& picture);

// A target's icon in both lists.
struct TargetPictures {
  IconPicture large;
  IconPicture small;
  bool operator==(const TargetPictures&) const = default;
};

// A file as last seen: its size and last-write time (the system's 64-bit file time). A file that
// is replaced or rewritten has another stamp.
struct FileStamp {
  std::uint64_t size = 0;
  std::uint64_t writeTime = 0;
  bool operator==(const FileStamp&) const = default;
};

}  // namespace ol
