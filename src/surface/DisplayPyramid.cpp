// DisplayPyramid: the screen's copies of a surface, built in one pass over it.
#include "surface/DisplayPyramid.h"

#include <algorithm>
#include <limits>

#include "surface/CpuVersions.h"
#include "surface/DisplayRows.h"
#include "surface/SurfaceMemory.h"
#include "surface/WorkerPool.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace fotavel {

namespace {

// Each level starts on a cache line.
constexpr std::size_t kLevelAlignPixels = 16;

std::size_t AlignedPixels(std::size_t pixels) {
  return (pixels + kLevelAlignPixels - 1) / kLevelAlignPixels * kLevelAlignPixels;
}

// One row of blue, green, red bytes as 0xFFRRGGBB pixels.
void ConvertRowPlain(const std::uint8_t* bgr, std::uint32_t* out, std::int32_t width) {
  for (std::int32_t x = 0; x < width; ++x) {
    out[x] = 0xFF000000u | std::uint32_t{bgr[3 * x + 2]} << 16 |
             std::uint32_t{bgr[3 * x + 1]} << 8 | bgr[3 * x];
  }
}

// Output row of the level below from rows a and b (b == a for an odd last
// row) of `width` pixels: each byte the rounded mean of its 2 x 2 block. The
// alpha bytes stay 0xFF, as (4 x 255 + 2) / 4 = 255. Bytes are summed two
// pixels at a time in 16-bit lanes of a 64-bit word (at most 4 x 255 + 2,
// so no lane spills into the next).
void HalveRowsPlain(const std::uint32_t* a, const std::uint32_t* b, std::int32_t width,
                    std::uint32_t* out) {
  constexpr std::uint64_t kEven = 0x00FF00FF00FF00FFull;
  constexpr std::uint32_t kHalf = 0x00020002u;
  constexpr std::uint32_t kLanes = 0x00FF00FFu;
  const auto mean = [](std::uint64_t pa, std::uint64_t pb) {
    const std::uint64_t even = (pa & kEven) + (pb & kEven);
    const std::uint64_t odd = ((pa >> 8) & kEven) + ((pb >> 8) & kEven);
    const std::uint32_t e = std::uint32_t(even) + std::uint32_t(even >> 32) + kHalf;
    const std::uint32_t o = std::uint32_t(odd) + std::uint32_t(odd >> 32) + kHalf;
    return ((e >> 2) & kLanes) | ((o >> 2) & kLanes) << 8;
  };
  const std::int32_t pairs = width / 2;
  for (std::int32_t x = 0; x < pairs; ++x) {
    out[x] = mean(std::uint64_t{a[2 * x]} | std::uint64_t{a[2 * x + 1]} << 32,
                  std::uint64_t{b[2 * x]} | std::uint64_t{b[2 * x + 1]} << 32);
  }
  // An odd last column has no right neighbour: it stands in for it.
  if (width % 2 != 0) {
    const std::uint32_t la = a[width - 1];
    const std::uint32_t lb = b[width - 1];
    out[pairs] = mean(std::uint64_t{la} | std::uint64_t{la} << 32,
                      std::uint64_t{lb} | std::uint64_t{lb} << 32);
  }
}

#if defined(__x86_64__)
// Eight pixels a step: two loads of four pixels (12 bytes each, read as 16)
// spread into 32-bit lanes by one shuffle. The last 10 pixels are left to the
// plain loop, so no load reaches past the row.
__attribute__((target("avx2"))) void ConvertRowAvx2(const std::uint8_t* bgr, std::uint32_t* out,
                                                    std::int32_t width) {
  const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,  //
                                          0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  const __m256i alpha = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  std::int32_t x = 0;
  for (; x + 10 <= width; x += 8) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr + 3 * x));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr + 3 * x + 12));
    const __m256i pixels = _mm256_set_m128i(high, low);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x),
                        _mm256_or_si256(_mm256_shuffle_epi8(pixels, spread), alpha));
  }
  ConvertRowPlain(bgr + 3 * x, out + x, width - x);
}

