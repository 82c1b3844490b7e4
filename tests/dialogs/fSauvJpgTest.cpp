// The JPEG quality dialog driven offscreen: the band words, and the ways out.
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
  const std::pair<int, const char*> cases[] = {{60, "Faible"},   {61, "Moyenne"}, {74, "Moyenne"},
                                               {75, "Elevée"},   {89, "Elevée"},  {90, "Maximale"},
                                               {100, "Maximale"}};
  fSauvJpg dialog;
  EXPECT_EQ(dialog.Q_JPG()->text(), "Moyenne");  // it opens at 70
  for (const auto& [value, word] : cases) {
    DragTo(dialog.QualitJPG(), value);
    EXPECT_EQ(dialog.Q_JPG()->text(), QString::fromUtf8(word)) << value;
  }
}

// Enregistrer, at once or after a drag, gives the value once the window has closed; Annuler
// and Escape leave it cancelled.
TEST(JpegQualityDialog, EnregistrerGivesTheValueAndEveryOtherWayOutCancels) {
  const auto save = [](fSauvJpg* d) { QTest::mouseClick(d->EnregJPG(), Qt::LeftButton); };
  const struct {
    int drag;
    std::function<void(fSauvJpg*)> way;
    bool saved;
  } cases[] = {
      {70, save, true},
      {45, save, true},
      {95, [](fSauvJpg* d) { QTest::mouseClick(d->cmdCancelJPG(), Qt::LeftButton); }, false},
      {95, [](fSauvJpg* d) { QTest::keyClick(d, Qt::Key_Escape); }, false},
  };
  for (const auto& c : cases) {
    fSauvJpg dialog;
    WhenModal<fSauvJpg>([&c](fSauvJpg* shown) {
      DragTo(shown->QualitJPG(), c.drag);
      c.way(shown);
    });
    EXPECT_EQ(dialog.exec(), c.saved ? QDialog::Accepted : QDialog::Rejected) << c.drag;
    EXPECT_EQ(dialog.Cancelled(), !c.saved);
    if (c.saved) {
      EXPECT_EQ(dialog.Def_JPG2(), c.drag);
    }
  }
}

}  // namespace
}  // namespace fotavel::testing
