// Benchmarks of ProcessImage for every filter type on a 6000 x 4000 photo.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <stdexcept>

#include "PhotoLike.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel::bench {
namespace {

// A custom kernel as a user might type one: mixed signs, not separable;
// entries multiplied by `scale` (50 takes the sums beyond 16 bits).
void SetCustomKernel(cImageProcessDIB& engine, std::int32_t size, std::int32_t scale) {
  engine.FilterType(12);
  engine.FilterArraySize(size);
  const std::int32_t half = size / 2;
  std::int32_t sum = 0;
  for (std::int32_t iY = -half; iY <= half; ++iY) {
    for (std::int32_t iX = -half; iX <= half; ++iX) {
      const std::int32_t value = ((iX * 3 + iY * 5 + 7) % 5 - 1) * scale;
      engine.FilterValue(iX, iY, value);
      sum += value;
    }
  }
  engine.FilterValue(0, 0, engine.FilterValue(0, 0) + 9 * scale);
  engine.FilterWeight(sum + 9 * scale);
}

// Runs ProcessImage with the given type (12: a custom kernel of the given
// size and scale) and restores the photo outside the timed region.
void BM_ProcessImage(benchmark::State& state) {
  const auto type = static_cast<std::int32_t>(state.range(0));
  const auto size = static_cast<std::int32_t>(state.range(1));
  const cDIBSection original = PhotoLike();
  cDIBSection image = PhotoLike();
  cDIBSection buffer;
  if (!buffer.Create(kPhotoWidth, kPhotoHeight)) throw std::runtime_error("no memory");
  cImageProcessDIB engine;
  if (type == 12) {
    SetCustomKernel(engine, size, static_cast<std::int32_t>(state.range(2)));
  } else {
    engine.FilterType(type);
  }
  for (auto _ : state) {
    engine.ProcessImage(image, buffer);
    benchmark::ClobberMemory();
    state.PauseTiming();
    Restore(image, original);
    state.ResumeTiming();
  }
  CountMegapixels(state, std::int64_t(kPhotoWidth) * kPhotoHeight);
}
BENCHMARK(BM_ProcessImage)
    ->ArgNames({"type", "size", "scale"})
    ->Args({1, 3, 1})
    ->Args({2, 5, 1})
    ->Args({3, 3, 1})
    ->Args({4, 5, 1})
    ->Args({5, 3, 1})
    ->Args({6, 3, 1})
    ->Args({7, 3, 1})
    ->Args({8, 3, 1})
    ->Args({9, 3, 1})
    ->Args({10, 3, 1})
    ->Args({11, 3, 1})
    ->Args({12, 3, 1})
    ->Args({12, 3, 50})
    ->Args({12, 5, 1})
    ->Args({12, 7, 1})
    ->Args({12, 9, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fotavel::bench
