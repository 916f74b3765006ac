#include "util/Utf8.h"

#include <gtest/gtest.h>

#include <string>

using namespace ol;

TEST(Utf8, WellFormedTextIsValidAndEveryKindOfMalformedByteIsNot) {
  const struct {
    std::string bytes;
    bool valid;
  } kCases[] = {
      {"", true},
      {"SC_NAME=Tool", true},
      {"Caf\xC3\xA9 \xD0\x96 \xE4\xB8\xAD \xF0\x9F\x98\x80", true},  // Café Ж 中 😀
      {"\xED\x9F\xBF\xEE\x80\x80", true},                            // either side of the surrogates
      {"\xEF\xBF\xBF\xF4\x8F\xBF\xBF", true},                        // U+FFFF, U+10FFFF
      {"Caf\xE9", false},                                             // code page 1252
      {"\x80", false},                                                // a stray continuation byte
      {"ab\xC3", false},                                              // cut at the end
      {"\xF0\x9F\x98", false},                                        // an emoji cut short
      {"\xC3(", false},                                               // no continuation byte
      {"\xC0\xAF", false},                                            // "/" in two bytes
      {"\xE0\x9F\xBF", false},                                        // overlong three bytes
      {"\xF0\x8F\xBF\xBF", false},                                    // overlong four bytes
      {"\xED\xA0\x80", false},                                        // a surrogate
      {"\xF4\x90\x80\x80", false},                                    // beyond U+10FFFF
      {"\xF5\x80\x80\x80", false},
      {"\xFF", false},
  };
  for (const auto& c : kCases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
}

TEST(Utf8, LengthIsCountedInUtf16UnitsAsWindowsCountsAPath) {
  EXPECT_EQ(Utf16LengthOfUtf8(""), 0u);
  EXPECT_EQ(Utf16LengthOfUtf8("C:\\Tool"), 7u);
  EXPECT_EQ(Utf16LengthOfUtf8("\xD0\x96\xE4\xB8\xAD"), 2u);      // Ж中: two bytes and three, one each
  EXPECT_EQ(Utf16LengthOfUtf8("\xF0\x9F\x98\x80"), 2u);          // 😀: a surrogate pair
  EXPECT_EQ(Utf16LengthOfUtf8("Caf\xE9"), 4u);                   // not UTF-8: a byte each
  EXPECT_EQ(Utf16LengthOfUtf8("\xF0\x9F\x98" "a"), 4u);
}
