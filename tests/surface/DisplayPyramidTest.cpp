// The display copies: upright 32-bit pixels and rounded 2 x 2 halvings, against plain loops.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "support/Surfaces.h"
#include "surface/DisplayPyramid.h"
#include "surface/DisplayRows.h"
#include "surface/SurfaceMemory.h"

namespace fotavel {
namespace {

using testing::PixelRGB;
using testing::RandomSurface;

struct PlainLevel {
  std::int32_t width, height;
  std::vector<std::uint32_t> pixels;  // top row first
};

// What the levels are, written plainly: the surface upright, then each level the rounded mean of
// every 2 x 2 block of the one above, channel by channel, the last column or row standing in for a
// missing right or lower neighbour.
std::vector<PlainLevel> PlainPyramid(const cDIBSection& s) {
  std::vector<PlainLevel> levels{{s.width(), s.height(), {}}};
  for (std::int32_t y = 0; y < s.height(); ++y) {
    for (std::int32_t x = 0; x < s.width(); ++x) {
      levels[0].pixels.push_back(0xFF000000u | PixelRGB(s, x, s.height() - 1 - y));
    }
  }
  while (std::max(levels.back().width, levels.back().height) > 64) {
    const PlainLevel& a = levels.back();
    PlainLevel next{(a.width + 1) / 2, (a.height + 1) / 2, {}};
    for (std::int32_t y = 0; y < next.height; ++y) {
      for (std::int32_t x = 0; x < next.width; ++x) {
        std::uint32_t pixel = 0;
        for (int shift = 0; shift < 32; shift += 8) {
          std::uint32_t sum = 2;
          for (int k = 0; k < 4; ++k) {
            const std::size_t at = std::size_t(std::min(2 * y + k / 2, a.height - 1)) * a.width +
                                   std::min(2 * x + k % 2, a.width - 1);
            sum += a.pixels[at] >> shift & 0xFF;
          }
          pixel |= (sum / 4) << shift;
        }
        next.pixels.push_back(pixel);
      }
    }
    levels.push_back(std::move(next));
  }
  return levels;
}

TEST(DisplayPyramid, EveryLevelMatchesThePlainDefinitionBitForBit) {
  DisplayPyramid display;
  // A lone level, then several halvings odd at different levels in either direction.
  for (const auto [width, height] : {testing::Size{1, 1}, {1031, 130}, {65, 517}}) {
    const cDIBSection s = RandomSurface(width, height, std::uint32_t(width * 31 + height));
    const std::vector<PlainLevel> expected = PlainPyramid(s);
    // Without level 0 its rows are still made, two at a time, for level 1.
    for (const std::int32_t finest : {0, 1}) {
      ASSERT_TRUE(display.Build(s, finest));
      ASSERT_EQ(display.Levels(), std::int32_t(expected.size())) << width << 'x' << height;
      ASSERT_EQ(display.Finest(), display.Levels() > 1 ? finest : 0);
      EXPECT_EQ(display.level(0).bits == nullptr, display.Finest() == 1);
      for (std::int32_t k = display.Finest(); k < display.Levels(); ++k) {
        const DisplayPyramid::Level& level = display.level(k);
        ASSERT_EQ(std::pair(level.width, level.height),
                  std::pair(expected[k].width, expected[k].height));
        const std::vector<std::uint32_t> got(level.bits,
                                             level.bits + std::size_t(level.width) * level.height);
        ASSERT_EQ(got, expected[k].pixels)
            << width << 'x' << height << " level " << k << " built from " << finest;
      }
    }
  }
}

// Every processor's row functions against the plain ones, at every width up to
// past a few vector steps, so each tail length is met.
TEST(DisplayPyramid, EveryMachineCodeVersionMatchesThePlainRows) {
  const std::vector<detail::DisplayRowFunctions> versions = detail::DisplayRowVersions();
  std::mt19937 random(7);
  for (std::int32_t width = 1; width <= 80; ++width) {
    // Exactly the row's bytes, so a read past the end shows under a sanitizer.
    std::vector<std::uint8_t> bgr(std::size_t(3) * width);
    const std::size_t n = std::size_t(width);
    std::vector<std::uint32_t> a(n), b(n);
    for (auto& byte : bgr) byte = std::uint8_t(random());
    for (std::size_t x = 0; x < n; ++x) {
      a[x] = random();
      b[x] = random();
    }
    std::vector<std::uint32_t> plainConverted(a.size()), plainHalved(std::size_t(width + 1) / 2);
    versions[0].convert(bgr.data(), plainConverted.data(), width);
    versions[0].halve(a.data(), b.data(), width, plainHalved.data());
    for (std::size_t v = 1; v < versions.size(); ++v) {
      std::vector<std::uint32_t> converted(a.size()), halved(plainHalved.size());
      versions[v].convert(bgr.data(), converted.data(), width);
      versions[v].halve(a.data(), b.data(), width, halved.data());
      EXPECT_EQ(converted, plainConverted) << "version " << v << ", width " << width;
      EXPECT_EQ(halved, plainHalved) << "version " << v << ", width " << width;
    }
  }
}

}  // namespace
}  // namespace fotavel
