// ProcessImage against the plain column-by-column passes: pixels, padding and events, bit for bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "effects/Checks.h"
#include "effects/FilterReference.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel {
namespace {

using testing::EventRecorder;
using testing::kAwkwardSizes;
using testing::ReferenceFilters;

using testing::Kernel;

void CopyAll(const cDIBSection& from, cDIBSection& to) {
  for (std::int32_t y = 0; y < from.height(); ++y)
    std::copy_n(from.row(y), 3 * from.width(), to.row(y));
}

// A custom 3 x 3 kernel, all zero until set.
cImageProcessDIB Custom3() {
  cImageProcessDIB engine;
  engine.FilterType(12);
  engine.FilterArraySize(3);
  return engine;
}

// ProcessImage as described: block copies, the pass from image into buffer,
// then the copy back or the combination.
void ReferenceProcess(ReferenceFilters& ref, const cImageProcessDIB& engine, cDIBSection& image,
                      cDIBSection& buffer) {
  const std::int32_t type = engine.FilterType(), size = engine.FilterArraySize();
  const std::int32_t weight = engine.FilterWeight();
  const std::int32_t zero[3] = {0, 0, 0};
  const std::int32_t lift[3] = {127, 127, 127};
  CopyAll(image, buffer);
  if (type >= 9 && type <= 11) {
    ref.Rank(image, buffer, type);
    CopyAll(buffer, image);
  } else if (type == 7) {
    ref.Convolution(image, buffer, 3, std::vector<std::int32_t>(9, 1), 9);
    ref.AddImages(buffer, image, -1, zero, 2, zero);
  } else if (type == 8) {
    ref.Convolution(image, buffer, size, Kernel(engine), weight);
    ref.AddImages(buffer, image, 1, lift, 0, zero);
  } else {
    ref.Convolution(image, buffer, size, Kernel(engine), weight);
    CopyAll(buffer, image);
  }
}

// Runs the engine as it is set up and the reference on copies of the same
// random picture, for every awkward size, and compares everything.
void ExpectSameAsReference(cImageProcessDIB& engine, std::uint32_t seed) {
  for (const auto [width, height] : kAwkwardSizes) {
    SCOPED_TRACE(::testing::Message() << width << 'x' << height << " seed " << seed);
    cDIBSection image = testing::RandomSurface(width, height, seed);
    cDIBSection buffer = testing::RandomSurface(width, height, seed + 1);
    cDIBSection expectedImage = testing::Copy(image);
    cDIBSection expectedBuffer = testing::Copy(buffer);
    EventRecorder engineEvents;
    EventRecorder referenceEvents;
    ReferenceFilters ref(referenceEvents);
    ReferenceProcess(ref, engine, expectedImage, expectedBuffer);
    engine.SetListener(&engineEvents);
    ASSERT_TRUE(engine.ProcessImage(image, buffer));
    engine.SetListener(nullptr);
    testing::ExpectSame(image, expectedImage, engineEvents.events, referenceEvents.events);
    testing::ExpectSame(buffer, expectedBuffer, {}, {});
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
    ExpectSameAsReference(engine, 100 + type);
  }
  cImageProcessDIB engine;
  engine.FilterType(5);
  engine.FilterType(7);
  ExpectSameAsReference(engine, 7);
  EXPECT_EQ(std::pair(Kernel(engine), engine.FilterWeight()),
            std::pair(std::vector<std::int32_t>(9, 1), 0));
  engine.FilterType(10);
  engine.FilterArraySize(9);
  ExpectSameAsReference(engine, 10);
  engine.FilterType(8);
  engine.FilterValue(1, -1, 2);
  engine.FilterWeight(-3);
  ExpectSameAsReference(engine, 81);
  engine.FilterType(2);
  engine.FilterArraySize(7);
  EXPECT_EQ(std::pair(Kernel(engine), engine.FilterWeight()),
            std::pair(std::vector<std::int32_t>(49, 0), 25));
  ExpectSameAsReference(engine, 21);
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
      ExpectSameAsReference(engine, ++seed);
    }
  }
}

// 128 and -128 fit 16-bit sums but not a signed byte; entries whose magnitudes add up to 128 keep
// every sum of white within 16 bits (255 × 128 = 32 640), 129 does not. Negative weights swap the
// signs.
TEST(FiltersReference, KernelsAtTheEdgesOfEightAndSixteenBits) {
  for (const std::int32_t centre : {128, -128, 127}) {
    for (const std::int32_t weight : {1, -1, 2, 128, -129}) {
      SCOPED_TRACE(::testing::Message() << "centre " << centre << " weight " << weight);
      cImageProcessDIB engine = Custom3();
      engine.FilterValue(0, 0, centre);
      engine.FilterWeight(weight);
      ExpectSameAsReference(engine, 77);
    }
  }
  for (const std::int32_t total : {128, 129, -128, -129}) {
    SCOPED_TRACE(::testing::Message() << "total " << total);
    cImageProcessDIB engine = Custom3();
    const std::int32_t one = total < 0 ? -1 : 1;
    for (std::int32_t iY = -1; iY <= 1; ++iY) {
      for (std::int32_t iX = -1; iX <= 1; ++iX)
        engine.FilterValue(iX, iY, iX || iY ? one : total - 8 * one);
    }
    engine.FilterWeight(total);
    cDIBSection image = testing::UniformSurface(5, 4, 255, 255, 255);
    cDIBSection buffer = testing::UniformSurface(5, 4, 0, 0, 0);
    ASSERT_TRUE(engine.ProcessImage(image, buffer));
    EXPECT_TRUE(testing::SamePixels(image, testing::UniformSurface(5, 4, 255, 255, 255)));
    ExpectSameAsReference(engine, 5);
  }
}

}  // namespace
}  // namespace fotavel
