// Diffusion: scatters pixels in place by random offsets drawn from the engine's random sequence.
#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "effects/ProgramRandom.h"
#include "effects/cImageProcessDIB.h"
#include "surface/CpuVersions.h"

namespace fotavel {
namespace {

// Storage row y, pixel columns 1 … W − 1, left to right. The pass runs in scan
// order and in place, so a pixel may take a colour that was itself moved
// earlier in the pass: the order is part of the result, and so is the one
// random sequence drawn pixel after pixel. The pass therefore stays on the
// calling thread, whatever the engine's thread count.
//
// The row's draws are taken first, in the order the pixels use them (r1 then
// r2 for each pixel). Drawing between pixel stores would make the compiler
// reload the generator's position after every byte written (a byte store may
// alias anything) and chain every draw to the previous one through memory.
// `offsets` holds 2 × (W − 1) entries.
[[gnu::always_inline]] inline void DiffuseRow(ProgramRandomEngine& random, cDIBSection& image,
                                              std::int32_t y, std::int64_t f,
                                              std::int32_t* offsets) {
  const std::int32_t width = image.width();
  const std::int32_t height = image.height();
  const std::int32_t draws = 2 * (width - 1);
  std::uint32_t* const raw = reinterpret_cast<std::uint32_t*>(offsets);
  for (std::int32_t j = 0; j < draws; ++j) raw[j] = static_cast<std::uint32_t>(random());
  for (std::int32_t j = 0; j < draws; ++j) offsets[j] = ScatterOffset(raw[j], f);
  const std::ptrdiff_t stride = image.BytesPerScanLine();
  std::uint8_t* const target = image.row(y);
  for (std::int32_t i = 1; i < width; ++i) {
    std::int64_t dx = offsets[2 * i - 2];
    std::int64_t dy = offsets[2 * i - 1];
    // Row 0 and column 0 are never sources.
    if (i + dx < 1 || i + dx > width - 1) dx = 0;
    if (y + dy < 1 || y + dy > height - 1) dy = 0;
    const std::uint8_t* source = target + dy * stride + (i + dx) * 3;
    const std::uint8_t blue = source[0], green = source[1], red = source[2];
    std::uint8_t* pixel = target + std::ptrdiff_t{i} * 3;
    pixel[0] = blue;
    pixel[1] = green;
    pixel[2] = red;
  }
}

// The versions are written out rather than taken from Versioned: flatten
// pulls the generator's refill into each, where the AVX2 one vectorises it.
using DiffuseRowFn = void (*)(ProgramRandomEngine&, cDIBSection&, std::int32_t, std::int64_t,
                              std::int32_t*);
[[gnu::flatten]] void DiffuseRowBaseline(ProgramRandomEngine& random, cDIBSection& image,
                                         std::int32_t y, std::int64_t f, std::int32_t* offsets) {
  DiffuseRow(random, image, y, f, offsets);
}
#if defined(__x86_64__)
[[gnu::flatten, gnu::target("avx2")]] void DiffuseRowAvx2(ProgramRandomEngine& random,
                                                          cDIBSection& image, std::int32_t y,
                                                          std::int64_t f, std::int32_t* offsets) {
  DiffuseRow(random, image, y, f, offsets);
}
#endif

DiffuseRowFn PickDiffuseRow() {
#if defined(__x86_64__)
  return PickVersion<DiffuseRowFn>(DiffuseRowBaseline, DiffuseRowAvx2);
#else
  return DiffuseRowBaseline;
#endif
}

}  // namespace

void cImageProcessDIB::Diffusion(cDIBSection& image, std::int32_t factor) {
  if (image.empty()) throw ImageProcessError(ImageProcessErrors::kEmptySurface);
  const PassClock clock;
  const std::int32_t height = image.height();
  // A negative factor has no meaning (offsets "up to factor / 2"); it is taken
  // as 0, which still draws from the sequence but moves nothing.
  const std::int64_t f = std::max<std::int32_t>(factor, 0);
  std::vector<std::int32_t> offsets;
  try {
    offsets.resize(2 * std::size_t(image.width()));
  } catch (const std::bad_alloc&) {
    throw ImageProcessError(ImageProcessErrors::kOutOfMemory);
  }
  m_events.Init(height - 1);

  ProgramRandomEngine& random = m_random != nullptr ? *m_random : ProgramRandom();
  const DiffuseRowFn diffuseRow = PickDiffuseRow();
  for (std::int32_t y = 1; y < height; ++y) {
    diffuseRow(random, image, y, f, offsets.data());
    m_events.Progress(y);
  }
  m_events.Complete(clock.ElapsedMs());
}

}  // namespace fotavel
