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

using io::ReadPicture;

constexpr std::uint64_t kOneGiB = std::uint64_t{1} << 30;

// Fixes the picture budget for one test.
class BudgetOf {
 public:
  explicit BudgetOf(std::uint64_t bytes) : previous_(io::SetPictureMemoryBudget(bytes)) {}
  ~BudgetOf() { io::SetPictureMemoryBudget(previous_); }

 private:
  std::uint64_t previous_;
};

class BadInputTest : public ::testing::Test {
 protected:
  // Reads `path` into a surface that already holds a picture, expecting a
  // refusal that says `words`, and the surface's pixels untouched.
  void ExpectRefused(const QString& path, const QString& words) {
    cDIBSection out = RandomSurface(3, 2, 99);
    const cDIBSection before = Copy(out);
    QString error;
    EXPECT_FALSE(ReadPicture(path, out, error)) << path.toStdString();
    EXPECT_TRUE(error.contains(words)) << "got: " << error.toStdString();
    EXPECT_TRUE(SamePixels(before, out)) << FirstDifference(before, out);
  }

  QString Write(const QString& name, const QByteArray& bytes) {
    const QString path = folder_.path(name);
    WriteBytes(path, bytes);
    return path;
  }

  QByteArray Jpeg(std::int32_t width, std::int32_t height) {
    const QString path = folder_.path(QStringLiteral("made.jpg"));
    QString error;
    EXPECT_TRUE(io::WriteJpeg(SmoothSurface(width, height), path, 90, error));
    return ReadBytes(path);
  }

  TempFolder folder_;
};

TEST_F(BadInputTest, FilesThatHoldNoPicture) {
  ExpectRefused(Write(QStringLiteral("empty.jpg"), {}), QStringLiteral("fichier vide"));
  std::mt19937 generator(2024);
  QByteArray noise;
  noise.append('\0');  // no picture format starts with a zero byte followed by noise
  for (int i = 1; i < 20; ++i) noise.append(char(generator()));
  ExpectRefused(Write(QStringLiteral("noise.bmp"), noise),
                QStringLiteral("format d'image inconnu"));
  ExpectRefused(Write(QStringLiteral("letter.jpg"), "Cher ami, voici la photo promise.\n"),
                QStringLiteral("format d'image inconnu"));
  ExpectRefused(folder_.path(QStringLiteral("missing.jpg")), QStringLiteral("fichier introuvable"));
  ASSERT_TRUE(QDir(folder_.folder()).mkdir(QStringLiteral("album.jpg")));
  ExpectRefused(folder_.path(QStringLiteral("album.jpg")), QStringLiteral("dossier"));
}

TEST_F(BadInputTest, TruncatedFilesSayWhichFormatIsDamaged) {
  const QByteArray jpeg = Jpeg(64, 48);
  ExpectRefused(Write(QStringLiteral("half.jpg"), jpeg.left(jpeg.size() / 2)),
                QStringLiteral("fichier JPEG tronqué ou endommagé"));
  ExpectRefused(Write(QStringLiteral("header.jpg"), jpeg.left(120)),
                QStringLiteral("fichier JPEG tronqué ou endommagé"));

  QImage image(64, 48, QImage::Format_RGB32);
  std::mt19937 generator(3);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64; ++x) image.setPixel(x, y, generator() | 0xFF000000u);
  }
  const QString pngPath = folder_.path(QStringLiteral("whole.png"));
  ASSERT_TRUE(image.save(pngPath, "PNG"));
  const QByteArray png = ReadBytes(pngPath);
  ExpectRefused(Write(QStringLiteral("half.png"), png.left(png.size() / 2)),
                QStringLiteral("fichier PNG tronqué ou endommagé"));

  const QByteArray wmf = MakeWmf({});
  ExpectRefused(Write(QStringLiteral("cut.wmf"), wmf.left(wmf.size() - 10)),
                QStringLiteral("fichier WMF tronqué ou endommagé"));
}

TEST_F(BadInputTest, MetafileThatCrashesTheRasteriserIsOnlyRefused) {
  // The brush is deleted instead of selected, then a rectangle is filled with
  // it: the drawing library follows the dangling brush and crashes.
  QByteArray wmf = MakeWmf({});
  const QByteArray selectBrush("\x04\0\0\0\x2D\x01\0\0", 8);
  const qsizetype at = wmf.indexOf(selectBrush);
  ASSERT_GT(at, 0);
  wmf[at + 4] = char(0xF0);
  wmf[at + 5] = char(0x01);
  ExpectRefused(Write(QStringLiteral("dangling.wmf"), wmf),
                QStringLiteral("fichier WMF tronqué ou endommagé"));
  // And the next metafile draws as usual.
  cDIBSection out;
  QString error;
  EXPECT_TRUE(ReadPicture(Write(QStringLiteral("fine.wmf"), MakeWmf({})), out, error));
}

