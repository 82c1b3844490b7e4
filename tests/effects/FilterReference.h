// The filters and combinations written plainly, column by column, with their own events.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "effects/ProgressEvents.h"
#include "surface/cDIBSection.h"

namespace fotavel::testing {

// Every pass here follows the described loops literally: outer loop over byte columns in steps of
// 3, inner loop over rows, a Progress after each column. Sums are formed in 64 bits, so they are
// the exact values; `/` on them truncates toward zero.
class ReferenceFilters {
 public:
  explicit ReferenceFilters(ProgressListener& listener) : listener_(listener) {}

  // A square kernel, entry (iX, iY) at kernel[(iY + half) × size + iX + half].
  void Convolution(const cDIBSection& s, cDIBSection& d, std::int32_t size,
                   const std::vector<std::int32_t>& kernel, std::int32_t weight) {
    const std::int32_t h = size / 2;
    const std::int32_t width = s.width();
    const std::int32_t height = s.height();
    ConstByteView src = s.view();
    ByteView dst = d.view();
    listener_.InitProgress(3 * (width - h - 1));
    for (std::int32_t x = 3 * h; x <= 3 * (width - h - 1); x += 3) {
      for (std::int32_t y = h; y <= height - h - 1; ++y) {
        std::int64_t sum[3] = {0, 0, 0};
        for (std::int32_t iX = -h; iX <= h; ++iX) {
          for (std::int32_t iY = -h; iY <= h; ++iY) {
            const std::int64_t k = kernel[std::size_t(iY + h) * size + (iX + h)];
            for (int c = 0; c < 3; ++c) sum[c] += src(x + 3 * iX + c, y + iY) * k;
          }
        }
        for (int c = 0; c < 3; ++c) dst(x + c, y) = Clamp(sum[c] / weight);
      }
      listener_.Progress(x);
    }
    listener_.Complete(0);
  }

  // Type 9 mean, 10 minimum, 11 maximum.
  void Rank(const cDIBSection& s, cDIBSection& d, std::int32_t type) {
    const std::int32_t width = s.width();
    const std::int32_t height = s.height();
    ConstByteView src = s.view();
    ByteView dst = d.view();
    listener_.InitProgress(3 * width - 6);
    for (std::int32_t x = 3; x <= 3 * width - 6; x += 3) {
      for (std::int32_t y = 1; y <= height - 2; ++y) {
        std::int64_t acc[3];
        std::fill(acc, acc + 3, type == 10 ? 255 : 0);
        for (std::int32_t dx = -1; dx <= 1; ++dx) {
          for (std::int32_t dy = -1; dy <= 1; ++dy) {
            for (int c = 0; c < 3; ++c) {
              const std::int64_t v = src(x + 3 * dx + c, y + dy);
              acc[c] = type == 9    ? acc[c] + v
                       : type == 10 ? std::min(acc[c], v)
                                    : std::max(acc[c], v);
            }
          }
        }
        for (int c = 0; c < 3; ++c) dst(x + c, y) = Clamp(type == 9 ? acc[c] / 9 : acc[c]);
      }
      listener_.Progress(x);
    }
    listener_.Complete(0);
  }

  void AddImages(const cDIBSection& from, cDIBSection& to, std::int32_t fromMultiplier,
                 const std::int32_t fromOffsets[3], std::int32_t toMultiplier,
                 const std::int32_t toOffsets[3]) {
    ConstByteView s = from.view();
    ByteView d = to.view();
    listener_.InitProgress(3 * to.width() - 3);
    for (std::int32_t x = 0; x <= 3 * to.width() - 3; x += 3) {
      for (std::int32_t y = 0; y < to.height(); ++y) {
        for (int c = 0; c < 3; ++c) {
          // Two products of 32-bit factors can together pass 2^63: 128 bits.
          const __int128 v = __int128{s(x + c, y) + std::int64_t{fromOffsets[c]}} * fromMultiplier +
                             __int128{d(x + c, y) + std::int64_t{toOffsets[c]}} * toMultiplier;
          d(x + c, y) = static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
        }
      }
      listener_.Progress(x);
    }
    listener_.Complete(0);
  }

  // keepDarker: AddLightest (copy where the source is strictly darker), with
  // events; otherwise AddDarkest (copy where strictly lighter), without.
  void Keep(const cDIBSection& from, cDIBSection& to, bool keepDarker) {
    ConstByteView s = from.view();
    ByteView d = to.view();
    if (keepDarker) listener_.InitProgress(3 * (to.width() - 1));
    for (std::int32_t x = 0; x <= 3 * (to.width() - 1); x += 3) {
      for (std::int32_t y = 0; y < to.height(); ++y) {
        const std::int32_t source = 929 * s(x + 1, y) + 71 * s(x, y);
        const std::int32_t destination = 929 * d(x + 1, y) + 71 * d(x, y);
        if (keepDarker ? source < destination : destination < source) {
          for (int c = 0; c < 3; ++c) d(x + c, y) = s(x + c, y);
        }
      }
      if (keepDarker) listener_.Progress(x);
    }
    if (keepDarker) listener_.Complete(0);
  }

 private:
  static std::uint8_t Clamp(std::int64_t v) {
    return static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
  }
  ProgressListener& listener_;
};

}  // namespace fotavel::testing
