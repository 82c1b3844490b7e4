// BlackAndWhite: the calligraphic-pen look, grey levels error-diffused to black and white.
#include <algorithm>
#include <array>
#include <cstdint>
#include <new>
#include <vector>

#include "effects/ColumnStrips.h"
#include "effects/PrefetchRows.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel {

namespace {

// The diffusion is defined as a walk column by column, each pixel passing
// shares of its error to the right (7/16), straight up (5/16) and up-right
// (1/16; rows in storage order), each share added to the target's grey and
// clamped to 0 … 255 on arrival (an up-left 3/16 share lands on the previous
// column, already decided, and changes nothing). Because of the clamps the
// result depends on the order in which a pixel's shares arrive. In the column
// walk an inner pixel (column i, row y) receives, in this order:
//   1. the up-right share of (i − 1, y − 1),
//   2. the right share of (i − 1, y),
//   3. the up share of (i, y − 1),
// and nothing else before it is decided; the first and last columns receive
// nothing at all. All three sources come before (i, y) in row order as well,
// so any walk that respects "left before right, lower row before upper row"
// can decide every pixel with exactly the same three clamped additions in the
// same order, and gets the same picture bit for bit.
//
// Walking a 4000-row column touches 4000 pages in each surface, far more than
// the TLB holds, and no hardware prefetcher follows a stride of a whole row:
// measured, the column walk ran at about a third of the speed of this one.
// Instead the pass goes through strips of 256 columns, row by row within a
// strip: a strip's row is two contiguous runs of bytes. The errors of the
// previous row of the strip are kept in a small array, and those of the last
// column of a strip in a column array that the next strip reads. Each strip
// needs the one on its left, row by row, so the diffusion stays on the
// calling thread (its grey levels are shared out, like every GrayScale).
//
// Errors: a black pixel (v < 129) keeps its grey as the error, except that
// nothing under 17 is passed on; a white pixel passes 127 − v, −2 … −128.
// Shares divide by 16 truncating towards zero.

constexpr std::int32_t kMaxStrip = kStripPixels;

inline std::int32_t ClampByte(std::int32_t v) { return std::clamp(v, 0, 255); }

constexpr std::int32_t ErrorOf(std::int32_t v) { return v >= 129 ? 127 - v : (v < 17 ? 0 : v); }

// The up share is 5e / 16 with e in −128 … 128, so the last clamped addition
// takes a value in 0 … 255 to one in −40 … 295. Everything a pixel decides is
// read from tables indexed by that sum: its clamp, colour and error, and the
// right share it passes on. Written as comparisons, GCC turns them into
// branches, and black against white in a dithered picture is a coin toss
// that costs a misprediction on every other pixel.
constexpr std::int32_t kLowestSum = -40;
constexpr std::int32_t kSums = 295 - kLowestSum + 1;

struct DecisionTables {
  std::int16_t error[kSums];
  std::int8_t rightShare[kSums];
  std::uint8_t colour[kSums];
};

constexpr DecisionTables MakeDecisionTables() {
  DecisionTables t{};
  for (std::int32_t i = 0; i < kSums; ++i) {
    const std::int32_t v = std::clamp(i + kLowestSum, 0, 255);
    t.error[i] = static_cast<std::int16_t>(ErrorOf(v));
    t.rightShare[i] = static_cast<std::int8_t>(7 * ErrorOf(v) / 16);
    t.colour[i] = v >= 129 ? 255 : 0;
  }
  return t;
}
constexpr DecisionTables kDecide = MakeDecisionTables();

// One row of one strip. `grey` and `out` point at pixel p0 of the row in the
// grey picture and the result; `left` holds the error of pixel p0 − 1 in this
// row (0 when there is none); `below[k]` the errors of the previous row for
// pixels p0 − 1 + k (k = 0 … n), all 0 on the first row; `here` receives this
// row's errors in the same layout. Pixels `first` … `last` (strip-relative,
// inclusive) are inner columns, the others are the picture's first or last
// column and receive no share.
void DiffuseStripRow(const std::uint8_t* grey, std::uint8_t* out, std::int32_t n,
                     std::int32_t first, std::int32_t last, std::int32_t left,
                     const std::int32_t* below, std::int32_t* here) {
  // Shares from the row below do not depend on this row: add the up-right
  // share now, and have the up share ready, outside the serial part.
  std::array<std::int32_t, kMaxStrip> afterUpRight;
  std::array<std::int32_t, kMaxStrip> upShare;
  for (std::int32_t k = first; k <= last; ++k) {
    afterUpRight[k] = ClampByte(grey[3 * k] + below[k] / 16);
    upShare[k] = 5 * below[k + 1] / 16 - kLowestSum;
  }
  here[0] = left;
  auto decide = [&](std::int32_t k, std::int32_t index) {
    out[3 * k] = out[3 * k + 1] = out[3 * k + 2] = kDecide.colour[index];
    here[k + 1] = kDecide.error[index];
  };
  for (std::int32_t k = 0; k < first; ++k) decide(k, grey[3 * k] - kLowestSum);
  // The serial part: each pixel waits for its left neighbour's share.
  std::int32_t share = 7 * here[first] / 16;
  for (std::int32_t k = first; k <= last; ++k) {
    const std::int32_t index = ClampByte(afterUpRight[k] + share) + upShare[k];
    share = kDecide.rightShare[index];
    decide(k, index);
  }
  for (std::int32_t k = std::max(last + 1, first); k < n; ++k) decide(k, grey[3 * k] - kLowestSum);
}

}  // namespace

