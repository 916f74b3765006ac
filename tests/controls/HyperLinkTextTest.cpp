#include "controls/HyperLinkText.h"

#include <gtest/gtest.h>

using namespace ol;

namespace {
constexpr std::string_view kUrl = "http://www.example.com/";
}  // namespace

TEST(LinkFallbackCommand, CutsAtTheQuotedPlaceholderBeforeAnyBareOne) {
  // The blank in front of the placeholder stays, and one more goes before the address.
  EXPECT_EQ(FallbackCommandLine("\"C:\\Web\\browse.exe\" -nohome \"%1\"", kUrl),
            "\"C:\\Web\\browse.exe\" -nohome  http://www.example.com/");
  // The quoted form wins even when a bare %1 comes first.
  EXPECT_EQ(FallbackCommandLine("browse.exe -a %1 -b \"%1\"", kUrl), "browse.exe -a %1 -b  http://www.example.com/");
  // Whatever follows the placeholder is dropped.
  EXPECT_EQ(FallbackCommandLine("browse.exe \"%1\" -new-window", kUrl), "browse.exe  http://www.example.com/");
}

TEST(LinkFallbackCommand, CutsAtABarePlaceholderOrAppendsToTheWholeCommand) {
  EXPECT_EQ(FallbackCommandLine("browse.exe %1 -new-window", kUrl), "browse.exe  http://www.example.com/");
  EXPECT_EQ(FallbackCommandLine("browse.exe -url=%1", kUrl), "browse.exe -url= http://www.example.com/");
  EXPECT_EQ(FallbackCommandLine("C:\\Web\\browse.exe", kUrl), "C:\\Web\\browse.exe http://www.example.com/");
  EXPECT_EQ(FallbackCommandLine("", kUrl), " http://www.example.com/");
  // A lone quote or percent sign is no placeholder.
  EXPECT_EQ(FallbackCommandLine("b.exe \"%2\" %", "x"), "b.exe \"%2\" % x");
}

TEST(LinkFallbackCommand, RefusesWhatDoesNotFitTheCommandBuffer) {
  const std::string command(259, 'c');  // the longest value the registry read gives
  const std::string fits(519 - 260, 'u');
  const auto longest = FallbackCommandLine(command, fits);
  ASSERT_TRUE(longest);
  EXPECT_EQ(longest->size(), kFallbackCommandCharacters - 1);
  EXPECT_FALSE(FallbackCommandLine(command, fits + "u"));
  // Characters count, not bytes: Cyrillic takes two bytes a character in UTF-8, an emoji four
  // bytes for two characters.
  std::string cyrillic = "Ж";
  for (int i = 0; i < 128; ++i) cyrillic += "Жы";
  EXPECT_TRUE(FallbackCommandLine(cyrillic + "😀", fits));  // 259 characters in 518 bytes
  EXPECT_FALSE(FallbackCommandLine(cyrillic + "😀", fits + "u"));
  // Only the part before the placeholder counts.
  EXPECT_TRUE(FallbackCommandLine(std::string(10, 'c') + "%1" + std::string(400, 'x'), std::string(400, 'u')));

  EXPECT_EQ(OpenCommandKeyPath("htmlfile"), "htmlfile\\shell\\open\\command");
  const std::string className(kFallbackCommandCharacters - 1 - 19, 'k');
  EXPECT_TRUE(OpenCommandKeyPath(className));
  EXPECT_FALSE(OpenCommandKeyPath(className + "k"));
}

