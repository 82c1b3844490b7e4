// The working memory of cDIBSection::Resample, for callers that count memory before asking for it.
#pragma once

#include <cstdint>

namespace fotavel {

// Bytes that resampling to a width of newWidth asks for besides the new
// surface itself: its per-column tables and row buffers. Columns are taken in
// strips, so this stays below a few hundred kilobytes whatever the width.
std::uint64_t ResampleWorkBytes(std::int32_t newWidth);

}  // namespace fotavel
