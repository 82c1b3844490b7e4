// The progress-bar control: the bar made on placing, only-on-change writes, a range held.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "controls/ProgressBar.h"

namespace fotavel::testing {
namespace {

// The status area places its bar new, as here; the bar exists only from then on, with the
// position set before.
TEST(ProgressBarTest, WritesGoOnOnlyWhenTheValueChangesAndPositionsAreHeldInRange) {
  QWidget statusArea;
  auto* bar = new ProgressBar(&statusArea);
  EXPECT_EQ(bar->hwnd(), nullptr);
  bar->SetPosition(7);
  bar->InitProperties();
  ASSERT_NE(bar->hwnd(), nullptr);
  EXPECT_EQ(bar->hwnd()->value(), 7);

  // An effect writes the same value at every column: only a change may go on to the bar.
  QSignalSpy changes(bar, &ProgressBar::PropertyChanged);
  for (int round = 0; round < 2; ++round) {
    bar->SetPosition(30);
    bar->SetMax(200);
    bar->SetMin(10);
  }
  EXPECT_EQ(changes.count(), 3);
  EXPECT_EQ(std::tuple(bar->hwnd()->minimum(), bar->hwnd()->maximum(), bar->hwnd()->value()),
            std::tuple(10, 200, 30));

  // The control keeps a position outside the range; the bar holds it at the range's ends and
  // keeps it when the range changes.
  bar->SetMax(100);
  bar->SetPosition(150);
  EXPECT_EQ(std::pair(bar->hwnd()->value(), bar->Position()), std::pair(100, 150));
  bar->SetMax(400);
  EXPECT_EQ(bar->hwnd()->value(), 100) << "a new range keeps the bar's position";
  bar->SetPosition(-3);
  EXPECT_EQ(bar->hwnd()->value(), 10);
}

}  // namespace
}  // namespace fotavel::testing
