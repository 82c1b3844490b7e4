// Red eyes on made-up faces: the pupil made dark and neutral, the rest kept to the bit, hand
// values.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <vector>

#include "effects/Checks.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel {
namespace {

using namespace testing;

struct Bgr {
  std::int32_t b, g, r;
  bool operator==(const Bgr&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Bgr& p) {
  return os << "(B " << p.b << ", G " << p.g << ", R " << p.r << ')';
}

// Pixel (x, y) counted from the top-left as displayed.
Bgr Read(const cDIBSection& s, std::int32_t x, std::int32_t y) {
  const std::uint8_t* p = s.row(s.height() - 1 - y) + 3 * x;
  return {p[0], p[1], p[2]};
}

// Skin (red 1.3 times green: warm, yet no pupil) with flash-red disks of radius r at (x, y).
cDIBSection Face(std::int32_t width, std::int32_t height, std::vector<std::array<int, 3>> disks) {
  cDIBSection face = UniformSurface(width, height, 150, 170, 220);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      for (const auto& [cx, cy, r] : disks) {
        if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r)
          SetPixelRGB(face, x, height - 1 - y, 0xC82D28);
      }
    }
  }
  return face;
}

std::int64_t CountDifferent(const cDIBSection& a, const cDIBSection& b) {
  std::int64_t n = 0;
  for (std::int32_t y = 0; y < a.height(); ++y) {
    for (std::int32_t x = 0; x < a.width(); ++x) n += Read(a, x, y) == Read(b, x, y) ? 0 : 1;
  }
  return n;
}

TEST(RedEyes, PupilBecomesDarkAndNeutralAndTheSkinKeepsItsBits) {
  const cDIBSection before = Face(41, 31, {{20, 15, 6}});
  cDIBSection face = Copy(before);
  std::int64_t changed = 0;
  // A click a little beside the centre, as a hand gives it.
  const auto events = Recorded([&](cImageProcessDIB& e) { changed = e.RedEyes(face, 22, 14, 10); });
  for (std::int32_t y = 0; y < 31; ++y) {
    for (std::int32_t x = 0; x < 41; ++x) {
      const std::int32_t d2 = (x - 20) * (x - 20) + (y - 15) * (y - 15);
      const Bgr now = Read(face, x, y);
      if (d2 > 36) {
        EXPECT_EQ(now, Read(before, x, y)) << x << "," << y;
        continue;
      }
      // Neutral to the rim; dark, and darkest inside, where the rim's softening ends.
      EXPECT_LE(std::abs(now.r - now.g), 3) << x << "," << y;
      EXPECT_LE(std::abs(now.r - now.b), 3) << x << "," << y;
      EXPECT_LE(now.r + now.g + now.b, 3 * (d2 <= 16 ? 21 : 40)) << x << "," << y;
    }
  }
  // The 113 pixels of the disk, and only they.
  EXPECT_EQ(changed, 113);
  EXPECT_EQ(CountDifferent(before, face), 113);
  EXPECT_TRUE(PaddingIntact(face));
  // The box of the disk around the click, rows 4 … 24, a Progress after each.
  std::vector<Event> want{{Event::kInit, 20}};
  for (std::int32_t row = 0; row <= 20; ++row) want.push_back({Event::kProgress, row});
  want.push_back({Event::kComplete, 0});
  EXPECT_EQ(events, want);
  // Done again, the pupil is no longer red: nothing is found.
  EXPECT_EQ(cImageProcessDIB().RedPupilSize(face, 22, 14, 10), 0);
}

TEST(RedEyes, OnlyTheNearestPupilWithinTheRadiusAndNothingBeyondIt) {
  // Two eyes, the left one higher; the click reaches both, the right one nearer.
  const cDIBSection before = Face(61, 31, {{20, 12, 3}, {32, 16, 3}});
  cDIBSection face = Copy(before);
  cImageProcessDIB engine;
  EXPECT_EQ(engine.RedEyes(face, 29, 15, 20), 29);
  EXPECT_EQ(CountDifferent(before, face), 29);
  EXPECT_LT(Read(face, 32, 16).r, 40);
  EXPECT_EQ(Read(face, 20, 12), Read(before, 20, 12));

  // The right pupil's nearest pixel, (35, 16), lies 11 from (46, 16): a radius of 10 finds
  // nothing and raises no event, one of 11 finds that pixel alone.
  cDIBSection again = Copy(before);
  std::int64_t changed = -1;
  const auto events =
      Recorded([&](cImageProcessDIB& e) { changed = e.RedEyes(again, 46, 16, 10); });
  EXPECT_EQ(changed, 0);
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(CountDifferent(before, again), 0);
  EXPECT_EQ(engine.RedPupilSize(before, 46, 16, 11), 1);
}

TEST(RedEyes, HandValuesAndThresholds) {
  // 3 x 3 of (B 40, G 60, R 200): made neutral, (40, 60, 50), then darkened towards (20, 30, 25)
  // by ninths, 9 at the centre, 6 on the sides, 4 at the corners.
  cDIBSection s = UniformSurface(3, 3, 40, 60, 200);
  cImageProcessDIB engine;
  EXPECT_EQ(engine.RedEyes(s, 0, 2, 5), 9);
  EXPECT_EQ(Read(s, 1, 1), (Bgr{20, 30, 25}));
  // (40·3 + 20·6 + 4) / 9 = 27, (60·3 + 30·6 + 4) / 9 = 40, (50·3 + 25·6 + 4) / 9 = 33.
  EXPECT_EQ(Read(s, 1, 0), (Bgr{27, 40, 33}));
  // (40·5 + 20·4 + 4) / 9 = 31, (60·5 + 30·4 + 4) / 9 = 47, (50·5 + 25·4 + 4) / 9 = 39.
  EXPECT_EQ(Read(s, 2, 2), (Bgr{31, 47, 39}));

  // Red at least 80 and 2 R > 3 max(G, B): a pupil alone weighs 1/9, (53·8 + 26 + 4) / 9 = 50.
  cDIBSection justRed = UniformSurface(1, 1, 53, 53, 80);
  cDIBSection tooGreen = UniformSurface(1, 1, 53, 54, 80);
  cDIBSection tooDark = UniformSurface(1, 1, 0, 0, 79);
  EXPECT_EQ(engine.RedEyes(justRed, 0, 0, 1), 1);
  EXPECT_EQ(Read(justRed, 0, 0), (Bgr{50, 50, 50}));
  EXPECT_EQ(engine.RedEyes(tooGreen, 0, 0, 1), 0);
  EXPECT_EQ(engine.RedEyes(tooDark, 0, 0, 1), 0);
}

TEST(RedEyes, RefusesAPointOutsideOrNoRadiusAndChangesNothing) {
  cDIBSection face = Face(41, 31, {{20, 15, 6}});
  const cDIBSection before = Copy(face);
  cImageProcessDIB engine;
  for (const auto& [x, y, r] : {std::array{-1, 15, 5}, std::array{41, 15, 5}, std::array{20, -1, 5},
                                std::array{20, 31, 5}, std::array{20, 15, 0}}) {
    ExpectRefused([&] { engine.RedEyes(face, x, y, r); }, ImageProcessErrors::kRedEyePoint);
  }
  EXPECT_EQ(CountDifferent(before, face), 0);
  cDIBSection empty;
  ExpectRefused([&] { engine.RedEyes(empty, 0, 0, 1); }, ImageProcessErrors::kEmptySurface);
}

}  // namespace
}  // namespace fotavel
