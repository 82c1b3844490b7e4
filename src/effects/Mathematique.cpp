// Eff_Mathematique: convolution with a matrix, divisor and bias given as one parameter list.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "effects/cImageProcessDIB.h"
#include "surface/CpuVersions.h"
#include "surface/InOrder.h"

namespace fotavel {
namespace {

// One non-zero matrix entry: column offset, row offset (storage order), weight.
struct Tap {
  std::int32_t dx, dy, weight;
};

// What the parameter list asks for, once it has been checked.
struct Matrix {
  std::vector<Tap> taps;  // zero entries dropped: they add nothing
  std::int32_t half = 0;
  std::int32_t divisor = 1;
  std::int32_t bias = 0;
  // Bounds of any sum of weight × byte: 255 × (sum of negative weights) and
  // 255 × (sum of positive weights), both inside the signed 16-bit range.
  std::int32_t lowest = 0, highest = 0;
};

Matrix CheckedMatrix(std::span<const std::int32_t> p) {
  using namespace ImageProcessErrors;
  if (p.size() < 4 || p[0] != p[1]) throw ImageProcessError(kBadMatrix);
  const std::int64_t n = p[0];
  if (n < 1 || n % 2 == 0) throw ImageProcessError(kBadMatrix);
  if (std::uint64_t(p.size()) - 4 < std::uint64_t(n * n)) throw ImageProcessError(kBadMatrix);
  if (p[2] == 0) throw ImageProcessError(kZeroDivisor);

  Matrix m;
  m.half = static_cast<std::int32_t>(n / 2);
  m.divisor = p[2];
  m.bias = p[3];
  // The sums are accumulated in 16 bits; a list that could carry any partial
  // sum outside -32768 … 32767 cannot be computed and is refused. Any partial
  // sum lies between 255 × (negative weights) and 255 × (positive weights).
  std::int64_t positive = 0, negative = 0;
  for (std::int64_t dx = -m.half; dx <= m.half; ++dx) {
    for (std::int64_t dy = -m.half; dy <= m.half; ++dy) {
      const std::int32_t weight = p[4 + (dx + m.half) * n + (dy + m.half)];
      if (weight == 0) continue;
      (weight > 0 ? positive : negative) += weight;
      if (255 * positive > 32767 || 255 * negative < -32768) throw ImageProcessError(kMatrixRange);
      m.taps.push_back({static_cast<std::int32_t>(dx), static_cast<std::int32_t>(dy), weight});
    }
  }
  m.lowest = static_cast<std::int32_t>(255 * negative);
  m.highest = static_cast<std::int32_t>(255 * positive);
  return m;
}

// round(sum / divisor + bias), halves to even, clamped to 0 … 255, in exact
// integer arithmetic (floor quotient and remainder of sum / |divisor|).
std::uint8_t Finish(std::int32_t sum, std::int32_t divisor, std::int32_t bias) {
  std::int64_t numerator = divisor < 0 ? -std::int64_t{sum} : sum;
  const std::int64_t d = divisor < 0 ? -std::int64_t{divisor} : divisor;
  std::int64_t quotient = numerator / d;
  std::int64_t remainder = numerator - quotient * d;
  if (remainder < 0) {
    --quotient;
    remainder += d;
  }
  std::int64_t value = quotient + bias;
  if (2 * remainder > d || (2 * remainder == d && (value & 1) != 0)) ++value;
  return static_cast<std::uint8_t>(std::clamp<std::int64_t>(value, 0, 255));
}

// The sums are kept modulo 2^16 (unsigned, so wrapping is defined). The
// refusal above guarantees that the true sum lies in -32768 … 32767, so the
// low 16 bits read as a signed number are the sum itself, whatever order the
// terms were added in.
constexpr std::int32_t kChunkBytes = 3 * 512;

// How a sum becomes a byte. A divisor of ±1 is plain arithmetic, done on
// whole chunks with vector instructions; any other divisor goes through a
// table over every sum the matrix can produce (at most 65536 entries, built
// once per call), so no pixel pays for a division.
struct Finisher {
  std::int32_t sign = 1;            // divisor ±1 only
  std::int32_t bias = 0;            // clamped so that sum + bias cannot overflow
  std::vector<std::uint8_t> table;  // other divisors: indexed by sum − lowest
  std::int32_t lowest = 0;
};

Finisher MakeFinisher(const Matrix& m) {
  Finisher f;
  f.lowest = m.lowest;
  if (m.divisor == 1 || m.divisor == -1) {
    f.sign = m.divisor;
    // Any sum lies in -32768 … 32767: beyond ±65536 the bias saturates the
    // result either way.
    f.bias = std::clamp(m.bias, -65536, 65536);
    return f;
  }
  f.table.resize(std::size_t(m.highest - m.lowest) + 1);
  for (std::int32_t sum = m.lowest; sum <= m.highest; ++sum) {
    f.table[std::size_t(sum - m.lowest)] = Finish(sum, m.divisor, m.bias);
  }
  return f;
}

// Computes storage row y of the result into `out`. Each matrix entry adds its
// weight times one shifted source row to the chunk's sums; the shift range is
// cut to the neighbours that exist, so pixels near the edges see fewer terms
// without a test per pixel.
[[gnu::always_inline]] inline void ConvolveRow(const cDIBSection& image, std::int32_t y,
                                               const std::vector<Tap>& taps,
                                               const Finisher& finisher, std::uint8_t* out) {
  const std::int32_t width = image.width();
  const std::int32_t height = image.height();
  const std::int32_t rowBytes = 3 * width;
  alignas(64) std::uint16_t sums[kChunkBytes];
  for (std::int32_t b0 = 0; b0 < rowBytes; b0 += kChunkBytes) {
    const std::int32_t b1 = std::min(rowBytes, b0 + kChunkBytes);
    const std::int32_t count = b1 - b0;
    std::fill(sums, sums + count, std::uint16_t{0});
    for (const Tap& tap : taps) {
      const std::int32_t sy = y + tap.dy;
      if (sy < 0 || sy >= height) continue;
      // Pixel columns i with 0 <= i + dx < width, as bytes.
      const std::int32_t lo = std::max(b0, 3 * std::max(0, -tap.dx));
      const std::int32_t hi = std::min(b1, 3 * std::min(width, width - tap.dx));
      if (lo >= hi) continue;
      const std::uint8_t* source = image.row(sy) + (lo + 3 * tap.dx);
      const std::uint16_t weight = static_cast<std::uint16_t>(tap.weight);
      std::uint16_t* s = sums + (lo - b0);
      for (std::int32_t j = 0; j < hi - lo; ++j) {
        s[j] = static_cast<std::uint16_t>(s[j] + weight * source[j]);
      }
    }
    std::uint8_t* o = out + b0;
    if (finisher.table.empty()) {
      const std::int32_t sign = finisher.sign, bias = finisher.bias;
      for (std::int32_t j = 0; j < count; ++j) {
        const std::int32_t v = sign * std::int32_t(std::int16_t(sums[j])) + bias;
        o[j] = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
      }
    } else {
      const std::uint8_t* table = finisher.table.data();
      const std::int32_t lowest = finisher.lowest;
      for (std::int32_t j = 0; j < count; ++j) o[j] = table[std::int16_t(sums[j]) - lowest];
    }
  }
}

}  // namespace

void cImageProcessDIB::Eff_Mathematique(cDIBSection& image,
                                        std::span<const std::int32_t> parameters) {
  const Matrix matrix = CheckedMatrix(parameters);
  if (image.empty()) throw ImageProcessError(ImageProcessErrors::kEmptySurface);
  const PassClock clock;
  const std::int32_t width = image.width();
  const std::int32_t height = image.height();
  // Every sum reads the unchanged picture, so the result is built beside it.
  cDIBSection result;
  if (!result.Create(width, height)) throw ImageProcessError(ImageProcessErrors::kOutOfMemory);
  const Finisher finisher = MakeFinisher(matrix);

  m_events.Init(height - 1);
  const auto convolveRow = Versioned<ConvolveRow>::Pick();
  // Rows of the result are independent of one another: bands of them on
  // every thread, their events raised in order here.
  ForEachRowInOrder(
      height, std::int64_t{width} * height,
      [&](std::int32_t y) { convolveRow(image, y, matrix.taps, finisher, result.row(y)); },
      [&](std::int32_t y) { m_events.Progress(y); });
  m_events.Complete(clock.ElapsedMs());
  // Same size, origin (0, 0): this cannot fail.
  (void)image.LoadPictureBlt(result);
}

}  // namespace fotavel
