// Surface memory: the budget and the reuse pool over mapped blocks, and warming blocks ahead.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "surface/SurfaceMemory.h"

namespace fotavel {
namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;

// Whether any mapping of this process overlaps [begin, end).
bool AnythingMappedIn(std::uintptr_t begin, std::uintptr_t end) {
  std::ifstream maps("/proc/self/maps");
  for (std::string line; std::getline(maps, line);) {
    std::uintptr_t start = 0, stop = 0;
    char dash = 0;
    std::istringstream(line) >> std::hex >> start >> dash >> stop;
    if (start < end && stop > begin) return true;
  }
  return false;
}

// A pooled block that serves a smaller request must give its surplus back:
// its release unmaps only what the smaller request took.
TEST(SurfaceMemory, PooledBlocksKeepTheBudgetAndLeaveNothingMapped) {
  const std::size_t previousPool = SetSurfacePoolCapacity(std::size_t{1} << 30);
  ReleasePooledSurfaceMemory();
  const std::size_t live = LiveSurfaceBytes();
  const std::size_t large = 10'000'000, smaller = 8'000'000;

  void* first = AllocateSurfaceMemory(large);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(LiveSurfaceBytes(), live + 5 * kHugePage);  // whole 2 MiB pages
  FreeSurfaceMemory(first, large);
  EXPECT_EQ(LiveSurfaceBytes(), live);

  void* second = AllocateSurfaceMemory(smaller);
  EXPECT_EQ(second, first) << "the pooled block was not reused";
  EXPECT_EQ(LiveSurfaceBytes(), live + 4 * kHugePage);
  std::memset(second, 1, smaller);  // the block is writable to its end
  FreeSurfaceMemory(second, smaller);
  ReleasePooledSurfaceMemory();
  const auto begin = reinterpret_cast<std::uintptr_t>(first);
  EXPECT_FALSE(AnythingMappedIn(begin, begin + large)) << "part of the block is still mapped";

  const std::size_t previousLimit = SetSurfaceMemoryLimit(live + large - 1);
  EXPECT_EQ(AllocateSurfaceMemory(large), nullptr);
  SetSurfaceMemoryLimit(previousLimit);
  EXPECT_EQ(LiveSurfaceBytes(), live);
  SetSurfacePoolCapacity(previousPool);
}

// How many of the small pages of [block, block + bytes) are in memory.
std::size_t ResidentPages(void* block, std::size_t bytes) {
  const std::size_t page = std::size_t(::sysconf(_SC_PAGESIZE));
  std::vector<unsigned char> resident((bytes + page - 1) / page);
  if (::mincore(block, bytes, resident.data()) != 0) return 0;
  return std::size_t(
      std::count_if(resident.begin(), resident.end(), [](unsigned char r) { return r & 1; }));
}

TEST(SurfaceMemory, WarmingMakesTheNextBlocksOfThatSizeResidentSliceBySlice) {
  const std::size_t previousPool = SetSurfacePoolCapacity(std::size_t{1} << 30);
  ReleasePooledSurfaceMemory();
  const std::size_t bytes = 20'000'000;
  const std::size_t pages = (bytes + 4095) / 4096;

  // What a block fresh from the system looks like: nothing in memory yet.
  void* fresh = AllocateSurfaceMemory(bytes);
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(ResidentPages(fresh, bytes), 0u);
  SetSurfacePoolCapacity(0);
  FreeSurfaceMemory(fresh, bytes);
  SetSurfacePoolCapacity(std::size_t{1} << 30);

  int calls = 1;
  while (!WarmSurfaceMemory(bytes, 2, std::size_t{4} << 20) && calls < 100) ++calls;
  // Two blocks of ten 2 MiB pages, four a call: the tenth call ends the second.
  EXPECT_EQ(calls, 10);
  EXPECT_TRUE(WarmSurfaceMemory(bytes, 2, std::size_t{4} << 20)) << "ready stays ready";
  void* first = AllocateSurfaceMemory(bytes);
  void* second = AllocateSurfaceMemory(bytes);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(ResidentPages(first, bytes), pages);
  EXPECT_EQ(ResidentPages(second, bytes), pages);
  FreeSurfaceMemory(first, bytes);
  FreeSurfaceMemory(second, bytes);
  ReleasePooledSurfaceMemory();
  SetSurfacePoolCapacity(previousPool);
}

}  // namespace
}  // namespace fotavel
