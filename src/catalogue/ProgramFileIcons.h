// A program file's (.exe, .dll) first icon read straight from the resources in the file, at the
// two list sizes, without asking the system to load the file or make icons of it: the cheap way
// for most programs, and one that many threads can take at once.
//
// It answers only where the answer is certainly the system's own: the first icon group (by
// directory order, as the shell numbers them) holds, for each size, an image of exactly that
// size in full 32-bit colour, which the system's choice of the best image (exact size, the
// colour depth nearest the display's 32 bits) takes as it is. Anything else (no such image, a
// size the system would scale, a compressed image, more than one language, a file that is no
// program or is damaged) gives nothing, and the shell is asked. Portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "catalogue/IconPicture.h"

namespace ol {

// Reads `size` bytes at `offset` of the file into `into`; false when the file ends before.
using FileReader = std::function<bool(std::uint64_t offset, std::size_t size, void* into)>;

std::optional<TargetPictures> ReadProgramFileIcons(const FileReader& read, IconSizes sizes);

}  // namespace ol
