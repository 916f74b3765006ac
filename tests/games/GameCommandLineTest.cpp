#include "games/GameCommandLine.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstddef>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace ol {
namespace {

// Katakana "so" in code page 932: its trail byte is the backslash's value.
const std::string kSo = "\x83\x5C";
// Hiragana "a" in code page 932: an ordinary double-byte character.
const std::string kHiraganaA = "\x82\xA0";

// ---- The Orbels -------------------------------------------------------------------------

// The six options with the switch each one adds, listed in the order the game expects them.
struct FirstGameSwitch {
  bool FirstGameOptions::*member;
  const char* token;
};
constexpr std::array<FirstGameSwitch, 6> kFirstGameOrder = {{
    {&FirstGameOptions::runHighRes, "-r1024x768"},
    {&FirstGameOptions::skipIntro, "-skip_intro"},
    {&FirstGameOptions::runInWindow, "-w"},
    {&FirstGameOptions::noSound, "-nosound"},
    {&FirstGameOptions::skipSystemCheck, "-skip_verify"},
    {&FirstGameOptions::disableDX6, "-nodx6"},
}};

FirstGameOptions FirstOptionsFromMask(unsigned mask) {
  FirstGameOptions options;
  for (std::size_t bit = 0; bit < kFirstGameOrder.size(); ++bit) {
    options.*kFirstGameOrder[bit].member = (mask & (1u << bit)) != 0;
  }
  return options;
}

// Position of the token in the game's order, or -1 when it is no known switch.
int OrderOfToken(const std::string& token) {
  for (std::size_t i = 0; i < kFirstGameOrder.size(); ++i) {
    if (token == kFirstGameOrder[i].token) return static_cast<int>(i);
  }
  return -1;
}

// Splits " a b c" into "a", "b", "c"; a doubled or trailing blank yields an empty token.
std::vector<std::string> TokensAfterLeadingBlank(const std::string& text) {
  std::vector<std::string> tokens;
  std::string current;
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (text[i] == ' ') {
      tokens.push_back(current);
      current.clear();
    } else {
      current += text[i];
    }
  }
  tokens.push_back(current);
  return tokens;
}

TEST(FirstGameOptionsTest, EachStoredFlagSetsItsOwnOption) {
  for (std::size_t which = 0; which < kFirstGameOrder.size(); ++which) {
    SCOPED_TRACE(kFirstGameOrder[which].token);
    std::array<int, 6> flags{};
    flags[which] = 1;
    const FirstGameOptions options =
        FirstGameOptions::FromFlags(flags[0], flags[1], flags[2], flags[3], flags[4], flags[5]);
    for (std::size_t field = 0; field < kFirstGameOrder.size(); ++field) {
      EXPECT_EQ(options.*kFirstGameOrder[field].member, field == which) << "field " << field;
    }
  }
}

TEST(FirstGameOptionsTest, AnyNonZeroStoredValueCountsAsSet) {
  for (int stored : {1, 2, -1, 255, 256, INT_MAX, INT_MIN}) {
    SCOPED_TRACE(stored);
    const FirstGameOptions options = FirstGameOptions::FromFlags(stored, stored, stored, stored, stored, stored);
    EXPECT_EQ(FirstGameSwitches(options), " -r1024x768 -skip_intro -w -nosound -skip_verify -nodx6");
  }
  EXPECT_EQ(FirstGameSwitches(FirstGameOptions::FromFlags(0, 0, 0, 0, 0, 0)), "");
}

// All 64 combinations: the switches must be exactly the set options, each once, in the game's
// order, each with one blank in front and nothing else in between or after.
TEST(FirstGameSwitchesTest, EveryCombinationListsTheSetOptionsInTheGameOrder) {
  for (unsigned mask = 0; mask < 64; ++mask) {
    SCOPED_TRACE("mask " + std::to_string(mask));
    const std::string switches = FirstGameSwitches(FirstOptionsFromMask(mask));
    if (mask == 0) {
      EXPECT_EQ(switches, "");
      continue;
    }
    ASSERT_FALSE(switches.empty());
    EXPECT_EQ(switches.front(), ' ');

    std::set<int> seen;
    int previous = -1;
    for (const std::string& token : TokensAfterLeadingBlank(switches)) {
      const int order = OrderOfToken(token);
      ASSERT_NE(order, -1) << "unknown or empty token '" << token << "' in '" << switches << "'";
      EXPECT_GT(order, previous) << "'" << token << "' out of order in '" << switches << "'";
      previous = order;
      seen.insert(order);
    }
    std::set<int> set;
    for (int bit = 0; bit < 6; ++bit) {
      if (mask & (1u << bit)) set.insert(bit);
    }
    EXPECT_EQ(seen, set) << switches;
  }
}

