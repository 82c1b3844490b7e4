// The crop mode on real widgets: drags at several zooms and scrolls, moves and resizes, ratios,
// typed sizes, cropping, undo and leaving.
#include <QApplication>
#include <QComboBox>
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

// A viewport point as the overlay takes it; with no button held the overlay must be what is there.
QPoint OnOverlay(frmImage* document, QPoint at, bool held = false) {
  QWidget* overlay = document->Crop()->Overlay();
  if (!held) {
    EXPECT_EQ(document->picScrollBox()->childAt(at), overlay) << at.x() << "," << at.y();
  }
  return overlay->mapFrom(document->picScrollBox(), at);
}

// A left-button drag across the viewport, by way of the middle.
void Drag(frmImage* document, QPoint from, QPoint to) {
  QWidget* overlay = document->Crop()->Overlay();
  QTest::mousePress(overlay, Qt::LeftButton, {}, OnOverlay(document, from));
  QTest::mouseMove(overlay, OnOverlay(document, (from + to) / 2, true));
  QTest::mouseMove(overlay, OnOverlay(document, to, true));
  QTest::mouseRelease(overlay, Qt::LeftButton, {}, OnOverlay(document, to, true));
}

Qt::CursorShape HoverCursor(frmImage* document, QPoint at) {
  QTest::mouseMove(document->Crop()->Overlay(), OnOverlay(document, at));
  return document->Crop()->Overlay()->cursor().shape();
}

// Types into the strip's list, as a user picks an entry by its first characters.
void Pick(frmImage* document, const QString& start) {
  QTest::keyClicks(Child<QComboBox>(document, "CropPresets"), start);
  QTest::qWait(QApplication::keyboardInputInterval() + 10);
}

void Type(frmImage* document, const char* field, int value) {
  auto* spin = Child<QSpinBox>(document, field);
  spin->setFocus();
  spin->selectAll();
  QTest::keyClicks(spin, QString::number(value));
  QTest::keyClick(spin, Qt::Key_Return);
}

PixelRect Chosen(frmImage* document) { return document->Crop()->Rect().value_or(PixelRect{}); }

frmImage* StartCrop(frmImage* document) {
  QTest::mouseClick(Child<QToolButton>(document, "RecadrerBT"), Qt::LeftButton);
  EXPECT_TRUE(document->Crop() != nullptr && document->Crop()->Active());
  return document;
}

