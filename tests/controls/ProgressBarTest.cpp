// The progress-bar control: the bar made on placing, only-on-change writes, a range held.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QString>

#include "controls/ProgressBar.h"

namespace fotavel::testing {
namespace {

// Records the positions and ranges the control sends its bar, as a string.
class RecordingBar : public ProgressBarWindow {
 public:
  using ProgressBarWindow::ProgressBarWindow;
  void SetPosition(std::int32_t p) override {
    calls += QStringLiteral("pos %1, ").arg(p);
    ProgressBarWindow::SetPosition(p);
  }
  void SetRange32(std::int32_t lo, std::int32_t hi) override {
    calls += QStringLiteral("range %1 %2, ").arg(lo).arg(hi);
    ProgressBarWindow::SetRange32(lo, hi);
  }
  QString calls;
};

class RecordingProgressBar : public ProgressBar {
 public:
  using ProgressBar::ProgressBar;
  RecordingBar* Bar() const { return static_cast<RecordingBar*>(hwnd()); }
  std::string TakeCalls() { return std::exchange(Bar()->calls, {}).toStdString(); }

 protected:
  ProgressBarWindow* NewBarWindow(bool vertical, bool smooth) override {
    return new RecordingBar(this, vertical, smooth);
  }
};

// The status area places its bar new, as here; the bar exists only from then on, with the
// position set before.
TEST(ProgressBarTest, WritesReachTheBarOnlyWhenTheValueChangesAndPositionsAreHeldInRange) {
  QWidget statusArea;
  auto* bar = new RecordingProgressBar(&statusArea);
  EXPECT_EQ(bar->hwnd(), nullptr);
  bar->SetPosition(7);
  bar->InitProperties();
  ASSERT_NE(bar->Bar(), nullptr);
  EXPECT_EQ(bar->Bar()->value(), 7);
  bar->TakeCalls();

  // An effect writes the same value at every column: only a change may reach the bar.
  QSignalSpy changes(bar, &ProgressBar::PropertyChanged);
  for (int round = 0; round < 2; ++round) {
    bar->SetPosition(30);
    bar->SetMax(200);
    bar->SetMin(10);
  }
  EXPECT_EQ(bar->TakeCalls(), "pos 30, range 1 200, range 10 200, ");
  EXPECT_EQ(changes.count(), 3);

  // The control keeps a position outside the range; the bar holds it at the range's ends and
  // keeps it when the range changes.
  bar->SetMax(100);
  bar->SetPosition(150);
  EXPECT_EQ(std::pair(bar->Bar()->value(), bar->Position()), std::pair(100, 150));
  bar->SetMax(400);
  EXPECT_EQ(bar->Bar()->value(), 100) << "a new range keeps the bar's position";
  bar->SetPosition(-3);
  EXPECT_EQ(bar->Bar()->value(), 10);
}

}  // namespace
}  // namespace fotavel::testing