TEST(FirstGamePreviewTest, KnownCombinations) {
  EXPECT_EQ(FirstGamePreview(FirstOptionsFromMask(63)),
            "Orbels.exe -r1024x768 -skip_intro -w -nosound -skip_verify -nodx6");
  EXPECT_EQ(FirstGamePreview(FirstGameOptions{}), "Orbels.exe");
  EXPECT_EQ(FirstGamePreview(FirstGameOptions::FromFlags(1, 0, 0, 0, 0, 1)), "Orbels.exe -r1024x768 -nodx6");
  EXPECT_EQ(FirstGamePreview(FirstGameOptions::FromFlags(0, 1, 1, 0, 0, 0)), "Orbels.exe -skip_intro -w");
  EXPECT_EQ(FirstGamePreview(FirstGameOptions::FromFlags(0, 0, 0, 1, 1, 0)), "Orbels.exe -nosound -skip_verify");
}

// The working directory is the location exactly as stored.
TEST(FirstGameProgramPathTest, JoinsLocationAndExecutableWithoutTidying) {
  struct Case {
    std::string location;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"C:\\Games\\Orbels", "C:\\Games\\Orbels\\Orbels.exe"},
      {"C:\\Games\\Orbels\\", "C:\\Games\\Orbels\\\\Orbels.exe"},  // trailing backslash is doubled
      {"", "\\Orbels.exe"},
      {"C:", "C:\\Orbels.exe"},
      {"C:\\", "C:\\\\Orbels.exe"},
      {"C:\\Program Files\\The Orbels", "C:\\Program Files\\The Orbels\\Orbels.exe"},
      {"\\\\server\\share\\Orbels", "\\\\server\\share\\Orbels\\Orbels.exe"},
      // A location ending in a double-byte character whose trail byte is 0x5C stays as it is.
      {"C:\\Games\\" + kSo, "C:\\Games\\" + kSo + "\\Orbels.exe"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FirstGameProgramPath(c.location), c.expected) << "location '" << c.location << "'";
    EXPECT_EQ(FirstGameWorkingDirectory(c.location), c.location);
  }
}

TEST(FirstGameQuickCommandLineTest, ProgramPathThenSwitches) {
  EXPECT_EQ(FirstGameQuickCommandLine("C:\\Games\\Orbels", FirstGameOptions::FromFlags(0, 1, 1, 0, 0, 0)),
            "C:\\Games\\Orbels\\Orbels.exe -skip_intro -w");
  EXPECT_EQ(FirstGameQuickCommandLine("C:\\Games\\Orbels", FirstGameOptions{}), "C:\\Games\\Orbels\\Orbels.exe");
  EXPECT_EQ(FirstGameQuickCommandLine("C:\\Games\\Orbels\\", FirstGameOptions::FromFlags(0, 0, 0, 0, 0, 1)),
            "C:\\Games\\Orbels\\\\Orbels.exe -nodx6");
  EXPECT_EQ(FirstGameQuickCommandLine("", FirstOptionsFromMask(63)),
            "\\Orbels.exe -r1024x768 -skip_intro -w -nosound -skip_verify -nodx6");
  EXPECT_EQ(FirstGameQuickCommandLine("", FirstGameOptions{}), "\\Orbels.exe");
  // Blanks in the location are not quoted.
  EXPECT_EQ(FirstGameQuickCommandLine("C:\\Program Files\\The Orbels", FirstGameOptions::FromFlags(0, 0, 1, 1, 0, 0)),
            "C:\\Program Files\\The Orbels\\Orbels.exe -w -nosound");
}

// The quick route puts the switches after the program path; the dialog route takes them from
// the preview. Both must hand the game the same switches.
TEST(FirstGameRoutesTest, QuickAndDialogRoutesPassTheSameSwitchesForEveryCombination) {
  const std::string location = "C:\\Program Files\\The Orbels";
  const std::string path = location + "\\Orbels.exe";
  for (unsigned mask = 0; mask < 64; ++mask) {
    SCOPED_TRACE("mask " + std::to_string(mask));
    const FirstGameOptions options = FirstOptionsFromMask(mask);
    const std::string quick = FirstGameQuickCommandLine(location, options);
    ASSERT_EQ(quick.compare(0, path.size(), path), 0) << quick;
    const std::string afterPath = quick.substr(path.size());
    const std::string dialog = SwitchesFromPreview(FirstGamePreview(options));
    if (mask == 0) {
      EXPECT_EQ(afterPath, "");
      EXPECT_EQ(dialog, "");
    } else {
      EXPECT_EQ(afterPath, " " + dialog);
    }
  }
}

