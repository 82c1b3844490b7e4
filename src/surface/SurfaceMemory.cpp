// Pixel memory for surfaces: aligned blocks, a live-bytes budget and a small reuse pool.
#include "surface/SurfaceMemory.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <utility>
#include <vector>

namespace fotavel {
namespace {

constexpr std::size_t kAlignment = 64;
// Blocks below this size are cheap for malloc itself and are not pooled.
constexpr std::size_t kPoolMinimum = std::size_t{1} << 20;
constexpr std::size_t kPoolMaxBlocks = 4;

struct PooledBlock {
  void* block;
  std::size_t capacity;
};

struct MemoryState {
  std::mutex mutex;
  std::size_t limit = std::numeric_limits<std::size_t>::max();
  std::size_t live = 0;
  std::size_t poolCapacity = std::size_t{1} << 30;
  std::size_t pooled = 0;
  std::vector<PooledBlock> pool;  // oldest first
};

MemoryState& State() {
  static MemoryState state;
  return state;
}

std::size_t RoundUp(std::size_t bytes) {
  return (bytes + kAlignment - 1) / kAlignment * kAlignment;
}

// Must be called with the mutex held.
void* TakeFromPool(MemoryState& s, std::size_t bytes) {
  // A pooled block serves a request it covers without wasting more than a quarter.
  auto best = s.pool.end();
  for (auto it = s.pool.begin(); it != s.pool.end(); ++it) {
    if (it->capacity >= bytes && it->capacity - bytes <= bytes / 4 &&
        (best == s.pool.end() || it->capacity < best->capacity)) {
      best = it;
    }
  }
  if (best == s.pool.end()) return nullptr;
  void* block = best->block;
  s.pooled -= best->capacity;
  s.pool.erase(best);
  return block;
}

void TrimPool(MemoryState& s, std::vector<void*>& toFree) {
  while (!s.pool.empty() && (s.pool.size() > kPoolMaxBlocks || s.pooled > s.poolCapacity)) {
    toFree.push_back(s.pool.front().block);
    s.pooled -= s.pool.front().capacity;
    s.pool.erase(s.pool.begin());
  }
}

}  // namespace

void* AllocateSurfaceMemory(std::size_t bytes) noexcept {
  if (bytes == 0 || bytes > std::numeric_limits<std::size_t>::max() - kAlignment) return nullptr;
  const std::size_t capacity = RoundUp(bytes);
  MemoryState& s = State();
  {
    std::lock_guard lock(s.mutex);
    if (capacity > s.limit || s.live > s.limit - capacity) return nullptr;
    if (capacity >= kPoolMinimum) {
      if (void* block = TakeFromPool(s, capacity)) {
        s.live += capacity;
        return block;
      }
    }
    s.live += capacity;
  }
  void* block = std::aligned_alloc(kAlignment, capacity);
  if (block == nullptr) {
    std::lock_guard lock(s.mutex);
    s.live -= capacity;
  }
  return block;
}

void FreeSurfaceMemory(void* block, std::size_t bytes) noexcept {
  if (block == nullptr) return;
  const std::size_t capacity = RoundUp(bytes);
  MemoryState& s = State();
  std::vector<void*> toFree;
  {
    std::lock_guard lock(s.mutex);
    s.live -= std::min(s.live, capacity);
    if (capacity >= kPoolMinimum && capacity <= s.poolCapacity) {
      s.pool.push_back({block, capacity});
      s.pooled += capacity;
      block = nullptr;
      TrimPool(s, toFree);
    }
  }
  std::free(block);
  for (void* b : toFree) std::free(b);
}

std::size_t SetSurfaceMemoryLimit(std::size_t bytes) noexcept {
  MemoryState& s = State();
  std::lock_guard lock(s.mutex);
  return std::exchange(s.limit, bytes);
}

std::size_t LiveSurfaceBytes() noexcept {
  MemoryState& s = State();
  std::lock_guard lock(s.mutex);
  return s.live;
}

std::size_t SetSurfacePoolCapacity(std::size_t bytes) noexcept {
  MemoryState& s = State();
  std::vector<void*> toFree;
  std::size_t previous;
  {
    std::lock_guard lock(s.mutex);
    previous = std::exchange(s.poolCapacity, bytes);
    TrimPool(s, toFree);
  }
  for (void* b : toFree) std::free(b);
  return previous;
}

void ReleasePooledSurfaceMemory() noexcept {
  const std::size_t previous = SetSurfacePoolCapacity(0);
  SetSurfacePoolCapacity(previous);
}

}  // namespace fotavel
