#include "catalogue/ProgramFileIcons.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace ol;

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& bytes, std::size_t at, std::uint32_t value, int width) {
  if (bytes.size() < at + width) bytes.resize(at + width);
  for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// An icon image as a program stores it: `size` pixels of `depth` bits, rows from the bottom up;
// pixel (x, y) is 0xAA000000 + 0x100 * y + x, and the mask is set on the top row's first pixel.
Bytes Image(int size, int depth) {
  Bytes image;
  Put(image, 0, 40, 4), Put(image, 4, size, 4), Put(image, 8, 2 * size, 4), Put(image, 12, 1, 2), Put(image, 14, depth, 2);
  image.resize(40);
  for (int y = size - 1; y >= 0; --y) {
    for (int x = 0; x < size; ++x) Put(image, image.size(), 0xAA000000u + 0x100u * y + x, 4);
  }
  const std::size_t stride = (size + 31) / 32 * 4;
  image.resize(image.size() + stride * size);
  image[image.size() - stride] = 0x80;  // the last row stored is the top one
  return image;
}

struct Group {
  std::vector<std::pair<int, int>> images;  // size and depth, in the group's order
  int languages = 1;
};

// A 64-bit program whose one section holds resources: the icon groups (the first by name, the
// rest numbered), each image its own icon resource.
Bytes Program(const std::vector<Group>& groups, const Bytes* firstImage = nullptr) {
  struct Resource { std::uint32_t type, id; Bytes data; int languages; };
  std::vector<Resource> icons, groupData;
  std::uint32_t nextIcon = 1;
  for (const Group& group : groups) {
    Bytes dir;
    Put(dir, 0, 0, 2), Put(dir, 2, 1, 2), Put(dir, 4, static_cast<std::uint32_t>(group.images.size()), 2);
    for (auto [size, depth] : group.images) {
      Bytes image = firstImage != nullptr && icons.empty() ? *firstImage : Image(size, depth);
      const std::size_t at = dir.size();
      Put(dir, at, size % 256, 1), Put(dir, at + 1, size % 256, 1), Put(dir, at + 4, 1, 2), Put(dir, at + 6, depth, 2);
      Put(dir, at + 8, static_cast<std::uint32_t>(image.size()), 4), Put(dir, at + 12, nextIcon, 2);
      icons.push_back({3, nextIcon++, std::move(image), 1});
    }
    groupData.push_back({14, static_cast<std::uint32_t>(groupData.size()), std::move(dir), group.languages});
  }
  // The section: the types' directory, then each type's names, languages and data entries, then
  // the data. Offsets within it; data by address (the section is at 0x1000).
  Bytes rsrc(32, 0);
  std::vector<std::pair<std::size_t, const Resource*>> dataEntries;
  Put(rsrc, 14, 2, 2);
  const std::vector<std::vector<Resource>*> types{&icons, &groupData};
  for (std::size_t t = 0; t < types.size(); ++t) {
    const auto& list = *types[t];
    const std::size_t names = rsrc.size();
    Put(rsrc, 16 + 8 * t, t == 0 ? 3 : 14, 4), Put(rsrc, 20 + 8 * t, 0x80000000u | static_cast<std::uint32_t>(names), 4);
    const bool firstNamed = t == 1;  // the first group has a name: it comes first
    rsrc.resize(names + 16 + 8 * list.size());
    Put(rsrc, names + 12, firstNamed ? 1 : 0, 2), Put(rsrc, names + 14, static_cast<std::uint32_t>(list.size() - firstNamed), 2);
    for (std::size_t r = 0; r < list.size(); ++r) {
      const std::size_t languages = rsrc.size();
      Put(rsrc, names + 16 + 8 * r, firstNamed && r == 0 ? 0x80000000u : list[r].id, 4);
      Put(rsrc, names + 20 + 8 * r, 0x80000000u | static_cast<std::uint32_t>(languages), 4);
      rsrc.resize(languages + 16 + 8 * list[r].languages);
      Put(rsrc, languages + 14, list[r].languages, 2);
      for (int l = 0; l < list[r].languages; ++l) {
        const std::size_t entry = rsrc.size();
        rsrc.resize(entry + 16);
        Put(rsrc, languages + 16 + 8 * l, 1033 + l, 4), Put(rsrc, languages + 20 + 8 * l, static_cast<std::uint32_t>(entry), 4);
        dataEntries.push_back({entry, &list[r]});
      }
    }
  }
  for (auto [entry, resource] : dataEntries) {
    Put(rsrc, entry, 0x1000 + static_cast<std::uint32_t>(rsrc.size()), 4), Put(rsrc, entry + 4, static_cast<std::uint32_t>(resource->data.size()), 4);
    rsrc.insert(rsrc.end(), resource->data.begin(), resource->data.end());
  }
  Bytes file(0x200, 0);
  file[0] = 'M', file[1] = 'Z', Put(file, 0x3C, 0x40, 4);
  Put(file, 0x40, 0x4550, 4), Put(file, 0x46, 1, 2), Put(file, 0x54, 240, 2);  // one section, 64-bit headers
  Put(file, 0x58, 0x20B, 2), Put(file, 0x58 + 108, 16, 4), Put(file, 0x58 + 128, 0x1000, 4), Put(file, 0x58 + 132, static_cast<std::uint32_t>(rsrc.size()), 4);
  Put(file, 0x148 + 8, static_cast<std::uint32_t>(rsrc.size()), 4), Put(file, 0x148 + 12, 0x1000, 4);
  Put(file, 0x148 + 16, static_cast<std::uint32_t>(rsrc.size()), 4), Put(file, 0x148 + 20, 0x200, 4);
  file.resize(0x200);
  file.insert(file.end(), rsrc.begin(), rsrc.end());
  return file;
}

std::optional<TargetPictures> Read(const Bytes& file, IconSizes sizes = {32, 16}) {
  return ReadProgramFileIcons(
      [&file](std::uint64_t offset, std::size_t size, void* into) {
        if (offset > file.size() || size > file.size() - offset) return false;
        std::memcpy(into, file.data() + offset, size);
        return true;
      },
      sizes);
}

}  // namespace

