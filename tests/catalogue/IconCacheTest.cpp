#include "catalogue/IconCache.h"

#include <gtest/gtest.h>

using namespace ol;

namespace {

// A picture of `size` pixels, each pixel `seed` plus its number, every other mask byte set.
IconPicture Picture(int size, std::uint32_t seed) {
  IconPicture picture{size, {}, std::vector<std::uint8_t>(MaskRowBytes(size) * size)};
  for (int i = 0; i < size * size; ++i) picture.color.push_back(seed + static_cast<std::uint32_t>(i));
  for (std::size_t i = 0; i < picture.mask.size(); i += 2) picture.mask[i] = 0xA5;
  return picture;
}

TargetPictures Pictures(std::uint32_t seed) { return {Picture(32, seed), Picture(16, seed + 7)}; }

}  // namespace

TEST(IconCache, ReadsBackWhatItWroteEachPictureOnceAndOnlyTheTargetsAskedFor) {
  const TargetPictures one = Pictures(1), other = Pictures(500), third = Pictures(900);
  CIconCache cache({32, 16});
  cache.Remember("C:\\Games\\a.exe", {1000, 77}, &one);
  cache.Remember("C:\\Games\\b.exe", {2000, 88}, &one);  // the same icon as a.exe
  cache.Remember("C:\\Games\\notes.exe", {30, 99}, nullptr);  // no icon in it
  cache.Remember("D:\\Tools\\c.exe", {4000, 11}, &other);
  cache.Remember("D:\\Tools\\gone.exe", {5, 5}, &third);  // no longer in the catalogue
  const std::vector<std::string> catalogue{"C:\\Games\\notes.exe", "C:\\Games\\a.exe", "C:\\Games\\b.exe",
                                           "D:\\Tools\\c.exe", "C:\\Games\\a.exe", "E:\\unknown.exe"};
  const std::string bytes = cache.Write(catalogue);

  // 5,280 bytes of pictures per distinct icon (32 x 32 and 16 x 16 pixels of 4 bytes, and their
  // masks of 4 and 2 bytes a row), two of them; an entry is 24 bytes and its path.
  const std::size_t entries = 4 * 24 + 18 + 14 + 14 + 14;
  EXPECT_EQ(bytes.size(), 8 + 5 * 4 + 2 * (4096 + 128 + 1024 + 32) + entries + 8);

  CIconCache read({32, 16});
  ASSERT_TRUE(read.Read(bytes));
  const auto a = read.Find("C:\\Games\\a.exe");
  const auto b = read.Find("C:\\Games\\b.exe");
  const auto notes = read.Find("C:\\Games\\notes.exe");
  const auto c = read.Find("D:\\Tools\\c.exe");
  ASSERT_TRUE(a && b && notes && c);
  EXPECT_EQ(a->stamp, (FileStamp{1000, 77}));
  EXPECT_EQ(b->stamp, (FileStamp{2000, 88}));
  EXPECT_EQ(c->stamp, (FileStamp{4000, 11}));
  EXPECT_EQ(*a->pictures, Pictures(1));
  EXPECT_EQ(a->pictures, b->pictures) << "held once";
  EXPECT_EQ(*c->pictures, Pictures(500));
  EXPECT_EQ(notes->pictures, nullptr);
  EXPECT_FALSE(read.Find("D:\\Tools\\gone.exe"));
  EXPECT_FALSE(read.Find("E:\\unknown.exe"));

  // Unchanged, it need not be written again; a target extracted anew (same pictures, another
  // stamp) makes it differ.
  EXPECT_FALSE(read.Differs(read.Write(catalogue)));
  EXPECT_EQ(read.Remember("D:\\Tools\\c.exe", {4001, 11}, &other), c->pictures);
  EXPECT_TRUE(read.Differs(read.Write(catalogue)));
  // Pictures of other sizes are never kept.
  const TargetPictures scaled{Picture(48, 1), Picture(24, 1)};
  EXPECT_EQ(read.Remember("C:\\Games\\a.exe", {1000, 77}, &scaled), nullptr);
  EXPECT_FALSE(read.Find("C:\\Games\\a.exe"));
}

TEST(IconCache, AFileThatIsNotAWholeCacheOfThisVersionAndSizeIsIgnored) {
  const TargetPictures one = Pictures(1);
  CIconCache cache({32, 16});
  cache.Remember("C:\\a.exe", {1, 2}, &one);
  cache.Remember("C:\\b.exe", {3, 4}, nullptr);
  const std::string bytes = cache.Write({"C:\\a.exe", "C:\\b.exe"});
  const auto rejected = [](const std::string& file, IconSizes sizes = {32, 16}) {
    CIconCache other(sizes);
    return !other.Read(file) && !other.Find("C:\\a.exe") && !other.Find("C:\\b.exe");
  };
  ASSERT_FALSE(rejected(bytes));
  EXPECT_TRUE(rejected(bytes, {48, 24})) << "another display scale";
  EXPECT_TRUE(rejected(bytes, {32, 32}));
  EXPECT_TRUE(rejected(""));
  EXPECT_TRUE(rejected("SC_NAME=Games\r\nSC_TYPE=FOLDER\r\n")) << "another program's file";
  std::string version = bytes;
  version[8] = 2;
  EXPECT_TRUE(rejected(version));
  for (std::size_t cut = 0; cut < bytes.size(); cut += 97) EXPECT_TRUE(rejected(bytes.substr(0, cut))) << cut;
  EXPECT_TRUE(rejected(bytes.substr(0, bytes.size() - 1)));
  for (std::size_t at : {std::size_t{12}, std::size_t{40}, bytes.size() - 30, bytes.size() - 9}) {
    std::string damaged = bytes;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x10);
    EXPECT_TRUE(rejected(damaged)) << at;
  }
  EXPECT_TRUE(rejected(bytes + "x"));
}
