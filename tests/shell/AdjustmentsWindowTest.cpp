// The adjustment window and the automatic improvement through the real main window: the menu
// rows, the preview on the document window, the original held, OK, Annuler and the undo step.
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSlider>

#include "dialogs/HistogramView.h"
#include "dialogs/ModalDriver.h"
#include "dialogs/frmReglages.h"
#include "document/Messages.h"
#include "effects/Adjustments.h"
#include "shell/AdjustPreview.h"
#include "shell/CropTool.h"
#include "shell/ShellFixture.h"
#include "shell/WindowCommands.h"

namespace fotavel::testing {
namespace {

namespace c = commands;
using AdjustmentsWindow = ShellTest;

// What Image1 paints now, children over it included, as the screen shows it.
QImage Painted(frmImage* document) {
  return document->Image1()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// `shown` run through the adjustment row by row, written plainly.
QImage AdjustedCopy(const QImage& shown, const AdjustSettings& settings) {
  QImage out(shown.size(), QImage::Format_RGB32);
  const Adjustment adjustment(settings);
  for (int y = 0; y < shown.height(); ++y) {
    adjustment.Row32(reinterpret_cast<const std::uint32_t*>(shown.constScanLine(y)),
                     reinterpret_cast<std::uint32_t*>(out.scanLine(y)), shown.width());
  }
  return out;
}

Histogram CountsOf(const QImage& image) {
  return HistogramOf(reinterpret_cast<const std::uint32_t*>(image.constBits()), image.width(),
                     image.height(), std::int32_t(image.bytesPerLine() / 4));
}

// Both entries follow the Couleurs menu's own after a separator, each with a shortcut no other
// command takes, and ask for a photo when there is none.
TEST_F(AdjustmentsWindow, BothEntriesCloseTheColoursMenuAndAskForAPhoto) {
  const QList<QAction*> entries =
      window->findChild<QMenu*>(QStringLiteral("mnuColorTOP"))->actions();
  ASSERT_EQ(entries.size(), 7);
  EXPECT_EQ(entries[3], window->Action(c::kGris));
  EXPECT_TRUE(entries[4]->isSeparator());
  const struct {
    const char *command, *text, *keys;
  } rows[] = {{c::kReglages, "&Réglages…", "Ctrl+Shift+L"},
              {c::kAmeliorationAuto, "A&mélioration automatique", "Ctrl+Shift+E"}};
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    QAction* action = window->Action(rows[i].command);
    EXPECT_EQ(entries[5 + i], action);
    EXPECT_EQ(action->text(), QString::fromUtf8(rows[i].text));
    EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromLatin1(rows[i].keys)));
    for (const QAction* other : window->findChildren<QAction*>()) {
      EXPECT_TRUE(other == action || !other->shortcuts().contains(action->shortcut()))
          << other->objectName();
    }
    ui.Answer(MessageAnswer::Ok);
    action->trigger();
    ExpectMessage(i, Messages::kSelectionnezPhoto, MessageIcon::Information);
  }
}

// A slider moved paints the display copy through the adjustment over the photo, the histogram
// counting it, while the photo itself stays as it was; holding "Voir l'original" paints the
// original until it is let go. OK adjusts the photo once: one undo step that gives the original
// back, after which the document's own Regler gives the same photo again.
TEST_F(AdjustmentsWindow, TheSlidersArePreviewedOnTheWindowAndOkAdjustsThePhotoOnce) {
  frmImage* document = Open(QStringLiteral("a.bmp"), 101, 61);
  ASSERT_NE(document, nullptr);
  const QImage photo = Upright(Pattern(101, 61));
  const QImage original = Painted(document);
  ASSERT_EQ(original, photo);  // at 100 %, the photo pixel for pixel
  const std::int32_t undos = document->Document().UndoCount();

  AdjustSettings chosen;
  WhenModal<frmReglages>([&](frmReglages* dialog) {
    auto* preview = document->Image1()->findChild<AdjustPreview*>();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    QSlider* luminosite = dialog->Curseur(frmReglages::kLuminosite);
    luminosite->setFocus();
    QTest::keyClick(luminosite, Qt::Key_PageUp);
    dialog->Curseur(frmReglages::kSaturation)->setValue(-30);
    chosen = dialog->Settings();

    const QImage expected = AdjustedCopy(original, chosen);
    EXPECT_EQ(preview->Picture(), expected);
    EXPECT_EQ(Painted(document), expected);
    // Differs from the photo exactly when the adjustment changes its pixels.
    EXPECT_EQ(Painted(document) != original, expected != original);
    EXPECT_EQ(dialog->Histogramme()->Counts(), CountsOf(expected));
    EXPECT_EQ(Upright(document->Document().Picture()), photo);
    EXPECT_EQ(document->Document().UndoCount(), undos);

    QTest::mousePress(dialog->cmdOriginal(), Qt::LeftButton);
    EXPECT_EQ(Painted(document), original);
    QTest::mouseRelease(dialog->cmdOriginal(), Qt::LeftButton);
    EXPECT_EQ(Painted(document), expected);
    QTest::mouseClick(dialog->cmdOK(), Qt::LeftButton);
  });
  window->Action(c::kReglages)->trigger();

  EXPECT_EQ(document->Image1()->findChild<AdjustPreview*>(), nullptr);
  EXPECT_EQ(document->Document().UndoCount(), undos + 1);
  EXPECT_TRUE(Caption(document).endsWith(QStringLiteral(" modifiée"))) << Caption(document);
  const QImage adjusted = Upright(document->Document().Picture());
  EXPECT_EQ(Painted(document), adjusted);

  window->Action(c::kAnnuler)->trigger();
  EXPECT_EQ(Upright(document->Document().Picture()), photo);
  document->Document().Regler(chosen);
  EXPECT_EQ(Upright(document->Document().Picture()), adjusted);
}

