// The straighten mode on real widgets, and the menu rows of both modes: the slider and the degrees,
// a horizon drawn with the mouse, the preview, applying, undoing and leaving.
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <cmath>

#include "document/Messages.h"
#include "effects/CropGeometry.h"
#include "shell/CropTool.h"
#include "shell/ShellFixture.h"
#include "shell/StraightenTool.h"
#include "shell/WindowCommands.h"

namespace fotavel::testing {
namespace {

using StraightenToolTest = ShellTest;

// In the menus that took new entries no two entries answer to the same access key: the new
// entries took letters those menus left free.
TEST_F(StraightenToolTest, EachMenuEntryHasAnAccessKeyOfItsOwn) {
  for (const char* menu : {"mnuEditTOP", "mnuColorTOP"}) {
    QMap<QChar, QString> taken;
    for (const QAction* entry : Child<QMenu>(window.get(), menu)->actions()) {
      const QString text = entry->text();
      const qsizetype amp = text.indexOf(QLatin1Char('&'));
      if (amp < 0 || amp + 1 >= text.size()) continue;
      const QChar key = text[amp + 1].toLower();
      EXPECT_FALSE(taken.contains(key))
          << text.toStdString() << " and " << taken.value(key).toStdString();
      taken.insert(key, text);
    }
  }
}

// Each mode is an Edition entry right after the one before it, with a shortcut no other command
// takes, asking for a photo when there is none. The zoom tool ends a mode and starting one puts
// the zoom tool away; the view button toggles; starting one mode leaves the other.
TEST_F(StraightenToolTest, BothModesHaveTheirEntriesAndOnlyOneRunsAtATime) {
  const QList<QAction*> edition =
      window->findChild<QMenu*>(QStringLiteral("mnuEditTOP"))->actions();
  const struct {
    const char *command, *after, *text, *keys;
  } rows[] = {{commands::kRecadrer, commands::kRetailler, "R&ecadrer…", "Ctrl+Shift+X"},
              {commands::kRedresser, commands::kRecadrer, "Re&dresser…", "Ctrl+Shift+H"}};
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    QAction* action = Child<QAction>(window.get(), rows[i].command);
    EXPECT_EQ(action->text(), QString::fromUtf8(rows[i].text));
    EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromLatin1(rows[i].keys)));
    EXPECT_EQ(edition.indexOf(action),
              edition.indexOf(Child<QAction>(window.get(), rows[i].after)) + 1);
    for (const QAction* other : window->findChildren<QAction*>()) {
      EXPECT_TRUE(other == action || !other->shortcuts().contains(action->shortcut()))
          << other->objectName();
    }
    ui.Answer(MessageAnswer::Ok);
    action->trigger();
    ExpectMessage(i, Messages::kSelectionnezPhoto, MessageIcon::Information);
  }

  frmImage* document = Open(QStringLiteral("a.bmp"), 101, 61);
  QAction* recadrer = Child<QAction>(window.get(), commands::kRecadrer);
  QAction* redresser = Child<QAction>(window.get(), commands::kRedresser);
  auto* zoom = Child<QToolButton>(document, "ZoomBT");
  QTest::mouseClick(zoom, Qt::LeftButton);
  recadrer->trigger();
  EXPECT_TRUE(document->Crop()->Active());
  EXPECT_EQ(document->MousePointer(), frmImage::kPointerNormal);
  redresser->trigger();
  EXPECT_FALSE(document->Crop()->Active());
  EXPECT_TRUE(document->Straighten()->Strip()->isVisible());
  EXPECT_EQ(Status(), QStringLiteral(" Tracez une ligne le long de l'horizon ou d'un mur, ou "
                                     "réglez l'angle."));
  QTest::mouseClick(Child<QToolButton>(document, "RedresserBT"), Qt::LeftButton);
  EXPECT_FALSE(document->Straighten()->Strip()->isVisible());
  EXPECT_TRUE(Status().trimmed().isEmpty()) << Status();
  redresser->trigger();
  QTest::mouseClick(zoom, Qt::LeftButton);
  EXPECT_FALSE(document->Straighten()->Active());
  redresser->trigger();
  EXPECT_EQ(document->MousePointer(), frmImage::kPointerNormal);
  recadrer->trigger();
  EXPECT_TRUE(document->Straighten()->Strip()->isHidden());
  EXPECT_TRUE(document->Crop()->Active());
  recadrer->trigger();
  EXPECT_FALSE(document->Crop()->Active());
  recadrer->trigger();
  QTest::mouseClick(zoom, Qt::LeftButton);
  EXPECT_FALSE(document->Crop()->Active());
  EXPECT_TRUE(document->Crop()->Overlay()->isHidden());
}

