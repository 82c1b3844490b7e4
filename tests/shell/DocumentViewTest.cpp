// A document window's view on real widgets: fitting zoom and the drawings it reads, the zoom tool,
// and the area blur dragged on the photo.
#include <QApplication>
#include <QScrollBar>
#include <QSpontaneKeyEvent>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include "controls/SystemColours.h"
#include "shell/ShellFixture.h"
#include "shell/WindowCommands.h"

namespace fotavel::testing {
namespace {

void ClickView(frmImage* document, const char* name) {
  QTest::mouseClick(document->findChild<QToolButton*>(QString::fromUtf8(name)), Qt::LeftButton);
}

using DocumentView = ShellTest;

// A wheel turned over the viewport at `at` (viewport pixels), delivered to the widget under it as
// the platform delivers it, so that it climbs to the parents that want it.
void Wheel(frmImage* document, QPoint at, int delta, Qt::KeyboardModifiers modifiers = {}) {
  QWidget* viewport = document->picScrollBox();
  QWidget* under = viewport->childAt(at);
  if (under == nullptr) under = viewport;
  const QPoint local = under->mapFrom(viewport, at);
  QWheelEvent event(local, under->mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton,
                    modifiers, Qt::NoScrollPhase, false);
  // As QTest delivers its mouse events: sendEvent would mark it as made by the program.
  QSpontaneKeyEvent::setSpontaneous(&event);
  qApp->notify(under, &event);
}

// Where the photo's point p (in photo pixels) stands in the viewport.
QPointF OnScreen(frmImage* document, const QSize photo, QPointF p) {
  const QWidget* image = document->Image1();
  return {image->x() + p.x() * image->width() / photo.width(),
          image->y() + p.y() * image->height() / photo.height()};
}

// At half zoom the dragged rectangle, 10..20 on screen, is 20..40 in the photo; it is blurred
// once, and a second drag without the button does nothing. The view at half size never reads the
// full-size drawing until asked for 1:1.
TEST_F(DocumentView, APhotoTwiceAsWideAsTheRoomOpensAtFiftyAndTheAreaBlurTakesPhotoPixels) {
  const QSize room = Room(*window);
  ASSERT_GT(room.width(), 100);
  frmImage* document = Open(QStringLiteral("large.bmp"), 2 * room.width(), 41);
  EXPECT_EQ(document->Zoom(), 50);
  EXPECT_EQ(window->lblZoom()->text(), QStringLiteral("Zoom: 50 %"));
  EXPECT_EQ(document->Image1()->width(), room.width());
  EXPECT_TRUE(document->picImage().isNull());

  const QImage before = Upright(document->Document().Picture());
  Click(commands::kMasquer);
  EXPECT_EQ(document->MousePointer(), frmImage::kPointerCross);
  QTest::mousePress(document->Image1(), Qt::LeftButton, {}, QPoint(20, 15));
  QTest::mouseRelease(document->Image1(), Qt::LeftButton, {}, QPoint(10, 5));
  const QImage after = Upright(document->Document().Picture());
  EXPECT_NE(after.pixel(30, 20), before.pixel(30, 20));
  for (const QPoint p : {QPoint(15, 20), QPoint(45, 20), QPoint(30, 35)}) {
    EXPECT_EQ(after.pixel(p), before.pixel(p)) << p.x() << "," << p.y();
  }
  EXPECT_EQ(document->MousePointer(), frmImage::kPointerNormal);
  QTest::mousePress(document->Image1(), Qt::LeftButton, {}, QPoint(30, 5));
  QTest::mouseRelease(document->Image1(), Qt::LeftButton, {}, QPoint(40, 15));
  EXPECT_EQ(Upright(document->Document().Picture()), after);

  ClickView(document, "TailleNormale");
  EXPECT_EQ(window->lblZoom()->text(), QStringLiteral("Zoom: 100 %"));
  EXPECT_EQ(document->Image1()->width(), 2 * room.width());
  EXPECT_EQ(document->picImage(), after) << "drawn for 1:1";
  ClickView(document, "fenêtre");
  EXPECT_EQ(document->Zoom(), 50);
}

// A held button runs the tool's repeat, a step a tick, until released; the press itself steps
// nothing. From 110 % the steps go down by tens to 40 %, where 301 pixels are 1806 twips: no
// step out is taken from a picture no wider than 2000 twips.
TEST_F(DocumentView, TheZoomToolStepsWhileAButtonIsHeld) {
  frmImage* document = Open(QStringLiteral("a.bmp"), 301, 61);
  ASSERT_EQ(document->Zoom(), 100);
  ClickView(document, "ZoomBT");
  EXPECT_EQ(document->MousePointer(), frmImage::kPointerZoom);
  auto* plus = document->findChild<QTimer*>(QStringLiteral("TimerZoomPlus"));
  auto* minus = document->findChild<QTimer*>(QStringLiteral("TimerZoomMoins"));
  ASSERT_TRUE(plus != nullptr && minus != nullptr);
  for (const auto& [button, timer, expected] :
       {std::tuple{Qt::LeftButton, plus, std::vector<double>{110}},
        {Qt::RightButton, minus, std::vector<double>{100, 90, 80, 70, 60, 50, 40, 40}}}) {
    QTest::mousePress(document->Image1(), button);
    EXPECT_TRUE(timer->isActive());
    std::vector<double> zooms;
    for (std::size_t tick = 0; tick < expected.size(); ++tick) {
      ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout"));
      zooms.push_back(document->Zoom());
    }
    QTest::mouseRelease(document->Image1(), button);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(zooms, expected);
  }
  EXPECT_EQ(window->lblZoom()->text(), QStringLiteral("Zoom: 40 %"));
  ClickView(document, "ZoomBT");
  EXPECT_EQ(document->MousePointer(), frmImage::kPointerNormal);
}

// Ctrl and the wheel zoom by the steps of the zoom tool, in whatever mode, and keep the photo's
// point under the pointer where it was as far as the scroll bars allow.
TEST_F(DocumentView, CtrlWheelZoomsAroundThePointer) {
  const QSize photo(901, 601);
  frmImage* document = Open(QStringLiteral("grande.bmp"), 901, 601);
  ClickView(document, "TailleNormale");
  document->parentWidget()->resize(400, 300);
  QCoreApplication::processEvents();
  document->hscScroll()->setValue(100);
  document->vscScroll()->setValue(50);
  const QPoint pointer(150, 120);
  const QPointF under(250, 170);  // photo pixels at 100 %
  ASSERT_EQ(OnScreen(document, photo, under), QPointF(pointer));
  Click(commands::kMasquer);

  const auto stays = [&](double zoom) {
    EXPECT_EQ(document->Zoom(), zoom);
    EXPECT_EQ(window->lblZoom()->text(), QStringLiteral("Zoom: %1 %").arg(zoom));
    EXPECT_EQ(document->Image1()->pos(),
              QPoint(-document->hscScroll()->value(), -document->vscScroll()->value()));
    const QPointF at = OnScreen(document, photo, under);
    EXPECT_NEAR(at.x(), pointer.x(), 1) << zoom;
    EXPECT_NEAR(at.y(), pointer.y(), 1) << zoom;
  };
  Wheel(document, pointer, 120, Qt::ControlModifier);
  stays(110);
  // A touchpad's small turns add up to one notch.
  Wheel(document, pointer, 50, Qt::ControlModifier);
  Wheel(document, pointer, 50, Qt::ControlModifier);
  EXPECT_EQ(document->Zoom(), 110);
  Wheel(document, pointer, 20, Qt::ControlModifier);
  stays(120);
  Wheel(document, pointer, -240, Qt::ControlModifier);
  stays(100);
  EXPECT_EQ(document->hscScroll()->value(), 100);
  EXPECT_EQ(document->vscScroll()->value(), 50);
  EXPECT_EQ(document->MousePointer(), frmImage::kPointerCross) << "the tool stays on";

  // Small enough to fit, the photo goes back to the top-left corner without its bars.
  Wheel(document, QPoint(20, 20), -6 * 120, Qt::ControlModifier);
  EXPECT_EQ(document->Zoom(), 40);
  EXPECT_TRUE(document->hscScroll()->isHidden() && document->vscScroll()->isHidden());
  EXPECT_EQ(document->Image1()->pos(), QPoint(0, 0));
  // Out to the limit: no step from a picture no wider than 2000 twips (10 % of 901 pixels).
  Wheel(document, QPoint(20, 20), -15 * 120, Qt::ControlModifier);
  EXPECT_EQ(document->Zoom(), 10);
  EXPECT_EQ(document->Image1()->width(), 90);
}

}  // namespace
}  // namespace fotavel::testing
