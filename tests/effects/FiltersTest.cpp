// Filter state, ProcessImage refusing before any change, and its results worked out by hand (the
// plain passes check everything else, events included).
#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>
#include <vector>

#include "effects/Checks.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel {
namespace {

using testing::EventRecorder;
using testing::ExpectRefused;
using testing::PixelRGB;
using testing::SetPixelRGB;
using namespace ImageProcessErrors;

using testing::Kernel;

TEST(FilterState, PresetKernelsAndWeights) {
  const struct {
    std::int32_t type, size;
    std::vector<std::int32_t> kernel;  // row iY = -half first
    std::int32_t weight;
  } presets[] = {
      {1, 3, std::vector<std::int32_t>(9, 1), 9},
      {2, 5, std::vector<std::int32_t>(25, 1), 25},
      {3, 3, {1, 1, 1, 1, 4, 1, 1, 1, 1}, 12},
      {4, 5, {1, 1, 1, 1, 1, 1, 2, 2, 2, 1, 1, 2, 12, 2, 1, 1, 2, 2, 2, 1, 1, 1, 1, 1, 1}, 44},
      {5, 3, {-1, -1, -1, -1, 15, -1, -1, -1, -1}, 7},
      {6, 3, {0, -1, 0, -1, 5, -1, 0, -1, 0}, 1},
      {8, 3, {-1, 0, 0, 0, 0, 0, 0, 0, 1}, 1},  // (iX, iY) = (-1, -1) is left, one storage row down
  };
  for (const auto& p : presets) {
    cImageProcessDIB engine;
    engine.FilterArraySize(9);  // replaced by the preset's own size
    engine.FilterType(p.type);
    EXPECT_EQ(engine.FilterArraySize(), p.size) << "type " << p.type;
    EXPECT_EQ(Kernel(engine), p.kernel) << "type " << p.type;
    EXPECT_EQ(engine.FilterWeight(), p.weight) << "type " << p.type;
  }
  cImageProcessDIB engine;
  engine.FilterType(12);
  engine.FilterArraySize(5);
  engine.FilterValue(2, -1, 42);
  EXPECT_EQ(engine.FilterValue(2, -1), 42);
  EXPECT_EQ(engine.FilterValue(-1, 2), 0);
}

TEST(FilterState, TypesWithoutAKernelKeepTheOneInPlaceAndZeroTheWeight) {
  for (const std::int32_t type : {7, 9, 10, 11}) {
    cImageProcessDIB engine;
    engine.FilterType(5);
    engine.FilterType(type);
    EXPECT_EQ(std::tuple(engine.FilterType(), engine.FilterArraySize(), engine.FilterValue(0, 0),
                         engine.FilterWeight()),
              std::tuple(type, 3, 15, 0));
  }
  cImageProcessDIB engine;
  engine.FilterType(4);
  engine.FilterWeight(-6);
  engine.FilterType(12);  // custom: nothing rebuilt
  EXPECT_EQ(std::tuple(engine.FilterArraySize(), engine.FilterValue(0, 0), engine.FilterWeight()),
            std::tuple(5, 12, -6));
  engine.FilterType(5);
  engine.FilterArraySize(7);  // zeroes the kernel, keeps weight and type
  EXPECT_EQ(Kernel(engine), std::vector<std::int32_t>(49, 0));
  EXPECT_EQ(std::pair(engine.FilterWeight(), engine.FilterType()), std::pair(7, 5));
}

TEST(FilterState, RefusedSettingsChangeNothing) {
  cImageProcessDIB engine;
  engine.FilterType(3);
  for (const std::int32_t type : {0, 13, -1}) {
    ExpectRefused([&] { engine.FilterType(type); }, kInvalidFilterType);
  }
  for (const std::int32_t size : {4, 0, 10, -2}) {
    ExpectRefused([&] { engine.FilterArraySize(size); }, kSizeNotOdd);
  }
  for (const std::int32_t size : {11, 1, -3}) {
    ExpectRefused([&] { engine.FilterArraySize(size); }, kInvalidSize);
  }
  for (const auto& [iX, iY] : {std::pair{2, 0}, {0, -2}, {-2, 1}, {INT32_MIN, 0}}) {
    ExpectRefused([&] { engine.FilterValue(iX, iY, 5); }, kKernelIndex);
    ExpectRefused([&] { (void)engine.FilterValue(iX, iY); }, kKernelIndex);
  }
  EXPECT_EQ(std::pair(engine.FilterType(), engine.FilterWeight()), std::pair(3, 12));
  EXPECT_EQ(Kernel(engine), (std::vector<std::int32_t>{1, 1, 1, 1, 4, 1, 1, 1, 1}));

  cImageProcessDIB fresh;  // no kernel at all: even (0, 0) is outside it
  ExpectRefused([&] { fresh.FilterValue(0, 0, 1); }, kKernelIndex);
  ExpectRefused([&] { (void)fresh.FilterValue(0, 0); }, kKernelIndex);
}

TEST(FilterRefusals, ProcessImageRefusesBeforeAnyEventOrChange) {
  const cDIBSection picture = testing::RandomSurface(7, 5, 3);
  cDIBSection image = testing::Copy(picture);
  cDIBSection buffer = testing::RandomSurface(7, 5, 4);
  const cDIBSection bufferBefore = testing::Copy(buffer);
  cDIBSection smaller = testing::RandomSurface(7, 4, 5), empty;
  EventRecorder events;
  cImageProcessDIB engine;
  engine.SetListener(&events);
  EXPECT_FALSE(engine.ProcessImage(image, empty));  // type 0 does nothing

  engine.FilterType(12);
  ExpectRefused([&] { engine.ProcessImage(image, buffer); }, kKernelNotSized);
  engine.FilterArraySize(3);
  ExpectRefused([&] { engine.ProcessImage(image, buffer); }, kZeroWeight);
  engine.FilterType(8);
  engine.FilterWeight(0);
  ExpectRefused([&] { engine.ProcessImage(image, buffer); }, kZeroWeight);
  for (const std::int32_t type : {1, 7, 9}) {
    engine.FilterType(type);
    ExpectRefused([&] { engine.ProcessImage(image, smaller); }, kSizeMismatch);
    ExpectRefused([&] { engine.ProcessImage(image, empty); }, kEmptySurface);
    ExpectRefused([&] { engine.ProcessImage(empty, buffer); }, kEmptySurface);
  }
  // The unsharp filter switches to the box kernel only once nothing can fail.
  engine.FilterType(8);
  engine.FilterType(7);
  ExpectRefused([&] { engine.ProcessImage(image, smaller); }, kSizeMismatch);
  EXPECT_EQ(std::pair(engine.FilterValue(0, 0), engine.FilterValue(1, 1)), std::pair(0, 1));
  EXPECT_TRUE(events.events.empty());
  EXPECT_TRUE(testing::SamePixels(image, picture));
  EXPECT_TRUE(testing::SamePixels(buffer, bufferBefore));
}

// Runs one filter type on `image` with a fresh buffer of the same size.
cDIBSection Filter(std::int32_t type, cDIBSection& image) {
  cDIBSection buffer = testing::RandomSurface(image.width(), image.height(), 99);
  cImageProcessDIB engine;
  engine.FilterType(type);
  EXPECT_TRUE(engine.ProcessImage(image, buffer));
  EXPECT_TRUE(testing::PaddingIntact(image));
  EXPECT_TRUE(testing::PaddingIntact(buffer));
  return buffer;
}

TEST(FilterValues, SharpenTruncatesTheQuotient) {
  // Blue and green: 100 among 90s; red uniform 50, which sharpening keeps.
  cDIBSection image = testing::UniformSurface(5, 5, 90, 90, 50);
  SetPixelRGB(image, 2, 2, 0x326464);
  const cDIBSection buffer = Filter(5, image);
  EXPECT_EQ(PixelRGB(image, 2, 2), 0x326F6Fu);  // (15 × 100 − 8 × 90) / 7 = 780 / 7 → 111
  EXPECT_EQ(PixelRGB(image, 1, 3), 0x325858u);  // (15 × 90 − 7 × 90 − 100) / 7 = 620 / 7 → 88
  EXPECT_EQ(std::pair(PixelRGB(image, 0, 2), PixelRGB(image, 2, 4)),  // border: unfiltered
            std::pair(0x325A5Au, 0x325A5Au));
  EXPECT_TRUE(testing::SamePixels(image, buffer));
}

TEST(FilterValues, MeanRoundsDown) {
  cDIBSection image = testing::UniformSurface(3, 3, 2, 0, 0);
  SetPixelRGB(image, 0, 0, 0x110001);  // blue 8 × 2 + 1, green 17 alone, red 17 alone
  SetPixelRGB(image, 2, 1, 0x001102);
  Filter(9, image);
  EXPECT_EQ(PixelRGB(image, 1, 1), 0x010101u);
  EXPECT_EQ(PixelRGB(image, 0, 0), 0x110001u);
}

TEST(FilterValues, MinimumSpreadsADarkPixelAndMaximumRemovesIt) {
  cDIBSection dark = testing::UniformSurface(7, 7, 200, 210, 220);
  SetPixelRGB(dark, 3, 3, 0x0A0A0A);
  cDIBSection bright = testing::Copy(dark);
  Filter(10, dark);
  for (std::int32_t y = 0; y < 7; ++y) {
    for (std::int32_t i = 0; i < 7; ++i) {
      const bool near = i >= 2 && i <= 4 && y >= 2 && y <= 4;
      EXPECT_EQ(PixelRGB(dark, i, y), near ? 0x0A0A0Au : 0xDCD2C8u) << i << ',' << y;
    }
  }
  Filter(11, bright);
  EXPECT_TRUE(testing::SamePixels(bright, testing::UniformSurface(7, 7, 200, 210, 220)));
}

TEST(FilterValues, EmbossShowsOnlyBrighteningTowardsTheUpperRight) {
  // Storage row 1 is above row 0: pixel (1, 1) minus pixel (-1, -1) of each one.
  cDIBSection image = testing::UniformSurface(3, 3, 50, 50, 50);
  SetPixelRGB(image, 2, 2, 0x3C5A46);  // upper right: red 60, green 90, blue 70
  SetPixelRGB(image, 0, 0, 0x28283C);  // lower left: red 40, green 40, blue 60
  Filter(8, image);
  // (upper right − lower left) clamped at 0, then + 127: red 60 − 40, green 90 − 40, blue 70 − 60.
  EXPECT_EQ(PixelRGB(image, 1, 1), 0x93B189u);
}

TEST(FilterValues, UnsharpDoublesAgainstTheBlur) {
  cDIBSection image = testing::UniformSurface(3, 3, 90, 90, 90);
  SetPixelRGB(image, 1, 1, 0x646464);
  const cDIBSection buffer = Filter(7, image);
  EXPECT_EQ(PixelRGB(buffer, 1, 1), 0x5B5B5Bu);  // (100 + 8 × 90) / 9 = 91
  EXPECT_EQ(PixelRGB(image, 1, 1), 0x6D6D6Du);   // 2 × 100 − 91 = 109
  EXPECT_EQ(PixelRGB(image, 0, 0), 0x5A5A5Au);   // 2 × 90 − 90
}

}  // namespace
}  // namespace fotavel
