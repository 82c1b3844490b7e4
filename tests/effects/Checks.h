// Checks shared by the effect tests: refusals, picture-and-events comparison.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "effects/ImageProcessError.h"
#include "effects/cImageProcessDIB.h"
#include "support/EventRecorder.h"
#include "support/Surfaces.h"

namespace fotavel::testing {

// `call` must throw exactly `kind`, with the program's name as source.
template <class Call>
void ExpectRefused(Call&& call, const ErrorKind& kind) {
  try {
    call();
    ADD_FAILURE() << "not refused: " << kind.description;
  } catch (const ImageProcessError& error) {
    EXPECT_EQ(error.number(), kind.number);
    EXPECT_EQ(error.description(), std::string(kind.description));
    EXPECT_EQ(error.source(), ProgramName() + ".cImageProcess");
  }
}

// Runs `call` on a fresh engine and returns the events it raised.
template <class Call>
std::vector<Event> Recorded(Call&& call) {
  cImageProcessDIB engine;
  EventRecorder recorder;
  engine.SetListener(&recorder);
  call(engine);
  return recorder.events;
}

// The engine's kernel, row iY = -half first; empty while it has none.
inline std::vector<std::int32_t> Kernel(const cImageProcessDIB& engine) {
  std::vector<std::int32_t> kernel;
  const std::int32_t half = engine.FilterArraySize() / 2;
  for (std::int32_t iY = -half; iY <= half && engine.FilterArraySize() > 0; ++iY) {
    for (std::int32_t iX = -half; iX <= half; ++iX) kernel.push_back(engine.FilterValue(iX, iY));
  }
  return kernel;
}

// Same pixels, untouched padding, same events.
inline void ExpectSame(const cDIBSection& got, const cDIBSection& want,
                       const std::vector<Event>& gotEvents, const std::vector<Event>& wantEvents) {
  EXPECT_EQ(FirstDifference(got, want), "");
  EXPECT_TRUE(PaddingIntact(got));
  EXPECT_EQ(gotEvents, wantEvents);
}

// Runs pass(engine, picture) and plain(copy), which returns its events, and compares the two.
template <class Pass, class Plain>
void ExpectSameAsPlain(cDIBSection picture, Pass&& pass, Plain&& plain) {
  cDIBSection expected = Copy(picture);
  const std::vector<Event> expectedEvents = plain(expected);
  const std::vector<Event> events = Recorded([&](cImageProcessDIB& e) { pass(e, picture); });
  ExpectSame(picture, expected, events, expectedEvents);
}

}  // namespace fotavel::testing
