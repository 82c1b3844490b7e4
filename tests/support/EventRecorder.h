// Records the engine's progress events so tests can compare whole sequences.
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "effects/ProgressEvents.h"

namespace fotavel::testing {

struct Event {
  enum Kind { kInit, kProgress, kComplete } kind;
  std::int32_t value;  // lMax, lPosition, or 0 for Complete (its time varies)
  bool operator==(const Event&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Event& e) {
  static const char* names[] = {"Init", "Progress", "Complete"};
  return os << names[e.kind] << '(' << e.value << ')';
}

class EventRecorder : public ProgressListener {
 public:
  std::vector<Event> events;
  void InitProgress(std::int32_t lMax) override { events.push_back({Event::kInit, lMax}); }
  void Progress(std::int32_t lPosition) override {
    events.push_back({Event::kProgress, lPosition});
  }
  void Complete(std::int32_t) override { events.push_back({Event::kComplete, 0}); }
};

}  // namespace fotavel::testing
