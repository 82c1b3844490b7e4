// The crop mode on real widgets: rectangles dragged at several zooms and scrolls, moved and
// resized, the ratios of the strip, typed sizes, cropping, undo and leaving.
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QPaintEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QSpontaneKeyEvent>
#include <QToolButton>
#include <QWheelEvent>

#include "document/Messages.h"
#include "shell/CropTool.h"
#include "shell/ShellFixture.h"
#include "shell/WindowCommands.h"

namespace fotavel::testing {
namespace {

using CropMode = ShellTest;

template <class T>
T* Part(frmImage* document, const char* name) {
  T* part = document->findChild<T*>(QString::fromUtf8(name));
  EXPECT_NE(part, nullptr) << name;
  return part;
}

// The point of the viewport `at` as the overlay takes it; unless the pointer is held, the overlay
// must be what is there.
QPoint OnOverlay(frmImage* document, QPoint at, bool held = false) {
  QWidget* overlay = document->Crop()->Overlay();
  if (!held) {
    EXPECT_EQ(document->picScrollBox()->childAt(at), overlay) << at.x() << "," << at.y();
  }
  return overlay->mapFrom(document->picScrollBox(), at);
}

// A left-button drag from one point of the viewport to another, by way of the middle.
void Drag(frmImage* document, QPoint from, QPoint to) {
  QWidget* overlay = document->Crop()->Overlay();
  QTest::mousePress(overlay, Qt::LeftButton, {}, OnOverlay(document, from));
  QTest::mouseMove(overlay, OnOverlay(document, (from + to) / 2, true));
  QTest::mouseMove(overlay, OnOverlay(document, to, true));
  QTest::mouseRelease(overlay, Qt::LeftButton, {}, OnOverlay(document, to, true));
}

// As the platform delivers an event, so that it climbs to the parents that want it.
void Deliver(QWidget* widget, QEvent&& event) {
  QSpontaneKeyEvent::setSpontaneous(&event);
  qApp->notify(widget, &event);
}

// The pointer over the viewport with no button held.
Qt::CursorShape HoverCursor(frmImage* document, QPoint at) {
  QWidget* overlay = document->Crop()->Overlay();
  const QPoint local = OnOverlay(document, at);
  Deliver(overlay, QMouseEvent(QEvent::MouseMove, local, overlay->mapToGlobal(local), Qt::NoButton,
                               Qt::NoButton, Qt::NoModifier));
  return overlay->cursor().shape();
}

void CtrlWheel(frmImage* document, QPoint at, int delta) {
  QWidget* image = document->Image1();
  const QPoint local = image->mapFrom(document->picScrollBox(), at);
  Deliver(image, QWheelEvent(local, image->mapToGlobal(local), QPoint(), QPoint(0, delta),
                             Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false));
}

// Types into the strip's list, as a user picks an entry by its first characters.
void Pick(frmImage* document, const QString& start) {
  auto* presets = Part<QComboBox>(document, "CropPresets");
  QTest::keyClicks(presets, start);
  QTest::qWait(QApplication::keyboardInputInterval() + 10);
}

void Type(frmImage* document, const char* field, int value) {
  auto* spin = Part<QSpinBox>(document, field);
  spin->setFocus();
  spin->selectAll();
  QTest::keyClicks(spin, QString::number(value));
  QTest::keyClick(spin, Qt::Key_Return);
}

PixelRect Chosen(frmImage* document) { return document->Crop()->Rect().value_or(PixelRect{}); }

frmImage* StartCrop(frmImage* document) {
  QTest::mouseClick(Part<QToolButton>(document, "RecadrerBT"), Qt::LeftButton);
  EXPECT_TRUE(document->Crop() != nullptr && document->Crop()->Active());
  return document;
}

// The same photo pixels whatever the zoom and the bars: a drag of 50 screen pixels takes 100 at
// half size, 25 at double; backwards gives the same rectangle; the frame follows a zoom.
TEST_F(CropMode, DragsTakePhotoPixelsAtEveryZoomAndScroll) {
  frmImage* document = StartCrop(Open(QStringLiteral("a.bmp"), 401, 301));
  ASSERT_EQ(document->Zoom(), 100);
  Drag(document, {50, 60}, {150, 160});
  EXPECT_EQ(Chosen(document), (PixelRect{50, 60, 100, 100}));
  EXPECT_EQ(Status(), QStringLiteral(" Recadrage : 100 x 100 pixels"));
  EXPECT_EQ(Part<QSpinBox>(document, "CropWidth")->value(), 100);
  Drag(document, {300, 250}, {200, 150});
  EXPECT_EQ(Chosen(document), (PixelRect{200, 150, 100, 100}));
  // Past the photo's edge the rectangle stops at it.
  Drag(document, {350, 100}, {600, 50});
  EXPECT_EQ(Chosen(document), (PixelRect{350, 50, 51, 50}));

  CtrlWheel(document, {100, 100}, 10 * 120);
  ASSERT_EQ(document->Zoom(), 200);
  document->hscScroll()->setValue(30);
  document->vscScroll()->setValue(20);
  EXPECT_EQ(document->Crop()->ShownRect(), QRect(700, 100, 102, 100));
  Drag(document, {40, 80}, {140, 180});
  EXPECT_EQ(Chosen(document), (PixelRect{35, 50, 50, 50}));

  const QSize room = Room(*window);
  frmImage* wide = StartCrop(Open(QStringLiteral("b.bmp"), 2 * room.width(), 402));
  ASSERT_EQ(wide->Zoom(), 50);
  Drag(wide, {70, 110}, {20, 60});
  EXPECT_EQ(Chosen(wide), (PixelRect{40, 120, 100, 100}));
  QTest::mouseClick(Part<QToolButton>(wide, "TailleNormale"), Qt::LeftButton);
  EXPECT_EQ(wide->Crop()->Overlay()->size(), wide->Image1()->size());
  EXPECT_EQ(wide->Crop()->ShownRect(), QRect(40, 120, 100, 100));
}

// Collects the region a widget is asked to paint.
struct Painted : QObject {
  QRegion region;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) region += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
};

// Outside the rectangle the photo shows at half its brightness, inside as it is; a step of a drag
// repaints the strips it changes, not the whole photo under the dimming.
TEST_F(CropMode, TheOutsideIsDimmedAndAStepRepaintsOnlyWhatChanges) {
  frmImage* document = StartCrop(Open(QStringLiteral("a.bmp"), 401, 301));
  const QImage original = Upright(document->Document().Picture());
  Drag(document, {40, 60}, {360, 280});
  QCoreApplication::processEvents();
  const QImage seen = document->picScrollBox()->grab().toImage();
  for (const QPoint out : {QPoint(20, 100), QPoint(380, 290)}) {
    EXPECT_NEAR(qRed(seen.pixel(out)), qRed(original.pixel(out)) / 2, 2) << out.x();
    EXPECT_NEAR(qBlue(seen.pixel(out)), qBlue(original.pixel(out)) / 2, 2) << out.x();
  }
  for (const QPoint inside : {QPoint(100, 100), QPoint(300, 250)}) {
    EXPECT_EQ(seen.pixel(inside), original.pixel(inside)) << inside.x();
  }

  Painted painted;
  document->Image1()->installEventFilter(&painted);
  Drag(document, {200, 170}, {203, 172});
  QCoreApplication::processEvents();
  ASSERT_EQ(Chosen(document), (PixelRect{43, 62, 320, 220}));
  long long area = 0;
  for (const QRect& r : painted.region) area += static_cast<long long>(r.width()) * r.height();
  EXPECT_GT(area, 0);
  EXPECT_LT(area, 401 * 301 / 3);
}

// Inside, the rectangle moves and stops at the photo's edges; on an edge or a corner it resizes,
// and the cursor says which.
TEST_F(CropMode, TheRectangleMovesAndResizesByItsEdgesAndCorners) {
  frmImage* document = StartCrop(Open(QStringLiteral("a.bmp"), 401, 301));
  Drag(document, {100, 80}, {200, 140});
  ASSERT_EQ(Chosen(document), (PixelRect{100, 80, 100, 60}));
  EXPECT_EQ(HoverCursor(document, {150, 110}), Qt::SizeAllCursor);
  EXPECT_EQ(HoverCursor(document, {200, 110}), Qt::SizeHorCursor);
  EXPECT_EQ(HoverCursor(document, {150, 78}), Qt::SizeVerCursor);
  EXPECT_EQ(HoverCursor(document, {202, 141}), Qt::SizeFDiagCursor);
  EXPECT_EQ(HoverCursor(document, {100, 140}), Qt::SizeBDiagCursor);
  EXPECT_EQ(HoverCursor(document, {300, 250}), Qt::CrossCursor);

  Drag(document, {150, 110}, {180, 130});
  EXPECT_EQ(Chosen(document), (PixelRect{130, 100, 100, 60}));
  Drag(document, {150, 110}, {650, 0});
  EXPECT_EQ(Chosen(document), (PixelRect{301, 0, 100, 60}));
  Drag(document, {350, 50}, {200, 110});
  EXPECT_EQ(Chosen(document), (PixelRect{151, 60, 100, 60}));
  Drag(document, {251, 120}, {271, 130});  // the bottom-right corner
  EXPECT_EQ(Chosen(document), (PixelRect{151, 60, 120, 70}));
  Drag(document, {152, 100}, {141, 100});  // the left edge
  EXPECT_EQ(Chosen(document), (PixelRect{140, 60, 131, 70}));
  Drag(document, {200, 130}, {200, 200});  // the bottom edge
  EXPECT_EQ(Chosen(document), (PixelRect{140, 60, 131, 140}));
}

// Each ratio is the largest centred rectangle, in the photo's orientation; the swap turns it; a
// drag and a typed size keep it; a photo changed under the mode gets it again.
TEST_F(CropMode, RatiosFollowThePhotosOrientationTheSwapADragAndATypedSize) {
  frmImage* landscape = StartCrop(Open(QStringLiteral("a.bmp"), 401, 301));
  Pick(landscape, QStringLiteral("4"));
  EXPECT_EQ(Chosen(landscape), (PixelRect{0, 0, 401, 300}));
  Pick(landscape, QStringLiteral("10"));
  EXPECT_EQ(Part<QComboBox>(landscape, "CropPresets")->currentText(), QStringLiteral("10 × 15"));
  EXPECT_EQ(Chosen(landscape), (PixelRect{0, 17, 401, 267}));
  QTest::mouseClick(Part<QToolButton>(landscape, "CropSwap"), Qt::LeftButton);
  EXPECT_EQ(Chosen(landscape), (PixelRect{100, 0, 200, 301}));
  // A drag 60 wide and 10 high at 2:3 is 60 x 90.
  Drag(landscape, {20, 100}, {80, 110});
  EXPECT_EQ(Chosen(landscape), (PixelRect{20, 100, 60, 90}));
  Drag(landscape, {80, 145}, {100, 145});  // the right edge: the height follows about its middle
  EXPECT_EQ(Chosen(landscape), (PixelRect{20, 85, 80, 120}));
  // A width typed at 3:2 sets the height, about the same centre; a height too tall for the photo
  // is brought back inside it, ratio kept. Enter in a field takes the number and crops nothing.
  Pick(landscape, QStringLiteral("3"));
  ASSERT_EQ(Chosen(landscape), (PixelRect{0, 17, 401, 267}));
  Type(landscape, "CropWidth", 300);
  EXPECT_EQ(Chosen(landscape), (PixelRect{50, 50, 300, 200}));
  EXPECT_EQ(Part<QSpinBox>(landscape, "CropHeight")->value(), 200);
  Type(landscape, "CropHeight", 280);
  EXPECT_EQ(Chosen(landscape), (PixelRect{0, 16, 401, 267}));
  EXPECT_TRUE(landscape->Crop()->Active() && landscape->Document().ImageWidth() == 401);
  // Turned under the mode, the photo is portrait: 4:3 becomes 3:4.
  Pick(landscape, QStringLiteral("4"));
  Click(commands::kDroite);
  EXPECT_EQ(Chosen(landscape), (PixelRect{0, 0, 300, 401}));
  EXPECT_EQ(landscape->Crop()->Ratio(), (PixelSize{3, 4}));

  frmImage* portrait = StartCrop(Open(QStringLiteral("b.bmp"), 201, 301));
  Pick(portrait, QStringLiteral("16"));
  EXPECT_EQ(Chosen(portrait), (PixelRect{16, 0, 169, 301}));
  Pick(portrait, QStringLiteral("1:"));
  EXPECT_EQ(Chosen(portrait), (PixelRect{0, 50, 201, 201}));
  Pick(portrait, QStringLiteral("P"));
  EXPECT_EQ(Chosen(portrait), (PixelRect{0, 0, 201, 301}));
}

// Enter and a double click crop to the rectangle, one undo step each, and the view shows the
// new photo; undo gives the original back; Escape and "Annuler" leave the photo as it was.
TEST_F(CropMode, EnterCropsUndoGivesItBackEscapeLeavesItAlone) {
  frmImage* document = StartCrop(Open(QStringLiteral("a.bmp"), 401, 301));
  const QImage original = Upright(document->Document().Picture());
  const QString caption = Caption(document);
  Drag(document, {50, 60}, {171, 141});
  // A crop the memory cannot hold is told, and the rectangle is offered again.
  document->Document().SetAvailableMemoryProbe([] { return std::uint64_t{1}; });
  ui.Answer(MessageAnswer::Ok);
  QTest::keyClick(document->Crop()->Overlay(), Qt::Key_Return);
  ExpectMessage(0, QStringLiteral("Mémoire insuffisante : la photo n'a pas été modifiée."),
                MessageIcon::Exclamation);
  EXPECT_TRUE(document->Crop()->Active() && !document->Crop()->Strip()->isHidden());
  EXPECT_EQ(Chosen(document), (PixelRect{50, 60, 121, 81}));
  document->Document().SetAvailableMemoryProbe({});
  QTest::keyClick(document->Crop()->Overlay(), Qt::Key_Return);
  EXPECT_FALSE(document->Crop()->Active());
  EXPECT_TRUE(document->Crop()->Overlay()->isHidden() && document->Crop()->Strip()->isHidden());
  EXPECT_EQ(Upright(document->Document().Picture()), original.copy(50, 60, 121, 81));
  EXPECT_EQ(document->picImage(), original.copy(50, 60, 121, 81));
  EXPECT_EQ(document->Image1()->size(), QSize(121, 81));
  EXPECT_EQ(Caption(document), caption + QStringLiteral(" modifiée"));
  EXPECT_EQ(document->Document().UndoCount(), 1);

  StartCrop(document);
  Drag(document, {40, 50}, {60, 70});
  QTest::mouseDClick(document->Crop()->Overlay(), Qt::LeftButton, {},
                     OnOverlay(document, {50, 60}));
  EXPECT_EQ(Upright(document->Document().Picture()), original.copy(90, 110, 20, 20));
  EXPECT_EQ(document->Document().UndoCount(), 2);

  Trigger(commands::kAnnuler);
  Trigger(commands::kAnnuler);
  EXPECT_EQ(Upright(document->Document().Picture()), original);

  for (const bool escape : {true, false}) {
    StartCrop(document);
    Drag(document, {50, 60}, {150, 160});
    if (escape) {
      QTest::keyClick(document->Crop()->Overlay(), Qt::Key_Escape);
    } else {
      QTest::mouseClick(Part<QPushButton>(document, "CropCancel"), Qt::LeftButton);
    }
    EXPECT_FALSE(document->Crop()->Active());
    EXPECT_EQ(Upright(document->Document().Picture()), original);
    EXPECT_EQ(document->Document().UndoCount(), 0);
    EXPECT_EQ(Status(), QStringLiteral(" "));
  }
}

// "Recadrer…" sits after "Retailler la photo" in the Edition menu with Ctrl+Shift+X, taken by no
// other command; without a photo it says so; it toggles the mode, which the zoom tool ends.
TEST_F(CropMode, TheEditionMenuOffersItAndTheZoomToolEndsIt) {
  auto* action = window->findChild<QAction*>(QString::fromLatin1(commands::kRecadrer));
  ASSERT_NE(action, nullptr);
  EXPECT_EQ(action->text(), QStringLiteral("Re&cadrer…"));
  const QKeySequence keys(Qt::CTRL | Qt::SHIFT | Qt::Key_X);
  EXPECT_EQ(action->shortcut(), keys);
  for (const QAction* other : window->findChildren<QAction*>()) {
    EXPECT_TRUE(other == action || !other->shortcuts().contains(keys)) << other->objectName();
  }
  const QList<QAction*> edition =
      window->findChild<QMenu*>(QStringLiteral("mnuEditTOP"))->actions();
  const auto retailler =
      edition.indexOf(window->findChild<QAction*>(QString::fromLatin1(commands::kRetailler)));
  ASSERT_GE(retailler, 0);
  EXPECT_EQ(edition.value(retailler + 1), action);

  ui.Answer(MessageAnswer::Ok);
  action->trigger();
  ExpectMessage(0, Messages::kSelectionnezPhoto, MessageIcon::Information);

  frmImage* document = Open(QStringLiteral("a.bmp"), 401, 301);
  QTest::mouseClick(Part<QToolButton>(document, "ZoomBT"), Qt::LeftButton);
  action->trigger();
  EXPECT_TRUE(document->Crop()->Active());
  EXPECT_EQ(document->MousePointer(), frmImage::kPointerNormal);
  action->trigger();
  EXPECT_FALSE(document->Crop()->Active());
  action->trigger();
  QTest::mouseClick(Part<QToolButton>(document, "ZoomBT"), Qt::LeftButton);
  EXPECT_FALSE(document->Crop()->Active());
  EXPECT_TRUE(document->Crop()->Overlay()->isHidden());
}

}  // namespace
}  // namespace fotavel::testing
