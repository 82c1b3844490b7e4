// The document's adjustment and automatic improvement: one undo step each, none when nothing
// changes, settings out of range refused.
#include <gtest/gtest.h>

#include "document/DocumentError.h"
#include "document/DocumentFixture.h"

namespace fotavel::testing {
namespace {

TEST_F(DocumentTest, AdjustmentIsOneUndoStepAndNeutralIsNone) {
  OpenRandom(33, 17);
  const cDIBSection before = Copy(document.Picture());
  document.Regler({});
  EXPECT_EQ(document.UndoCount(), 0);
  EXPECT_THROW(document.Regler({0, 101, 0, 0}), DocumentError);
  cDIBSection expected = Copy(before);
  cImageProcessDIB().Adjust(expected, {25, -10, 40, 60});
  document.Regler({25, -10, 40, 60});
  EXPECT_EQ(document.UndoCount(), 1);
  EXPECT_EQ(FirstDifference(document.Picture(), expected), "");
  document.Annuler();
  EXPECT_EQ(FirstDifference(document.Picture(), before), "");
}

// Random bytes span 0 … 255 in colour: nothing to improve. A grey 40 … 160 comes out grey, 0 … 255.
TEST_F(DocumentTest, AutomaticImprovementOnlyWhenThereIsSomethingToImprove) {
  OpenRandom(40, 30);
  EXPECT_FALSE(document.AmeliorationAuto());
  EXPECT_EQ(document.UndoCount(), 0);
  cDIBSection grey = UniformSurface(121, 1, 0, 0, 0);
  for (std::int32_t x = 0; x < 121; ++x) SetPixelRGB(grey, x, 0, std::uint32_t(40 + x) * 0x010101u);
  OpenPicture(grey);
  EXPECT_TRUE(document.AmeliorationAuto());
  EXPECT_EQ(document.UndoCount(), 1);
  for (std::int32_t x = 0; x < 121; ++x) {
    const std::uint32_t rgb = PixelRGB(document.Picture(), x, 0);
    ASSERT_EQ(rgb, (rgb & 0xFF) * 0x010101u) << x;
  }
  EXPECT_EQ(PixelRGB(document.Picture(), 0, 0), 0x000000u);
  EXPECT_EQ(PixelRGB(document.Picture(), 120, 0), 0xFFFFFFu);
}

}  // namespace
}  // namespace fotavel::testing
