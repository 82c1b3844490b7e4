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

// Types `text` over the number of a spin box, as the user does.
void TypeOver(QSpinBox* box, const QString& text) {
  box->setFocus();
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(box, text);
}

// The size limit is off and its box idle until it is checked; the Ko typed come back in bytes
// of 1000 to the Ko, and only while the limit stays checked.
TEST(JpegQualityDialog, TheSizeLimitIsGivenInKoOnlyWhileChecked) {
  for (const bool limited : {true, false}) {
    fSauvJpg dialog;
    WhenModal<fSauvJpg>([limited](fSauvJpg* shown) {
      EXPECT_EQ(shown->SansPerte(), nullptr);  // JPEG has no such thing
      EXPECT_FALSE(shown->TailleMax()->isChecked());
      EXPECT_EQ(shown->TailleMax()->text(), QStringLiteral("Taille maximale du fichier"));
      EXPECT_FALSE(shown->TailleKo()->isEnabled());
      EXPECT_EQ(shown->TailleKo()->text(), QStringLiteral("500 Ko"));
      Tick(shown->TailleMax());
      EXPECT_TRUE(shown->TailleKo()->isEnabled());
      TypeOver(shown->TailleKo(), QStringLiteral("183"));
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
// file without loss has no quality to choose or lower.
TEST(JpegQualityDialog, SansPerteSetsQualityAndSizeAside) {
  fSauvJpg dialog(nullptr, true);
  WhenModal<fSauvJpg>([](fSauvJpg* shown) {
    ASSERT_NE(shown->SansPerte(), nullptr);
    EXPECT_EQ(shown->SansPerte()->text(), QStringLiteral("Sans perte"));
    EXPECT_FALSE(shown->SansPerte()->isChecked());
    Tick(shown->TailleMax());
    Tick(shown->SansPerte());
    EXPECT_FALSE(shown->QualitJPG()->isEnabled());
    EXPECT_FALSE(shown->TailleMax()->isEnabled());
    EXPECT_FALSE(shown->TailleKo()->isEnabled());
    Tick(shown->SansPerte());
    EXPECT_TRUE(shown->QualitJPG()->isEnabled());
    EXPECT_TRUE(shown->TailleKo()->isEnabled());
    Tick(shown->SansPerte());
    QTest::mouseClick(shown->EnregJPG(), Qt::LeftButton);
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(std::tuple(dialog.Cancelled(), dialog.Lossless(), dialog.MaxBytes()),
            std::tuple(false, true, std::uint64_t(0)));
}

// Annuler gives nothing of what was set.
TEST(JpegQualityDialog, AnnulerGivesNoSettings) {
  fSauvJpg dialog(nullptr, true);
  WhenModal<fSauvJpg>([](fSauvJpg* shown) {
    Tick(shown->SansPerte());
    Tick(shown->TailleMax());
    QTest::mouseClick(shown->cmdCancelJPG(), Qt::LeftButton);
  });
  EXPECT_EQ(dialog.exec(), QDialog::Rejected);
  EXPECT_EQ(std::tuple(dialog.Cancelled(), dialog.Lossless(), dialog.MaxBytes()),
            std::tuple(true, false, std::uint64_t(0)));
}

}  // namespace
}  // namespace fotavel::testing
