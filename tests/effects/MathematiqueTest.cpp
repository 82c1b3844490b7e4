// Eff_Mathematique: the literal 16-bit loop on the find-edges list and on random lists. The
// program passes only the find-edges list (the document's test pins it by hand), so the refusals
// of lists it never passes are left to the code.
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

}  // namespace
}  // namespace fotavel
