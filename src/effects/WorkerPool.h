// The engine's worker threads: strips of a pass computed on every core, their events raised in
// order on the calling thread.
#pragma once

#include <cstdint>
#include <functional>

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

}  // namespace fotavel
