// JPEG files made by the tests with TurboJPEG: progressive and CMYK photos, cut or given extra
// scans.
#include "JpegFiles.h"

#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <random>

namespace fotavel::testing {

namespace {

QByteArray Compress(const std::uint8_t* pixels, int width, int pitch, int height, int format,
                    int subsampling, int quality, int flags) {
  tjhandle encoder = tjInitCompress();
  unsigned char* jpeg = nullptr;
  unsigned long size = 0;
  QByteArray file;
  if (tjCompress2(encoder, pixels, width, pitch, height, format, &jpeg, &size, subsampling, quality,
                  flags) == 0) {
    file = QByteArray(reinterpret_cast<const char*>(jpeg), qsizetype(size));
  } else {
    ADD_FAILURE() << tjGetErrorStr2(encoder);
  }
  tjFree(jpeg);
  tjDestroy(encoder);
  return file;
}

int Be16(const QByteArray& b, qsizetype at) {
  return std::uint8_t(b[at]) << 8 | std::uint8_t(b[at + 1]);
}

}  // namespace

QByteArray EncodeJpeg(const cDIBSection& picture, bool progressive, int quality) {
  return Compress(picture.DIBSectionBitsPtr(), picture.width(), picture.BytesPerScanLine(),
                  picture.height(), TJPF_BGR, TJSAMP_420, quality,
                  TJFLAG_BOTTOMUP | (progressive ? TJFLAG_PROGRESSIVE : 0));
}

QByteArray EncodeCmykJpeg(std::int32_t width, std::int32_t height, std::uint32_t seed,
                          bool progressive, std::vector<std::uint8_t>* channels) {
  std::vector<std::uint8_t> cmyk(std::size_t(width) * std::size_t(height) * 4);
  std::mt19937 random(seed);
  for (std::uint8_t& v : cmyk) v = std::uint8_t(random() & 0xFF);
  // Every value of each channel where there is room for it, so that the
  // conversion to colours is met over its whole range.
  for (std::size_t i = 0; i < std::min<std::size_t>(256, cmyk.size() / 4); ++i) {
    cmyk[4 * i] = std::uint8_t(i);
    cmyk[4 * i + 1] = std::uint8_t(255 - i);
    cmyk[4 * i + 3] = std::uint8_t(i * 7);
  }
  if (channels != nullptr) *channels = cmyk;
  return Compress(cmyk.data(), width, width * 4, height, TJPF_CMYK, TJSAMP_444, 92,
                  progressive ? TJFLAG_PROGRESSIVE : 0);
}

std::vector<ScanBytes> Scans(const QByteArray& jpeg) {
  std::vector<ScanBytes> scans;
  qsizetype at = 2;
  while (at + 4 <= jpeg.size() && std::uint8_t(jpeg[at]) == 0xFF) {
    const std::uint8_t marker = std::uint8_t(jpeg[at + 1]);
    if (marker == 0xD9) break;
    const qsizetype next = at + 2 + Be16(jpeg, at + 2);
    if (marker != 0xDA) {
      at = next;
      continue;
    }
    // Coded data: every 0xFF in it is followed by a stuffed zero.
    qsizetype end = next;
    while (end + 1 < jpeg.size() &&
           !(std::uint8_t(jpeg[end]) == 0xFF && std::uint8_t(jpeg[end + 1]) != 0)) {
      end += std::uint8_t(jpeg[end]) == 0xFF ? 2 : 1;
    }
    scans.push_back({at, end});
    at = end;
  }
  return scans;
}

QByteArray KeepScans(const QByteArray& jpeg, int kept) {
  return jpeg.left(Scans(jpeg)[std::size_t(kept) - 1].end) + QByteArray("\xFF\xD9", 2);
}

QByteArray WithEmptyScans(const QByteArray& jpeg, int count) {
  // The first component's blocks, from the frame header (SOF2).
  const qsizetype frame = jpeg.indexOf("\xFF\xC2");
  EXPECT_GT(frame, 0);
  const int height = Be16(jpeg, frame + 5), width = Be16(jpeg, frame + 7);
  const int components = std::uint8_t(jpeg[frame + 9]);
  int hMax = 1, vMax = 1;
  for (int c = 0; c < components; ++c) {
    const int sampling = std::uint8_t(jpeg[frame + 11 + 3 * c]);
    hMax = std::max(hMax, sampling >> 4);
    vMax = std::max(vMax, sampling & 15);
  }
  const int sampling = std::uint8_t(jpeg[frame + 11]);
  const int componentWidth = (width * (sampling >> 4) + hMax - 1) / hMax;
  const int componentHeight = (height * (sampling & 15) + vMax - 1) / vMax;
  const int blocks = ((componentWidth + 7) / 8) * ((componentHeight + 7) / 8);
  const char id = jpeg[frame + 10];

  // An AC table (class 1, number 3) of the fifteen end-of-band runs EOB0 …
  // EOB14, each a 4-bit code: run symbol n is code n.
  QByteArray added("\xFF\xC4\x00\x22\x13", 5);
  QByteArray lengths(16, '\0');
  lengths[3] = 15;
  added.append(lengths);
  for (int n = 0; n < 15; ++n) added.append(char(n << 4));
  // The coded data: runs of blocks with nothing left to send, EOBn standing
  // for 2^n blocks and n more bits for the rest of the run.
  QByteArray coded;
  std::uint32_t bits = 0;
  int held = 0;
  const auto put = [&](std::uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) {
      bits = bits << 1 | ((value >> i) & 1);
      if (++held == 8) {
        coded.append(char(bits));
        if (bits == 0xFF) coded.append('\0');
        bits = 0;
        held = 0;
      }
    }
  };
  for (int left = blocks; left > 0;) {
    const int run = std::min(left, 32767);
    int n = 0;
    while ((2 << n) <= run) ++n;
    put(std::uint32_t(n), 4);
    put(std::uint32_t(run - (1 << n)), n);
    left -= run;
  }
  if (held > 0) put(0xFF, 8 - held);  // padded with ones
  // One component, its AC table 3; coefficient 63 only, whole (Ah = Al = 0).
  QByteArray scan("\xFF\xDA\x00\x08\x01", 5);
  scan.append(id).append('\x03').append('\x3F').append('\x3F').append('\0').append(coded);
  for (int i = 0; i < count; ++i) added.append(scan);
  const qsizetype end = jpeg.lastIndexOf("\xFF\xD9");
  return jpeg.left(end) + added + jpeg.mid(end);
}

}  // namespace fotavel::testing
