// Filters: ProcessImage against the plain column-by-column passes (pixels, padding and events, bit
// for bit), refused settings, and each preset's result worked out by hand.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <tuple>
#include <vector>

#include "effects/Checks.h"
#include "effects/FilterReference.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel {
namespace {

using namespace ImageProcessErrors;
using testing::Event;
using testing::ExpectRefused;
using testing::Kernel;
using testing::PixelRGB;

// 5 x 4 is too small for any kernel past 3 x 3, and narrower than a vector; 17 x 13 leaves a 9 x 9
// kernel less than a vector of bytes to write, a 3 x 3 one a vector and a part; 301 x 203 is two
// strips of the pass.
constexpr testing::Size kSizes[] = {{5, 4}, {17, 13}, {301, 203}};

// ProcessImage as described: the image copied into the buffer, the pass from image into buffer,
// then the copy back or the combination. The mean is the box kernel of weight 9, whatever the size.
std::vector<Event> PlainProcess(const cImageProcessDIB& engine, cDIBSection& image,
                                cDIBSection& buffer) {
  testing::PlainPasses plain;
  const std::int32_t type = engine.FilterType();
  const std::int32_t zero[3] = {0, 0, 0}, lift[3] = {127, 127, 127};
  buffer = testing::Copy(image);
  if (type == 10 || type == 11) {
    plain.Rank(image, buffer, type == 11);
  } else if (type == 7 || type == 9) {
    plain.Convolution(image, buffer, 3, std::vector<std::int32_t>(9, 1), 9);
  } else {
    plain.Convolution(image, buffer, engine.FilterArraySize(), Kernel(engine),
                      engine.FilterWeight());
  }
  if (type == 7) {
    plain.AddImages(buffer, image, -1, zero, 2, zero);
  } else if (type == 8) {
    plain.AddImages(buffer, image, 1, lift, 0, zero);
  } else {
    image = testing::Copy(buffer);
  }
  return plain.events;
}

// Runs the engine as it is set up and the plain passes on copies of the same random pictures, and
// compares pixels, padding and events.
void ExpectSameAsPlain(cImageProcessDIB& engine, std::uint32_t seed) {
  for (const auto [width, height] : kSizes) {
    SCOPED_TRACE(::testing::Message() << width << 'x' << height << " seed " << seed);
    cDIBSection image = testing::RandomSurface(width, height, seed);
    cDIBSection buffer = testing::RandomSurface(width, height, seed + 1);
    cDIBSection plainImage = testing::Copy(image), plainBuffer = testing::Copy(buffer);
    const std::vector<Event> plainEvents = PlainProcess(engine, plainImage, plainBuffer);
    testing::EventRecorder recorder;
    engine.SetListener(&recorder);
    ASSERT_TRUE(engine.ProcessImage(image, buffer));
    engine.SetListener(nullptr);
    testing::ExpectSame(image, plainImage, recorder.events, plainEvents);
    testing::ExpectSame(buffer, plainBuffer, {}, {});
  }
}

// Every preset, then the state callers may leave behind: unsharp switches to the box kernel with
// weight 0, rank filters ignore a larger kernel, presets use the kernel and weight as changed (a
// kernel resized to 7 x 7 is zeroed and turns the inside black).
TEST(FiltersReference, PresetsAndStateChangedByTheCallerMatchThePlainPasses) {
  for (std::int32_t type = 1; type <= 11; ++type) {
    SCOPED_TRACE(::testing::Message() << "type " << type);
    cImageProcessDIB engine;
    engine.FilterType(type);
    ExpectSameAsPlain(engine, 100 + type);
  }
  cImageProcessDIB engine;
  engine.FilterType(5);
  engine.FilterType(7);
  ExpectSameAsPlain(engine, 7);
  EXPECT_EQ(std::pair(Kernel(engine), engine.FilterWeight()),
            std::pair(std::vector<std::int32_t>(9, 1), 0));
  engine.FilterType(10);
  engine.FilterArraySize(9);
  ExpectSameAsPlain(engine, 10);
  engine.FilterType(8);
  engine.FilterValue(1, -1, 2);
  engine.FilterWeight(-3);
  ExpectSameAsPlain(engine, 81);
  engine.FilterType(2);
  engine.FilterArraySize(7);
  EXPECT_EQ(std::pair(Kernel(engine), engine.FilterWeight()),
            std::pair(std::vector<std::int32_t>(49, 0), 25));
  ExpectSameAsPlain(engine, 21);
}

// Custom kernels whose sums need 16, 32 and 64 bits, with either sign of weight, including the
// weights at the ends of the 32-bit range.
TEST(FiltersReference, RandomCustomKernelsOfEverySizeAndRange) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  const std::pair<std::int32_t, std::int32_t> classes[] = {// largest entry, largest weight
                                                           {5, 40},
                                                           {127, 3000},
                                                           {4000, 100000},
                                                           {60000, 1000000},
                                                           {kMax, kMax}};
  std::mt19937 random(2024);
  std::uint32_t seed = 1000;
  for (const std::int32_t size : {3, 5, 7, 9}) {
    for (const auto& [maxEntry, maxWeight] : classes) {
      SCOPED_TRACE(::testing::Message() << "size " << size << " entries to " << maxEntry);
      cImageProcessDIB engine;
      engine.FilterType(12);
      engine.FilterArraySize(size);
      std::uniform_int_distribution<std::int32_t> entry(-maxEntry, maxEntry);
      std::int64_t magnitude = 0;
      for (std::int32_t iY = -size / 2; iY <= size / 2; ++iY) {
        for (std::int32_t iX = -size / 2; iX <= size / 2; ++iX) {
          // Small kernels keep their 16-bit bound by thinning out entries.
          std::int32_t value = entry(random);
          if (maxEntry <= 127 && magnitude + std::abs(value) > 128) value = 0;
          magnitude += std::abs(value);
          engine.FilterValue(iX, iY, value);
        }
      }
      std::uniform_int_distribution<std::int32_t> weight(-maxWeight, maxWeight);
      std::int32_t w = 0;
      while (w == 0) w = weight(random);
      engine.FilterWeight(size == 9 && maxWeight == kMax ? std::numeric_limits<std::int32_t>::min()
                                                         : w);
      ExpectSameAsPlain(engine, ++seed);
    }
  }
}

