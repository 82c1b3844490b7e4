// The JPEG quality dialog driven offscreen: slider, band words, and the three ways out.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "dialogs/ModalDriver.h"
#include "dialogs/QtPrinters.h"
#include "dialogs/fSauvJpg.h"

namespace fotavel::testing {
namespace {

// What dragging the thumb does: the value moves while the slider is held.
void DragTo(QScrollBar* bar, int value) {
  bar->setSliderDown(true);
  bar->setSliderPosition(value);
  bar->setSliderDown(false);
}

TEST(JpegQualityDialog, DraggingNamesTheBandOnEachSideOfEveryBoundary) {
  const std::pair<int, const char*> cases[] = {
      {45, "Faible"}, {60, "Faible"},   {61, "Moyenne"},   {74, "Moyenne"}, {75, "Elevée"},
      {89, "Elevée"}, {90, "Maximale"}, {100, "Maximale"}, {70, "Moyenne"}};
  fSauvJpg dialog;
  for (const auto& [value, word] : cases) {
    DragTo(dialog.QualitJPG(), value);
    EXPECT_EQ(dialog.Q_JPG()->text(), QString::fromUtf8(word)) << value;
  }
}

TEST(JpegQualityDialog, OpensAt70AndArrowsAndKeysMoveTheValueButNotTheWord) {
  fSauvJpg dialog;
  EXPECT_TRUE(dialog.Cancelled());
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  EXPECT_EQ(dialog.focusWidget(), dialog.EnregJPG());
  QScrollBar* bar = dialog.QualitJPG();
  EXPECT_EQ(bar->value(), 70);
  EXPECT_EQ(dialog.Q_JPG()->text(), "Moyenne");
  // The right arrow, three times, then the keyboard.
  for (int i = 0; i < 3; ++i) bar->triggerAction(QScrollBar::SliderSingleStepAdd);
  EXPECT_EQ(bar->value(), 73);
  bar->setFocus();
  QTest::keyClick(bar, Qt::Key_Right);
  QTest::keyClick(bar, Qt::Key_Right);
  QTest::keyClick(bar, Qt::Key_Left);
  QTest::keyClick(bar, Qt::Key_Down);
  EXPECT_EQ(bar->value(), 75);
  EXPECT_EQ(dialog.Q_JPG()->text(), "Moyenne");
  QTest::mouseClick(dialog.EnregJPG(), Qt::LeftButton);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_FALSE(dialog.Cancelled());
  EXPECT_EQ(dialog.Def_JPG2(), 75);
}

// At once, or dragged to either end first: the value is there after the window closed.
TEST(JpegQualityDialog, EnregistrerGivesTheValueAfterTheWindowClosed) {
  for (const int end : {70, 45, 100}) {
    fSauvJpg dialog;
    WhenModal<fSauvJpg>([end](fSauvJpg* shown) {
      if (end != 70) DragTo(shown->QualitJPG(), end);
      QTest::mouseClick(shown->EnregJPG(), Qt::LeftButton);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.Cancelled());
    EXPECT_EQ(dialog.Def_JPG2(), end);
  }
}

TEST(JpegQualityDialog, AnnulerEscapeAndTheCloseBoxLeaveItCancelled) {
  const std::function<void(fSauvJpg*)> ways[] = {
      [](fSauvJpg* d) { QTest::mouseClick(d->cmdCancelJPG(), Qt::LeftButton); },
      [](fSauvJpg* d) { QTest::keyClick(d, Qt::Key_Escape); },
      [](fSauvJpg* d) { d->close(); },
  };
  for (const auto& way : ways) {
    fSauvJpg dialog;
    WhenModal<fSauvJpg>([&way](fSauvJpg* shown) {
      DragTo(shown->QualitJPG(), 95);
      way(shown);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_TRUE(dialog.Cancelled());
  }
}

}  // namespace
}  // namespace fotavel::testing
