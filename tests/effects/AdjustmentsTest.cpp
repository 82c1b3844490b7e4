// The adjustment pass, the histogram and the automatic improvement against plain loops, and hand
// values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "effects/Adjustments.h"
#include "effects/Checks.h"

namespace fotavel {
namespace {

using testing::Event;
using testing::PixelRGB;
using testing::RandomSurface;

std::int32_t Clamp(double v) { return static_cast<std::int32_t>(std::clamp(v, 0.0, 255.0)); }

// The arithmetic as written at the top of Adjustments.cpp, in doubles and one
// pixel at a time. std::round takes halves away from zero, as the pass does.
struct PlainAdjust {
  AdjustSettings s;
  void operator()(std::uint8_t* p) const {
    const double lift = std::round(131072.0 * std::abs(s.luminosite) / 65025);
    const double contrast = std::round(128.0 * (100 + s.contraste) / 100);
    double x[3];  // red, green, blue
    for (int c = 0; c < 3; ++c) {
      const double v = p[2 - c];
      const double lifted =
          v + (s.luminosite < 0 ? -1 : 1) * std::floor(v * (255 - v) * lift / 65536);
      x[c] = Clamp(128 + std::floor(((lifted - 128) * contrast + 64) / 128));
    }
    const double y = std::floor((38 * x[0] + 75 * x[1] + 15 * x[2]) / 128 + 0.5);
    const double f = std::round(128.0 * s.saturation / 100);
    const double k = std::round(30.0 * s.chaleur / 100);
    const double shift[3] = {k, -std::round(23 * k / 75), -k};
    for (int c = 0; c < 3; ++c) {
      p[2 - c] = std::uint8_t(Clamp(x[c] + std::floor(((x[c] - y) * f + 64) / 128) + shift[c]));
    }
  }
};

std::vector<Event> PlainPass(cDIBSection& s, const std::function<void(std::uint8_t*)>& fn) {
  const std::int32_t last = 3 * (s.width() - 1);
  std::vector<Event> events{{Event::kInit, last}};
  for (std::int32_t y = 0; y < s.height(); ++y) {
    for (std::int32_t x = 0; x <= last; x += 3) fn(s.row(y) + x);
  }
  for (std::int32_t x = 0; x <= last; x += 3) events.push_back({Event::kProgress, x});
  events.push_back({Event::kComplete, 0});
  return events;
}

constexpr AdjustSettings kMixed[] = {{0, 0, 0, 0},        {100, -100, 0, 1}, {-100, 100, 100, -100},
                                     {0, 0, -100, 100},   {37, -23, 61, 5},  {-9, 88, -47, -66},
                                     {100, 100, 100, 100}};

// The photo's rows against the plain arithmetic; the display's pixels get the same colours, alpha
// kept, whether written elsewhere or in place.
TEST(AdjustmentsTest, PassAndDisplayAreThePlainArithmeticOnAwkwardSizes) {
  std::uint32_t seed = 1;
  for (const AdjustSettings& settings : kMixed) {
    for (const testing::Size size : testing::kAwkwardSizes) {
      const cDIBSection photo = RandomSurface(size.width, size.height, seed++);
      testing::ExpectSameAsPlain(
          testing::Copy(photo), [&](cImageProcessDIB& e, cDIBSection& s) { e.Adjust(s, settings); },
          [&](cDIBSection& s) { return PlainPass(s, PlainAdjust{settings}); });
      std::vector<std::uint32_t> display, out(std::size_t(size.width));
      for (std::int32_t x = 0; x < size.width; ++x) {
        display.push_back(std::uint32_t(x * 37) << 24 | PixelRGB(photo, x, 0));
      }
      Adjustment(settings).Row32(display.data(), out.data(), size.width);
      for (std::size_t x = 0; x < out.size(); ++x) {
        std::uint8_t p[3] = {std::uint8_t(display[x]), std::uint8_t(display[x] >> 8),
                             std::uint8_t(display[x] >> 16)};
        PlainAdjust{settings}(p);
        ASSERT_EQ(out[x], (display[x] & 0xFF000000u) | std::uint32_t(p[2]) << 16 |
                              std::uint32_t(p[1]) << 8 | p[0]);
      }
      Adjustment(settings).Row32(display.data(), display.data(), size.width);
      EXPECT_EQ(display, out);
    }
  }
}

std::uint32_t Adjusted(std::uint32_t rgb, const AdjustSettings& settings) {
  const std::uint32_t out[1] = {0xFF000000u | rgb};
  std::uint32_t result[1];
  Adjustment(settings).Row32(out, result, 1);
  return result[0] & 0xFFFFFFu;
}

std::int32_t Luma(std::uint32_t rgb) {
  return (38 * std::int32_t(rgb >> 16) + 75 * std::int32_t((rgb >> 8) & 0xFF) +
          15 * std::int32_t(rgb & 0xFF) + 64) >>
         7;
}

TEST(AdjustmentsTest, HandValuesForEachSetting) {
  const std::uint32_t orange = 0xC86432;
  EXPECT_EQ(Adjusted(orange, {}), orange);
  // Brightness: M = 202, mid-grey moves by 128 × 127 × 202 / 65536 = 50.1 -> 50; ends stay.
  EXPECT_EQ(Adjusted(0x808080, {100, 0, 0, 0}), 0xB2B2B2u);
  EXPECT_EQ(Adjusted(0xFF8000, {-100, 0, 0, 0}), 0xFF4E00u);
  // Contrast: C = 256 doubles the distance from 128 (100 -> 72, 200 -> 272 -> 255), 0 removes it.
  EXPECT_EQ(Adjusted(0xC86480, {0, 100, 0, 0}), 0xFF4880u);
  EXPECT_EQ(Adjusted(orange, {0, -100, 0, 0}), 0x808080u);
  // (200, 100, 50) has luma (7600 + 7500 + 750 + 64) >> 7 = 124. Saturation +100, f = 128:
  // 200 + 76 -> 255, 100 - 24 = 76, 50 - 74 -> 0; -100 gives the luma.
  EXPECT_EQ(Adjusted(orange, {0, 0, 100, 0}), 0xFF4C00u);
  EXPECT_EQ(Adjusted(orange, {0, 0, -100, 0}), 0x7C7C7Cu);
  // Warmth ±100: k = 30, green ∓ round(690 / 75) = 9.
  EXPECT_EQ(Adjusted(orange, {0, 0, 0, 100}), 0xE65B14u);
  EXPECT_EQ(Adjusted(orange, {0, 0, 0, -100}), 0xAA6D50u);
  for (std::uint32_t v = 0; v < 256; v += 15) {
    // Grey stays grey under saturation and contrast.
    const std::uint32_t out =
        Adjusted(v * 0x010101u, {v % 2 ? -70 : 90, 100 - std::int32_t(v) / 2, 80, 0});
    EXPECT_EQ(out, (out & 0xFF) * 0x010101u) << v;
    // Warmth keeps the luma within one level wherever nothing clamps.
    const std::uint32_t rgb = 0x282828u + (v * 2654435761u & 0x7F7F7Fu);
    EXPECT_LE(std::abs(Luma(Adjusted(rgb, {0, 0, 0, 100 - std::int32_t(v)})) - Luma(rgb)), 1) << v;
  }
}

TEST(AdjustmentsTest, HistogramCountsEveryPixelOnce) {
  for (const testing::Size size : testing::kAwkwardSizes) {
    const cDIBSection photo = RandomSurface(size.width, size.height, 7 + size.width);
    Histogram want;
    std::vector<std::uint32_t> display;
    const std::int32_t stride = size.width + 3;  // a display row is wider than the photo
    display.assign(std::size_t(stride) * std::size_t(size.height), 0xFFFFFFFFu);
    for (std::int32_t y = 0; y < size.height; ++y) {
      for (std::int32_t x = 0; x < size.width; ++x) {
        const std::uint32_t rgb = PixelRGB(photo, x, y);
        const std::uint32_t r = rgb >> 16, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
        ++want.red[r];
        ++want.green[g];
        ++want.blue[b];
        ++want.lightness[std::size_t(Luma(rgb))];
        want.chroma += std::max({r, g, b}) - std::min({r, g, b});
        ++want.pixels;
        display[std::size_t(y) * std::size_t(stride) + std::size_t(x)] = 0x80000000u | rgb;
      }
    }
    EXPECT_EQ(HistogramOf(photo), want) << size.width << "x" << size.height;
    EXPECT_EQ(HistogramOf(display.data(), size.width, size.height, stride), want);
    Histogram channels = want;
    channels.lightness = {};
    EXPECT_EQ(ChannelHistogramOf(photo), channels);
  }
}

// A photo of the given red, green and blue levels, one pixel each, in turn.
cDIBSection Levels(const std::vector<std::uint32_t>& rgb) {
  cDIBSection s = testing::UniformSurface(std::int32_t(rgb.size()), 1, 0, 0, 0);
  for (std::size_t i = 0; i < rgb.size(); ++i) testing::SetPixelRGB(s, std::int32_t(i), 0, rgb[i]);
  return s;
}

std::vector<std::uint32_t> Ramp(std::uint32_t from, std::uint32_t to, std::uint32_t colour) {
  std::vector<std::uint32_t> v;
  for (std::uint32_t i = 0; i < 1000; ++i) v.push_back((from + (to - from) * i / 999) * colour);
  return v;
}

TEST(AdjustmentsTest, AutomaticLevelsByHand) {
  // 1000 grey pixels 40 … 200: 5 may lie below low, 5 above high. Pixel 5 is
  // 40 + 160 × 5 / 999 = 40.8 -> 40, pixel 994 is 199.2 -> 199.
  const AutoLevels grey = AutoLevelsFor(HistogramOf(Levels(Ramp(40, 200, 0x010101))));
  EXPECT_EQ(grey, (AutoLevels{{40, 40, 40}, {199, 199, 199}, 0}));
  // A night photo, 0 … 40 (low 0, high 39): the gain is held to 2.5, the range
  // widened to 102 around its midpoint (-32 … 70) and moved inside 0 … 255.
  const AutoLevels night = AutoLevelsFor(HistogramOf(Levels(Ramp(0, 40, 0x010101))));
  EXPECT_EQ(night, (AutoLevels{{0, 0, 0}, {102, 102, 102}, 0}));
  // The full range, grey or in colour, is left as it is.
  EXPECT_EQ(AutoLevelsFor(HistogramOf(Levels(Ramp(0, 255, 0x010101)))), AutoLevels{});
  EXPECT_EQ(AutoLevelsFor(HistogramOf(RandomSurface(301, 203, 3))), AutoLevels{});
  EXPECT_EQ(AutoLevelsFor(Histogram{}), AutoLevels{});
  // Mean chroma 10 is dull and gets saturation; 2 (almost grey) and 24 get none.
  for (const auto& [spread, saturation] :
       {std::pair(10u, 15), std::pair(2u, 0), std::pair(24u, 0)}) {
    std::vector<std::uint32_t> dull = Ramp(0, 255 - spread, 0x010101);
    for (std::uint32_t& p : dull) p += spread << 16;
    EXPECT_EQ(AutoLevelsFor(HistogramOf(Levels(dull))).saturation, saturation) << spread;
  }
}

// Per channel, then the saturation, on awkward sizes against the plain arithmetic.
TEST(AdjustmentsTest, AutomaticImprovementStretchesEachChannel) {
  const AutoLevels levels{{10, 0, 30}, {240, 255, 131}, 15};
  std::uint32_t seed = 9;
  for (const testing::Size size : testing::kAwkwardSizes) {
    testing::ExpectSameAsPlain(
        RandomSurface(size.width, size.height, seed++),
        [&](cImageProcessDIB& e, cDIBSection& s) { e.AutoImprove(s, levels); },
        [&](cDIBSection& s) {
          return PlainPass(s, [&](std::uint8_t* p) {
            for (int c = 0; c < 3; ++c) {
              p[2 - c] = std::uint8_t(
                  Clamp(std::round((p[2 - c] - levels.low[std::size_t(c)]) * 255.0 /
                                   (levels.high[std::size_t(c)] - levels.low[std::size_t(c)]))));
            }
            PlainAdjust{{0, 0, 15, 0}}(p);
          });
        });
  }
}

// 64 … 191: gain 255 / 127 = 2.008, contrast 100, mid-grey moved by 64 × 2.008 - 128 = 0.5,
// brightness 2 × 0.5 / 2.008 -> 1. Red lifted and blue lowered: warm.
TEST(AdjustmentsTest, SlidersNearestToTheAutomaticLevels) {
  EXPECT_EQ(SettingsFor(AutoLevels{}), AdjustSettings{});
  EXPECT_EQ(SettingsFor({{64, 64, 64}, {191, 191, 191}, 0}), (AdjustSettings{1, 100, 0, 0}));
  const AdjustSettings warm = SettingsFor({{0, 0, 20}, {235, 255, 255}, 15});
  EXPECT_GT(warm.chaleur, 20);
  EXPECT_EQ(warm.saturation, 15);
}

}  // namespace
}  // namespace fotavel
