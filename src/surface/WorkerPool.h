// The engine's worker threads: strips of a pass computed on every core, their events raised in
// order on the calling thread.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <utility>

namespace fotavel {

// How many threads a pass may use, the calling thread included: what
// SetThreadCount last set, else FOTAVEL_THREADS, else the processor's cores.
std::int32_t ThreadCount();
// Fixes the count (the batch tool's --threads, its -j sharing the cores,
// tests); 0 goes back to the default. Returns the previous setting.
std::int32_t SetThreadCount(std::int32_t threads);

// A pass on fewer pixels than this stays on the calling thread: handing
// strips to other threads costs more than it saves. FOTAVEL_THREADS_MIN_PIXELS
// or SetThreadMinPixels lower it, so that the tests' small pictures are
// shared out too (0 goes back to the default; returns the previous setting).
std::int64_t ThreadMinPixels();
std::int64_t SetThreadMinPixels(std::int64_t pixels);

// True when a pass on `pixels` pixels shares its work out.
inline bool SharesOut(std::int64_t pixels) {
  return ThreadCount() > 1 && pixels >= ThreadMinPixels();
}

// Runs work(i) for every i in 0 … count - 1 on up to ThreadCount() threads
// (the pool's and the calling one), and done(i) on the calling thread, in
// increasing i, each as soon as work(0 … i) have finished: a pass raises its
// events from done, so the listener sees exactly the order and values of a
// pass run on one thread, on the thread that started it. With one thread,
// work(i) and done(i) simply alternate. The first exception a work throws is
// rethrown here once the works already started have finished; no done is
// called after it. Several callers (the batch tool's photos) may run at once.
void RunInOrder(std::int32_t count, const std::function<void(std::int32_t)>& work,
                const std::function<void(std::int32_t)>& done);

// Runs work(y0, y1) over bands of rows y0 … y1 − 1 that cover 0 … rows − 1,
// and done(y0, y1) for each band on the calling thread, in order, as in
// RunInOrder. From ThreadMinPixels() `pixels` on, with several threads, there
// are about four bands a thread (so that none waits long for the last), each
// of at least `minRows` rows; otherwise one band of all the rows, on the
// calling thread. Meant for passes whose bands do not depend on one another.
template <class Work, class Done>
void ForEachRowBand(std::int32_t rows, std::int64_t pixels, Work&& work, Done&& done,
                    std::int32_t minRows = 1) {
  if (rows <= 0) return;
  if (!SharesOut(pixels)) {
    work(0, rows);
    done(0, rows);
    return;
  }
  const std::int32_t bands = 4 * ThreadCount();
  const std::int32_t bandRows = std::max({std::int32_t{1}, minRows, (rows + bands - 1) / bands});
  const auto band = [rows, bandRows](std::int32_t i) {
    return std::pair{i * bandRows, std::min(rows, (i + 1) * bandRows)};
  };
  RunInOrder((rows + bandRows - 1) / bandRows,
             [&](std::int32_t i) {
               const auto [y0, y1] = band(i);
               work(y0, y1);
             },
             [&](std::int32_t i) {
               const auto [y0, y1] = band(i);
               done(y0, y1);
             });
}

}  // namespace fotavel
