// cDIBSection::Resample: bilinear resampling into a new surface, with its row kernels.
#include "surface/cDIBSection.h"
// (Resample is a member of the surface: that is this file's own header.)

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <new>
#include <vector>

#include "surface/Resample.h"
#include "surface/ResampleKernels.h"
#include "surface/WorkerPool.h"

namespace fotavel {
namespace {

// How the numbers are read, so that every build gives the same bytes:
//
//  - The steps are single precision: sx = float((W - 1) / w) with the division
//    done in double (for integers below 2^24 that is also the correctly
//    rounded float quotient). Likewise sy.
//  - A sample position is fx = float(double(x) * double(sx)); ix = floor(fx);
//    the fraction tx = float(fx - ix) (that subtraction is exact).
//  - Everything between those stores is double: left = nearbyint((1 - ty) *
//    P(ix, iy) + ty * P(ix, iy + 1)) in the default rounding mode (halves to
//    even), right likewise for ix + 1, then nearbyint((1 - tx) * left + tx *
//    right). The results are convex mixtures of bytes, so the clamp to 0..255
//    never bites.
//  - A neighbour beyond the last column or row is that last column or row
//    itself. This happens for a source 1 pixel wide or high, and where float
//    rounding lifts x * sx to W - 1 (possible once w exceeds 2^24); there the
//    fraction is 0, so the value is simply the edge pixel's.
//
// Whenever a fraction is a multiple of 2^-23 (always so once the position is
// 1 or more, since a float at or above 1 has no finer bits), every product and
// sum above is exact in double, so neither evaluation order nor a fused
// multiply-add could change a result, and the same value is got exactly in
// fixed point (ResampleKernels.h): 32-bit integers for fractions m / 2^23, and
// 16-bit lanes for positions of 256 or more, whose fractions have at most 15
// bits. Fractions with finer bits (positions below 1 when enlarging) take the
// double formula itself, written as above.
constexpr int kFractionBits = 23;
constexpr double kFractionScale = 1 << kFractionBits;

struct Sample {
  std::int32_t i0;  // the sampled column (or row), within the source
  std::int32_t i1;  // its neighbour, the edge itself at the edge
  float t;          // the fraction between them
  std::int32_t m;   // t * 2^23 when that is a whole number, otherwise -1
};

float Step(std::int32_t sourceSize, std::int32_t newSize) {
  return static_cast<float>(static_cast<double>(sourceSize - 1) / static_cast<double>(newSize));
}

Sample SampleAt(std::int32_t x, float step, std::int32_t sourceSize) {
  const float f = static_cast<float>(static_cast<double>(x) * static_cast<double>(step));
  const double whole = std::floor(static_cast<double>(f));
  const float t = static_cast<float>(static_cast<double>(f) - whole);
  // The position never passes W - 1 by more than float rounding; clamping in
  // double first keeps the conversion to int defined whatever the sizes.
  const double last = sourceSize - 1;
  const auto i = static_cast<std::int32_t>(std::min(whole, last));
  const double scaled = static_cast<double>(t) * kFractionScale;
  const bool exact = scaled == std::floor(scaled);
  return {i, std::min(i + 1, sourceSize - 1), t, exact ? static_cast<std::int32_t>(scaled) : -1};
}

// The literal blend, for fractions the fixed-point kernels cannot hold.
inline std::uint8_t BlendDouble(double a, double b, double t) {
  const double v = std::nearbyint((1.0 - t) * a + t * b);
  return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
}

// A fraction m / 2^23 whose low 8 bits are zero is m / 2^8 / 2^15, which the
// 16-bit kernels take. That is every fraction of a position of 256 or more,
// since a float there has no bits below 2^-15.
bool Fits15(std::int32_t m) { return m >= 0 && (m & 0xFF) == 0; }

// Blends n bytes of two source rows with the row fraction of `s`.
void BlendRows(const std::uint8_t* a, const std::uint8_t* b, const Sample& s, std::uint8_t* out,
               std::int32_t n) {
  if (Fits15(s.m)) {
    resample::BlendRows15(a, b, static_cast<std::int16_t>(s.m >> 8), out, n);
  } else if (s.m >= 0) {
    resample::BlendRows23(a, b, s.m, out, n);
  } else {
    for (std::int32_t i = 0; i < n; ++i) out[i] = BlendDouble(a[i], b[i], s.t);
  }
}

static_assert(std::endian::native == std::endian::little, "pair copies assume little-endian");

// Destination columns are handled in strips so that the per-column tables and
// buffers stay small (a few hundred kilobytes) whatever the width; usual
// widths fit in one strip.
constexpr std::int32_t kStripColumns = 4096;

// Per destination column of a strip: the two source pixels it blends and how.
// Source columns are counted from the strip's first used column, `origin`.
struct ColumnTable {
  std::int32_t count = 0;
  std::int32_t origin = 0;           // first source column the strip reads
  std::int32_t span = 0;             // source columns origin .. origin + span - 1 are read
  std::vector<std::int32_t> c0, c1;  // source columns
  std::vector<std::int32_t> b0, b1;  // their byte offsets from the origin
  // Per byte (3 per column), the fraction for the fixed-point kernels: in
  // 23 bits for the leading columns up to `split`, in 15 bits from there on
  // (0 where the double formula takes over).
  std::int32_t split = 0;
  std::vector<std::int32_t> m23;
  std::vector<std::int16_t> m15;
  std::vector<std::int32_t> fine;  // columns whose fraction needs the double formula
  std::vector<float> t;            // their fractions, in the same order
  // Leading columns whose pair can be copied with one 8-byte load, in a
  // source row (3W readable bytes) and in a band buffer (8 bytes of slack).
  std::int32_t fastInRow = 0, fastInBand = 0;
  // Columns groupsFrom … groupsFrom + 10 × (number of windows) − 1 are
  // blended from the band in groups (resample::BlendColumnGroups), where the
  // processor can: their windows, and per byte the index of its left value
  // in the window.
  std::int32_t groupsFrom = 0;
  std::vector<std::int32_t> windows;
  std::vector<std::uint8_t> index;
};

// The kernels read a little past the end of the fractions and of the band.
constexpr std::int32_t kFractionSlack = 32;
constexpr std::int32_t kBandSlack = resample::kGroupWindowBytes;

void FillColumnTable(ColumnTable& table, std::int32_t first, std::int32_t count, float step,
                     std::int32_t sourceWidth) {
  table.count = count;
  table.c0.resize(count);
  table.c1.resize(count);
  table.m23.resize(3 * std::size_t(count));
  table.m15.resize(3 * std::size_t(count) + kFractionSlack);
  // Reserved whole, so that what the resampling takes is known beforehand
  // (ResampleWorkBytes) rather than left to the vectors' growth.
  table.fine.clear();
  table.fine.reserve(count);
  table.t.clear();
  table.t.reserve(count);
  table.split = 0;
  for (std::int32_t k = 0; k < count; ++k) {
    const Sample s = SampleAt(first + k, step, sourceWidth);
    table.c0[k] = s.i0;
    table.c1[k] = s.i1;
    const std::int32_t m = std::max(s.m, 0);
    const auto m15 = static_cast<std::int16_t>(m >> 8);
    for (std::int32_t c = 0; c < 3; ++c) {
      table.m23[3 * k + c] = m;
      table.m15[3 * k + c] = m15;
    }
    if (!Fits15(s.m)) table.split = k + 1;
    if (s.m < 0) {
      table.fine.push_back(k);
      table.t.push_back(s.t);
    }
  }
  // Columns grow with x, so the first column starts the span, the last ends
  // it, and both fast runs are prefixes.
  table.origin = table.c0[0];
  table.span = table.c1[count - 1] + 1 - table.origin;
  const std::int64_t rowBytes = 3 * std::int64_t{sourceWidth};
  table.fastInRow = table.fastInBand = 0;
  while (table.fastInRow < count && table.c1[table.fastInRow] == table.c0[table.fastInRow] + 1 &&
         3 * std::int64_t{table.c0[table.fastInRow]} + 8 <= rowBytes) {
    ++table.fastInRow;
  }
  while (table.fastInBand < count && table.c1[table.fastInBand] == table.c0[table.fastInBand] + 1) {
    ++table.fastInBand;
  }
  table.b0.resize(count);
  table.b1.resize(count);
  for (std::int32_t k = 0; k < count; ++k) {
    table.b0[k] = 3 * (table.c0[k] - table.origin);
    table.b1[k] = 3 * (table.c1[k] - table.origin);
  }
  // Groups run from the first column with a 15-bit fraction while the pairs
  // are adjacent and a group's pairs fit in one window (always so up to
  // about 4 source columns per destination column).
  constexpr std::int32_t kGroup = resample::kGroupColumns;
  const std::int32_t maxGroups = count / kGroup;
  table.windows.clear();
  table.windows.reserve(maxGroups);
  table.index.clear();
  table.index.reserve(32 * std::size_t(maxGroups));
  table.groupsFrom = table.split;
  if (!resample::HasColumnGroups()) return;
  for (std::int32_t k = table.split; k + kGroup <= table.fastInBand; k += kGroup) {
    const std::int32_t window = table.b0[k];
    if (table.b0[k + kGroup - 1] + 2 - window >= resample::kGroupWindowBytes - 3) break;
    table.windows.push_back(window);
    for (std::int32_t j = 0; j < 32; ++j) {
      const std::int32_t byte = std::min(j, 3 * kGroup - 1);
      table.index.push_back(static_cast<std::uint8_t>(table.b0[k + byte / 3] + byte % 3 - window));
    }
  }
}

// Copies the left and right pixel of columns k0 … k1 − 1 of the strip from
// `src` (which starts at the strip's origin) into `l` and `r`, 3 bytes a
// column at 3 k; both need one byte of slack at the end.
void CopyPairs(const std::uint8_t* src, const ColumnTable& table, std::int32_t fast,
               std::uint8_t* l, std::uint8_t* r, std::int32_t k0, std::int32_t k1) {
  const std::int32_t* b0 = table.b0.data();
  const std::int32_t fastEnd = std::clamp(fast, k0, k1);
  for (std::int32_t k = k0; k < fastEnd; ++k) {
    std::uint64_t both;
    std::memcpy(&both, src + b0[k], 8);
    const auto left = static_cast<std::uint32_t>(both);
    const auto right = static_cast<std::uint32_t>(both >> 24);
    std::memcpy(l + 3 * k, &left, 4);
    std::memcpy(r + 3 * k, &right, 4);
  }
  for (std::int32_t k = fastEnd; k < k1; ++k) {
    std::memcpy(l + 3 * k, src + b0[k], 3);
    std::memcpy(r + 3 * k, src + table.b1[k], 3);
  }
}

// Blends the left and right values of columns k0 … k1 − 1 into the
// destination.
void BlendColumns(const std::uint8_t* l, const std::uint8_t* r, const ColumnTable& table,
                  std::uint8_t* out, std::int32_t k0, std::int32_t k1) {
  const std::int32_t from = 3 * k0, split = 3 * std::clamp(table.split, k0, k1), to = 3 * k1;
  resample::BlendColumns23(l + from, r + from, table.m23.data() + from, out + from, split - from);
  resample::BlendColumns15(l + split, r + split, table.m15.data() + split, out + split, to - split);
  for (std::size_t k = 0; k < table.fine.size(); ++k) {
    const std::int32_t b = 3 * table.fine[k];
    if (table.fine[k] < k0 || table.fine[k] >= k1) continue;
    for (std::int32_t c = 0; c < 3; ++c) out[b + c] = BlendDouble(l[b + c], r[b + c], table.t[k]);
  }
}

void BlendColumns(const std::uint8_t* l, const std::uint8_t* r, const ColumnTable& table,
                  std::uint8_t* out) {
  BlendColumns(l, r, table, out, 0, table.count);
}

// Columns k0 … k1 − 1 from the blended band: in groups where the table has
// them, otherwise through copied pairs.
void BandColumns(const std::uint8_t* band, const ColumnTable& table, std::uint8_t* l,
                 std::uint8_t* r, std::uint8_t* out, std::int32_t k0, std::int32_t k1) {
  constexpr std::int32_t kGroup = resample::kGroupColumns;
  const auto groups = static_cast<std::int32_t>(table.windows.size());
  const std::int32_t groupsTo = table.groupsFrom + kGroup * groups;
  // Groups lying wholly in k0 … k1 − 1.
  const std::int32_t g0 = std::max(0, (k0 - table.groupsFrom + kGroup - 1) / kGroup);
  const std::int32_t g1 = std::min(groups, (k1 - table.groupsFrom) / kGroup);
  if (k1 <= table.groupsFrom || k0 >= groupsTo || g1 <= g0) {
    CopyPairs(band, table, table.fastInBand, l, r, k0, k1);
    BlendColumns(l, r, table, out, k0, k1);
    return;
  }
  const std::int32_t first = table.groupsFrom + kGroup * g0;
  const std::int32_t last = table.groupsFrom + kGroup * g1;
  if (k0 < first) BandColumns(band, table, l, r, out, k0, first);
  resample::BlendColumnGroups(band, table.windows.data() + g0, table.index.data() + 32 * g0,
                              table.m15.data() + 3 * first, out + 3 * first, g1 - g0);
  if (last < k1) BandColumns(band, table, l, r, out, last, k1);
}

// Scratch rows for one strip, reused from row to row.
struct StripBuffers {
  std::vector<std::uint8_t> band;  // the blended source columns of the strip, plus slack
  std::vector<std::uint8_t> pairs;
  std::uint8_t* l[2];      // left pixels of the lower and the upper source row
  std::uint8_t* r[2];      // right pixels of both
  std::uint8_t* mixed[2];  // left and right after blending the rows

