// The status labels' places across the window widths where they give way.
#include <gtest/gtest.h>

#include <QLabel>

#include "controls/ProgressBar.h"
#include "shell/ShellFixture.h"
#include "shell/StatusLayout.h"

namespace fotavel::layout {
namespace {

StatusInput Labels(double windowWidth) {
  StatusInput in;
  in.windowWidth = windowWidth;
  in.margin = 60;
  in.sizeWidth = 1500;
  in.imageWidth = 3000;
  in.zoomWidth = 1200;
  return in;  // N = 1500 + 1200 + 3000 + 90 = 5790
}

TEST(StatusLabels, AllThreeStandAtTheRightEndWhenThereIsRoomForTwiceThem) {
  const StatusPlaces p = PlaceStatusLabels(Labels(2 * 5790));
  EXPECT_TRUE(p.sizeVisible && p.imageVisible && p.zoomVisible);
  EXPECT_EQ(p.statusWidth, 11580 - 240 - 5790 - 140);
  EXPECT_EQ(p.sizeLeft, 11580 - 1502 - 60 - 140);
  EXPECT_EQ(p.imageLeft, p.sizeLeft - 3002 - 60);
  EXPECT_EQ(p.zoomLeft, p.imageLeft - 1202 - 60);
}

TEST(StatusLabels, OneTwipNarrowerKeepsOnlyTheZoom) {
  const StatusPlaces p = PlaceStatusLabels(Labels(2 * 5790 - 1));
  EXPECT_FALSE(p.sizeVisible);
  EXPECT_FALSE(p.imageVisible);
  EXPECT_TRUE(p.zoomVisible);
  EXPECT_EQ(p.statusWidth, 11579 - 120 - 1202 - 140);
  EXPECT_EQ(p.zoomLeft, 11579 - 1202 - 60 - 140);
  // W - N = N / 3 still shows the zoom; below it nothing.
  EXPECT_TRUE(PlaceStatusLabels(Labels(5790 + 1930)).zoomVisible);
  const StatusPlaces none = PlaceStatusLabels(Labels(5790 + 1929));
  EXPECT_FALSE(none.zoomVisible || none.sizeVisible || none.imageVisible);
  EXPECT_EQ(none.statusWidth, 7719 - 120 - 140);
}

}  // namespace
}  // namespace fotavel::layout

namespace fotavel::testing {
namespace {

using StatusArea = ShellTest;

TEST_F(StatusArea, ANarrowWindowHidesTheLabelsAndTheBarFollowsTheMessage) {
  EXPECT_TRUE(window->lblSize()->isVisible());
  EXPECT_TRUE(window->lblZoom()->isVisible());
  EXPECT_GT(window->lblSize()->x(), window->lblImage()->x());
  EXPECT_GT(window->lblImage()->x(), window->lblZoom()->x());
  window->resize(500, 600);
  QCoreApplication::processEvents();
  EXPECT_FALSE(window->lblSize()->isVisible());
  EXPECT_FALSE(window->lblImage()->isVisible());
  EXPECT_EQ(window->prgMain()->geometry(), window->lblStatus()->geometry());
}

}  // namespace
}  // namespace fotavel::testing
