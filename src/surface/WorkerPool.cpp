// The engine's worker threads.
#include "surface/WorkerPool.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace fotavel {

namespace {

// A whole number from 1 to `largest` in the environment, else `fallback`.
std::int64_t FromEnvironment(const char* name, std::int64_t fallback, std::int64_t largest) {
  const char* text = std::getenv(name);
  if (text == nullptr || *text == '\0') return fallback;
  char* end = nullptr;
  const long long value = std::strtoll(text, &end, 10);
  return *end == '\0' && value >= 1 && value <= largest ? value : fallback;
}

std::int32_t DefaultThreads() {
  static const auto threads = static_cast<std::int32_t>(FromEnvironment(
      "FOTAVEL_THREADS", std::max<std::int64_t>(1, std::thread::hardware_concurrency()), 1024));
  return threads;
}

std::atomic<std::int32_t> g_threads{0};
std::atomic<std::int64_t> g_minPixels{0};

// One call of RunInOrder: items are taken in order by whoever is free; the
// caller waits, in order, for each to be finished.
struct Job {
  std::int32_t count = 0;
  std::int32_t helpers = 0;  // pool threads that may join, besides the caller
  const std::function<void(std::int32_t)>* work = nullptr;
  std::atomic<std::int32_t> next{0};
  std::int32_t joined = 0;  // guarded by the pool's mutex
  std::mutex mutex;
  std::condition_variable finishedOne;
  std::vector<char> finished;  // guarded by mutex
  std::exception_ptr failure;  // guarded by mutex
  std::atomic<bool> stop{false};

  // Takes and runs items until none is left or one has failed.
  void Help() {
    for (;;) {
      const std::int32_t i = next.fetch_add(1);
      if (i >= count || stop.load()) return;
      std::exception_ptr thrown;
      try {
        (*work)(i);
      } catch (...) {
        thrown = std::current_exception();
      }
      {
        std::lock_guard lock(mutex);
        if (thrown) {
          if (!failure) failure = thrown;
          stop = true;
        } else {
          finished[std::size_t(i)] = 1;
        }
      }
      finishedOne.notify_all();
    }
  }
};

// Threads made once, as many as the largest count asked for less the caller,
// waiting for jobs; each job also runs on its caller, so a job finishes even
// when every pool thread is busy with another's.
class Pool {
 public:
  static Pool& Shared() {
    // Never destroyed: threads blocked on a job at exit must not meet a
    // destroyed pool.
    static Pool* const pool = new Pool;
    return *pool;
  }

  void Run(Job& job) {
    {
      std::lock_guard lock(mutex_);
      while (std::int32_t(threads_.size()) < job.helpers) {
        try {
          threads_.emplace_back([this] { Serve(); });
        } catch (const std::system_error&) {
          // The system gives no more threads: the job makes do with those
          // there are (its caller alone, at worst).
          job.helpers = std::int32_t(threads_.size());
          break;
        }
        threads_.back().detach();
      }
      jobs_.push_back(&job);
    }
    wake_.notify_all();
  }

  void Retire(Job& job) {
    std::unique_lock lock(mutex_);
    jobs_.erase(std::remove(jobs_.begin(), jobs_.end(), &job), jobs_.end());
    // A pool thread may still be inside job.Help(): wait until it has left.
    left_.wait(lock, [&job] { return job.joined == 0; });
  }

 private:
  void Serve() {
    std::unique_lock lock(mutex_);
    for (;;) {
      Job* job = nullptr;
      wake_.wait(lock, [&] {
        for (Job* j : jobs_) {
          if (j->joined < j->helpers && j->next.load() < j->count && !j->stop.load()) {
            job = j;
            return true;
          }
        }
        return false;
      });
      ++job->joined;
      lock.unlock();
      job->Help();
      lock.lock();
      --job->joined;
      left_.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable left_;
  std::deque<Job*> jobs_;
  std::vector<std::thread> threads_;
};

}  // namespace

std::int32_t ThreadCount() {
  const std::int32_t set = g_threads.load();
  return set > 0 ? set : DefaultThreads();
}

std::int32_t SetThreadCount(std::int32_t threads) {
  return g_threads.exchange(std::max<std::int32_t>(0, threads));
}

std::int64_t ThreadMinPixels() {
  static const std::int64_t fromEnvironment =
      FromEnvironment("FOTAVEL_THREADS_MIN_PIXELS", 256 * 1024, INT64_MAX);
  const std::int64_t set = g_minPixels.load();
  return set > 0 ? set : fromEnvironment;
}

std::int64_t SetThreadMinPixels(std::int64_t pixels) {
  return g_minPixels.exchange(std::max<std::int64_t>(0, pixels));
}

void RunInOrder(std::int32_t count, const std::function<void(std::int32_t)>& work,
                const std::function<void(std::int32_t)>& done) {
  const std::int32_t helpers = std::min(ThreadCount(), count) - 1;
  if (helpers <= 0) {
    for (std::int32_t i = 0; i < count; ++i) {
      work(i);
      done(i);
    }
    return;
  }
  Job job;
  job.count = count;
  job.helpers = helpers;
  job.work = &work;
  job.finished.assign(std::size_t(count), 0);
  Pool& pool = Pool::Shared();
  pool.Run(job);
  // The caller raises each item's events as soon as it and every item before
  // it are done, taking items itself whenever the next one to report is not.
  std::int32_t reported = 0;
  std::exception_ptr failure;
  while (reported < count) {
    {
      std::unique_lock lock(job.mutex);
      if (job.failure) break;
      if (job.finished[std::size_t(reported)] == 0 && job.next.load() >= count) {
        job.finishedOne.wait(
            lock, [&] { return job.failure || job.finished[std::size_t(reported)] != 0; });
        if (job.failure) break;
      }
      if (job.finished[std::size_t(reported)] != 0) {
        lock.unlock();
        try {
          done(reported);
        } catch (...) {
          failure = std::current_exception();
          job.stop = true;
          break;
        }
        ++reported;
        continue;
      }
    }
    // Not done yet and items are left: take one.
    const std::int32_t i = job.next.fetch_add(1);
    if (i >= count) continue;
    std::exception_ptr thrown;
    try {
      work(i);
    } catch (...) {
      thrown = std::current_exception();
    }
    std::lock_guard lock(job.mutex);
    if (thrown) {
      if (!job.failure) job.failure = thrown;
      job.stop = true;
    } else {
      job.finished[std::size_t(i)] = 1;
    }
  }
  pool.Retire(job);
  {
    // Items other threads had started are over once Retire returns.
    std::lock_guard lock(job.mutex);
    if (!failure) failure = job.failure;
  }
  if (failure) std::rethrow_exception(failure);
}

}  // namespace fotavel
