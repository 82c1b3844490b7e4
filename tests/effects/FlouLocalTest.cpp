// FlouLocal: the nine literal column passes on many rectangles and limits; by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "effects/Checks.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel {
namespace {

using testing::Event;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// Event values beyond 32 bits (absurd rectangles only) are held at the limit.
std::int32_t Held(long long v) {
  return static_cast<std::int32_t>(std::clamp<long long>(v, kMin, kMax));
}

// The operation as defined: nine passes, column by column, upwards within a
// column, in place, each pixel from its eight neighbours as they stand.
void ReferenceFlouLocal(cDIBSection& s, std::int32_t debutx, std::int32_t debuty, std::int32_t finx,
                        std::int32_t finy, std::vector<Event>& events) {
  const long long w = s.width(), h = s.height();
  const long long xs = std::max<long long>(debutx, 3), xe = std::min<long long>(finx, w - 3);
  const long long first = h - std::min<long long>(finy, h - 1);
  const long long last = h - std::max<long long>(debuty, 2);
  events.push_back({Event::kInit, Held(24 * (xe - xs))});
  for (long long p = 0; p <= 8; ++p) {
    for (long long x = xs; x <= xe; ++x) {
      for (long long y = first; y <= last; ++y) {
        for (int c = 0; c < 3; ++c) {
          int sum = 0;
          for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
              if (dx != 0 || dy != 0) sum += s.row(int(y + dy))[3 * (x + dx) + c];
            }
          }
          s.row(int(y))[3 * x + c] = static_cast<std::uint8_t>(sum >> 3);
        }
      }
      events.push_back({Event::kProgress, Held(3 * x + 3 * (p * (xe - xs) - xs))});
    }
    events.push_back({Event::kProgress, Held(3 * p * (xe - xs))});
  }
  events.push_back({Event::kComplete, 0});
}

struct Rect {
  std::int32_t debutx, debuty, finx, finy;
};

void ExpectSameAsReference(cDIBSection picture, const Rect& r) {
  cDIBSection expected = testing::Copy(picture);
  std::vector<Event> expectedEvents;
  ReferenceFlouLocal(expected, r.debutx, r.debuty, r.finx, r.finy, expectedEvents);
  const auto events = testing::Recorded(
      [&](cImageProcessDIB& e) { e.FlouLocal(picture, r.debutx, r.debuty, r.finx, r.finy); });
  SCOPED_TRACE(::testing::Message()
               << picture.width() << 'x' << picture.height() << " rect " << r.debutx << ','
               << r.debuty << ',' << r.finx << ',' << r.finy);
  testing::ExpectSame(picture, expected, events, expectedEvents);
}

TEST(FlouLocal, MatchesTheColumnPassesOnAwkwardSizesAndRectangles) {
  std::uint32_t seed = 500;
  for (const auto& size : testing::kAwkwardSizes) {
    const std::int32_t w = size.width, h = size.height;
    const Rect rects[] = {
        {0, 0, w, h},                      // whole picture, held to the limits
        {w / 3, h / 4, 2 * w / 3, h / 2},  // inside
        {4, 3, 4, 3},                      // one column, one row at most
        {w / 2, 0, w / 2 - 5, h},          // columns empty: xs > xe
        {0, h / 2 + 3, w, h / 2},          // rows empty
        {kMin, kMin, kMax, kMax},
        {kMax, kMax, kMin, kMin},
    };
    for (const Rect& r : rects) ExpectSameAsReference(testing::RandomSurface(w, h, seed++), r);
  }
}

// On a black 9 x 8 picture, the rectangle 3, 4, 3, 5 is column 3, storage
// rows 8 − 5 = 3 to 8 − 4 = 4. Its right neighbour (4, 3) is lit (blue 240,
// green 80, red 8). Blue, pass 1: (3, 3) = 240 >> 3 = 30, then (3, 4) sees
// 240 and the new 30: 270 >> 3 = 33. Pass 2: (3, 3) = (240 + 33) >> 3 = 34,
// (3, 4) = (240 + 34) >> 3 = 34, and so it stays. Green: 10, 11, then 11, 11.
// Red: 1, 1.
TEST(FlouLocal, ReadsThePixelBelowWithItsNewValue) {
  cDIBSection dot = testing::UniformSurface(9, 8, 0, 0, 0);
  testing::SetPixelRGB(dot, 4, 3, 0x0850F0);
  cDIBSection expected = testing::Copy(dot);
  testing::SetPixelRGB(expected, 3, 3, 0x010B22);
  testing::SetPixelRGB(expected, 3, 4, 0x010B22);
  cImageProcessDIB engine;
  engine.FlouLocal(dot, 3, 4, 3, 5);
  EXPECT_EQ(testing::FirstDifference(dot, expected), "");
}

}  // namespace
}  // namespace fotavel