void cImageProcessDIB::BlackAndWhite(cDIBSection& cFrom, cDIBSection& cTo) {
  if (cFrom.empty() || cTo.empty()) throw ImageProcessError(ImageProcessErrors::kEmptySurface);
  if (cFrom.width() != cTo.width() || cFrom.height() != cTo.height()) {
    throw ImageProcessError(ImageProcessErrors::kSizeMismatch);
  }
  const std::int32_t width = cTo.width();
  const std::int32_t height = cTo.height();
  // The errors of one column for every row, handed from strip to strip; made
  // before anything is changed so that running short of memory refuses cleanly.
  std::vector<std::int32_t> stripEdge;
  try {
    stripEdge.assign(std::size_t(height), 0);
  } catch (const std::bad_alloc&) {
    throw ImageProcessError(ImageProcessErrors::kOutOfMemory);
  }

  const PassClock clock;
  GrayScale(cFrom);

  const ConstByteView grey = cFrom.view();
  const ByteView out = cTo.view();
  const std::uintptr_t greyAhead = RowsAhead(grey), outAhead = RowsAhead(out);
  m_events.Init(3 * width - 3);
  ForEachColumnStrip(m_events, 0, 3 * width - 3, [&](std::int32_t x0, std::int32_t x1) {
    const std::int32_t p0 = x0 / 3;
    const std::int32_t n = (x1 - x0) / 3 + 1;
    // Inner columns 1 … W − 2, relative to the strip (may be empty).
    const std::int32_t first = std::max(1 - p0, 0);
    const std::int32_t last = std::min(width - 2 - p0, n - 1);
    std::array<std::int32_t, kMaxStrip + 1> rowA{}, rowB{};
    std::int32_t* below = rowA.data();
    std::int32_t* here = rowB.data();
    for (std::int32_t y = 0; y < height; ++y) {
      PrefetchAhead(grey.row(y) + x0, greyAhead, 3 * n);
      PrefetchAhead(out.row(y) + x0, outAhead, 3 * n);
      DiffuseStripRow(grey.row(y) + x0, out.row(y) + x0, n, first, last, stripEdge[y], below, here);
      stripEdge[y] = here[n];
      std::swap(below, here);
    }
  });

  // Both surfaces end with the result. Same size, both present: the copy
  // cannot be refused.
  [[maybe_unused]] const bool copied = cFrom.LoadPictureBlt(cTo);
  m_events.Complete(clock.ElapsedMs());
}

}  // namespace fotavel