// Eight output pixels a step, from sixteen of each row: bytes widened to
// 16 bits, the two rows added, then each pixel added to its right neighbour
// (the 64-bit halves of every 128-bit lane), rounded, and packed back.
__attribute__((target("avx2"))) void HalveRowsAvx2(const std::uint32_t* a, const std::uint32_t* b,
                                                   std::int32_t width, std::uint32_t* out) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i two = _mm256_set1_epi16(2);
  // Four output pixels from eight of each row, in 16-bit lanes, ordered
  // 0, 1 | 2, 3 across the two 128-bit lanes.
  const auto four = [&](const std::uint32_t* pa, const std::uint32_t* pb)
      __attribute__((target("avx2"))) {
    const __m256i va = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pa));
    const __m256i vb = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pb));
    // Pixels 0, 1 | 4, 5 and 2, 3 | 6, 7, each both rows summed.
    const __m256i low =
        _mm256_add_epi16(_mm256_unpacklo_epi8(va, zero), _mm256_unpacklo_epi8(vb, zero));
    const __m256i high =
        _mm256_add_epi16(_mm256_unpackhi_epi8(va, zero), _mm256_unpackhi_epi8(vb, zero));
    const __m256i sums =
        _mm256_add_epi16(_mm256_unpacklo_epi64(low, high), _mm256_unpackhi_epi64(low, high));
    return _mm256_srli_epi16(_mm256_add_epi16(sums, two), 2);
  };
  const std::int32_t pairs = width / 2;
  std::int32_t x = 0;
  for (; x + 8 <= pairs; x += 8) {
    const __m256i first = four(a + 2 * x, b + 2 * x);
    const __m256i second = four(a + 2 * x + 8, b + 2 * x + 8);
    // Packing interleaves the halves: 0, 1, 4, 5 | 2, 3, 6, 7 as 64-bit pairs.
    const __m256i packed = _mm256_packus_epi16(first, second);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x),
                        _mm256_permute4x64_epi64(packed, _MM_SHUFFLE(3, 1, 2, 0)));
  }
  HalveRowsPlain(a + 2 * x, b + 2 * x, width - 2 * x, out + x);
}
#endif

}  // namespace

namespace detail {

std::vector<DisplayRowFunctions> DisplayRowVersions() {
  std::vector<DisplayRowFunctions> versions{{ConvertRowPlain, HalveRowsPlain}};
#if defined(__x86_64__)
  if (ChosenVersion() >= CpuVersion::kAvx2) versions.push_back({ConvertRowAvx2, HalveRowsAvx2});
#endif
  return versions;
}

}  // namespace detail

DisplayPyramid::~DisplayPyramid() { Clear(); }

void DisplayPyramid::Clear() noexcept {
  FreeSurfaceMemory(m_block, m_bytes);
  m_block = nullptr;
  m_bytes = 0;
  m_count = 0;
  m_finest = 0;
}