  StripBuffers(std::int32_t maxColumns, std::int32_t maxBandBytes)
      : band(std::size_t(maxBandBytes) + kBandSlack), pairs(6 * (3 * std::size_t(maxColumns) + 1)) {
    const std::size_t n = 3 * std::size_t(maxColumns) + 1;
    std::uint8_t* p = pairs.data();
    for (auto* buffer : {&l[0], &r[0], &l[1], &r[1], &mixed[0], &mixed[1]}) {
      *buffer = p;
      p += n;
    }
  }
};

// Either the strip's whole band of source columns is blended between the two
// rows and the pairs are then taken from it, or the pairs are taken from each
// source row and only they are blended. The band costs a fast blend per source
// byte and one copy of pairs; the pairs cost two copies and twice the blends
// per destination byte. Measured, the band wins up to about 4 source columns
// per destination column (enlarging, halving); strong reductions take the pairs.
constexpr std::int32_t kMaxBandColumnsPerColumn = 4;

// Columns taken at a time from the band (a multiple of the groups' ten),
// and how far ahead of the blending the source rows are asked for: the
// processor's own prefetching loses the two rows' streams each time the
// work turns to the columns. Both measured on 24-megapixel halvings.
constexpr std::int32_t kPieceColumns = 160;
constexpr std::int32_t kAheadBytes = 2048;

bool BlendWholeBand(const ColumnTable& table) {
  return std::int64_t{table.span} <= kMaxBandColumnsPerColumn * std::int64_t{table.count};
}

// Rows y0 … y1 − 1 of the strip. A row reads only the source and the table
// and writes only its own bytes of the result, so bands of rows may be done
// in any order, on any thread, each with its own buffers.
void ResampleStrip(const cDIBSection& source, cDIBSection& result, std::int32_t first,
                   const ColumnTable& columns, StripBuffers& buffers, std::int32_t y0,
                   std::int32_t y1) {
  const float step = Step(source.height(), result.height());
  const std::ptrdiff_t originByte = 3 * std::ptrdiff_t{columns.origin};
  const std::int32_t bandBytes = 3 * columns.span;
  const std::int32_t pairBytes = 3 * columns.count;
  const bool wholeBand = BlendWholeBand(columns);
  std::uint8_t** l = buffers.l;
  std::uint8_t** r = buffers.r;
  for (std::int32_t y = y0; y < y1; ++y) {
    const Sample s = SampleAt(y, step, source.height());
    const std::uint8_t* lower = source.row(s.i0) + originByte;
    const std::uint8_t* upper = source.row(s.i1) + originByte;
    std::uint8_t* out = result.row(y) + 3 * std::ptrdiff_t{first};
    if (s.m == 0) {
      // The row itself: blending with weight 0 changes nothing.
      CopyPairs(lower, columns, columns.fastInRow, l[0], r[0], 0, columns.count);
      BlendColumns(l[0], r[0], columns, out);
    } else if (wholeBand) {
      // The band is blended a piece ahead of the columns that take it, so
      // that the columns do not read bytes still on their way to memory, and
      // the reading of the two source rows, the pass's bound, goes on while
      // the columns are worked out rather than stopping for them.
      std::uint8_t* band = buffers.band.data();
      std::int32_t blended = 0;
      for (std::int32_t k0 = 0, k1; k0 < columns.count; k0 = k1) {
        // Pieces start where the groups do, so that none is cut.
        k1 = k0 < columns.groupsFrom
                 ? std::min(columns.groupsFrom, k0 + kPieceColumns)
                 : k0 + kPieceColumns - (k0 - columns.groupsFrom) % kPieceColumns;
        k1 = std::min(k1, columns.count);
        const std::int32_t needed = columns.b1[std::min(columns.count, k1 + kPieceColumns) - 1] + 3;
        if (needed > blended) {
          // Whole vectors but for the very last piece.
          const std::int32_t end = std::min(bandBytes, blended + (needed - blended + 31) / 32 * 32);
          BlendRows(lower + blended, upper + blended, s, band + blended, end - blended);
          for (std::int32_t at = blended + kAheadBytes; at < std::min(end + kAheadBytes, bandBytes);
               at += 64) {
            __builtin_prefetch(lower + at);
            __builtin_prefetch(upper + at);
          }
          blended = end;
        }
        BandColumns(band, columns, l[0], r[0], out, k0, k1);
      }
    } else {
      CopyPairs(lower, columns, columns.fastInRow, l[0], r[0], 0, columns.count);
      CopyPairs(upper, columns, columns.fastInRow, l[1], r[1], 0, columns.count);
      BlendRows(l[0], l[1], s, buffers.mixed[0], pairBytes);
      BlendRows(r[0], r[1], s, buffers.mixed[1], pairBytes);
      BlendColumns(buffers.mixed[0], buffers.mixed[1], columns, out);
    }
  }
}

}  // namespace

std::uint64_t ResampleWorkBytes(std::int32_t newWidth) {
  const std::uint64_t strip = std::uint64_t(std::clamp(newWidth, 1, kStripColumns));
  // StripBuffers: the band with its slack, six rows of pairs; one set for
  // each thread that may be working on a band of rows at the same time.
  const std::uint64_t buffers =
      3 * kMaxBandColumnsPerColumn * strip + kBandSlack + 6 * (3 * strip + 1);
  // ColumnTable: c0, c1, b0, b1, fine and t at 4 bytes a column, m23 and m15
  // at 3 fractions a column (m15 with its slack), and per group of ten
  // columns a window and 32 indices.
  const std::uint64_t groups = strip / resample::kGroupColumns;
  const std::uint64_t table =
      6 * 4 * strip + 3 * (4 + 2) * strip + 2 * kFractionSlack + groups * (4 + 32);
  return buffers * std::uint64_t(ThreadCount()) + table + sizeof(cDIBSection);
}

std::unique_ptr<cDIBSection> cDIBSection::Resample(std::int32_t lNewHeight,
                                                   std::int32_t lNewWidth) const {
  if (empty() || lNewWidth < 1 || lNewHeight < 1) return nullptr;
  try {
    auto result = std::make_unique<cDIBSection>();
    if (!result->Create(lNewWidth, lNewHeight)) return nullptr;
    if (lNewWidth == width_ && lNewHeight == height_) {
      if (!result->LoadPictureBlt(*this)) return nullptr;
      return result;
    }
    const float step = Step(width_, lNewWidth);
    const std::int32_t stripColumns = std::min(lNewWidth, kStripColumns);
    ColumnTable columns;
    // Each strip's rows are shared out in bands; there are no events to
    // raise, and a failed allocation on a worker comes back here.
    for (std::int32_t first = 0; first < lNewWidth; first += stripColumns) {
      const std::int32_t count = std::min(stripColumns, lNewWidth - first);
      FillColumnTable(columns, first, count, step, width_);
      ForEachRowBand(
          lNewHeight, std::int64_t{count} * lNewHeight,
          [&](std::int32_t y0, std::int32_t y1) {
            StripBuffers buffers(stripColumns, 3 * kMaxBandColumnsPerColumn * stripColumns);
            ResampleStrip(*this, *result, first, columns, buffers, y0, y1);
          },
          [](std::int32_t, std::int32_t) {});
    }
    return result;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace fotavel
