// Picture files made by the tests themselves: bytes, GIF/WMF/TIFF builders, EXIF.
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QtEndian>
#include <cmath>
#include <cstdlib>

#include "io/PictureFiles.h"

namespace fotavel::testing {

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

namespace {

// Little-endian 16-bit words, and one 32-bit word.
void Append16(QByteArray& b, std::initializer_list<std::uint32_t> words) {
  for (std::uint32_t v : words) b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}
void Append32(QByteArray& b, std::uint32_t v) { Append16(b, {v & 0xFFFF, v >> 16}); }

}  // namespace

cDIBSection MustRead(const QString& path) {
  try {
    return io::ReadPicture(path);
  } catch (const io::FileError& refusal) {
    ADD_FAILURE() << path.toStdString() << ": " << refusal.description();
    return {};
  }
}

int MaxDifference(const cDIBSection& a, const cDIBSection& b) {
  int worst = 0;
  for (std::int32_t y = 0; y < a.height(); ++y)
    for (std::int32_t x = 0; x < 3 * a.width(); ++x)
      worst = std::max(worst, std::abs(int(a.row(y)[x]) - int(b.row(y)[x])));
  return worst;
}

std::uint32_t Displayed(const cDIBSection& s, std::int32_t x, std::int32_t yTop) {
  const std::uint8_t* p = s.row(s.height() - 1 - yTop) + 3 * x;
  return std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
}

cDIBSection SmoothSurface(std::int32_t width, std::int32_t height) {
  cDIBSection s;
  EXPECT_TRUE(s.Create(width, height));
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      const double fx = double(x) / width, fy = double(y) / height;
      std::uint8_t* p = s.row(y) + 3 * x;
      p[0] = std::uint8_t(40 + 150 * fx);
      p[1] = std::uint8_t(60 + 120 * fy);
      p[2] = std::uint8_t(200 - 100 * fx * fy);
    }
    for (std::int32_t x = 3 * width; x < s.BytesPerScanLine(); ++x) s.row(y)[x] = 0xA5;
  }
  return s;
}

QByteArray MakeGif(std::int32_t width, std::int32_t height, const std::uint32_t (&colours)[4],
                   int transparent, const std::vector<std::uint8_t>& indices) {
  QByteArray b("GIF89a");
  Append16(b, {std::uint32_t(width), std::uint32_t(height)});
  // A global table of 4 entries (2 bits of colour resolution), background index 0, square pixels.
  b.append("\x91\0\0", 3);
  for (std::uint32_t c : colours) b.append(char(c >> 16)).append(char(c >> 8)).append(char(c));
  if (transparent >= 0) {  // graphic control extension
    b.append("\x21\xF9\x04\x01\0\0", 6).append(char(transparent)).append('\0');
  }
  b.append(',');
  Append16(b, {0, 0, std::uint32_t(width), std::uint32_t(height)});
  b.append('\0');
  // LZW with 2-bit symbols: 3-bit codes, clear = 4, end = 5. A clear code
  // after every second symbol keeps the table from growing past code 6, so
  // every code stays 3 bits wide and the stream needs no real compressor.
  std::vector<int> codes{4};
  for (std::size_t i = 0; i < indices.size(); ++i) {
    if (i > 0 && i % 2 == 0) codes.push_back(4);
    codes.push_back(indices[i]);
  }
  codes.push_back(5);
  QByteArray packed;
  std::uint32_t bits = 0;
  int count = 0;
  for (int code : codes) {
    bits |= std::uint32_t(code) << count;
    count += 3;
    while (count >= 8) {
      packed.append(char(bits & 0xFF));
      bits >>= 8;
      count -= 8;
    }
  }
  if (count > 0) packed.append(char(bits & 0xFF));
  b.append(char(2));  // minimum code size
  for (qsizetype at = 0; at < packed.size(); at += 255) {
    const QByteArray block = packed.mid(at, 255);
    b.append(char(block.size())).append(block);
  }
  return b.append("\0;", 2);
}

