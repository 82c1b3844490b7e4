// Hand-computed results of ProcessImage; the events are compared with the plain passes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "effects/cImageProcessDIB.h"
#include "support/Surfaces.h"

namespace fotavel {
namespace {

using testing::PixelRGB;
using testing::SetPixelRGB;

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
  EXPECT_EQ(PixelRGB(image, 0, 2), 0x325A5Au);  // border: unfiltered
  EXPECT_EQ(PixelRGB(image, 2, 4), 0x325A5Au);
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
