// Cache-friendly walking of column-ordered passes, with their progress raised in order.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>

#include "effects/PrefetchRows.h"
#include "effects/ProgressEvents.h"
#include "surface/ByteView.h"
#include "surface/WorkerPool.h"

namespace fotavel {

// The engine's passes are defined column by column (outer loop over pixel
// columns, inner loop over rows) with a Progress event after each column. On
// a bottom-up surface every inner step of that order jumps a whole row of
// memory. Wherever the result does not depend on the visiting order, a pass
// computes a strip of columns row by row instead and then raises the strip's
// Progress events in one burst: same events, same values, same order.
inline constexpr std::int32_t kStripPixels = 256;
inline constexpr std::int32_t kStripBytes = 3 * kStripPixels;

// Runs work(x0, x1) for consecutive strips of byte columns x0 … x1 (both
// pixel starts, inclusive) covering first … last in steps of 3, and raises
// Progress(x) for every column of a strip once the strip is done.
//
// A pass whose strips do not depend on each other (each writes only its own
// columns and reads nothing another strip writes) gives its size in
// `pixels`: from ThreadMinPixels() on, its strips are shared out between the
// engine's threads (RunInOrder), while the events still come from the calling
// thread, strip after strip, exactly as on one thread. 0 keeps the pass on
// the calling thread.
template <class Work>
void ForEachColumnStrip(const ProgressEvents& events, std::int32_t first, std::int32_t last,
                        Work&& work, std::int32_t stripBytes = kStripBytes,
                        std::int64_t pixels = 0) {
  if (last < first) return;
  if (pixels == 0 || !SharesOut(pixels)) {
    for (std::int32_t x0 = first; x0 <= last; x0 += stripBytes) {
      const std::int32_t x1 = std::min(last, x0 + stripBytes - 3);
      work(x0, x1);
      events.ProgressColumns(x0, x1);
    }
    return;
  }
  const auto strip = [first, last, stripBytes](std::int32_t i) {
    const std::int32_t x0 = first + i * stripBytes;
    return std::pair{x0, std::min(last, x0 + stripBytes - 3)};
  };
  RunInOrder((last - first) / stripBytes + 1,
             [&](std::int32_t i) {
               const auto [x0, x1] = strip(i);
               work(x0, x1);
             },
             [&](std::int32_t i) {
               const auto [x0, x1] = strip(i);
               events.ProgressColumns(x0, x1);
             });
}

// Passes that walk whole rows (the neighbourhood filters, the combinations)
// finish no column before their last row, yet a 24-megapixel pass lasts long
// enough for the progress bar to be seen standing still and then jumping to
// its end. They raise their column events paced on the rows instead: after
// every band of rows, the events of as many columns as the share of rows done,
// in order; Finish raises the rest. The listener sees the same events in the
// same order, now spread over the pass.
inline constexpr std::int32_t kProgressBandRows = 32;

class PacedColumnEvents {
 public:
  // Columns first, first + 3, ... up to last (none when last < first), over `rows` rows.
  PacedColumnEvents(const ProgressEvents& events, std::int32_t first, std::int32_t last,
                    std::int32_t rows)
      : events_(events),
        first_(first),
        columns_(last >= first ? std::int64_t{last - first} / 3 + 1 : 0),
        rows_(rows) {}

  // Call after each row with the number of rows done; raises events once a band is complete.
  void RowDone(std::int32_t done) {
    if (done % kProgressBandRows == 0 && done < rows_) RaiseUpTo(columns_ * done / rows_);
  }
  void Finish() { RaiseUpTo(columns_); }

 private:
  void RaiseUpTo(std::int64_t count) {
    if (count <= raised_) return;
    events_.ProgressColumns(static_cast<std::int32_t>(first_ + 3 * raised_),
                            static_cast<std::int32_t>(first_ + 3 * (count - 1)));
    raised_ = count;
  }

  const ProgressEvents& events_;
  std::int64_t first_;
  std::int64_t columns_;
  std::int32_t rows_;
  std::int64_t raised_ = 0;
};

// The frame shared by the per-pixel effects: InitProgress with 3 × (W − 1),
// every pixel transformed in place, Progress after each column, Complete with
// the elapsed time. rowFn(bytes, pixels) transforms `pixels` consecutive BGR
// pixels starting at `bytes`; it is called strip by strip, row by row, with
// the same columns of a few rows further on asked for ahead of time.
template <class RowFn>
void RunPixelPass(const ProgressEvents& events, ByteView v, RowFn&& rowFn) {
  const PassClock clock;
  const std::int32_t last = 3 * (v.width() - 1);
  const std::uintptr_t ahead = RowsAhead(v);
  events.Init(last);
  // Light per-pixel work is bound by memory: long row runs stream best, so a
  // wide picture is cut into about eight strips, enough for the progress bar
  // to move during the pass; four a thread when several share them, so that
  // none waits long for the last.
  const std::int32_t strips = std::max(8, 4 * ThreadCount());
  const std::int32_t stripBytes = 3 * std::max(kStripPixels, (v.width() + strips - 1) / strips);
  ForEachColumnStrip(
      events, 0, last,
      [&](std::int32_t x0, std::int32_t x1) {
        const std::int32_t pixels = (x1 - x0) / 3 + 1;
        for (std::int32_t y = 0; y < v.height(); ++y) {
          PrefetchAhead(v.row(y) + x0, ahead, 3 * pixels);
          rowFn(v.row(y) + x0, pixels);
        }
      },
      stripBytes, std::int64_t{v.width()} * v.height());
  events.Complete(clock.ElapsedMs());
}

}  // namespace fotavel
