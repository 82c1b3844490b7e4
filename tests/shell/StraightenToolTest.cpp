// The straighten mode on real widgets: the slider and the degrees, a horizon drawn with the mouse,
// the preview, applying, undoing and leaving.
#include <QCheckBox>
#include <QDoubleSpinBox>
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

template <typename T>
T* Child(QObject* parent, const char* name) {
  auto* child = parent->findChild<T*>(QString::fromUtf8(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

// The tenth of a degree the tool keeps of an angle.
double Tenths(double degrees) { return std::round(degrees * 10) / 10; }

// The menu entry sits in "Edition" right after "Recadrer", with its shortcut; with no photo it
// asks for one, with a photo it turns the mode on and off, as the view button does. One mode at a
// time: cropping and straightening each leave the other.
TEST_F(StraightenToolTest, TheEditMenuAndTheViewButtonToggleTheMode) {
  QMenu* edit = window->menuBar()->findChild<QMenu*>(QStringLiteral("mnuEditTOP"));
  ASSERT_NE(edit, nullptr);
  const QList<QAction*> entries = edit->actions();
  QAction* action = Child<QAction>(window.get(), commands::kRedresser);
  EXPECT_EQ(entries.indexOf(action),
            entries.indexOf(Child<QAction>(window.get(), commands::kRecadrer)) + 1);
  EXPECT_EQ(action->text(), QStringLiteral("Re&dresser…"));
  EXPECT_EQ(action->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+H")));
  for (QAction* other : window->findChildren<QAction*>()) {
    EXPECT_TRUE(other == action || !other->shortcuts().contains(action->shortcut()));
  }

  ui.Answer(MessageAnswer::Ok);
  action->trigger();
  ExpectMessage(0, Messages::kSelectionnezPhoto, MessageIcon::Information);

  frmImage* document = Open(QStringLiteral("a.bmp"), 101, 61);
  action->trigger();
  ASSERT_NE(document->Straighten(), nullptr);
  EXPECT_TRUE(document->Straighten()->Strip()->isVisible());
  EXPECT_EQ(Status(),
            QStringLiteral(" Tracez une ligne le long de l'horizon ou d'un mur, ou réglez "
                           "l'angle."));
  QTest::mouseClick(Child<QToolButton>(document, "RedresserBT"), Qt::LeftButton);
  EXPECT_FALSE(document->Straighten()->Strip()->isVisible());
  EXPECT_TRUE(Status().trimmed().isEmpty()) << Status();
  QTest::mouseClick(Child<QToolButton>(document, "RedresserBT"), Qt::LeftButton);
  EXPECT_TRUE(document->Straighten()->Active());
  // The zoom tool takes the mouse back; entering the mode again puts the zoom tool away.
  QTest::mouseClick(Child<QToolButton>(document, "ZoomBT"), Qt::LeftButton);
  EXPECT_FALSE(document->Straighten()->Active());
  action->trigger();
  EXPECT_EQ(document->MousePointer(), frmImage::kPointerNormal);
  EXPECT_TRUE(document->Straighten()->Active());

  Child<QAction>(window.get(), commands::kRecadrer)->trigger();
  EXPECT_FALSE(document->Straighten()->Active());
  EXPECT_TRUE(document->Straighten()->Strip()->isHidden());
  ASSERT_NE(document->Crop(), nullptr);
  EXPECT_TRUE(document->Crop()->Active());
  action->trigger();
  EXPECT_FALSE(document->Crop()->Active());
  EXPECT_TRUE(document->Straighten()->Active());
}

// One step of the slider is a tenth of a degree in the box; "-2,5" typed on a French desktop is
// 25 steps to the left. Escape, "Annuler" and OK at 0 leave the photo, its caption and the undo.
TEST_F(StraightenToolTest, SliderAndDegreesKeepInStepAndEscapeChangesNothing) {
  frmImage* document = Open(QStringLiteral("a.bmp"), 101, 61);
  const QImage photo = Upright(document->Document().Picture());
  const QString caption = Caption(document);
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
  EXPECT_EQ(Upright(document->Document().Picture()), photo);
  EXPECT_EQ(Caption(document), caption);
  EXPECT_FALSE(Child<QAction>(window.get(), commands::kAnnuler)->isEnabled());
}

// At 50 % a line dragged on the photo gives the angle of the same line in photo pixels, a near
// vertical line the angle that makes it upright; Enter turns the photo once to the size the
// geometry gives, and the undo gives the pixels back.
TEST_F(StraightenToolTest, ALineDrawnAtHalfZoomLevelsThePhotoAndUndoGivesItBack) {
  const QSize room = Room(*window);
  frmImage* document = Open(QStringLiteral("large.bmp"), 2 * room.width(), 301);
  ASSERT_EQ(document->Zoom(), 50);
  const QImage photo = Upright(document->Document().Picture());
  const QString caption = Caption(document);
  document->Redresser_Click();
  StraightenOverlay* overlay = document->Straighten()->Overlay();
  ASSERT_EQ(overlay->size(), document->Image1()->size());
  const double toPhotoX = double(photo.width()) / overlay->width();
  const double toPhotoY = double(photo.height()) / overlay->height();

  const auto drag = [&](QPoint from, QPoint to) {
    QTest::mousePress(overlay, Qt::LeftButton, {}, from);
    QTest::mouseMove(overlay, (from + to) / 2);
    QTest::mouseMove(overlay, to);
    QTest::mouseRelease(overlay, Qt::LeftButton, {}, to);
  };
  drag(QPoint(30, 40), QPoint(30 + 7, 140));
  const double upright =
      Tenths(LevellingAngle(30 * toPhotoX, 40 * toPhotoY, 37 * toPhotoX, 140 * toPhotoY));
  EXPECT_EQ(document->Straighten()->Angle(), upright);
  EXPECT_GT(upright, 3) << "a line whose foot leans right stands up by a clockwise turn";
  // Drawn on the turned preview, a line already level as seen keeps the angle.
  drag(QPoint(40, 60), QPoint(240, 60));
  EXPECT_EQ(document->Straighten()->Angle(), upright);

  Child<QSlider>(document, "StraightenSlider")->setValue(0);
  const QPoint from(20, 100);
  const QPoint to(200, 70);
  drag(from, to);
  const double angle = Tenths(LevellingAngle(from.x() * toPhotoX, from.y() * toPhotoY,
                                             to.x() * toPhotoX, to.y() * toPhotoY));
  EXPECT_EQ(document->Straighten()->Angle(), angle);
  EXPECT_GT(angle, 4);
  // A click is no line.
  QTest::mouseClick(overlay, Qt::LeftButton, {}, QPoint(50, 50));
  EXPECT_EQ(document->Straighten()->Angle(), angle);
  EXPECT_EQ(Upright(document->Document().Picture()), photo) << "untouched until applied";

  QTest::keyClick(overlay, Qt::Key_Return);
  EXPECT_FALSE(document->Straighten()->Active());
  const PixelSize expected = StraightenedSize(photo.width(), photo.height(), angle, false);
  EXPECT_EQ(document->Document().ImageWidth(), expected.width);
  EXPECT_EQ(document->Document().ImageHeight(), expected.height);
  EXPECT_EQ(Caption(document), caption + QStringLiteral(" modifiée"));

  Trigger(commands::kAnnuler);
  EXPECT_EQ(Upright(document->Document().Picture()), photo);
}

// A photo scrolled at 1:1 is first brought down to a zoom that shows all of it, horizon included.
TEST_F(StraightenToolTest, TheModeStartsWithTheWholePhotoInSight) {
  frmImage* document = Open(QStringLiteral("grande.bmp"), 901, 601);
  document->TailleNormaleFct();
  document->parentWidget()->resize(400, 300);
  QCoreApplication::processEvents();
  ASSERT_FALSE(document->hscScroll()->isHidden());
  document->Redresser_Click();
  EXPECT_LT(document->Zoom(), 100);
  EXPECT_TRUE(document->hscScroll()->isHidden() && document->vscScroll()->isHidden());
  EXPECT_EQ(document->Straighten()->Overlay()->size(), document->Image1()->size());
}

// The preview turns the display copy, not the photo: cropped, the corners the turn empties are
// dimmed with what the crop takes; with "Coins blancs" the whole turned photo shows on white,
// and OK gives the box that holds it, its corners white.
TEST_F(StraightenToolTest, ThePreviewShowsWhatIsKeptAndWhiteCornersKeepTheWholePhoto) {
  frmImage* document = Open(QStringLiteral("a.bmp"), 257, 161);
  const QImage photo = Upright(document->Document().Picture());
  document->Redresser_Click();
  StraightenOverlay* overlay = document->Straighten()->Overlay();
  const QImage flat = overlay->grab().toImage();
  // Unturned, the preview shows the photo's own pixels where no grid line runs.
  EXPECT_EQ(flat.pixel(3, 5), photo.pixel(3, 5));

  document->Straighten()->SetAngle(10);
  const QImage turned = overlay->grab().toImage();
  // The viewport's grey (224) under black at 120/255.
  const int dimmed = 224 * 135 / 255;
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

  // Enter applies from the strip's controls as from the photo.
  QTest::keyClick(Child<QDoubleSpinBox>(document, "StraightenDegrees"), Qt::Key_Return);
  EXPECT_FALSE(document->Straighten()->Active());
  const PixelSize box = StraightenedSize(257, 161, 10, true);
  ASSERT_EQ(document->Document().ImageWidth(), box.width);
  ASSERT_EQ(document->Document().ImageHeight(), box.height);
  const QImage result = Upright(document->Document().Picture());
  EXPECT_EQ(result.pixel(0, 0), qRgb(255, 255, 255));
  EXPECT_EQ(result.pixel(box.width - 1, box.height - 1), qRgb(255, 255, 255));

  // An undo under the mode ends it: the angle was chosen for the photo that went.
  document->Redresser_Click();
  document->Straighten()->SetAngle(3);
  Trigger(commands::kAnnuler);
  EXPECT_FALSE(document->Straighten()->Active());
  EXPECT_EQ(Upright(document->Document().Picture()), photo);
}

}  // namespace
}  // namespace fotavel::testing
