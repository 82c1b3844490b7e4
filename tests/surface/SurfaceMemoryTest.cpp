// Surface memory: huge pages for large surfaces, the budget and the reuse pool over mapped blocks.
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
#include "surface/cDIBSection.h"

namespace fotavel {
namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;

// AnonHugePages (kB) and VmFlags of the mapping of /proc/self/smaps that
// holds `address`; flags stay empty when none does. The flag "hg" marks a
// range advised for huge pages.
struct Mapping {
  std::uint64_t anonHugeKb = 0;
  std::string flags;
};

Mapping MappingHolding(const void* address) {
  const auto at = reinterpret_cast<std::uintptr_t>(address);
  std::ifstream smaps("/proc/self/smaps");
  Mapping m;
  bool inside = false;
  for (std::string line; std::getline(smaps, line);) {
    std::uintptr_t start = 0, end = 0;
    char dash = 0;
    if (std::istringstream(line) >> std::hex >> start >> dash >> end && dash == '-') {
      if (inside) break;  // the next mapping's header: "start-end perms ..."
      inside = at >= start && at < end;
    } else if (inside && line.rfind("AnonHugePages:", 0) == 0) {
      std::istringstream(line.substr(14)) >> m.anonHugeKb;
    } else if (inside && line.rfind("VmFlags:", 0) == 0) {
      m.flags = line.substr(8) + ' ';
    }
  }
  return m;
}

// thp_fault_fallback of /proc/vmstat: faults where the kernel wanted a huge
// page and found none free (or none it could compact) in time.
std::uint64_t HugePageFallbacks() {
  std::ifstream vmstat("/proc/vmstat");
  std::string name;
  std::uint64_t value = 0;
  while (vmstat >> name >> value) {
    if (name == "thp_fault_fallback") return value;
  }
  return 0;
}

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

TEST(SurfaceMemory, LargeSurfaceIsBackedByHugePages) {
  std::ifstream setting("/sys/kernel/mm/transparent_hugepage/enabled");
  std::string modes;
  if (!std::getline(setting, modes)) GTEST_SKIP() << "this kernel has no transparent huge pages";
  if (modes.find("[never]") != std::string::npos) {
    GTEST_SKIP() << "transparent huge pages are switched off on this system";
  }
  const std::size_t previousPool = SetSurfacePoolCapacity(0);  // a fresh mapping, not a reused one
  {
    cDIBSection s;
    ASSERT_TRUE(s.Create(2000, 2000));  // 12 000 000 bytes: six 2 MiB pages, the last partly used
    std::uint8_t* bits = s.DIBSectionBitsPtr();
    const std::size_t bytes = std::size_t(s.BytesPerScanLine()) * s.height();
    const std::uint64_t fallbacksBefore = HugePageFallbacks();
    std::memset(bits, 0x5A, bytes);
    const std::uint64_t fallbacks = HugePageFallbacks() - fallbacksBefore;

    const Mapping m = MappingHolding(bits);
    ASSERT_FALSE(m.flags.empty()) << "no mapping holds the surface";
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bits) % kHugePage, 0u);
    EXPECT_NE(m.flags.find(" hg "), std::string::npos) << "not advised: VmFlags" << m.flags;
    const std::uint64_t hugePagesKb = (bytes + kHugePage - 1) / kHugePage * (kHugePage >> 10);
    if (m.anonHugeKb < hugePagesKb && fallbacks > 0) {
      // The kernel looked for free 2 MiB pages and found none (fragmented
      // memory): nothing this program can change.
      GTEST_SKIP() << "the kernel fell back to small pages " << fallbacks
                   << " times; AnonHugePages " << m.anonHugeKb << " kB";
    }
    EXPECT_GE(m.anonHugeKb, hugePagesKb);
  }
  SetSurfacePoolCapacity(previousPool);
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
