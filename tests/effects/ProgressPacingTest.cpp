// Passes that walk whole rows raise their column events while the rows are being computed.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "effects/cImageProcessDIB.h"
#include "support/Surfaces.h"

namespace fotavel {
namespace {

// Keeps a copy of one surface as it stands at the first Progress event that reaches half of lMax.
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

// Rows first … last of the snapshot, compared whole with the same rows before
// and after the pass: some must be done, some not begun, none half written.
void ExpectPartlyWritten(const cDIBSection& seen, const cDIBSection& before,
                         const cDIBSection& after, std::int32_t first, std::int32_t last) {
  ASSERT_FALSE(seen.empty()) << "no Progress event reached the middle";
  const std::size_t bytes = 3 * std::size_t(seen.width());
  int finished = 0, untouched = 0, mixed = 0;
  for (std::int32_t y = first; y <= last; ++y) {
    if (std::memcmp(seen.row(y), after.row(y), bytes) == 0) {
      ++finished;
    } else if (std::memcmp(seen.row(y), before.row(y), bytes) == 0) {
      ++untouched;
    } else {
      ++mixed;
    }
  }
  EXPECT_GT(finished, 0);
  EXPECT_GT(untouched, 0);
  EXPECT_EQ(mixed, 0);
}

// Random pixels: the blur (into the picture itself) and the negative (into the scratch
// surface) change every row.
TEST(ProgressPacing, BlurAndNegativeRaiseHalfTheirEventsWithPartOfTheResultWritten) {
  constexpr std::int32_t kWidth = 64, kHeight = 400;
  for (const bool blur : {true, false}) {
    SCOPED_TRACE(blur ? "blur" : "negative");
    cDIBSection photo = testing::RandomSurface(kWidth, kHeight, 11);
    cDIBSection scratch = testing::RandomSurface(kWidth, kHeight, 12);
    cDIBSection& written = blur ? photo : scratch;
    const cDIBSection before = testing::Copy(written);
    cImageProcessDIB engine;
    MiddleSnapshot listener(written);
    engine.SetListener(&listener);
    engine.FilterType(1);
    if (blur) {
      ASSERT_TRUE(engine.ProcessImage(photo, scratch));
    } else {
      engine.AddImages(photo, scratch, -1, -255, -255, -255, 0, 0, 0, 0);
    }
    // The blur's one-pixel border rows never change.
    ExpectPartlyWritten(listener.snapshot, before, written, blur ? 1 : 0, kHeight - 1 - blur);
  }
}

}  // namespace
}  // namespace fotavel