// Entries whose magnitudes add up to 128 keep every sum of white within 16 bits (255 × 128 =
// 32 640), 129 do not: white stays white either way. Negative weights swap the signs. 15 inner
// pixels are more than a vector of bytes.
TEST(FiltersReference, KernelsAtTheEdgeOfSixteenBitsKeepWhiteWhite) {
  const cDIBSection white = testing::UniformSurface(17, 4, 255, 255, 255);
  for (const std::int32_t total : {128, 129, -128, -129}) {
    cImageProcessDIB engine;
    engine.FilterType(12);
    engine.FilterArraySize(3);
    const std::int32_t one = total < 0 ? -1 : 1;
    for (std::int32_t iY = -1; iY <= 1; ++iY) {
      for (std::int32_t iX = -1; iX <= 1; ++iX)
        engine.FilterValue(iX, iY, iX || iY ? one : total - 8 * one);
    }
    engine.FilterWeight(total);
    cDIBSection image = testing::Copy(white), buffer = testing::UniformSurface(17, 4, 0, 0, 0);
    ASSERT_TRUE(engine.ProcessImage(image, buffer));
    EXPECT_TRUE(testing::SamePixels(image, white)) << "total " << total;
  }
}

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
      // Sharpen truncates: (15 × 100 − 8 × 90) / 7 = 780 / 7 → 111 in blue and green; the
      // uniform red 50 stays.
      {5, 0x325A5A, {{2, 2, 0x326464}}, 0x326F6F},
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
