#include "framework/DialogText.h"

#include <gtest/gtest.h>

using namespace ol;

TEST(DialogInteger, AcceptsBlanksAroundASignedNumber) {
  EXPECT_EQ(ParseDialogInteger("10"), 10);
  EXPECT_EQ(ParseDialogInteger("  42\t"), 42);
  EXPECT_EQ(ParseDialogInteger("\t-7 "), -7);
  EXPECT_EQ(ParseDialogInteger("+5"), 5);
  EXPECT_EQ(ParseDialogInteger("0"), 0);
  EXPECT_EQ(ParseDialogInteger("00100"), 100);
  EXPECT_EQ(ParseDialogInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseDialogInteger("-2147483648"), INT32_MIN);
}

TEST(DialogInteger, RefusesAnythingElse) {
  for (const char* text : {"", "   ", "-", "1 2", "12a", "a12", "1.5", "0x10", "2147483648", "99999999999999999999"}) {
    EXPECT_FALSE(ParseDialogInteger(text)) << text;
  }
}

TEST(DialogInteger, ReadsOnlyTheFirst31Characters) {
  const std::string padded = std::string(29, ' ') + "42";  // 31 characters
  EXPECT_EQ(ParseDialogInteger(padded), 42);
  EXPECT_EQ(ParseDialogInteger(std::string(30, ' ') + "42"), 4);  // the "2" lies beyond the 31st character
  EXPECT_EQ(ParseDialogInteger("7" + std::string(30, ' ') + "junk"), 7);
}

TEST(MessageArguments, FillInPercentOneAndTwo) {
  EXPECT_EQ(FormatWithArguments("Please enter an integer between %1 and %2.", "0", "100"),
            "Please enter an integer between 0 and 100.");
  EXPECT_EQ(FormatWithArguments("%2-%1-%3%", "a", "b"), "b-a-%3%");
}

TEST(FileFilter, BarsBecomeZeroBytes) {
  const std::string filter = FileDialogFilter("Executable Files (*.exe)|*.exe|All Files (*.*)|*.*||");
  EXPECT_EQ(filter, std::string("Executable Files (*.exe)\0*.exe\0All Files (*.*)\0*.*\0\0", 52));
  EXPECT_EQ(FileDialogFilter("A|*.a"), std::string("A\0*.a\0\0", 7));
  EXPECT_EQ(FileDialogFilter(""), std::string("\0\0", 2));
}
