// The explorer's preview size rule and its nearest-neighbour reduction.
#include "surface/Preview.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "surface/WorkerPool.h"

namespace fotavel {

namespace {
// Nearest, halves to even: the default rounding mode.
std::int32_t Nearest(double v) { return static_cast<std::int32_t>(std::nearbyint(v)); }
}  // namespace

PreviewSize FitPreview(std::int32_t sw, std::int32_t sh, std::int32_t maxWidth,
                       std::int32_t maxHeight) {
  if (sw <= 0 || sh <= 0 || maxWidth <= 0 || maxHeight <= 0) return {};
  // Products in 64 bits: a 32-bit product of a photo's side and a box's side
  // could wrap for the sizes a picture file may claim.
  const auto byHeight = [&] {
    return PreviewSize{Nearest(double(std::int64_t(maxHeight) * sw) / sh), maxHeight};
  };
  if (sw <= maxWidth) return sh <= maxHeight ? PreviewSize{sw, sh} : byHeight();
  const PreviewSize byWidth{maxWidth, Nearest(double(std::int64_t(maxWidth) * sh) / sw)};
  return byWidth.height > maxHeight ? byHeight() : byWidth;
}

void SamplePreview(ConstByteView source, cDIBSection& target) {
  const std::int32_t sw = source.width(), sh = source.height();
  const std::int32_t w = target.width(), h = target.height();
  if (sw <= 0 || sh <= 0 || w <= 0 || h <= 0) return;
  const double r = double(sw) / double(w);
  // Each column's source byte offset, worked out once for every row.
  std::vector<std::int32_t> columns(static_cast<std::size_t>(w));
  for (std::int32_t x = 0; x < w; ++x) columns[x] = 3 * std::min(Nearest(x * r), sw - 1);
  // Each target row reads the source only: bands of rows are shared out
  // (a preview the size of a photo; the explorer's small ones stay on the
  // calling thread).
  ForEachRowBand(
      h, std::int64_t{w} * h,
      [&](std::int32_t y0, std::int32_t y1) {
        for (std::int32_t y = y0; y < y1; ++y) {
          // Rows are stored bottom-up: displayed row y is storage row height - 1 - y.
          const std::int32_t from = std::min(Nearest(y * r), sh - 1);
          const std::uint8_t* in = source.row(sh - 1 - from);
          std::uint8_t* out = target.row(h - 1 - y);
          for (std::int32_t x = 0; x < w; ++x, out += 3) {
            const std::uint8_t* p = in + columns[x];
            out[0] = p[0];
            out[1] = p[1];
            out[2] = p[2];
          }
        }
      },
      [](std::int32_t, std::int32_t) {});
}

}  // namespace fotavel
