// Red eyes as a document command: one undo step per eye, none for a click beside it, refusals.
#include <cstdint>

#include "DocumentFixture.h"
#include "document/DocumentError.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

// Skin with two red pupils of radius 3, at (10, 10) and (30, 12) from the top-left.
cDIBSection TwoEyes() {
  cDIBSection face = UniformSurface(41, 25, 150, 170, 220);
  for (const auto& [cx, cy] : {std::pair(10, 10), std::pair(30, 12)}) {
    for (std::int32_t y = cy - 3; y <= cy + 3; ++y) {
      for (std::int32_t x = cx - 3; x <= cx + 3; ++x) {
        if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= 9) SetPixelRGB(face, x, 24 - y, 0xC82D28);
      }
    }
  }
  return face;
}

TEST_F(DocumentTest, RedEyesAreOneUndoStepPerEyeAndAMissIsNone) {
  const QString path = OpenPicture(TwoEyes());
  const cDIBSection photo = Copy(document.Picture());
  // Beside both eyes: nothing found, nothing stored, nothing marked.
  EXPECT_FALSE(document.YeuxRouges(20, 20, 4));
  EXPECT_TRUE(SamePixels(document.Picture(), photo));
  EXPECT_FALSE(document.CanUndo());
  EXPECT_FALSE(document.Dirty());
  EXPECT_EQ(document.Caption(), u"Photo: "_s + path);

  ASSERT_TRUE(document.YeuxRouges(11, 9, 6));
  const cDIBSection oneEye = Copy(document.Picture());
  ASSERT_TRUE(document.YeuxRouges(30, 12, 6));
  cDIBSection expected = Copy(photo);
  cImageProcessDIB engine;
  EXPECT_EQ(engine.RedEyes(expected, 11, 9, 6), 29);
  EXPECT_TRUE(SamePixels(oneEye, expected));
  EXPECT_EQ(engine.RedEyes(expected, 30, 12, 6), 29);
  EXPECT_TRUE(SamePixels(document.Picture(), expected));
  EXPECT_EQ(document.Caption(), u"Photo: "_s + path + u" modifiée"_s);
  EXPECT_EQ(document.UndoCount(), 2);
  document.Annuler();
  EXPECT_TRUE(SamePixels(document.Picture(), oneEye));
  document.Annuler();
  EXPECT_TRUE(SamePixels(document.Picture(), photo));

  for (const auto& [x, y, radius] :
       {std::tuple(41, 0, 5), std::tuple(0, -1, 5), std::tuple(0, 25, 5), std::tuple(10, 10, 0)}) {
    try {
      document.YeuxRouges(x, y, radius);
      ADD_FAILURE() << "not refused: " << x << "," << y << "," << radius;
    } catch (const DocumentError& error) {
      EXPECT_TRUE(error.text().endsWith(
          u"le point doit être dans la photo de 41 x 25 pixels, et le rayon d'au moins 1 pixel."_s))
          << error.text().toStdString();
    }
  }
  EXPECT_TRUE(SamePixels(document.Picture(), photo));
  EXPECT_EQ(document.UndoCount(), 0);
}

}  // namespace
}  // namespace fotavel::testing
