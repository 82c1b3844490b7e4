// Surfaces for tests: random content with a fixed seed, a sentinel in the row padding.
#pragma once

#include <cstdint>
#include <string>

#include "surface/SurfaceMemory.h"
#include "surface/cDIBSection.h"

namespace fotavel::testing {

// The byte written into every padding byte by the fill helpers; a pass that
// writes padding shows up as a changed sentinel.
inline constexpr std::uint8_t kPaddingSentinel = 0xA5;

// Creates width x height with random pixel bytes (seeded) and sentinel padding.
cDIBSection RandomSurface(std::int32_t width, std::int32_t height, std::uint32_t seed);
// Creates width x height with every pixel (blue, green, red) and sentinel padding.
cDIBSection UniformSurface(std::int32_t width, std::int32_t height, std::uint8_t blue,
                           std::uint8_t green, std::uint8_t red);
// A deep copy, padding included.
cDIBSection Copy(const cDIBSection& s);

// True when every padding byte still holds the sentinel.
bool PaddingIntact(const cDIBSection& s);
// True when sizes and every pixel byte match (padding ignored).
bool SamePixels(const cDIBSection& a, const cDIBSection& b);
// Describes the first differing pixel byte, for failure messages.
std::string FirstDifference(const cDIBSection& a, const cDIBSection& b);

// Pixel (column i, storage row y) as 0xRRGGBB.
std::uint32_t PixelRGB(const cDIBSection& s, std::int32_t i, std::int32_t y);
void SetPixelRGB(cDIBSection& s, std::int32_t i, std::int32_t y, std::uint32_t rgb);

// While alive, surfaces may take only `allowance` bytes beyond what is live now.
class NoMoreSurfaceMemory {
 public:
  explicit NoMoreSurfaceMemory(std::size_t allowance = 0)
      : previous_(SetSurfaceMemoryLimit(LiveSurfaceBytes() + allowance)) {}
  ~NoMoreSurfaceMemory() { SetSurfaceMemoryLimit(previous_); }
  NoMoreSurfaceMemory(const NoMoreSurfaceMemory&) = delete;
  NoMoreSurfaceMemory& operator=(const NoMoreSurfaceMemory&) = delete;

 private:
  std::size_t previous_;
};

// The awkward sizes every reordered pass is compared on.
struct Size {
  std::int32_t width, height;
};
inline constexpr Size kAwkwardSizes[] = {{1, 1}, {1, 7}, {7, 1},   {2, 2},   {3, 3},   {4, 3},
                                         {5, 9}, {9, 5}, {17, 13}, {257, 3}, {3, 257}, {301, 203}};

}  // namespace fotavel::testing