// A slider step is a tenth of a degree in the box; "-2,5" typed on a French desktop is 25 steps
// left. Escape, "Annuler" and OK at 0 leave nothing to undo.
TEST_F(StraightenToolTest, SliderAndDegreesKeepInStepAndEscapeChangesNothing) {
  frmImage* document = Open(QStringLiteral("a.bmp"), 101, 61);
  window->setLocale(QLocale(QLocale::French, QLocale::France));
  document->Redresser_Click();
  auto* slider = Child<QSlider>(document, "StraightenSlider");
  auto* degrees = Child<QDoubleSpinBox>(document, "StraightenDegrees");
  ASSERT_TRUE(slider && degrees);
  QTest::keyClick(slider, Qt::Key_Right);
  EXPECT_EQ(degrees->text(), QStringLiteral("0,1 °"));
  EXPECT_EQ(document->Straighten()->Angle(), 0.1);
  degrees->selectAll();
  QTest::keyClicks(degrees, QStringLiteral("-2,5"));
  EXPECT_EQ(slider->value(), -25);
  EXPECT_EQ(document->Straighten()->Angle(), -2.5);

  QTest::keyClick(document->Straighten()->Overlay(), Qt::Key_Escape);
  EXPECT_FALSE(document->Straighten()->Active());
  document->Redresser_Click();
  QTest::keyClick(slider, Qt::Key_Left);
  QTest::mouseClick(Child<QPushButton>(document, "StraightenCancel"), Qt::LeftButton);
  EXPECT_FALSE(document->Straighten()->Active());
  document->Redresser_Click();
  QTest::keyClicks(degrees, QStringLiteral("7"));
  QTest::keyClick(degrees, Qt::Key_Escape);
  EXPECT_FALSE(document->Straighten()->Active());
  document->Redresser_Click();
  EXPECT_EQ(document->Straighten()->Angle(), 0);
  QTest::mouseClick(Child<QPushButton>(document, "StraightenApply"), Qt::LeftButton);
  EXPECT_FALSE(document->Straighten()->Active());
  EXPECT_FALSE(Child<QAction>(window.get(), commands::kAnnuler)->isEnabled());
}

