// The document's adjustment and automatic improvement: one undo step each, nothing when nothing
// changes, settings out of range refused.
#include <gtest/gtest.h>

#include "document/DocumentError.h"
#include "document/DocumentFixture.h"
#include "effects/Adjustments.h"

namespace fotavel::testing {
namespace {

class AdjustmentsDocTest : public DocumentTest {};

TEST_F(AdjustmentsDocTest, AdjustmentIsOneUndoStepAndNeutralIsNone) {
  OpenRandom(33, 17);
  const cDIBSection before = Copy(document.Picture());
  document.Regler({});
  EXPECT_EQ(document.UndoCount(), 0);
  EXPECT_EQ(FirstDifference(document.Picture(), before), "");

  const AdjustSettings settings{25, -10, 40, 60};
  cDIBSection expected = Copy(before);
  cImageProcessDIB().Adjust(expected, settings);
  document.Regler(settings);
  EXPECT_EQ(document.UndoCount(), 1);
  EXPECT_EQ(FirstDifference(document.Picture(), expected), "");
  document.Annuler();
  EXPECT_EQ(FirstDifference(document.Picture(), before), "");

  try {
    document.Regler({0, 101, 0, 0});
    ADD_FAILURE() << "a contrast of 101 was taken";
  } catch (const DocumentError& error) {
    EXPECT_EQ(error.text(), "Impossible de régler la photo : chaque réglage va de -100 à 100.");
  }
  EXPECT_EQ(FirstDifference(document.Picture(), before), "");
}

TEST_F(AdjustmentsDocTest, AutomaticImprovementOnlyWhenThereIsSomethingToImprove) {
  OpenRandom(40, 30);  // random bytes span 0 … 255 and are colourful
  EXPECT_FALSE(document.AmeliorationAuto());
  EXPECT_EQ(document.UndoCount(), 0);

  // A grey photo of 40 … 160 comes out grey, stretched over the range.
  cDIBSection grey = UniformSurface(121, 3, 0, 0, 0);
  for (std::int32_t x = 0; x < 121; ++x) {
    for (std::int32_t y = 0; y < 3; ++y) SetPixelRGB(grey, x, y, std::uint32_t(40 + x) * 0x010101u);
  }
  OpenPicture(grey);
  EXPECT_TRUE(document.AmeliorationAuto());
  EXPECT_EQ(document.UndoCount(), 1);
  const cDIBSection& out = document.Picture();
  for (std::int32_t x = 0; x < 121; ++x) {
    const std::uint32_t rgb = PixelRGB(out, x, 1);
    ASSERT_EQ(rgb, (rgb & 0xFF) * 0x010101u) << x;
  }
  EXPECT_EQ(PixelRGB(out, 0, 0), 0x000000u);
  EXPECT_EQ(PixelRGB(out, 120, 0), 0xFFFFFFu);
  document.Annuler();
  EXPECT_EQ(FirstDifference(document.Picture(), grey), "");
}

}  // namespace
}  // namespace fotavel::testing
