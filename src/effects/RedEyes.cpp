// Red eyes: the red pupil a flash leaves found around a point and made dark and neutral.
#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "effects/cImageProcessDIB.h"

namespace fotavel {
namespace {

// A pixel is a red pupil's when its red is at least kRedFloor and more than
// one and a half times its green and its blue. The floor keeps dark reds (a
// shadow in the lips, a brown iris) out; the ratio keeps skin out, whose red
// rarely reaches 1.4 times its green even under a warm light, while a flash
// reflected by the retina gives two to five times.
constexpr std::int32_t kRedFloor = 80;

inline bool IsPupilRed(const std::uint8_t* p) {
  const std::int32_t b = p[0], g = p[1], r = p[2];
  return r >= kRedFloor && 2 * r > 3 * std::max(g, b);
}

// The pixels of the pupil, in a box around the click clipped to the
// picture, counted from the top-left as displayed.
struct Pupil {
  std::int32_t left = 0, top = 0, width = 0, height = 0;
  std::vector<std::uint8_t> mask;  // 1 for the pupil's pixels, row by row from the top
  std::int64_t size = 0;

  bool In(std::int32_t x, std::int32_t y) const {
    return x >= 0 && y >= 0 && x < width && y < height &&
           mask[std::size_t(y) * std::size_t(width) + std::size_t(x)] != 0;
  }
};

const std::uint8_t* PixelAt(const cDIBSection& image, std::int32_t x, std::int32_t y) {
  return image.row(image.height() - 1 - y) + std::ptrdiff_t{x} * 3;
}

// The red region 8-connected to the red pixel nearest (x, y), inside the
// disk of `radius` around it: a pupil touching a red eyelid stops at the
// disk's edge rather than running over the face.
Pupil FindPupil(const cDIBSection& image, std::int32_t x, std::int32_t y, std::int32_t radius) {
  if (image.empty()) throw ImageProcessError(ImageProcessErrors::kEmptySurface);
  if (x < 0 || y < 0 || x >= image.width() || y >= image.height() || radius < 1) {
    throw ImageProcessError(ImageProcessErrors::kRedEyePoint);
  }
  Pupil pupil;
  pupil.left = static_cast<std::int32_t>(std::max<std::int64_t>(0, std::int64_t{x} - radius));
  pupil.top = static_cast<std::int32_t>(std::max<std::int64_t>(0, std::int64_t{y} - radius));
  pupil.width = static_cast<std::int32_t>(
      std::min<std::int64_t>(image.width(), std::int64_t{x} + radius + 1) - pupil.left);
  pupil.height = static_cast<std::int32_t>(
      std::min<std::int64_t>(image.height(), std::int64_t{y} + radius + 1) - pupil.top);
  const std::int64_t r2 = std::int64_t{radius} * radius;
  const auto inDisk = [&](std::int32_t bx, std::int32_t by) {
    const std::int64_t dx = std::int64_t{pupil.left} + bx - x;
    const std::int64_t dy = std::int64_t{pupil.top} + by - y;
    return dx * dx + dy * dy <= r2;
  };
  const auto red = [&](std::int32_t bx, std::int32_t by) {
    return inDisk(bx, by) && IsPupilRed(PixelAt(image, pupil.left + bx, pupil.top + by));
  };

  // The nearest red pixel; of several as near, the first from the top-left.
  std::int64_t best = -1;
  std::int32_t seedX = 0, seedY = 0;
  for (std::int32_t by = 0; by < pupil.height; ++by) {
    for (std::int32_t bx = 0; bx < pupil.width; ++bx) {
      if (!red(bx, by)) continue;
      const std::int64_t dx = std::int64_t{pupil.left} + bx - x;
      const std::int64_t dy = std::int64_t{pupil.top} + by - y;
      if (best < 0 || dx * dx + dy * dy < best) {
        best = dx * dx + dy * dy;
        seedX = bx;
        seedY = by;
      }
    }
  }
  if (best < 0) return pupil;

  // Positions in the box; a radius as large as the picture makes the box the
  // whole picture, which may hold more pixels than 32 bits count.
  std::vector<std::size_t> pending;
  try {
    pupil.mask.assign(std::size_t(pupil.width) * std::size_t(pupil.height), 0);
    pending.reserve(256);
    const auto visit = [&](std::int32_t bx, std::int32_t by) {
      if (bx < 0 || by < 0 || bx >= pupil.width || by >= pupil.height) return;
      const std::size_t index = std::size_t(by) * std::size_t(pupil.width) + std::size_t(bx);
      if (pupil.mask[index] != 0 || !red(bx, by)) return;
      pupil.mask[index] = 1;
      ++pupil.size;
      pending.push_back(index);
    };
    visit(seedX, seedY);
    while (!pending.empty()) {
      const std::size_t index = pending.back();
      pending.pop_back();
      const auto bx = static_cast<std::int32_t>(index % std::size_t(pupil.width));
      const auto by = static_cast<std::int32_t>(index / std::size_t(pupil.width));
      for (std::int32_t dy = -1; dy <= 1; ++dy) {
        for (std::int32_t dx = -1; dx <= 1; ++dx) visit(bx + dx, by + dy);
      }
    }
  } catch (const std::bad_alloc&) {
    throw ImageProcessError(ImageProcessErrors::kOutOfMemory);
  }
  return pupil;
}

// Pixel (b, g, r) of the pupil: its red brought to the mean of its green
// and blue, which leaves no red to see, then darkened towards half of each.
// The darkening's weight is the share of the pixel's 3 x 3 neighbourhood
// that lies in the pupil, in ninths: 9 inside, about 6 on a straight rim, 4
// at a corner. The rim thus fades into the iris instead of ending in a hard,
// jagged black line; pixels outside the pupil keep their bytes.
inline void Darken(std::uint8_t* p, std::int32_t weight) {
  const std::int32_t neutral[3] = {p[0], p[1], (p[0] + p[1]) >> 1};
  for (int c = 0; c < 3; ++c) {
    p[c] =
        static_cast<std::uint8_t>((neutral[c] * (9 - weight) + (neutral[c] >> 1) * weight + 4) / 9);
  }
}

}  // namespace

std::int64_t cImageProcessDIB::RedPupilSize(const cDIBSection& image, std::int32_t x,
                                            std::int32_t y, std::int32_t radius) const {
  return FindPupil(image, x, y, radius).size;
}

std::int64_t cImageProcessDIB::RedEyes(cDIBSection& image, std::int32_t x, std::int32_t y,
                                       std::int32_t radius) {
  const Pupil pupil = FindPupil(image, x, y, radius);
  if (pupil.size == 0) return 0;
  const PassClock clock;
  m_events.Init(pupil.height - 1);
  for (std::int32_t by = 0; by < pupil.height; ++by) {
    std::uint8_t* row = image.row(image.height() - 1 - (pupil.top + by));
    for (std::int32_t bx = 0; bx < pupil.width; ++bx) {
      if (!pupil.In(bx, by)) continue;
      std::int32_t weight = 0;
      for (std::int32_t dy = -1; dy <= 1; ++dy) {
        for (std::int32_t dx = -1; dx <= 1; ++dx) weight += pupil.In(bx + dx, by + dy) ? 1 : 0;
      }
      Darken(row + std::ptrdiff_t{pupil.left + bx} * 3, weight);
    }
    m_events.Progress(by);
  }
  m_events.Complete(clock.ElapsedMs());
  return pupil.size;
}

}  // namespace fotavel
