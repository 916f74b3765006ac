#include "catalogue/IconCache.h"

#include <unordered_set>

namespace ol {

namespace {

// The file: a header, the pictures, the entries, and a checksum of everything before it. All
// numbers little-endian.
//   "OLICONS" 0x1A | version | large size | small size | picture count | entry count   (u32s)
//   per picture: large colour pixels, large mask, small colour pixels, small mask
//   per entry:   path length (u32), path bytes, file size (u64), write time (u64),
//                picture number (u32; kNoPicture for a file without an icon)
//   FNV-1a checksum (u64)
constexpr std::string_view kMagic("OLICONS\x1a", 8);
constexpr std::uint32_t kVersion = 1;
constexpr std::uint32_t kNoPicture = 0xFFFFFFFF;
constexpr int kLargestSize = 256;

std::uint64_t Checksum(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char byte : bytes) {
    hash ^= static_cast<unsigned char>(byte);
    hash *= 1099511628211ull;
  }
  return hash;
}

std::uint64_t Hash(const TargetPictures& pictures) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const IconPicture* picture : {&pictures.large, &pictures.small}) {
    for (const std::uint32_t pixel : picture->color) hash = (hash ^ pixel) * 1099511628211ull;
    for (const std::uint8_t bits : picture->mask) hash = (hash ^ bits) * 1099511628211ull;
  }
  return hash;
}

void PutNumber(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PutPicture(std::string& out, const IconPicture& picture) {
  for (const std::uint32_t pixel : picture.color) PutNumber(out, pixel, 4);
  out.append(reinterpret_cast<const char*>(picture.mask.data()), picture.mask.size());
}

// Reads numbers and runs of bytes off the front of the file; once anything is missing every
// later read fails too.
class CReader {
 public:
  explicit CReader(std::string_view bytes) : m_rest(bytes) {}
  std::optional<std::uint64_t> Number(int bytes) {
    if (m_rest.size() < static_cast<std::size_t>(bytes)) return Fail();
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= std::uint64_t{static_cast<unsigned char>(m_rest[i])} << (8 * i);
    m_rest.remove_prefix(static_cast<std::size_t>(bytes));
    return value;
  }
  std::optional<std::string_view> Bytes(std::uint64_t count) {
    if (m_rest.size() < count) {
      Fail();
      return std::nullopt;
    }
    const std::string_view taken = m_rest.substr(0, static_cast<std::size_t>(count));
    m_rest.remove_prefix(static_cast<std::size_t>(count));
    return taken;
  }
  std::optional<IconPicture> Picture(int size) {
    const std::size_t pixels = static_cast<std::size_t>(size) * static_cast<std::size_t>(size);
    const auto color = Bytes(pixels * 4);
    const auto mask = Bytes(MaskRowBytes(size) * static_cast<std::size_t>(size));
    if (!color || !mask) return std::nullopt;
    IconPicture picture{size, std::vector<std::uint32_t>(pixels), std::vector<std::uint8_t>(mask->begin(), mask->end())};
    for (std::size_t i = 0; i < pixels; ++i) {
      for (int b = 0; b < 4; ++b) picture.color[i] |= std::uint32_t{static_cast<unsigned char>((*color)[i * 4 + b])} << (8 * b);
    }
    return picture;
  }
  std::size_t Left() const { return m_rest.size(); }

 private:
  std::nullopt_t Fail() {
    m_rest = {};
    return std::nullopt;
  }
  std::string_view m_rest;
};

std::size_t PictureBytes(IconSizes sizes) {
  std::size_t bytes = 0;
  for (const int size : {sizes.large, sizes.small}) {
    bytes += static_cast<std::size_t>(size) * static_cast<std::size_t>(size) * 4 + MaskRowBytes(size) * static_cast<std::size_t>(size);
  }
  return bytes;
}

}  // namespace

bool IsWhole(const IconPicture& picture) {
  const auto size = static_cast<std::size_t>(picture.size);
  return picture.size > 0 && picture.color.size() == size * size && picture.mask.size() == MaskRowBytes(picture.size) * size;
}

CIconCache::Pictures CIconCache::Share(const TargetPictures& pictures) {
  std::vector<Pictures>& alike = m_byHash[Hash(pictures)];
  for (const Pictures& held : alike) {
    if (*held == pictures) return held;
  }
  alike.push_back(std::make_shared<const TargetPictures>(pictures));
  return alike.back();
}

