// Bad picture files: each is refused as that file's read failure with its reason, a size that
// cannot fit before any pixel memory is taken.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include "TestFiles.h"
#include "io/HeifFiles.h"
#include "io/PictureFiles.h"
#include "support/Surfaces.h"
#include "surface/SurfaceMemory.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

TEST(BadInputTest, RefusalsSayWhyAsTheFilesReadFailure) {
  QTemporaryDir folder;
  // Noise, so that half a file is half its pixels.
  const cDIBSection noise = RandomSurface(64, 48, 5);
  ASSERT_NO_THROW(io::WriteJpeg(noise, folder.filePath(u"n.jpg"_s), 90));
  ASSERT_NO_THROW(io::WriteBmp(noise, folder.filePath(u"n.bmp"_s)));
  ASSERT_TRUE(io::ImageFromSurface(noise).save(folder.filePath(u"n.png"_s)));
  const QByteArray jpeg = ReadBytes(folder.filePath(u"n.jpg"_s)),
                   bmp = ReadBytes(folder.filePath(u"n.bmp"_s)),
                   png = ReadBytes(folder.filePath(u"n.png"_s));
  // The header of `bmp` claiming another width and height, with no pixels after it.
  const auto bmpHeader = [&bmp](const char* widthHeight) {
    return bmp.left(54).replace(18, 8, QByteArray::fromHex(widthHeight));
  };
  const std::uint32_t colours[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  const QByteArray gif = MakeGif(8, 8, colours, -1, std::vector<std::uint8_t>(64, 2));
  const QByteArray tiff = MakeTiff({{31, 17, 3, 8, 2, 0, 0, QByteArray(31 * 17 * 3, '\x40')}});
  const QByteArray wmf = MakeWmf({});
  const QByteArray heic = MakeHeif({}), avif = MakeHeif({.avif = true});

  // The brush is deleted instead of selected, then a rectangle filled with it: the drawing
  // library follows the dangling brush and crashes.
  QByteArray dangling = wmf;
  const qsizetype select = dangling.indexOf(QByteArray("\x04\0\0\0\x2D\x01\0\0", 8));
  ASSERT_GT(select, 0);
  dangling[select + 4] = char(0xF0);
  dangling[select + 5] = char(0x01);
  // A JPEG header edited to claim 65000 x 65000, cut a few bytes into its data: were the surface
  // allocated first, the decoder would report the missing data instead.
  QByteArray vastJpeg = jpeg;
  const qsizetype frame = vastJpeg.indexOf("\xFF\xC0");
  ASSERT_GT(frame, 0);
  vastJpeg.replace(frame + 5, 4, "\xFD\xE8\xFD\xE8");
  vastJpeg.truncate(vastJpeg.indexOf("\xFF\xDA") + 24);
  // An AVIF claiming 3000 x 3000 in its size box (a HEIC of that size is cropped from a larger
  // coded picture, so would not be refused from this claim alone).
  QByteArray vastAvif = avif;
  const qsizetype ispe = vastAvif.indexOf("ispe");
  ASSERT_GT(ispe, 0);
  vastAvif.replace(ispe + 8, 8, QByteArray::fromHex("00000bb8 00000bb8"));
  const QString damaged = u"fichier %1 tronqué ou endommagé"_s;
  const QString tooBig = u"image trop grande pour la mémoire disponible "_s;
  const struct {
    const char* name;
    QByteArray bytes;
    QString reason;
  } cases[] = {
      {"empty.jpg", {}, u"fichier vide"_s},
      {"letter.jpg", "Cher ami, voici la photo promise.\n", u"format d'image inconnu"_s},
      {"flat.bmp", bmpHeader("00000000 10000000"), damaged.arg(u"BMP"_s)},
      {"inchless.wmf", MakeWmf({.unitsPerInch = 0}), u"dimensions d'image invalides (0 x 0)"_s},
      {"half.jpg", jpeg.left(jpeg.size() / 2), damaged.arg(u"JPEG"_s)},
      {"half.png", png.left(png.size() / 2), damaged.arg(u"PNG"_s)},
      {"short.bmp", bmp.chopped(1), damaged.arg(u"BMP"_s)},
      {"half.gif", gif.left(gif.size() / 2), damaged.arg(u"GIF"_s)},
      {"short.tif", tiff.chopped(1), damaged.arg(u"TIFF"_s)},
      {"cut.wmf", wmf.chopped(10), damaged.arg(u"WMF"_s)},
      {"dangling.wmf", dangling, damaged.arg(u"WMF"_s)},
      {"half.heic", heic.left(heic.size() / 2), u"fichier HEIF illisible : "_s},
      {"cmyk16.tif", MakeTiff({{2, 1, 4, 16, 5, 0, 0, QByteArray(16, '\x10')}}),
       u"fichier TIFF en CMJN sur 16 bits : ce mode de couleurs n'est pas pris en charge"_s},
      {"vast.bmp", bmpHeader("a0860100 a0860100"), tooBig + u"(100000 x 100000)"_s},
      {"vast.jpg", vastJpeg, tooBig + u"(65000 x 65000)"_s},
      {"vast.gif", MakeGif(65000, 60000, colours, -1, {0, 1}), tooBig + u"(65000 x 60000)"_s},
      {"vast.wmf", MakeWmf({.frameRight = 30000, .frameBottom = 20000, .unitsPerInch = 1}),
       tooBig + u"(2880000 x 1920000)"_s},
      {"vast.avif", vastAvif, tooBig + u"(3000 x 3000)"_s},
  };
  const auto expectRefused = [](const QString& path, const QString& reason) {
    const io::FileError refusal = FileFailure([&] { (void)io::ReadPicture(path); });
    EXPECT_TRUE(refusal.text().contains(reason)) << "got: " << refusal.description();
    EXPECT_EQ(refusal.number(), io::FileErrors::kRead);
    EXPECT_EQ(refusal.path(), path);
    EXPECT_EQ(refusal.source(), ProgramName() + ".PictureFiles");
  };
  const std::uint64_t budget = io::SetPictureMemoryBudget(std::uint64_t{80} << 20);
  const std::size_t live = LiveSurfaceBytes();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(folder.filePath(QLatin1String(c.name)), c.bytes);
    expectRefused(folder.filePath(QLatin1String(c.name)), c.reason);
  }
  expectRefused(folder.filePath(u"missing.jpg"_s), u"fichier introuvable"_s);
  ASSERT_TRUE(QDir(folder.path()).mkdir(u"album.jpg"_s));
  expectRefused(folder.filePath(u"album.jpg"_s), u"dossier"_s);
  EXPECT_EQ(LiveSurfaceBytes(), live);
  io::SetPictureMemoryBudget(budget);
}

}  // namespace
}  // namespace fotavel::testing
