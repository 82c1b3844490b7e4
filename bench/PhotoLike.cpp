// Photo-like benchmark surfaces.
#include "PhotoLike.h"

#include <cmath>
#include <cstring>
#include <random>
#include <stdexcept>

namespace fotavel::bench {

cDIBSection PhotoLike(std::int32_t width, std::int32_t height) {
  cDIBSection s;
  if (!s.Create(width, height)) throw std::runtime_error("benchmark surface not created");
  std::mt19937 generator(20261206);
  std::uniform_int_distribution<int> noise(-12, 12);
  for (std::int32_t y = 0; y < height; ++y) {
    std::uint8_t* row = s.row(y);
    const double fy = double(y) / height;
    for (std::int32_t i = 0; i < width; ++i) {
      const double fx = double(i) / width;
      const double base[3] = {60 + 150 * fy, 40 + 120 * fx * fy + 60 * std::sin(6 * fx),
                              200 - 140 * fx + 30 * std::cos(5 * fy)};
      for (int c = 0; c < 3; ++c) {
        const int v = int(base[c]) + noise(generator);
        row[3 * i + c] = static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
      }
    }
  }
  return s;
}

void Restore(cDIBSection& to, const cDIBSection& from) {
  std::memcpy(to.DIBSectionBitsPtr(), from.DIBSectionBitsPtr(),
              std::size_t(from.BytesPerScanLine()) * from.height());
}

void CountMegapixels(benchmark::State& state, std::int64_t pixels) {
  state.counters["MP/s"] =
      benchmark::Counter(double(pixels) * state.iterations() / 1e6, benchmark::Counter::kIsRate);
}

}  // namespace fotavel::bench
