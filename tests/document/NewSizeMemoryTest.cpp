// A resize or a combination counts all the memory it will take before it asks for any.
#include <cstdint>

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
  // The resize is refused with the window's text, before anything is had:
  // no surface memory taken, the photo, its undo ring and its flags as they were.
  void ExpectRefused(std::int32_t width, std::int32_t height) {
    const cDIBSection before = Copy(document.Picture());
    const std::size_t live = LiveSurfaceBytes();
    const int undo = document.UndoCount();
    try {
      document.Resample(width, height);
      ADD_FAILURE() << width << " x " << height << " resized";
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
    EXPECT_FALSE(document.Dirty());
  }
};

// 1 x 100 000 000 takes 400 MB for the new photo and as much for its scratch
// surface, 800 MB in all, which the check used to compare alone with what is
// free; the undo copy and the resampler's tables come on top.
TEST_F(NewSizeMemoryTest, AThinGiantResizeIsRefusedBeforeAnythingIsAllocated) {
  OpenRandom(64, 48);
  const std::uint64_t undoCopy = SurfaceBytes(64, 48);
  Free(2 * SurfaceBytes(1, 100000000));
  ExpectRefused(1, 100000000);
  Free(2 * SurfaceBytes(1, 100000000) + undoCopy);
  ExpectRefused(1, 100000000);
  // Neighbours, and sizes no surface can take at all whatever is free.
  Free(std::uint64_t{1} << 29);
  ExpectRefused(1, 99999999);
  ExpectRefused(2, 100000000);
  ExpectRefused(100000000, 1);
  ExpectRefused(65535, 65535);
  ExpectRefused(1, INT32_MAX);
  Free(0);  // the system does not say: only what no surface can describe is refused
  ExpectRefused(INT32_MAX, 1);
}

TEST_F(NewSizeMemoryTest, TheUndoCopyAndTheResamplersTablesAreCounted) {
  OpenRandom(1000, 1000);  // a 3 MB undo copy
  const std::uint64_t newPhotos = 2 * SurfaceBytes(300, 200);
  const std::uint64_t undoCopy = SurfaceBytes(1000, 1000);
  // The tables are a few hundred bytes a column: counted, but not a megabyte.
  Free(newPhotos + undoCopy);
  ExpectRefused(300, 200);
  Free(newPhotos + (std::uint64_t{1} << 20));
  ExpectRefused(300, 200);
  Free(newPhotos + undoCopy + (std::uint64_t{1} << 20));
  ASSERT_NO_THROW(document.Resample(300, 200));
  EXPECT_EQ(document.ImageWidth(), 300);
  EXPECT_EQ(document.UndoCount(), 1);

  // Without an undo ring (the batch tool) there is no copy to count.
  document.SetUndoEnabled(false);
  Free(2 * SurfaceBytes(30, 20) + (std::uint64_t{1} << 20));
  ASSERT_NO_THROW(document.Resample(30, 20));
  EXPECT_EQ(document.ImageWidth(), 30);
}

TEST_F(NewSizeMemoryTest, ACombinationCountsItsTwoSurfacesAndTheUndoCopy) {
  OpenRandom(40, 30);
  const cDIBSection first = RandomSurface(300, 200, 1), second = RandomSurface(250, 400, 2);
  const std::uint64_t needed = 2 * SurfaceBytes(250, 200) + SurfaceBytes(40, 30);
  Free(needed - 1);
  const std::size_t live = LiveSurfaceBytes();
  try {
    document.Combine({}, first, second);
    ADD_FAILURE() << "combined";
  } catch (const DocumentError& error) {
    EXPECT_EQ(error.text(),
              u"Mémoire insuffisante pour une photo de 250 x 200 pixels : la photo "
              u"n'a pas été modifiée."_s);
  }
  EXPECT_EQ(LiveSurfaceBytes(), live);
  EXPECT_EQ(document.ImageWidth(), 40);
  EXPECT_EQ(document.UndoCount(), 0);
  Free(needed);
  ASSERT_NO_THROW(document.Combine({}, first, second));
  EXPECT_EQ(std::pair(document.ImageWidth(), document.ImageHeight()), std::pair(250, 200));
}

}  // namespace
}  // namespace fotavel::testing
