// Passes that raise an event after each row or each item: shared out over the worker threads,
// the events still raised one by one, in order, on the calling thread.
#pragma once

#include <cstdint>

#include "surface/WorkerPool.h"

namespace fotavel {

// Runs work(i) then done(i) for i = 0 … count − 1. On one thread, or below
// ThreadMinPixels() `pixels`, they simply alternate on the calling thread, as
// the pass always did; otherwise the works are shared out (RunInOrder) and the
// dones still come on the calling thread in increasing i. Only for items that
// do not depend on one another.
template <class Work, class Done>
void ForEachInOrder(std::int32_t count, std::int64_t pixels, Work&& work, Done&& done) {
  if (!SharesOut(pixels)) {
    for (std::int32_t i = 0; i < count; ++i) {
      work(i);
      done(i);
    }
    return;
  }
  RunInOrder(count, work, done);
}

// Runs row(y) then done(y) for every row y = 0 … rows − 1: row by row on the
// calling thread when the pass does not share out, so that its events keep
// their pace; otherwise over bands of rows (ForEachRowBand), the dones of a
// band raised once it and every band before it are complete. Only for rows
// that do not depend on one another.
template <class Row, class Done>
void ForEachRowInOrder(std::int32_t rows, std::int64_t pixels, Row&& row, Done&& done) {
  if (!SharesOut(pixels)) {
    ForEachInOrder(rows, pixels, row, done);  // alternates on this thread
    return;
  }
  ForEachRowBand(
      rows, pixels,
      [&](std::int32_t y0, std::int32_t y1) {
        for (std::int32_t y = y0; y < y1; ++y) row(y);
      },
      [&](std::int32_t y0, std::int32_t y1) {
        for (std::int32_t y = y0; y < y1; ++y) done(y);
      });
}

}  // namespace fotavel