TEST(LinkErrorText, EveryShellCodeHasItsOwnText) {
  const std::pair<int, const char*> expected[] = {
      {0, "The operating system is out\nof memory or resources."},
      {2, "The specified file was not found."},
      {3, "The specified path was not found."},
      {5, "The operating system denied\naccess to the specified file."},
      {8, "There was not enough memory to complete the operation."},
      {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
      {26, "A sharing violation occurred. "},
      {27, "The filename association is\nincomplete or invalid."},
      {28, "The DDE transaction could not\nbe completed because the request timed out."},
      {29, "The DDE transaction failed."},
      {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
      {31, "There is no application associated\nwith the given filename extension."},
      {32, "The specified dynamic-link library was not found."},
  };
  for (const auto& [code, text] : expected) {
    EXPECT_EQ(ShellErrorText(code), text) << code;
    EXPECT_EQ(LinkOpenErrorMessage(code), std::string("Can't open link:\n\n") + text) << code;
  }
}

TEST(LinkErrorText, OtherCodesAreUnknownWithTheirSignedNumber) {
  EXPECT_EQ(LinkOpenErrorMessage(4), "Can't open link:\n\nUnknown Error (4) occurred.");
  EXPECT_EQ(LinkOpenErrorMessage(-1), "Can't open link:\n\nUnknown Error (-1) occurred.");
  EXPECT_EQ(ShellErrorText(1), "Unknown Error (1) occurred.");
  EXPECT_EQ(ShellErrorText(33), "Unknown Error (33) occurred.");
}

TEST(LinkColorChoice, HoverThenActiveThenVisitedThenLink) {
  const std::uint32_t plain = kLinkUnderline | kLinkFitText | kLinkFocusOnPress;
  const std::uint32_t about = plain | kLinkHoverColor | kLinkNoActiveColor;
  struct Case {
    bool hover, active, visited;
    std::uint32_t style;
    LinkColor expected;
  };
  const Case cases[] = {
      {false, false, false, plain, LinkColor::Link},
      {false, false, true, plain, LinkColor::Visited},
      {true, false, true, plain, LinkColor::Visited},  // hovering means nothing without the hover colour
      {true, false, false, plain | kLinkHoverColor, LinkColor::Hover},
      {true, true, true, plain | kLinkHoverColor, LinkColor::Hover},
      {false, true, true, plain, LinkColor::Active},
      {false, true, true, about, LinkColor::Visited},  // the active colour is never used
      {false, true, false, about, LinkColor::Link},
      {true, true, true, about, LinkColor::Hover},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseLinkColor(c.hover, c.active, c.visited, c.style), c.expected)
        << c.hover << c.active << c.visited << " style " << c.style;
  }
}

TEST(LinkFitting, KeepsTheLeftOrRightEdgeOrCentres) {
  const LinkBox box{100, 50, 200, 70};  // 100 wide, 20 high
  const LinkBox left = FitLinkBox(box, 61, 13, LinkAlignment::Left, false);
  EXPECT_EQ(left.left, 100);
  EXPECT_EQ(left.right, 161);
  EXPECT_EQ(left.top, 50);
  EXPECT_EQ(left.bottom, 63);
  const LinkBox right = FitLinkBox(box, 61, 13, LinkAlignment::Right, false);
  EXPECT_EQ(right.left, 139);
  EXPECT_EQ(right.right, 200);
  // (100 - 61) / 2 = 19 on each side, so one pixel more than the text stays.
  const LinkBox centred = FitLinkBox(box, 61, 13, LinkAlignment::Center, true);
  EXPECT_EQ(centred.left, 119);
  EXPECT_EQ(centred.right, 181);
  EXPECT_EQ(centred.top, 53);  // (20 - 13) / 2 = 3
  EXPECT_EQ(centred.bottom, 67);
}

TEST(LinkFitting, ATextWiderThanTheBoxGrowsItTruncatingTowardZero) {
  const LinkBox box{10, 10, 20, 20};  // 10 by 10
  const LinkBox centred = FitLinkBox(box, 15, 13, LinkAlignment::Center, true);
  // (10 - 15) / 2 = -2 and (10 - 13) / 2 = -1: the box grows by that much on each side.
  EXPECT_EQ(centred.left, 8);
  EXPECT_EQ(centred.right, 22);
  EXPECT_EQ(centred.top, 9);
  EXPECT_EQ(centred.bottom, 21);
  const LinkBox left = FitLinkBox(box, 15, 13, LinkAlignment::Left, false);
  EXPECT_EQ(left.right, 25);
  EXPECT_EQ(left.bottom, 23);
}
