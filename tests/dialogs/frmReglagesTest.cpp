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

using Reported = std::vector<AdjustSettings>;

// Each slider runs -100 … 100 and shows its value; a key step is one change reported with all
// four settings. "Automatique" puts the levels it was given through SettingsFor into all four
// sliders in one change, "Réinitialiser" brings them back to 0, and a click that changes nothing
// reports nothing.
TEST(ReglagesDialog, SlidersShowTheirValuesAndEveryChangeIsReportedOnce) {
  frmReglages dialog;
  AutoLevels levels;
  levels.low = {30, 20, 10};
  levels.high = {200, 220, 240};
  levels.saturation = 15;
  dialog.SetAutoLevels(levels);
  Reported reported;
  QObject::connect(&dialog, &frmReglages::SettingsChanged,
                   [&](const AdjustSettings& s) { reported.push_back(s); });
  dialog.show();
  QSlider* contraste = dialog.Curseur(frmReglages::kContraste);
  contraste->setFocus();
  QTest::keyClick(contraste, Qt::Key_PageUp);
  QTest::keyClick(contraste, Qt::Key_Right);
  dialog.Curseur(frmReglages::kChaleur)->setValue(-100);
  QTest::keyClick(dialog.Curseur(frmReglages::kChaleur), Qt::Key_Left);  // already at the end
  EXPECT_EQ(dialog.Valeur(frmReglages::kContraste)->text(), QStringLiteral("11"));
  EXPECT_EQ(dialog.Valeur(frmReglages::kChaleur)->text(), QStringLiteral("-100"));
  EXPECT_EQ(reported, (Reported{{0, 10, 0, 0}, {0, 11, 0, 0}, {0, 11, 0, -100}}));

  reported.clear();
  QTest::mouseClick(dialog.cmdAuto(), Qt::LeftButton);
  const AdjustSettings automatic = SettingsFor(levels);
  EXPECT_EQ(reported, Reported{automatic});
  EXPECT_EQ(dialog.Valeur(frmReglages::kSaturation)->text(), QString::number(automatic.saturation));

  dialog.Curseur(frmReglages::kLuminosite)->setValue(12);
  reported.clear();
  QTest::mouseClick(dialog.cmdReset(), Qt::LeftButton);
  QTest::mouseClick(dialog.cmdReset(), Qt::LeftButton);
  EXPECT_EQ(reported, Reported{AdjustSettings{}});
  for (int i = 0; i < frmReglages::kSliders; ++i) {
    EXPECT_EQ(dialog.Valeur(static_cast<frmReglages::Slider>(i))->text(), QStringLiteral("0"));
  }
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
  for (const int way : {0, 1, 2}) {
    frmReglages dialog;
    WhenModal<frmReglages>([way](frmReglages* d) {
      d->Curseur(frmReglages::kSaturation)->setValue(64);
      d->Curseur(frmReglages::kLuminosite)->setValue(-5);
      if (way == 0) QTest::mouseClick(d->cmdOK(), Qt::LeftButton);
      if (way == 1) QTest::mouseClick(d->cmdCancel(), Qt::LeftButton);
      if (way == 2) QTest::keyClick(d, Qt::Key_Escape);
    });
    dialog.exec();
    EXPECT_EQ(dialog.Cancelled(), way != 0) << way;
    EXPECT_EQ(dialog.Settings(), (AdjustSettings{-5, 0, 64, 0}));
  }
}

}  // namespace
}  // namespace fotavel::testing