// A photo scrolled at 1:1 is first brought down to a zoom that shows all of it; a line dragged
// there gives the angle of the same line in photo pixels, and one drawn level on the turned
// preview keeps it; Enter turns the photo once, undo gives it back.
TEST_F(StraightenToolTest, ALineDrawnOnTheWholePhotoLevelsItAndUndoGivesItBack) {
  frmImage* document = Open(QStringLiteral("large.bmp"), 2 * Room(*window).width(), 301);
  const QImage photo = Upright(document->Document().Picture());
  document->TailleNormaleFct();
  ASSERT_FALSE(document->hscScroll()->isHidden());
  document->Redresser_Click();
  EXPECT_LT(document->Zoom(), 100);
  EXPECT_TRUE(document->hscScroll()->isHidden() && document->vscScroll()->isHidden());
  StraightenOverlay* overlay = document->Straighten()->Overlay();
  ASSERT_EQ(overlay->size(), document->Image1()->size());
  const auto drag = [&](QPoint from, QPoint to) {
    QTest::mousePress(overlay, Qt::LeftButton, {}, from);
    QTest::mouseMove(overlay, (from + to) / 2);
    QTest::mouseMove(overlay, to);
    QTest::mouseRelease(overlay, Qt::LeftButton, {}, to);
  };
  drag(QPoint(20, 100), QPoint(200, 70));
  const double sx = double(photo.width()) / overlay->width();
  const double sy = double(photo.height()) / overlay->height();
  const double angle = std::round(LevellingAngle(20 * sx, 100 * sy, 200 * sx, 70 * sy) * 10) / 10;
  EXPECT_EQ(document->Straighten()->Angle(), angle);
  EXPECT_GT(angle, 4) << "a line rising to the right is levelled by a clockwise turn";
  drag(QPoint(40, 60), QPoint(240, 60));
  EXPECT_EQ(document->Straighten()->Angle(), angle);
  QTest::mouseClick(overlay, Qt::LeftButton, {}, QPoint(50, 50));  // a click is no line
  EXPECT_EQ(document->Straighten()->Angle(), angle);
  EXPECT_EQ(Upright(document->Document().Picture()), photo) << "untouched until applied";

  QTest::keyClick(overlay, Qt::Key_Return);
  EXPECT_FALSE(document->Straighten()->Active());
  const PixelSize expected = StraightenedSize(photo.width(), photo.height(), angle, false);
  EXPECT_EQ(document->Document().ImageWidth(), expected.width);
  EXPECT_EQ(document->Document().ImageHeight(), expected.height);
  EXPECT_EQ(document->Document().UndoCount(), 1);
  Trigger(commands::kAnnuler);
  EXPECT_EQ(Upright(document->Document().Picture()), photo);
}

// The preview turns the display copy, not the photo, dimming the corners the crop takes; with
// "Coins blancs" the whole turned photo shows on white and OK gives the box that holds it.
TEST_F(StraightenToolTest, ThePreviewShowsWhatIsKeptAndWhiteCornersKeepTheWholePhoto) {
  frmImage* document = Open(QStringLiteral("a.bmp"), 257, 161);
  const QImage photo = Upright(document->Document().Picture());
  document->Redresser_Click();
  StraightenOverlay* overlay = document->Straighten()->Overlay();
  EXPECT_EQ(overlay->grab().toImage().pixel(3, 5), photo.pixel(3, 5));  // off the grid lines
  document->Straighten()->SetAngle(10);
  const QImage turned = overlay->grab().toImage();
  const int dimmed = 224 * 135 / 255;  // the viewport's grey under black at 120/255
  EXPECT_NEAR(qGray(turned.pixel(0, 0)), dimmed, 2);
  EXPECT_NEAR(qGray(turned.pixel(overlay->width() - 1, overlay->height() - 1)), dimmed, 2);
  EXPECT_EQ(Upright(document->Document().Picture()), photo);

  QTest::mouseClick(Child<QCheckBox>(document, "StraightenWhiteCorners"), Qt::LeftButton);
  const QImage white = overlay->grab().toImage();
  int whites = 0;
  for (int y = 0; y < white.height(); ++y) {
    for (int x = 0; x < white.width(); ++x) whites += white.pixel(x, y) == qRgb(255, 255, 255);
  }
  EXPECT_GT(whites, white.width() * white.height() / 50);
  QTest::keyClick(Child<QDoubleSpinBox>(document, "StraightenDegrees"), Qt::Key_Return);
  EXPECT_FALSE(document->Straighten()->Active());
  const PixelSize box = StraightenedSize(257, 161, 10, true);
  EXPECT_EQ(document->picImage().size(), QSize(box.width, box.height));
  EXPECT_EQ(document->picImage().pixel(0, 0), qRgb(255, 255, 255));

  // An undo under the mode ends it: the angle was chosen for the photo that went.
  document->Redresser_Click();
  document->Straighten()->SetAngle(3);
  Trigger(commands::kAnnuler);
  EXPECT_FALSE(document->Straighten()->Active());
  EXPECT_EQ(Upright(document->Document().Picture()), photo);
}

}  // namespace
}  // namespace fotavel::testing
