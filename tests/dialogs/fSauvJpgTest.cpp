// The JPEG quality dialog driven offscreen: the value dragged to reaches the caller.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
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

// Clicks a check box on its mark, as the user does.
void Tick(QCheckBox* box) {
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

// The size limit is off and its box idle until it is checked; the Ko typed come back in bytes
// of 1000 to the Ko, and only while the limit stays checked. JPEG has no "Sans perte".
TEST(JpegQualityDialog, TheSizeLimitIsGivenInKoOnlyWhileChecked) {
  for (const bool limited : {true, false}) {
    fSauvJpg dialog;
    WhenModal<fSauvJpg>([limited](fSauvJpg* shown) {
      EXPECT_EQ(shown->SansPerte(), nullptr);
      EXPECT_EQ(std::tuple(shown->TailleMax()->text(), shown->TailleMax()->isChecked(),
                           shown->TailleKo()->text(), shown->TailleKo()->isEnabled()),
                std::tuple(QStringLiteral("Taille maximale du fichier"), false,
                           QStringLiteral("500 Ko"), false));
      Tick(shown->TailleMax());
      shown->TailleKo()->setFocus();
      QTest::keyClick(shown->TailleKo(), Qt::Key_A, Qt::ControlModifier);
      QTest::keyClicks(shown->TailleKo(), QStringLiteral("183"));
      if (!limited) Tick(shown->TailleMax());
      EXPECT_EQ(shown->TailleKo()->isEnabled(), limited);
      QTest::mouseClick(shown->EnregJPG(), Qt::LeftButton);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(
        std::tuple(dialog.Cancelled(), dialog.Def_JPG2(), dialog.Lossless(), dialog.MaxBytes()),
        std::tuple(false, 70, false, limited ? std::uint64_t(183000) : std::uint64_t(0)));
  }
}

// For WebP, "Sans perte" takes the quality and the size limit out of play while it is checked: a
// file without loss has no quality to choose or lower. Annuler gives nothing of what was set.
TEST(JpegQualityDialog, SansPerteSetsQualityAndSizeAside) {
  for (const bool cancel : {false, true}) {
    fSauvJpg dialog(nullptr, true);
    WhenModal<fSauvJpg>([cancel](fSauvJpg* shown) {
      ASSERT_NE(shown->SansPerte(), nullptr);
      EXPECT_EQ(shown->SansPerte()->text(), QStringLiteral("Sans perte"));
      EXPECT_FALSE(shown->SansPerte()->isChecked());
      Tick(shown->TailleMax());
      for (const bool checked : {true, false, true}) {
        Tick(shown->SansPerte());
        EXPECT_EQ(std::tuple(shown->QualitJPG()->isEnabled(), shown->TailleMax()->isEnabled(),
                             shown->TailleKo()->isEnabled()),
                  std::tuple(!checked, !checked, !checked));
      }
      QTest::mouseClick(cancel ? shown->cmdCancelJPG() : shown->EnregJPG(), Qt::LeftButton);
    });
    EXPECT_EQ(dialog.exec(), cancel ? QDialog::Rejected : QDialog::Accepted);
    EXPECT_EQ(std::tuple(dialog.Cancelled(), dialog.Lossless(), dialog.MaxBytes()),
              std::tuple(cancel, !cancel, std::uint64_t(0)));
  }
}

}  // namespace
}  // namespace fotavel::testing
