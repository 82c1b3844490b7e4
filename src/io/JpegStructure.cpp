// One walk over a JPEG's markers: its scans counted, and what they cover modelled per coefficient.
#include "io/JpegStructure.h"

#include <array>
#include <cstring>

namespace fotavel::io::detail {

namespace {

// The decoder's own ceilings: components in a frame, and in one scan.
constexpr int kMaxComponents = 10;
constexpr int kMaxComponentsInScan = 4;
constexpr int kCoefficients = 64;
// The lowest approximation bit the decoder accepts.
constexpr int kMaxApproximation = 13;

std::size_t Be16(const std::uint8_t* p) { return std::size_t(p[0]) << 8 | p[1]; }

bool IsFrameHeader(std::uint8_t marker) {
  // SOF0 … SOF15, less the Huffman tables (C4), the reserved JPG (C8) and
  // the arithmetic conditioning (CC) that share the range.
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool IsProgressive(std::uint8_t marker) {
  return marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
}

// What the scans so far have sent: for each component and coefficient, the
// lowest bit sent (0 is whole), or -1 when nothing of it has come.
class Progression {
 public:
  void Start(int components) {
    components_ = components;
    for (auto& bits : sent_) bits.fill(-1);
  }

  // A scan of `count` components (indices into the frame) over coefficients
  // ss … se, bits ah down to al; false when the decoder would refuse it or
  // call its order inconsistent. The order rule is the decoder's: a scan
  // starts where the last scan of its coefficients stopped (from nothing,
  // or again from a whole coefficient), and a band of AC coefficients comes
  // after the component's DC.
  bool Progressive(const int* components, int count, int ss, int se, int ah, int al) {
    const bool dc = ss == 0;
    if (dc ? se != 0 : ss > se || se >= kCoefficients || count != 1) return false;
    if (ah != 0 && al != ah - 1) return false;
    if (al > kMaxApproximation) return false;
    for (int i = 0; i < count; ++i) {
      auto& bits = sent_[std::size_t(components[i])];
      if (!dc && bits[0] < 0) return false;
      for (int k = ss; k <= se; ++k) {
        if (ah != (bits[std::size_t(k)] < 0 ? 0 : bits[std::size_t(k)])) return false;
        bits[std::size_t(k)] = std::int8_t(al);
      }
    }
    return true;
  }

  // A sequential scan sends its components whole.
  void Sequential(const int* components, int count) {
    for (int i = 0; i < count; ++i) sent_[std::size_t(components[i])].fill(0);
  }

  bool Whole() const {
    for (int c = 0; c < components_; ++c) {
      for (const std::int8_t bit : sent_[std::size_t(c)]) {
        if (bit != 0) return false;
      }
    }
    return true;
  }

 private:
  int components_ = 0;
  std::array<std::array<std::int8_t, kCoefficients>, kMaxComponents> sent_{};
};

// Where the coded data of a scan starting at `at` ends: the first marker
// that is neither a stuffed 0xFF00 nor a restart marker (fill bytes 0xFF may
// precede any of them), or `size` when the data runs to the end.
std::size_t SkipCodedData(const std::uint8_t* data, std::size_t size, std::size_t at) {
  while (at < size) {
    const void* found = std::memchr(data + at, 0xFF, size - at);
    if (found == nullptr) return size;
    const std::size_t marker = std::size_t(static_cast<const std::uint8_t*>(found) - data);
    std::size_t next = marker + 1;
    while (next < size && data[next] == 0xFF) ++next;
    if (next >= size) return size;
    const std::uint8_t code = data[next];
    if (code != 0x00 && (code < 0xD0 || code > 0xD7)) return marker;
    at = next + 1;
  }
  return size;
}

// The scan whose header is `segment` (`bytes` long) in a frame of
// `components` whose ids are `ids`, added to what has been sent; false when
// the decoder would refuse it or call its order inconsistent.
bool Scan(const std::uint8_t* segment, std::size_t bytes,
          const std::array<std::uint8_t, kMaxComponents>& ids, int components, bool progressive,
          Progression& progression) {
  if (components == 0 || bytes < 1) return false;
  const int count = segment[0];
  if (count < 1 || count > kMaxComponentsInScan || bytes < 4 + 2 * std::size_t(count)) {
    return false;
  }
  // Each of the scan's components by its frame index; an id the frame lists
  // twice names its next unused component.
  int in[kMaxComponentsInScan];
  for (int i = 0; i < count; ++i) {
    in[i] = -1;
    for (int c = 0; c < components && in[i] < 0; ++c) {
      bool used = false;
      for (int j = 0; j < i; ++j) used = used || in[j] == c;
      if (ids[std::size_t(c)] == segment[1 + 2 * i] && !used) in[i] = c;
    }
    if (in[i] < 0) return false;
  }
  const std::uint8_t* band = segment + 1 + 2 * count;
  if (!progressive) {
    progression.Sequential(in, count);
    return true;
  }
  return progression.Progressive(in, count, band[0], band[1], band[2] >> 4, band[2] & 15);
}

}  // namespace

JpegStructure WalkJpeg(const std::uint8_t* data, std::size_t size) {
  JpegStructure out;
  if (size < 2 || data[0] != 0xFF || data[1] != 0xD8) return out;
  Progression progression;
  std::array<std::uint8_t, kMaxComponents> ids{};
  bool progressive = false, damaged = false;
  std::size_t at = 2;
  while (true) {
    // As the decoder does, bytes other than 0xFF between segments are
    // passed over, and so is a stuffed 0xFF00 out of place.
    while (at < size && data[at] != 0xFF) ++at;
    while (at < size && data[at] == 0xFF) ++at;
    if (at >= size) return out;
    const std::uint8_t marker = data[at++];
    if (marker == 0xD9) {  // end of the picture
      out.complete = out.components > 0 && !damaged && progression.Whole();
      return out;
    }
    if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
    if (marker == 0xD8) return out;  // a second start: the decoder refuses it
    if (at + 2 > size) return out;
    const std::size_t length = Be16(data + at);
    if (length < 2 || length > size - at) return out;
    const std::uint8_t* segment = data + at + 2;
    const std::size_t bytes = length - 2;
    at += length;

    if (IsFrameHeader(marker)) {
      // A second frame, or a header the decoder refuses.
      if (out.components > 0 || bytes < 6) return out;
      const int count = segment[5];
      if (count < 1 || count > kMaxComponents || bytes < 6 + 3 * std::size_t(count)) return out;
      for (int c = 0; c < count; ++c) ids[std::size_t(c)] = segment[6 + 3 * c];
      out.components = count;
      progressive = IsProgressive(marker);
      out.wholeCoefficients = progressive;
      progression.Start(count);
    } else if (marker == 0xDA) {  // start of a scan: its header, then its coded data
      // A scan the decoder would refuse, or whose order it calls
      // inconsistent, makes the file damaged; the walk still counts the
      // scans after it, whose number is what makes a file too long to decode.
      if (++out.scans > kMaxJpegScans) return out;
      if (out.scans > 1) out.wholeCoefficients = true;
      damaged = damaged || !Scan(segment, bytes, ids, out.components, progressive, progression);
      at = SkipCodedData(data, size, at);
    }
  }
}

}  // namespace fotavel::io::detail
