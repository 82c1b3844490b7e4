// Diffusion: the literal scan-order loop fed with the same draws, rounding, the fixed seed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
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
  const std::int32_t factors[] = {6, 0, 1, 5, 40, 1 << 24, maxFactor, -5};
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

// Draws at exact quarters make r × F − half land on halves, which go to the even neighbour; the
// largest draw stays below F − half. For F = 2^31 − 1 (half = 2^30), (2^31 + m)(2^31 − 1) / 2^32 −
// 2^30 is 0.5 − 2^-31 for m = 2 and 1 − 3 × 2^-32 for m = 3: a double could not tell them from 0.5
// and 1.
TEST(Diffusion, OffsetsRoundHalvesToEven) {
  constexpr std::uint32_t quarter = 1u << 30, halfDraw = 1u << 31, top = 0xFFFFFFFFu;
  const struct {
    std::uint32_t draw;
    std::int32_t factor, offset;
  } cases[] = {
      {halfDraw, 1, 0},     // 0.5 → 0
      {halfDraw, 3, 0},     // 1.5 − 2 = −0.5 → 0
      {quarter, 6, -2},     // 1.5 − 3 = −1.5 → −2
      {3 * quarter, 6, 2},  // 4.5 − 3 = 1.5 → 2
      {top, 6, 3},          // 5.99… − 3
      {halfDraw + 2, 2147483647, 0},
      {halfDraw + 3, 2147483647, 1},
      {top, 2147483647, 1073741823},  // 2^30 − 1.5 + 2^-32
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScatterOffset(c.draw, c.factor), c.offset) << c.draw << " × " << c.factor;
  }
}

// Every run starts the program-wide sequence from the same seed, the standard 32-bit Mersenne
// twister's default: its 10000th output is the value the C++ standard gives.
TEST(Diffusion, DrawsFromTheStandardTwisterWithAFixedSeed) {
  ProgramRandomEngine fresh(kProgramRandomSeed);
  fresh.discard(9999);
  EXPECT_EQ(fresh(), 4123659995u);
}

}  // namespace
}  // namespace fotavel
