// Crop and straighten: each against its plain loop written here, the cubic kernel and the turn's
// direction by hand, the refusals, and the rectangles' geometry.
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

// The cubic weights in 1/2048 at phase p / 256, from the kernel's polynomials in whole numbers:
// 2048 w = poly(p) / 2^14, rounded to the nearest (halves to even), then the sum brought back to
// 2048 on the larger of the two middle weights.
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

// The turn as the operation is defined: for each destination pixel from the top-left, its source
// point (offsets from the two centres doubled, cos and sin in 1/2^28, the point rounded to 1/256
// of a pixel), sixteen taps, past the edge white or the nearest edge pixel.
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

void ExpectStraightenedAsPlain(const cDIBSection& original, double degrees, bool white) {
  cDIBSection expected = Copy(original);
  const Events expectedEvents = PlainStraighten(expected, degrees, white);
  cDIBSection picture = Copy(original);
  const Events events =
      Recorded([&](cImageProcessDIB& e) { e.Straighten(picture, degrees, white); });
  EXPECT_EQ(FirstDifference(picture, expected), "")
      << original.width() << " x " << original.height() << " at " << degrees << " white " << white;
  EXPECT_EQ(events, expectedEvents);
}

TEST(Straighten, MatchesThePlainTurnOnAwkwardSizes) {
  std::uint32_t seed = 1;
  for (const auto size : testing::kAwkwardSizes) {
    const cDIBSection original = RandomSurface(size.width, size.height, seed++);
    for (const double degrees : {0.0, 0.1, -0.1, 45.0, -45.0, 3.0, -7.5, 20.0, -33.3}) {
      for (const bool white : {false, true}) ExpectStraightenedAsPlain(original, degrees, white);
    }
  }
  // 1 x 9 at 10 degrees keeps a crop exactly one pixel wide.
  ASSERT_EQ(StraightenedSize(1, 9, 10, false), (PixelSize{1, 3}));
  ExpectStraightenedAsPlain(RandomSurface(1, 9, 40), 10, false);
  ExpectStraightenedAsPlain(RandomSurface(5, 3, 41), 12.5, true);
}

// Large surfaces come from the pool: a freed block of the turned picture's size, its padding
// marked, is the one the turn builds in, so a byte written past a row's pixels shows.
TEST(Straighten, LeavesItsNewPicturesPaddingAlone) {
  const cDIBSection original = RandomSurface(1001, 601, 7);
  for (const bool white : {false, true}) {
    const double degrees = white ? -2 : 3;
    const PixelSize to = StraightenedSize(1001, 601, degrees, white);
    ASSERT_NE(to.width % 4, 0);
    cDIBSection picture = Copy(original);
    ReleasePooledSurfaceMemory();
    const std::uint8_t* block = nullptr;
    {
      const cDIBSection marked = RandomSurface(to.width, to.height, 8);
      block = marked.DIBSectionBitsPtr();
    }
    cImageProcessDIB().Straighten(picture, degrees, white);
    ASSERT_EQ(picture.DIBSectionBitsPtr(), block);
    EXPECT_TRUE(testing::PaddingIntact(picture)) << white;
    cDIBSection expected = Copy(original);
    PlainStraighten(expected, degrees, white);
    EXPECT_EQ(FirstDifference(picture, expected), "") << white;
  }
}

TEST(Straighten, KernelWeightsAtHandPhases) {
  EXPECT_EQ(CubicWeights(0), (std::array<std::int64_t, 4>{0, 2048, 0, 0}));
  // t = 1/4: -9/128, 111/128, 29/128, -3/128; t = 1/2: -1/16, 9/16, 9/16, -1/16.
  EXPECT_EQ(CubicWeights(64), (std::array<std::int64_t, 4>{-144, 1776, 464, -48}));
  EXPECT_EQ(CubicWeights(128), (std::array<std::int64_t, 4>{-128, 1152, 1152, -128}));
  EXPECT_EQ(CubicWeights(192), (std::array<std::int64_t, 4>{-48, 464, 1776, -144}));
}

// A grey 23 x 11 picture with one white row, turned by asin(1/4): sin is 2^26 / 2^28 exactly, so
// the pixel right of the centre of the 15 x 7 result samples a quarter pixel above the source
// centre (row 4.75 from the top, weights -48 464 1776 -144 on rows 3 … 6) and the one left of it
// a quarter below (row 5.25, weights -144 1776 464 -48 on rows 4 … 7). A row is one value, so
// the columns' weights sum it to itself: grey + 127 w / 2048, rounded.
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

