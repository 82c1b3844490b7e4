// Writes the benchmarks' 6000 x 4000 photo-like picture as a quality-90 JPEG with nothing but its
// JFIF segment, for bench/lossless-jpegtran.sh.
#include <QString>
#include <cstdio>

#include "PhotoLike.h"
#include "io/FileError.h"
#include "io/PictureFiles.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s PHOTO.jpg\n", argv[0]);
    return 2;
  }
  try {
    fotavel::io::WriteJpeg(fotavel::bench::PhotoLike(), QString::fromLocal8Bit(argv[1]), 90);
  } catch (const fotavel::io::FileError& failure) {
    std::fprintf(stderr, "%s\n", failure.description().c_str());
    return 1;
  }
  return 0;
}
