// BlackAndWhite: the calligraphic-pen look, grey levels error-diffused to black and white.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "effects/cImageProcessDIB.h"

namespace fotavel {

namespace {

inline std::int32_t ClampByte(std::int32_t v) { return std::clamp(v, 0, 255); }

// One pixel column, rows upwards in storage order. `from` and `to` point at
// the column's blue byte in row 0 of the grey picture and of the result.
//
// The walk is column by column and the result depends on it: a pixel gets its
// shares one at a time, each clamped to 0 … 255, so the order in which they
// arrive matters. Within that order, nothing ever reads a pixel after it has
// been decided, which gives three shortcuts that leave the result unchanged:
//  - The pixel straight up (same column, next row) is decided by the very
//    next step, so its running value stays in a register: its stored value
//    (with the shares from the previous column) is read once and the up share
//    added on the way.
//  - Likewise the up-right share is held until the next step adds the right
//    share to the same pixel, and only then stored.
//  - The up-left share lands in the previous column, which is already
//    decided, so it is not computed at all.
// The grey picture is only ever read through its blue byte, and at the end it
// is overwritten with the result, so only blue bytes are written to it.
//
// kUp: this column passes shares to the next row (not the first or last
// column). kRight: it passes shares to the next column (not the last two).
template <bool kUp, bool kRight>
void DiffuseColumn(std::uint8_t* from, std::uint8_t* to, std::ptrdiff_t stride,
                   std::int32_t height) {
  std::int32_t v = from[0];
  std::int32_t right = kRight ? from[3] : 0;
  for (std::int32_t y = 0;; ++y) {
    // Black keeps its grey as the error (nothing below 17); white pushes
    // 127 − v, that is −2 … −128, of darkness onwards. Selects, not
    // branches: the pattern defeats branch prediction.
    const bool white = v >= 129;
    const std::int32_t e = white ? 127 - v : (v < 17 ? 0 : v);
    const std::uint8_t out = white ? 255 : 0;
    to[0] = to[1] = to[2] = out;
    if (kRight) from[3] = static_cast<std::uint8_t>(ClampByte(right + 7 * e / 16));
    if (y == height - 1) break;
    from += stride;
    to += stride;
    v = kUp ? ClampByte(from[0] + 5 * e / 16) : from[0];
    if (kRight) right = ClampByte(from[3] + e / 16);
  }
}

}  // namespace

void cImageProcessDIB::BlackAndWhite(cDIBSection& cFrom, cDIBSection& cTo) {
  if (cFrom.empty() || cTo.empty()) throw ImageProcessError(ImageProcessErrors::kEmptySurface);
  if (cFrom.width() != cTo.width() || cFrom.height() != cTo.height()) {
    throw ImageProcessError(ImageProcessErrors::kSizeMismatch);
  }
  const PassClock clock;
  GrayScale(cFrom);

  const std::int32_t width = cTo.width();
  const std::int32_t height = cTo.height();
  const ByteView fromView = cFrom.view();
  const ByteView toView = cTo.view();
  // Equal widths give equal strides.
  const std::ptrdiff_t stride = toView.stride();
  m_events.Init(3 * width - 3);
  // A column touches one cache line per row in each surface: for a
  // 6000 x 4000 picture about 512 KiB, which stays in a 1 MiB L2 while the
  // next twenty columns reuse the same lines.
  for (std::int32_t i = 0; i < width; ++i) {
    std::uint8_t* const from = fromView.row(0) + 3 * std::ptrdiff_t{i};
    std::uint8_t* const to = toView.row(0) + 3 * std::ptrdiff_t{i};
    const bool up = i >= 1 && i <= width - 2;
    const bool right = i <= width - 3;
    if (up && right) {
      DiffuseColumn<true, true>(from, to, stride, height);
    } else if (up) {
      DiffuseColumn<true, false>(from, to, stride, height);
    } else if (right) {
      DiffuseColumn<false, true>(from, to, stride, height);
    } else {
      DiffuseColumn<false, false>(from, to, stride, height);
    }
    m_events.Progress(3 * i);
  }

  // Same size, both present: the copy cannot be refused.
  [[maybe_unused]] const bool copied = cFrom.LoadPictureBlt(cTo);
  m_events.Complete(clock.ElapsedMs());
}

}  // namespace fotavel
