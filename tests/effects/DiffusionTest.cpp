// Diffusion: the literal scan-order loop fed with the same draws, rounding, the fixed seed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "effects/Checks.h"
#include "effects/ProgramRandom.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel {
namespace {

using testing::Event;

// The pass as defined, with its draws taken from `random` (a copy of the
// program-wide engine as it stood before the engine ran). Offsets are computed
// in long double, whose 64-bit mantissa holds k × F exactly for any 32-bit F.
void ReferenceDiffusion(cDIBSection& s, std::int32_t factor, ProgramRandomEngine& random,
                        std::vector<Event>& events) {
  const long double f = factor < 0 ? 0 : factor;  // a negative factor counts as 0
  const long double half = std::nearbyint(f / 2);
  const std::int32_t w = s.width(), h = s.height();
  events.push_back({Event::kInit, h - 1});
  for (std::int32_t y = 1; y <= h - 1; ++y) {
    for (std::int32_t i = 1; i <= w - 1; ++i) {
      const long double r1 = random() / 4294967296.0L;
      const long double r2 = random() / 4294967296.0L;
      long long dx = std::llrint(r1 * f - half);
      long long dy = std::llrint(r2 * f - half);
      if (i + dx < 1 || i + dx > w - 1) dx = 0;
      if (y + dy < 1 || y + dy > h - 1) dy = 0;
      for (int c = 0; c < 3; ++c) s.row(y)[3 * i + c] = s.row(y + dy)[3 * (i + dx) + c];
    }
    events.push_back({Event::kProgress, y});
  }
  events.push_back({Event::kComplete, 0});
}

TEST(Diffusion, MatchesTheScanOrderLoopWithTheSameDraws) {
  const std::int32_t maxFactor = std::numeric_limits<std::int32_t>::max();
  const std::int32_t factors[] = {6, 0, 1, 2, 3, 5, 7, 13, 40, 1001, 1 << 24, maxFactor, -5};
  std::uint32_t seed = 100;
  for (const auto& size : testing::kAwkwardSizes) {
    for (std::int32_t factor : factors) {
      cDIBSection picture = testing::RandomSurface(size.width, size.height, seed++);
      cDIBSection expected = testing::Copy(picture);
      ProgramRandomEngine draws = ProgramRandom();
      std::vector<Event> expectedEvents;
      ReferenceDiffusion(expected, factor, draws, expectedEvents);
      SCOPED_TRACE(::testing::Message()
                   << size.width << 'x' << size.height << " factor " << factor);
      const auto events =
          testing::Recorded([&](cImageProcessDIB& e) { e.Diffusion(picture, factor); });
      testing::ExpectSame(picture, expected, events, expectedEvents);
      // Exactly two draws per moved pixel, and the sequence goes on from there.
      EXPECT_TRUE(ProgramRandom() == draws);
    }
  }
}

// Draws at exact quarters make r × F − half land on halves, which go to the
// even neighbour; the largest draw stays below F − half.
TEST(Diffusion, OffsetsRoundHalvesToEven) {
  constexpr std::uint32_t quarter = 1u << 30, halfDraw = 1u << 31, top = 0xFFFFFFFFu;
  EXPECT_EQ((std::vector{ScatterHalf(1), ScatterHalf(3), ScatterHalf(5), ScatterHalf(6)}),
            (std::vector<decltype(ScatterHalf(1))>{0, 2, 2, 3}));
  EXPECT_EQ(ScatterOffset(halfDraw, 1), 0);      // 0.5 → 0
  EXPECT_EQ(ScatterOffset(halfDraw + 1, 1), 1);  // just above 0.5
  EXPECT_EQ(ScatterOffset(halfDraw, 3), 0);      // 1.5 − 2 = −0.5 → 0
  EXPECT_EQ(ScatterOffset(quarter, 3), -1);      // 0.75 − 2 = −1.25
  EXPECT_EQ(ScatterOffset(quarter, 6), -2);      // 1.5 − 3 = −1.5 → −2
  EXPECT_EQ(ScatterOffset(3 * quarter, 6), 2);   // 4.5 − 3 = 1.5 → 2
  EXPECT_EQ(ScatterOffset(halfDraw, 5), 0);      // 2.5 − 2 = 0.5 → 0
  EXPECT_EQ(ScatterOffset(0, 6), -3);
  EXPECT_EQ(ScatterOffset(top, 6), 3);  // 5.99… − 3
  EXPECT_EQ(ScatterOffset(top, 0), 0);
  // F = 2^31 − 1, half = 2^30. (2^31 + m)(2^31 − 1) / 2^32 − 2^30 is
  // −2^-32 for m = 1, 0.5 − 2^-31 for m = 2 and 1 − 3 × 2^-32 for m = 3:
  // a double could not tell the last two from 0.5 and 1.
  const std::int32_t f = 2147483647;
  EXPECT_EQ(ScatterOffset(halfDraw + 1, f), 0);
  EXPECT_EQ(ScatterOffset(halfDraw + 2, f), 0);
  EXPECT_EQ(ScatterOffset(halfDraw + 3, f), 1);
  EXPECT_EQ(ScatterOffset(top, f), 1073741823);  // 2^30 − 1.5 + 2^-32
}

// Every run starts the program-wide sequence from the same seed, and the
// engine is the standard 32-bit Mersenne twister: its 10000th output from the
// default seed is the value the C++ standard gives.
TEST(Diffusion, DrawsFromTheStandardTwisterWithAFixedSeed) {
  ProgramRandomEngine fresh(kProgramRandomSeed);
  std::mt19937 standard(kProgramRandomSeed);
  EXPECT_EQ(kProgramRandomSeed, std::mt19937::default_seed);
  fresh.discard(9999);
  standard.discard(9999);
  EXPECT_EQ(fresh(), 4123659995u);
  EXPECT_EQ(standard(), 4123659995u);
}

// An engine given a sequence of its own draws only from it: the program-wide
// one stays where it was, and two passes continue that one sequence.
TEST(Diffusion, AnEngineWithItsOwnSequenceLeavesTheProgramWideOneAlone) {
  const ProgramRandomEngine programWide = ProgramRandom();
  ProgramRandomEngine own(kProgramRandomSeed);
  own.discard(7);
  ProgramRandomEngine draws = own;
  cDIBSection picture = testing::RandomSurface(13, 6, 77);
  cDIBSection expected = testing::Copy(picture);
  std::vector<Event> expectedEvents;
  ReferenceDiffusion(expected, 6, draws, expectedEvents);
  ReferenceDiffusion(expected, 9, draws, expectedEvents);
  const auto events = testing::Recorded([&](cImageProcessDIB& e) {
    e.SetRandom(&own);
    e.Diffusion(picture, 6);
    e.Diffusion(picture, 9);
  });
  testing::ExpectSame(picture, expected, events, expectedEvents);
  EXPECT_TRUE(own == draws);
  EXPECT_TRUE(ProgramRandom() == programWide);
}

TEST(Diffusion, RefusesAnEmptyPicture) {
  const ProgramRandomEngine before = ProgramRandom();
  cDIBSection empty;
  EXPECT_TRUE(testing::Recorded([&](cImageProcessDIB& e) {
                testing::ExpectRefused([&] { e.Diffusion(empty, 6); },
                                       ImageProcessErrors::kEmptySurface);
              }).empty());
  EXPECT_TRUE(ProgramRandom() == before);
}

}  // namespace
}  // namespace fotavel
