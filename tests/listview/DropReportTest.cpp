#include "listview/DropReport.h"

#include <gtest/gtest.h>

using namespace ol;

TEST(DropSummary, OneLinePerRefusalUpToTheLimitThenHowManyMore) {
  std::vector<DropRefusal> many;
  for (int i = 0; i < 23; ++i) many.push_back({"item" + std::to_string(i), "reason."});
  const std::string text = DropSummaryText("Not added:", many, "...and %1 more.");
  EXPECT_NE(text.find("\nitem19: reason."), std::string::npos);
  EXPECT_EQ(text.find("item20"), std::string::npos);
  EXPECT_EQ(text.substr(text.rfind('\n') + 1), "...and 3 more.");
  // Exactly at the limit nothing is left out.
  many.resize(20);
  EXPECT_EQ(DropSummaryText("h", many, "...and %1 more.").find("more"), std::string::npos);
  many.resize(21);
  const std::string one = DropSummaryText("h", many, "...and %1 more.");
  EXPECT_EQ(one.substr(one.rfind('\n') + 1), "...and 1 more.");
}
