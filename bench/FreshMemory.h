// Surfaces as a fresh fotavel-batch process meets them: the photo written once, the rest new.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "PhotoLike.h"
#include "surface/SurfaceMemory.h"
#include "surface/cDIBSection.h"

namespace fotavel::bench {

// A fresh process has nothing in the reuse pool: every surface it makes is
// memory whose pages are faulted in on first touch. Benchmarks with the
// argument "fresh" run with the pool off and give each iteration new
// surfaces: the photo, already written by the decoder (outside the timing),
// and the scratch surface, never touched before the pass.

// The reuse pool off for the life of the object.
class PoolOff {
 public:
  explicit PoolOff(bool off) : off_(off) {
    if (off_) previous_ = SetSurfacePoolCapacity(0);
  }
  ~PoolOff() {
    if (off_) SetSurfacePoolCapacity(previous_);
  }
  PoolOff(const PoolOff&) = delete;
  PoolOff& operator=(const PoolOff&) = delete;

 private:
  bool off_;
  std::size_t previous_ = 0;
};

// A new surface that nothing has written yet.
inline cDIBSection Untouched(std::int32_t width = kPhotoWidth, std::int32_t height = kPhotoHeight) {
  cDIBSection s;
  if (!s.Create(width, height)) throw std::runtime_error("no memory");
  return s;
}

// A new surface holding `photo`'s pixels, as the decoder leaves a photo.
inline cDIBSection Decoded(const cDIBSection& photo) {
  cDIBSection s = Untouched(photo.width(), photo.height());
  Restore(s, photo);
  return s;
}

}  // namespace fotavel::bench
