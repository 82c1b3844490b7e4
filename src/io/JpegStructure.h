// Internal to fotavel_io: one walk over a JPEG's markers, counting its scans and what they cover.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fotavel::io::detail {

// Every scan makes the decoder pass over the whole picture's coefficients
// (of its components) once more, so the work of a file grows with its scans,
// not with its bytes: a scan that sends nothing takes a few bytes, and 2 MB
// of them kept the decoder busy for a minute. A progressive photo from
// common encoders has about 10 scans, a finely tuned one a few dozen; a
// sequential one has one, or one per component. 500 (the decoder's own
// optional ceiling too) leaves real files far behind and bounds the work of
// a 24-megapixel photo to about four seconds here, against 0.7 s for its
// usual 10 scans.
inline constexpr int kMaxJpegScans = 500;

// What one walk from the start of the file to its end-of-picture marker (or
// the end of the data) found.
struct JpegStructure {
  // Scans met, counting stops at kMaxJpegScans + 1 (the walk stops there).
  int scans = 0;
  // Components of the frame; 0 when no frame header was found.
  int components = 0;
  // A progressive frame, or a sequential one in several scans: the decoder
  // then keeps the whole picture's coefficients until the last scan.
  bool wholeCoefficients = false;
  // Every coefficient of every component was sent, down to its last bit,
  // in a layout the decoder accepts, and the picture was closed by its
  // end-of-picture marker. False for a file cut anywhere, even one closed
  // with an end marker after its last whole scan.
  bool complete = false;
};

// Walks `data` marker by marker, skipping what lies within segments and the
// coded data of each scan (stuffed 0xFF00 bytes and restart markers
// included). A sequential scan covers its components whole; a progressive
// scan covers its band of coefficients (Ss … Se) from bit Ah down to bit Al,
// and must follow the scans before it as the decoder expects (a refinement
// continues where the last scan of those coefficients stopped).
JpegStructure WalkJpeg(const std::uint8_t* data, std::size_t size);

}  // namespace fotavel::io::detail
