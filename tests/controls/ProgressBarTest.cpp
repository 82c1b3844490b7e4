// The progress-bar control: start values, loading, only-on-change writes, StepIt, bar remaking.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QStringList>
#include <QTest>

#include "controls/ControlsSupport.h"
#include "controls/ProgressBar.h"

namespace fotavel::testing {
namespace {

// Records the positions and ranges the control sends its bar.
class RecordingBar : public ProgressBarWindow {
 public:
  using ProgressBarWindow::ProgressBarWindow;
  void SetPosition(std::int32_t p) override {
    calls << QStringLiteral("pos %1").arg(p);
    ProgressBarWindow::SetPosition(p);
  }
  void SetRange32(std::int32_t lo, std::int32_t hi) override {
    calls << QStringLiteral("range %1 %2").arg(lo).arg(hi);
    ProgressBarWindow::SetRange32(lo, hi);
  }
  QStringList calls;
};

class RecordingProgressBar : public ProgressBar {
 public:
  using ProgressBar::ProgressBar;
  RecordingBar* Bar() const { return static_cast<RecordingBar*>(hwnd()); }
  QStringList TakeCalls() { return std::exchange(Bar()->calls, {}); }

 protected:
  ProgressBarWindow* NewBarWindow(bool vertical, bool smooth) override {
    return new RecordingBar(this, vertical, smooth);
  }
};

class ProgressBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    statusArea.resize(300, 40);
    QPalette palette = statusArea.palette();
    palette.setColor(QPalette::Window, QColor(0x10, 0x20, 0x30));
    palette.setColor(QPalette::Highlight, QColor(0x40, 0x50, 0x60));
    palette.setColor(QPalette::Button, QColor(0x70, 0x80, 0x90));
    statusArea.setPalette(palette);
    bar = new RecordingProgressBar(&statusArea);
    bar->setGeometry(10, 10, 200, 20);
    statusArea.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&statusArea));
  }

  QWidget statusArea;
  RecordingProgressBar* bar = nullptr;
};

// The status area places its bar new, as here; the bar exists only from then on.
TEST_F(ProgressBarTest, ANewlyPlacedBarTakesTheContainersColourAndFollowsItsSize) {
  EXPECT_EQ(bar->hwnd(), nullptr);
  bar->SetPosition(7);  // stored only
  bar->InitProperties();
  ASSERT_NE(bar->Bar(), nullptr);
  EXPECT_EQ(bar->Bar()->value(), 7);
  EXPECT_EQ(bar->Bar()->palette().color(QPalette::Base), QColor(0x10, 0x20, 0x30));
  EXPECT_EQ(bar->Bar()->palette().color(QPalette::Highlight), QColor(0x40, 0x50, 0x60));
  EXPECT_EQ(bar->WriteProperties(),
            (QVariantMap{{QStringLiteral("Min"), 1}, {QStringLiteral("BackColor"), 0x302010u}}));
  bar->setGeometry(5, 5, 120, 14);
  EXPECT_EQ(bar->Bar()->geometry(), QRect(0, 0, 120, 14));
}

// An effect writes the same value at every column: only a change may reach the bar.
TEST_F(ProgressBarTest, WritesReachTheBarOnlyWhenTheValueChanges) {
  bar->InitProperties();
  bar->TakeCalls();
  QSignalSpy changes(bar, &ProgressBar::PropertyChanged);
  for (int round = 0; round < 2; ++round) {
    bar->SetPosition(30);
    bar->SetMax(200);
    bar->SetMin(10);
  }
  EXPECT_EQ(bar->TakeCalls(), (QStringList{"pos 30", "range 1 200", "range 10 200"}));
  EXPECT_EQ(changes.count(), 3);
}

// The control keeps a position outside the range; the bar holds it at the range's ends and
// keeps it when the range changes.
TEST_F(ProgressBarTest, PositionsOutsideTheRangeAreHeldAtItsEnds) {
  bar->InitProperties();
  bar->SetMax(100);
  bar->SetPosition(150);
  EXPECT_EQ(std::pair(bar->Bar()->value(), bar->Position()), std::pair(100, 150));
  bar->SetMax(400);
  EXPECT_EQ(bar->Bar()->value(), 100) << "a new range keeps the bar's position";
  bar->SetPosition(-3);
  EXPECT_EQ(bar->Bar()->value(), 1);
}

}  // namespace
}  // namespace fotavel::testing
