// Red eyes on made-up faces: the pupil made dark and neutral, the rest kept to the bit, hand
// values.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <vector>

#include "effects/Checks.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel {
namespace {

using testing::Copy;
using testing::Event;
using testing::ExpectRefused;
using testing::PaddingIntact;
using testing::Recorded;
using testing::UniformSurface;

struct Bgr {
  std::int32_t b, g, r;
  bool operator==(const Bgr&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Bgr& p) {
  return os << "(B " << p.b << ", G " << p.g << ", R " << p.r << ')';
}

// Pixel (x, y) counted from the top-left as displayed.
std::uint8_t* At(cDIBSection& s, std::int32_t x, std::int32_t y) {
  return s.row(s.height() - 1 - y) + 3 * x;
}
Bgr Read(const cDIBSection& s, std::int32_t x, std::int32_t y) {
  const std::uint8_t* p = s.row(s.height() - 1 - y) + 3 * x;
  return {p[0], p[1], p[2]};
}
void Disk(cDIBSection& s, std::int32_t cx, std::int32_t cy, std::int32_t radius, Bgr colour) {
  for (std::int32_t y = 0; y < s.height(); ++y) {
    for (std::int32_t x = 0; x < s.width(); ++x) {
      if ((x - cx) * (x - cx) + (y - cy) * (y - cy) > radius * radius) continue;
      std::uint8_t* p = At(s, x, y);
      p[0] = std::uint8_t(colour.b), p[1] = std::uint8_t(colour.g), p[2] = std::uint8_t(colour.r);
    }
  }
}

// Skin whose red is 1.3 times its green: warm, yet no pupil.
constexpr Bgr kSkin{150, 170, 220};
constexpr Bgr kFlashRed{40, 45, 200};

// A face of 41 x 31 with a red pupil of radius 6 at (20, 15).
cDIBSection Face() {
  cDIBSection face = UniformSurface(41, 31, kSkin.b, kSkin.g, kSkin.r);
  Disk(face, 20, 15, 6, kFlashRed);
  return face;
}

std::int64_t CountDifferent(const cDIBSection& a, const cDIBSection& b) {
  std::int64_t n = 0;
  for (std::int32_t y = 0; y < a.height(); ++y) {
    for (std::int32_t x = 0; x < a.width(); ++x) {
      const Bgr p = Read(a, x, y), q = Read(b, x, y);
      n += (p.b != q.b || p.g != q.g || p.r != q.r) ? 1 : 0;
    }
  }
  return n;
}

TEST(RedEyes, PupilBecomesDarkAndNeutralAndTheSkinKeepsItsBits) {
  const cDIBSection before = Face();
  cDIBSection face = Copy(before);
  std::int64_t changed = 0;
  // A click a little beside the centre, as a hand gives it.
  const auto events = Recorded([&](cImageProcessDIB& e) { changed = e.RedEyes(face, 22, 14, 10); });
  std::int64_t disk = 0;
  for (std::int32_t y = 0; y < 31; ++y) {
    for (std::int32_t x = 0; x < 41; ++x) {
      const std::int32_t d2 = (x - 20) * (x - 20) + (y - 15) * (y - 15);
      const Bgr was = Read(before, x, y), now = Read(face, x, y);
      if (d2 > 36) {
        EXPECT_TRUE(was.b == now.b && was.g == now.g && was.r == now.r) << x << "," << y;
        continue;
      }
      ++disk;
      // Neutral to the rim; dark, and darkest inside, where the rim's softening ends.
      EXPECT_LE(std::abs(now.r - now.g), 3) << x << "," << y;
      EXPECT_LE(std::abs(now.r - now.b), 3) << x << "," << y;
      EXPECT_LE(now.r + now.g + now.b, 3 * (d2 <= 16 ? 21 : 40)) << x << "," << y;
    }
  }
  EXPECT_EQ(changed, disk);
  EXPECT_EQ(CountDifferent(before, face), disk);
  EXPECT_TRUE(PaddingIntact(face));
  // The box of the disk around the click, rows 4 … 24, a Progress after each.
  std::vector<Event> want{{Event::kInit, 20}};
  for (std::int32_t row = 0; row <= 20; ++row) want.push_back({Event::kProgress, row});
  want.push_back({Event::kComplete, 0});
  EXPECT_EQ(events, want);

  // Done again, the pupil is no longer red: nothing is found.
  cDIBSection again = Copy(face);
  cImageProcessDIB engine;
  EXPECT_EQ(engine.RedEyes(again, 22, 14, 10), 0);
  EXPECT_EQ(CountDifferent(again, face), 0);
}

TEST(RedEyes, AClickAwayFromAnyRedChangesNothingAndRaisesNoEvent) {
  cDIBSection face = Face();
  const cDIBSection before = Copy(face);
  std::int64_t changed = -1;
  // The pupil's nearest pixel, (14, 15), lies 8 from (6, 15).
  const auto events = Recorded([&](cImageProcessDIB& e) { changed = e.RedEyes(face, 6, 15, 7); });
  EXPECT_EQ(changed, 0);
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(CountDifferent(before, face), 0);
  cImageProcessDIB engine;
  EXPECT_EQ(engine.RedPupilSize(face, 6, 15, 7), 0);
  // One pixel more of radius reaches it, and only it: the pupil stops at the disk.
  EXPECT_EQ(engine.RedPupilSize(face, 6, 15, 8), 1);
  EXPECT_EQ(CountDifferent(before, face), 0);
}

TEST(RedEyes, OnlyTheNearestPupilAndOnlyInsideTheRadius) {
  // Two eyes on one row, the left one higher: the click reaches both.
  cDIBSection face = UniformSurface(61, 31, kSkin.b, kSkin.g, kSkin.r);
  Disk(face, 20, 12, 3, kFlashRed);
  Disk(face, 32, 16, 3, kFlashRed);
  const cDIBSection before = Copy(face);
  cImageProcessDIB engine;
  EXPECT_EQ(engine.RedEyes(face, 29, 15, 20), 29);
  EXPECT_EQ(CountDifferent(before, face), 29);
  EXPECT_LT(Read(face, 32, 16).r, 40);
  EXPECT_EQ(Read(face, 20, 12).r, kFlashRed.r);

  // A red patch larger than the radius (a red sweater): only the disk changes.
  cDIBSection patch = UniformSurface(21, 21, kFlashRed.b, kFlashRed.g, kFlashRed.r);
  const cDIBSection red = Copy(patch);
  EXPECT_EQ(engine.RedEyes(patch, 10, 10, 2), 13);
  EXPECT_EQ(CountDifferent(red, patch), 13);
  EXPECT_EQ(Read(patch, 10, 13).r, kFlashRed.r);
  EXPECT_LT(Read(patch, 10, 12).r, kFlashRed.r);
}

TEST(RedEyes, HandValues) {
  // 3 x 3 of (B 40, G 60, R 200): made neutral, (40, 60, 50), then darkened
  // towards (20, 30, 25) by ninths, 9 at the centre, 6 on the sides, 4 at
  // the corners.
  cDIBSection s = UniformSurface(3, 3, 40, 60, 200);
  cImageProcessDIB engine;
  EXPECT_EQ(engine.RedEyes(s, 0, 2, 5), 9);
  EXPECT_EQ(Read(s, 1, 1), (Bgr{20, 30, 25}));
  // (40·3 + 20·6 + 4) / 9 = 27, (60·3 + 30·6 + 4) / 9 = 40, (50·3 + 25·6 + 4) / 9 = 33.
  EXPECT_EQ(Read(s, 1, 0), (Bgr{27, 40, 33}));
  EXPECT_EQ(Read(s, 0, 1), (Bgr{27, 40, 33}));
  // (40·5 + 20·4 + 4) / 9 = 31, (60·5 + 30·4 + 4) / 9 = 47, (50·5 + 25·4 + 4) / 9 = 39.
  EXPECT_EQ(Read(s, 2, 2), (Bgr{31, 47, 39}));
  EXPECT_EQ(Read(s, 0, 0), (Bgr{31, 47, 39}));

  // The thresholds at their edges, on single pixels (a pupil alone weighs 1/9).
  cDIBSection justRed = UniformSurface(1, 1, 53, 53, 80);
  EXPECT_EQ(engine.RedEyes(justRed, 0, 0, 1), 1);
  // Neutral (53, 53, 53), then (53·8 + 26 + 4) / 9 = 50.
  EXPECT_EQ(Read(justRed, 0, 0), (Bgr{50, 50, 50}));
  cDIBSection tooGreen = UniformSurface(1, 1, 53, 54, 80);
  cDIBSection tooDark = UniformSurface(1, 1, 0, 0, 79);
  EXPECT_EQ(engine.RedEyes(tooGreen, 0, 0, 1), 0);
  EXPECT_EQ(engine.RedEyes(tooDark, 0, 0, 1), 0);
  EXPECT_EQ(Read(tooGreen, 0, 0).g, 54);
  EXPECT_EQ(Read(tooDark, 0, 0).r, 79);
}

TEST(RedEyes, RefusesAPointOutsideOrNoRadiusAndChangesNothing) {
  cDIBSection face = Face();
  const cDIBSection before = Copy(face);
  cImageProcessDIB engine;
  const std::int32_t bad[][3] = {{-1, 15, 5}, {41, 15, 5}, {20, -1, 5}, {20, 31, 5}, {20, 15, 0}};
  for (const auto& b : bad) {
    ExpectRefused([&] { engine.RedEyes(face, b[0], b[1], b[2]); },
                  ImageProcessErrors::kRedEyePoint);
    ExpectRefused([&] { engine.RedPupilSize(face, b[0], b[1], b[2]); },
                  ImageProcessErrors::kRedEyePoint);
  }
  EXPECT_EQ(CountDifferent(before, face), 0);
  cDIBSection empty;
  ExpectRefused([&] { engine.RedEyes(empty, 0, 0, 1); }, ImageProcessErrors::kEmptySurface);
}

}  // namespace
}  // namespace fotavel