bool DisplayPyramid::Build(const cDIBSection& surface, std::int32_t finest) noexcept {
  if (surface.empty()) {
    Clear();
    return false;
  }
  auto& levels = m_levels;
  m_count = 0;
  std::size_t count = 0;
  std::int32_t w = surface.width();
  std::int32_t h = surface.height();
  for (;;) {
    levels[count++] = {nullptr, w, h};
    if (std::max(w, h) <= kSmallestSide) break;
    w = (w + 1) / 2;
    h = (h + 1) / 2;
  }
  const std::size_t first = count > 1 ? std::size_t(std::clamp(finest, 0, 1)) : 0;
  std::size_t pixels = 0;
  for (std::size_t k = first; k < count; ++k) {
    const std::size_t levelPixels = std::size_t(levels[k].width) * std::size_t(levels[k].height);
    if (levelPixels > std::numeric_limits<std::size_t>::max() / 8 - pixels) {
      Clear();
      return false;
    }
    pixels += AlignedPixels(levelPixels);
  }
  const std::size_t bytes = pixels * sizeof(std::uint32_t);
  if (bytes > m_bytes) {
    Clear();
    m_block = static_cast<std::uint32_t*>(AllocateSurfaceMemory(bytes));
    if (m_block == nullptr) return false;
    m_bytes = bytes;
  }
  std::uint32_t* next = m_block;
  for (std::size_t k = first; k < count; ++k) {
    levels[k].bits = next;
    next += AlignedPixels(std::size_t(levels[k].width) * std::size_t(levels[k].height));
  }
  const auto row = [&](std::size_t k, std::int32_t y) {
    return const_cast<std::uint32_t*>(levels[k].bits) + std::ptrdiff_t{y} * levels[k].width;
  };

  static const detail::DisplayRowFunctions rows = detail::DisplayRowVersions().back();
  const std::int32_t w0 = surface.width();
  const std::int32_t h0 = surface.height();
  // Level 0 rows y and below (below == y for an odd last row), upright, and
  // level 1's row y / 2 from them while they are still in the cache, so the
  // photo is read once. Without level 0 they are made a stretch of columns
  // at a time on the stack: no scratch rows are shared between threads.
  const auto topLevels = [&](std::int32_t y, std::int32_t below) {
    const std::uint8_t* const upperBgr = surface.row(h0 - 1 - y);
    const std::uint8_t* const lowerBgr = surface.row(h0 - 1 - below);
    if (first == 0) {
      std::uint32_t* const upper = row(0, y);
      std::uint32_t* const lower = row(0, below);
      if (below != y) rows.convert(lowerBgr, lower, w0);
      rows.convert(upperBgr, upper, w0);
      if (count > 1) rows.halve(upper, below != y ? lower : upper, w0, row(1, y / 2));
      return;
    }
    // An even stretch, so that every 2 x 2 block lies within one.
    constexpr std::int32_t kStretch = 1024;
    std::uint32_t upper[kStretch];
    std::uint32_t lower[kStretch];
    std::uint32_t* const out = row(1, y / 2);
    for (std::int32_t x = 0; x < w0; x += kStretch) {
      const std::int32_t n = std::min(kStretch, w0 - x);
      if (below != y) rows.convert(lowerBgr + 3 * std::ptrdiff_t{x}, lower, n);
      rows.convert(upperBgr + 3 * std::ptrdiff_t{x}, upper, n);
      rows.halve(upper, below != y ? lower : upper, n, out + x / 2);
    }
  };
  const auto halveRows = [&](std::size_t k, std::int32_t y0, std::int32_t y1) {
    const std::int32_t above = levels[k - 1].height;
    for (std::int32_t y = y0; y < y1; ++y) {
      rows.halve(row(k - 1, 2 * y), row(k - 1, std::min(2 * y + 1, above - 1)), levels[k - 1].width,
                 row(k, y));
    }
  };

  if (count == 1) {
    for (std::int32_t y = h0 - 1; y >= 0; --y) topLevels(y, y);
  } else {
    // Level 1's rows go in blocks of `block` rows, a power of two: a block
    // holds whole rows of the levels below it down to `deepest`, and makes
    // them while its own rows are still in the cache. Blocks depend on
    // nothing but the photo, so they are shared out over the threads in
    // bands; the few small levels below `deepest` follow on this thread.
    constexpr std::int32_t kMostBlockRows = 32;
    std::int32_t block = 1;
    std::size_t deepest = 1;
    while (block < kMostBlockRows && deepest + 1 < count) {
      block *= 2;
      ++deepest;
    }
    const std::int32_t h1 = levels[1].height;
    const std::int32_t blocks = (h1 + block - 1) / block;
    const auto band = [&](std::int32_t b0, std::int32_t b1) {
      // Blocks from the bottom of the picture up, the order of the surface's
      // memory: read forwards, it streams faster than backwards.
      for (std::int32_t b = b1 - 1; b >= b0; --b) {
        const bool last = b + 1 == blocks;
        for (std::int32_t y = std::min(h0 - 1, (b + 1) * block * 2 - 1) / 2 * 2; y >= 2 * b * block;
             y -= 2) {
          topLevels(y, std::min(y + 1, h0 - 1));
        }
        for (std::size_t k = 2, shift = 1; k <= deepest; ++k, ++shift) {
          halveRows(k, (b * block) >> shift, last ? levels[k].height : ((b + 1) * block) >> shift);
        }
      }
    };
    try {
      ForEachRowBand(blocks, std::int64_t{w0} * h0, band, [](std::int32_t, std::int32_t) {});
    } catch (...) {
      // Only the pool's own bookkeeping can throw, when memory runs out.
      Clear();
      return false;
    }
    for (std::size_t k = deepest + 1; k < count; ++k) halveRows(k, 0, levels[k].height);
  }
  for (std::size_t k = 0; k < first; ++k) levels[k].bits = nullptr;
  m_count = static_cast<std::int32_t>(count);
  m_finest = static_cast<std::int32_t>(first);
  return true;
}

std::int32_t DisplayPyramid::FinestFor(std::int32_t width, std::int32_t height,
                                       std::int32_t viewWidth, std::int32_t viewHeight) {
  const bool halved = std::max(width, height) > kSmallestSide;
  return halved && viewWidth <= (width + 1) / 2 && viewHeight <= (height + 1) / 2 ? 1 : 0;
}

std::int32_t DisplayPyramid::LevelFor(std::int32_t width, std::int32_t height) const {
  std::int32_t k = m_finest;
  while (k + 1 < Levels() && m_levels[std::size_t(k) + 1].width >= width &&
         m_levels[std::size_t(k) + 1].height >= height) {
    ++k;
  }
  return k;
}

}  // namespace fotavel
