// fotavel-bench-photo PATH: writes the benchmarks' 6000 x 4000 photo-like picture in the format its
// extension names (a PNG for the outside writers of bench/save-formats.sh; a quality-90 JPEG with
// nothing but its JFIF segment for bench/lossless-jpegtran.sh), so that outside tools are timed
// on the same pixels.
#include <QString>
#include <cstdio>

#include "PhotoLike.h"
#include "io/FileError.h"
#include "io/SaveFormats.h"

int main(int argc, char** argv) {
  fotavel::io::EncodeSettings settings;
  const QString path = argc == 2 ? QString::fromLocal8Bit(argv[1]) : QString();
  if (path.isEmpty() || !fotavel::io::FormatForName(path, settings.format)) {
    std::fprintf(stderr, "usage: %s PATH.png|PATH.jpg\n", argv[0]);
    return 2;
  }
  settings.quality = 90;
  try {
    fotavel::io::WritePicture(fotavel::bench::PhotoLike(), path, settings);
  } catch (const fotavel::io::FileError& failure) {
    std::fprintf(stderr, "%s\n", failure.description().c_str());
    return 1;
  }
  return 0;
}
