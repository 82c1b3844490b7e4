// The three combinations: against the plain loops, hand values, measures, alignment, refusals.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <random>

#include "effects/FilterReference.h"
#include "effects/cImageProcessDIB.h"
#include "support/EventRecorder.h"
#include "support/Surfaces.h"

namespace fotavel {
namespace {

using testing::ColumnPassEvents;
using testing::EventRecorder;
using testing::kAwkwardSizes;
using testing::PixelRGB;
using testing::ReferenceFilters;
using testing::SetPixelRGB;

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

// Runs `engine` and `reference` on copies of the same random pictures of every
// awkward size; the source is one pixel wider and higher than the destination.
void ExpectSameAsReference(
    const std::function<void(cImageProcessDIB&, const cDIBSection&, cDIBSection&)>& engineRun,
    const std::function<void(ReferenceFilters&, const cDIBSection&, cDIBSection&)>& referenceRun,
    std::uint32_t seed) {
  for (const auto [width, height] : kAwkwardSizes) {
    for (const std::int32_t larger : {0, 1}) {
      SCOPED_TRACE(::testing::Message() << width << 'x' << height << " larger " << larger);
      const cDIBSection from = testing::RandomSurface(width + larger, height + larger, seed);
      const cDIBSection fromBefore = testing::Copy(from);
      cDIBSection to = testing::RandomSurface(width, height, seed + 1);
      // Some pixels with equal measures, and some that differ only in red.
      if (larger == 0) {
        for (std::int32_t y = 0; y < height; y += 2) {
          const std::uint32_t p = PixelRGB(from, 0, y);
          SetPixelRGB(to, 0, y, y % 4 == 0 ? p : p ^ 0xFF0000);
        }
      }
      cDIBSection expected = testing::Copy(to);
      EventRecorder engineEvents;
      EventRecorder referenceEvents;
      ReferenceFilters ref(referenceEvents);
      referenceRun(ref, from, expected);
      cImageProcessDIB engine;
      engine.SetListener(&engineEvents);
      engineRun(engine, from, to);
      EXPECT_EQ(testing::FirstDifference(to, expected), "");
      EXPECT_TRUE(testing::PaddingIntact(to));
      EXPECT_TRUE(testing::SamePixels(from, fromBefore));
      EXPECT_EQ(engineEvents.events, referenceEvents.events);
    }
  }
}

TEST(CombinationsReference, AddLightestAndAddDarkest) {
  ExpectSameAsReference(
      [](cImageProcessDIB& e, const cDIBSection& f, cDIBSection& t) { e.AddLightest(f, t); },
      [](ReferenceFilters& r, const cDIBSection& f, cDIBSection& t) { r.Keep(f, t, true); }, 1);
  ExpectSameAsReference(
      [](cImageProcessDIB& e, const cDIBSection& f, cDIBSection& t) { e.AddDarkest(f, t); },
      [](ReferenceFilters& r, const cDIBSection& f, cDIBSection& t) { r.Keep(f, t, false); }, 2);
}

TEST(CombinationsReference, AddImagesOverEveryRangeOfWeights) {
  std::mt19937 random(7);
  std::vector<Weights> cases = {
      {-1, {-255, -255, -255}, 0, {0, 0, 0}},     // negative
      {-1, {0, 0, 0}, 2, {0, 0, 0}},              // unsharp
      {1, {127, 127, 127}, 0, {0, 0, 0}},         // emboss
      {1, {0, 0, 0}, 1, {0, 0, 0}},               // saturating sum
      {3, {-40, 7, 300}, -2, {11, -90, 5}},       // 16-bit sums
      {0, {5, 5, 5}, 0, {9, 9, 9}},               // nothing left: 0
      {0, {1, 2, 3}, -1, {255, 200, 100}},        // destination only
      {300, {-100, 0, 100}, -301, {0, 20, -20}},  // 32-bit sums
      {kMax, {kMax, kMin, 0}, kMin, {kMin, kMax, -1}},
      {kMin, {kMin, kMin, kMin}, kMin, {kMin, kMin, kMin}},  // 2^63 and beyond
      {kMax, {kMax, kMax, kMax}, kMax, {kMax, kMax, kMax}},
      {kMin, {kMax, 0, -255}, kMax, {kMin, -255, 255}},
  };
  std::uniform_int_distribution<std::int32_t> any(kMin, kMax);
  std::uniform_int_distribution<std::int32_t> small(-300, 300);
  for (int i = 0; i < 4; ++i) {
    cases.push_back({any(random),
                     {any(random), any(random), any(random)},
                     any(random),
                     {any(random), any(random), any(random)}});
    cases.push_back({small(random),
                     {small(random), small(random), small(random)},
                     small(random),
                     {small(random), small(random), small(random)}});
  }
  std::uint32_t seed = 10;
  for (const Weights& w : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "multipliers " << w.fromMultiplier << ", " << w.toMultiplier << " offsets "
                 << w.from[0] << ' ' << w.to[2]);
    ExpectSameAsReference(
        [&](cImageProcessDIB& e, const cDIBSection& f, cDIBSection& t) { AddImages(e, f, t, w); },
        [&](ReferenceFilters& r, const cDIBSection& f, cDIBSection& t) {
          r.AddImages(f, t, w.fromMultiplier, w.from, w.toMultiplier, w.to);
        },
        seed += 2);
  }
}

TEST(CombinationValues, AddImagesHandValues) {
  cImageProcessDIB engine;
  cDIBSection from = testing::UniformSurface(3, 1, 0, 128, 255);
  cDIBSection to = testing::UniformSurface(3, 1, 1, 2, 3);
  AddImages(engine, from, to, {-1, {-255, -255, -255}, 0, {0, 0, 0}});
  EXPECT_EQ(PixelRGB(to, 1, 0), 0x007FFFu);  // 255 − c: blue 255, green 127, red 0

  from = testing::UniformSurface(3, 1, 0, 0, 0);
  AddImages(engine, from, to, {1, {127, 127, 127}, 0, {0, 0, 0}});
  EXPECT_EQ(PixelRGB(to, 2, 0), 0x7F7F7Fu);

  from = testing::UniformSurface(3, 1, 200, 10, 0);
  to = testing::UniformSurface(3, 1, 100, 20, 0);
  AddImages(engine, from, to, {1, {0, 0, 0}, 1, {0, 0, 0}});
  EXPECT_EQ(PixelRGB(to, 0, 0), 0x001EFFu);  // 200 + 100 saturates; 10 + 20 = 30

  // The offsets named R go with the first byte, which holds blue.
  from = testing::UniformSurface(1, 1, 0, 0, 0);
  to = testing::UniformSurface(1, 1, 0, 0, 0);
  AddImages(engine, from, to, {1, {10, 20, 30}, 1, {1, 2, 3}});
  EXPECT_EQ(PixelRGB(to, 0, 0), 0x21160Bu);  // blue 11, green 22, red 33
}

TEST(CombinationValues, TheMeasureIgnoresRed) {
  cImageProcessDIB engine;
  const cDIBSection red = testing::UniformSurface(2, 2, 0, 0, 255);
  const cDIBSection black = testing::UniformSurface(2, 2, 0, 0, 0);
  cDIBSection to = testing::Copy(black);
  engine.AddDarkest(red, to);
  EXPECT_TRUE(testing::SamePixels(to, black));
  engine.AddLightest(red, to);
  EXPECT_TRUE(testing::SamePixels(to, black));
  to = testing::Copy(red);
  engine.AddLightest(black, to);
  engine.AddDarkest(black, to);
  EXPECT_TRUE(testing::SamePixels(to, red));

  // 929 × 1 against 71 × 13 = 923 and 71 × 14 = 994: green weighs 929, blue 71.
  const cDIBSection greenish = testing::UniformSurface(1, 1, 0, 1, 0);
  for (const auto& [blue, copied] : {std::pair{13, true}, {14, false}}) {
    to = testing::UniformSurface(1, 1, static_cast<std::uint8_t>(blue), 0, 0);
    engine.AddDarkest(greenish, to);
    EXPECT_EQ(PixelRGB(to, 0, 0), copied ? 0x000100u : std::uint32_t(blue)) << blue;
  }
}

TEST(CombinationValues, WhiteAndBlackDestinations) {
  cImageProcessDIB engine;
  const cDIBSection from = testing::RandomSurface(9, 5, 4);
  cDIBSection white = testing::UniformSurface(9, 5, 255, 255, 255);
  engine.AddLightest(from, white);
  for (std::int32_t y = 0; y < 5; ++y) {
    for (std::int32_t i = 0; i < 9; ++i) {
      const std::uint32_t p = PixelRGB(from, i, y);
      const bool darker = (p & 0xFFFF) != 0xFFFF;
      EXPECT_EQ(PixelRGB(white, i, y), darker ? p : 0xFFFFFFu);
    }
  }
  cDIBSection black = testing::UniformSurface(9, 5, 0, 0, 0);
  engine.AddLightest(from, black);
  EXPECT_TRUE(testing::SamePixels(black, testing::UniformSurface(9, 5, 0, 0, 0)));
  engine.AddDarkest(from, black);
  for (std::int32_t y = 0; y < 5; ++y) {
    for (std::int32_t i = 0; i < 9; ++i) {
      const std::uint32_t p = PixelRGB(from, i, y);
      EXPECT_EQ(PixelRGB(black, i, y), (p & 0xFFFF) != 0 ? p : 0u);
    }
  }
}

TEST(CombinationValues, LargerSourceIsAlignedBottomLeft) {
  cImageProcessDIB engine;
  cDIBSection from = testing::UniformSurface(5, 4, 9, 9, 9);
  SetPixelRGB(from, 0, 0, 0x010203);  // bottom left of the larger source
  SetPixelRGB(from, 4, 3, 0x040506);  // top right: outside the destination
  cDIBSection to = testing::UniformSurface(3, 2, 100, 100, 100);
  engine.AddImages(from, to, 1, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(PixelRGB(to, 0, 0), 0x010203u);
  EXPECT_EQ(PixelRGB(to, 2, 1), 0x090909u);
  EXPECT_TRUE(testing::PaddingIntact(to));
}

TEST(CombinationEvents, AddDarkestIsSilentAndTheOthersReportColumns) {
  const cDIBSection from = testing::RandomSurface(4, 3, 1);
  cDIBSection to = testing::RandomSurface(4, 3, 2);
  EventRecorder events;
  cImageProcessDIB engine;
  engine.SetListener(&events);
  engine.AddDarkest(from, to);
  EXPECT_TRUE(events.events.empty());
  engine.AddLightest(from, to);
  engine.AddImages(from, to, 1, 0, 0, 0, 1, 0, 0, 0);
  auto expected = ColumnPassEvents(9, 0, 9);
  const auto second = ColumnPassEvents(9, 0, 9);
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(events.events, expected);
}

TEST(CombinationRefusals, SmallerOrEmptySourceChangesNothing) {
  const cDIBSection narrow = testing::RandomSurface(4, 6, 1);
  const cDIBSection low = testing::RandomSurface(5, 5, 2);
  const cDIBSection empty;
  cDIBSection to = testing::RandomSurface(5, 6, 3);
  const cDIBSection before = testing::Copy(to);
  cDIBSection emptyTo;
  EventRecorder events;
  cImageProcessDIB engine;
  engine.SetListener(&events);
  const std::function<void(const cDIBSection&, cDIBSection&)> calls[] = {
      [&](const cDIBSection& f, cDIBSection& t) { engine.AddLightest(f, t); },
      [&](const cDIBSection& f, cDIBSection& t) { engine.AddDarkest(f, t); },
      [&](const cDIBSection& f, cDIBSection& t) { engine.AddImages(f, t, 1, 0, 0, 0, 1, 0, 0, 0); },
  };
  const auto expectRefused = [](const std::function<void()>& call, const ErrorKind& kind) {
    try {
      call();
      ADD_FAILURE() << "not refused: " << kind.description;
    } catch (const ImageProcessError& e) {
      EXPECT_EQ(e.number(), kind.number);
      EXPECT_EQ(e.description(), kind.description);
    }
  };
  for (const auto& call : calls) {
    expectRefused([&] { call(narrow, to); }, ImageProcessErrors::kSourceTooSmall);
    expectRefused([&] { call(low, to); }, ImageProcessErrors::kSourceTooSmall);
    expectRefused([&] { call(empty, to); }, ImageProcessErrors::kEmptySurface);
    expectRefused([&] { call(narrow, emptyTo); }, ImageProcessErrors::kEmptySurface);
  }
  EXPECT_STREQ(ImageProcessErrors::kSourceTooSmall.description,
               "The source picture is smaller than the destination.");
  EXPECT_TRUE(testing::SamePixels(to, before));
  EXPECT_TRUE(events.events.empty());
}

}  // namespace
}  // namespace fotavel