TEST(Straighten, NoAngleChangesNothingAndATenthOfADegreeResizesAPhoto) {
  for (const bool white : {false, true}) {
    const cDIBSection original = RandomSurface(257, 5, 9);
    cDIBSection picture = Copy(original);
    cImageProcessDIB().Straighten(picture, 0, white);
    EXPECT_EQ(FirstDifference(picture, original), "") << white;
  }
  // A uniform photo stays that colour wherever the crop reaches; white corners appear only with
  // them asked for.
  cDIBSection photo = testing::UniformSurface(6000, 4000, 10, 20, 30);
  cImageProcessDIB().Straighten(photo, 0.1, false);
  ASSERT_EQ(photo.width(), 5984);
  ASSERT_EQ(photo.height(), 3989);
  const cDIBSection uniform = testing::UniformSurface(5984, 3989, 10, 20, 30);
  EXPECT_EQ(FirstDifference(photo, uniform), "");
  photo = testing::UniformSurface(6000, 4000, 10, 20, 30);
  cImageProcessDIB().Straighten(photo, -0.1, true);
  ASSERT_EQ(photo.width(), 6007);
  ASSERT_EQ(photo.height(), 4011);
  EXPECT_EQ(PixelRGB(photo, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(PixelRGB(photo, 3000, 2000), 0x1E140Au);
}

// A grey 41 x 41 picture with a red square whose centre is (-12, -12) from the picture's.
cDIBSection MarkedPicture() {
  cDIBSection picture = testing::UniformSurface(41, 41, 128, 128, 128);
  for (std::int32_t y = 6; y <= 10; ++y) {
    for (std::int32_t x = 6; x <= 10; ++x) testing::SetPixelRGB(picture, x, 40 - y, 0xFF0000);
  }
  return picture;
}

// The red pixels' centre from the picture's, y downwards.
std::array<double, 2> RedCentre(const cDIBSection& picture) {
  double sumX = 0, sumY = 0, count = 0;
  const std::int32_t w = picture.width(), h = picture.height();
  for (std::int32_t y = 0; y < h; ++y) {
    for (std::int32_t x = 0; x < w; ++x) {
      const std::uint32_t rgb = PixelRGB(picture, x, h - 1 - y);
      if ((rgb >> 16) > 200 && (rgb & 0xFF) < 80) sumX += x, sumY += y, ++count;
    }
  }
  EXPECT_GT(count, 9);
  return {sumX / count - (w - 1) / 2.0, sumY / count - (h - 1) / 2.0};
}

// Turned clockwise by 20 degrees about the centre (y downwards), (-12, -12) goes to
// (-12 c + 12 s, -12 s - 12 c): up and to the right, the way the quarter turn to the right
// (Tourner) takes it, to (12, -12).
TEST(Straighten, PositiveAnglesTurnClockwiseAsTheQuarterTurnRight) {
  cDIBSection quarter = MarkedPicture();
  cImageProcessDIB().Tourner(quarter, false);
  const auto turned = RedCentre(quarter);
  EXPECT_NEAR(turned[0], 12, 0.01);
  EXPECT_NEAR(turned[1], -12, 0.01);
  for (const double degrees : {20.0, -20.0}) {
    cDIBSection picture = MarkedPicture();
    cImageProcessDIB().Straighten(picture, degrees, true);
    const auto centre = RedCentre(picture);
    const double r = degrees * std::numbers::pi / 180, c = std::cos(r), s = std::sin(r);
    EXPECT_NEAR(centre[0], -12 * c + 12 * s, 0.5) << degrees;
    EXPECT_NEAR(centre[1], -12 * s - 12 * c, 0.5) << degrees;
  }
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
  const cDIBSection original = RandomSurface(7, 5, 30);
  const auto refused = [&](auto&& call, const ErrorKind& kind, cDIBSection& picture) {
    const std::uint8_t* bits = picture.DIBSectionBitsPtr();
    const Events events = Recorded(
        [&](cImageProcessDIB& e) { testing::ExpectRefused([&] { call(e, picture); }, kind); });
    EXPECT_TRUE(events.empty()) << kind.description;
    EXPECT_EQ(picture.DIBSectionBitsPtr(), bits);
  };
  cDIBSection empty;
  refused([](cImageProcessDIB& e, cDIBSection& p) { e.Straighten(p, 1, false); }, kEmptySurface,
          empty);
  refused(
      [](cImageProcessDIB& e, cDIBSection& p) {
        e.Crop(p, {0, 0, 1, 1});
      },
      kEmptySurface, empty);
  EXPECT_TRUE(empty.empty());
  cDIBSection picture = Copy(original);
  for (const double degrees : {std::numeric_limits<double>::quiet_NaN(), 45.0001, -46.0,
                               std::numeric_limits<double>::infinity()}) {
    refused([degrees](cImageProcessDIB& e, cDIBSection& p) { e.Straighten(p, degrees, true); },
            kAngleRange, picture);
  }
  for (const PixelRect rect :
       {PixelRect{-1, 0, 2, 2}, PixelRect{0, -1, 2, 2}, PixelRect{0, 0, 0, 5},
        PixelRect{0, 0, 7, 0}, PixelRect{1, 0, 7, 5}, PixelRect{0, 1, 7, 5},
        PixelRect{6, 0, kBig, 1}, PixelRect{0, 4, 1, kBig}, PixelRect{0, 0, -3, 5}}) {
    refused([rect](cImageProcessDIB& e, cDIBSection& p) { e.Crop(p, rect); }, kCropOutside,
            picture);
  }
  {
    // The new picture is refused before the first event; the photo stays as it was.
    const testing::NoMoreSurfaceMemory full;
    refused([](cImageProcessDIB& e, cDIBSection& p) { e.Straighten(p, 3, false); }, kOutOfMemory,
            picture);
    refused(
        [](cImageProcessDIB& e, cDIBSection& p) {
          e.Crop(p, {1, 1, 2, 2});
        },
        kOutOfMemory, picture);
  }
  EXPECT_EQ(FirstDifference(picture, original), "");
}

TEST(CropGeometry, LargestCentredRectangles) {
  const struct {
    std::int32_t width, height, ratioWidth, ratioHeight;
    PixelRect rect;
  } cases[] = {
      {6000, 4000, 1, 1, {1000, 0, 4000, 4000}},
      {6000, 4000, 4, 3, {333, 0, 5333, 4000}},
      {6000, 4000, 3, 2, {0, 0, 6000, 4000}},
      {6000, 4000, 16, 9, {0, 312, 6000, 3375}},
      {6000, 4000, 2, 3, {1667, 0, 2666, 4000}},
      {4000, 6000, 1, 1, {0, 1000, 4000, 4000}},
      {4000, 6000, 4, 3, {0, 1500, 4000, 3000}},
      {4000, 6000, 3, 2, {0, 1667, 4000, 2666}},
      {4000, 6000, 16, 9, {0, 1875, 4000, 2250}},
      {4000, 6000, 2, 3, {0, 0, 4000, 6000}},
      // The odd pixel left over goes right; a side is never 0.
      {4, 3, 1, 1, {0, 0, 3, 3}},
      {5, 3, 1, 1, {1, 0, 3, 3}},
      {1, 1000, 16, 9, {0, 499, 1, 1}},
      {1000, 1, 2, 3, {499, 0, 1, 1}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LargestCentred(c.width, c.height, c.ratioWidth, c.ratioHeight), c.rect)
        << c.width << " x " << c.height << " at " << c.ratioWidth << ":" << c.ratioHeight;
  }
  EXPECT_TRUE(RectInside({0, 0, 7, 5}, 7, 5));
  EXPECT_FALSE(RectInside({0, 0, 8, 5}, 7, 5));
}

// At 30 degrees (c = 0.8660, s = 1/2) 400 x 300 fills a box of 496.4 x 459.8, and keeps
// k = min(400 / 496.4, 300 / 459.8) = 0.6524 of itself: 260.98 x 195.7.
TEST(CropGeometry, StraightenedSizes) {
  const struct {
    std::int32_t width, height;
    double degrees;
    bool white;
    PixelSize size;
  } cases[] = {
      {6000, 4000, 0, false, {6000, 4000}},
      {6000, 4000, 0, true, {6000, 4000}},
      {1, 1, 0, false, {1, 1}},
      {400, 300, 30, false, {260, 195}},
      {400, 300, 30, true, {497, 460}},
      {400, 300, -30, true, {497, 460}},
      {100, 100, 45, false, {70, 70}},
      {100, 100, -45, true, {142, 142}},
      {1, 1, 45, false, {1, 1}},
      {1, 1, 45, true, {2, 2}},
      {6000, 4000, 0.1, false, {5984, 3989}},
      {6000, 4000, -0.1, true, {6007, 4011}},
  };
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
