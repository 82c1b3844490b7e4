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

// Enregistrer at once or after a drag to either end gives the value after the window closed;
// Annuler, Escape and the close box leave it cancelled.
TEST(JpegQualityDialog, EnregistrerGivesTheValueAndEveryOtherWayOutCancels) {
  const auto save = [](fSauvJpg* d) { QTest::mouseClick(d->EnregJPG(), Qt::LeftButton); };
  const struct {
    int drag;
    std::function<void(fSauvJpg*)> way;
    bool saved;
  } cases[] = {
      {70, save, true},
      {45, save, true},
      {100, save, true},
      {95, [](fSauvJpg* d) { QTest::mouseClick(d->cmdCancelJPG(), Qt::LeftButton); }, false},
      {95, [](fSauvJpg* d) { QTest::keyClick(d, Qt::Key_Escape); }, false},
      {95, [](fSauvJpg* d) { d->close(); }, false},
  };
  for (const auto& c : cases) {
    fSauvJpg dialog;
    WhenModal<fSauvJpg>([&c](fSauvJpg* shown) {
      if (c.drag != 70) DragTo(shown->QualitJPG(), c.drag);
      c.way(shown);
    });
    EXPECT_EQ(dialog.exec(), c.saved ? QDialog::Accepted : QDialog::Rejected) << c.drag;
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.Cancelled(), !c.saved);
    if (c.saved) {
      EXPECT_EQ(dialog.Def_JPG2(), c.drag);
    }
  }
}

}  // namespace
}  // namespace fotavel::testing
