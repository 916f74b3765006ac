#include "catalogue/ProgramFileIcons.h"

#include <array>
#include <cstdlib>
#include <vector>

namespace ol {

namespace {

constexpr std::uint32_t kIconType = 3;       // an image of an icon
constexpr std::uint32_t kIconGroupType = 14; // a group of images of one icon at several sizes
constexpr std::uint32_t kHighBit = 0x80000000u;
// Beyond any real program's: a damaged file cannot make the reader take much time or memory.
constexpr std::uint32_t kMostSections = 96;
constexpr std::uint32_t kMostEntries = 4096;
constexpr std::uint16_t kMostGroupImages = 256;

std::uint16_t Word(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t Long(const std::uint8_t* p) { return Word(p) | (static_cast<std::uint32_t>(Word(p + 2)) << 16); }

class ProgramFile {
 public:
  explicit ProgramFile(const FileReader& read) : m_read(read) {}

  // The headers read: where the resources are and how their addresses map to the file.
  bool Open() {
    std::array<std::uint8_t, 64> dos{};
    if (!m_read(0, dos.size(), dos.data()) || dos[0] != 'M' || dos[1] != 'Z') return false;
    const std::uint32_t pe = Long(&dos[0x3C]);
    std::array<std::uint8_t, 24> header{};
    if (!m_read(pe, header.size(), header.data()) || Long(&header[0]) != 0x00004550u) return false;
    const std::uint16_t sections = Word(&header[6]);
    const std::uint16_t optionalSize = Word(&header[20]);
    if (sections == 0 || sections > kMostSections || optionalSize < 2) return false;
    std::vector<std::uint8_t> optional(optionalSize);
    if (!m_read(pe + 24, optional.size(), optional.data())) return false;
    // The resources' place among the data directories: the third, after exports and imports.
    const std::uint16_t magic = Word(&optional[0]);
    const std::size_t directories = magic == 0x10B ? 96 : magic == 0x20B ? 112 : 0;
    if (directories == 0 || optional.size() < directories + 24 || Long(&optional[directories - 4]) < 3) return false;
    m_resources = Long(&optional[directories + 16]);
    if (m_resources == 0) return false;
    m_sections.resize(sections * 40u);
    return m_read(pe + 24 + optionalSize, m_sections.size(), m_sections.data());
  }

  // Bytes at an address of the loaded program, from the section that holds them in the file.
  bool ReadAt(std::uint32_t address, std::size_t size, void* into) const {
    for (std::size_t s = 0; s + 40 <= m_sections.size(); s += 40) {
      const std::uint32_t start = Long(&m_sections[s + 12]);
      const std::uint32_t inFile = Long(&m_sections[s + 16]);
      if (address < start || address - start >= inFile) continue;
      if (size > inFile - (address - start)) return false;
      return m_read(std::uint64_t{Long(&m_sections[s + 20])} + (address - start), size, into);
    }
    return false;
  }

  // A directory's entries in their order: those with names, then those with numbers.
  struct Entry {
    std::uint32_t name;   // a number, or kHighBit and where the name is
    std::uint32_t place;  // kHighBit and where a directory is, or where a data entry is
  };
  std::optional<std::vector<Entry>> Directory(std::uint32_t place) const {
    std::array<std::uint8_t, 16> header{};
    if (!ReadAt(m_resources + place, header.size(), header.data())) return std::nullopt;
    const std::uint32_t count = std::uint32_t{Word(&header[12])} + Word(&header[14]);
    if (count > kMostEntries) return std::nullopt;
    std::vector<std::uint8_t> bytes(count * 8u);
    if (!ReadAt(m_resources + place + 16, bytes.size(), bytes.data())) return std::nullopt;
    std::vector<Entry> entries;
    for (std::size_t i = 0; i < bytes.size(); i += 8) entries.push_back({Long(&bytes[i]), Long(&bytes[i + 4])});
    return entries;
  }

  // The data of a resource whose directory of languages is at `place`: with one language only,
  // as a program the system would not choose among.
  std::optional<std::vector<std::uint8_t>> Data(std::uint32_t place, std::size_t atMost) const {
    if ((place & kHighBit) == 0) return std::nullopt;
    const auto languages = Directory(place & ~kHighBit);
    if (!languages || languages->size() != 1 || ((*languages)[0].place & kHighBit) != 0) return std::nullopt;
    std::array<std::uint8_t, 8> entry{};
    if (!ReadAt(m_resources + (*languages)[0].place, entry.size(), entry.data())) return std::nullopt;
    const std::uint32_t size = Long(&entry[4]);
    if (size > atMost) return std::nullopt;
    std::vector<std::uint8_t> data(size);
    if (!ReadAt(Long(&entry[0]), data.size(), data.data())) return std::nullopt;
    return data;
  }

 private:
  const FileReader& m_read;
  std::uint32_t m_resources = 0;
  std::vector<std::uint8_t> m_sections;
};

// The group's image the system takes for `size`: of exactly that size, and of those the one
// whose colour depth is nearest 32 bits, the first on a tie. Only a 32-bit one is ours to read.
std::optional<std::uint16_t> ImageForSize(const std::vector<std::uint8_t>& group, int size) {
  if (group.size() < 6 || Word(&group[0]) != 0 || Word(&group[2]) != 1) return std::nullopt;
  const std::uint16_t count = Word(&group[4]);
  if (count > kMostGroupImages || group.size() < 6u + count * 14u) return std::nullopt;
  std::optional<std::uint16_t> best;
  int nearest = 1 << 16;
  for (std::uint16_t i = 0; i < count; ++i) {
    const std::uint8_t* image = &group[6u + i * 14u];
    const int width = image[0] == 0 ? 256 : image[0];
    const int height = image[1] == 0 ? 256 : image[1];
    if (width != size || height != size) continue;
    const int depth = Word(image + 6);
    if (depth == 0) return std::nullopt;  // a depth the group does not say: the system would judge otherwise
    if (std::abs(depth - 32) < nearest) {
      nearest = std::abs(depth - 32);
      best = depth == 32 ? std::optional<std::uint16_t>(Word(image + 12)) : std::nullopt;
    }
  }
  return best;
}

// A 32-bit image of `size` pixels as stored (a bitmap's header, its rows from the bottom up, then
// the transparency mask's rows, each a whole number of 32-bit words).
std::optional<IconPicture> DecodeImage(const std::vector<std::uint8_t>& data, int size) {
  if (data.size() < 40) return std::nullopt;
  const std::uint32_t headerSize = Long(&data[0]);
  const auto width = static_cast<std::int32_t>(Long(&data[4]));
  const auto height = static_cast<std::int32_t>(Long(&data[8]));
  if (headerSize < 40 || headerSize > data.size() || width != size || height != 2 * size || Word(&data[12]) != 1 ||
      Word(&data[14]) != 32 || Long(&data[16]) != 0 || Long(&data[32]) != 0) {
    return std::nullopt;
  }
  const std::size_t pixels = static_cast<std::size_t>(size) * static_cast<std::size_t>(size);
  const std::size_t maskStride = static_cast<std::size_t>((size + 31) / 32) * 4;
  if (data.size() - headerSize < pixels * 4 + maskStride * static_cast<std::size_t>(size)) return std::nullopt;
  IconPicture picture{size, std::vector<std::uint32_t>(pixels), std::vector<std::uint8_t>(MaskRowBytes(size) * size)};
  const std::uint8_t* color = &data[headerSize];
  const std::uint8_t* mask = color + pixels * 4;
  for (int y = 0; y < size; ++y) {
    const std::size_t stored = static_cast<std::size_t>(size - 1 - y);
    for (int x = 0; x < size; ++x) {
      picture.color[static_cast<std::size_t>(y) * size + x] = Long(color + (stored * size + x) * 4);
    }
    for (std::size_t b = 0; b < MaskRowBytes(size) && b < maskStride; ++b) {
      picture.mask[static_cast<std::size_t>(y) * MaskRowBytes(size) + b] = mask[stored * maskStride + b];
    }
  }
  // Bits past the last pixel of a row are left clear, as a read of the system's icon leaves them.
  if (const int spare = static_cast<int>(MaskRowBytes(size) * 8) - size; spare > 0) {
    for (int y = 0; y < size; ++y) {
      for (int x = size; x < size + spare; ++x) {
        picture.mask[static_cast<std::size_t>(y) * MaskRowBytes(size) + x / 8] &= static_cast<std::uint8_t>(~(0x80 >> (x % 8)));
      }
    }
  }
  return picture;
}

}  // namespace

std::optional<TargetPictures> ReadProgramFileIcons(const FileReader& read, IconSizes sizes) {
  ProgramFile file(read);
  if (!file.Open()) return std::nullopt;
  const auto types = file.Directory(0);
  if (!types) return std::nullopt;
  std::optional<std::vector<ProgramFile::Entry>> groups;
  std::optional<std::vector<ProgramFile::Entry>> images;
  for (const ProgramFile::Entry& type : *types) {
    if ((type.place & kHighBit) == 0) continue;
    if (type.name == kIconGroupType) groups = file.Directory(type.place & ~kHighBit);
    if (type.name == kIconType) images = file.Directory(type.place & ~kHighBit);
  }
  if (!groups || groups->empty() || !images) return std::nullopt;
  const auto group = file.Data(groups->front().place, 6u + kMostGroupImages * 14u);
  if (!group) return std::nullopt;
  // Both images chosen before either is read: a file that holds one size only costs no more.
  const std::array<int, 2> size{sizes.large, sizes.small};
  const std::array<std::optional<std::uint16_t>, 2> ids{ImageForSize(*group, size[0]), ImageForSize(*group, size[1])};
  if (!ids[0] || !ids[1]) return std::nullopt;
  std::array<IconPicture, 2> pictures;
  for (int which = 0; which < 2; ++which) {
    const std::optional<std::uint16_t>& id = ids[which];
    std::optional<std::vector<std::uint8_t>> data;
    for (const ProgramFile::Entry& image : *images) {
      if (image.name == *id) data = file.Data(image.place, 64 + static_cast<std::size_t>(size[which]) * size[which] * 5);
    }
    std::optional<IconPicture> picture = data ? DecodeImage(*data, size[which]) : std::nullopt;
    if (!picture) return std::nullopt;
    pictures[which] = std::move(*picture);
  }
  return TargetPictures{std::move(pictures[0]), std::move(pictures[1])};
}

}  // namespace ol
