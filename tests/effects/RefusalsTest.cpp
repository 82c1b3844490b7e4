// Every pass refuses what it cannot work on before it raises an event or changes a pixel.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "effects/Checks.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel {
namespace {

using namespace ImageProcessErrors;
using testing::Copy;
using testing::NoMoreSurfaceMemory;
using testing::RandomSurface;

TEST(Refusals, EveryPassRefusesBeforeAnyEventOrChange) {
  const cDIBSection original = RandomSurface(7, 5, 3), otherOriginal = RandomSurface(7, 5, 4);
  cDIBSection photo = Copy(original), other = Copy(otherOriginal);
  const cDIBSection narrow = RandomSurface(6, 5, 5), low = RandomSurface(7, 4, 6);
  cDIBSection smaller = Copy(low), empty;
  const std::uint8_t* bits = photo.DIBSectionBitsPtr();
  const std::int32_t findEdges[] = {3, 3, 1, 0, -1, -1, -1, -1, 8, -1, -1, -1, -1};
  const ProgramRandomEngine randomBefore = ProgramRandom();

  // Sets up a filter and runs it; a kernel size of 0 is left unset.
  const auto filter = [&](std::int32_t type, std::int32_t size, cDIBSection& image,
                          cDIBSection& buffer) {
    return [type, size, &image, &buffer](cImageProcessDIB& e) {
      e.FilterType(type);
      if (size != 0) e.FilterArraySize(size);
      e.ProcessImage(image, buffer);
    };
  };
  const struct {
    const char* what;
    const ErrorKind& kind;
    std::function<void(cImageProcessDIB&)> call;
  } cases[] = {
      {"grey", kEmptySurface, [&](cImageProcessDIB& e) { e.GrayScale(empty); }},
      {"lighten", kEmptySurface, [&](cImageProcessDIB& e) { e.Lighten(empty, 20); }},
      {"diffusion", kEmptySurface, [&](cImageProcessDIB& e) { e.Diffusion(empty, 6); }},
      {"local blur", kEmptySurface, [&](cImageProcessDIB& e) { e.FlouLocal(empty, 0, 0, 9, 9); }},
      {"turn", kEmptySurface, [&](cImageProcessDIB& e) { e.Tourner(empty, true); }},
      {"matrix", kEmptySurface, [&](cImageProcessDIB& e) { e.Eff_Mathematique(empty, findEdges); }},
      {"b&w to empty", kEmptySurface, [&](cImageProcessDIB& e) { e.BlackAndWhite(photo, empty); }},
      {"b&w lower", kSizeMismatch, [&](cImageProcessDIB& e) { e.BlackAndWhite(smaller, photo); }},
      {"lightest", kSourceTooSmall, [&](cImageProcessDIB& e) { e.AddLightest(narrow, photo); }},
      {"darkest", kSourceTooSmall, [&](cImageProcessDIB& e) { e.AddDarkest(low, photo); }},
      {"add", kEmptySurface,
       [&](cImageProcessDIB& e) { e.AddImages(empty, photo, 1, 0, 0, 0, 1, 0, 0, 0); }},
      {"custom unsized", kKernelNotSized, filter(12, 0, photo, other)},
      {"custom weight 0", kZeroWeight, filter(12, 3, photo, other)},
      {"blur smaller", kSizeMismatch, filter(1, 0, photo, smaller)},
      {"mean empty", kEmptySurface, filter(9, 0, empty, other)},
      {"turn, no memory", kOutOfMemory,
       [&](cImageProcessDIB& e) {
         const NoMoreSurfaceMemory full;
         e.Tourner(photo, false);
       }},
      {"matrix, no memory", kOutOfMemory,
       [&](cImageProcessDIB& e) {
         const NoMoreSurfaceMemory full;
         e.Eff_Mathematique(photo, findEdges);
       }},
      // The unsharp filter switches to the box kernel only once nothing can fail.
      {"unsharp smaller", kSizeMismatch,
       [&](cImageProcessDIB& e) {
         e.FilterType(8);
         e.FilterType(7);
         try {
           e.ProcessImage(photo, smaller);
         } catch (...) {
           EXPECT_EQ(std::pair(e.FilterValue(0, 0), e.FilterValue(1, 1)), std::pair(0, 1));
           throw;
         }
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<testing::Event> events = testing::Recorded(
        [&](cImageProcessDIB& e) { testing::ExpectRefused([&] { c.call(e); }, c.kind); });
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(testing::FirstDifference(photo, original), "");
    EXPECT_TRUE(testing::PaddingIntact(photo));
    EXPECT_EQ(photo.DIBSectionBitsPtr(), bits);
    EXPECT_TRUE(testing::SamePixels(other, otherOriginal));
    EXPECT_TRUE(testing::SamePixels(smaller, low));
  }
  EXPECT_TRUE(ProgramRandom() == randomBefore);
  cImageProcessDIB engine;
  EXPECT_FALSE(engine.ProcessImage(photo, empty));  // no filter type set: nothing to do
}

}  // namespace
}  // namespace fotavel
