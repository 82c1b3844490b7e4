// Red eyes as a document command: one undo step per eye, none for a click beside it, refusals.
#include <cstdint>

#include "DocumentFixture.h"
#include "document/DocumentError.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

TEST_F(DocumentTest, RedEyesAreOneUndoStepPerEyeAndAMissIsNone) {
  // Skin with a red pupil of radius 3 at (10, 10) from the top-left.
  cDIBSection face = UniformSurface(41, 25, 150, 170, 220);
  for (std::int32_t y = 7; y <= 13; ++y) {
    for (std::int32_t x = 7; x <= 13; ++x) {
      if ((x - 10) * (x - 10) + (y - 10) * (y - 10) <= 9) SetPixelRGB(face, x, 24 - y, 0xC82D28);
    }
  }
  const QString path = OpenPicture(face);
  // Beside the eye: nothing found, nothing stored, nothing marked.
  EXPECT_FALSE(document.YeuxRouges(30, 20, 4));
  EXPECT_TRUE(SamePixels(document.Picture(), face));
  EXPECT_FALSE(document.CanUndo());
  EXPECT_EQ(document.Caption(), u"Photo: "_s + path);

  ASSERT_TRUE(document.YeuxRouges(11, 9, 6));
  cDIBSection expected = Copy(face);
  EXPECT_EQ(cImageProcessDIB().RedEyes(expected, 11, 9, 6), 29);
  EXPECT_TRUE(SamePixels(document.Picture(), expected));
  EXPECT_EQ(document.Caption(), u"Photo: "_s + path + u" modifiée"_s);
  EXPECT_EQ(document.UndoCount(), 1);
  document.Annuler();
  EXPECT_TRUE(SamePixels(document.Picture(), face));

  try {
    document.YeuxRouges(41, 0, 5);
    ADD_FAILURE() << "a point past the right edge was taken";
  } catch (const DocumentError& error) {
    EXPECT_EQ(error.text(),
              u"Impossible de corriger les yeux rouges en (41, 0) sur un rayon de 5 "
              u"pixels : le point doit être dans la photo de 41 x 25 pixels, et le "
              u"rayon d'au moins 1 pixel."_s);
  }
  EXPECT_THROW(document.YeuxRouges(10, 10, 0), DocumentError);
  EXPECT_TRUE(SamePixels(document.Picture(), face));
  EXPECT_EQ(document.UndoCount(), 0);
}

}  // namespace
}  // namespace fotavel::testing
