// The pictures of the catalogue's program targets, kept between runs in a file beside the
// catalogue, so that a start shows every icon without extracting it again. Each target is known
// by its full path and the stamp (size, last-write time) it had when its icon was taken; a
// target whose stamp has changed is extracted again by whoever asks. Identical pictures (many
// targets with one icon) are held once, in memory and in the file. The file is disposable: one
// that is missing, damaged, cut short, of another version or another program's is ignored.
// Portable; safe to share between threads.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalogue/IconPicture.h"

namespace ol {

inline constexpr std::string_view kIconCacheFileName = "LaunchIcons.cache";

class CIconCache {
 public:
  using Pictures = std::shared_ptr<const TargetPictures>;
  // What a target gave at a stamp: its pictures, or null for a file without an icon.
  struct Entry {
    FileStamp stamp;
    Pictures pictures;
  };

  explicit CIconCache(IconSizes sizes) : m_sizes(sizes) {}
  CIconCache(const CIconCache&) = delete;
  CIconCache& operator=(const CIconCache&) = delete;

  IconSizes Sizes() const { return m_sizes; }

  // Takes in a file's bytes; false (and nothing taken) unless they are a whole cache of this
  // version at this cache's sizes.
  bool Read(std::string_view bytes);
  // What is known of the target, whatever its stamp now; nothing when it is unknown.
  std::optional<Entry> Find(const std::string& path) const;
  // Keeps what the target gave at this stamp (null: no icon) in place of what was known. The
  // pictures held for it, shared with identical ones already held.
  Pictures Remember(const std::string& path, FileStamp stamp, const TargetPictures* pictures);
  // The file's bytes for these targets (those known; each once, in this order), each picture
  // once; and whether they differ from the bytes read.
  std::string Write(const std::vector<std::string>& paths) const;
  bool Differs(std::string_view written) const;

 private:
  Pictures Share(const TargetPictures& pictures);

  const IconSizes m_sizes;
  mutable std::mutex m_lock;
  std::unordered_map<std::string, Entry> m_entries;
  std::unordered_map<std::uint64_t, std::vector<Pictures>> m_byHash;
  std::optional<std::uint64_t> m_readChecksum;
};

}  // namespace ol
