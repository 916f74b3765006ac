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

TEST(TargetIcons, FillingReservedRoomGivesTheSamePicturesAsOneByOne) {
  std::vector<TargetIcons> extracted;
  for (const char* target : {"C:\\windows\\notepad.exe", "C:\\windows\\regedit.exe",
                             "C:\\windows\\system32\\winecfg.exe"}) {
    extracted.push_back(ExtractTargetIcons(target));
  }
  extracted.push_back(ExtractTargetIcons(RecorderPath()));
  std::vector<HICON> large;
  std::vector<HICON> small;
  for (const TargetIcons& icons : extracted) {
    if (!icons.Any()) continue;
    large.push_back(icons.LargeOrSmall());
    small.push_back(icons.SmallOrLarge());
  }
  ASSERT_GE(large.size(), 2u);
  // A small icon in the large list has to be scaled, and takes the one-by-one way.
  large.insert(large.begin() + 1, small.front());
  small.insert(small.begin() + 1, large.front());
  for (int copies = 0; copies < 30; ++copies) {
    large.push_back(large[static_cast<std::size_t>(copies) % 3]);
    small.push_back(small[static_cast<std::size_t>(copies) % 3]);
  }

  for (auto [icons, size] : {std::pair{&large, 32}, std::pair{&small, 16}}) {
    CImageList oneByOne;
    CImageList filled;
    for (CImageList* list : {&oneByOne, &filled}) {
      list->Create(size, size, ILC_COLOR32 | ILC_MASK, 8, 4);
      list->SetBkColor(CLR_NONE);
      list->Add(::LoadIconA(nullptr, IDI_HAND));
    }
    for (HICON icon : *icons) oneByOne.Add(icon);
    {
      // More room than needed, the first icon read once and put twice, the rest put directly.
      CIconListFiller filler(filled, static_cast<int>(icons->size()) + 5);
      const auto first = filler.Read(icons->front());
      ASSERT_TRUE(first.has_value());
      EXPECT_EQ(filler.Put(*first), 1);
      for (std::size_t i = 1; i < icons->size(); ++i) {
        EXPECT_EQ(filler.Put((*icons)[i]), static_cast<int>(i) + 1);
      }
      EXPECT_EQ(filler.Put(*first), static_cast<int>(icons->size()) + 1);
    }
    oneByOne.Add(icons->front());
    ASSERT_EQ(filled.GetImageCount(), oneByOne.GetImageCount());
    for (int i = 0; i < oneByOne.GetImageCount(); ++i) {
      ASSERT_EQ(ImagePixels(filled.GetSafeHandle(), i), ImagePixels(oneByOne.GetSafeHandle(), i))
          << "image " << i << " at " << size;
    }
  }
}

TEST(TargetIcons, AFillerWithTooLittleRoomAppendsTheRestAndReadsOnlyItsOwnSize) {
  const TargetIcons icons = ExtractTargetIcons(RecorderPath());
  ASSERT_TRUE(icons.large && icons.small);
  CImageList list;
  list.Create(32, 32, ILC_COLOR32 | ILC_MASK, 1, 1);
  list.Add(::LoadIconA(nullptr, IDI_HAND));
  {
    CIconListFiller filler(list, 1);
    EXPECT_FALSE(filler.Read(icons.small.Get()).has_value());  // 16 pixels: the list scales it
    EXPECT_FALSE(filler.Read(nullptr).has_value());
    EXPECT_EQ(filler.Put(icons.large.Get()), 1);
    EXPECT_EQ(filler.Put(icons.small.Get()), 2);
    const auto pixels = filler.Read(icons.large.Get());
    ASSERT_TRUE(pixels.has_value());
    EXPECT_EQ(filler.Put(*pixels), 3);
  }
  EXPECT_EQ(list.GetImageCount(), 4);
  EXPECT_EQ(ImagePixels(list.GetSafeHandle(), 3), ImagePixels(list.GetSafeHandle(), 1));
  EXPECT_NE(ImagePixels(list.GetSafeHandle(), 2), ImagePixels(list.GetSafeHandle(), 1));
}
