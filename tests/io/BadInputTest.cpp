// Bad picture files: each is refused with a French description and leaves the target surface alone.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <random>

#include "TestFiles.h"
#include "io/PictureFiles.h"
#include "support/Surfaces.h"
#include "surface/SurfaceMemory.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;
using io::ReadPicture;

const QString kTooBig = u"image trop grande pour la mémoire disponible "_s;
const QString kDamaged = u"fichier %1 tronqué ou endommagé"_s;

// Fixes the picture budget for one scope.
class BudgetOf {
 public:
  explicit BudgetOf(std::uint64_t bytes) : previous_(io::SetPictureMemoryBudget(bytes)) {}
  ~BudgetOf() { io::SetPictureMemoryBudget(previous_); }

 private:
  std::uint64_t previous_;
};

// A 54-byte BMP header for width x height 24-bit pixels, with no pixels after it.
QByteArray BmpHeader(std::uint32_t width, std::uint32_t height) {
  QByteArray bmp(54, '\0');
  bmp[0] = 'B';
  bmp[1] = 'M';
  bmp[10] = 54;
  bmp[14] = 40;
  for (int i = 0; i < 4; ++i) {
    bmp[18 + i] = char(width >> (8 * i));
    bmp[22 + i] = char(height >> (8 * i));
  }
  bmp[26] = 1;
  bmp[28] = 24;
  return bmp;
}

// A 4 x 2 RLE8 bitmap: the bottom row red (entry 1), the top row blue (entry 0).
QByteArray Rle8Bmp() {
  QByteArray bmp = BmpHeader(4, 2);
  bmp[10] = 62;  // pixels after the two colours
  bmp[28] = 8;
  bmp[30] = 1;  // RLE8
  bmp[46] = 2;  // colours used
  return bmp + QByteArray::fromHex("ff000000 0000ff00 0401 0000 0400 0000 0001");
}

