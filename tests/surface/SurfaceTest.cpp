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
  const std::pair<int, int> cases[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {257, 772}};
  for (auto [width, stride] : cases) {
    cDIBSection s;
    ASSERT_TRUE(s.Create(width, 2));
    EXPECT_EQ(s.BytesPerScanLine(), stride) << "width " << width;
    EXPECT_EQ(s.view().stride(), stride);
    EXPECT_EQ(s.row(1) - s.row(0), stride);
  }
}

TEST(Surface, CreateRefusesSizesItCannotHold) {
  const std::int32_t max = std::numeric_limits<std::int32_t>::max();
  const std::pair<std::int32_t, std::int32_t> refused[] = {
      {0, 10}, {10, 0}, {-1, 10}, {10, -5}, {max, 1}, {max / 3, max}, {100000, 100000000}};
  for (auto [w, h] : refused) {
    cDIBSection s;
    ASSERT_TRUE(s.Create(4, 4));
    EXPECT_FALSE(s.Create(w, h)) << w << 'x' << h;
    EXPECT_TRUE(s.empty() && s.width() == 0 && s.height() == 0);
  }
}

TEST(Surface, ClearUpTwiceIsHarmless) {
  cDIBSection s;
  ASSERT_TRUE(s.Create(3, 3));
  const std::size_t live = LiveSurfaceBytes();
  s.ClearUp();
  EXPECT_EQ(LiveSurfaceBytes(), live - 64);  // 12 x 3 bytes, rounded to the block alignment
  s.ClearUp();
  EXPECT_TRUE(s.empty());
  EXPECT_EQ(LiveSurfaceBytes(), live - 64);
}

TEST(Surface, MemoryLimitMakesCreateFailCleanly) {
  cDIBSection held;
  ASSERT_TRUE(held.Create(100, 100));
  cDIBSection s;
  {
    const testing::NoMoreSurfaceMemory full(1000);
    EXPECT_FALSE(s.Create(100, 100));
    EXPECT_TRUE(s.empty());
    EXPECT_TRUE(s.Create(10, 10));
  }
  EXPECT_TRUE(s.Create(100, 100));
}

// Each source pixel holds its displayed coordinates: red = column, green = displayed row.
cDIBSection Labelled(std::int32_t width, std::int32_t height) {
  cDIBSection s = testing::UniformSurface(width, height, 0, 0, 0);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t i = 0; i < width; ++i) {
      SetPixelRGB(s, i, y, std::uint32_t(i) << 16 | std::uint32_t(height - 1 - y) << 8 | 0x55);
    }
  }
  return s;
}

TEST(Surface, BlockCopyOriginCountsFromTheDisplayedTopLeft) {
  const cDIBSection source = Labelled(7, 5);
  for (const auto& [left, top] : {std::pair{2, 1}, {0, 0}}) {
    cDIBSection target = testing::UniformSurface(3, 2, 0, 0, 0);
    ASSERT_TRUE(target.LoadPictureBlt(source, left, top));
    // Displayed (column c, row r) of the target is displayed (left + c, top + r) of the source.
    for (std::int32_t r = 0; r < 2; ++r) {
      for (std::int32_t c = 0; c < 3; ++c) {
        EXPECT_EQ(PixelRGB(target, c, 1 - r),
                  std::uint32_t(left + c) << 16 | std::uint32_t(top + r) << 8 | 0x55)
            << "displayed " << c << ',' << r;
      }
    }
    EXPECT_TRUE(testing::PaddingIntact(target));
  }
  cDIBSection target = testing::UniformSurface(3, 3, 7, 7, 7);
  const cDIBSection before = testing::Copy(target);
  const cDIBSection small = Labelled(4, 4), empty;
  for (const auto& [left, top] : {std::pair{2, 0}, {0, 2}, {-1, 0}}) {
    EXPECT_FALSE(target.LoadPictureBlt(small, left, top)) << left << ',' << top;
  }
  EXPECT_FALSE(target.LoadPictureBlt(empty));
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
