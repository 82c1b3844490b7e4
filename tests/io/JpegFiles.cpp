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
  EXPECT_EQ(tjCompress2(encoder, pixels, width, pitch, height, format, &jpeg, &size, subsampling,
                        quality, flags),
            0)
      << tjGetErrorStr2(encoder);
  const QByteArray file(reinterpret_cast<const char*>(jpeg), qsizetype(size));
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

QByteArray EncodeJpegSampled(const cDIBSection& picture, int subsampling, int quality) {
  return Compress(picture.DIBSectionBitsPtr(), picture.width(), picture.BytesPerScanLine(),
                  picture.height(), TJPF_BGR, subsampling, quality, TJFLAG_BOTTOMUP);
}

QByteArray TurboTransformed(const QByteArray& jpeg, int operation, int options) {
  tjhandle handle = tjInitTransform();
  tjtransform transform{};
  transform.op = operation;
  transform.options = options | TJXOPT_COPYNONE;
  unsigned char* bytes = nullptr;
  unsigned long size = 0;
  const int status =
      tjTransform(handle, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                  static_cast<unsigned long>(jpeg.size()), 1, &bytes, &size, &transform, 0);
  const QByteArray file = status == 0
                              ? QByteArray(reinterpret_cast<const char*>(bytes), qsizetype(size))
                              : QByteArray();
  tjFree(bytes);
  tjDestroy(handle);
  return file;
}

QByteArray EncodeCmykJpeg(std::int32_t width, std::int32_t height, std::uint32_t seed,
                          bool progressive) {
  std::vector<std::uint8_t> cmyk(std::size_t(width) * std::size_t(height) * 4);
  std::mt19937 random(seed);
  for (std::uint8_t& v : cmyk) v = std::uint8_t(random() & 0xFF);
  return Compress(cmyk.data(), width, width * 4, height, TJPF_CMYK, TJSAMP_444, 92,
                  progressive ? TJFLAG_PROGRESSIVE : 0);
}

std::vector<ScanBytes> Scans(const QByteArray& jpeg) {
  std::vector<ScanBytes> scans;
  for (qsizetype at = jpeg.indexOf("\xFF\xDA"); at >= 0; at = jpeg.indexOf("\xFF\xDA", at + 2)) {
    // Past the scan's header, every 0xFF of the coded data is followed by a stuffed zero.
    qsizetype end = at + 2 + Be16(jpeg, at + 2);
    while (end + 1 < jpeg.size() && !(std::uint8_t(jpeg[end]) == 0xFF && jpeg[end + 1] != 0)) ++end;
    scans.push_back({at, end});
  }
  return scans;
}

QByteArray KeepScans(const QByteArray& jpeg, int kept) {
  return jpeg.left(Scans(jpeg)[std::size_t(kept) - 1].end) + QByteArray("\xFF\xD9", 2);
}

QByteArray WithEmptyScans(const QByteArray& jpeg, int count) {
  // The first component has the frame's finest sampling (the brightness, as
  // TurboJPEG writes it): one block for each 8 x 8 pixels of the picture.
  const qsizetype frame = jpeg.indexOf("\xFF\xC2");
  EXPECT_GT(frame, 0);
  const int height = Be16(jpeg, frame + 5), width = Be16(jpeg, frame + 7);
  const int blocks = ((width + 7) / 8) * ((height + 7) / 8);
  // An AC table (class 1, number 3) of one code, the bit 0, for EOB0: a block with nothing more.
  QByteArray added = QByteArray("\xFF\xC4\x00\x14\x13\x01", 6) + QByteArray(16, '\0');
  // One component, its AC table 3; coefficient 63 only, whole (Ah = Al = 0); a 0 bit a block,
  // padded with ones.
  QByteArray scan = QByteArray("\xFF\xDA\x00\x08\x01", 5) + jpeg[frame + 10];
  scan.append("\x03\x3F\x3F", 3).append('\0').append(QByteArray(blocks / 8, '\0'));
  if (blocks % 8 != 0) scan.append(char(0xFF >> (blocks % 8)));
  const qsizetype end = jpeg.lastIndexOf("\xFF\xD9");
  return jpeg.left(end) + added + scan.repeated(count) + jpeg.mid(end);
}

}  // namespace fotavel::testing
