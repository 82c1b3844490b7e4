// A document window's view on real widgets: fitting zoom, view buttons, zoom ticks, scroll bars.
#include <QApplication>
#include <QScrollBar>
#include <QSpontaneKeyEvent>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include "controls/SystemColours.h"
#include "shell/ShellFixture.h"

namespace fotavel::testing {
namespace {

// The room the main window offers, in pixels, worked out plainly.
QSize Room(const mfrmMain& window) {
  const double tx = TwipsPerPixelX(window);
  const double ty = TwipsPerPixelY(window);
  const double w = window.frameGeometry().width() * tx;
  const double h = window.frameGeometry().height() * ty;
  const double vertical = window.BarreOutilsVrt()->width() * tx;
  const double bars = (window.BarreOutils()->height() + window.picStatus()->height()) * ty;
  return {static_cast<int>(std::nearbyint((w - vertical - 800) / tx)),
          static_cast<int>(std::nearbyint((h - bars - 1500) / ty))};
}

void ClickView(frmImage* document, const char* name) {
  QTest::mouseClick(document->findChild<QToolButton*>(QString::fromUtf8(name)), Qt::LeftButton);
}

class DocumentView : public ShellTest {
 protected:
  // Opened at 100 % in a 400 × 300 frame, so that a large photo overflows.
  frmImage* OpenInSmallFrame(const QString& name, int width, int height) {
    frmImage* document = Open(name, width, height);
    ClickView(document, "TailleNormale");
    document->parentWidget()->resize(400, 300);
    QCoreApplication::processEvents();
    return document;
  }
};

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

TEST_F(DocumentView, APhotoTwiceAsWideAsTheRoomOpensAtFifty) {
  const QSize room = Room(*window);
  ASSERT_GT(room.width(), 100);
  frmImage* document = Open(QStringLiteral("large.bmp"), 2 * room.width(), 41);
  EXPECT_EQ(document->Zoom(), 50);
  EXPECT_EQ(window->lblZoom()->text(), QStringLiteral("Zoom: 50 %"));
  EXPECT_EQ(document->Image1()->width(), room.width());
  EXPECT_TRUE(document->picImage().isNull()) << "a view at half size never reads the full size";

  ClickView(document, "TailleNormale");
  EXPECT_EQ(document->Zoom(), 100);
  EXPECT_EQ(window->lblZoom()->text(), QStringLiteral("Zoom: 100 %"));
  EXPECT_EQ(document->Image1()->width(), 2 * room.width());
  EXPECT_EQ(document->picImage(), Upright(document->Document().Picture())) << "drawn for 1:1";
  ClickView(document, "fenêtre");
  EXPECT_EQ(document->Zoom(), 50);
}

TEST_F(DocumentView, TheZoomButtonTogglesThePointerAndTakesOverFromTheAreaBlur) {
  frmImage* document = Open(QStringLiteral("a.bmp"));
  for (const int pointer : {frmImage::kPointerZoom, frmImage::kPointerNormal}) {
    ClickView(document, "ZoomBT");
    EXPECT_EQ(document->MousePointer(), pointer);
  }
  Click("cmdMasque");
  EXPECT_EQ(document->MousePointer(), frmImage::kPointerCross);
  ClickView(document, "ZoomBT");
  EXPECT_EQ(document->MousePointer(), frmImage::kPointerZoom);
  ClickView(document, "TailleNormale");
  EXPECT_EQ(document->MousePointer(), frmImage::kPointerNormal);
}

// The steps themselves are pinned in the view rules; here the window follows them, resizes the
// picture and takes no step from a picture no wider than 2000 twips (8 % of 1601 pixels).
TEST_F(DocumentView, ZoomTicksResizeThePictureAndStopAtTwoThousandTwips) {
  frmImage* document = Open(QStringLiteral("long.bmp"), 1601, 41);
  ClickView(document, "TailleNormale");
  const double tx = TwipsPerPixelX(*document);
  std::vector<double> out;
  for (double before = 0; before != document->Zoom() && out.size() < 30;) {
    before = document->Zoom();
    document->TimerZoomMoins_Timer();
    out.push_back(document->Zoom());
    EXPECT_DOUBLE_EQ(document->Image1WidthTwips(), 1601 * tx * document->Zoom() / 100);
  }
  EXPECT_EQ(out, (std::vector<double>{90, 80, 70, 60, 50, 40, 30, 20, 10, 9, 8, 8}));
  EXPECT_LE(document->Image1WidthTwips(), 2000);
  EXPECT_EQ(window->lblZoom()->text(), QStringLiteral("Zoom: 8 %"));
  for (const double expected : {9, 10}) {
    document->TimerZoomPlus_Timer();
    EXPECT_EQ(document->Zoom(), expected);
  }
}

// In zoom mode a held button runs its 110 ms repeat (each tick a step, above) until released;
// the press itself steps nothing, so a click shorter than a tick does not zoom.
TEST_F(DocumentView, HoldingTheMouseInZoomModeRunsTheRepeatUntilTheRelease) {
  // Wide enough for a step out of 110 % (more than 2000 twips), narrow enough to open at 100 %.
  frmImage* document = Open(QStringLiteral("a.bmp"), 301, 61);
  ClickView(document, "ZoomBT");
  ASSERT_EQ(document->Zoom(), 100);
  auto* plus = document->findChild<QTimer*>(QStringLiteral("TimerZoomPlus"));
  auto* minus = document->findChild<QTimer*>(QStringLiteral("TimerZoomMoins"));
  ASSERT_TRUE(plus != nullptr && minus != nullptr);
  EXPECT_EQ(plus->interval(), 110);
  // 100 up to 110 and back.
  for (const auto& [button, timer, after] :
       {std::tuple{Qt::LeftButton, plus, 110}, {Qt::RightButton, minus, 100}}) {
    const double before = document->Zoom();
    QTest::mousePress(document->Image1(), button);
    EXPECT_EQ(document->Zoom(), before);
    EXPECT_TRUE(timer->isActive());
    EXPECT_FALSE((timer == plus ? minus : plus)->isActive());
    ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout"));
    EXPECT_EQ(document->Zoom(), after);
    QTest::mouseRelease(document->Image1(), button);
    EXPECT_FALSE(timer->isActive());
  }
}

// Ctrl and the wheel zoom by the steps of the zoom tool, in whatever mode, and keep the photo's
// point under the pointer where it was as far as the scroll bars allow.
TEST_F(DocumentView, CtrlWheelZoomsAroundThePointer) {
  const QSize photo(901, 601);
  frmImage* document = OpenInSmallFrame(QStringLiteral("grande.bmp"), 901, 601);
  document->hscScroll()->setValue(100);
  document->vscScroll()->setValue(50);
  const QPoint pointer(150, 120);
  const QPointF under(250, 170);  // photo pixels at 100 %
  ASSERT_EQ(OnScreen(document, photo, under), QPointF(pointer));
  Click("cmdMasque");

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

// Over the photo the wheel scrolls as much as over the bar itself.
TEST_F(DocumentView, TheWheelAloneScrolls) {
  frmImage* document = OpenInSmallFrame(QStringLiteral("grande.bmp"), 901, 601);
  QScrollBar* bar = document->vscScroll();
  Wheel(document, bar->geometry().center(), -120);
  const int notch = bar->value();
  ASSERT_GT(notch, 0);
  Wheel(document, QPoint(100, 100), -120);
  EXPECT_EQ(bar->value(), 2 * notch);
  EXPECT_EQ(document->Image1()->y(), -2 * notch);
  EXPECT_EQ(document->Zoom(), 100);
  Wheel(document, QPoint(100, 100), 120);
  EXPECT_EQ(bar->value(), notch);

  // A photo that only overflows sideways scrolls sideways.
  frmImage* wide = OpenInSmallFrame(QStringLiteral("large.bmp"), 901, 31);
  Wheel(wide, QPoint(100, 10), -120);
  EXPECT_EQ(wide->hscScroll()->value(), notch);
  EXPECT_EQ(wide->Image1()->x(), -notch);
}

TEST_F(DocumentView, ScrollBarsShowOnlyForTheDimensionThatOverflows) {
  frmImage* small = OpenInSmallFrame(QStringLiteral("petite.bmp"), 51, 31);
  EXPECT_FALSE(small->hscScroll()->isVisible() || small->vscScroll()->isVisible());

  frmImage* wide = OpenInSmallFrame(QStringLiteral("large.bmp"), 901, 31);
  ASSERT_TRUE(wide->hscScroll()->isVisible());
  EXPECT_FALSE(wide->vscScroll()->isVisible());
  const int inner = wide->picScrollBox()->width();
  EXPECT_EQ(wide->picScrollBox()->geometry(), wide->rect().adjusted(2, 2, -2, -2));
  EXPECT_EQ(wide->hscScroll()->maximum(), 901 - inner + wide->vscScroll()->width());
  EXPECT_EQ(wide->hscScroll()->singleStep(), 32);

  wide->hscScroll()->setValue(120);
  EXPECT_EQ(wide->Image1()->x(), -120);
  ClickView(wide, "TailleNormale");
  EXPECT_EQ(wide->hscScroll()->value(), 0);
  EXPECT_EQ(wide->Image1()->pos(), QPoint(0, 0));

  // A left turn makes it tall: the bars follow.
  Click("PivotGche");
  EXPECT_TRUE(!wide->hscScroll()->isVisible() && wide->vscScroll()->isVisible());
  Click("BtAnnuler");
  EXPECT_TRUE(wide->hscScroll()->isVisible() && !wide->vscScroll()->isVisible());
}

TEST_F(DocumentView, TheAreaBlurBlursTheDraggedRectangleOnce) {
  frmImage* document = Open(QStringLiteral("a.bmp"), 101, 61);
  ClickView(document, "TailleNormale");
  const QImage before = document->picImage().copy();
  const QString caption = Caption(document);
  Click("cmdMasque");
  ASSERT_EQ(document->MousePointer(), frmImage::kPointerCross);
  QTest::mousePress(document->Image1(), Qt::LeftButton, {}, QPoint(40, 30));
  QTest::mouseRelease(document->Image1(), Qt::LeftButton, {}, QPoint(10, 10));

  const QImage after = document->picImage();
  EXPECT_NE(after.pixel(25, 20), before.pixel(25, 20));
  for (const QPoint p : {QPoint(80, 50), QPoint(25, 50), QPoint(80, 20)})
    EXPECT_EQ(after.pixel(p), before.pixel(p)) << p.x() << "," << p.y();
  EXPECT_EQ(Caption(document), caption) << "the caption does not say so, but it is changed";
  EXPECT_TRUE(document->Document().Dirty());
  EXPECT_TRUE(window->BtAnnuler()->Enabled());
  EXPECT_EQ(document->MousePointer(), frmImage::kPointerNormal);

  // A second drag without the button does nothing.
  const QImage once = after.copy();
  QTest::mousePress(document->Image1(), Qt::LeftButton, {}, QPoint(60, 40));
  QTest::mouseRelease(document->Image1(), Qt::LeftButton, {}, QPoint(90, 55));
  EXPECT_EQ(document->picImage(), once);
  Click("BtAnnuler");
  EXPECT_EQ(document->picImage(), before);
}

TEST_F(DocumentView, AtHalfZoomTheRectangleIsTakenInPhotoPixels) {
  const QSize room = Room(*window);
  frmImage* document = Open(QStringLiteral("large.bmp"), 2 * room.width(), 41);
  ASSERT_EQ(document->Zoom(), 50);
  const QImage before = Upright(document->Document().Picture());
  Click("cmdMasque");
  // 10..20 on screen is 20..40 in the photo.
  QTest::mousePress(document->Image1(), Qt::LeftButton, {}, QPoint(10, 5));
  QTest::mouseRelease(document->Image1(), Qt::LeftButton, {}, QPoint(20, 15));
  const QImage after = Upright(document->Document().Picture());
  EXPECT_NE(after.pixel(30, 20), before.pixel(30, 20));
  EXPECT_EQ(after.pixel(15, 20), before.pixel(15, 20));
  EXPECT_EQ(after.pixel(45, 20), before.pixel(45, 20));
}

// The rectangle follows the drag in the viewport, where the photo is shifted by the scroll bars.
TEST_F(DocumentView, TheRectangleFollowsTheDragInTheScrolledViewport) {
  frmImage* document = OpenInSmallFrame(QStringLiteral("large.bmp"), 901, 31);
  document->hscScroll()->setValue(100);
  Click("cmdMasque");
  QTest::mousePress(document->Image1(), Qt::LeftButton, {}, QPoint(180, 20));
  QTest::mouseMove(document->Image1(), QPoint(150, 25));
  auto* rectangle = document->findChild<QWidget*>(QStringLiteral("Shaperectangle"));
  ASSERT_NE(rectangle, nullptr);
  EXPECT_TRUE(rectangle->isVisible());
  EXPECT_EQ(rectangle->geometry(), QRect(50, 20, 30, 5));
  QTest::mouseRelease(document->Image1(), Qt::LeftButton, {}, QPoint(150, 25));
  EXPECT_FALSE(rectangle->isVisible());
}

// A window that holds no photo (one being made for a combination) has nothing to blur.
TEST_F(DocumentView, ABlurWithNoPhotoIsASelectionError) {
  auto* document = new frmImage(*window);
  window->Workspace()->addSubWindow(document)->show();
  document->SetMousePointer(frmImage::kPointerCross);
  ui.Answer(MessageAnswer::Ok);
  emit document->Image1()->Pressed(Qt::LeftButton, QPoint(1, 1));
  emit document->Image1()->Released(Qt::LeftButton, QPoint(3, 3));
  ExpectMessage(0, QStringLiteral("Erreur de sélection (code 213)!"), MessageIcon::None);
  EXPECT_EQ(document->MousePointer(), frmImage::kPointerNormal);
  EXPECT_FALSE(document->Document().Dirty());
}

}  // namespace
}  // namespace fotavel::testing