QByteArray MakeWmf(const WmfRectangle& p) {
  QByteArray b;
  if (p.placeable) {
    Append32(b, 0x9AC6CDD7);
    // Handle, left, top, right, bottom, units per inch, a reserved double word.
    Append16(b, {0, 0, 0, std::uint16_t(p.frameRight), std::uint16_t(p.frameBottom), p.unitsPerInch,
                 0, 0});
    std::uint16_t checksum = 0;
    for (int i = 0; i < 10; ++i)
      checksum ^= std::uint16_t(std::uint8_t(b[2 * i]) | std::uint8_t(b[2 * i + 1]) << 8);
    Append16(b, {checksum});
  }
  // The text out record: length, bytes padded to a word, y, x.
  std::vector<std::uint32_t> text{std::uint32_t(p.text.size())};
  for (qsizetype i = 0; i < p.text.size(); i += 2) {
    const std::uint32_t high = i + 1 < p.text.size() ? std::uint8_t(p.text[i + 1]) : 0;
    text.push_back(std::uint8_t(p.text[i]) | high << 8);
  }
  text.insert(text.end(), {100, 100});
  const qsizetype header = b.size();
  // In memory, 9 header words, version 3, the file's words (set below), 2 objects, the largest
  // record's words (a double word), no parameters.
  Append16(b,
           {1, 9, 0x0300, 0, 0, 2, std::uint32_t(std::max<std::size_t>(8, 3 + text.size())), 0, 0});
  auto record = [&b](std::uint16_t function, const std::vector<std::uint32_t>& words) {
    Append32(b, 3 + std::uint32_t(words.size()));
    Append16(b, {function});
    for (std::uint32_t w : words) Append16(b, {w});
  };
  record(0x020B, {0, 0});                                                           // window origin
  record(0x020C, {std::uint16_t(p.frameBottom), std::uint16_t(p.frameRight)});      // window extent
  record(0x02FC, {0, ((p.rgb >> 16) & 0xFF) | (p.rgb & 0xFF00), p.rgb & 0xFF, 0});  // solid brush
  record(0x012D, {0});                                                              // select it
  record(0x02FA, {5, 0, 0, 0, 0});                                                  // null pen
  record(0x012D, {1});                                                              // select it
  record(0x041B, {std::uint16_t(p.bottom), std::uint16_t(p.right), std::uint16_t(p.top),
                  std::uint16_t(p.left)});  // rectangle
  if (!p.text.isEmpty()) record(0x0521, text);
  record(0x0000, {});  // end of file
  const std::uint32_t words = std::uint32_t(b.size() - header) / 2;
  for (int i = 0; i < 4; ++i) b[header + 6 + i] = char((words >> (8 * i)) & 0xFF);
  return b;
}

std::pair<int, int> ShownAt(int orientation, int c, int r, int storedWidth, int storedHeight) {
  const int cr = storedWidth - 1 - c, rr = storedHeight - 1 - r;  // counted from the far side
  // Orientations 1 … 8 in the words of the tag: row 0 at the top, column 0 on the left (1); top,
  // right; bottom, right; bottom, left; row 0 on the left, column 0 at the top; right, top; right,
  // bottom; left, bottom (8).
  const std::pair<int, int> shown[] = {{c, r}, {cr, r}, {cr, rr}, {c, rr},
                                       {r, c}, {rr, c}, {rr, cr}, {r, cr}};
  return shown[orientation >= 1 && orientation <= 8 ? orientation - 1 : 0];
}

