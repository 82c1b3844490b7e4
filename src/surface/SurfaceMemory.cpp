// Pixel memory for surfaces: aligned blocks, a live-bytes budget and a small reuse pool.
#include "surface/SurfaceMemory.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <utility>
#include <vector>

namespace fotavel {
namespace {

constexpr std::size_t kAlignment = 64;
constexpr std::size_t kPage = 4096;
// The first touch of fresh memory costs a fault per page: on the virtual
// machines this program meets, about 3 ms per megabyte in 4 KiB pages, so a
// 24-megapixel surface (72 MB) took over 200 ms before any pixel was
// computed, as long again as the pass itself. Transparent huge pages cut that
// to 6 to 13 ms: one fault clears a whole 2 MiB page. The kernel only uses
// them for 2 MiB-aligned ranges that lie wholly inside a mapping that asked
// for them (MADV_HUGEPAGE; the system setting is often "madvise"), which
// malloc's blocks do not, so large blocks are mapped here, aligned by hand
// and advised. Their size is rounded up to whole huge pages: a last, partial
// 2 MiB would stay in small pages, and the 1.2 MB tail of an 18 MB surface
// alone took 4 ms to touch, four times as long as the 16 MiB before it. The
// rounding costs under 2 MiB a block, 2 % of a 24-megapixel photo.
constexpr std::size_t kHugePage = std::size_t{2} << 20;
// From this size up blocks are mapped (malloc itself would map them too) and
// pooled; smaller ones are cheap for malloc.
constexpr std::size_t kMappedMinimum = std::size_t{1} << 20;
constexpr std::size_t kPoolMinimum = kMappedMinimum;
constexpr std::size_t kPoolMaxBlocks = 4;

struct PooledBlock {
  void* block;
  std::size_t capacity;
  // How much of it, from its start, has been written to; a block given back
  // by a surface counts as written through.
  std::size_t touched;
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

std::size_t RoundUp(std::size_t bytes, std::size_t unit) {
  return (bytes + unit - 1) / unit * unit;
}

// The capacity a request takes: whole huge pages for a mapped block, the
// malloc alignment otherwise. The same function of the size asked for at
// allocation and release, so a block is always given back with the length it
// was mapped with.
std::size_t CapacityFor(std::size_t bytes) {
  return bytes >= kMappedMinimum ? RoundUp(bytes, kHugePage) : RoundUp(bytes, kAlignment);
}

// `capacity` bytes (whole huge pages) starting on a 2 MiB boundary, advised
// for huge pages, or nullptr when the system has no memory to map. A system
// without huge pages refuses the advice; the block then simply keeps small pages.
void* MapBlock(std::size_t capacity) {
  const std::size_t span = capacity + kHugePage - kPage;
  void* mapped = ::mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = RoundUp(start, kHugePage);
  // Hand the slack before and after the aligned block back at once.
  if (aligned > start) ::munmap(mapped, aligned - start);
  const std::uintptr_t end = aligned + capacity;
  if (start + span > end) ::munmap(reinterpret_cast<void*>(end), start + span - end);
  void* block = reinterpret_cast<void*>(aligned);
  (void)::madvise(block, capacity, MADV_HUGEPAGE);
  return block;
}

void UnmapBlock(void* block, std::size_t capacity) { ::munmap(block, capacity); }

void Release(void* block, std::size_t capacity) {
  if (capacity >= kMappedMinimum) {
    UnmapBlock(block, capacity);
  } else {
    std::free(block);
  }
}

// Must be called with the mutex held. A pooled block serves a request it
// covers without wasting more than a quarter; its surplus pages are unmapped,
// so that the block is again exactly the capacity of the request, which is
// what its release will give back.
bool Serves(const PooledBlock& pooled, std::size_t capacity) {
  return pooled.capacity >= capacity && pooled.capacity - capacity <= capacity / 4;
}

void* TakeFromPool(MemoryState& s, std::size_t capacity) {
  auto best = s.pool.end();
  for (auto it = s.pool.begin(); it != s.pool.end(); ++it) {
    if (Serves(*it, capacity) && (best == s.pool.end() || it->capacity < best->capacity)) {
      best = it;
    }
  }
  if (best == s.pool.end()) return nullptr;
  void* block = best->block;
  if (best->capacity > capacity) {
    UnmapBlock(static_cast<std::uint8_t*>(block) + capacity, best->capacity - capacity);
  }
  s.pooled -= best->capacity;
  s.pool.erase(best);
  return block;
}

void TrimPool(MemoryState& s, std::vector<PooledBlock>& toFree) {
  while (!s.pool.empty() && (s.pool.size() > kPoolMaxBlocks || s.pooled > s.poolCapacity)) {
    toFree.push_back(s.pool.front());
    s.pooled -= s.pool.front().capacity;
    s.pool.erase(s.pool.begin());
  }
}

}  // namespace

void* AllocateSurfaceMemory(std::size_t bytes) noexcept {
  if (bytes == 0 || bytes > std::numeric_limits<std::size_t>::max() - 2 * kHugePage) {
    return nullptr;
  }
  const std::size_t capacity = CapacityFor(bytes);
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
  void* block =
      capacity >= kMappedMinimum ? MapBlock(capacity) : std::aligned_alloc(kAlignment, capacity);
  if (block == nullptr) {
    std::lock_guard lock(s.mutex);
    s.live -= capacity;
  }
  return block;
}

void FreeSurfaceMemory(void* block, std::size_t bytes) noexcept {
  if (block == nullptr) return;
  const std::size_t capacity = CapacityFor(bytes);
  MemoryState& s = State();
  std::vector<PooledBlock> toFree;
  {
    std::lock_guard lock(s.mutex);
    s.live -= std::min(s.live, capacity);
    if (capacity >= kPoolMinimum && capacity <= s.poolCapacity) {
      s.pool.push_back({block, capacity, capacity});
      s.pooled += capacity;
      block = nullptr;
      TrimPool(s, toFree);
    }
  }
  if (block != nullptr) Release(block, capacity);
  for (const PooledBlock& b : toFree) Release(b.block, b.capacity);
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
  std::vector<PooledBlock> toFree;
  std::size_t previous;
  {
    std::lock_guard lock(s.mutex);
    previous = std::exchange(s.poolCapacity, bytes);
    TrimPool(s, toFree);
  }
  for (const PooledBlock& b : toFree) Release(b.block, b.capacity);
  return previous;
}

void TouchSurfaceMemory(void* block, std::size_t from, std::size_t to) noexcept {
  // One write a small page is enough; a huge page is cleared whole on its
  // first fault anyway.
  auto* const bytes = static_cast<volatile std::uint8_t*>(block);
  for (std::size_t at = from; at < to; at += kPage) bytes[at] = 0;
}

bool WarmSurfaceMemory(std::size_t bytes, std::size_t count, std::size_t sliceBytes) noexcept {
  if (bytes == 0 || count == 0 || bytes > std::numeric_limits<std::size_t>::max() - 2 * kHugePage) {
    return true;
  }
  const std::size_t capacity = CapacityFor(bytes);
  MemoryState& s = State();
  std::vector<PooledBlock> toFree;
  bool ready = false;
  {
    std::lock_guard lock(s.mutex);
    // Blocks the pool would not keep, or that the budget would refuse, are
    // not worth making ready.
    if (capacity < kPoolMinimum || count > kPoolMaxBlocks || capacity > s.poolCapacity / count ||
        capacity > s.limit || s.live > s.limit - capacity) {
      return true;
    }
    std::size_t serving = 0;
    PooledBlock* unfinished = nullptr;
    for (PooledBlock& pooled : s.pool) {
      if (!Serves(pooled, capacity)) continue;
      ++serving;
      if (pooled.touched < pooled.capacity && unfinished == nullptr) unfinished = &pooled;
    }
    if (unfinished == nullptr && serving < count) {
      void* block = MapBlock(capacity);
      if (block == nullptr) return true;  // no memory to spare: nothing to make ready
      s.pool.push_back({block, capacity, 0});
      s.pooled += capacity;
      unfinished = &s.pool.back();
      ++serving;
    }
    if (unfinished != nullptr) {
      const std::size_t end = std::min(unfinished->capacity, unfinished->touched + sliceBytes);
      TouchSurfaceMemory(unfinished->block, unfinished->touched, end);
      unfinished->touched = end;
    }
    TrimPool(s, toFree);
    std::size_t written = 0;
    for (const PooledBlock& pooled : s.pool) {
      if (Serves(pooled, capacity) && pooled.touched == pooled.capacity) ++written;
    }
    ready = written >= count;
  }
  for (const PooledBlock& b : toFree) Release(b.block, b.capacity);
  return ready;
}

void ReleasePooledSurfaceMemory() noexcept {
  const std::size_t previous = SetSurfacePoolCapacity(0);
  SetSurfacePoolCapacity(previous);
}

}  // namespace fotavel
