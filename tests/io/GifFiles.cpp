// GIFs made by the tests with real LZW compression: codes growing to 12 bits, or stopping early.
#include "GifFiles.h"

#include <algorithm>
#include <map>
#include <utility>

#include "TestFiles.h"

namespace fotavel::testing {

QByteArray GifCodes(const std::vector<std::uint8_t>& indices, std::size_t stopAfter) {
  constexpr int kClear = 4, kEnd = 5;
  QByteArray packed;
  std::uint32_t bits = 0;
  int held = 0, width = 3, next = kEnd + 1;
  const auto put = [&](int code) {
    bits |= std::uint32_t(code) << held;
    for (held += width; held >= 8; held -= 8, bits >>= 8) packed.append(char(bits & 0xFF));
  };
  // The strings met so far, each as (its prefix's code, its last index).
  std::map<std::pair<int, int>, int> table;
  put(kClear);
  int prefix = indices[0];
  for (std::size_t i = 1; i < std::min(stopAfter, indices.size()); ++i) {
    if (const auto known = table.find({prefix, indices[i]}); known != table.end()) {
      prefix = known->second;
      continue;
    }
    put(prefix);
    table[{prefix, indices[i]}] = next++;
    // The decoder learns each string one code later, so the width grows
    // once the table holds one more than the current width can name.
    if (next > (1 << width) && width < 12) ++width;
    if (next == 4096) {
      put(kClear);
      table.clear();
      next = kEnd + 1;
      width = 3;
    }
    prefix = indices[i];
  }
  put(prefix);
  put(kEnd);
  if (held > 0) packed.append(char(bits & 0xFF));
  return packed;
}

QByteArray CompressedGif(std::int32_t width, std::int32_t height, const QByteArray& codes) {
  // MakeGif's header, colour table and picture descriptor, up to the code size.
  QByteArray gif = MakeGif(width, height, kGifColours, -1, {}).left(36);
  for (qsizetype at = 0; at < codes.size(); at += 255) {
    gif.append(char(std::min<qsizetype>(255, codes.size() - at))).append(codes.mid(at, 255));
  }
  return gif.append("\0;", 2);
}

}  // namespace fotavel::testing
