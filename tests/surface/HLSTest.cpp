// mHLSRGB: the hue sextants by hand, and the round trip of every colour.
#include <gtest/gtest.h>

#include <array>

#include "surface/mHLSRGB.h"

namespace fotavel {
namespace {

using Rgb = std::array<int, 3>;

Rgb Back(float h, float s, float l) {
  Rgb c{};
  mHLSRGB::HLSToRGB(h, s, l, c[0], c[1], c[2]);
  return c;
}

// s = 1, l = 0.5: m1 = 0, m2 = 1, the rising or falling channel 0.5, × 255 the one exact half:
// 127.5 goes to the even 128. Above half lightness m1 = l − (1 − l) s = 0.625, m2 = 2l − m1 = 0.875
// (223.125, 159.375); below, m1 = l (1 − s) = 0.125, m2 = 0.375 (31.875, 95.625).
TEST(HLS, EverySextantOfTheHueTable) {
  const struct {
    float h, s, l;
    Rgb want;
  } cases[] = {{-0.5f, 1, 0.5f, {255, 0, 128}}, {0.5f, 1, 0.5f, {255, 128, 0}},
               {1.5f, 1, 0.5f, {128, 255, 0}},  {2.5f, 1, 0.5f, {0, 255, 128}},
               {3.5f, 1, 0.5f, {0, 128, 255}},  {4.5f, 1, 0.5f, {128, 0, 255}},
               {5.0f, 1, 0.5f, {255, 0, 255}},  {0, 0.5f, 0.75f, {223, 159, 159}},
               {2, 0.5f, 0.25f, {32, 96, 32}}};
  for (const auto& c : cases) EXPECT_EQ(Back(c.h, c.s, c.l), c.want) << "h " << c.h;
}

// The hue stays in [−1, 5), and every colour comes back exactly. (What the lightening shows of
// the conversions is pinned by its hand values and its comparison on every colour.)
TEST(HLS, EveryColourSurvivesTheRoundTrip) {
  for (int r = 0; r < 256; ++r) {
    for (int g = 0; g < 256; ++g) {
      for (int b = 0; b < 256; ++b) {
        float h, s, l;
        mHLSRGB::RGBToHLS(r, g, b, h, s, l);
        ASSERT_TRUE(h >= -1.0f && h < 5.0f) << h;
        ASSERT_EQ(Back(h, s, l), (Rgb{r, g, b}));
      }
    }
  }
}

}  // namespace
}  // namespace fotavel
