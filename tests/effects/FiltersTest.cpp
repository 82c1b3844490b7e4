// Filter state, refusals and hand-computed results of ProcessImage.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "effects/cImageProcessDIB.h"
#include "support/EventRecorder.h"
#include "support/Surfaces.h"

namespace fotavel {
namespace {

using testing::EventRecorder;

std::vector<std::int32_t> Kernel(const cImageProcessDIB& engine) {
  std::vector<std::int32_t> kernel;
  const std::int32_t half = engine.FilterArraySize() / 2;
  for (std::int32_t iY = -half; iY <= half; ++iY) {
    for (std::int32_t iX = -half; iX <= half; ++iX) kernel.push_back(engine.FilterValue(iX, iY));
  }
  return kernel;
}

// ---- Presets ----

TEST(FilterState, PresetKernelsAndWeights) {
  struct Preset {
    std::int32_t type;
    std::int32_t size;
    std::vector<std::int32_t> kernel;  // row iY = -half first
    std::int32_t weight;
  };
  const std::vector<Preset> presets = {
      {1, 3, std::vector<std::int32_t>(9, 1), 9},
      {2, 5, std::vector<std::int32_t>(25, 1), 25},
      {3, 3, {1, 1, 1, 1, 4, 1, 1, 1, 1}, 12},
      {4, 5, {1, 1, 1, 1, 1, 1, 2, 2, 2, 1, 1, 2, 12, 2, 1, 1, 2, 2, 2, 1, 1, 1, 1, 1, 1}, 44},
      {5, 3, {-1, -1, -1, -1, 15, -1, -1, -1, -1}, 7},
      {6, 3, {0, -1, 0, -1, 5, -1, 0, -1, 0}, 1},
      {8, 3, {-1, 0, 0, 0, 0, 0, 0, 0, 1}, 1},
  };
  for (const Preset& p : presets) {
    cImageProcessDIB engine;
    engine.FilterArraySize(9);  // replaced by the preset's own size
    engine.FilterType(p.type);
    EXPECT_EQ(engine.FilterType(), p.type);
    EXPECT_EQ(engine.FilterArraySize(), p.size) << "type " << p.type;
    EXPECT_EQ(Kernel(engine), p.kernel) << "type " << p.type;
    EXPECT_EQ(engine.FilterWeight(), p.weight) << "type " << p.type;
  }
}

TEST(FilterState, KernelCoordinatesAreColumnThenStorageRow) {
  cImageProcessDIB engine;
  engine.FilterType(8);
  EXPECT_EQ(engine.FilterValue(-1, -1), -1);  // left, one storage row down
  EXPECT_EQ(engine.FilterValue(1, 1), 1);
  EXPECT_EQ(engine.FilterValue(1, -1), 0);
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
}

TEST(FilterState, ArraySizeZeroesTheKernelAndKeepsTheWeight) {
  cImageProcessDIB engine;
  engine.FilterType(5);
  engine.FilterArraySize(7);
  EXPECT_EQ(engine.FilterArraySize(), 7);
  EXPECT_EQ(Kernel(engine), std::vector<std::int32_t>(49, 0));
  EXPECT_EQ(engine.FilterWeight(), 7);
  EXPECT_EQ(engine.FilterType(), 5);
}

// ---- Refusals ----

void ExpectRefused(const std::function<void()>& call, const ErrorKind& kind) {
  try {
    call();
    ADD_FAILURE() << "not refused: " << kind.description;
  } catch (const ImageProcessError& e) {
    EXPECT_EQ(e.number(), kind.number);
    EXPECT_EQ(e.description(), kind.description);
    EXPECT_EQ(e.source(), ProgramName() + ".cImageProcess");
  }
}

TEST(FilterRefusals, NumbersAndTextsAndNothingChanged) {
  cImageProcessDIB engine;
  engine.FilterType(3);
  const auto expectUnchanged = [&] {
    EXPECT_EQ(engine.FilterType(), 3);
    EXPECT_EQ(engine.FilterArraySize(), 3);
    EXPECT_EQ(Kernel(engine), (std::vector<std::int32_t>{1, 1, 1, 1, 4, 1, 1, 1, 1}));
    EXPECT_EQ(engine.FilterWeight(), 12);
  };
  for (const std::int32_t type : {0, 13, -1}) {
    ExpectRefused([&] { engine.FilterType(type); }, ImageProcessErrors::kInvalidFilterType);
  }
  EXPECT_EQ(ImageProcessErrors::kInvalidFilterType.number, 0x8004051Au);
  EXPECT_STREQ(ImageProcessErrors::kInvalidFilterType.description, "Invalid filter types.");
  for (const std::int32_t size : {4, 0, 10, -2}) {
    ExpectRefused([&] { engine.FilterArraySize(size); }, ImageProcessErrors::kSizeNotOdd);
  }
  EXPECT_EQ(ImageProcessErrors::kSizeNotOdd.number, 0x80040519u);
  EXPECT_STREQ(ImageProcessErrors::kSizeNotOdd.description, "Size must be an odd number");
  for (const std::int32_t size : {11, 1, -3}) {
    ExpectRefused([&] { engine.FilterArraySize(size); }, ImageProcessErrors::kInvalidSize);
  }
  EXPECT_STREQ(ImageProcessErrors::kInvalidSize.description,
               "Invalid size.  Size should be an odd number from 3 to 9");
  for (const auto& [iX, iY] : {std::pair{2, 0}, {0, -2}, {-2, 1}, {INT32_MIN, 0}}) {
    ExpectRefused([&] { engine.FilterValue(iX, iY, 5); }, ImageProcessErrors::kKernelIndex);
    ExpectRefused([&] { (void)engine.FilterValue(iX, iY); }, ImageProcessErrors::kKernelIndex);
  }
  expectUnchanged();

  cImageProcessDIB fresh;  // no kernel at all: even (0, 0) is outside it
  ExpectRefused([&] { fresh.FilterValue(0, 0, 1); }, ImageProcessErrors::kKernelIndex);
  ExpectRefused([&] { (void)fresh.FilterValue(0, 0); }, ImageProcessErrors::kKernelIndex);
}

TEST(FilterRefusals, ProcessImageRefusesBeforeAnyEventOrChange) {
  const cDIBSection picture = testing::RandomSurface(7, 5, 3);
  cDIBSection image = testing::Copy(picture);
  cDIBSection buffer = testing::RandomSurface(7, 5, 4);
  const cDIBSection bufferBefore = testing::Copy(buffer);
  cDIBSection smaller = testing::RandomSurface(7, 4, 5);
  cDIBSection empty;
  EventRecorder events;
  cImageProcessDIB engine;
  engine.SetListener(&events);

  engine.FilterType(12);
  ExpectRefused([&] { engine.ProcessImage(image, buffer); }, ImageProcessErrors::kKernelNotSized);
  engine.FilterArraySize(3);
  ExpectRefused([&] { engine.ProcessImage(image, buffer); }, ImageProcessErrors::kZeroWeight);
  engine.FilterType(8);
  engine.FilterWeight(0);
  ExpectRefused([&] { engine.ProcessImage(image, buffer); }, ImageProcessErrors::kZeroWeight);
  for (const std::int32_t type : {1, 7, 9}) {
    engine.FilterType(type);
    ExpectRefused([&] { engine.ProcessImage(image, smaller); }, ImageProcessErrors::kSizeMismatch);
    ExpectRefused([&] { engine.ProcessImage(image, empty); }, ImageProcessErrors::kEmptySurface);
    ExpectRefused([&] { engine.ProcessImage(empty, buffer); }, ImageProcessErrors::kEmptySurface);
  }
  // The unsharp filter switches to the box kernel only once nothing can fail.
  engine.FilterType(8);
  engine.FilterType(7);
  ExpectRefused([&] { engine.ProcessImage(image, smaller); }, ImageProcessErrors::kSizeMismatch);
  EXPECT_EQ(engine.FilterType(), 7);
  EXPECT_EQ(engine.FilterValue(0, 0), 0);
  EXPECT_EQ(engine.FilterValue(1, 1), 1);
  EXPECT_EQ(engine.FilterWeight(), 0);
  EXPECT_TRUE(events.events.empty());
  EXPECT_TRUE(testing::SamePixels(image, picture));
  EXPECT_TRUE(testing::SamePixels(buffer, bufferBefore));
}

TEST(FilterRefusals, TypeZeroDoesNothing) {
  cImageProcessDIB engine;
  cDIBSection image = testing::RandomSurface(5, 5, 1);
  const cDIBSection before = testing::Copy(image);
  cDIBSection empty;
  EventRecorder events;
  engine.SetListener(&events);
  EXPECT_FALSE(engine.ProcessImage(image, empty));
  EXPECT_TRUE(events.events.empty());
  EXPECT_TRUE(testing::SamePixels(image, before));
}

}  // namespace
}  // namespace fotavel
