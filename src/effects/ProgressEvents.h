// The engine's three progress events and the helpers every pass uses to raise them.
#pragma once

#include <chrono>
#include <cstdint>

namespace fotavel {

// Listener of a pass: InitProgress once before any pixel is written, Progress
// after each unit of work, Complete once with the milliseconds the pass took.
// Called synchronously on the thread that runs the pass.
class ProgressListener {
 public:
  virtual ~ProgressListener() = default;
  virtual void InitProgress(std::int32_t lMax) = 0;
  virtual void Progress(std::int32_t lPosition) = 0;
  virtual void Complete(std::int32_t lTimeMs) = 0;
};

// Raises the events to the engine's listener, if any, and times the pass.
class ProgressEvents {
 public:
  void SetListener(ProgressListener* listener) { listener_ = listener; }
  ProgressListener* listener() const { return listener_; }

  void Init(std::int32_t lMax) const {
    if (listener_) listener_->InitProgress(lMax);
  }
  void Progress(std::int32_t lPosition) const {
    if (listener_) listener_->Progress(lPosition);
  }
  void Complete(std::int32_t lTimeMs) const {
    if (listener_) listener_->Complete(lTimeMs);
  }
  // Progress for byte columns first, first + step, ... up to last inclusive:
  // the burst raised after a strip of columns has been computed.
  void ProgressColumns(std::int32_t first, std::int32_t last, std::int32_t step = 3) const {
    if (!listener_) return;
    for (std::int32_t x = first; x <= last; x += step) listener_->Progress(x);
  }

 private:
  ProgressListener* listener_ = nullptr;
};

// The millisecond clock read at the start and end of a pass.
class PassClock {
 public:
  PassClock() : start_(std::chrono::steady_clock::now()) {}
  std::int32_t ElapsedMs() const {
    return static_cast<std::int32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now() - start_)
                                         .count());
  }

 private:
  std::chrono::steady_clock::time_point start_;
};

}  // namespace fotavel
