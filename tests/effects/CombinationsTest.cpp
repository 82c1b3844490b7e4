// The three combinations: against the plain loops, and hand values.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>

#include "effects/Checks.h"
#include "effects/FilterReference.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel {
namespace {

using testing::PixelRGB;
using testing::PlainPasses;
using testing::SetPixelRGB;
using testing::UniformSurface;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

struct Weights {
  std::int32_t fromMultiplier;
  std::int32_t from[3];  // offsets R, G, B: bytes 0, 1, 2 of a pixel
  std::int32_t toMultiplier;
  std::int32_t to[3];
};

void AddImages(cImageProcessDIB& engine, const cDIBSection& from, cDIBSection& to,
               const Weights& w) {
  engine.AddImages(from, to, w.fromMultiplier, w.from[0], w.from[1], w.from[2], w.toMultiplier,
                   w.to[0], w.to[1], w.to[2]);
}

// Engine and plain loop on the same random pictures, the source as large as the destination or
// one pixel wider and higher. 5 columns are less than a vector, 17 one vector of 16 pixels and a
// tail, 301 two strips of the pass.
void ExpectSameAsPlain(
    const std::function<void(cImageProcessDIB&, const cDIBSection&, cDIBSection&)>& engineRun,
    const std::function<void(PlainPasses&, const cDIBSection&, cDIBSection&)>& plainRun,
    std::uint32_t seed) {
  for (const auto [width, height] : {testing::Size{5, 4}, {17, 13}, {301, 203}}) {
    for (const std::int32_t larger : {0, 1}) {
      SCOPED_TRACE(::testing::Message() << width << 'x' << height << " larger " << larger);
      const cDIBSection from = testing::RandomSurface(width + larger, height + larger, seed);
      const cDIBSection fromBefore = testing::Copy(from);
      cDIBSection to = testing::RandomSurface(width, height, seed + 1);
      // Some pixels with equal measures, and some that differ only in red.
      for (std::int32_t y = 0; larger == 0 && y < height; y += 2) {
        const std::uint32_t p = PixelRGB(from, 0, y);
        SetPixelRGB(to, 0, y, y % 4 == 0 ? p : p ^ 0xFF0000);
      }
      cDIBSection expected = testing::Copy(to);
      PlainPasses plain;
      plainRun(plain, from, expected);
      const auto events = testing::Recorded([&](cImageProcessDIB& e) { engineRun(e, from, to); });
      testing::ExpectSame(to, expected, events, plain.events);
      EXPECT_TRUE(testing::SamePixels(from, fromBefore));
    }
  }
}

// AddDarkest raises no events.
TEST(Combinations, AddLightestAndAddDarkestMatchThePlainLoops) {
  ExpectSameAsPlain(
      [](cImageProcessDIB& e, const cDIBSection& f, cDIBSection& t) { e.AddLightest(f, t); },
      [](PlainPasses& p, const cDIBSection& f, cDIBSection& t) { p.Keep(f, t, true); }, 1);
  ExpectSameAsPlain(
      [](cImageProcessDIB& e, const cDIBSection& f, cDIBSection& t) { e.AddDarkest(f, t); },
      [](PlainPasses& p, const cDIBSection& f, cDIBSection& t) {
        p.Keep(f, t, false);
        p.events.clear();
      },
      2);
}

TEST(Combinations, AddImagesMatchesThePlainLoopOverEveryRangeOfWeights) {
  const Weights cases[] = {
      {-1, {-255, -255, -255}, 0, {0, 0, 0}},                // negative, destination not read
      {-1, {0, 0, 0}, 2, {0, 0, 0}},                         // unsharp
      {3, {-40, 7, 300}, -2, {11, -90, 5}},                  // 16-bit sums
      {300, {-100, 0, 100}, -301, {0, 20, -20}},             // 32-bit sums
      {kMin, {kMin, kMin, kMin}, kMin, {kMin, kMin, kMin}},  // 2^63 and beyond
      {kMax, {kMax, kMax, kMax}, kMax, {kMax, kMax, kMax}},
      {kMin, {kMax, 0, -255}, kMax, {kMin, -255, 255}},
  };
  std::uint32_t seed = 10;
  for (const Weights& w : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "multipliers " << w.fromMultiplier << ", " << w.toMultiplier);
    ExpectSameAsPlain(
        [&](cImageProcessDIB& e, const cDIBSection& f, cDIBSection& t) { AddImages(e, f, t, w); },
        [&](PlainPasses& p, const cDIBSection& f, cDIBSection& t) {
          p.AddImages(f, t, w.fromMultiplier, w.from, w.toMultiplier, w.to);
        },
        seed += 2);
  }
}

// On uniform 3 x 2 pictures. Which pixel is lighter is decided by 929 × green + 71 × blue, red
// not counted, a tie keeping the destination.
TEST(Combinations, HandComputedValues) {
  enum Op { kAdd, kLightest, kDarkest };
  const struct {
    Op op;
    std::uint32_t from, to;  // 0xRRGGBB
    Weights w;
    std::uint32_t out;
  } cases[] = {
      {kAdd, 0xFF8000, 0x030201, {-1, {-255, -255, -255}, 0, {0, 0, 0}}, 0x007FFF},  // 255 − c
      {kAdd, 0x000AC8, 0x001464, {1, {0, 0, 0}, 1, {0, 0, 0}}, 0x001EFF},  // 200 + 100 saturates
      // The offsets named R go with the first byte, which holds blue.
      {kAdd, 0x000000, 0x000000, {1, {10, 20, 30}, 1, {1, 2, 3}}, 0x21160B},
      {kDarkest, 0xFF0000, 0x000000, {}, 0x000000},
      {kDarkest, 0x000100, 0x00000D, {}, 0x000100},   // 929 × 1 against 71 × 13 = 923
      {kDarkest, 0x000100, 0x00000E, {}, 0x00000E},   // and 71 × 14 = 994
      {kLightest, 0x000100, 0x00000E, {}, 0x000100},  // the darker source is taken
  };
  const auto uniform = [](std::uint32_t rgb) {
    return UniformSurface(3, 2, rgb & 0xFF, (rgb >> 8) & 0xFF, rgb >> 16);
  };
  cImageProcessDIB engine;
  for (const auto& c : cases) {
    cDIBSection to = uniform(c.to);
    if (c.op == kAdd) AddImages(engine, uniform(c.from), to, c.w);
    if (c.op == kLightest) engine.AddLightest(uniform(c.from), to);
    if (c.op == kDarkest) engine.AddDarkest(uniform(c.from), to);
    EXPECT_EQ(PixelRGB(to, 2, 1), c.out) << std::hex << c.from << " onto " << c.to;
  }
}

}  // namespace
}  // namespace fotavel
