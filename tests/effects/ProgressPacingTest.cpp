// Passes that walk whole rows raise their column events while the rows are being computed.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "effects/cImageProcessDIB.h"
#include "support/Surfaces.h"

namespace fotavel {
namespace {

// Keeps a copy of one surface as it stands at the first Progress event that
// reaches half of lMax.
class MiddleSnapshot : public ProgressListener {
 public:
  explicit MiddleSnapshot(const cDIBSection& watched) : watched_(watched) {}
  void InitProgress(std::int32_t lMax) override { middle_ = lMax / 2; }
  void Progress(std::int32_t lPosition) override {
    if (snapshot.empty() && lPosition >= middle_) snapshot = testing::Copy(watched_);
  }
  void Complete(std::int32_t) override {}

  cDIBSection snapshot;

 private:
  const cDIBSection& watched_;
  std::int32_t middle_ = 0;
};

struct RowCounts {
  int finished = 0;   // as in the result
  int untouched = 0;  // as before the pass
  int mixed = 0;      // neither
};

// Rows first … last of `seen`, compared whole with the same rows before and after the pass.
RowCounts Classify(const cDIBSection& seen, const cDIBSection& before, const cDIBSection& after,
                   std::int32_t first, std::int32_t last) {
  RowCounts counts;
  const std::size_t bytes = 3 * std::size_t(seen.width());
  for (std::int32_t y = first; y <= last; ++y) {
    if (std::memcmp(seen.row(y), after.row(y), bytes) == 0) {
      ++counts.finished;
    } else if (std::memcmp(seen.row(y), before.row(y), bytes) == 0) {
      ++counts.untouched;
    } else {
      ++counts.mixed;
    }
  }
  return counts;
}

// Random pixels: the blur and the negative change every row.
constexpr std::int32_t kWidth = 64, kHeight = 400;

TEST(ProgressPacing, BlurRaisesHalfItsEventsWithPartOfThePictureFiltered) {
  cDIBSection image = testing::RandomSurface(kWidth, kHeight, 11);
  const cDIBSection before = testing::Copy(image);
  cDIBSection buffer = testing::RandomSurface(kWidth, kHeight, 12);
  cImageProcessDIB engine;
  MiddleSnapshot listener(image);
  engine.SetListener(&listener);
  engine.FilterType(1);
  ASSERT_TRUE(engine.ProcessImage(image, buffer));

  ASSERT_FALSE(listener.snapshot.empty());
  // The one-pixel border rows never change; every inner row is either done or not begun.
  const RowCounts rows = Classify(listener.snapshot, before, image, 1, kHeight - 2);
  EXPECT_GT(rows.finished, 0);
  EXPECT_GT(rows.untouched, 0);
  EXPECT_EQ(rows.mixed, 0);
}

TEST(ProgressPacing, NegativeRaisesHalfItsEventsWithPartOfTheResultWritten) {
  const cDIBSection photo = testing::RandomSurface(kWidth, kHeight, 13);
  cDIBSection scratch = testing::RandomSurface(kWidth, kHeight, 14);
  const cDIBSection before = testing::Copy(scratch);
  cImageProcessDIB engine;
  MiddleSnapshot listener(scratch);
  engine.SetListener(&listener);
  engine.AddImages(photo, scratch, -1, -255, -255, -255, 0, 0, 0, 0);

  ASSERT_FALSE(listener.snapshot.empty());
  const RowCounts rows = Classify(listener.snapshot, before, scratch, 0, kHeight - 1);
  EXPECT_GT(rows.finished, 0);
  EXPECT_GT(rows.untouched, 0);
  EXPECT_EQ(rows.mixed, 0);
}

}  // namespace
}  // namespace fotavel
