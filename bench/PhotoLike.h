// Photo-like benchmark surfaces: smooth gradients plus noise, fixed seed.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

#include "surface/cDIBSection.h"

namespace fotavel::bench {

inline constexpr std::int32_t kPhotoWidth = 6000;
inline constexpr std::int32_t kPhotoHeight = 4000;

// A new surface of the given size (6000 x 4000 by default) filled with the
// same content on every call.
cDIBSection PhotoLike(std::int32_t width = kPhotoWidth, std::int32_t height = kPhotoHeight);
// Copies the pixels of `from` into `to` (same size), outside the timed region.
void Restore(cDIBSection& to, const cDIBSection& from);
// Sets the megapixels-per-second counter for `pixels` handled per iteration.
void CountMegapixels(benchmark::State& state, std::int64_t pixels);

}  // namespace fotavel::bench
