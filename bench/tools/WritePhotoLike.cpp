// fotavel-bench-photo PATH: writes the benchmarks' 6000 x 4000 photo-like picture as a PNG, for
// outside tools to be timed on the same pixels (bench/save-formats.sh).
#include <cstdio>

#include "PhotoLike.h"
#include "io/FileError.h"
#include "io/SaveFormats.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s PATH.png\n", argv[0]);
    return 2;
  }
  fotavel::io::EncodeSettings png;
  png.format = fotavel::io::SaveFormat::Png;
  try {
    fotavel::io::WritePicture(fotavel::bench::PhotoLike(), QString::fromLocal8Bit(argv[1]), png);
  } catch (const fotavel::io::FileError& failure) {
    std::fprintf(stderr, "%s\n", failure.description().c_str());
    return 1;
  }
  return 0;
}
