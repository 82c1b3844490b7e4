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

TEST_F(ProgressBarTest, StartsWithoutABarThenTakesItsDefaults) {
  EXPECT_EQ(bar->hwnd(), nullptr);
  bar->SetStep(40);
  for (int i = 0; i < 3; ++i) bar->StepIt();
  EXPECT_EQ(bar->Position(), 120) << "no bar: plain addition, no limit";

  // Loaded without saved values: range 0 ... 100 in the system's colours, nothing to save.
  RecordingProgressBar loaded(&statusArea);
  loaded.ReadProperties({});
  ASSERT_NE(loaded.Bar(), nullptr);
  EXPECT_EQ(loaded.Bar()->Range(), std::make_pair(0, 100));
  EXPECT_EQ(loaded.Bar()->palette().color(QPalette::Base), QColor(0x70, 0x80, 0x90));
  EXPECT_EQ(loaded.Bar()->palette().color(QPalette::Highlight), QColor(0x40, 0x50, 0x60));
  EXPECT_TRUE(loaded.WriteProperties().isEmpty());

  // Newly placed: minimum one and the container's colour, both saved.
  RecordingProgressBar placed(&statusArea);
  placed.InitProperties();
  EXPECT_EQ(placed.WriteProperties(),
            (QVariantMap{{QStringLiteral("Min"), 1}, {QStringLiteral("BackColor"), 0x302010u}}));
}

// An effect writes the same value at every column: only a change may reach the bar.
TEST_F(ProgressBarTest, WritesReachTheBarOnlyWhenTheValueChanges) {
  bar->ReadProperties({});
  bar->TakeCalls();
  QSignalSpy changes(bar, &ProgressBar::PropertyChanged);
  for (int round = 0; round < 2; ++round) {
    bar->SetPosition(30);
    bar->SetMax(200);
    bar->SetMin(10);
    bar->SetStep(5);
    bar->SetForeColor(0x0000FF);
    bar->SetBorderStyle(2);
  }
  EXPECT_EQ(bar->TakeCalls(), (QStringList{"pos 30", "range 0 200", "range 10 200"}));
  EXPECT_EQ(changes.count(), 6);
  EXPECT_EQ(bar->Bar()->palette().color(QPalette::Highlight), QColor(0xFF, 0, 0));
  EXPECT_EQ(bar->Bar()->geometry(), QRect(2, 2, 196, 16)) << "inside the sunken edge";
}

// On the bar, a step past Max starts over at Min; the control's position
// follows the bar, and positions outside the range are held at its ends.
TEST_F(ProgressBarTest, StepItOnTheBarStartsOverPastTheMaximum) {
  bar->ReadProperties({{QStringLiteral("Min"), 10}, {QStringLiteral("Max"), 100}});
  bar->SetStep(30);
  bar->SetPosition(50);
  for (const int expected : {80, 10, 40}) {
    bar->StepIt();
    EXPECT_EQ(bar->Bar()->value(), expected);
    EXPECT_EQ(bar->Position(), expected);
  }
  bar->SetStep(-50);
  bar->StepIt();
  EXPECT_EQ(bar->Position(), 100) << "a negative step past Min starts over at Max";

  bar->SetPosition(150);
  EXPECT_EQ(bar->Bar()->value(), 100);
  EXPECT_EQ(bar->Position(), 150);
  bar->SetMax(400);
  EXPECT_EQ(bar->Bar()->value(), 100) << "a new range keeps the bar's position";
}

TEST_F(ProgressBarTest, SwitchingOrientationRemakesTheBarKeepingItsSettings) {
  bar->ReadProperties({});
  bar->SetMin(5);
  bar->SetMax(60);
  bar->SetPosition(40);
  bar->SetForeColor(0x0000FF);
  bar->SetBorderStyle(2);
  const ProgressBarWindow* before = bar->hwnd();

  bar->SetOrientation(1);
  ASSERT_NE(bar->hwnd(), nullptr);
  EXPECT_NE(bar->hwnd(), before);
  EXPECT_EQ(bar->findChildren<ProgressBarWindow*>().size(), 1) << "the old bar is gone";
  const ProgressBarWindow* now = bar->hwnd();
  EXPECT_EQ(now->orientation(), Qt::Vertical);
  EXPECT_EQ(now->value(), 40);
  EXPECT_EQ(now->Range(), std::make_pair(5, 60));
  EXPECT_EQ(now->palette().color(QPalette::Highlight), QColor(0xFF, 0, 0));
  EXPECT_EQ(now->geometry(), bar->contentsRect());

  bar->SetSmooth(true);
  EXPECT_TRUE(bar->hwnd()->Smooth());
  EXPECT_EQ(bar->hwnd()->orientation(), Qt::Vertical);
  bar->resize(30, 120);
  EXPECT_EQ(bar->hwnd()->geometry(), QRect(2, 2, 26, 116)) << "the bar follows the control's size";
}

}  // namespace
}  // namespace fotavel::testing
