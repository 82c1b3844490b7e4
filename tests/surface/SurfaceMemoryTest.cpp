// Surface memory: huge pages for large surfaces, the budget and the reuse pool over mapped blocks.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

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

}  // namespace
}  // namespace fotavel
