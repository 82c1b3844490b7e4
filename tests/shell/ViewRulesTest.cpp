// The view's arithmetic: fitting zoom and scroll-bar rules.
#include <gtest/gtest.h>

#include "shell/ViewRules.h"

namespace fotavel::view {
namespace {

// Never enlarged; the dimension that overflows decides; halves go to the even neighbour, and the
// room itself is first rounded to whole pixels.
TEST(FittingZoom, TheOverflowingDimensionDecidesAndHalvesGoToEven) {
  const struct {
    double aw;  // the room's width in pixels, at 15 twips a pixel
    int ah, w, h, zoom;
  } cases[] = {
      {800, 600, 400, 300, 100}, {800, 600, 1, 1, 100},     {500, 600, 1000, 300, 50},
      {900, 300, 800, 1200, 25}, {500, 300, 2000, 600, 25}, {75, 600, 200, 10, 38},
      {73, 600, 200, 10, 36},    {74, 600, 300, 10, 25},    {100.5, 600, 200, 10, 50},
      {100.6, 600, 202, 10, 50},
  };
  for (const auto& c : cases) {
    Room room{.verticalToolbarWidth = 1200, .toolbarHeight = 900, .statusHeight = 360};
    room.mainWidth = c.aw * 15 + 800 + 1200;
    room.mainHeight = c.ah * 15.0 + 1500 + 900 + 360;
    EXPECT_EQ(ZoomAjuste(room, c.w, c.h), c.zoom) << c.aw << " " << c.w;
  }
}

// Each bar's test counts the other bar even when hidden; the maximum rounds both lengths first.
TEST(ScrollBars, OnlyTheDimensionThatOverflowsGetsABar) {
  const struct {
    double w, h;
    bool horizontal, vertical;
    int max;
  } cases[] = {
      {3000, 3000, false, false, 0}, {9000, 3000, true, false, 217}, {3000, 9001, false, true, 317},
      {5800, 100, true, false, 3},   {5745, 4245, false, false, 0},  {6000.5, 10, true, false, 17},
  };
  for (const auto& c : cases) {
    const ScrollLayout s = LayoutScrollBars({.innerWidth = 6000,
                                             .innerHeight = 4500,
                                             .imageWidth = c.w,
                                             .imageHeight = c.h,
                                             .hScrollHeight = 255,
                                             .vScrollWidth = 255});
    EXPECT_EQ(std::pair(s.horizontalVisible, s.verticalVisible),
              std::pair(c.horizontal, c.vertical))
        << c.w << " x " << c.h;
    if (c.horizontal || c.vertical) {
      EXPECT_EQ(c.horizontal ? s.horizontalMax : s.verticalMax, c.max) << c.w;
    }
  }
}

}  // namespace
}  // namespace fotavel::view