// The PNG's header edited to claim width x height, its checksum made anew.
QByteArray PngClaiming(QByteArray png, std::uint32_t width, std::uint32_t height) {
  for (int i = 0; i < 4; ++i) {
    png[16 + i] = char(width >> (24 - 8 * i));
    png[20 + i] = char(height >> (24 - 8 * i));
  }
  std::uint32_t crc = 0xFFFFFFFFu;
  for (int at = 12; at < 29; ++at) {  // chunk type and data
    crc ^= std::uint8_t(png[at]);
    for (int k = 0; k < 8; ++k) crc = crc >> 1 ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  for (int i = 0; i < 4; ++i) png[29 + i] = char(~crc >> (24 - 8 * i));
  return png;
}

constexpr std::uint32_t kFourColours[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

class BadInputTest : public ::testing::Test {
 protected:
  // Reads `path` into a surface that already holds a picture, expecting a
  // refusal that says `words`, and the surface's pixels untouched.
  void ExpectRefused(const QString& path, const QString& words) {
    cDIBSection out = RandomSurface(3, 2, 99);
    const cDIBSection before = Copy(out);
    QString error;
    EXPECT_FALSE(ReadPicture(path, out, error)) << path.toStdString();
    EXPECT_TRUE(!error.isEmpty() && error.contains(words)) << "got: " << error.toStdString();
    EXPECT_TRUE(SamePixels(before, out)) << FirstDifference(before, out);
  }
  void ExpectRead(const QString& path) {
    cDIBSection out;
    QString error;
    EXPECT_TRUE(ReadPicture(path, out, error)) << error.toStdString();
  }
  QString Write(const QString& name, const QByteArray& bytes) {
    WriteBytes(folder_.path(name), bytes);
    return folder_.path(name);
  }
  // `setting` is the writer's quality (100 for a lossless WebP) or, for a TIFF, compression.
  QString Save(const QString& name, const QImage& image, const char* format, int setting = -1) {
    QImageWriter writer(folder_.path(name), format);
    writer.setQuality(setting);
    writer.setCompression(setting);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return folder_.path(name);
  }
  QByteArray Jpeg(std::int32_t width, std::int32_t height) {
    QString error;
    EXPECT_TRUE(
        io::WriteJpeg(SmoothSurface(width, height), folder_.path(u"made.jpg"_s), 90, error));
    return ReadBytes(folder_.path(u"made.jpg"_s));
  }

  TempFolder folder_;
};

TEST_F(BadInputTest, FilesThatHoldNoPicture) {
  ExpectRefused(Write(u"empty.jpg"_s, {}), u"fichier vide"_s);
  std::mt19937 generator(2024);
  QByteArray noise(1, '\0');  // no picture format starts with a zero byte followed by noise
  for (int i = 1; i < 20; ++i) noise.append(char(generator()));
  ExpectRefused(Write(u"noise.bmp"_s, noise), u"format d'image inconnu"_s);
  ExpectRefused(Write(u"letter.jpg"_s, "Cher ami, voici la photo promise.\n"),
                u"format d'image inconnu"_s);
  ExpectRefused(folder_.path(u"missing.jpg"_s), u"fichier introuvable"_s);
  ASSERT_TRUE(QDir(folder_.folder()).mkdir(u"album.jpg"_s));
  ExpectRefused(folder_.path(u"album.jpg"_s), u"dossier"_s);
  // A picture of no pixels: 0 x 16, or a metafile frame that measures nothing.
  ExpectRefused(Write(u"flat.bmp"_s, BmpHeader(0, 16)), u""_s);
  WmfRectangle wmf;
  wmf.unitsPerInch = 0;
  ExpectRefused(Write(u"noinch.wmf"_s, MakeWmf(wmf)), u"dimensions d'image invalides (0 x 0)"_s);
}

TEST_F(BadInputTest, TruncatedFilesSayWhichFormatIsDamaged) {
  const QByteArray jpeg = Jpeg(64, 48);
  ExpectRefused(Write(u"half.jpg"_s, jpeg.left(jpeg.size() / 2)), kDamaged.arg(u"JPEG"_s));
  ExpectRefused(Write(u"header.jpg"_s, jpeg.left(120)), kDamaged.arg(u"JPEG"_s));
  QImage image(64, 48, QImage::Format_RGB32);  // noise, so that half the file is half the pixels
  std::mt19937 generator(3);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) image.setPixel(x, y, generator() | 0xFF000000u);
  const QByteArray png = ReadBytes(Save(u"whole.png"_s, image, "PNG"));
  ExpectRefused(Write(u"half.png"_s, png.left(png.size() / 2)), kDamaged.arg(u"PNG"_s));
  const QByteArray wmf = MakeWmf({});
  ExpectRefused(Write(u"cut.wmf"_s, wmf.left(wmf.size() - 10)), kDamaged.arg(u"WMF"_s));
}

TEST_F(BadInputTest, BitmapsAndGifsMissingTheirPixelsAreRefusedNotMadeUp) {
  QString error;
  ASSERT_TRUE(io::WriteBmp(SmoothSurface(5, 7), folder_.path(u"whole.bmp"_s), error));
  const QByteArray bmp = ReadBytes(folder_.path(u"whole.bmp"_s));
  ExpectRefused(Write(u"half.bmp"_s, bmp.left(bmp.size() / 2)), kDamaged.arg(u"BMP"_s));
  ExpectRefused(Write(u"short.bmp"_s, bmp.chopped(1)), kDamaged.arg(u"BMP"_s));
  QByteArray far = bmp;
  far[11] = 1;  // the pixels said to start at byte 310, past the end
  ExpectRefused(Write(u"far.bmp"_s, far), kDamaged.arg(u"BMP"_s));

  // Compressed rows: whole, they read; without their last row and end code, refused.
  const QByteArray rle = Rle8Bmp();
  cDIBSection out;
  ASSERT_TRUE(ReadPicture(Write(u"rle.bmp"_s, rle), out, error)) << error.toStdString();
  EXPECT_EQ(Displayed(out, 3, 0), 0x0000FFu);
  EXPECT_EQ(Displayed(out, 0, 1), 0xFF0000u);
  ExpectRefused(Write(u"rle-cut.bmp"_s, rle.chopped(4)), kDamaged.arg(u"BMP"_s));

  const QByteArray gif = MakeGif(8, 8, kFourColours, -1, std::vector<std::uint8_t>(64, 2));
  ExpectRead(Write(u"no-trailer.gif"_s, gif.chopped(1)));  // the picture itself is whole
  ExpectRefused(Write(u"half.gif"_s, gif.left(gif.size() / 2)), kDamaged.arg(u"GIF"_s));
  ExpectRefused(Write(u"header.gif"_s, gif.left(20)), kDamaged.arg(u"GIF"_s));
}

TEST_F(BadInputTest, TiffAndWebpCutShortAreRefusedNotMadeUp) {
  // The directory comes first: the cut loses pixels, not the header.
  const QByteArray tiff = MakeTiff({{31, 17, 3, 8, 2, 0, 0, QByteArray(31 * 17 * 3, '\x40')}});
  ExpectRead(Write(u"whole.tif"_s, tiff));
  ExpectRefused(Write(u"short.tif"_s, tiff.chopped(1)), kDamaged.arg(u"TIFF"_s));
  ExpectRefused(Write(u"header.tif"_s, tiff.left(40)), kDamaged.arg(u"TIFF"_s));
  // Noise, so that every byte of the lossy WebP is picture data.
  const cDIBSection noise = RandomSurface(64, 48, 5);
  const QImage image(noise.row(0), 64, 48, noise.BytesPerScanLine(), QImage::Format_BGR888);
  const QByteArray webp = ReadBytes(Save(u"whole.webp"_s, image, "WEBP"));
  ExpectRefused(Write(u"half.webp"_s, webp.left(webp.size() / 2)), kDamaged.arg(u"WebP"_s));
  ExpectRefused(Write(u"short.webp"_s, webp.chopped(1)), kDamaged.arg(u"WebP"_s));
}

TEST_F(BadInputTest, MetafileThatCrashesTheRasteriserIsOnlyRefused) {
  // The brush is deleted instead of selected, then a rectangle is filled with
  // it: the drawing library follows the dangling brush and crashes.
  QByteArray wmf = MakeWmf({});
  const qsizetype at = wmf.indexOf(QByteArray("\x04\0\0\0\x2D\x01\0\0", 8));
  ASSERT_GT(at, 0);
  wmf[at + 4] = char(0xF0);
  wmf[at + 5] = char(0x01);
  ExpectRefused(Write(u"dangling.wmf"_s, wmf), kDamaged.arg(u"WMF"_s));
  ExpectRead(Write(u"fine.wmf"_s, MakeWmf({})));  // and the next metafile draws as usual
}

TEST_F(BadInputTest, HugeHeadersAreRefusedBeforeAnyPixelMemory) {
  const BudgetOf budget(std::uint64_t{1} << 30);
  const std::size_t live = LiveSurfaceBytes();
  // 54 bytes claiming 100000 x 100000 pixels (30 GB).
  ExpectRefused(Write(u"vast.bmp"_s, BmpHeader(100000, 100000)), kTooBig + u"(100000 x 100000)"_s);
  // A real JPEG header edited to claim 65000 x 65000, cut a few bytes into
  // its data. Were the surface allocated first, the decoder would report the
  // missing data instead.
  QByteArray jpeg = Jpeg(32, 16);
  const qsizetype frame = FrameHeaderOffset(jpeg);
  ASSERT_GT(frame, 0);
  for (int at : {5, 7}) {  // height, then width: 65000 = 0xFDE8
    jpeg[frame + at] = char(0xFD);
    jpeg[frame + at + 1] = char(0xE8);
  }
  const qsizetype scan = jpeg.indexOf("\xFF\xDA");
  ASSERT_GT(scan, frame);
  ExpectRefused(Write(u"vast.jpg"_s, jpeg.left(scan + 24)), kTooBig + u"(65000 x 65000)"_s);
  // A placeable metafile whose frame is 30000 inches wide.
  WmfRectangle wmf;
  wmf.unitsPerInch = 1;
  wmf.frameRight = 30000;
  wmf.frameBottom = 20000;
  ExpectRefused(Write(u"vast.wmf"_s, MakeWmf(wmf)), kTooBig + u"(2880000 x 1920000)"_s);
  ExpectRefused(Write(u"vast.gif"_s, MakeGif(65000, 60000, kFourColours, -1, {0, 1})),
                kTooBig + u"(65000 x 60000)"_s);
  QImage small(4, 4, QImage::Format_RGB32);
  small.fill(qRgb(1, 2, 3));
  const QByteArray png = ReadBytes(Save(u"small.png"_s, small, "PNG"));
  ExpectRefused(Write(u"vast.png"_s, PngClaiming(png, 100000, 90000)),
                kTooBig + u"(100000 x 90000)"_s);
  ExpectRefused(Write(u"vast.tif"_s, MakeTiff({{100000, 100000, 3, 8, 2, 0, 0, "123"}})),
                kTooBig + u"(100000 x 100000)"_s);
  // A lossless WebP's header claiming its largest size, 16384 x 16384 (14 bits each).
  QByteArray webp = ReadBytes(Save(u"small.webp"_s, small, "WEBP", 100));
  ASSERT_EQ(webp.mid(12, 4), "VP8L");
  webp[21] = webp[22] = webp[23] = char(0xFF);
  webp[24] = char(webp[24] | 0x0F);
  ExpectRefused(Write(u"vast.webp"_s, webp), kTooBig + u"(16384 x 16384)"_s);
  EXPECT_EQ(LiveSurfaceBytes(), live);
}

TEST_F(BadInputTest, EveryFormatObeysTheMemoryBudget) {
  QImage image(300, 200, QImage::Format_RGB32);
  image.fill(qRgb(90, 90, 90));
  const QString files[] = {Write(u"small.jpg"_s, Jpeg(300, 200)),
                           Save(u"small.png"_s, image, "PNG"), Write(u"small.wmf"_s, MakeWmf({})),
                           Save(u"small.tif"_s, image, "TIFF", 1),
                           Save(u"small.webp"_s, image, "WEBP")};
  {
    const BudgetOf budget(100'000);  // less than the 180 000-byte surface
    for (const QString& file : files)
      ExpectRefused(file, kTooBig + (file == files[2] ? u"(192 x 96)"_s : u"(300 x 200)"_s));
  }
  for (const QString& file : files) ExpectRead(file);  // with room enough they open
  // A surface that cannot be had is reported the same way.
  const std::size_t previous = SetSurfaceMemoryLimit(LiveSurfaceBytes() + 1000);
  ExpectRefused(files[0], kTooBig + u"(300 x 200)"_s);
  SetSurfaceMemoryLimit(previous);
}

TEST_F(BadInputTest, ProgressiveJpegCountsTheCoefficientsItKeeps) {
  QImage image(300, 200, QImage::Format_RGB32);
  image.fill(qRgb(10, 150, 90));
  const QString baseline = Save(u"baseline.jpg"_s, image, "JPEG");
  QImageWriter writer(folder_.path(u"progressive.jpg"_s), "jpeg");
  writer.setProgressiveScanWrite(true);
  ASSERT_TRUE(writer.write(image));
  // Room for the 180 000-byte surface, not for 6 more bytes a pixel beside it.
  const BudgetOf budget(300'000);
  ExpectRead(baseline);
  ExpectRefused(folder_.path(u"progressive.jpg"_s), u"(300 x 200)"_s);
}

}  // namespace
}  // namespace fotavel::testing
