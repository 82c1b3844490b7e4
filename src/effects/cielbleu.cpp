// cielbleu: the blue sky gradient, painted row by row in memory order.
#include "effects/cielbleu.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "surface/WorkerPool.h"

namespace fotavel::cielbleu {
namespace {

// Start colour of the top row, in storage order blue, green, red.
constexpr int kStart[3] = {212, 117, 84};

// The gradient was first drawn by adding 2 * (255 - start) / H to a running
// value once per row; the sum drifts from the closed form by rounding on some
// rows (H = 100, row 25, red: 169 where 84 + 85.5 rounds to 170). The closed
// form is the gradient we mean, so each row is computed from it directly.
std::uint8_t Channel(int start, std::int32_t v, std::int32_t height) {
  const double value = std::nearbyint(start + 2.0 * v * (255 - start) / height);
  return static_cast<std::uint8_t>(std::min(value, 255.0));
}

// Fills 3 * width bytes with one colour: one pixel, then doubling copies, so
// the row is written at memcpy speed whatever its width.
void FillRow(std::uint8_t* row, std::int32_t width, const std::uint8_t (&bgr)[3]) {
  const std::size_t bytes = 3 * std::size_t(width);
  std::memcpy(row, bgr, 3);
  for (std::size_t done = 3; done < bytes;) {
    const std::size_t chunk = std::min(done, bytes - done);
    std::memcpy(row + done, row, chunk);
    done += chunk;
  }
}

}  // namespace

void PaintGradient(cDIBSection& canvas) {
  if (canvas.empty()) return;
  const std::int32_t width = canvas.width();
  const std::int32_t height = canvas.height();
  // Each row is its own colour, computed afresh: bands of rows are shared out.
  ForEachRowBand(
      height, std::int64_t{width} * height,
      [&](std::int32_t y0, std::int32_t y1) {
        for (std::int32_t y = y0; y < y1; ++y) {
          const std::int32_t v = height - 1 - y;  // displayed row, 0 at the top
          const std::uint8_t colour[3] = {Channel(kStart[0], v, height),
                                          Channel(kStart[1], v, height),
                                          Channel(kStart[2], v, height)};
          FillRow(canvas.row(y), width, colour);
        }
      },
      [](std::int32_t, std::int32_t) {});
}

}  // namespace fotavel::cielbleu
