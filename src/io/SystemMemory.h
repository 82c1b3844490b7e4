// What memory the machine has for pictures.
#pragma once

#include <cstdint>

namespace fotavel::io {

// Physical memory available to new allocations, in bytes (MemAvailable of
// /proc/meminfo on Linux); 0 when it cannot be read.
std::uint64_t AvailableMemoryBytes();

}  // namespace fotavel::io