TEST_F(BadInputTest, ZeroSizedPicturesAreRefused) {
  // A BMP header for 0 x 16 pixels.
  QByteArray bmp(54, '\0');
  bmp[0] = 'B';
  bmp[1] = 'M';
  bmp[10] = 54;
  bmp[14] = 40;
  bmp[22] = 16;
  bmp[26] = 1;
  bmp[28] = 24;
  cDIBSection out;
  QString error;
  EXPECT_FALSE(ReadPicture(Write(QStringLiteral("flat.bmp"), bmp), out, error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_TRUE(out.empty());

  WmfRectangle wmf;
  wmf.unitsPerInch = 0;  // a frame that measures nothing
  ExpectRefused(Write(QStringLiteral("noinch.wmf"), MakeWmf(wmf)),
                QStringLiteral("dimensions d'image invalides (0 x 0)"));
}

TEST_F(BadInputTest, HugeHeadersAreRefusedBeforeAnyPixelMemory) {
  const BudgetOf budget(kOneGiB);
  const std::size_t live = LiveSurfaceBytes();

  // 54 bytes claiming 100000 x 100000 pixels (30 GB).
  QByteArray bmp(54, '\0');
  bmp[0] = 'B';
  bmp[1] = 'M';
  bmp[10] = 54;
  bmp[14] = 40;
  for (int at : {18, 22}) {  // 100000 = 0x000186A0
    bmp[at] = char(0xA0);
    bmp[at + 1] = char(0x86);
    bmp[at + 2] = char(0x01);
  }
  bmp[26] = 1;
  bmp[28] = 24;
  ExpectRefused(Write(QStringLiteral("vast.bmp"), bmp),
                QStringLiteral("image trop grande pour la mémoire disponible (100000 x 100000)"));

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
  ExpectRefused(Write(QStringLiteral("vast.jpg"), jpeg.left(scan + 24)),
                QStringLiteral("image trop grande pour la mémoire disponible (65000 x 65000)"));

  // A placeable metafile whose frame is 30000 inches wide.
  WmfRectangle wmf;
  wmf.unitsPerInch = 1;
  wmf.frameRight = 30000;
  wmf.frameBottom = 20000;
  ExpectRefused(Write(QStringLiteral("vast.wmf"), MakeWmf(wmf)),
                QStringLiteral("image trop grande pour la mémoire disponible (2880000 x 1920000)"));

  EXPECT_EQ(LiveSurfaceBytes(), live);
}

TEST_F(BadInputTest, EveryFormatObeysTheMemoryBudget) {
  const QString jpeg = Write(QStringLiteral("small.jpg"), Jpeg(300, 200));
  QImage image(300, 200, QImage::Format_RGB32);
  image.fill(qRgb(90, 90, 90));
  const QString png = folder_.path(QStringLiteral("small.png"));
  ASSERT_TRUE(image.save(png, "PNG"));
  const QString wmf = Write(QStringLiteral("small.wmf"), MakeWmf({}));
  {
    const BudgetOf budget(100'000);  // less than the 180 000-byte surface
    ExpectRefused(jpeg, QStringLiteral("(300 x 200)"));
    ExpectRefused(png, QStringLiteral("image trop grande pour la mémoire disponible (300 x 200)"));
    ExpectRefused(wmf, QStringLiteral("image trop grande pour la mémoire disponible (192 x 96)"));
  }
  // With room enough they open.
  cDIBSection out;
  QString error;
  EXPECT_TRUE(ReadPicture(jpeg, out, error)) << error.toStdString();
  EXPECT_TRUE(ReadPicture(png, out, error)) << error.toStdString();
  EXPECT_TRUE(ReadPicture(wmf, out, error)) << error.toStdString();
}

TEST_F(BadInputTest, ProgressiveJpegCountsTheCoefficientsItKeeps) {
  QImage image(300, 200, QImage::Format_RGB32);
  image.fill(qRgb(10, 150, 90));
  const QString baseline = folder_.path(QStringLiteral("baseline.jpg"));
  const QString progressive = folder_.path(QStringLiteral("progressive.jpg"));
  ASSERT_TRUE(image.save(baseline, "JPEG", 90));
  QImageWriter writer(progressive, "jpeg");
  writer.setProgressiveScanWrite(true);
  ASSERT_TRUE(writer.write(image));
  // Room for the 180 000-byte surface, not for 6 more bytes a pixel beside it.
  const BudgetOf budget(300'000);
  cDIBSection out;
  QString error;
  EXPECT_TRUE(ReadPicture(baseline, out, error)) << error.toStdString();
  ExpectRefused(progressive, QStringLiteral("(300 x 200)"));
}

TEST_F(BadInputTest, SurfaceThatCannotBeHadIsReportedAsTooBig) {
  const QString jpeg = Write(QStringLiteral("small.jpg"), Jpeg(300, 200));
  const std::size_t previous = SetSurfaceMemoryLimit(LiveSurfaceBytes() + 1000);
  ExpectRefused(jpeg, QStringLiteral("image trop grande pour la mémoire disponible (300 x 200)"));
  SetSurfaceMemoryLimit(previous);
}

}  // namespace
}  // namespace fotavel::testing