// ---- The Orbels 2 -----------------------------------------------------------------------

const std::string kSecondGamePath = "D:\\Games\\Orbels 2\\TOBin\\Orbels2.exe";

SecondGameOptions SpecifiedResolution(int resolution, std::string custom) {
  SecondGameOptions options;
  options.specifyResolution = true;
  options.resolution = resolution;
  options.customResolution = std::move(custom);
  return options;
}

TEST(SecondGameOptionsTest, EachStoredFlagSetsItsOwnOption) {
  const SecondGameOptions window = SecondGameOptions::FromFlags(1, 0, 0, 0, "");
  EXPECT_TRUE(window.runInWindow);
  EXPECT_FALSE(window.noSound);
  EXPECT_FALSE(window.specifyResolution);

  const SecondGameOptions sound = SecondGameOptions::FromFlags(0, 1, 0, 0, "");
  EXPECT_FALSE(sound.runInWindow);
  EXPECT_TRUE(sound.noSound);
  EXPECT_FALSE(sound.specifyResolution);

  const SecondGameOptions specify = SecondGameOptions::FromFlags(0, 0, 1, 5, "1600x1200");
  EXPECT_FALSE(specify.runInWindow);
  EXPECT_FALSE(specify.noSound);
  EXPECT_TRUE(specify.specifyResolution);
  EXPECT_EQ(specify.resolution, 5);
  EXPECT_EQ(specify.customResolution, "1600x1200");
}

TEST(SecondGameOptionsTest, AnyNonZeroStoredValueCountsAsSet) {
  for (int stored : {1, 2, -1, 255, INT_MAX, INT_MIN}) {
    SCOPED_TRACE(stored);
    const SecondGameOptions options = SecondGameOptions::FromFlags(stored, stored, stored, 1, "");
    EXPECT_EQ(SecondGamePreview("Orbels2.exe", options, NoLeadBytes), "Orbels2.exe -w -nosound -r1024x768");
    EXPECT_EQ(SecondGameQuickCommandLine(options), " -w -nosound -r1024x768");
  }
  const SecondGameOptions none = SecondGameOptions::FromFlags(0, 0, 0, 1, "1152x864");
  EXPECT_EQ(SecondGamePreview("Orbels2.exe", none, NoLeadBytes), "Orbels2.exe");
  EXPECT_EQ(SecondGameQuickCommandLine(none), "");
}

TEST(SecondGamePreviewTest, KnownTexts) {
  SecondGameOptions options = SpecifiedResolution(2, "1152x864");
  options.runInWindow = true;
  EXPECT_EQ(SecondGamePreview(kSecondGamePath, options, NoLeadBytes), "Orbels2.exe -w -r1152x864");
  EXPECT_EQ(SecondGamePreview(kSecondGamePath, SecondGameOptions{}, NoLeadBytes), "Orbels2.exe");
  EXPECT_EQ(SecondGamePreview(kSecondGamePath, SecondGameOptions::FromFlags(1, 1, 1, 0, ""), NoLeadBytes),
            "Orbels2.exe -w -nosound -r800x600");
  EXPECT_EQ(SecondGamePreview(kSecondGamePath, SecondGameOptions::FromFlags(0, 1, 0, 0, ""), NoLeadBytes),
            "Orbels2.exe -nosound");
}

TEST(SecondGamePreviewTest, StartsWithTheExecutableFileName) {
  struct Case {
    std::string path;
    std::string fileName;
  };
  const std::vector<Case> cases = {
      {kSecondGamePath, "Orbels2.exe"},
      {"Orbels2.exe", "Orbels2.exe"},  // no backslash: the whole text
      {"\\Orbels2.exe", "Orbels2.exe"},
      {"D:\\My Games\\Orbels 2.exe", "Orbels 2.exe"},
      {"D:\\Games\\", ""},  // nothing after the last backslash
      {"", ""},
      {"D:/Games/Orbels2.exe", "D:/Games/Orbels2.exe"},  // only the backslash separates
      {"\\\\server\\share\\Orbels2.exe", "Orbels2.exe"},
  };
  SecondGameOptions window;
  window.runInWindow = true;
  for (const Case& c : cases) {
    SCOPED_TRACE("path '" + c.path + "'");
    EXPECT_EQ(SecondGamePreview(c.path, SecondGameOptions{}, NoLeadBytes), c.fileName);
    EXPECT_EQ(SecondGamePreview(c.path, SecondGameOptions{}, IsLeadByteCp932), c.fileName);
    EXPECT_EQ(SecondGamePreview(c.path, window, NoLeadBytes), c.fileName + " -w");
  }
}

