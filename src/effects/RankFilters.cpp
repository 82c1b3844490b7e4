// The 3 x 3 mean, minimum and maximum filters (filter types 9, 10 and 11).
#include <algorithm>
#include <cstdint>

#include "effects/FilterPasses.h"
#include "effects/NeighbourhoodPass.h"
#include "surface/CpuVersions.h"

namespace fotavel::detail {
namespace {

// All three are separable: a vertical pass over the three rows, byte by byte,
// then a horizontal one over the bytes 3 apart (the same channel of the
// neighbouring pixels). The vertical results cover the bytes asked for plus one pixel
// either side.
constexpr std::int32_t kColumnBytes = kStripBytes + 6;

template <class Combine>
[[gnu::always_inline]] inline void RankRow(const std::uint8_t* const* rows,
                                           std::uint8_t* __restrict out, std::int32_t bytes,
                                           Combine combine) {
  const std::uint8_t* r0 = rows[0] - 3;
  const std::uint8_t* r1 = rows[1] - 3;
  const std::uint8_t* r2 = rows[2] - 3;
  std::uint8_t column[kColumnBytes];
  for (std::int32_t j = 0; j < bytes + 6; ++j) column[j] = combine(combine(r0[j], r1[j]), r2[j]);
  for (std::int32_t j = 0; j < bytes; ++j) {
    out[j] = combine(combine(column[j], column[j + 3]), column[j + 6]);
  }
}

[[gnu::always_inline]] inline void MinimumRow(const std::uint8_t* const* rows, std::uint8_t* out,
                                              std::int32_t bytes) {
  RankRow(rows, out, bytes, [](std::uint8_t a, std::uint8_t b) { return std::min(a, b); });
}

[[gnu::always_inline]] inline void MaximumRow(const std::uint8_t* const* rows, std::uint8_t* out,
                                              std::int32_t bytes) {
  RankRow(rows, out, bytes, [](std::uint8_t a, std::uint8_t b) { return std::max(a, b); });
}

// The sum of nine bytes is at most 2295, so 16-bit lanes hold it, and the
// division by the constant 9 becomes a multiply-high and a shift.
[[gnu::always_inline]] inline void MeanRow(const std::uint8_t* const* rows,
                                           std::uint8_t* __restrict out, std::int32_t bytes) {
  const std::uint8_t* r0 = rows[0] - 3;
  const std::uint8_t* r1 = rows[1] - 3;
  const std::uint8_t* r2 = rows[2] - 3;
  std::uint16_t column[kColumnBytes];
  for (std::int32_t j = 0; j < bytes + 6; ++j) {
    column[j] = static_cast<std::uint16_t>(r0[j] + r1[j] + r2[j]);
  }
  for (std::int32_t j = 0; j < bytes; ++j) {
    const std::uint16_t sum = static_cast<std::uint16_t>(column[j] + column[j + 3] + column[j + 6]);
    out[j] = static_cast<std::uint8_t>(sum / 9);
  }
}

}  // namespace

void RunRankFilter(const ProgressEvents& events, cDIBSection& image, cDIBSection& buffer,
                   std::int32_t type, bool intoImage) {
  void (*row)(const std::uint8_t* const*, std::uint8_t*, std::int32_t) =
      type == 10   ? Versioned<MinimumRow>::Pick()
      : type == 11 ? Versioned<MaximumRow>::Pick()
                   : Versioned<MeanRow>::Pick();
  // The window is always 3 × 3, whatever the kernel size: reach 1.
  RunNeighbourhoodPass(events, image, buffer, 1, intoImage,
                       [&](const std::uint8_t* const* rows, std::uint8_t* out, std::int32_t bytes) {
                         row(rows, out, bytes);
                       });
}

}  // namespace fotavel::detail