bool CIconCache::Read(std::string_view bytes) {
  if (bytes.size() < kMagic.size() + 8 || bytes.substr(0, kMagic.size()) != kMagic) return false;
  const std::string_view body = bytes.substr(0, bytes.size() - 8);
  CReader checksum(bytes.substr(body.size()));
  if (checksum.Number(8) != Checksum(body)) return false;

  CReader reader(body.substr(kMagic.size()));
  const auto version = reader.Number(4), large = reader.Number(4), small = reader.Number(4);
  const auto pictureCount = reader.Number(4), entryCount = reader.Number(4);
  if (!entryCount || *version != kVersion || *large != static_cast<std::uint64_t>(m_sizes.large) ||
      *small != static_cast<std::uint64_t>(m_sizes.small) || m_sizes.large <= 0 || m_sizes.small <= 0 ||
      m_sizes.large > kLargestSize || m_sizes.small > kLargestSize ||
      *pictureCount > reader.Left() / PictureBytes(m_sizes)) {
    return false;
  }
  std::vector<Pictures> pictures;
  std::unordered_map<std::uint64_t, std::vector<Pictures>> byHash;
  for (std::uint64_t i = 0; i < *pictureCount; ++i) {
    auto largePicture = reader.Picture(m_sizes.large);
    auto smallPicture = reader.Picture(m_sizes.small);
    if (!largePicture || !smallPicture) return false;
    auto held = std::make_shared<const TargetPictures>(TargetPictures{std::move(*largePicture), std::move(*smallPicture)});
    byHash[Hash(*held)].push_back(held);
    pictures.push_back(std::move(held));
  }
  std::unordered_map<std::string, Entry> entries;
  for (std::uint64_t i = 0; i < *entryCount; ++i) {
    const auto length = reader.Number(4);
    const auto path = length ? reader.Bytes(*length) : std::nullopt;
    const auto size = reader.Number(8), writeTime = reader.Number(8), picture = reader.Number(4);
    if (!picture || (*picture != kNoPicture && *picture >= pictures.size())) return false;
    entries[std::string(*path)] = {{*size, *writeTime}, *picture == kNoPicture ? nullptr : pictures[*picture]};
  }
  if (reader.Left() != 0) return false;
  std::lock_guard<std::mutex> guard(m_lock);
  m_entries = std::move(entries);
  m_byHash = std::move(byHash);
  m_readChecksum = Checksum(body);
  return true;
}

std::optional<CIconCache::Entry> CIconCache::Find(const std::string& path) const {
  std::lock_guard<std::mutex> guard(m_lock);
  const auto found = m_entries.find(path);
  if (found == m_entries.end()) return std::nullopt;
  return found->second;
}

CIconCache::Pictures CIconCache::Remember(const std::string& path, FileStamp stamp, const TargetPictures* pictures) {
  std::lock_guard<std::mutex> guard(m_lock);
  // Pictures of other sizes, or not whole, are never kept: the file holds this cache's sizes.
  const bool fits = pictures != nullptr && pictures->large.size == m_sizes.large &&
                    pictures->small.size == m_sizes.small && IsWhole(pictures->large) && IsWhole(pictures->small);
  Pictures held = fits ? Share(*pictures) : nullptr;
  if (pictures == nullptr || fits) {
    m_entries[path] = {stamp, held};
  } else {
    m_entries.erase(path);
  }
  return held;
}

std::string CIconCache::Write(const std::vector<std::string>& paths) const {
  std::lock_guard<std::mutex> guard(m_lock);
  std::vector<const std::pair<const std::string, Entry>*> entries;
  std::unordered_set<std::string_view> seen;
  std::unordered_map<const TargetPictures*, std::uint32_t> numberOf;
  std::vector<const TargetPictures*> pictures;
  for (const std::string& path : paths) {
    const auto found = m_entries.find(path);
    if (found == m_entries.end() || !seen.insert(found->first).second) continue;
    entries.push_back(&*found);
    const TargetPictures* held = found->second.pictures.get();
    if (held != nullptr && numberOf.emplace(held, static_cast<std::uint32_t>(pictures.size())).second) {
      pictures.push_back(held);
    }
  }
  std::string out(kMagic);
  for (const std::uint64_t number : {std::uint64_t{kVersion}, std::uint64_t(m_sizes.large), std::uint64_t(m_sizes.small),
                                     std::uint64_t{pictures.size()}, std::uint64_t{entries.size()}}) {
    PutNumber(out, number, 4);
  }
  out.reserve(out.size() + pictures.size() * PictureBytes(m_sizes));
  for (const TargetPictures* held : pictures) {
    PutPicture(out, held->large);
    PutPicture(out, held->small);
  }
  for (const auto* entry : entries) {
    PutNumber(out, entry->first.size(), 4);
    out += entry->first;
    PutNumber(out, entry->second.stamp.size, 8);
    PutNumber(out, entry->second.stamp.writeTime, 8);
    const TargetPictures* held = entry->second.pictures.get();
    PutNumber(out, held == nullptr ? kNoPicture : numberOf.at(held), 4);
  }
  PutNumber(out, Checksum(out), 8);
  return out;
}

bool CIconCache::Differs(std::string_view written) const {
  std::lock_guard<std::mutex> guard(m_lock);
  if (!m_readChecksum || written.size() < 8) return true;
  return Checksum(written.substr(0, written.size() - 8)) != *m_readChecksum;
}

}  // namespace ol
