// The view's arithmetic: fitting zoom, zoom steps, scroll-bar rules.
#include <gtest/gtest.h>

#include "shell/ViewRules.h"

namespace fotavel::view {
namespace {

// A room of aw x ah pixels at 15 twips a pixel, built back from the margins.
Room RoomOf(int aw, int ah) {
  Room room;
  room.verticalToolbarWidth = 1200;
  room.toolbarHeight = 900;
  room.statusHeight = 360;
  room.mainWidth = aw * 15.0 + 800 + room.verticalToolbarWidth;
  room.mainHeight = ah * 15.0 + 1500 + room.toolbarHeight + room.statusHeight;
  return room;
}

// Never enlarged; the dimension that overflows decides; halves go to the even neighbour.
TEST(FittingZoom, TheOverflowingDimensionDecidesAndHalvesGoToEven) {
  const struct {
    int aw, ah, w, h;
    int zoom;
  } cases[] = {
      // clang-format off
      {800, 600, 400, 300, 100}, {400, 300, 400, 300, 100}, {800, 600, 1, 1, 100},
      {500, 600, 1000, 300, 50},  // only too wide
      {900, 300, 800, 1200, 25},  // only too high
      {500, 300, 1000, 1200, 25}, {500, 300, 2000, 600, 25},  // both: the smaller
      {75, 600, 200, 10, 38},     // 37.5
      {73, 600, 200, 10, 36},     // 36.5
      {74, 600, 300, 10, 25},     // 24.67
      // clang-format on
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ZoomAjuste(RoomOf(c.aw, c.ah), c.w, c.h), c.zoom) << c.aw << " " << c.w;
  }
}

TEST(FittingZoom, TheRoomIsRoundedToWholePixelsFirst) {
  Room room = RoomOf(100, 600);
  room.mainWidth += 7.5;  // 100.5 pixels: rounds to 100, the even one
  EXPECT_EQ(ZoomAjuste(room, 200, 10), 50);
  room.mainWidth += 1;  // 100.57 → 101
  EXPECT_EQ(ZoomAjuste(room, 202, 10), 50);
  // Another screen: 12 twips a pixel.
  Room fine = RoomOf(0, 600);
  fine.twipsPerPixelX = 12;
  fine.mainWidth = 300 * 12.0 + 800 + fine.verticalToolbarWidth;
  EXPECT_EQ(ZoomAjuste(fine, 600, 10), 50);
}

TEST(ZoomSteps, TensAboveTwentyStopAtTwoThousandTwipsAndNeverReachZero) {
  EXPECT_EQ(ZoomStepIn(19), 20);
  EXPECT_EQ(ZoomStepIn(20), 30);
  EXPECT_EQ(ZoomStepIn(1.5), 2.5);
  EXPECT_EQ(ZoomStepOut(20, 5000), 10);
  EXPECT_EQ(ZoomStepOut(10, 5000), 9);
  EXPECT_EQ(ZoomStepOut(100, 5000), 90);
  EXPECT_FALSE(ZoomStepOut(50, 2000).has_value());
  EXPECT_EQ(ZoomStepOut(50, 2000.5), 40);
  EXPECT_EQ(ZoomStepOut(1, 3000), 1.5);
  EXPECT_EQ(ZoomStepOut(1.5, 3000), 0.5);
  EXPECT_EQ(ZoomStepOut(0.5, 3000), 1.5);
}

TEST(WheelNotches, TurnsAddUpToWholeNotchesAndTurningBackStartsAfresh) {
  int pending = 0;
  EXPECT_EQ(WheelNotches(pending, 100), 0);
  EXPECT_EQ(WheelNotches(pending, 150), 2);
  EXPECT_EQ(pending, 10);
  EXPECT_EQ(WheelNotches(pending, -115), 0) << "the 10 still owed upwards are dropped";
  EXPECT_EQ(WheelNotches(pending, -5), -1);
  EXPECT_EQ(pending, 0);
  EXPECT_EQ(WheelNotches(pending, -250), -2);
  EXPECT_EQ(pending, -10);
  pending = 119;
  EXPECT_EQ(WheelNotches(pending, 2147483647), 17895698);
  EXPECT_EQ(pending, 6);
}

ViewportSizes Viewport(double imageW, double imageH) {
  ViewportSizes s;
  s.innerWidth = 6000;
  s.innerHeight = 4500;
  s.hScrollHeight = 255;
  s.vScrollWidth = 255;
  s.imageWidth = imageW;
  s.imageHeight = imageH;
  return s;
}

TEST(ScrollBars, OnlyTheDimensionThatOverflowsGetsABar) {
  const ScrollLayout none = LayoutScrollBars(Viewport(3000, 3000));
  EXPECT_FALSE(none.horizontalVisible || none.verticalVisible);

  ScrollLayout wide = LayoutScrollBars(Viewport(9000, 3000));
  EXPECT_TRUE(wide.horizontalVisible);
  EXPECT_FALSE(wide.verticalVisible);
  EXPECT_EQ(wide.horizontalMax, (9000 - 6000 + 255) / 15);

  ScrollLayout tall = LayoutScrollBars(Viewport(3000, 9001));
  EXPECT_FALSE(tall.horizontalVisible);
  EXPECT_TRUE(tall.verticalVisible);
  EXPECT_EQ(tall.verticalMax, (9001 - 4500 + 255) / 15);  // 4756 / 15 = 317
}

TEST(ScrollBars, EachTestCountsTheOtherBarEvenWhenHidden) {
  // 5800 fits 6000 but not 6000 - 255: the horizontal bar shows alone.
  ScrollLayout layout = LayoutScrollBars(Viewport(5800, 100));
  EXPECT_TRUE(layout.horizontalVisible);
  EXPECT_FALSE(layout.verticalVisible);
  EXPECT_EQ(layout.horizontalMax, 3);  // 55 / 15
  // Exactly the room left beside the other bar: no bar.
  const ScrollLayout exact = LayoutScrollBars(Viewport(5745, 4245));
  EXPECT_FALSE(exact.horizontalVisible || exact.verticalVisible);
}

TEST(ScrollBars, TheMaximumRoundsBothLengthsBeforeDividing) {
  // 6000.5 - 6000 + 255 = 255.5 → 256 (even), 256 / 15 = 17.
  EXPECT_EQ(LayoutScrollBars(Viewport(6000.5, 10)).horizontalMax, 17);
  ViewportSizes odd = Viewport(7000, 10);
  odd.twipsPerPixelX = 14.5;  // → 14: 1255 / 14 = 89
  EXPECT_EQ(LayoutScrollBars(odd).horizontalMax, 89);
}

}  // namespace
}  // namespace fotavel::view
