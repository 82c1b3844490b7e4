// Benchmarks of the bilinear resampling and of the sky gradient on a 6000 x 4000 photo.
#include <benchmark/benchmark.h>

#include <stdexcept>

#include "PhotoLike.h"
#include "effects/cielbleu.h"
#include "surface/cDIBSection.h"

namespace fotavel::bench {
namespace {

// Arguments: destination width and height. The output megapixels are counted.
void BM_Resample(benchmark::State& state) {
  const cDIBSection source = PhotoLike();
  const auto width = static_cast<std::int32_t>(state.range(0));
  const auto height = static_cast<std::int32_t>(state.range(1));
  for (auto _ : state) {
    auto result = source.Resample(height, width);
    if (!result) throw std::runtime_error("no memory");
    benchmark::DoNotOptimize(result->DIBSectionBitsPtr());
  }
  CountMegapixels(state, std::int64_t{width} * height);
}
BENCHMARK(BM_Resample)->Args({400, 267})->Args({3000, 2000})->Unit(benchmark::kMillisecond);

void BM_SkyGradient(benchmark::State& state) {
  cDIBSection canvas;
  if (!canvas.Create(kPhotoWidth, kPhotoHeight)) throw std::runtime_error("no memory");
  for (auto _ : state) {
    cielbleu::PaintGradient(canvas);
    benchmark::ClobberMemory();
  }
  CountMegapixels(state, std::int64_t{kPhotoWidth} * kPhotoHeight);
}
BENCHMARK(BM_SkyGradient)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fotavel::bench
