// DisplayPyramid: a surface as a screen shows it, upright 32-bit pixels at 100 % and at halvings.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "surface/cDIBSection.h"

namespace fotavel {

// Screens and their paint engines work on 32-bit pixels, top row first; a
// 24-bit bottom-up surface handed to them is converted again on every paint.
// The pyramid is that conversion done once per change of the photo, plus
// copies halved again and again, so that a view at any zoom scales down by
// at most a factor of two from the level above it: a repaint then reads only
// the pixels it shows, and a small zoom never samples a 24-megapixel picture
// sparsely (which would shimmer).
//
// Pixels are 0xFFRRGGBB in native byte order (blue first in memory on x86),
// rows are `width` pixels apart. Level 0 is the surface upright; level k + 1
// is level k halved, each pixel the rounded mean of a 2 x 2 block, an odd last
// column or row standing in for its missing neighbour. Levels go on until the
// longer side is at most kSmallestSide.
class DisplayPyramid {
 public:
  static constexpr std::int32_t kSmallestSide = 64;

  struct Level {
    const std::uint32_t* bits = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
  };

  DisplayPyramid() = default;
  ~DisplayPyramid();
  DisplayPyramid(const DisplayPyramid&) = delete;
  DisplayPyramid& operator=(const DisplayPyramid&) = delete;

  // Redraws the levels from `finest` (0 or 1) on from `surface`, in one pass
  // over it. Level 0 is the largest by far, and a view at half size or less
  // never reads it: leaving it out halves the work and the memory. The memory
  // of the previous build is reused when it is large enough. False, with the
  // pyramid left empty, when the surface is empty or memory cannot be had.
  // Bands of rows are built on every thread ThreadCount() allows, from
  // ThreadMinPixels() pixels on; the levels are the same whatever the count.
  [[nodiscard]] bool Build(const cDIBSection& surface, std::int32_t finest = 0) noexcept;
  void Clear() noexcept;

  bool empty() const { return m_count == 0; }
  std::int32_t Levels() const { return m_count; }
  // The first level built; level(k) below it holds no pixels.
  std::int32_t Finest() const { return m_finest; }
  const Level& level(std::int32_t k) const { return m_levels[static_cast<std::size_t>(k)]; }
  // The smallest level built still at least `width` x `height`: the one to
  // scale down from for a view of that size (the finest for a view larger).
  std::int32_t LevelFor(std::int32_t width, std::int32_t height) const;
  // The finest level a view of viewWidth x viewHeight over a surface of
  // width x height needs.
  static std::int32_t FinestFor(std::int32_t width, std::int32_t height, std::int32_t viewWidth,
                                std::int32_t viewHeight);

 private:
  std::uint32_t* m_block = nullptr;
  std::size_t m_bytes = 0;
  // At most 32 halvings take a 32-bit side down to 1.
  std::array<Level, 33> m_levels{};
  std::int32_t m_count = 0;
  std::int32_t m_finest = 0;
};

}  // namespace fotavel
