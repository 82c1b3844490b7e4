// The adjustment window driven offscreen: sliders and their values, the automatic settings,
// Réinitialiser, the original held on the button and the key, OK and Annuler.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <vector>

#include "dialogs/ModalDriver.h"
#include "dialogs/frmReglages.h"

namespace fotavel::testing {
namespace {

// Each slider runs -100 … 100 and shows its value; the keys move it as the user moves it, and
// each move is one change reported with all four settings.
TEST(ReglagesDialog, SlidersShowTheirValuesAndReportEachChangeOnce) {
  frmReglages dialog;
  std::vector<AdjustSettings> reported;
  QObject::connect(&dialog, &frmReglages::SettingsChanged,
                   [&](const AdjustSettings& s) { reported.push_back(s); });
  dialog.show();
  for (int i = 0; i < frmReglages::kSliders; ++i) {
    const auto which = static_cast<frmReglages::Slider>(i);
    EXPECT_EQ(dialog.Curseur(which)->minimum(), -100);
    EXPECT_EQ(dialog.Curseur(which)->maximum(), 100);
    EXPECT_EQ(dialog.Valeur(which)->text(), QStringLiteral("0"));
  }
  QSlider* contraste = dialog.Curseur(frmReglages::kContraste);
  contraste->setFocus();
  QTest::keyClick(contraste, Qt::Key_PageUp);
  QTest::keyClick(contraste, Qt::Key_Right);
  dialog.Curseur(frmReglages::kChaleur)->setValue(-100);
  QTest::keyClick(dialog.Curseur(frmReglages::kChaleur), Qt::Key_Left);  // already at the end
  EXPECT_EQ(dialog.Valeur(frmReglages::kContraste)->text(), QStringLiteral("11"));
  EXPECT_EQ(dialog.Valeur(frmReglages::kChaleur)->text(), QStringLiteral("-100"));
  const AdjustSettings expected{0, 11, 0, -100};
  EXPECT_EQ(dialog.Settings(), expected);
  ASSERT_EQ(reported.size(), 3u);
  EXPECT_EQ(reported[0], (AdjustSettings{0, 10, 0, 0}));
  EXPECT_EQ(reported[2], expected);
}

// "Automatique" puts the levels it was given through SettingsFor into all four sliders at once;
// "Réinitialiser" brings them back to 0; a click that changes nothing reports nothing.
TEST(ReglagesDialog, AutomatiqueAndReinitialiserMoveAllSlidersInOneChange) {
  frmReglages dialog;
  AutoLevels levels;
  levels.low = {30, 20, 10};
  levels.high = {200, 220, 240};
  levels.saturation = 15;
  dialog.SetAutoLevels(levels);
  std::vector<AdjustSettings> reported;
  QObject::connect(&dialog, &frmReglages::SettingsChanged,
                   [&](const AdjustSettings& s) { reported.push_back(s); });
  dialog.show();
  dialog.Curseur(frmReglages::kLuminosite)->setValue(-37);
  reported.clear();

  QTest::mouseClick(dialog.cmdAuto(), Qt::LeftButton);
  const AdjustSettings automatic = SettingsFor(levels);
  EXPECT_EQ(dialog.Settings(), automatic);
  EXPECT_EQ(dialog.Valeur(frmReglages::kLuminosite)->text(), QString::number(automatic.luminosite));
  EXPECT_EQ(dialog.Valeur(frmReglages::kSaturation)->text(), QString::number(automatic.saturation));
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_EQ(reported.back(), automatic);

  dialog.Curseur(frmReglages::kChaleur)->setValue(12);
  reported.clear();
  QTest::mouseClick(dialog.cmdReset(), Qt::LeftButton);
  EXPECT_TRUE(dialog.Settings().Neutral());
  for (int i = 0; i < frmReglages::kSliders; ++i) {
    EXPECT_EQ(dialog.Valeur(static_cast<frmReglages::Slider>(i))->text(), QStringLiteral("0"));
  }
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_TRUE(reported.back().Neutral());
  QTest::mouseClick(dialog.cmdReset(), Qt::LeftButton);
  EXPECT_EQ(reported.size(), 1u);
}

// The original shows while the button or the O key is held, and only once both are let go; the
// key's repeats while held say nothing more. The tooltip names the key.
TEST(ReglagesDialog, TheOriginalShowsWhileTheButtonOrTheKeyIsHeld) {
  frmReglages dialog;
  std::vector<bool> held;
  QObject::connect(&dialog, &frmReglages::OriginalHeld, [&](bool h) { held.push_back(h); });
  dialog.show();
  EXPECT_TRUE(dialog.cmdOriginal()->toolTip().contains(QStringLiteral("touche O")));

  QTest::mousePress(dialog.cmdOriginal(), Qt::LeftButton);
  EXPECT_EQ(held, std::vector<bool>{true});
  QTest::mouseRelease(dialog.cmdOriginal(), Qt::LeftButton);
  EXPECT_EQ(held, (std::vector<bool>{true, false}));

  QTest::keyPress(&dialog, Qt::Key_O);
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_O, Qt::NoModifier, QStringLiteral("o"), true);
  QCoreApplication::sendEvent(&dialog, &repeat);
  QTest::mousePress(dialog.cmdOriginal(), Qt::LeftButton);
  QTest::keyRelease(&dialog, Qt::Key_O);
  EXPECT_EQ(held, (std::vector<bool>{true, false, true}));
  QTest::mouseRelease(dialog.cmdOriginal(), Qt::LeftButton);
  EXPECT_EQ(held, (std::vector<bool>{true, false, true, false}));
}

// OK gives back the settings chosen; Annuler and Escape give nothing back.
TEST(ReglagesDialog, OkGivesTheSettingsAndAnnulerOrEscapeCancels) {
  {
    frmReglages dialog;
    WhenModal<frmReglages>([](frmReglages* d) {
      d->Curseur(frmReglages::kSaturation)->setValue(64);
      d->Curseur(frmReglages::kLuminosite)->setValue(-5);
      QTest::mouseClick(d->cmdOK(), Qt::LeftButton);
    });
    dialog.exec();
    EXPECT_FALSE(dialog.Cancelled());
    EXPECT_EQ(dialog.Settings(), (AdjustSettings{-5, 0, 64, 0}));
  }
  for (const bool escape : {false, true}) {
    frmReglages dialog;
    WhenModal<frmReglages>([escape](frmReglages* d) {
      d->Curseur(frmReglages::kSaturation)->setValue(64);
      if (escape) {
        QTest::keyClick(d, Qt::Key_Escape);
      } else {
        QTest::mouseClick(d->cmdCancel(), Qt::LeftButton);
      }
    });
    dialog.exec();
    EXPECT_TRUE(dialog.Cancelled()) << escape;
  }
}

}  // namespace
}  // namespace fotavel::testing
