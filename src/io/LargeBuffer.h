// Internal to fotavel_io: byte buffers of megabytes (a file read whole, the encoder's output).
#pragma once

#include <cstddef>
#include <cstdint>

#include "surface/SurfaceMemory.h"

namespace fotavel::io::detail {

// Heap memory of this size comes freshly mapped in 4 KiB pages, and the first
// touch of each page is a fault: on the virtual machines the program runs on,
// about 3 ms per megabyte, more than reading a photo's file or writing out the
// compressed bytes. Surface memory comes in 2 MiB huge pages where the system
// has them. The bytes count against the surface budget while the buffer lives.
class LargeBuffer {
 public:
  LargeBuffer() = default;
  // Room for `bytes` bytes, in place of what the buffer held; false,
  // with the buffer empty, when surface memory cannot give it.
  bool Reserve(std::size_t bytes) {
    Release();
    data_ = static_cast<std::uint8_t*>(AllocateSurfaceMemory(bytes));
    size_ = data_ != nullptr ? bytes : 0;
    return data_ != nullptr;
  }
  void Release() {
    FreeSurfaceMemory(data_, size_);
    data_ = nullptr;
    size_ = 0;
  }
  ~LargeBuffer() { Release(); }
  LargeBuffer(const LargeBuffer&) = delete;
  LargeBuffer& operator=(const LargeBuffer&) = delete;

  std::uint8_t* data() const { return data_; }
  std::size_t size() const { return size_; }
  explicit operator bool() const { return data_ != nullptr; }

 private:
  std::size_t size_ = 0;
  std::uint8_t* data_ = nullptr;
};

}  // namespace fotavel::io::detail
