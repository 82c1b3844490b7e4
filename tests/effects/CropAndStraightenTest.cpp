// Crop and straighten against plain loops written here, by hand values, refusals and geometry.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <vector>

#include "effects/Checks.h"
#include "effects/CropGeometry.h"
#include "effects/cImageProcessDIB.h"
#include "surface/SurfaceMemory.h"

namespace fotavel {
namespace {

using testing::Copy;
using testing::Event;
using testing::FirstDifference;
using testing::PixelRGB;
using testing::RandomSurface;
using testing::Recorded;
using Events = std::vector<Event>;

std::int64_t FloorDiv(std::int64_t n, std::int64_t d) {
  return n / d - ((n % d != 0) && ((n < 0) != (d < 0)) ? 1 : 0);
}

// The cubic weights in 1/2048 at phase p / 256 in whole numbers: poly(p) / 2^14 rounded half to
// even, the sum brought back to 2048 on the larger middle weight.
std::array<std::int64_t, 4> CubicWeights(std::int64_t p) {
  const std::int64_t p2 = p * p, p3 = p2 * p;
  const std::int64_t poly[4] = {-p3 + 512 * p2 - 65536 * p, 3 * p3 - 1280 * p2 + 33554432,
                                -3 * p3 + 1024 * p2 + 65536 * p, p3 - 256 * p2};
  std::array<std::int64_t, 4> w{};
  std::int64_t sum = 0;
  for (int i = 0; i < 4; ++i) {
    const std::int64_t q = FloorDiv(poly[i], 16384), r = poly[i] - q * 16384;
    w[i] = q + ((2 * r > 16384 || (2 * r == 16384 && (q & 1) != 0)) ? 1 : 0);
    sum += w[i];
  }
  w[w[2] > w[1] ? 2 : 1] += 2048 - sum;
  return w;
}

// The turn as defined: each destination pixel's source point (doubled offsets from the centres,
// cos and sin in 1/2^28, rounded to 1/256 pixel), sixteen taps, past the edge white or the edge.
Events PlainStraighten(cDIBSection& s, double degrees, bool white) {
  const std::int64_t w = s.width(), h = s.height();
  const PixelSize to = StraightenedSize(s.width(), s.height(), degrees, white);
  const double radians = degrees * std::numbers::pi / 180.0;
  const std::int64_t c = std::llround(std::cos(radians) * 268435456.0);
  const std::int64_t sn = std::llround(std::sin(radians) * 268435456.0);
  cDIBSection out;
  if (!out.Create(to.width, to.height)) throw std::runtime_error("no memory");
  Events events{{Event::kInit, to.height - 1}};
  for (std::int64_t y = 0; y < to.height; ++y) {
    for (std::int64_t x = 0; x < to.width; ++x) {
      const std::int64_t dx = 2 * x - (to.width - 1), dy = 2 * y - (to.height - 1);
      const std::int64_t u = FloorDiv((w - 1) * (1 << 28) + dx * c + dy * sn + (1 << 20), 1 << 21);
      const std::int64_t v = FloorDiv((h - 1) * (1 << 28) - dx * sn + dy * c + (1 << 20), 1 << 21);
      const auto wx = CubicWeights(u - 256 * FloorDiv(u, 256));
      const auto wy = CubicWeights(v - 256 * FloorDiv(v, 256));
      for (int channel = 0; channel < 3; ++channel) {
        std::int64_t sum = 0;
        for (std::int64_t j = 0; j < 4; ++j) {
          for (std::int64_t i = 0; i < 4; ++i) {
            const std::int64_t row = FloorDiv(v, 256) - 1 + j, col = FloorDiv(u, 256) - 1 + i;
            const bool inside = row >= 0 && row < h && col >= 0 && col < w;
            const std::int64_t r = std::clamp<std::int64_t>(row, 0, h - 1);
            const std::int64_t k = std::clamp<std::int64_t>(col, 0, w - 1);
            const std::int64_t value = !inside && white ? 255 : s.row(h - 1 - r)[3 * k + channel];
            sum += wy[j] * wx[i] * value;
          }
        }
        out.row(to.height - 1 - y)[3 * x + channel] = static_cast<std::uint8_t>(
            std::clamp<std::int64_t>(FloorDiv(sum + (1 << 21), 1 << 22), 0, 255));
      }
    }
    events.push_back({Event::kProgress, static_cast<std::int32_t>(y)});
  }
  events.push_back({Event::kComplete, 0});
  s = std::move(out);
  return events;
}

// 0 degrees is the identity here too: the plain loop's weights at phase 0 are 0, 2048, 0, 0.
TEST(Straighten, MatchesThePlainTurnOnAwkwardSizes) {
  std::uint32_t seed = 1;
  for (const auto size : testing::kAwkwardSizes) {
    const cDIBSection original = RandomSurface(size.width, size.height, seed++);
    for (const double degrees : {0.0, 0.1, -0.1, 45.0, -45.0, 3.0, -7.5, 20.0, -33.3}) {
      for (const bool white : {false, true}) {
        cDIBSection expected = Copy(original), picture = Copy(original);
        const Events expectedEvents = PlainStraighten(expected, degrees, white);
        const Events events =
            Recorded([&](cImageProcessDIB& e) { e.Straighten(picture, degrees, white); });
        EXPECT_EQ(FirstDifference(picture, expected), "")
            << size.width << " x " << size.height << " at " << degrees << " white " << white;
        EXPECT_EQ(events, expectedEvents);
      }
    }
  }
}

// A freed pooled block with sentinel padding is the one the turn builds in, so a byte written
// past a row's pixels shows.
TEST(Straighten, LeavesItsNewPicturesPaddingAlone) {
  for (const bool white : {false, true}) {
    const double degrees = white ? -2 : 3;
    const PixelSize to = StraightenedSize(1001, 601, degrees, white);
    ASSERT_NE(to.width % 4, 0);
    cDIBSection picture = RandomSurface(1001, 601, 7);
    ReleasePooledSurfaceMemory();
    const std::uint8_t* block = RandomSurface(to.width, to.height, 8).DIBSectionBitsPtr();
    cImageProcessDIB().Straighten(picture, degrees, white);
    ASSERT_EQ(picture.DIBSectionBitsPtr(), block);
    EXPECT_TRUE(testing::PaddingIntact(picture)) << white;
  }
}

TEST(Straighten, KernelWeightsAtHandPhases) {
  EXPECT_EQ(CubicWeights(0), (std::array<std::int64_t, 4>{0, 2048, 0, 0}));
  // t = 1/4: -9/128, 111/128, 29/128, -3/128; t = 1/2: -1/16, 9/16, 9/16, -1/16.
  EXPECT_EQ(CubicWeights(64), (std::array<std::int64_t, 4>{-144, 1776, 464, -48}));
  EXPECT_EQ(CubicWeights(128), (std::array<std::int64_t, 4>{-128, 1152, 1152, -128}));
  EXPECT_EQ(CubicWeights(192), (std::array<std::int64_t, 4>{-48, 464, 1776, -144}));
}

// Grey 23 x 11 with one white row, turned clockwise by asin(1/4) (sin exactly 2^26 / 2^28): the
// pixel right of the 15 x 7 result's centre samples row 4.75 from the top (weights -48 464 1776
// -144 on rows 3 … 6), the one left of it row 5.25 (-144 1776 464 -48 on rows 4 … 7); a row is
// one value, so each is grey + 127 w / 2048, rounded. A turn the wrong way swaps left and right.
TEST(Straighten, QuarterPixelOffsetsTakeTheKernelsHandValues) {
  const double degrees = std::asin(0.25) * 180 / std::numbers::pi;
  ASSERT_EQ(StraightenedSize(23, 11, degrees, false), (PixelSize{15, 7}));
  const struct {
    std::int32_t whiteRow;
    std::uint8_t right, centre, left;
  } cases[] = {{4, 157, 128, 119}, {5, 238, 255, 238}, {3, 125, 128, 128}, {6, 119, 128, 157}};
  for (const auto& c : cases) {
    cDIBSection picture = testing::UniformSurface(23, 11, 128, 128, 128);
    for (std::int32_t i = 0; i < 23; ++i)
      testing::SetPixelRGB(picture, i, 10 - c.whiteRow, 0xFFFFFF);
    cImageProcessDIB().Straighten(picture, degrees, false);
    // Destination row 3 from the top is storage row 3 of 7.
    EXPECT_EQ(PixelRGB(picture, 8, 3), 0x010101u * c.right) << c.whiteRow;
    EXPECT_EQ(PixelRGB(picture, 7, 3), 0x010101u * c.centre) << c.whiteRow;
    EXPECT_EQ(PixelRGB(picture, 6, 3), 0x010101u * c.left) << c.whiteRow;
  }
}

// Positions on a 6000 x 4000 photo need more than 32 bits: a uniform photo stays its colour
// wherever the crop reaches; white corners appear only when asked for.
TEST(Straighten, ATenthOfADegreeOnAFullSizePhoto) {
  cDIBSection photo = testing::UniformSurface(6000, 4000, 10, 20, 30);
  cImageProcessDIB().Straighten(photo, 0.1, false);
  EXPECT_EQ(FirstDifference(photo, testing::UniformSurface(5984, 3989, 10, 20, 30)), "");
  photo = testing::UniformSurface(6000, 4000, 10, 20, 30);
  cImageProcessDIB().Straighten(photo, -0.1, true);
  ASSERT_EQ(std::pair(photo.width(), photo.height()), std::pair(6007, 4011));
  EXPECT_EQ(PixelRGB(photo, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(PixelRGB(photo, 3000, 2000), 0x1E140Au);
}

// Crop as defined: the rectangle's pixels copied row by row from its top, a Progress per row.
Events PlainCrop(cDIBSection& s, const PixelRect& rect) {
  cDIBSection out;
  if (!out.Create(rect.width, rect.height)) throw std::runtime_error("no memory");
  Events events{{Event::kInit, rect.height - 1}};
  for (std::int32_t y = 0; y < rect.height; ++y) {
    for (std::int32_t x = 0; x < rect.width; ++x) {
      testing::SetPixelRGB(out, x, rect.height - 1 - y,
                           PixelRGB(s, rect.left + x, s.height() - 1 - rect.top - y));
    }
    events.push_back({Event::kProgress, y});
  }
  events.push_back({Event::kComplete, 0});
  s = std::move(out);
  return events;
}

TEST(Crop, MatchesThePlainCopy) {
  const struct {
    std::int32_t width, height;
    PixelRect rect;
  } cases[] = {{1, 1, {0, 0, 1, 1}},     {7, 5, {3, 2, 1, 1}},           {7, 5, {0, 0, 7, 5}},
               {257, 3, {1, 1, 255, 1}}, {257, 9, {2, 0, 5, 9}},         {3, 257, {0, 100, 3, 157}},
               {1, 7, {0, 6, 1, 1}},     {301, 203, {100, 50, 201, 153}}};
  std::uint32_t seed = 20;
  for (const auto& c : cases) {
    const cDIBSection original = RandomSurface(c.width, c.height, seed++);
    cDIBSection expected = Copy(original), picture = Copy(original);
    const Events expectedEvents = PlainCrop(expected, c.rect);
    const Events events = Recorded([&](cImageProcessDIB& e) { e.Crop(picture, c.rect); });
    EXPECT_EQ(FirstDifference(picture, expected), "") << c.width << " x " << c.height;
    EXPECT_EQ(events, expectedEvents);
  }
}

TEST(CropAndStraighten, RefuseWithoutAnEventOrAChange) {
  using namespace ImageProcessErrors;
  constexpr std::int32_t kBig = std::numeric_limits<std::int32_t>::max();
  const auto refused = [](cDIBSection& picture, const ErrorKind& kind, auto&& call) {
    const std::uint8_t* bits = picture.DIBSectionBitsPtr();
    const Events events = Recorded(
        [&](cImageProcessDIB& e) { testing::ExpectRefused([&] { call(e, picture); }, kind); });
    EXPECT_TRUE(events.empty()) << kind.description;
    EXPECT_EQ(picture.DIBSectionBitsPtr(), bits);
  };
  cDIBSection empty;
  refused(empty, kEmptySurface, [](auto& e, auto& p) { e.Straighten(p, 1, false); });
  refused(empty, kEmptySurface, [](auto& e, auto& p) { e.Crop(p, {0, 0, 1, 1}); });
  EXPECT_TRUE(empty.empty());
  const cDIBSection original = RandomSurface(7, 5, 30);
  cDIBSection picture = Copy(original);
  for (const double degrees : {std::numeric_limits<double>::quiet_NaN(), 45.0001, -46.0,
                               std::numeric_limits<double>::infinity()}) {
    refused(picture, kAngleRange, [=](auto& e, auto& p) { e.Straighten(p, degrees, true); });
  }
  for (const PixelRect rect :
       {PixelRect{-1, 0, 2, 2}, PixelRect{0, -1, 2, 2}, PixelRect{0, 0, 0, 5},
        PixelRect{0, 0, 7, 0}, PixelRect{1, 0, 7, 5}, PixelRect{0, 1, 7, 5},
        PixelRect{6, 0, kBig, 1}, PixelRect{0, 4, 1, kBig}, PixelRect{0, 0, -3, 5}}) {
    refused(picture, kCropOutside, [=](auto& e, auto& p) { e.Crop(p, rect); });
  }
  {
    // The new picture is refused before the first event.
    const testing::NoMoreSurfaceMemory full;
    refused(picture, kOutOfMemory, [](auto& e, auto& p) { e.Straighten(p, 3, false); });
    refused(picture, kOutOfMemory, [](auto& e, auto& p) { e.Crop(p, {1, 1, 2, 2}); });
  }
  EXPECT_EQ(FirstDifference(picture, original), "");
}

// The odd pixel left over goes right; a side is never 0.
TEST(CropGeometry, LargestCentredRectangles) {
  const struct {
    std::int32_t width, height, ratioWidth, ratioHeight;
    PixelRect rect;
  } cases[] = {{6000, 4000, 4, 3, {333, 0, 5333, 4000}},
               {6000, 4000, 3, 2, {0, 0, 6000, 4000}},
               {6000, 4000, 16, 9, {0, 312, 6000, 3375}},
               {6000, 4000, 2, 3, {1667, 0, 2666, 4000}},
               {4000, 6000, 3, 2, {0, 1667, 4000, 2666}},
               {4000, 6000, 2, 3, {0, 0, 4000, 6000}},
               {4, 3, 1, 1, {0, 0, 3, 3}},
               {5, 3, 1, 1, {1, 0, 3, 3}},
               {1, 1000, 16, 9, {0, 499, 1, 1}},
               {1000, 1, 2, 3, {499, 0, 1, 1}}};
  for (const auto& c : cases) {
    EXPECT_EQ(LargestCentred(c.width, c.height, c.ratioWidth, c.ratioHeight), c.rect)
        << c.width << " x " << c.height << " at " << c.ratioWidth << ":" << c.ratioHeight;
  }
}

// At 30 degrees (c = 0.8660, s = 1/2) 400 x 300 fills a box of 496.4 x 459.8, and keeps
// k = min(400 / 496.4, 300 / 459.8) = 0.6524 of itself: 260.98 x 195.7.
TEST(CropGeometry, StraightenedSizes) {
  const struct {
    std::int32_t width, height;
    double degrees;
    bool white;
    PixelSize size;
  } cases[] = {{6000, 4000, 0, false, {6000, 4000}},
               {6000, 4000, 0, true, {6000, 4000}},
               {400, 300, 30, false, {260, 195}},
               {400, 300, 30, true, {497, 460}},
               {400, 300, -30, false, {260, 195}},
               {100, 100, 45, false, {70, 70}},
               {100, 100, -45, true, {142, 142}},
               {1, 1, 45, false, {1, 1}},
               {1, 1, 45, true, {2, 2}},
               {6000, 4000, 0.1, false, {5984, 3989}},
               {6000, 4000, -0.1, true, {6007, 4011}}};
  for (const auto& c : cases) {
    EXPECT_EQ(StraightenedSize(c.width, c.height, c.degrees, c.white), c.size)
        << c.width << " x " << c.height << " at " << c.degrees << " white " << c.white;
  }
}

TEST(CropGeometry, LevellingAngles) {
  const double tenth = std::atan(0.1) * 180 / std::numbers::pi;  // 5.71 degrees
  const struct {
    double x1, y1, x2, y2, degrees;
  } cases[] = {
      {0, 0, 10, 0, 0},        {10, 0, 0, 0, 0},        {0, 0, 0, 10, 0},
      {0, 10, 0, 0, 0},        {0, 0, 100, 10, -tenth}, {100, 10, 0, 0, -tenth},
      {0, 10, 100, 0, tenth},  {0, 0, 10, 100, tenth},  {10, 100, 0, 0, tenth},
      {10, 0, 0, 100, -tenth}, {0, 0, 10, 10, -45},     {0, 0, 10, -10, 45},
      {3, 4, 3, 4, 0},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(LevellingAngle(c.x1, c.y1, c.x2, c.y2), c.degrees, 1e-9)
        << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
  }
}

}  // namespace
}  // namespace fotavel
