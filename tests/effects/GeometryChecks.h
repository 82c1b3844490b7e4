// Shared checks of the geometry tests: refusals and a surface-memory budget for one scope.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "effects/ImageProcessError.h"
#include "surface/SurfaceMemory.h"

namespace fotavel::testing {

// Runs `call`, which must throw exactly `kind`, with the program's name as source.
template <class Call>
void ExpectRefused(Call&& call, const ErrorKind& kind) {
  try {
    call();
    ADD_FAILURE() << "expected \"" << kind.description << "\" but nothing was thrown";
  } catch (const ImageProcessError& error) {
    EXPECT_EQ(error.number(), kind.number);
    EXPECT_EQ(error.description(), std::string(kind.description));
    EXPECT_EQ(error.source(), ProgramName() + ".cImageProcess");
  }
}

// While alive, no new surface can be created: the budget is what is live now.
class NoMoreSurfaceMemory {
 public:
  NoMoreSurfaceMemory() : previous_(SetSurfaceMemoryLimit(LiveSurfaceBytes())) {}
  ~NoMoreSurfaceMemory() { SetSurfaceMemoryLimit(previous_); }
  NoMoreSurfaceMemory(const NoMoreSurfaceMemory&) = delete;
  NoMoreSurfaceMemory& operator=(const NoMoreSurfaceMemory&) = delete;

 private:
  std::size_t previous_;
};

}  // namespace fotavel::testing
