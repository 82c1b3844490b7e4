// Filter state, the refusals' numbers and texts, and ProcessImage refusing before any change.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "effects/Checks.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel {
namespace {

using testing::EventRecorder;
using testing::ExpectRefused;
using namespace ImageProcessErrors;

std::vector<std::int32_t> Kernel(const cImageProcessDIB& engine) {
  std::vector<std::int32_t> kernel;
  const std::int32_t half = engine.FilterArraySize() / 2;
  for (std::int32_t iY = -half; iY <= half; ++iY) {
    for (std::int32_t iX = -half; iX <= half; ++iX) kernel.push_back(engine.FilterValue(iX, iY));
  }
  return kernel;
}

TEST(FilterState, PresetKernelsAndWeights) {
  const struct {
    std::int32_t type, size;
    std::vector<std::int32_t> kernel;  // row iY = -half first
    std::int32_t weight;
  } presets[] = {
      {1, 3, std::vector<std::int32_t>(9, 1), 9},
      {2, 5, std::vector<std::int32_t>(25, 1), 25},
      {3, 3, {1, 1, 1, 1, 4, 1, 1, 1, 1}, 12},
      {4, 5, {1, 1, 1, 1, 1, 1, 2, 2, 2, 1, 1, 2, 12, 2, 1, 1, 2, 2, 2, 1, 1, 1, 1, 1, 1}, 44},
      {5, 3, {-1, -1, -1, -1, 15, -1, -1, -1, -1}, 7},
      {6, 3, {0, -1, 0, -1, 5, -1, 0, -1, 0}, 1},
      {8, 3, {-1, 0, 0, 0, 0, 0, 0, 0, 1}, 1},  // (iX, iY) = (-1, -1) is left, one storage row down
  };
  for (const auto& p : presets) {
    cImageProcessDIB engine;
    engine.FilterArraySize(9);  // replaced by the preset's own size
    engine.FilterType(p.type);
    EXPECT_EQ(engine.FilterArraySize(), p.size) << "type " << p.type;
    EXPECT_EQ(Kernel(engine), p.kernel) << "type " << p.type;
    EXPECT_EQ(engine.FilterWeight(), p.weight) << "type " << p.type;
  }
  cImageProcessDIB engine;
  engine.FilterType(12);
  engine.FilterArraySize(5);
  engine.FilterValue(2, -1, 42);
  EXPECT_EQ(engine.FilterValue(2, -1), 42);
  EXPECT_EQ(engine.FilterValue(-1, 2), 0);
}

TEST(FilterState, TypesWithoutAKernelKeepTheOneInPlaceAndZeroTheWeight) {
  for (const std::int32_t type : {7, 9, 10, 11}) {
    cImageProcessDIB engine;
    engine.FilterType(5);
    engine.FilterType(type);
    EXPECT_EQ(engine.FilterType(), type);
    EXPECT_EQ(engine.FilterArraySize(), 3);
    EXPECT_EQ(engine.FilterValue(0, 0), 15);
    EXPECT_EQ(engine.FilterWeight(), 0);
  }
  cImageProcessDIB engine;
  engine.FilterType(4);
  engine.FilterWeight(-6);
  engine.FilterType(12);  // custom: nothing rebuilt
  EXPECT_EQ(engine.FilterArraySize(), 5);
  EXPECT_EQ(engine.FilterValue(0, 0), 12);
  EXPECT_EQ(engine.FilterWeight(), -6);
  engine.FilterType(5);
  engine.FilterArraySize(7);  // zeroes the kernel, keeps weight and type
  EXPECT_EQ(Kernel(engine), std::vector<std::int32_t>(49, 0));
  EXPECT_EQ(engine.FilterWeight(), 7);
  EXPECT_EQ(engine.FilterType(), 5);
}

TEST(FilterState, RefusedSettingsChangeNothing) {
  cImageProcessDIB engine;
  engine.FilterType(3);
  for (const std::int32_t type : {0, 13, -1}) {
    ExpectRefused([&] { engine.FilterType(type); }, kInvalidFilterType);
  }
  for (const std::int32_t size : {4, 0, 10, -2}) {
    ExpectRefused([&] { engine.FilterArraySize(size); }, kSizeNotOdd);
  }
  for (const std::int32_t size : {11, 1, -3}) {
    ExpectRefused([&] { engine.FilterArraySize(size); }, kInvalidSize);
  }
  for (const auto& [iX, iY] : {std::pair{2, 0}, {0, -2}, {-2, 1}, {INT32_MIN, 0}}) {
    ExpectRefused([&] { engine.FilterValue(iX, iY, 5); }, kKernelIndex);
    ExpectRefused([&] { (void)engine.FilterValue(iX, iY); }, kKernelIndex);
  }
  EXPECT_EQ(engine.FilterType(), 3);
  EXPECT_EQ(Kernel(engine), (std::vector<std::int32_t>{1, 1, 1, 1, 4, 1, 1, 1, 1}));
  EXPECT_EQ(engine.FilterWeight(), 12);

  cImageProcessDIB fresh;  // no kernel at all: even (0, 0) is outside it
  ExpectRefused([&] { fresh.FilterValue(0, 0, 1); }, kKernelIndex);
  ExpectRefused([&] { (void)fresh.FilterValue(0, 0); }, kKernelIndex);
}

TEST(FilterRefusals, ProcessImageRefusesBeforeAnyEventOrChange) {
  const cDIBSection picture = testing::RandomSurface(7, 5, 3);
  cDIBSection image = testing::Copy(picture);
  cDIBSection buffer = testing::RandomSurface(7, 5, 4);
  const cDIBSection bufferBefore = testing::Copy(buffer);
  cDIBSection smaller = testing::RandomSurface(7, 4, 5), empty;
  EventRecorder events;
  cImageProcessDIB engine;
  engine.SetListener(&events);
  EXPECT_FALSE(engine.ProcessImage(image, empty));  // type 0 does nothing

  engine.FilterType(12);
  ExpectRefused([&] { engine.ProcessImage(image, buffer); }, kKernelNotSized);
  engine.FilterArraySize(3);
  ExpectRefused([&] { engine.ProcessImage(image, buffer); }, kZeroWeight);
  engine.FilterType(8);
  engine.FilterWeight(0);
  ExpectRefused([&] { engine.ProcessImage(image, buffer); }, kZeroWeight);
  for (const std::int32_t type : {1, 7, 9}) {
    engine.FilterType(type);
    ExpectRefused([&] { engine.ProcessImage(image, smaller); }, kSizeMismatch);
    ExpectRefused([&] { engine.ProcessImage(image, empty); }, kEmptySurface);
    ExpectRefused([&] { engine.ProcessImage(empty, buffer); }, kEmptySurface);
  }
  // The unsharp filter switches to the box kernel only once nothing can fail.
  engine.FilterType(8);
  engine.FilterType(7);
  ExpectRefused([&] { engine.ProcessImage(image, smaller); }, kSizeMismatch);
  EXPECT_EQ(engine.FilterValue(0, 0), 0);
  EXPECT_EQ(engine.FilterValue(1, 1), 1);
  EXPECT_TRUE(events.events.empty());
  EXPECT_TRUE(testing::SamePixels(image, picture));
  EXPECT_TRUE(testing::SamePixels(buffer, bufferBefore));
}

}  // namespace
}  // namespace fotavel