QByteArray MakeTiff(const std::vector<TiffPage>& pages) {
  struct Entry {
    std::uint16_t tag, type;  // type 3 SHORT, 4 LONG
    std::uint32_t count, value;
  };
  QByteArray b("II*\0", 4);
  Append32(b, 8);
  for (std::size_t page = 0; page < pages.size(); ++page) {
    const TiffPage& p = pages[page];
    std::vector<Entry> entries = {
        {256, 4, 1, std::uint32_t(p.width)}, {257, 4, 1, std::uint32_t(p.height)},
        {258, 3, p.samples, p.bits},         {259, 3, 1, 1},   // no compression
        {262, 3, 1, p.photometric},          {273, 4, 1, 0}};  // the pixels' offset, set below
    if (p.orientation != 0) entries.push_back({274, 3, 1, p.orientation});
    entries.push_back({277, 3, 1, p.samples});
    entries.push_back({278, 4, 1, std::uint32_t(p.height)});
    entries.push_back({279, 4, 1, std::uint32_t(p.pixels.size())});
    entries.push_back({284, 3, 1, 1});  // samples side by side
    if (p.extraSample != 0) entries.push_back({338, 3, 1, p.extraSample});
    // Directory, then the bits of each sample when they do not fit the entry, then pixels.
    const std::uint32_t directory = std::uint32_t(b.size());
    const std::uint32_t bitsAt = directory + 2 + 12 * std::uint32_t(entries.size()) + 4;
    const bool bitsOutside = p.samples > 2;
    const std::uint32_t pixelsAt = bitsAt + (bitsOutside ? 2u * p.samples : 0u);
    entries[2].value = bitsOutside ? bitsAt : p.bits;
    entries[5].value = pixelsAt;
    Append16(b, {std::uint32_t(entries.size())});
    for (const Entry& e : entries) {
      Append16(b, {e.tag, e.type});
      Append32(b, e.count);
      if (e.type == 3 && !(e.tag == 258 && bitsOutside)) {
        Append16(b, {e.value, e.value});  // a second SHORT (two grey samples); ignored for one
      } else {
        Append32(b, e.value);
      }
    }
    const bool last = page + 1 == pages.size();
    const std::uint32_t next = pixelsAt + std::uint32_t(p.pixels.size());
    Append32(b, last ? 0 : next + (next & 1));
    if (bitsOutside)
      for (int i = 0; i < p.samples; ++i) Append16(b, {p.bits});
    b.append(p.pixels);
    if (!last && b.size() % 2 != 0) b.append('\0');
  }
  return b;
}

QByteArray PngClaiming(std::uint32_t width, std::uint32_t height) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  QImage dot(1, 1, QImage::Format_RGB32);
  dot.fill(0xFF102030u);
  EXPECT_TRUE(dot.save(&buffer, "PNG"));
  // The IHDR chunk follows the 8-byte signature: length, type, width, height (big-endian) …, and a
  // CRC-32 of type and data that the reader checks.
  qToBigEndian(width, png.data() + 16);
  qToBigEndian(height, png.data() + 20);
  std::uint32_t crc = 0xFFFFFFFFu;
  for (int i = 12; i < 29; ++i) {
    crc ^= std::uint8_t(png[i]);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  qToBigEndian(~crc, png.data() + 29);
  return png;
}

QByteArray WithExifOrientation(const QByteArray& jpeg, std::uint16_t orientation) {
  QByteArray tiff("II*\0", 4);
  // The first directory right after this header; its one entry, Orientation: SHORT, one value;
  // no next directory.
  Append16(tiff, {8, 0, 1, 0x0112, 3, 1, 0, orientation, 0, 0, 0});
  const QByteArray body = QByteArray("Exif\0\0", 6) + tiff;
  QByteArray segment("\xFF\xE1", 2);
  segment.append(char((body.size() + 2) >> 8)).append(char((body.size() + 2) & 0xFF)).append(body);
  qsizetype at = 2;
  if (jpeg.size() > 6 && std::uint8_t(jpeg[2]) == 0xFF && std::uint8_t(jpeg[3]) == 0xE0) {
    at += 2 + (std::uint8_t(jpeg[4]) << 8 | std::uint8_t(jpeg[5]));
  }
  return jpeg.left(at) + segment + jpeg.mid(at);
}

}  // namespace fotavel::testing
