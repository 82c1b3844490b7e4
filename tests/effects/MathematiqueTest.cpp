// Eff_Mathematique: the literal 16-bit loop on random lists, hand values, find edges, refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "effects/Checks.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel {
namespace {

using testing::Event;
using List = std::vector<std::int32_t>;

const List kFindEdges = {3, 3, 1, 0, -1, -1, -1, -1, 8, -1, -1, -1, -1};

// The operation as defined: rows outer, columns inner; dy outer, dx inner;
// signed 16-bit accumulators; the rounding done in floating point, which is
// exact for the moderate divisors and biases used with it here.
cDIBSection ReferenceMathematique(const cDIBSection& s, const List& p, std::vector<Event>& events) {
  const std::int32_t w = s.width(), h = s.height();
  const std::int32_t n = p[0], half = n / 2;
  cDIBSection out = testing::Copy(s);
  events.push_back({Event::kInit, h - 1});
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
        out.row(y)[3 * i + c] = static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
      }
    }
    events.push_back({Event::kProgress, y});
  }
  events.push_back({Event::kComplete, 0});
  return out;
}

// A list of size n whose entries lie in -4 … 4 (so its sums stay in 16 bits),
// with a divisor other than 1 (sometimes negative) and a bias.
List RandomList(std::int32_t n, std::mt19937& random) {
  std::uniform_int_distribution<int> entry(-4, 4), divisor(2, 9), bias(-40, 200), sign(0, 3);
  List p = {n, n, divisor(random) * (sign(random) == 0 ? -1 : 1), bias(random)};
  for (std::int32_t k = 0; k < n * n; ++k) p.push_back(entry(random));
  return p;
}

void ExpectSameAsReference(cDIBSection picture, const List& p) {
  std::vector<Event> expectedEvents;
  const cDIBSection expected = ReferenceMathematique(picture, p, expectedEvents);
  const auto events =
      testing::Recorded([&](cImageProcessDIB& e) { e.Eff_Mathematique(picture, p); });
  testing::ExpectSame(picture, expected, events, expectedEvents);
}

TEST(EffMathematique, MatchesTheLiteralLoopOnAwkwardSizes) {
  std::mt19937 random(2024);
  std::uint32_t seed = 300;
  for (const auto& size : testing::kAwkwardSizes) {
    SCOPED_TRACE(::testing::Message() << size.width << 'x' << size.height);
    ExpectSameAsReference(testing::RandomSurface(size.width, size.height, seed++), kFindEdges);
    for (std::int32_t n : {1, 3, 5}) {
      const List p = RandomList(n, random);
      SCOPED_TRACE(::testing::Message() << "n " << n << " divisor " << p[2] << " bias " << p[3]);
      ExpectSameAsReference(testing::RandomSurface(size.width, size.height, seed++), p);
    }
  }
  // A matrix wider than the picture: every pixel is an edge pixel.
  List wide = {9, 9, 3, 7};
  for (int k = 0; k < 81; ++k) wide.push_back(k % 5 == 0 ? 1 : k % 7 == 0 ? -1 : 0);
  ExpectSameAsReference(testing::RandomSurface(5, 4, 9), wide);
}

// One pixel, one entry: the sum is the byte itself, so each channel shows the
// rounding directly. Halves go to the even neighbour; the bias takes part in
// the rounding (1 / 2 + 1 = 1.5 gives 2, 3 / 2 + 1 = 2.5 gives 2).
TEST(EffMathematique, RoundsHalvesToEvenAfterAddingTheBias) {
  struct Case {
    List p;
    std::uint32_t in, out;  // 0xRRGGBB
  };
  const Case cases[] = {
      {{1, 1, 2, 0, 1}, 0x010305, 0x000202},               // 0.5, 1.5, 2.5 → 0, 2, 2
      {{1, 1, 2, 1, 1}, 0x010305, 0x020204},               // 1.5, 2.5, 3.5 → 2, 2, 4
      {{1, 1, -2, 100, 1}, 0x010305, 0x646262},            // 99.5, 98.5, 97.5 → 100, 98, 98
      {{1, 1, 4, 0, 1}, 0x02060A, 0x000202},               // 0.5, 1.5, 2.5 → 0, 2, 2
      {{1, 1, 3, 0, 1}, 0x010204, 0x000101},               // 0.33, 0.67, 1.33 → 0, 1, 1
      {{1, 1, 1, -10, 1}, 0x050FFF, 0x0005F5},             // clamped at 0
      {{1, 1, 1, 2000000000, 1}, 0x000000, 0xFFFFFF},      // clamped at 255
      {{1, 1, 2147483647, 255, 128}, 0xFFFFFF, 0xFFFFFF},  // tiny quotients, bias alone
      {{1, 1, -2147483647, 1, -128}, 0xFF0000, 0x010101},  // 32640 / (2^31 − 1) + 1 → 1
  };
  for (const Case& c : cases) {
    cDIBSection picture = testing::UniformSurface(1, 1, 0, 0, 0);
    testing::SetPixelRGB(picture, 0, 0, c.in);
    cImageProcessDIB engine;
    engine.Eff_Mathematique(picture, c.p);
    EXPECT_EQ(testing::PixelRGB(picture, 0, 0), c.out)
        << "divisor " << c.p[2] << " bias " << c.p[3] << " in " << std::hex << c.in;
  }
}