// A double-byte character whose trail byte is 0x5C is not a separator in code page 932, but
// is one when the code page has no lead bytes.
TEST(SecondGamePreviewTest, DoubleByteNamesAreSplitByCharacters) {
  struct Case {
    std::string path;
    std::string fileNameCp932;
    std::string fileNameSingleByte;
  };
  const std::vector<Case> cases = {
      {"C:\\" + kSo + "\\game.exe", "game.exe", "game.exe"},
      {"C:\\dir" + kSo + ".exe", "dir" + kSo + ".exe", ".exe"},
      {"C:\\Games\\" + kSo, kSo, ""},
      {kSo + ".exe", kSo + ".exe", ".exe"},
      {"C:\\" + kSo + kSo + ".exe", kSo + kSo + ".exe", ".exe"},
      {"C:\\" + kHiraganaA + "\\" + kSo + ".exe", kSo + ".exe", ".exe"},
      {"C:\\" + kHiraganaA + ".exe", kHiraganaA + ".exe", kHiraganaA + ".exe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(SecondGamePreview(c.path, SecondGameOptions{}, IsLeadByteCp932), c.fileNameCp932);
    EXPECT_EQ(SecondGamePreview(c.path, SecondGameOptions{}, NoLeadBytes), c.fileNameSingleByte);
    EXPECT_EQ(SecondGamePreview(c.path, SecondGameOptions::FromFlags(1, 1, 1, 1, ""), IsLeadByteCp932),
              c.fileNameCp932 + " -w -nosound -r1024x768");
  }
}

// Each stored resolution value with the text the preview and the quick route add for it when
// "specify resolution" is set.
struct ResolutionCase {
  int resolution;
  std::string custom;
  std::string previewAdds;
  std::string quickAdds;
};

const std::vector<ResolutionCase>& ResolutionCases() {
  static const std::vector<ResolutionCase> cases = {
      {0, "1152x864", " -r800x600", " -r800x600"},
      {0, "", " -r800x600", " -r800x600"},
      {1, "1152x864", " -r1024x768", " -r1024x768"},
      {1, "", " -r1024x768", " -r1024x768"},
      {2, "1152x864", " -r1152x864", " -r1152x864"},
      {2, "", " -r", " -r"},
      {2, "1280 x 1024", " -r1280 x 1024", " -r1280 x 1024"},
      {2, " 1600x1200 ", " -r 1600x1200 ", " -r 1600x1200 "},
      {2, "800x600", " -r800x600", " -r800x600"},
      // Stray values: the preview still shows the custom text, the quick route adds nothing.
      {-1, "1152x864", " -r1152x864", ""},
      {-1, "", " -r", ""},
      {3, "1600x1200", " -r1600x1200", ""},
      {3, "", " -r", ""},
      {5, "1280 x 1024", " -r1280 x 1024", ""},
      {-2, "640x480", " -r640x480", ""},
      {INT_MAX, "1152x864", " -r1152x864", ""},
      {INT_MIN, "1152x864", " -r1152x864", ""},
  };
  return cases;
}

std::string ResolutionTrace(const ResolutionCase& c) {
  return "resolution " + std::to_string(c.resolution) + ", custom '" + c.custom + "'";
}

// Both routes, for every stored resolution value with every window and sound choice. For the
// three known choices they hand the game the same switches; for a stray value the dialog route
// passes the custom text while the quick route passes no resolution.
TEST(SecondGameSwitchesTest, EachResolutionValueWithEveryWindowAndSoundChoice) {
  for (const ResolutionCase& c : ResolutionCases()) {
    for (int window = 0; window < 2; ++window) {
      for (int sound = 0; sound < 2; ++sound) {
        SCOPED_TRACE(ResolutionTrace(c) + ", window " + std::to_string(window) + ", nosound " + std::to_string(sound));
        const SecondGameOptions options = SecondGameOptions::FromFlags(window, sound, 1, c.resolution, c.custom);
        const std::string before = std::string(window ? " -w" : "") + (sound ? " -nosound" : "");
        EXPECT_EQ(SecondGamePreview(kSecondGamePath, options, NoLeadBytes), "Orbels2.exe" + before + c.previewAdds);
        EXPECT_EQ(SecondGameQuickCommandLine(options), before + c.quickAdds);
      }
    }
  }
}

TEST(SecondGameSwitchesTest, NoResolutionSwitchUnlessResolutionIsSpecified) {
  for (const ResolutionCase& c : ResolutionCases()) {
    SCOPED_TRACE(ResolutionTrace(c));
    const SecondGameOptions plain = SecondGameOptions::FromFlags(0, 0, 0, c.resolution, c.custom);
    const SecondGameOptions windowAndSound = SecondGameOptions::FromFlags(1, 1, 0, c.resolution, c.custom);
    EXPECT_EQ(SecondGamePreview(kSecondGamePath, plain, NoLeadBytes), "Orbels2.exe");
    EXPECT_EQ(SecondGamePreview(kSecondGamePath, windowAndSound, NoLeadBytes), "Orbels2.exe -w -nosound");
    EXPECT_EQ(SecondGameQuickCommandLine(plain), "");
    EXPECT_EQ(SecondGameQuickCommandLine(windowAndSound), " -w -nosound");
  }
}

TEST(SecondGameWorkingDirectoryTest, IsThePathBeforeTheLastBackslash) {
  struct Case {
    std::string path;
    std::string directoryCp932;
    std::string directorySingleByte;
  };
  const std::vector<Case> cases = {
      {kSecondGamePath, "D:\\Games\\Orbels 2\\TOBin", "D:\\Games\\Orbels 2\\TOBin"},
      {"Orbels2.exe", "", ""},
      {"", "", ""},
      {"\\Orbels2.exe", "", ""},
      {"D:\\Orbels2.exe", "D:", "D:"},
      {"D:\\Games\\", "D:\\Games", "D:\\Games"},
      {"C:\\" + kSo + "\\game.exe", "C:\\" + kSo, "C:\\" + kSo},
      {"C:\\dir" + kSo + ".exe", "C:", "C:\\dir\x83"},
      {"C:\\Games\\" + kSo, "C:\\Games", "C:\\Games\\\x83"},
      {kSo + ".exe", "", "\x83"},
      {"C:\\" + kHiraganaA + "\\game.exe", "C:\\" + kHiraganaA, "C:\\" + kHiraganaA},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(SecondGameWorkingDirectory(c.path, IsLeadByteCp932), c.directoryCp932);
    EXPECT_EQ(SecondGameWorkingDirectory(c.path, NoLeadBytes), c.directorySingleByte);
  }
}

// ---- Both games -------------------------------------------------------------------------

TEST(SwitchesFromPreviewTest, TakesEverythingFromTheFirstHyphen) {
  struct Case {
    std::string preview;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"Orbels.exe -skip_intro -w", "-skip_intro -w"},
      {"Orbels.exe", ""},
      {"", ""},
      {"-", "-"},
      {"Orbels.exe -w ", "-w "},  // a trailing blank is kept
      {"Orbels2.exe -r", "-r"},
      {"Orbels2.exe -w -r1280 x 1024", "-w -r1280 x 1024"},
      {"Orbels2.exe -r-1", "-r-1"},  // later hyphens are kept
      {"Orbels.exe  -w", "-w"},
      {kSo + ".exe -w", "-w"},
      {"Orbels.exe -r1024x768 -skip_intro -w -nosound -skip_verify -nodx6",
       "-r1024x768 -skip_intro -w -nosound -skip_verify -nodx6"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SwitchesFromPreview(c.preview), c.expected) << "preview '" << c.preview << "'";
  }
}

// The cut is made at the first hyphen anywhere, so an executable whose file name contains one
// is cut inside its name. Only the file name counts: a hyphen in a directory never reaches the
// preview.
TEST(SwitchesFromPreviewTest, HyphenInTheExecutableNameIsCutThere) {
  EXPECT_EQ(SwitchesFromPreview("Orbels-Gold.exe -w"), "-Gold.exe -w");
  EXPECT_EQ(SwitchesFromPreview("Orbels-Gold.exe"), "-Gold.exe");

  SecondGameOptions window;
  window.runInWindow = true;
  EXPECT_EQ(SwitchesFromPreview(SecondGamePreview("D:\\Games\\Orbels-2\\Orbels2.exe", window, NoLeadBytes)), "-w");
  EXPECT_EQ(SwitchesFromPreview(SecondGamePreview("D:\\Games\\Orbels-2.exe", window, NoLeadBytes)), "-2.exe -w");
  EXPECT_EQ(SwitchesFromPreview(SecondGamePreview("D:\\Games\\Orbels-2.exe", SecondGameOptions{}, NoLeadBytes)),
            "-2.exe");
}

}  // namespace
}  // namespace ol
