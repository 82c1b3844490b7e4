// mHLSRGB: hand-computed conversions, the hue sextants, and the round trip of every colour.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
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

TEST(HLS, ListedColoursConvertBothWays) {
  const float grey = static_cast<float>(128 / 255.0);
  const struct {
    Rgb rgb;
    float h, s, l;
  } cases[] = {
      {{255, 0, 0}, 0, 1, 0.5f},
      {{128, 128, 128}, 0, 0, grey},    // 128 / 255 kept in single precision
      {{255, 0, 128}, -grey, 1, 0.5f},  // between magenta and red the hue is negative
      {{255, 255, 255}, 0, 0, 1},
      {{0, 0, 0}, 0, 0, 0},
  };
  for (const auto& c : cases) {
    float h, s, l;
    RGBToHLS(c.rgb.r, c.rgb.g, c.rgb.b, h, s, l);
    EXPECT_EQ(std::tuple(h, s, l), std::tuple(c.h, c.s, c.l)) << c.rgb;
    EXPECT_EQ(Back(h, s, l), c.rgb);
  }
}

TEST(HLS, HueTestsRedThenGreenThenBlueAndLightnessPicksTheSaturation) {
  float h, s, l;
  RGBToHLS(255, 255, 0, h, s, l);  // green is max: 2 + (0 − 1) / 1
  EXPECT_EQ(h, 1.0f);
  RGBToHLS(51, 0, 102, h, s, l);  // blue is max: 4 + 0.2 / 0.4
  EXPECT_EQ(h, 4.5f);
  // l above a half divides by 2 − max − min: (1 − 0.6) / (2 − 1 − 0.6).
  RGBToHLS(255, 153, 153, h, s, l);
  EXPECT_EQ(std::tuple(h, s, l),
            std::tuple(0.0f, 1.0f,
                       static_cast<float>((1.0 + double{static_cast<float>(153 / 255.0)}) / 2)));
}

TEST(HLS, EverySextantOfTheHueTable) {
  // s = 1, l = 0.5: m1 = 0, m2 = 1, and the rising or falling channel is
  // 0.5, which × 255 is the one exact half: 127.5 goes to the even 128.
  struct Case {
    float h;
    Rgb want;
  } cases[] = {{-0.5f, {255, 0, 128}}, {0.5f, {255, 128, 0}}, {1.5f, {128, 255, 0}},
               {2.5f, {0, 255, 128}},  {3.5f, {0, 128, 255}}, {4.5f, {128, 0, 255}},
               {5.0f, {255, 0, 255}},  {-1.0f, {255, 0, 255}}};
  for (const Case& c : cases) EXPECT_EQ(Back(c.h, 1, 0.5f), c.want) << "h " << c.h;

  // Above half lightness: m1 = l − (1 − l) s = 0.625, m2 = 2l − m1 = 0.875;
  // 0.875 × 255 = 223.125 and 0.625 × 255 = 159.375.
  EXPECT_EQ(Back(0, 0.5f, 0.75f), (Rgb{223, 159, 159}));
  // Below: m1 = l (1 − s) = 0.125, m2 = 0.375; 31.875 and 95.625.
  EXPECT_EQ(Back(2, 0.5f, 0.25f), (Rgb{32, 96, 32}));
}

TEST(HLS, EveryColourSurvivesTheRoundTripWithinOne) {
  int inexact = 0;
  for (int r = 0; r < 256; ++r) {
    for (int g = 0; g < 256; ++g) {
      for (int b = 0; b < 256; ++b) {
        float h, s, l;
        RGBToHLS(r, g, b, h, s, l);
        ASSERT_GE(h, -1.0f);
        ASSERT_LT(h, 5.0f);
        Rgb back{};
        HLSToRGB(h, s, l, back.r, back.g, back.b);
        ASSERT_LE(std::max({std::abs(back.r - r), std::abs(back.g - g), std::abs(back.b - b)}), 1)
            << Rgb{r, g, b};
        inexact += !(back == Rgb{r, g, b});
      }
    }
  }
  // Within one is all the model promises; in fact no colour loses a step.
  EXPECT_EQ(inexact, 0);
}

}  // namespace
}  // namespace fotavel
