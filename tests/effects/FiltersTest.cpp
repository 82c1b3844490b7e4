// Refused settings, and the preset filters' results worked out by hand (the plain passes check
// everything else, events included).
#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>
#include <vector>

#include "effects/Checks.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel {
namespace {

using testing::ExpectRefused;
using testing::Kernel;
using testing::PixelRGB;
using namespace ImageProcessErrors;

TEST(FilterState, RefusedSettingsChangeNothing) {
  cImageProcessDIB engine;
  engine.FilterType(3);
  for (const std::int32_t type : {0, 13}) {
    ExpectRefused([&] { engine.FilterType(type); }, kInvalidFilterType);
  }
  for (const std::int32_t size : {4, 0, -2}) {
    ExpectRefused([&] { engine.FilterArraySize(size); }, kSizeNotOdd);
  }
  for (const std::int32_t size : {11, 1, -3}) {
    ExpectRefused([&] { engine.FilterArraySize(size); }, kInvalidSize);
  }
  for (const auto& [iX, iY] : {std::pair{2, 0}, {0, -2}, {INT32_MIN, 0}}) {
    ExpectRefused([&] { engine.FilterValue(iX, iY, 5); }, kKernelIndex);
    ExpectRefused([&] { (void)engine.FilterValue(iX, iY); }, kKernelIndex);
  }
  EXPECT_EQ(std::pair(engine.FilterType(), engine.FilterWeight()), std::pair(3, 12));
  EXPECT_EQ(Kernel(engine), (std::vector<std::int32_t>{1, 1, 1, 1, 4, 1, 1, 1, 1}));
  cImageProcessDIB fresh;  // no kernel at all: even (0, 0) is outside it
  ExpectRefused([&] { (void)fresh.FilterValue(0, 0); }, kKernelIndex);
}

// The middle pixel (2, 2) of 5 x 5 pictures, one colour but for the pixels listed.
TEST(FilterValues, HandComputedCentres) {
  const struct {
    std::int32_t type;
    std::uint32_t background;                              // 0xRRGGBB
    std::vector<std::tuple<int, int, std::uint32_t>> set;  // column, storage row, colour
    std::uint32_t centre;
  } cases[] = {
      {1, 0x000000, {{2, 2, 0x0000FF}}, 0x00001C},  // 255 / 9 → 28
      {2, 0x000000, {{2, 2, 0x0000FA}}, 0x00000A},  // 250 / 25
      {3, 0x585858, {{2, 2, 0x646464}}, 0x5C5C5C},  // (8 × 88 + 4 × 100) / 12 = 92
      {4, 0x000000, {{2, 2, 0x0000FF}}, 0x000045},  // 12 × 255 / 44 = 69.5 → 69
      // Sharpen truncates: (15 × 100 − 8 × 90) / 7 = 780 / 7 → 111 in blue and green, and
      // (15 × 90 − 7 × 90 − 100) / 7 = 620 / 7 → 88; the uniform red 50 stays.
      {5, 0x325A5A, {{2, 2, 0x326464}}, 0x326F6F},
      {5, 0x325A5A, {{1, 1, 0x326464}}, 0x325858},
      {6, 0x5A5A5A, {{2, 2, 0x646464}, {1, 1, 0}}, 0x8C8C8C},  // 5 × 100 − 4 × 90; corners 0
      // The mean rounds down: blue 7 × 2 + 1 + 2, green and red 17 alone, each / 9 → 1.
      {9, 0x000002, {{1, 1, 0x110001}, {3, 2, 0x001102}}, 0x010101},
      {10, 0xDCD2C8, {{1, 1, 0x0A0A0A}}, 0x0A0A0A},  // the minimum takes a dark corner
      {11, 0xDCD2C8, {{2, 2, 0x0A0A0A}}, 0xDCD2C8},  // the maximum drops a dark middle
      // Storage row 3 is above row 1: emboss is (upper right − lower left) clamped at 0, + 127:
      // red 60 − 40, green 90 − 40, blue 70 − 60.
      {8, 0x323232, {{3, 3, 0x3C5A46}, {1, 1, 0x28283C}}, 0x93B189},
      {7, 0x5A5A5A, {{2, 2, 0x646464}}, 0x6D6D6D},  // unsharp: 2 × 100 − (100 + 8 × 90) / 9
  };
  for (const auto& c : cases) {
    const std::uint32_t bg = c.background;
    cDIBSection image = testing::UniformSurface(5, 5, bg & 0xFF, bg >> 8 & 0xFF, bg >> 16);
    for (const auto& [i, y, rgb] : c.set) testing::SetPixelRGB(image, i, y, rgb);
    cDIBSection buffer = testing::RandomSurface(5, 5, 99);
    cImageProcessDIB engine;
    engine.FilterArraySize(9);  // each preset brings its own size
    engine.FilterType(c.type);
    ASSERT_TRUE(engine.ProcessImage(image, buffer));
    EXPECT_EQ(PixelRGB(image, 2, 2), c.centre) << "type " << c.type;
    // The border keeps its pixels (emboss lifts them like the rest).
    if (c.type != 8) {
      EXPECT_EQ(PixelRGB(image, 0, 0), bg) << "type " << c.type;
    }
    EXPECT_TRUE(testing::PaddingIntact(image));
  }
}

}  // namespace
}  // namespace fotavel
