#include "util/ErrorText.h"

#include <gtest/gtest.h>

using namespace ol;

TEST(UnknownErrorCode, ShowsTheWholeCodeInHexAndItsLow16BitsInDecimal) {
  EXPECT_EQ(UnknownErrorCodeText(0x20000001), "Unknown Error Code: 0x20000001 (1)");
  EXPECT_EQ(UnknownErrorCodeText(0xDEADBEEF), "Unknown Error Code: 0xDEADBEEF (48879)");
  EXPECT_EQ(UnknownErrorCodeText(0), "Unknown Error Code: 0x00000000 (0)");
  EXPECT_EQ(UnknownErrorCodeText(0xFFFFFFFF), "Unknown Error Code: 0xFFFFFFFF (65535)");
}

TEST(StartFailure, NamesTheProgramAndTheSystemReason) {
  EXPECT_EQ(StartFailureText(R"(C:\Games\Orbels\Orbels.exe)", "The system cannot find the file specified.\r\n"),
            "Orbels Launch could not start the program\nC:\\Games\\Orbels\\Orbels.exe\n\n"
            "The system cannot find the file specified.\r\n");
}
