#include "app/FrameGeometry.h"

#include <gtest/gtest.h>

using namespace ol;

namespace {
const Rect kWork{0, 0, 1024, 738};  // a taskbar of 30 pixels at the bottom
}

TEST(FramePlacement, PositionsOffTheWorkAreaGoToTheOrigin) {
  EXPECT_EQ(ClampFramePosition(0, 0, 450, 300, kWork), (Point{0, 0}));
  EXPECT_EQ(ClampFramePosition(100, 200, 450, 300, kWork), (Point{100, 200}));
  EXPECT_EQ(ClampFramePosition(-32000, -32000, 160, 28, kWork), (Point{0, 0}));  // closed while minimised
  EXPECT_EQ(ClampFramePosition(574, 438, 450, 300, kWork), (Point{574, 438}));   // exactly flush is fine
  EXPECT_EQ(ClampFramePosition(575, 439, 450, 300, kWork), (Point{0, 0}));
  EXPECT_EQ(ClampFramePosition(-1, 50, 450, 300, kWork), (Point{0, 50}));
  // A frame larger than the work area always lands at the origin.
  EXPECT_EQ(ClampFramePosition(10, 10, 2000, 2000, kWork), (Point{0, 0}));
  // Any stored size is taken: one of 0x80000000 or more reads as negative and leaves every
  // limit far away; the largest positive one leaves no room at all.
  EXPECT_EQ(ClampFramePosition(100, 200, INT32_MIN, INT32_MIN, kWork), (Point{100, 200}));
  EXPECT_EQ(ClampFramePosition(100, 200, INT32_MAX, INT32_MAX, kWork), (Point{0, 0}));
  EXPECT_EQ(ClampFramePosition(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN, {-1920, -1080, 1024, 738}),
            (Point{INT32_MAX, INT32_MAX}));
}

TEST(FramePlacement, StoredFiguresAreAt96DpiAndClampedInPixels) {
  const Placement stored{40, 30, 450, 300};
  EXPECT_EQ(PlaceStoredFrame(stored, 96, kWork), (Placement{40, 30, 450, 300}));
  EXPECT_EQ(PlaceStoredFrame(stored, 144, kWork), (Placement{60, 45, 675, 450}));
  EXPECT_EQ(PlaceStoredFrame({7, 3, 451, 301}, 168, kWork), (Placement{12, 5, 789, 527}));
  // 500 fits beside 450 on 1,024 pixels, but 750 does not beside 675.
  EXPECT_EQ(PlaceStoredFrame({500, 400, 450, 300}, 96, kWork), (Placement{500, 400, 450, 300}));
  EXPECT_EQ(PlaceStoredFrame({500, 150, 450, 300}, 144, kWork), (Placement{0, 225, 675, 450}));
}

TEST(FramePlacement, LimitsAreMeasuredFromTheScreenOrigin) {
  const Rect taskbarsOnTheLeftAndTop{60, 40, 1024, 768};
  EXPECT_EQ(ClampFramePosition(0, 0, 450, 300, taskbarsOnTheLeftAndTop), (Point{0, 0}));
  // The greatest left is 964 - 450, the greatest top 728 - 300.
  EXPECT_EQ(ClampFramePosition(515, 429, 450, 300, taskbarsOnTheLeftAndTop), (Point{0, 0}));
  EXPECT_EQ(ClampFramePosition(514, 428, 450, 300, taskbarsOnTheLeftAndTop), (Point{514, 428}));
}

TEST(Snapping, NearMeansStrictlyLessThanTheWidth) {
  EXPECT_TRUE(IsNear(9, 0, 10));
  EXPECT_FALSE(IsNear(10, 0, 10));
  EXPECT_TRUE(IsNear(-9, 0, 10));
  EXPECT_FALSE(IsNear(0, 0, 0));
  EXPECT_FALSE(IsNear(0, 0, -3));
  EXPECT_FALSE(IsNear(INT32_MIN, INT32_MAX, 100000));
}

TEST(Snapping, TheFrameFollowsTheCursorFromTheGrabPoint) {
  // Grabbed 50, 10 from the corner; the system proposes something else; the cursor decides.
  const Rect moved = SnapToWorkArea({0, 0, 450, 300}, {350, 310}, {50, 10}, kWork, 10);
  EXPECT_EQ(moved, (Rect{300, 300, 750, 600}));
}

TEST(Snapping, EdgesWithinRangeSnapFlush) {
  EXPECT_EQ(SnapToWorkArea({}, {59, 310}, {50, 10}, kWork, 10).left, 0);     // 9 pixels: snaps
  EXPECT_EQ(SnapToWorkArea({}, {60, 310}, {50, 10}, kWork, 10).left, 10);    // 10 pixels: does not
  const Rect right = SnapToWorkArea({0, 0, 450, 300}, {50 + 1024 - 450 - 9, 310}, {50, 10}, kWork, 10);
  EXPECT_EQ(right.right, 1024);
  const Rect bottom = SnapToWorkArea({0, 0, 450, 300}, {300, 10 + 738 - 300 - 5}, {50, 10}, kWork, 10);
  EXPECT_EQ(bottom.bottom, 738);
  EXPECT_EQ(bottom.Height(), 300);
}

TEST(Snapping, LeftBeatsRightAndTopBeatsBottom) {
  // A frame nearly as large as the work area is near both edges in each direction.
  const Rect large{0, 0, 1020, 735};
  const Rect snapped = SnapToWorkArea(large, {3, 2}, {0, 0}, kWork, 10);
  EXPECT_EQ(snapped, (Rect{0, 0, 1020, 735}));
  const Rect fromTheOtherSide = SnapToWorkArea(large, {5, 4}, {0, 0}, kWork, 10);
  EXPECT_EQ(fromTheOtherSide.left, 0);
  EXPECT_EQ(fromTheOtherSide.top, 0);
}

TEST(Snapping, AWidthOfZeroNeverSnaps) {
  EXPECT_EQ(SnapToWorkArea({}, {1, 1}, {0, 0}, kWork, 0), (Rect{1, 1, 1, 1}));
}
