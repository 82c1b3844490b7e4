// The JPEG quality dialog driven offscreen: the value dragged to reaches the caller.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "dialogs/ModalDriver.h"
#include "dialogs/fSauvJpg.h"

namespace fotavel::testing {
namespace {

// A value dragged to is the one given once the window has closed.
TEST(JpegQualityDialog, EnregistrerGivesTheDraggedValue) {
  fSauvJpg dialog;
  WhenModal<fSauvJpg>([](fSauvJpg* shown) {
    // What dragging the thumb does: the value moves while the slider is held.
    shown->QualitJPG()->setSliderDown(true);
    shown->QualitJPG()->setSliderPosition(45);
    shown->QualitJPG()->setSliderDown(false);
    QTest::mouseClick(shown->EnregJPG(), Qt::LeftButton);
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(std::pair(dialog.Cancelled(), dialog.Def_JPG2()), std::pair(false, 45));
}

}  // namespace
}  // namespace fotavel::testing
