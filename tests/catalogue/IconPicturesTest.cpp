#include <gtest/gtest.h>

#include "catalogue/IconExtraction.h"
#include "catalogue/TargetPictures.h"
#include "support/TestFiles.h"
#include "support/TestListWindow.h"

using namespace ol;
using namespace oltest;

TEST(TargetIcons, AProgramGivesBothSizesAndMissingTargetsAndFilesWithoutIconsNone) {
  const TargetIcons icons = ExtractTargetIcons(RecorderPath(), {32, 16});
  EXPECT_TRUE(icons.large);
  EXPECT_TRUE(icons.small);
  ScratchDir dir;
  ASSERT_TRUE(WriteFileBytes(dir / "notes.txt", "not a program"));
  EXPECT_FALSE(ExtractTargetIcons(dir / "notes.txt", {32, 16}).Any());
  EXPECT_FALSE(ExtractTargetIcons(dir / "gone.exe", {32, 16}).Any());
  EXPECT_FALSE(ExtractTargetIcons("", {32, 16}).Any());

  // Read from the program file without the shell: at each display scale's sizes, what the
  // system takes for each size alone, or nothing (the shell is asked then).
  int read = 0;
  for (const std::string& program : {RecorderPath(), std::string("C:\\windows\\notepad.exe"), dir / "notes.txt"}) {
    for (const IconSizes sizes : {IconSizes{32, 16}, IconSizes{48, 24}, IconSizes{40, 20}, IconSizes{64, 32}}) {
      TargetIcons system;
      system.large.Reset(IconCalls().ExtractAtSize(program, sizes.large));
      system.small.Reset(IconCalls().ExtractAtSize(program, sizes.small));
      const std::optional<TargetPictures> direct = IconCalls().ReadProgramFile(program, sizes);
      if (!direct) continue;
      ++read;
      EXPECT_EQ(direct, PicturesOfIcons(system, sizes)) << program << " at " << sizes.large;
    }
  }
  EXPECT_GE(read, 4);
}

// Pictures made from icons and put at reserved positions are, pixel for pixel, what appending
// the icons themselves gives: icons of the list's size and icons the list has to scale alike.
TEST(TargetPictures, PlacedPicturesAreWhatAppendingTheIconsGives) {
  std::vector<TargetIcons> extracted;
  for (const char* target : {"C:\\windows\\notepad.exe", "C:\\windows\\regedit.exe", "C:\\windows\\system32\\winecfg.exe"}) {
    extracted.push_back(ExtractTargetIcons(target, {32, 16}));
  }
  extracted.push_back(ExtractTargetIcons(RecorderPath(), {32, 16}));
  TargetIcons onlySmall;  // one size alone serves both lists, scaled into the large one
  onlySmall.small.Reset(::CopyIcon(extracted.back().small.Get()));
  extracted.push_back(std::move(onlySmall));
  TargetIcons system;  // the system's 32-pixel icon, scaled into the small list
  system.large.Reset(::CopyIcon(::LoadIconA(nullptr, IDI_WINLOGO)));
  extracted.push_back(std::move(system));

  for (auto [size, large] : {std::pair{32, true}, std::pair{16, false}}) {
    CImageList oneByOne;
    CImageList placed;
    for (CImageList* list : {&oneByOne, &placed}) {
      list->Create(size, size, ILC_COLOR32 | ILC_MASK, 8, 4);
      list->SetBkColor(CLR_NONE);
      list->Add(::LoadIconA(nullptr, IDI_HAND));
    }
    placed.SetImageCount(1 + static_cast<int>(extracted.size()));
    CPicturePlacer placer(size);
    int position = 1;
    for (const TargetIcons& icons : extracted) {
      if (!icons.Any()) continue;
      const HICON icon = large ? (icons.large ? icons.large.Get() : icons.small.Get())
                               : (icons.small ? icons.small.Get() : icons.large.Get());
      oneByOne.Add(icon);
      const std::optional<TargetPictures> pictures = PicturesOfIcons(icons, {32, 16});
      ASSERT_TRUE(pictures.has_value());
      EXPECT_TRUE(placer.Place(placed, position++, large ? pictures->large : pictures->small));
    }
    ASSERT_GE(position, 5) << "most targets give an icon";
    for (int i = 0; i < position; ++i) {
      EXPECT_EQ(ImagePixels(placed.GetSafeHandle(), i), ImagePixels(oneByOne.GetSafeHandle(), i)) << i << " at " << size;
    }
    // A picture of another size (24 pixels) is refused rather than put in distorted.
    const auto other = PicturesOfIcons(extracted.back(), {48, 24});
    ASSERT_TRUE(other.has_value());
    EXPECT_FALSE(placer.Place(placed, 1, other->small));
  }
  EXPECT_FALSE(PicturesOfIcons(TargetIcons{}, {32, 16}).has_value());
}
