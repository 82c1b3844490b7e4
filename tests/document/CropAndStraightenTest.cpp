// Cropping and straightening as document commands: undo steps, caption, size text, refusals.
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>

#include "DocumentFixture.h"
#include "document/DocumentError.h"
#include "effects/CropGeometry.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

// A surface's bytes, rows padded to four bytes, written plainly.
std::uint64_t Bytes(std::uint64_t width, std::uint64_t height) {
  return (3 * width + 3) / 4 * 4 * height;
}

// The pixel at column x of the row `y` from the top, as the user sees it.
std::uint32_t Shown(const cDIBSection& s, std::int32_t x, std::int32_t y) {
  return PixelRGB(s, x, s.height() - 1 - y);
}

class CropAndStraightenTest : public DocumentTest {
 protected:
  // `command` throws DocumentError and leaves everything as it was.
  void ExpectNothingChanged(const std::function<void()>& command, const char* what) {
    const cDIBSection before = Copy(document.Picture());
    const QString caption = document.Caption();
    const QString size = observer.size;
    const int undo = document.UndoCount();
    const bool dirty = document.Dirty();
    EXPECT_THROW(command(), DocumentError) << what;
    EXPECT_TRUE(SamePixels(document.Picture(), before)) << what;
    EXPECT_EQ(document.Caption(), caption) << what;
    EXPECT_EQ(observer.size, size) << what;
    EXPECT_EQ(document.UndoCount(), undo) << what;
    EXPECT_EQ(document.Dirty(), dirty) << what;
  }
  // The undo gives back `before` and its size text, the redo `after` and its own.
  void ExpectOneUndoStep(const cDIBSection& before, const cDIBSection& after) {
    EXPECT_EQ(document.UndoCount(), 1);
    document.Annuler();
    EXPECT_TRUE(SamePixels(document.Picture(), before))
        << FirstDifference(document.Picture(), before);
    EXPECT_TRUE(observer.size.startsWith(u"%1 x %2 - "_s.arg(before.width()).arg(before.height())))
        << observer.size.toStdString();
    EXPECT_FALSE(document.CanUndo());
    document.Retablir();
    EXPECT_TRUE(SamePixels(document.Picture(), after));
    EXPECT_TRUE(observer.size.startsWith(u"%1 x %2 - "_s.arg(after.width()).arg(after.height())));
  }
  void ExpectStraightened(double degrees, bool white) {
    const QString path = OpenRandom(40, 30);
    const cDIBSection photo = Copy(document.Picture());
    document.Redresser(degrees, white);
    const PixelSize size = StraightenedSize(40, 30, degrees, white);
    const cDIBSection turned = Copy(document.Picture());
    ASSERT_EQ(std::pair(turned.width(), turned.height()), std::pair(size.width, size.height));
    cDIBSection expected = Copy(photo);
    cImageProcessDIB().Straighten(expected, degrees, white);
    EXPECT_TRUE(SamePixels(turned, expected)) << FirstDifference(turned, expected);
    EXPECT_EQ(Shown(turned, 0, 0) == 0xFFFFFFu, white);
    EXPECT_EQ(document.Caption(), u"Photo: "_s + path + u" modifiée"_s);
    EXPECT_TRUE(document.Dirty());
    EXPECT_EQ(observer.size, u"%1 x %2 - %3Ko"_s.arg(size.width)
                                 .arg(size.height)
                                 .arg(std::lround(size.width * size.height * 3 / 1000.0)));
    ExpectOneUndoStep(photo, turned);
  }
};

// Columns 3 … 11 and rows 2 … 8 from the top of a 17 x 13 photo.
TEST_F(CropAndStraightenTest, CropKeepsTheRectangleAsOneUndoStep) {
  const QString path = OpenRandom(17, 13);
  const cDIBSection photo = Copy(document.Picture());
  document.Recadrer({3, 2, 9, 7});
  const cDIBSection cropped = Copy(document.Picture());
  ASSERT_EQ(std::pair(cropped.width(), cropped.height()), std::pair(9, 7));
  EXPECT_EQ(Shown(cropped, 0, 0), Shown(photo, 3, 2));
  EXPECT_EQ(Shown(cropped, 8, 6), Shown(photo, 11, 8));
  EXPECT_EQ(document.Caption(), u"Photo: "_s + path + u" modifiée"_s);
  EXPECT_TRUE(document.Dirty());
  EXPECT_EQ(observer.size, u"9 x 7 - 0Ko"_s);
  ExpectOneUndoStep(photo, cropped);
}

