#include "catalogue/IconFetchOrder.h"

#include <gtest/gtest.h>

using namespace ol;

namespace {
std::vector<int> TakeAll(CIconFetchOrder& order) {
  std::vector<int> jobs;
  while (auto job = order.Take()) jobs.push_back(*job);
  return jobs;
}
}  // namespace

TEST(IconFetchOrder, OnScreenJobsComeFirstThenTheRestInListOrderEachOnce) {
  CIconFetchOrder order(10);
  EXPECT_EQ(order.Take(), 0);
  EXPECT_EQ(order.Take(), 1);
  order.PutFirst({6, 7, 8});  // scrolled down
  EXPECT_EQ(order.Take(), 6);
  order.Drop(3);  // needed at once by a launch
  order.PutFirst({4, 2, 3});  // scrolled back: 7 and 8, not taken yet, fall back in line
  EXPECT_EQ(TakeAll(order), (std::vector<int>{4, 2, 5, 7, 8, 9}));
  EXPECT_EQ(order.Remaining(), 0);
  EXPECT_EQ(order.Take(), std::nullopt);
}

TEST(IconFetchOrder, JobsThatDoNotExistAreSkippedAndAnEmptyOrderGivesNothing) {
  CIconFetchOrder order(4);
  order.PutFirst({2, 40, -1, 3});
  order.Drop(7);  // no such job
  EXPECT_EQ(order.Remaining(), 4);
  EXPECT_EQ(TakeAll(order), (std::vector<int>{2, 3, 0, 1}));
  CIconFetchOrder none;
  none.PutFirst({0, 5});
  EXPECT_EQ(none.Take(), std::nullopt);
}
