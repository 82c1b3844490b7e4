// Benchmarks of surface memory: the undo copy, a new 6000 x 4000 surface first touched, with and
// without reuse.
#include <benchmark/benchmark.h>

#include <cstring>
#include <stdexcept>

#include "PhotoLike.h"
#include "surface/SurfaceMemory.h"
#include "surface/cDIBSection.h"

namespace fotavel::bench {
namespace {

// The yardstick every figure is read against: a plain copy of the same bytes.
void BM_Memcpy(benchmark::State& state) {
  const cDIBSection source = PhotoLike();
  cDIBSection target;
  if (!target.Create(kPhotoWidth, kPhotoHeight)) throw std::runtime_error("no memory");
  const std::size_t bytes = std::size_t(source.BytesPerScanLine()) * source.height();
  for (auto _ : state) {
    std::memcpy(target.DIBSectionBitsPtr(), source.DIBSectionBitsPtr(), bytes);
    benchmark::ClobberMemory();
  }
  CountMegapixels(state, std::int64_t(kPhotoWidth) * kPhotoHeight);
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

// The undo copy a command takes of the photo before changing it, into a
// block already touched (the ring's slot, or one the pool kept).
void BM_UndoCopy(benchmark::State& state) {
  const cDIBSection source = PhotoLike();
  cDIBSection target;
  if (!target.Create(kPhotoWidth, kPhotoHeight)) throw std::runtime_error("no memory");
  for (auto _ : state) {
    if (!target.LoadPictureBlt(source)) throw std::runtime_error("not copied");
    benchmark::ClobberMemory();
  }
  CountMegapixels(state, std::int64_t(kPhotoWidth) * kPhotoHeight);
}
BENCHMARK(BM_UndoCopy)->Unit(benchmark::kMillisecond);

// Arguments: pool (1 with the reuse pool, 0 without), whole (0 writes one byte
// per 4 KiB page, which is what the first touch of fresh memory costs on top
// of any pass; 1 writes every byte, as a pass filling the surface would).
// Without the pool every Create maps fresh memory and every first write to a
// page faults; with it the block freed by the previous iteration comes back.
void BM_SurfaceCreateAndTouch(benchmark::State& state) {
  const bool pooled = state.range(0) != 0;
  const bool whole = state.range(1) != 0;
  const std::size_t previous = SetSurfacePoolCapacity(pooled ? std::size_t{1} << 30 : 0);
  for (auto _ : state) {
    cDIBSection surface;
    if (!surface.Create(kPhotoWidth, kPhotoHeight)) throw std::runtime_error("no memory");
    std::uint8_t* bits = surface.DIBSectionBitsPtr();
    const std::size_t bytes = std::size_t(surface.BytesPerScanLine()) * kPhotoHeight;
    if (whole) {
      std::memset(bits, 0x80, bytes);
    } else {
      for (std::size_t i = 0; i < bytes; i += 4096) bits[i] = 1;
    }
    benchmark::ClobberMemory();
  }
  SetSurfacePoolCapacity(previous);
  CountMegapixels(state, std::int64_t{kPhotoWidth} * kPhotoHeight);
}
BENCHMARK(BM_SurfaceCreateAndTouch)
    ->ArgNames({"pool", "whole"})
    ->Args({1, 0})
    ->Args({0, 0})
    ->Args({1, 1})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fotavel::bench

BENCHMARK_MAIN();
