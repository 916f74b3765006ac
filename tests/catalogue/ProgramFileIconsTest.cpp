#include "catalogue/ProgramFileIcons.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace ol;

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& bytes, std::size_t at, std::uint32_t value, int width = 4) {
  if (bytes.size() < at + width) bytes.resize(at + width);
  for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// An image as a program stores it, rows from the bottom up: pixel (x, y) is 0xAA000000 +
// 0x100 * y + x, and the mask is set on the top row's first pixel.
Bytes Image(int size, int depth) {
  Bytes image(40, 0);
  Put(image, 0, 40), Put(image, 4, size), Put(image, 8, 2 * size), Put(image, 12, 1, 2), Put(image, 14, depth, 2);
  for (int y = size - 1; y >= 0; --y) {
    for (int x = 0; x < size; ++x) Put(image, image.size(), 0xAA000000u + 0x100u * y + x);
  }
  const std::size_t stride = (size + 31) / 32 * 4;
  image.resize(image.size() + stride * size);
  image[image.size() - stride] = 0x80;
  return image;
}

// A 64-bit program with one section of resources: one icon group (in `languages` languages) of
// images of these sizes and depths, each its own icon; `replace` stands for the first image.
// The section's directories at fixed places: the types (icons, 3; groups, 14), each type's
// resources, their languages and data entries; the data after them, by address.
Bytes Program(const std::vector<std::pair<int, int>>& images, int languages = 1, const Bytes* replace = nullptr) {
  std::vector<Bytes> data{Bytes{0, 0, 1, 0, static_cast<std::uint8_t>(images.size()), 0}};
  Bytes rsrc(0x800, 0);
  Put(rsrc, 14, 2, 2), Put(rsrc, 16, 3), Put(rsrc, 20, 0x80000020u), Put(rsrc, 24, 14), Put(rsrc, 28, 0x80000420u);
  Put(rsrc, 0x20 + 14, static_cast<std::uint32_t>(images.size()), 2), Put(rsrc, 0x420 + 14, 1, 2);
  for (std::size_t r = 0; r <= images.size(); ++r) {  // the icons, then the group
    const std::size_t names = r < images.size() ? 0x20 : 0x420, at = names + 16 + 8 * (r % images.size());
    const std::size_t inner = names + 0x100 + 0x80 * (r % images.size());
    Put(rsrc, at, r < images.size() ? 1 + r : 1), Put(rsrc, at + 4, 0x80000000u | inner), Put(rsrc, inner + 14, languages, 2);
    for (int l = 0; l < languages; ++l) Put(rsrc, inner + 16 + 8 * l, 1033 + l), Put(rsrc, inner + 20 + 8 * l, inner + 0x40 + 16 * l);
    if (r == images.size()) break;
    const auto [size, depth] = images[r];
    data.push_back(r == 0 && replace != nullptr ? *replace : Image(size, depth));
    const std::size_t entry = data[0].size();
    Put(data[0], entry, size, 1), Put(data[0], entry + 1, size, 1), Put(data[0], entry + 6, depth, 2);
    Put(data[0], entry + 8, static_cast<std::uint32_t>(data.back().size())), Put(data[0], entry + 12, 1 + r, 2);
  }
  for (std::size_t r = 0; r <= images.size(); ++r) {
    const Bytes& bytes = data[r < images.size() ? r + 1 : 0];
    const std::size_t inner = (r < images.size() ? 0x20 : 0x420) + 0x100 + 0x80 * (r % images.size());
    for (int l = 0; l < languages; ++l) {
      Put(rsrc, inner + 0x40 + 16 * l, 0x1000 + static_cast<std::uint32_t>(rsrc.size())), Put(rsrc, inner + 0x44 + 16 * l, static_cast<std::uint32_t>(bytes.size()));
    }
    rsrc.insert(rsrc.end(), bytes.begin(), bytes.end());
  }
  Bytes file(0x200, 0);
  file[0] = 'M', file[1] = 'Z', Put(file, 0x3C, 0x40), Put(file, 0x40, 0x4550), Put(file, 0x46, 1, 2), Put(file, 0x54, 240, 2);
  Put(file, 0x58, 0x20B, 2), Put(file, 0x58 + 108, 16), Put(file, 0x58 + 128, 0x1000);
  Put(file, 0x148 + 12, 0x1000), Put(file, 0x148 + 16, static_cast<std::uint32_t>(rsrc.size())), Put(file, 0x148 + 20, 0x200);
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

TEST(ProgramFileIcons, EachSizeIsTheGroupsFullColourImageOrNothingIsRead) {
  // Of the two 32-pixel images, the one of 32 bits; rows turned top first, the mask with them.
  const Bytes whole = Program({{48, 32}, {32, 8}, {32, 32}, {16, 32}});
  const std::optional<TargetPictures> read = Read(whole);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->large.color[0], 0xAA000000u);
  EXPECT_EQ(read->large.color[32 * 31 + 5], 0xAA001F05u);
  EXPECT_EQ(read->small.color[16 * 2 + 15], 0xAA00020Fu);
  EXPECT_EQ(read->large.mask[0], 0x80);
  EXPECT_EQ(read->large.mask[4 * 31], 0);
  EXPECT_EQ(read->small.mask[2 * 15], 0) << "rows of two bytes";
  EXPECT_TRUE(Read(whole, {48, 32}).has_value()) << "another display scale's sizes";

  Bytes png = Image(32, 32);
  std::memcpy(png.data(), "\x89PNG\r\n\x1a\n", 8);
  const struct {
    const char* what;
    Bytes file;
    IconSizes sizes;
  } refused[] = {
      {"the small size at 8 bits only", Program({{32, 32}, {16, 8}}), {32, 16}},
      {"a size the system would scale", whole, {24, 16}},
      {"a compressed image", Program({{32, 32}, {16, 32}}, 1, &png), {32, 16}},
      {"a group in two languages", Program({{32, 32}, {16, 32}}, 2), {32, 16}},
      {"a file cut short", Bytes(whole.begin(), whole.end() - 100), {32, 16}},
      {"no program", Bytes(whole.begin() + 1, whole.end()), {32, 16}},
  };
  for (const auto& [what, file, sizes] : refused) EXPECT_FALSE(Read(file, sizes).has_value()) << what;
}
