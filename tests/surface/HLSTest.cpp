// mHLSRGB: hand-computed conversions, the hue sextants, and the round trip of every colour.
#include <gtest/gtest.h>

#include <tuple>

#include "surface/mHLSRGB.h"

namespace fotavel {
namespace {

using mHLSRGB::HLSToRGB;
using mHLSRGB::RGBToHLS;

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Rgb& c) {
  return os << '(' << c.r << ", " << c.g << ", " << c.b << ')';
}

Rgb Back(float h, float s, float l) {
  Rgb c{};
  HLSToRGB(h, s, l, c.r, c.g, c.b);
  return c;
}

// Hue is counted from the largest channel: red, then green (2 + (0 − 1) / 1 for yellow), then
// blue (4 + 0.2 / 0.4), negative between magenta and red. Above half lightness the saturation
// divides by 2 − max − min: (1 − 0.6) / (2 − 1 − 0.6) = 1 for (255, 153, 153).
TEST(HLS, ListedColoursConvertBothWays) {
  const float grey = static_cast<float>(128 / 255.0);  // kept in single precision
  const float pink = static_cast<float>((1.0 + double{static_cast<float>(153 / 255.0)}) / 2);
  const struct {
    Rgb rgb;
    float h, s, l;
  } cases[] = {{{255, 0, 0}, 0, 1, 0.5f},       {{128, 128, 128}, 0, 0, grey},
               {{255, 0, 128}, -grey, 1, 0.5f}, {{255, 255, 0}, 1, 1, 0.5f},
               {{51, 0, 102}, 4.5f, 1, 0.2f},   {{255, 153, 153}, 0, 1, pink}};
  for (const auto& c : cases) {
    float h, s, l;
    RGBToHLS(c.rgb.r, c.rgb.g, c.rgb.b, h, s, l);
    EXPECT_EQ(std::tuple(h, s, l), std::tuple(c.h, c.s, c.l)) << c.rgb;
    EXPECT_EQ(Back(h, s, l), c.rgb);
  }
}

// s = 1, l = 0.5: m1 = 0, m2 = 1, and the rising or falling channel is 0.5, which × 255 is the
// one exact half: 127.5 goes to the even 128. Above half lightness m1 = l − (1 − l) s = 0.625,
// m2 = 2l − m1 = 0.875: 223.125 and 159.375; below, m1 = l (1 − s) = 0.125, m2 = 0.375: 31.875
// and 95.625.
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

// The hue stays in [−1, 5), and every colour comes back exactly.
TEST(HLS, EveryColourSurvivesTheRoundTrip) {
  for (int r = 0; r < 256; ++r) {
    for (int g = 0; g < 256; ++g) {
      for (int b = 0; b < 256; ++b) {
        float h, s, l;
        RGBToHLS(r, g, b, h, s, l);
        ASSERT_TRUE(h >= -1.0f && h < 5.0f) << h;
        ASSERT_EQ(Back(h, s, l), (Rgb{r, g, b}));
      }
    }
  }
}

}  // namespace
}  // namespace fotavel
