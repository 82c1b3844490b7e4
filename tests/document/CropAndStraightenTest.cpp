// Cropping and straightening as document commands: sizes, one undo step each, refusals.
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

class CropAndStraightenTest : public DocumentTest {
 protected:
  // `command` throws DocumentError and leaves everything as it was (the caption follows Dirty).
  void ExpectNothingChanged(const std::function<void()>& command, const char* what) {
    const cDIBSection before = Copy(document.Picture());
    const QString size = observer.size;
    const int undo = document.UndoCount();
    const bool dirty = document.Dirty();
    EXPECT_THROW(command(), DocumentError) << what;
    EXPECT_TRUE(SamePixels(document.Picture(), before)) << what;
    EXPECT_EQ(observer.size, size) << what;
    EXPECT_EQ(document.UndoCount(), undo) << what;
    EXPECT_EQ(document.Dirty(), dirty) << what;
  }
  // Marked as changed, then one undo step gives back `before`, its redo `after`.
  void ExpectOneUndoStep(const QString& path, const cDIBSection& before, const cDIBSection& after) {
    EXPECT_EQ(document.Caption(), u"Photo: "_s + path + u" modifiée"_s);
    EXPECT_TRUE(document.Dirty());
    EXPECT_EQ(document.UndoCount(), 1);
    document.Annuler();
    EXPECT_TRUE(SamePixels(document.Picture(), before));
    EXPECT_FALSE(document.CanUndo());
    document.Retablir();
    EXPECT_TRUE(SamePixels(document.Picture(), after));
  }
};

// Columns 3 … 11 and rows 2 … 8 from the top of a 17 x 13 photo.
TEST_F(CropAndStraightenTest, CropKeepsTheRectangleAsOneUndoStep) {
  const QString path = OpenRandom(17, 13);
  const cDIBSection photo = Copy(document.Picture());
  document.Recadrer({3, 2, 9, 7});
  const cDIBSection cropped = Copy(document.Picture());
  ASSERT_EQ(std::pair(cropped.width(), cropped.height()), std::pair(9, 7));
  EXPECT_EQ(PixelRGB(cropped, 0, 6), PixelRGB(photo, 3, 10));
  EXPECT_EQ(observer.size, u"9 x 7 - 0Ko"_s);
  ExpectOneUndoStep(path, photo, cropped);
}

// The engine's own turn, so the angle's sign and the corners reach it as asked.
TEST_F(CropAndStraightenTest, StraighteningIsTheEnginesTurnAsOneUndoStep) {
  const QString path = OpenRandom(40, 30);
  const cDIBSection photo = Copy(document.Picture());
  for (const auto& [degrees, white] : {std::pair(3.5, false), std::pair(-10.0, true)}) {
    SCOPED_TRACE(degrees);
    document.Redresser(degrees, white);
    cDIBSection expected = Copy(photo);
    cImageProcessDIB().Straighten(expected, degrees, white);
    EXPECT_TRUE(SamePixels(document.Picture(), expected));
    ExpectOneUndoStep(path, photo, expected);
    document.Annuler();
  }
}

TEST_F(CropAndStraightenTest, ARefusedCropOrAngleChangesNothing) {
  OpenRandom(17, 13);
  for (const PixelRect& rect : {PixelRect{0, 0, 18, 13}, PixelRect{-1, 0, 5, 5}}) {
    ExpectNothingChanged([&] { document.Recadrer(rect); }, "crop");
  }
  const double inf = std::numeric_limits<double>::infinity();
  for (const double degrees : {45.001, -45.001, inf, std::nan("")}) {
    ExpectNothingChanged([&] { document.Redresser(degrees, degrees < 0); }, "angle");
  }
  // No angle at all: nothing to undo, nothing marked.
  document.Redresser(0, true);
  EXPECT_FALSE(document.CanUndo());
  EXPECT_FALSE(document.Dirty());
  // The limits themselves are allowed.
  document.Redresser(45, true);
  document.Redresser(-45);
  EXPECT_EQ(document.UndoCount(), 2);
}

// The new photo and its scratch surface are made beside the photo and its undo copy.
TEST_F(CropAndStraightenTest, AStraighteningThatDoesNotFitIsRefusedBeforeAnythingIsHad) {
  OpenRandom(300, 200);
  for (const bool white : {true, false}) {
    SCOPED_TRACE(white);
    const PixelSize size = StraightenedSize(300, 200, 30, white);
    // Rows padded to four bytes.
    const std::uint64_t needed = 2 * ((3 * size.width + 3) / 4 * 4 * size.height) + 900 * 200;
    document.SetAvailableMemoryProbe([needed] { return needed - 1; });
    const std::size_t live = LiveSurfaceBytes();
    ExpectNothingChanged([&] { document.Redresser(30, white); }, "memory");
    EXPECT_EQ(LiveSurfaceBytes(), live);
    document.SetAvailableMemoryProbe([needed] { return needed; });
    ASSERT_NO_THROW(document.Redresser(30, white));
    EXPECT_EQ(document.ImageWidth(), size.width);
    document.Annuler();
  }
}

}  // namespace
}  // namespace fotavel::testing
