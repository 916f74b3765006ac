#include "catalogue/ShortcutIcons.h"

#include <gtest/gtest.h>

#include "support/TestFiles.h"
#include "support/TestListWindow.h"

using namespace ol;
using namespace oltest;

TEST(TargetIcons, AProgramWithAnIconGivesBothSizes) {
  const TargetIcons icons = ExtractTargetIcons(RecorderPath());
  EXPECT_TRUE(icons.large);
  EXPECT_TRUE(icons.small);
}

TEST(TargetIcons, MissingTargetsAndFilesWithoutIconsGiveNone) {
  ScratchDir dir;
  ASSERT_TRUE(WriteFileBytes(dir / "notes.txt", "not a program"));
  EXPECT_FALSE(ExtractTargetIcons(dir / "notes.txt").Any());
  EXPECT_FALSE(ExtractTargetIcons(dir / "gone.exe").Any());
  EXPECT_FALSE(ExtractTargetIcons("").Any());
}

TEST(TargetIcons, AppendPutsBothSizesAtTheSamePositionFromTwoOn) {
  TestListWindow window;
  const TargetIcons icons = ExtractTargetIcons(RecorderPath());
  EXPECT_EQ(AppendTargetIcons(window.Large(), window.Small(), icons), 2);
  EXPECT_EQ(AppendTargetIcons(window.Large(), window.Small(), icons), 3);
  EXPECT_EQ(window.Large().GetImageCount(), 4);
  EXPECT_EQ(window.Small().GetImageCount(), 4);
  // The same icon gives the same picture, and not the picture of image 0.
  const auto appended = ImagePixels(window.Large().GetSafeHandle(), 2);
  EXPECT_EQ(appended, ImagePixels(window.Large().GetSafeHandle(), 3));
  EXPECT_NE(appended, ImagePixels(window.Large().GetSafeHandle(), 0));
}

TEST(TargetIcons, NoIconMeansIndexZeroAndNothingAppended) {
  TestListWindow window;
  EXPECT_EQ(AppendTargetIcons(window.Large(), window.Small(), ExtractTargetIcons("C:\\no\\such.exe")), kIconNone);
  EXPECT_EQ(window.Large().GetImageCount(), 2);
  EXPECT_EQ(window.Small().GetImageCount(), 2);
}

TEST(TargetIcons, ReplaceChangesThePictureInPlace) {
  TestListWindow window;
  const int index = AppendTargetIcons(window.Large(), window.Small(), ExtractTargetIcons(RecorderPath()));
  const auto before = ImagePixels(window.Small().GetSafeHandle(), index);
  TargetIcons other;
  other.large.Reset(::CopyIcon(::LoadIconA(nullptr, IDI_WINLOGO)));
  other.small.Reset(::CopyIcon(::LoadIconA(nullptr, IDI_WINLOGO)));
  ReplaceTargetIcons(window.Large(), window.Small(), index, other);
  EXPECT_EQ(window.Small().GetImageCount(), 3);
  EXPECT_NE(ImagePixels(window.Small().GetSafeHandle(), index), before);
  // A target that gives no icon leaves the old picture.
  const auto replaced = ImagePixels(window.Small().GetSafeHandle(), index);
  ReplaceTargetIcons(window.Large(), window.Small(), index, TargetIcons{});
  EXPECT_EQ(ImagePixels(window.Small().GetSafeHandle(), index), replaced);
}

TEST(TargetIcons, OneSizeAloneStillFillsBothLists) {
  TestListWindow window;
  TargetIcons onlySmall;
  onlySmall.small.Reset(::CopyIcon(::LoadIconA(nullptr, IDI_WINLOGO)));
  EXPECT_EQ(AppendTargetIcons(window.Large(), window.Small(), onlySmall), 2);
  EXPECT_EQ(window.Large().GetImageCount(), 3);
  EXPECT_EQ(window.Small().GetImageCount(), 3);
}
