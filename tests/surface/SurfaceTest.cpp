// The pixel surface: sizes and strides, refusals, the display-origin block copy, and its memory:
// the budget and the reuse pool over mapped blocks.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

#include "support/Surfaces.h"
#include "surface/SurfaceMemory.h"
#include "surface/cDIBSection.h"

namespace fotavel {
namespace {

using testing::PixelRGB;
using testing::SetPixelRGB;

TEST(Surface, StrideIsThreeBytesAPixelRoundedUpToFour) {
  for (auto [width, stride] : {std::pair{1, 4}, {2, 8}, {4, 12}, {5, 16}, {257, 772}}) {
    cDIBSection s;
    ASSERT_TRUE(s.Create(width, 2));
    EXPECT_EQ(std::pair(s.BytesPerScanLine(), std::int32_t(s.row(1) - s.row(0))),
              std::pair(stride, stride));
  }
}

// A refused size, or one over the memory budget, leaves the surface empty.
TEST(Surface, CreateRefusesSizesItCannotHold) {
  const std::int32_t max = std::numeric_limits<std::int32_t>::max();
  const std::pair<std::int32_t, std::int32_t> refused[] = {
      {0, 10}, {10, -5}, {max, 1}, {max / 3, max}, {100000, 100000000}};
  cDIBSection s;
  for (auto [w, h] : refused) {
    ASSERT_TRUE(s.Create(4, 4));
    EXPECT_FALSE(s.Create(w, h)) << w << 'x' << h;
    EXPECT_TRUE(s.empty() && s.width() == 0 && s.height() == 0);
  }
  const testing::NoMoreSurfaceMemory full(1000);
  EXPECT_FALSE(s.Create(100, 100));
  EXPECT_TRUE(s.empty());
  EXPECT_TRUE(s.Create(10, 10));
}

// Displayed (column c, row r) of the target is displayed (left + c, top + r) of the source, whose
// pixels hold red = column, green = displayed row.
TEST(Surface, BlockCopyOriginCountsFromTheDisplayedTopLeft) {
  cDIBSection source = testing::UniformSurface(7, 5, 0, 0, 0);
  for (std::int32_t p = 0; p < 35; ++p)
    SetPixelRGB(source, p % 7, p / 7, (p % 7) << 16 | (4 - p / 7) << 8);
  cDIBSection target = testing::UniformSurface(3, 2, 0, 0, 0);
  ASSERT_TRUE(target.LoadPictureBlt(source, 2, 1));
  for (std::int32_t p = 0; p < 6; ++p) {
    const std::int32_t c = p % 3, r = p / 3;
    EXPECT_EQ(PixelRGB(target, c, 1 - r), std::uint32_t(2 + c) << 16 | std::uint32_t(1 + r) << 8)
        << "displayed " << c << ',' << r;
  }
  EXPECT_TRUE(testing::PaddingIntact(target));
  const cDIBSection before = testing::Copy(target);
  for (const auto& [left, top] : {std::pair{5, 0}, {0, 4}, {-1, 0}}) {
    EXPECT_FALSE(target.LoadPictureBlt(source, left, top)) << left << ',' << top;
  }
  EXPECT_FALSE(target.LoadPictureBlt(cDIBSection()));
  EXPECT_TRUE(testing::SamePixels(target, before));
}

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

}  // namespace
}  // namespace fotavel
