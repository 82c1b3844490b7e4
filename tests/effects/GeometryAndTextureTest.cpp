// Geometry and texture: quarter turns, diffusion, the matrix effect and the local blur, each
// against its literal loop, with hand values.
#include <gtest/gtest.h>

#include <algorithm>
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
using testing::ExpectSameAsPlain;
using Events = std::vector<Event>;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// The turn as the operation is defined: destination column by destination column (= source row),
// with a Progress after each.
Events PlainTurn(cDIBSection& s, bool left) {
  const std::int32_t w = s.width(), h = s.height();
  cDIBSection out;
  if (!out.Create(h, w)) throw std::runtime_error("no memory");
  Events events{{Event::kInit, 3 * (h - 1)}};
  for (std::int32_t c = 0; c < h; ++c) {
    for (std::int32_t r = 0; r < w; ++r) {
      const std::uint8_t* from = s.row(c) + 3 * (w - 1 - r);
      std::copy_n(from, 3, left ? out.row(w - 1 - r) + 3 * (h - 1 - c) : out.row(r) + 3 * c);
    }
    events.push_back({Event::kProgress, 3 * c});
  }
  events.push_back({Event::kComplete, 0});
  s = std::move(out);
  return events;
}

// 131 x 150 mixes full and partial 64 x 64 tiles both ways. The turned picture is a new surface
// (its padding is not the sentinel). On screen the top row is the last storage row: turning
// right, the top-left pixel goes top right; turning left, bottom left.
TEST(Tourner, MatchesTheColumnLoop) {
  for (bool left : {false, true}) {
    cDIBSection picture = testing::RandomSurface(131, 150, left ? 1 : 2);
    const std::uint32_t topLeft = testing::PixelRGB(picture, 0, 149);
    cDIBSection expected = testing::Copy(picture);
    const Events expectedEvents = PlainTurn(expected, left);
    const auto events = testing::Recorded([&](cImageProcessDIB& e) { e.Tourner(picture, left); });
    EXPECT_EQ(testing::FirstDifference(picture, expected), "") << left;  // sizes included
    EXPECT_EQ(events, expectedEvents);
    EXPECT_EQ(testing::PixelRGB(picture, left ? 0 : 149, left ? 0 : 130), topLeft) << left;
  }
}

// The pass as defined, with its draws taken from `random` (a copy of the program-wide engine as it
// stood before the engine ran). Offsets are computed in long double, whose 64-bit mantissa holds
// k × F exactly for any 32-bit F.
Events PlainDiffusion(cDIBSection& s, std::int32_t factor, ProgramRandomEngine& random) {
  const long double f = factor < 0 ? 0 : factor;  // a negative factor counts as 0
  const long double half = std::nearbyint(f / 2);
  const std::int32_t w = s.width(), h = s.height();
  Events events{{Event::kInit, h - 1}};
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
  return events;
}

// 301 columns draw 600 numbers a row: the generator refills its state many times over. Every run
// starts the program-wide sequence from the standard 32-bit Mersenne twister's default seed: its
// 10000th output is the value the C++ standard gives.
TEST(Diffusion, MatchesTheScanOrderLoopWithTheSameDraws) {
  ProgramRandomEngine fresh(kProgramRandomSeed);
  fresh.discard(9999);
  EXPECT_EQ(fresh(), 4123659995u);
  std::uint32_t seed = 100;
  for (const std::int32_t factor : {6, 0, 1, 5, 40, 1 << 24, kMax, -5}) {
    SCOPED_TRACE(::testing::Message() << "factor " << factor);
    ProgramRandomEngine draws = ProgramRandom();
    ExpectSameAsPlain(
        testing::RandomSurface(301, 203, seed++),
        [&](cImageProcessDIB& e, cDIBSection& s) { e.Diffusion(s, factor); },
        [&](cDIBSection& s) { return PlainDiffusion(s, factor, draws); });
    // Exactly two draws per moved pixel, and the sequence goes on from there.
    EXPECT_TRUE(ProgramRandom() == draws);
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
      {halfDraw, 3, 0},  // 1.5 − 2 = −0.5 → 0
      {quarter, 6, -2},  // 1.5 − 3 = −1.5 → −2
      {top, 6, 3},       // 5.99… − 3
      {halfDraw + 2, 2147483647, 0},
      {halfDraw + 3, 2147483647, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScatterOffset(c.draw, c.factor), c.offset) << c.draw << " × " << c.factor;
  }
}

using List = std::vector<std::int32_t>;

const List kFindEdges = {3, 3, 1, 0, -1, -1, -1, -1, 8, -1, -1, -1, -1};

