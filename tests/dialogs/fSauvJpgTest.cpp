// The JPEG quality dialog driven offscreen: the band words and the value given.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "dialogs/ModalDriver.h"
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

// A value dragged to is the one given once the window has closed.
TEST(JpegQualityDialog, EnregistrerGivesTheDraggedValue) {
  fSauvJpg dialog;
  WhenModal<fSauvJpg>([](fSauvJpg* shown) {
    DragTo(shown->QualitJPG(), 45);
    QTest::mouseClick(shown->EnregJPG(), Qt::LeftButton);
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(std::pair(dialog.Cancelled(), dialog.Def_JPG2()), std::pair(false, 45));
}

}  // namespace
}  // namespace fotavel::testing
