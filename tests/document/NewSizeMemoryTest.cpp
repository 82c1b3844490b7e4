// A resize or a combination counts all the memory it will take before it asks for any.
#include <climits>
#include <cstdint>
#include <functional>

#include "DocumentFixture.h"
#include "document/DocumentError.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

std::uint64_t SurfaceBytes(std::uint64_t width, std::uint64_t height) {
  return (3 * width + 3) / 4 * 4 * height;
}

class NewSizeMemoryTest : public DocumentTest {
 protected:
  void Free(std::uint64_t bytes) {
    document.SetAvailableMemoryProbe([bytes] { return bytes; });
  }
  // `command` (a resize to width x height unless given) is refused with the window's text before
  // anything is had: no surface memory taken, the photo, its undo ring and its flags as they were.
  void ExpectRefused(std::int32_t width, std::int32_t height, std::function<void()> command = {}) {
    if (!command) command = [&] { document.Resample(width, height); };
    const cDIBSection before = Copy(document.Picture());
    const std::size_t live = LiveSurfaceBytes();
    const int undo = document.UndoCount();
    const bool dirty = document.Dirty();
    try {
      command();
      ADD_FAILURE() << width << " x " << height << " made";
    } catch (const DocumentError& error) {
      EXPECT_EQ(error.text(),
                u"Mémoire insuffisante pour une photo de %1 x %2 pixels : la photo "
                u"n'a pas été modifiée."_s.arg(width)
                    .arg(height));
      EXPECT_EQ(error.number(), DocumentErrors::kOutOfMemory);
    }
    EXPECT_EQ(LiveSurfaceBytes(), live) << width << " x " << height;
    EXPECT_TRUE(SamePixels(document.Picture(), before));
    EXPECT_EQ(document.UndoCount(), undo);
    EXPECT_EQ(document.Dirty(), dirty);
  }
};

// 1 x 100 000 000 takes 400 MB for the new photo and as much for its scratch surface, which the
// check used to compare alone with what is free: the undo copy and the resampler's tables (a few
// hundred bytes a column, not a megabyte) come on top. A size no surface can take is refused
// even when the system does not say what is free.
TEST_F(NewSizeMemoryTest, AGiantResizeIsRefusedBeforeAnythingIsAllocated) {
  OpenRandom(1000, 1000);  // a 3 MB undo copy
  const std::uint64_t undoCopy = SurfaceBytes(1000, 1000), tables = 1 << 20;
  Free(2 * SurfaceBytes(1, 100000000) + undoCopy);
  ExpectRefused(1, 100000000);
  Free(0);
  ExpectRefused(INT32_MAX, 1);
  const std::uint64_t newPhotos = 2 * SurfaceBytes(300, 200);
  Free(newPhotos + tables);
  ExpectRefused(300, 200);
  // Without an undo ring (the batch tool) there is no copy to count.
  document.SetUndoEnabled(false);
  ASSERT_NO_THROW(document.Resample(300, 200));
  document.SetUndoEnabled(true);
  Free(2 * SurfaceBytes(30, 20) + SurfaceBytes(300, 200) + tables);
  ASSERT_NO_THROW(document.Resample(30, 20));
  EXPECT_EQ(document.ImageWidth(), 30);
  EXPECT_EQ(document.UndoCount(), 1);

  // A combination makes its two surfaces of the smaller size beside the undo copy.
  const cDIBSection first = RandomSurface(300, 200, 1), second = RandomSurface(250, 400, 2);
  const std::uint64_t needed = 2 * SurfaceBytes(250, 200) + SurfaceBytes(30, 20);
  Free(needed - 1);
  ExpectRefused(250, 200, [&] { document.Combine({}, first, second); });
  Free(needed);
  ASSERT_NO_THROW(document.Combine({}, first, second));
  EXPECT_EQ(std::pair(document.ImageWidth(), document.ImageHeight()), std::pair(250, 200));
}

}  // namespace
}  // namespace fotavel::testing