// The operation as defined: rows outer, columns inner; dy outer, dx inner; signed 16-bit
// accumulators; the rounding done in floating point, which is exact for the moderate divisors and
// biases used with it here.
Events PlainMathematique(cDIBSection& s, const List& p) {
  const std::int32_t w = s.width(), h = s.height();
  const std::int32_t n = p[0], half = n / 2;
  cDIBSection out = testing::Copy(s);
  Events events{{Event::kInit, h - 1}};
  for (std::int32_t y = 0; y < h; ++y) {
    for (std::int32_t i = 0; i < w; ++i) {
      std::int16_t acc[3] = {0, 0, 0};
      for (std::int32_t dy = -half; dy <= half; ++dy) {
        for (std::int32_t dx = -half; dx <= half; ++dx) {
          if (i + dx < 0 || i + dx >= w || y + dy < 0 || y + dy >= h) continue;
          const std::int32_t entry = p[4 + (dx + half) * n + (dy + half)];
          for (int c = 0; c < 3; ++c) {
            const std::int32_t sum = acc[c] + entry * s.row(y + dy)[3 * (i + dx) + c];
            EXPECT_TRUE(sum >= -32768 && sum <= 32767) << "list leaves 16 bits";
            acc[c] = static_cast<std::int16_t>(sum);
          }
        }
      }
      for (int c = 0; c < 3; ++c) {
        const double v = std::nearbyint(double(acc[c]) / p[2] + p[3]);
        out.row(y)[3 * i + c] = static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
      }
    }
    events.push_back({Event::kProgress, y});
  }
  events.push_back({Event::kComplete, 0});
  s = std::move(out);
  return events;
}

// Find edges, the list the program passes (a divisor of 1), and a 9 x 9 matrix with a divisor of
// −2, whose halves go to even, wider than the 5 x 4 picture: every pixel is an edge pixel. 521
// columns are more than one chunk of the pass's sums.
TEST(EffMathematique, MatchesTheLiteralLoop) {
  List wide = {9, 9, -2, 7};
  for (int k = 0; k < 81; ++k) wide.push_back(k % 5 == 0 ? 1 : k % 7 == 0 ? -1 : 0);
  std::uint32_t seed = 300;
  for (const auto [w, h] : {testing::Size{5, 4}, {521, 9}}) {
    for (const List& p : {kFindEdges, wide}) {
      SCOPED_TRACE(::testing::Message() << w << 'x' << h << " n " << p[0] << " divisor " << p[2]);
      ExpectSameAsPlain(
          testing::RandomSurface(w, h, seed++),
          [&](cImageProcessDIB& e, cDIBSection& s) { e.Eff_Mathematique(s, p); },
          [&](cDIBSection& s) { return PlainMathematique(s, p); });
    }
  }
}

// Event values beyond 32 bits (absurd rectangles only) are held at the limit.
std::int32_t Held(long long v) {
  return static_cast<std::int32_t>(std::clamp<long long>(v, kMin, kMax));
}

struct Rect {
  std::int32_t debutx, debuty, finx, finy;
};

// The operation as defined: nine passes, column by column, upwards within a column, in place, each
// pixel from its eight neighbours as they stand.
Events PlainFlouLocal(cDIBSection& s, const Rect& r) {
  const long long w = s.width(), h = s.height();
  const long long xs = std::max<long long>(r.debutx, 3), xe = std::min<long long>(r.finx, w - 3);
  const long long first = h - std::min<long long>(r.finy, h - 1);
  const long long last = h - std::max<long long>(r.debuty, 2);
  Events events{{Event::kInit, Held(24 * (xe - xs))}};
  for (long long p = 0; p <= 8; ++p) {
    for (long long x = xs; x <= xe; ++x) {
      for (long long y = first; y <= last; ++y) {
        for (int c = 0; c < 3; ++c) {
          int sum = 0;
          for (int k = 0; k < 9; ++k) {
            if (k != 4) sum += s.row(int(y + k / 3 - 1))[3 * (x + k % 3 - 1) + c];
          }
          s.row(int(y))[3 * x + c] = static_cast<std::uint8_t>(sum >> 3);
        }
      }
      events.push_back({Event::kProgress, Held(3 * x + 3 * (p * (xe - xs) - xs))});
    }
    events.push_back({Event::kProgress, Held(3 * p * (xe - xs))});
  }
  events.push_back({Event::kComplete, 0});
  return events;
}

// The pass walks four columns at a time, each two rows behind the one on its left: 8 rows leave
// it no steady steps, 13 a few, 203 many; 301 columns end on a single one.
TEST(FlouLocal, MatchesTheColumnPassesOnAwkwardSizesAndRectangles) {
  std::uint32_t seed = 500;
  for (const auto [w, h] : {testing::Size{9, 8}, {17, 13}, {301, 203}}) {
    const Rect rects[] = {
        {0, 0, w, h},                      // whole picture, held to the limits
        {w / 3, h / 4, 2 * w / 3, h / 2},  // inside
        {4, 3, 4, 3},                      // one column, one row at most
        {w / 2, 0, w / 2 - 5, h},          // columns empty: xs > xe
        {0, h / 2 + 3, w, h / 2},          // rows empty
        {kMin, kMin, kMax, kMax},
        {kMax, kMax, kMin, kMin},
    };
    for (const Rect& r : rects) {
      SCOPED_TRACE(::testing::Message() << w << 'x' << h << " rect " << r.debutx << ',' << r.debuty
                                        << ',' << r.finx << ',' << r.finy);
      ExpectSameAsPlain(
          testing::RandomSurface(w, h, seed++),
          [&](cImageProcessDIB& e, cDIBSection& s) {
            e.FlouLocal(s, r.debutx, r.debuty, r.finx, r.finy);
          },
          [&](cDIBSection& s) { return PlainFlouLocal(s, r); });
    }
  }
}

}  // namespace
}  // namespace fotavel