// At 1:1 the level on screen is adjusted in tiles as paints need them: a photo of several tiles,
// the last ones partial, is painted whole and exact, and again after a second change. The
// histogram of a level too large to count at every step is that of the next coarser level.
TEST_F(AdjustmentsWindow, EveryTileIsAdjustedAgainAfterEachChangeAndLargeLevelsAreCountedCoarser) {
  frmImage* document = Open(QStringLiteral("c.bmp"), 2001, 1001);
  ASSERT_NE(document, nullptr);
  document->TailleNormaleFct();
  const QImage original = Painted(document);
  ASSERT_EQ(original.size(), QSize(2001, 1001));
  WhenModal<frmReglages>([&](frmReglages* dialog) {
    auto* preview = document->Image1()->findChild<AdjustPreview*>();
    ASSERT_NE(preview, nullptr);
    const DisplayPyramid::Level& coarser = document->Display().level(1);
    ASSERT_EQ(coarser.width, 1001);
    const QImage level1 = QImage(reinterpret_cast<const uchar*>(coarser.bits), coarser.width,
                                 coarser.height, coarser.width * 4, QImage::Format_RGB32)
                              .copy();
    for (const int chaleur : {35, -80}) {
      dialog->Curseur(frmReglages::kChaleur)->setValue(chaleur);
      const AdjustSettings settings = dialog->Settings();
      EXPECT_EQ(Painted(document), AdjustedCopy(original, settings)) << chaleur;
      EXPECT_EQ(dialog->Histogramme()->Counts(), CountsOf(AdjustedCopy(level1, settings)));
    }
    QTest::mouseClick(dialog->cmdCancel(), Qt::LeftButton);
  });
  window->Action(c::kReglages)->trigger();
}

// Beside the photo, yet wholly on the screen when the main window overhangs it (large fonts).
TEST_F(AdjustmentsWindow, TheWindowOpensWhollyOnTheScreen) {
  ASSERT_NE(Open(QStringLiteral("c.bmp"), 31, 17), nullptr);
  const QRect room = window->screen()->availableGeometry();
  window->setGeometry(room.left(), room.top(), room.width() + 500, room.height() + 300);
  QRect placed;
  WhenModal<frmReglages>([&](frmReglages* dialog) {
    placed = dialog->frameGeometry();
    QTest::keyClick(dialog, Qt::Key_Escape);
  });
  window->Action(c::kReglages)->trigger();
  EXPECT_TRUE(room.contains(placed))
      << placed.x() << "," << placed.y() << " " << placed.width() << " x " << placed.height();
}

// Annuler, Escape, and OK on neutral settings leave the photo, its caption, its undo steps and
// what is painted as they were, the preview gone.
TEST_F(AdjustmentsWindow, AnnulerEscapeAndNeutralSettingsLeaveEverythingAsItWas) {
  frmImage* document = Open(QStringLiteral("b.bmp"), 57, 33);
  ASSERT_NE(document, nullptr);
  const QImage original = Painted(document);
  const QString caption = Caption(document);
  const std::int32_t undos = document->Document().UndoCount();
  // A mode on when the window opens gives way to the preview.
  document->Recadrer_Click();
  for (int way = 0; way < 3; ++way) {
    WhenModal<frmReglages>([way](frmReglages* dialog) {
      dialog->Curseur(frmReglages::kContraste)->setValue(55);
      dialog->Curseur(frmReglages::kChaleur)->setValue(-20);
      if (way == 0) QTest::mouseClick(dialog->cmdCancel(), Qt::LeftButton);
      if (way == 1) QTest::keyClick(dialog, Qt::Key_Escape);
      if (way == 2) {
        QTest::mouseClick(dialog->cmdReset(), Qt::LeftButton);
        QTest::mouseClick(dialog->cmdOK(), Qt::LeftButton);
      }
    });
    window->Action(c::kReglages)->trigger();
    EXPECT_EQ(document->Image1()->findChild<AdjustPreview*>(), nullptr) << way;
    EXPECT_EQ(document->Document().UndoCount(), undos) << way;
    EXPECT_EQ(Caption(document), caption) << way;
    EXPECT_EQ(Painted(document), original) << way;
  }
  EXPECT_FALSE(document->Crop()->Active());
}

// One click improves a dull photo in one undo step when its histogram calls for it; otherwise the
// status area says the photo needs nothing and no step is taken.
TEST_F(AdjustmentsWindow, AmeliorationAutomatiqueTakesOneStepOrSaysThePhotoNeedsNothing) {
  cDIBSection dull;
  ASSERT_TRUE(dull.Create(45, 23));
  for (int y = 0; y < dull.height(); ++y) {
    for (int x = 0; x < dull.width() * 3; ++x) dull.row(y)[x] = std::uint8_t(100 + (x + y) % 40);
  }
  frmImage* document = OpenPath(WritePhoto(QStringLiteral("terne.bmp"), dull));
  ASSERT_NE(document, nullptr);
  const bool needed = !(AutoLevelsFor(HistogramOf(dull)) == AutoLevels{});
  window->lblStatus()->clear();
  window->Action(c::kAmeliorationAuto)->trigger();
  EXPECT_EQ(document->Document().UndoCount(), needed ? 1 : 0);
  EXPECT_EQ(Status() == QStringLiteral(" La photo n'a pas besoin d'être améliorée."), !needed)
      << Status();
}

}  // namespace
}  // namespace fotavel::testing