TEST(ProgramFileIcons, EachSizeIsTheFirstGroupsFullColourImageOrNothingIsRead) {
  const Group full{{{48, 32}, {32, 8}, {32, 32}, {16, 32}}};
  const std::optional<TargetPictures> read = Read(Program({full}));
  ASSERT_TRUE(read.has_value());
  // Rows turned top first; the mask's bit on the top row's first pixel.
  EXPECT_EQ(read->large.size, 32);
  EXPECT_EQ(read->large.color[0], 0xAA000000u);
  EXPECT_EQ(read->large.color[32 * 31 + 5], 0xAA001F05u);
  EXPECT_EQ(read->small.color[16 * 2 + 15], 0xAA00020Fu);
  EXPECT_EQ(read->large.mask[0], 0x80);
  EXPECT_EQ(read->large.mask[4 * 31], 0);
  EXPECT_EQ(read->small.mask[0], 0x80);
  EXPECT_EQ(read->small.mask[2 * 15], 0) << "rows of two bytes";
  ASSERT_TRUE(Read(Program({full}), {48, 32}).has_value()) << "another display scale's sizes";

  // The first group is taken: the second has no small image.
  EXPECT_TRUE(Read(Program({full, Group{{{32, 32}}}})).has_value());
  EXPECT_FALSE(Read(Program({Group{{{32, 32}}}, full})).has_value());

  Bytes png = Image(32, 32);
  std::memcpy(png.data(), "\x89PNG\r\n\x1a\n", 8);
  const Bytes whole = Program({full});
  const struct {
    const char* what;
    Bytes file;
    IconSizes sizes;
  } refused[] = {
      {"the small size at 8 bits only", Program({Group{{{32, 32}, {16, 8}}}}), {32, 16}},
      {"a size the system would scale", whole, {24, 16}},
      {"a compressed image", Program({Group{{{32, 32}, {16, 32}}}}, &png), {32, 16}},
      {"a group in two languages", Program({Group{{{32, 32}, {16, 32}}, 2}}), {32, 16}},
      {"a file cut short", Bytes(whole.begin(), whole.end() - 100), {32, 16}},
      {"no program", Bytes(whole.begin() + 1, whole.end()), {32, 16}},
  };
  for (const auto& [what, file, sizes] : refused) EXPECT_FALSE(Read(file, sizes).has_value()) << what;
}
