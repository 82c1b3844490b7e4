// Quarter turns of a picture (Tourner), built in a new surface and swapped in.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "effects/cImageProcessDIB.h"
#include "surface/CpuVersions.h"
#include "surface/InOrder.h"

namespace fotavel {
namespace {

// Destination column c of the turned picture is source row c. The turn goes
// by tiles of kTile source rows × kTile source columns: the tile's rows are
// copied whole into a small buffer (plain sequential reads), then each source
// column of the tile becomes one contiguous segment of a destination row,
// gathered from the buffer, which stays in the first-level cache. A segment of
// 64 pixels is 192 bytes, three cache lines' worth. (A band of 64 source rows
// read in place, without the buffer, and tiles of 32 or 128 measured slower.)
constexpr std::int32_t kTile = 64;
// Each buffered row has room for one byte past its last pixel, so every
// pixel can be moved as four bytes.
constexpr std::int32_t kTileStride = 3 * kTile + 4;

// Turns one tile: source rows c0 … c0 + rows − 1, columns i0 … i0 + columns − 1.
// For a right turn, destination (column c, row r) takes source (column
// W − 1 − r, row c); for a left turn, destination (column H − 1 − c, row r)
// takes source (column r, row c). In the destination segment, pixels rise
// with the source row for a right turn and fall with it for a left turn.
template <bool Left, bool Full>
inline void TurnTile(const cDIBSection& source, cDIBSection& turned, std::int32_t c0,
                     std::int32_t i0, std::int32_t tileRows, std::int32_t tileColumns,
                     std::uint8_t* buffer) {
  const std::int32_t rows = Full ? kTile : tileRows;
  const std::int32_t columns = Full ? kTile : tileColumns;
  for (std::int32_t k = 0; k < rows; ++k) {
    std::memcpy(buffer + k * kTileStride, source.row(c0 + k) + std::ptrdiff_t{i0} * 3,
                std::size_t(3) * columns);
  }
  const std::int32_t firstPixel = Left ? turned.width() - c0 - rows : c0;
  const std::int32_t width = source.width();
  alignas(64) std::uint8_t segment[3 * kTile + 1];
  for (std::int32_t j = 0; j < columns; ++j) {
    // Four-byte moves: the fourth byte is overwritten by the next pixel, and
    // `segment` has a spare byte for the last one.
    const std::uint8_t* from = buffer + 3 * j;
    for (std::int32_t k = 0; k < rows; ++k) {
      std::uint32_t pixel;
      std::memcpy(&pixel, from + (Left ? rows - 1 - k : k) * kTileStride, 4);
      std::memcpy(segment + 3 * k, &pixel, 4);
    }
    const std::int32_t column = i0 + j;
    const std::int32_t destRow = Left ? column : width - 1 - column;
    std::memcpy(turned.row(destRow) + std::ptrdiff_t{firstPixel} * 3, segment,
                std::size_t(3) * rows);
  }
}

// Turns source rows c0 … c0 + kTile − 1 (fewer at the top), which become
// destination columns c0 … : a band writes only its own columns and reads
// only the source, so bands may be turned in any order, on any thread.
template <bool Left>
[[gnu::always_inline]] inline void TurnBand(const cDIBSection& source, cDIBSection& turned,
                                            std::int32_t c0) {
  const std::int32_t width = source.width();
  const std::int32_t rows = std::min(kTile, source.height() - c0);
  alignas(64) std::uint8_t buffer[kTile * kTileStride] = {};
  for (std::int32_t i0 = 0; i0 < width; i0 += kTile) {
    const std::int32_t columns = std::min(kTile, width - i0);
    if (rows == kTile && columns == kTile) {
      TurnTile<Left, true>(source, turned, c0, i0, rows, columns, buffer);
    } else {
      TurnTile<Left, false>(source, turned, c0, i0, rows, columns, buffer);
    }
  }
}

}  // namespace

void cImageProcessDIB::Tourner(cDIBSection& MonDIB, bool Sens) {
  if (MonDIB.empty()) throw ImageProcessError(ImageProcessErrors::kEmptySurface);
  const PassClock clock;
  const std::int32_t width = MonDIB.width();
  const std::int32_t height = MonDIB.height();
  // The turned picture is built beside the original and swapped in only once
  // it is complete: a failed allocation leaves the photo as it was, and no
  // copy of the original is needed to read from.
  cDIBSection turned;
  if (!turned.Create(height, width)) throw ImageProcessError(ImageProcessErrors::kOutOfMemory);
  // A surface of width `height` exists, so 3 × height fits 32 bits.
  m_events.Init(3 * (height - 1));
  const auto turn = Sens ? Versioned<TurnBand<true>>::Pick() : Versioned<TurnBand<false>>::Pick();
  // Destination column c is complete once its band of source rows is: each
  // band's columns are reported once it and the bands before it are done.
  // Shared out, a thread takes several neighbouring bands at a time (about
  // four shares a thread), so that two threads seldom write the two sides of
  // the same cache lines of a destination row at once.
  const std::int32_t bands = (height + kTile - 1) / kTile;
  const std::int64_t pixels = std::int64_t{width} * height;
  const std::int32_t perShare = SharesOut(pixels) ? std::max(1, bands / (4 * ThreadCount())) : 1;
  ForEachInOrder((bands + perShare - 1) / perShare, pixels,
                 [&](std::int32_t share) {
                   const std::int32_t end = std::min(bands, (share + 1) * perShare);
                   for (std::int32_t band = share * perShare; band < end; ++band) {
                     turn(MonDIB, turned, band * kTile);
                   }
                 },
                 [&](std::int32_t share) {
                   const std::int32_t end = std::min(bands, (share + 1) * perShare);
                   for (std::int32_t band = share * perShare; band < end; ++band) {
                     const std::int32_t c0 = band * kTile;
                     m_events.ProgressColumns(3 * c0, 3 * (std::min(height, c0 + kTile) - 1));
                   }
                 });
  MonDIB.swap(turned);
  turned.ClearUp();
  m_events.Complete(clock.ElapsedMs());
}

}  // namespace fotavel
