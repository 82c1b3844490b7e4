// Benchmarks of the geometric and texture effects on the 6000 x 4000 photo-like surface.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <limits>

#include "FreshMemory.h"
#include "PhotoLike.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel::bench {
namespace {

constexpr std::int64_t kPixels = std::int64_t{kPhotoWidth} * kPhotoHeight;
constexpr std::int32_t kFindEdges[] = {3, 3, 1, 0, -1, -1, -1, -1, 8, -1, -1, -1, -1};
// A softening matrix whose divisor is not 1, so sums go through the rounding table.
constexpr std::int32_t kSoften[] = {3, 3, 12, 0, 1, 1, 1, 1, 4, 1, 1, 1, 1};

// state.range(0): 0 right, 1 left; state.range(1): fresh (FreshMemory.h), the
// turned picture then being new memory each time.
void BM_Tourner(benchmark::State& state) {
  cDIBSection photo = PhotoLike();
  const PoolOff pool(state.range(1) != 0);
  cImageProcessDIB engine;
  for (auto _ : state) {
    engine.Tourner(photo, state.range(0) != 0);
    benchmark::DoNotOptimize(photo.DIBSectionBitsPtr());
  }
  CountMegapixels(state, kPixels);
}
BENCHMARK(BM_Tourner)
    ->ArgNames({"left", "fresh"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond);

// state.range(0): 0 find edges, 1 a matrix with divisor 12; state.range(1):
// fresh, the surface the result is built in then being new memory each time.
void BM_EffMathematique(benchmark::State& state) {
  cDIBSection photo = PhotoLike();
  const cDIBSection original = PhotoLike();
  const PoolOff pool(state.range(1) != 0);
  cImageProcessDIB engine;
  const std::span<const std::int32_t> list =
      state.range(0) == 0 ? std::span<const std::int32_t>(kFindEdges) : std::span(kSoften);
  for (auto _ : state) {
    engine.Eff_Mathematique(photo, list);
    state.PauseTiming();
    Restore(photo, original);
    state.ResumeTiming();
  }
  CountMegapixels(state, kPixels);
}
BENCHMARK(BM_EffMathematique)
    ->ArgNames({"divisor12", "fresh"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond);

// In place on the photo; fresh, the photo is a new decoded surface each time.
template <class Effect>
void RunInPlace(benchmark::State& state, Effect effect) {
  const bool fresh = state.range(0) != 0;
  const PoolOff pool(fresh);
  const cDIBSection original = PhotoLike();
  cDIBSection photo = PhotoLike();
  cImageProcessDIB engine;
  for (auto _ : state) {
    if (fresh) {
      state.PauseTiming();
      photo = Decoded(original);
      state.ResumeTiming();
    }
    effect(engine, photo);
    benchmark::ClobberMemory();
  }
  CountMegapixels(state, kPixels);
}

void BM_Diffusion(benchmark::State& state) {
  RunInPlace(state, [](cImageProcessDIB& e, cDIBSection& s) { e.Diffusion(s, 6); });
}
BENCHMARK(BM_Diffusion)->ArgName("fresh")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The whole picture, all nine passes: megapixels of picture per second.
void BM_FlouLocal(benchmark::State& state) {
  RunInPlace(state, [](cImageProcessDIB& e, cDIBSection& s) {
    e.FlouLocal(s, 0, 0, kPhotoWidth, kPhotoHeight);
  });
}
BENCHMARK(BM_FlouLocal)->ArgName("fresh")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The centred 5000 x 3000 rectangle of the photo, as a crop keeps it.
constexpr PixelRect kKept{500, 500, 5000, 3000};
constexpr std::int64_t kKeptPixels = std::int64_t{kKept.width} * kKept.height;

// The photo is put back at full size, untimed, before each crop.
void BM_Crop(benchmark::State& state) {
  const cDIBSection original = PhotoLike();
  cDIBSection photo;
  cImageProcessDIB engine;
  for (auto _ : state) {
    state.PauseTiming();
    if (!photo.Create(kPhotoWidth, kPhotoHeight)) state.SkipWithError("no memory");
    Restore(photo, original);
    state.ResumeTiming();
    engine.Crop(photo, kKept);
    benchmark::DoNotOptimize(photo.DIBSectionBitsPtr());
  }
  CountMegapixels(state, kKeptPixels);
}
BENCHMARK(BM_Crop)->Unit(benchmark::kMillisecond);

// The yardstick of BM_Crop: the kept rows' bytes copied into a surface of their size.
void BM_CropMemcpy(benchmark::State& state) {
  const cDIBSection photo = PhotoLike();
  cDIBSection kept = PhotoLike(kKept.width, kKept.height);
  for (auto _ : state) {
    for (std::int32_t y = 0; y < kKept.height; ++y) {
      std::memcpy(kept.row(y),
                  photo.row(kPhotoHeight - kKept.top - kKept.height + y) + 3 * kKept.left,
                  std::size_t(3) * kKept.width);
    }
    benchmark::DoNotOptimize(kept.DIBSectionBitsPtr());
    benchmark::ClobberMemory();
  }
  CountMegapixels(state, kKeptPixels);
}
BENCHMARK(BM_CropMemcpy)->Unit(benchmark::kMillisecond);

// 3 degrees; state.range(0): white corners. Megapixels of the photo turned;
// the photo is put back, untimed, before each turn.
void BM_Straighten(benchmark::State& state) {
  const cDIBSection original = PhotoLike();
  cDIBSection photo;
  cImageProcessDIB engine;
  for (auto _ : state) {
    state.PauseTiming();
    if (!photo.Create(kPhotoWidth, kPhotoHeight)) state.SkipWithError("no memory");
    Restore(photo, original);
    state.ResumeTiming();
    engine.Straighten(photo, 3.0, state.range(0) != 0);
    benchmark::DoNotOptimize(photo.DIBSectionBitsPtr());
  }
  CountMegapixels(state, kPixels);
}
BENCHMARK(BM_Straighten)->ArgName("white")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fotavel::bench
