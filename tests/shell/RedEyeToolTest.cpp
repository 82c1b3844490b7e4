// The red-eye mode on real widgets: its menu row, clicks and rectangles on a made-up face at a
// zoom, a click on skin, undo, leaving, and the modes giving way to one another.
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <cmath>

#include "document/Messages.h"
#include "effects/cImageProcessDIB.h"
#include "shell/CropTool.h"
#include "shell/RedEyeTool.h"
#include "shell/ShellFixture.h"
#include "shell/StraightenTool.h"
#include "shell/WindowCommands.h"

namespace fotavel::testing {
namespace {

using RedEyeToolTest = ShellTest;

// Skin, with red pupils of radius 9 at (x, 40) from the top-left for each x of `eyes`.
cDIBSection Face(int width, std::initializer_list<int> eyes) {
  cDIBSection face;
  EXPECT_TRUE(face.Create(width, 81));
  for (int y = 0; y < 81; ++y) {
    std::uint8_t* row = face.row(80 - y);
    for (int x = 0; x < width; ++x) {
      bool pupil = false;
      for (const int eye : eyes) pupil = pupil || (x - eye) * (x - eye) + (y - 40) * (y - 40) <= 81;
      row[3 * x] = pupil ? 40 : 150;
      row[3 * x + 1] = pupil ? 45 : 170;
      row[3 * x + 2] = pupil ? 200 : 220;
    }
  }
  return face;
}

// The photo pixel under the centre of overlay pixel `at`, and 25 screen pixels in photo pixels.
EyePlace ExpectedClick(QPoint at, QSize overlay, QSize photo) {
  return {int(std::floor((at.x() + 0.5) * photo.width() / overlay.width())),
          int(std::floor((at.y() + 0.5) * photo.height() / overlay.height())),
          int(std::ceil(25.0 * photo.width() / overlay.width()))};
}

cDIBSection Copy(const cDIBSection& photo) {
  cDIBSection copy;
  EXPECT_TRUE(copy.Create(photo.width(), photo.height()) && copy.LoadPictureBlt(photo));
  return copy;
}

// `photo` with the engine's own correction of `eye`.
cDIBSection Corrected(const cDIBSection& photo, const EyePlace& eye) {
  cDIBSection copy = Copy(photo);
  EXPECT_GT(cImageProcessDIB().RedEyes(copy, eye.x, eye.y, eye.radius), 0);
  return copy;
}

TEST_F(RedEyeToolTest, ItsEntryFollowsRedresserAndTheModesGiveWayToOneAnother) {
  QAction* action = Child<QAction>(window.get(), commands::kYeuxRouges);
  const QList<QAction*> edition =
      window->findChild<QMenu*>(QStringLiteral("mnuEditTOP"))->actions();
  EXPECT_EQ(action->text(), QStringLiteral("&Yeux rouges"));
  EXPECT_EQ(action->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+Y")));
  EXPECT_EQ(edition.indexOf(action),
            edition.indexOf(Child<QAction>(window.get(), commands::kRedresser)) + 1);
  for (const QAction* other : window->findChildren<QAction*>()) {
    EXPECT_TRUE(other == action || !other->shortcuts().contains(action->shortcut()))
        << other->objectName();
  }
  ui.Answer(MessageAnswer::Ok);
  action->trigger();
  ExpectMessage(0, Messages::kSelectionnezPhoto, MessageIcon::Information);

  frmImage* document = Open(QStringLiteral("a.bmp"), 101, 61);
  action->trigger();
  ASSERT_NE(document->RedEyes(), nullptr);
  EXPECT_TRUE(document->RedEyes()->Strip()->isVisible());
  EXPECT_EQ(Status(),
            QStringLiteral(" Cliquez au milieu d'un œil rouge, ou tracez un rectangle autour."));
  document->Recadrer_Click();
  EXPECT_FALSE(document->RedEyes()->Active());
  QTest::mouseClick(Child<QToolButton>(document, "YeuxRougesBT"), Qt::LeftButton);
  EXPECT_FALSE(document->Crop()->Active());
  document->Redresser_Click();
  EXPECT_FALSE(document->RedEyes()->Active());
  action->trigger();
  EXPECT_FALSE(document->Straighten()->Active());
  QTest::mouseClick(Child<QToolButton>(document, "ZoomBT"), Qt::LeftButton);
  EXPECT_TRUE(document->RedEyes()->Strip()->isHidden());
  action->trigger();
  EXPECT_EQ(document->MousePointer(), frmImage::kPointerNormal);
  action->trigger();  // the entry toggles
  EXPECT_FALSE(document->RedEyes()->Active());
  EXPECT_TRUE(Status().trimmed().isEmpty()) << Status();
}

// A photo wider than the room opens at a zoom below 100 %: a click is taken back to photo pixels
// with a radius of 25 screen pixels, a rectangle gives its centre and half its larger side. Each
// eye is one undo step and the mode stays on; a click on skin changes nothing and says so.
TEST_F(RedEyeToolTest, ClicksAndRectanglesCorrectEachEyeAsOneUndoStep) {
  const int width = 2 * Room(*window).width();
  const int left = width / 4, right = 3 * width / 4;
  const cDIBSection face = Face(width, {left, right});
  frmImage* document = OpenPath(WritePhoto(QStringLiteral("visage.bmp"), face));
  ASSERT_NE(document, nullptr);
  ASSERT_LT(document->Zoom(), 100);
  const QString caption = Caption(document);
  Trigger(commands::kYeuxRouges);
  RedEyeOverlay* overlay = document->RedEyes()->Overlay();
  ASSERT_EQ(overlay->size(), document->Image1()->size());
  const QSize shown = overlay->size(), photo(width, 81);
  const auto onScreen = [&](int x, int y) {
    return QPoint(int(x * document->Zoom() / 100), int(y * document->Zoom() / 100));
  };

  // 30 photo pixels right of the left pupil, within 25 screen pixels only at this zoom: the
  // search disk takes part of the pupil, so its radius and centre show in the pixels.
  const QPoint click = onScreen(left + 9 + 30, 38);
  QTest::mouseClick(overlay, Qt::LeftButton, {}, click);
  const cDIBSection oneEye = Corrected(face, ExpectedClick(click, shown, photo));
  EXPECT_EQ(Upright(document->Document().Picture()), Upright(oneEye));
  EXPECT_EQ(Caption(document), caption + QStringLiteral(" modifiée"));
  EXPECT_EQ(Status(),
            QStringLiteral(" Œil rouge corrigé. Cliquez sur le suivant, ou Échap pour finir."));
  EXPECT_TRUE(document->RedEyes()->Active());

  // On the cheek, far from both eyes.
  QTest::mouseClick(overlay, Qt::LeftButton, {}, onScreen(width / 2, 70));
  EXPECT_EQ(Upright(document->Document().Picture()), Upright(oneEye));
  EXPECT_EQ(Status(), QStringLiteral(" Aucun œil rouge trouvé à cet endroit."));
  EXPECT_EQ(document->Document().UndoCount(), 1);

  // A rectangle dragged around the right pupil, from 12 photo pixels up-left of its centre to
  // 12 down-right: the whole pupil and nothing else, as a search of 12 from its centre finds.
  const QPoint from = onScreen(right - 12, 28), to = onScreen(right + 12, 52);
  QTest::mousePress(overlay, Qt::LeftButton, {}, from);
  QTest::mouseMove(overlay, to);
  QTest::mouseRelease(overlay, Qt::LeftButton, {}, to);
  const cDIBSection twoEyes = Corrected(oneEye, {right, 40, 12});
  EXPECT_EQ(Upright(document->Document().Picture()), Upright(twoEyes));
  EXPECT_EQ(document->Document().UndoCount(), 2);

  Trigger(commands::kAnnuler);
  EXPECT_EQ(Upright(document->Document().Picture()), Upright(oneEye));
  Trigger(commands::kAnnuler);
  EXPECT_EQ(Upright(document->Document().Picture()), Upright(face));
  EXPECT_TRUE(document->RedEyes()->Active());
  QTest::keyClick(overlay, Qt::Key_Escape);
  EXPECT_FALSE(document->RedEyes()->Active());
  EXPECT_TRUE(Status().trimmed().isEmpty()) << Status();
}

// "Annuler" gives back the eyes corrected since the mode started, and those only.
TEST_F(RedEyeToolTest, CancelUndoesTheEyesOfThisModeOnly) {
  const cDIBSection face = Face(121, {30, 90});
  frmImage* document = OpenPath(WritePhoto(QStringLiteral("visage.bmp"), face));
  ASSERT_NE(document, nullptr);
  ASSERT_EQ(document->Zoom(), 100);
  document->YeuxRouges_Click();
  RedEyeOverlay* overlay = document->RedEyes()->Overlay();
  QTest::mouseClick(overlay, Qt::LeftButton, {}, QPoint(30, 40));
  const cDIBSection before = Copy(document->Document().Picture());
  QTest::keyClick(overlay, Qt::Key_Return);
  EXPECT_FALSE(document->RedEyes()->Active());

  document->YeuxRouges_Click();
  QTest::mouseClick(overlay, Qt::LeftButton, {}, QPoint(90, 40));
  EXPECT_EQ(document->Document().UndoCount(), 2);
  QTest::mouseClick(Child<QPushButton>(document, "RedEyeCancel"), Qt::LeftButton);
  EXPECT_FALSE(document->RedEyes()->Active());
  EXPECT_EQ(Upright(document->Document().Picture()), Upright(before));
  EXPECT_EQ(document->Document().UndoCount(), 1);
}

}  // namespace
}  // namespace fotavel::testing
