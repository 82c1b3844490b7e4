// The filters and combinations written plainly, column by column, with their own events.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "support/EventRecorder.h"
#include "surface/cDIBSection.h"

namespace fotavel::testing {

// Every pass here follows the described loops literally: outer loop over byte columns in steps of
// 3, inner loop over rows, a Progress after each column. Sums are formed in 64 bits (128 for the
// weighted sum), so they are the exact values; `/` on them truncates toward zero.
class PlainPasses {
 public:
  std::vector<Event> events;

  // A square kernel, entry (iX, iY) at kernel[(iY + half) × size + iX + half].
  void Convolution(const cDIBSection& s, cDIBSection& d, std::int32_t size,
                   const std::vector<std::int32_t>& kernel, std::int32_t weight) {
    const std::int32_t h = size / 2;
    Columns(3 * h, 3 * (s.width() - h - 1), [&](std::int32_t x) {
      for (std::int32_t y = h; y <= s.height() - h - 1; ++y) {
        std::int64_t sum[3] = {0, 0, 0};
        for (std::int32_t iX = -h; iX <= h; ++iX) {
          for (std::int32_t iY = -h; iY <= h; ++iY) {
            const std::int64_t k = kernel[std::size_t(iY + h) * size + (iX + h)];
            for (int c = 0; c < 3; ++c) sum[c] += s.view()(x + 3 * iX + c, y + iY) * k;
          }
        }
        for (int c = 0; c < 3; ++c) d.view()(x + c, y) = Clamp(sum[c] / weight);
      }
    });
  }

  // The 3 × 3 minimum or maximum (the mean is the 3 × 3 box convolution of weight 9).
  void Rank(const cDIBSection& s, cDIBSection& d, bool maximum) {
    Columns(3, 3 * s.width() - 6, [&](std::int32_t x) {
      for (std::int32_t y = 1; y <= s.height() - 2; ++y) {
        for (int c = 0; c < 3; ++c) {
          std::uint8_t v = s.view()(x + c, y);
          for (std::int32_t dx = -1; dx <= 1; ++dx) {
            for (std::int32_t dy = -1; dy <= 1; ++dy) {
              const std::uint8_t n = s.view()(x + 3 * dx + c, y + dy);
              v = maximum ? std::max(v, n) : std::min(v, n);
            }
          }
          d.view()(x + c, y) = v;
        }
      }
    });
  }

  void AddImages(const cDIBSection& from, cDIBSection& to, std::int32_t fromMultiplier,
                 const std::int32_t fromOffsets[3], std::int32_t toMultiplier,
                 const std::int32_t toOffsets[3]) {
    Columns(0, 3 * to.width() - 3, [&](std::int32_t x) {
      for (std::int32_t y = 0; y < to.height(); ++y) {
        for (int c = 0; c < 3; ++c) {
          std::uint8_t& d = to.view()(x + c, y);
          // Two products of 32-bit factors can together pass 2^63.
          const __int128 v =
              __int128{from.view()(x + c, y) + std::int64_t{fromOffsets[c]}} * fromMultiplier +
              __int128{d + std::int64_t{toOffsets[c]}} * toMultiplier;
          d = static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
        }
      }
    });
  }

  // Copies the source pixel where its measure 929 × green + 71 × blue is strictly below the
  // destination's (AddLightest, as the engine names it), or strictly above (AddDarkest).
  void Keep(const cDIBSection& from, cDIBSection& to, bool whereDarker) {
    Columns(0, 3 * (to.width() - 1), [&](std::int32_t x) {
      for (std::int32_t y = 0; y < to.height(); ++y) {
        const std::int32_t source = 929 * from.view()(x + 1, y) + 71 * from.view()(x, y);
        const std::int32_t destination = 929 * to.view()(x + 1, y) + 71 * to.view()(x, y);
        if (whereDarker ? source < destination : destination < source) {
          for (int c = 0; c < 3; ++c) to.view()(x + c, y) = from.view()(x + c, y);
        }
      }
    });
  }

 private:
  template <class Fn>
  void Columns(std::int32_t first, std::int32_t last, Fn&& column) {
    events.push_back({Event::kInit, last});
    for (std::int32_t x = first; x <= last; x += 3) {
      column(x);
      events.push_back({Event::kProgress, x});
    }
    events.push_back({Event::kComplete, 0});
  }
  static std::uint8_t Clamp(std::int64_t v) {
    return static_cast<std::uint8_t>(std::clamp<std::int64_t>(v, 0, 255));
  }
};

}  // namespace fotavel::testing
