// Lighten: hand values, the clamp, and bit-exactness against the scalar colour model on every
// colour.
#include <gtest/gtest.h>

#include <limits>

#include "effects/ColourReference.h"

namespace fotavel {
namespace {

using testing::AllColours;
using testing::EventRecorder;
using testing::ExpectSameAsReference;
using testing::PixelRGB;
using testing::UniformSurface;

std::uint32_t LightenOne(std::uint32_t rgb, std::int32_t percentage) {
  cDIBSection s = UniformSurface(1, 1, rgb & 0xFF, (rgb >> 8) & 0xFF, rgb >> 16);
  cImageProcessDIB engine;
  engine.Lighten(s, percentage);
  return PixelRGB(s, 0, 0);
}

TEST(Lighten, HandComputedValues) {
  // Lightness 0.294 → 0.353 at the same hue and saturation.
  EXPECT_EQ(LightenOne(0x643232, 20), 0x783C3Cu);
  EXPECT_EQ(LightenOne(0xFFFFFF, 20), 0xFFFFFFu);
  EXPECT_EQ(LightenOne(0x000000, 20), 0x000000u);
  // Lightness is capped at 1: a large percentage gives white.
  EXPECT_EQ(LightenOne(0x643232, 1000), 0xFFFFFFu);
  // Grey keeps s = 0: 128 × 1.5 / 255 → 192.
  EXPECT_EQ(LightenOne(0x808080, 50), 0xC0C0C0u);
  EXPECT_EQ(LightenOne(0x643232, 0), 0x643232u);
}

TEST(Lighten, MatchesTheColumnLoop) {
  for (std::int32_t percentage : {-100, -37, 0, 20, 100, 450}) {
    for (auto [w, h] : testing::kAwkwardSizes) {
      SCOPED_TRACE(::testing::Message() << w << 'x' << h << " percentage " << percentage);
      ExpectSameAsReference(
          testing::RandomSurface(w, h, 51 + percentage + w),
          [percentage](cImageProcessDIB& e, cDIBSection& s) { e.Lighten(s, percentage); },
          [percentage](cDIBSection& s, EventRecorder& r) {
            testing::ReferenceLighten(s, r, percentage);
          });
    }
  }
}

// The vector form of the colour model must round exactly where the scalar
// procedures do, for every colour: lighter, darker, and capped.
TEST(Lighten, EveryColourMatchesTheScalarModel) {
  for (std::int32_t percentage : {20, -37, 150}) {
    SCOPED_TRACE(percentage);
    ExpectSameAsReference(
        AllColours(),
        [percentage](cImageProcessDIB& e, cDIBSection& s) { e.Lighten(s, percentage); },
        [percentage](cDIBSection& s, EventRecorder& r) {
          testing::ReferenceLighten(s, r, percentage);
        },
        false);
  }
}

TEST(Lighten, PercentageBelowMinus100IsMinus100AndHugeOnesCapAtWhite) {
  const cDIBSection input = testing::RandomSurface(17, 13, 8);
  for (std::int32_t percentage : {-101, std::numeric_limits<std::int32_t>::min()}) {
    ExpectSameAsReference(
        input, [percentage](cImageProcessDIB& e, cDIBSection& s) { e.Lighten(s, percentage); },
        [](cDIBSection& s, EventRecorder& r) { testing::ReferenceLighten(s, r, -100); });
  }
  cImageProcessDIB engine;
  cDIBSection s = testing::Copy(input);
  engine.Lighten(s, -100);  // lightness 0: black
  EXPECT_TRUE(testing::SamePixels(s, UniformSurface(17, 13, 0, 0, 0)));
  s = testing::Copy(input);
  engine.Lighten(s, std::numeric_limits<std::int32_t>::max());  // lightness capped at 1
  EXPECT_TRUE(testing::SamePixels(s, UniformSurface(17, 13, 255, 255, 255)));
  EXPECT_TRUE(testing::PaddingIntact(s));
}

}  // namespace
}  // namespace fotavel
