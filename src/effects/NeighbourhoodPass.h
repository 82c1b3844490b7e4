// The frame of the neighbourhood filters: strips, border, progress and the in-place result.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "effects/ColumnStrips.h"
#include "effects/ProgressEvents.h"
#include "surface/cDIBSection.h"

namespace fotavel::detail {

// The widest neighbourhood a kernel can have: 9 x 9, reach 4.
inline constexpr std::int32_t kMaxReach = 4;

// Copies all pixel bytes of `from` into `to` (same size), never the padding.
inline void CopyPixels(const cDIBSection& from, cDIBSection& to) {
  [[maybe_unused]] const bool copied = to.LoadPictureBlt(from);
}

// Copies the pixels within `reach` of an edge from `from` into `to`.
inline void CopyBorder(const cDIBSection& from, cDIBSection& to, std::int32_t reach) {
  const std::int32_t w = from.width();
  const std::int32_t h = from.height();
  const std::size_t rowBytes = std::size_t(3) * w;
  const std::size_t sideBytes = std::size_t(3) * reach;
  for (std::int32_t y = 0; y < h; ++y) {
    if (y < reach || y >= h - reach) {
      std::memcpy(to.row(y), from.row(y), rowBytes);
    } else {
      std::memcpy(to.row(y), from.row(y), sideBytes);
      std::memcpy(to.row(y) + rowBytes - sideBytes, from.row(y) + rowBytes - sideBytes, sideBytes);
    }
  }
}

// The neighbourhood filters are defined as: copy the image into the buffer,
// filter the image's interior (the pixels at least `reach` from every edge)
// into the buffer column by column, and, for most of them, copy the buffer
// back into the image. Only the interior changes, and each output pixel depends
// on original pixels alone, so the order does not matter: the interior is
// filtered row by row, whole rows one after the other, so that memory is read
// and written straight through (strips of columns, whose rows are short runs a
// whole stride apart, measure two to three times slower). The column events
// are paced on the rows done (PacedColumnEvents). The buffer receives only the
// border from the image instead of a whole copy.
//
// With intoImage the result is also written back into the image without a
// second pass over memory: image row r may be overwritten once nothing still
// needs its original pixels, that is once the rows within `reach` of it have
// been filtered.
//
// Each output row depends only on the original image, so from
// ThreadMinPixels() on the interior rows are shared out in bands
// (ForEachRowBand). A band writes back the rows whose whole neighbourhood of
// readers lies inside it as it goes; a row read by two bands (within `reach`
// of a boundary) is written back by the calling thread once the band holding
// its last reader is done, which in-order done callbacks guarantee is after
// every band before it. The paced column events are raised there too, row by
// row of the band, so they keep their values and order.
//
// rowOp(rows, out, bytes) computes `bytes` (at most kStripBytes) output bytes
// of one row: rows[i] points at the first of them in image row y − reach + i,
// out at the same byte in buffer row y. It may read up to 3 × reach bytes
// either side. It is called on several threads at once.
//
// Raises InitProgress(3 × (W − reach − 1)), Progress for every byte column
// 3 × reach … 3 × (W − reach − 1) in steps of 3, and Complete.
template <class RowOp>
void RunNeighbourhoodPass(const ProgressEvents& events, cDIBSection& image, cDIBSection& buffer,
                          std::int32_t reach, bool intoImage, RowOp&& rowOp) {
  const std::int32_t w = image.width();
  const std::int32_t h = image.height();
  const std::int32_t first = 3 * reach;
  const std::int32_t last = 3 * (w - reach - 1);
  const PassClock clock;
  if (w <= 2 * reach || h <= 2 * reach) {
    // No pixel has a whole neighbourhood: the pass changes nothing.
    CopyPixels(image, buffer);
    events.Init(last);
    events.ProgressColumns(first, last);
    events.Complete(clock.ElapsedMs());
    return;
  }
  CopyBorder(image, buffer, reach);
  events.Init(last);
  const std::int32_t lastRow = h - reach - 1;
  const auto writeBack = [&](std::int32_t y) {
    std::memcpy(image.row(y) + first, buffer.row(y) + first, std::size_t(last + 3 - first));
  };
  // The interior rows that read image row r (itself an interior row).
  const auto firstReader = [&](std::int32_t r) { return std::max(reach, r - reach); };
  const auto lastReader = [&](std::int32_t r) { return std::min(lastRow, r + reach); };
  // Filters rows y0 … y1 − 1 and writes back the image rows read by no other
  // row; with `progress`, raises its events after each row.
  const auto filterRows = [&](std::int32_t y0, std::int32_t y1, PacedColumnEvents* progress) {
    const std::uint8_t* rows[2 * kMaxReach + 1];
    for (std::int32_t y = y0; y < y1; ++y) {
      for (std::int32_t x0 = first; x0 <= last; x0 += kStripBytes) {
        for (std::int32_t i = 0; i <= 2 * reach; ++i) rows[i] = image.row(y - reach + i) + x0;
        rowOp(static_cast<const std::uint8_t* const*>(rows), buffer.row(y) + x0,
              std::min(kStripBytes, last + 3 - x0));
      }
      if (intoImage) {
        // The rows whose last reader is y: y − reach, and at the last row every one left.
        for (std::int32_t r = std::max(reach, y - reach); r <= (y == lastRow ? y : y - reach);
             ++r) {
          if (firstReader(r) >= y0) writeBack(r);
        }
      }
      if (progress != nullptr) progress->RowDone(y - reach + 1);
    }
  };
  PacedColumnEvents progress(events, first, last, lastRow - reach + 1);
  const std::int32_t rows = lastRow - reach + 1;
  const std::int64_t pixels = std::int64_t{w} * h;
  if (!SharesOut(pixels)) {
    // One band on the calling thread, its events paced as it goes.
    filterRows(reach, lastRow + 1, &progress);
  } else {
    ForEachRowBand(
        rows, pixels,
        [&](std::int32_t b0, std::int32_t b1) { filterRows(reach + b0, reach + b1, nullptr); },
        [&](std::int32_t b0, std::int32_t b1) {
          const std::int32_t y0 = reach + b0;
          const std::int32_t y1 = reach + b1;
          if (intoImage) {
            // The rows read across the band's lower boundary whose last reader lies in this
            // band: every band holding their readers is done.
            for (std::int32_t r = std::max(reach, y0 - reach); r < y0 + reach && r <= lastRow;
                 ++r) {
              if (firstReader(r) < y0 && lastReader(r) >= y0 && lastReader(r) < y1) writeBack(r);
            }
          }
          for (std::int32_t y = y0; y < y1; ++y) progress.RowDone(y - reach + 1);
        });
  }
  progress.Finish();
  events.Complete(clock.ElapsedMs());
}

}  // namespace fotavel::detail
