// Software prefetch for passes that walk strips of columns row by row.
#pragma once

#include <cstdint>

#include "surface/ByteView.h"

namespace fotavel {

// A strip pass reads a few hundred bytes of a row, then jumps a whole picture
// row ahead. The hardware prefetchers stop at page boundaries, so each row of
// a strip would start with a wait on memory; light per-pixel passes spend much
// of their time there. These ask for the same columns a few rows further on.
inline constexpr std::int32_t kPrefetchRowsAhead = 4;

// Prefetches `bytes` bytes starting `ahead` bytes after p. A prefetch never
// faults, so rows past the top of the picture need no test; the address is
// formed as an integer to stay clear of out-of-bounds pointer arithmetic.
inline void PrefetchAhead(const std::uint8_t* p, std::uintptr_t ahead, std::int32_t bytes) {
  const std::uintptr_t next = reinterpret_cast<std::uintptr_t>(p) + ahead;
  for (std::int32_t offset = 0; offset < bytes; offset += 64) {
    __builtin_prefetch(reinterpret_cast<const void*>(next + offset), 1);
  }
}

template <typename Byte>
std::uintptr_t RowsAhead(const BasicByteView<Byte>& v) {
  return static_cast<std::uintptr_t>(kPrefetchRowsAhead * v.stride());
}

}  // namespace fotavel