TEST(EffMathematique, RefusesListsItCannotComputeAndChangesNothing) {
  using namespace ImageProcessErrors;
  struct Case {
    List p;
    ErrorKind kind;
  };
  const Case cases[] = {
      {{3, 5, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, kBadMatrix},  // not square
      {{2, 2, 1, 0, 1, 1, 1, 1}, kBadMatrix},                                   // even
      {{0, 0, 1, 0}, kBadMatrix},
      {{-1, -1, 1, 0, 1}, kBadMatrix},
      {{3, 3, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1}, kBadMatrix},  // eight entries of nine
      {{1, 1, 1}, kBadMatrix},
      {{}, kBadMatrix},
      {{2147483647, 2147483647, 1, 0, 1}, kBadMatrix},
      {{1, 1, 0, 0, 1}, kZeroDivisor},
      {{1, 1, 1, 0, 129}, kMatrixRange},                                 // 255 × 129 = 32895
      {{1, 1, 1, 0, -129}, kMatrixRange},                                // −32895
      {{3, 3, 1, 0, 15, 15, 15, 15, 15, 15, 15, 15, 15}, kMatrixRange},  // 255 × 135
      {{3, 3, 1, 0, -17, -17, -17, -17, 100, -17, -17, -17, -17}, kMatrixRange},  // 255 × −136
  };
  cImageProcessDIB engine;
  testing::EventRecorder recorder;
  engine.SetListener(&recorder);
  cDIBSection picture = testing::RandomSurface(5, 4, 12);
  const cDIBSection original = testing::Copy(picture);
  for (std::size_t k = 0; k < std::size(cases); ++k) {
    SCOPED_TRACE(::testing::Message() << "case " << k);
    testing::ExpectRefused([&] { engine.Eff_Mathematique(picture, cases[k].p); }, cases[k].kind);
  }
  EXPECT_EQ(testing::FirstDifference(picture, original), "");
  EXPECT_TRUE(testing::PaddingIntact(picture));
  EXPECT_TRUE(recorder.events.empty());

  cDIBSection empty;
  testing::ExpectRefused([&] { engine.Eff_Mathematique(empty, kFindEdges); }, kEmptySurface);
  EXPECT_TRUE(recorder.events.empty());
}

// The limits themselves are computable: 255 × 128 = 32640 and −32640.
TEST(EffMathematique, AcceptsTheLargestListsThatStayIn16Bits) {
  ExpectSameAsReference(testing::RandomSurface(9, 7, 13), {1, 1, 3, 5, 128});
  ExpectSameAsReference(testing::RandomSurface(9, 7, 14), {1, 1, -3, 5, -128});
  List mixed = {3, 3, 7, -3};
  for (int k = 0; k < 9; ++k) mixed.push_back(k % 2 == 0 ? 25 : -32);  // 125 and −128
  ExpectSameAsReference(testing::RandomSurface(9, 7, 15), mixed);
}

TEST(EffMathematique, AFailedAllocationChangesNothingAndRaisesNothing) {
  cDIBSection picture = testing::RandomSurface(9, 5, 4);
  const cDIBSection original = testing::Copy(picture);
  const testing::NoMoreSurfaceMemory full;
  EXPECT_TRUE(testing::Recorded([&](cImageProcessDIB& e) {
                testing::ExpectRefused([&] { e.Eff_Mathematique(picture, kFindEdges); },
                                       ImageProcessErrors::kOutOfMemory);
              }).empty());
  EXPECT_EQ(testing::FirstDifference(picture, original), "");
}

}  // namespace
}  // namespace fotavel