// The document hands the engine the angle and the corners as asked: its result is the engine's
// own, of the size StraightenedSize gives, and white corners are white.
TEST_F(CropAndStraightenTest, StraighteningIsTheEnginesTurnAsOneUndoStep) {
  ExpectStraightened(3.5, false);
}

TEST_F(CropAndStraightenTest, StraighteningOnWhiteIsTheEnginesTurnAsOneUndoStep) {
  ExpectStraightened(-10, true);
}

TEST_F(CropAndStraightenTest, ARefusedCropOrAngleChangesNothing) {
  OpenRandom(17, 13);
  const PixelRect outside[] = {
      {0, 0, 18, 13}, {0, 0, 17, 14}, {-1, 0, 5, 5},
      {0, -1, 5, 5},  {16, 12, 2, 1}, {3, 3, 0, 4},
      {3, 3, 4, 0},   {5, 5, -2, 3},  {std::numeric_limits<std::int32_t>::max(), 0, 1, 1}};
  for (const PixelRect& rect : outside) {
    ExpectNothingChanged([&] { document.Recadrer(rect); }, "crop");
  }
  const double inf = std::numeric_limits<double>::infinity();
  for (const double degrees : {45.001, -45.001, 90.0, inf, -inf, std::nan("")}) {
    ExpectNothingChanged([&] { document.Redresser(degrees); }, "angle");
    ExpectNothingChanged([&] { document.Redresser(degrees, true); }, "angle, white corners");
  }
  // No angle at all: nothing to undo, nothing marked, no redraw.
  for (const bool white : {false, true}) {
    const cDIBSection photo = Copy(document.Picture());
    document.Redresser(0, white);
    EXPECT_TRUE(SamePixels(document.Picture(), photo));
    EXPECT_FALSE(document.CanUndo());
    EXPECT_FALSE(document.Dirty());
  }
  // The limits themselves are allowed.
  document.Redresser(45, true);
  document.Redresser(-45);
  EXPECT_EQ(document.UndoCount(), 2);
}

// The new photo and its scratch surface are made beside the photo, its scratch surface and its
// undo copy: without the memory for all three new ones, nothing is had or changed.
TEST_F(CropAndStraightenTest, AStraighteningThatDoesNotFitIsRefusedBeforeAnythingIsHad) {
  OpenRandom(300, 200);
  for (const bool white : {true, false}) {
    SCOPED_TRACE(white);
    const PixelSize size = StraightenedSize(300, 200, 30, white);
    const std::uint64_t needed = 2 * Bytes(size.width, size.height) + Bytes(300, 200);
    document.SetAvailableMemoryProbe([needed] { return needed - 1; });
    const std::size_t live = LiveSurfaceBytes();
    ExpectNothingChanged([&] { document.Redresser(30, white); }, "memory");
    EXPECT_EQ(LiveSurfaceBytes(), live);
    try {
      document.Redresser(30, white);
      ADD_FAILURE() << "turned without the memory";
    } catch (const DocumentError& error) {
      EXPECT_EQ(error.number(), DocumentErrors::kOutOfMemory);
      EXPECT_EQ(error.text(),
                u"Mémoire insuffisante pour une photo de %1 x %2 pixels : la photo "
                u"n'a pas été modifiée."_s.arg(size.width)
                    .arg(size.height));
    }
    document.SetAvailableMemoryProbe([needed] { return needed; });
    ASSERT_NO_THROW(document.Redresser(30, white));
    EXPECT_EQ(document.ImageWidth(), size.width);
    document.Annuler();
  }
}

}  // namespace
}  // namespace fotavel::testing