// A drag takes the same photo pixels at every zoom and scroll, either way round, up to the edges;
// inside it moves the rectangle, on an edge or a corner resizes it, as the cursor says.
TEST_F(CropMode, DragsTakePhotoPixelsAtEveryZoomAndScrollAndMoveOrResize) {
  frmImage* document = StartCrop(Open(QStringLiteral("a.bmp"), 401, 301));
  ASSERT_EQ(document->Zoom(), 100);
  Drag(document, {50, 60}, {150, 160});
  EXPECT_EQ(Chosen(document), (PixelRect{50, 60, 100, 100}));
  EXPECT_EQ(Status(), QStringLiteral(" Recadrage : 100 x 100 pixels"));
  Drag(document, {300, 250}, {200, 150});
  EXPECT_EQ(Chosen(document), (PixelRect{200, 150, 100, 100}));
  Drag(document, {350, 100}, {600, 50});
  EXPECT_EQ(Chosen(document), (PixelRect{350, 50, 51, 50}));

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
  Drag(document, {231, 161}, {251, 171});  // the bottom-right corner
  EXPECT_EQ(Chosen(document), (PixelRect{130, 100, 120, 70}));
  Drag(document, {131, 130}, {120, 130});  // the left edge
  EXPECT_EQ(Chosen(document), (PixelRect{119, 100, 131, 70}));
  Drag(document, {200, 170}, {200, 240});  // the bottom edge
  EXPECT_EQ(Chosen(document), (PixelRect{119, 100, 131, 140}));
  Drag(document, {180, 150}, {680, 0});  // moved, it stops at the edges
  EXPECT_EQ(Chosen(document), (PixelRect{270, 0, 131, 140}));

  // Sent as the platform sends it, the wheel climbs from the photo to the viewport that zooms.
  const QPoint at = document->Image1()->mapFrom(document->picScrollBox(), QPoint(100, 100));
  QWheelEvent wheel(at, document->Image1()->mapToGlobal(at), QPoint(), QPoint(0, 1200),
                    Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
  QSpontaneKeyEvent::setSpontaneous(&wheel);
  qApp->notify(document->Image1(), &wheel);
  ASSERT_EQ(document->Zoom(), 200);
  document->hscScroll()->setValue(30);
  document->vscScroll()->setValue(20);
  EXPECT_EQ(document->Crop()->ShownRect(), QRect(540, 0, 262, 280));
  Drag(document, {40, 80}, {140, 180});
  EXPECT_EQ(Chosen(document), (PixelRect{35, 50, 50, 50}));

  frmImage* wide = StartCrop(Open(QStringLiteral("b.bmp"), 2 * Room(*window).width(), 402));
  ASSERT_EQ(wide->Zoom(), 50);
  Drag(wide, {70, 110}, {20, 60});
  EXPECT_EQ(Chosen(wide), (PixelRect{40, 120, 100, 100}));
  QTest::mouseClick(Child<QToolButton>(wide, "TailleNormale"), Qt::LeftButton);
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

// Each ratio is the largest centred rectangle in the photo's orientation; the swap turns it; a
// drag and a typed size keep it; a photo turned under the mode gets it again.
TEST_F(CropMode, RatiosFollowThePhotosOrientationTheSwapADragAndATypedSize) {
  frmImage* landscape = StartCrop(Open(QStringLiteral("a.bmp"), 401, 301));
  Pick(landscape, QStringLiteral("4"));
  EXPECT_EQ(Chosen(landscape), (PixelRect{0, 0, 401, 300}));
  Pick(landscape, QStringLiteral("10"));
  EXPECT_EQ(Child<QComboBox>(landscape, "CropPresets")->currentText(), QStringLiteral("10 × 15"));
  EXPECT_EQ(Chosen(landscape), (PixelRect{0, 17, 401, 267}));
  QTest::mouseClick(Child<QToolButton>(landscape, "CropSwap"), Qt::LeftButton);
  EXPECT_EQ(Chosen(landscape), (PixelRect{100, 0, 200, 301}));
  Drag(landscape, {20, 100}, {80, 110});  // 60 wide and 10 high at 2:3 is 60 x 90
  EXPECT_EQ(Chosen(landscape), (PixelRect{20, 100, 60, 90}));
  Drag(landscape, {80, 145}, {100, 145});  // the right edge: the height follows about its middle
  EXPECT_EQ(Chosen(landscape), (PixelRect{20, 85, 80, 120}));
  // A typed side sets the other about the same centre, brought back inside the photo; Enter in a
  // field crops nothing.
  Pick(landscape, QStringLiteral("3"));
  Type(landscape, "CropWidth", 300);
  EXPECT_EQ(Chosen(landscape), (PixelRect{50, 50, 300, 200}));
  EXPECT_EQ(Child<QSpinBox>(landscape, "CropHeight")->value(), 200);
  Type(landscape, "CropHeight", 280);
  EXPECT_EQ(Chosen(landscape), (PixelRect{0, 16, 401, 267}));
  EXPECT_TRUE(landscape->Crop()->Active() && landscape->Document().ImageWidth() == 401);
  Pick(landscape, QStringLiteral("4"));
  Click(commands::kDroite);
  EXPECT_EQ(Chosen(landscape), (PixelRect{0, 0, 300, 401}));

  frmImage* portrait = StartCrop(Open(QStringLiteral("b.bmp"), 201, 301));
  Pick(portrait, QStringLiteral("16"));
  EXPECT_EQ(Chosen(portrait), (PixelRect{16, 0, 169, 301}));
  Pick(portrait, QStringLiteral("1:"));
  EXPECT_EQ(Chosen(portrait), (PixelRect{0, 50, 201, 201}));
  Pick(portrait, QStringLiteral("P"));
  EXPECT_EQ(Chosen(portrait), (PixelRect{0, 0, 201, 301}));
}

// Outside the rectangle the photo shows at half brightness, and a step of a drag repaints only
// what it changes. Enter and a double click crop, one undo step each, and the view shows the new
// photo; a crop the memory cannot hold is told and offered again; Escape and "Annuler" leave it.
TEST_F(CropMode, TheOutsideIsDimmedEnterCropsUndoGivesItBackEscapeLeavesItAlone) {
  frmImage* document = StartCrop(Open(QStringLiteral("a.bmp"), 401, 301));
  const QImage original = Upright(document->Document().Picture());
  Drag(document, {40, 60}, {360, 280});
  QCoreApplication::processEvents();
  const QImage seen = document->picScrollBox()->grab().toImage();
  EXPECT_NEAR(qRed(seen.pixel(20, 100)), qRed(original.pixel(20, 100)) / 2, 2);
  EXPECT_NEAR(qBlue(seen.pixel(380, 290)), qBlue(original.pixel(380, 290)) / 2, 2);
  EXPECT_EQ(seen.pixel(300, 250), original.pixel(300, 250));
  Painted painted;
  document->Image1()->installEventFilter(&painted);
  Drag(document, {200, 170}, {203, 172});
  QCoreApplication::processEvents();
  ASSERT_EQ(Chosen(document), (PixelRect{43, 62, 320, 220}));
  long long area = 0;
  for (const QRect& r : painted.region) area += static_cast<long long>(r.width()) * r.height();
  EXPECT_GT(area, 0);
  EXPECT_LT(area, 401 * 301 / 3);

  document->Document().SetAvailableMemoryProbe([] { return std::uint64_t{1}; });
  ui.Answer(MessageAnswer::Ok);
  QTest::keyClick(document->Crop()->Overlay(), Qt::Key_Return);
  ExpectMessage(0, QStringLiteral("Mémoire insuffisante : la photo n'a pas été modifiée."),
                MessageIcon::Exclamation);
  EXPECT_TRUE(document->Crop()->Active() && !document->Crop()->Strip()->isHidden());
  EXPECT_EQ(Chosen(document), (PixelRect{43, 62, 320, 220}));
  document->Document().SetAvailableMemoryProbe({});
  QTest::keyClick(document->Crop()->Overlay(), Qt::Key_Return);
  EXPECT_TRUE(document->Crop()->Overlay()->isHidden() && document->Crop()->Strip()->isHidden());
  EXPECT_EQ(document->picImage(), original.copy(43, 62, 320, 220));
  EXPECT_EQ(document->Image1()->size(), QSize(320, 220));
  EXPECT_EQ(document->Document().UndoCount(), 1);

  StartCrop(document);
  Drag(document, {40, 50}, {60, 70});
  QTest::mouseDClick(document->Crop()->Overlay(), Qt::LeftButton, {},
                     OnOverlay(document, {50, 60}));
  EXPECT_EQ(document->picImage(), original.copy(83, 112, 20, 20));
  EXPECT_EQ(document->Document().UndoCount(), 2);
  Trigger(commands::kAnnuler);
  Trigger(commands::kAnnuler);
  EXPECT_EQ(document->picImage(), original);

  for (const bool escape : {true, false}) {
    StartCrop(document);
    Drag(document, {50, 60}, {150, 160});
    if (escape) {
      QTest::keyClick(document->Crop()->Overlay(), Qt::Key_Escape);
    } else {
      QTest::mouseClick(Child<QPushButton>(document, "CropCancel"), Qt::LeftButton);
    }
    EXPECT_FALSE(document->Crop()->Active());
    EXPECT_EQ(document->picImage(), original);
    EXPECT_EQ(document->Document().UndoCount(), 0);
    EXPECT_EQ(Status(), QStringLiteral(" "));
  }
}

}  // namespace
}  // namespace fotavel::testing
