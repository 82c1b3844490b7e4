// fotavel-batch writing PNG, WebP, AVIF and TIFF, without loss, and within a file size.
#include <QDir>
#include <QFileInfo>

#include "batch/BatchFixture.h"
#include "io/SaveFormats.h"
#include "support/Surfaces.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

// The file the file layer makes of `photo` with these settings: what the batch must write.
QByteArray Encoded(const cDIBSection& photo, io::SaveFormat format, int quality = 70,
                   bool lossless = false) {
  return io::EncodePicture(photo, {.format = format, .quality = quality, .lossless = lossless})
      .ToBytes();
}

using SaveFormatsBatchTest = BatchTest;

// -o's extension, in any case, picks the format, -q the quality and --sans-perte a WebP without
// loss: each result is the very file the file layer makes with those settings.
TEST_F(SaveFormatsBatchTest, TheOutputsExtensionPicksTheFormat) {
  const cDIBSection photo = SmoothSurface(37, 23);
  const QString input = WriteBmp(photo, u"entree.bmp"_s);
  const struct {
    const char* name;
    io::SaveFormat format;
    bool lossless;  // --sans-perte given
  } cases[] = {
      {"s.png", io::SaveFormat::Png, false},   {"s.TIFF", io::SaveFormat::Tiff, false},
      {"s.tif", io::SaveFormat::Tiff, true},   {"exacte.webp", io::SaveFormat::Webp, true},
      {"s.WebP", io::SaveFormat::Webp, false}, {"s.avif", io::SaveFormat::Avif, false},
      {"s.jpeg", io::SaveFormat::Jpeg, false}, {"s.Jpg", io::SaveFormat::Jpeg, false},
      {"s.bmp", io::SaveFormat::Bmp, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString out = Path(QString::fromUtf8(c.name));
    QStringList arguments{u"-q"_s, u"95"_s, input, u"-o"_s, out};
    if (c.lossless) arguments.prepend(u"--sans-perte"_s);
    const BatchRun run = Batch(arguments);
    EXPECT_EQ(std::pair(run.exitCode, run.err), std::pair(0, QString()));
    EXPECT_EQ(ReadBytes(out), Encoded(photo, c.format, 95, c.lossless));
  }
  EXPECT_TRUE(SamePixels(MustRead(Path(u"exacte.webp"_s)), photo));
}

// -f names each result with the format's usual extension, and writes it in that format.
TEST_F(SaveFormatsBatchTest, AFolderOutputTakesTheFormatOfF) {
  const cDIBSection photos[] = {RandomSurface(41, 29, 1), RandomSurface(41, 29, 2)};
  const QStringList inputs{WriteBmp(photos[0], u"un.bmp"_s), WriteBmp(photos[1], u"deux.bmp"_s)};
  for (const io::SaveFormat format :
       {io::SaveFormat::Jpeg, io::SaveFormat::Bmp, io::SaveFormat::Png, io::SaveFormat::Webp,
        io::SaveFormat::Avif, io::SaveFormat::Tiff}) {
    const QString name = io::ExtensionFor(format);
    SCOPED_TRACE(name.toStdString());
    const QDir out(Path(name));
    ASSERT_TRUE(out.mkpath(u"."_s));
    const BatchRun run = Batch(QStringList{u"-f"_s, name, u"-q"_s, u"50"_s} + inputs +
                               QStringList{u"-o"_s, out.path()});
    EXPECT_EQ(std::pair(run.exitCode, run.err), std::pair(0, QString()));
    EXPECT_EQ(out.entryList(QDir::Files, QDir::Name),
              (QStringList{u"deux."_s + name, u"un."_s + name}));
    EXPECT_EQ(ReadBytes(out.filePath(u"un."_s + name)), Encoded(photos[0], format, 50));
  }
}

// Each file of a run with --poids-max 200K holds at most 200000 bytes, at the best quality up to
// -q that fits, as the file layer finds it; a photo that had to be halved is said with its new
// size, and only such a photo.
TEST_F(SaveFormatsBatchTest, PoidsMaxKeepsEachFileWithinItsSize) {
  const cDIBSection noisy = RandomSurface(401, 301, 4);
  const QString input = WriteBmp(noisy, u"bruit.bmp"_s);
  for (const io::SaveFormat format :
       {io::SaveFormat::Jpeg, io::SaveFormat::Webp, io::SaveFormat::Avif}) {
    const QString extension = io::ExtensionFor(format);
    SCOPED_TRACE(extension.toStdString());
    for (const std::uint64_t limit : {std::uint64_t(200000), std::uint64_t(20000)}) {
      const io::SizeFit reference =
          io::EncodeWithinSize(noisy, {.format = format, .quality = 90}, limit);
      const QString out = Path(u"r%1."_s.arg(limit) + extension);
      const BatchRun run = Batch({u"-q"_s, u"90"_s, u"--poids-max"_s,
                                  limit == 200000 ? u"200K"_s : u"20000"_s, input, u"-o"_s, out});
      ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
      EXPECT_EQ(run.err,
                reference.halvings == 0
                    ? QString()
                    : u"%1 : réduite à %2 x %3 pour ne pas dépasser %4 octets\n"_s.arg(input)
                          .arg(reference.width)
                          .arg(reference.height)
                          .arg(limit));
      EXPECT_LE(QFileInfo(out).size(), qint64(limit));
      EXPECT_EQ(ReadBytes(out), reference.file.ToBytes());
      const cDIBSection read = MustRead(out);
      EXPECT_EQ(std::pair(read.width(), read.height()),
                std::pair(reference.width, reference.height));
    }
  }
  // The noise takes more than 20000 bytes at full size in every format: some photo was halved.
  EXPECT_LT(QFileInfo(Path(u"r20000.jpg"_s)).size(), 20000);
  EXPECT_EQ(MustRead(Path(u"r20000.jpg"_s)).width(), 201);
}

// What the format cannot give is refused before any photo is read, with the usage: no size for a
// format without a quality, AVIF never without loss, a size that is not one.
TEST_F(SaveFormatsBatchTest, SaveOptionsTheFormatCannotTakeAreUsageErrors) {
  const QString input = WriteBmp(RandomSurface(4, 4, 2), u"a.bmp"_s);
  const QString noSize =
      u"--poids-max : seuls les JPEG, WebP et AVIF écrits avec une qualité, sans --sans-perte, "
      u"peuvent être ajustés à une taille"_s;
  const auto badSize = [](const QString& v) {
    return u"--poids-max : la taille est un nombre d'octets de 1 ou plus, suivi ou non de K "
           u"(milliers) ou M (millions) (« %1 »)"_s.arg(v);
  };
  const struct {
    QStringList arguments;
    QString message;
  } bad[] = {
      {{u"--poids-max"_s, u"100K"_s, input, u"-o"_s, Path(u"b.png"_s)}, noSize},
      {{u"--poids-max"_s, u"100K"_s, input, u"-o"_s, Path(u"b.tif"_s)}, noSize},
      {{u"--poids-max"_s, u"100K"_s, input, u"-o"_s, Path(u"b.bmp"_s)}, noSize},
      {{u"--sans-perte"_s, u"--poids-max"_s, u"1M"_s, input, u"-o"_s, Path(u"b.webp"_s)}, noSize},
      {{u"--sans-perte"_s, u"--poids-max"_s, u"1M"_s, input, u"-o"_s, Path(u"b.jpg"_s)}, noSize},
      {{u"--poids-max"_s, u"1M"_s, u"-f"_s, u"png"_s, input, input, u"-o"_s, folder.path()},
       noSize},
      {{u"--sans-perte"_s, input, u"-o"_s, Path(u"b.avif"_s)},
       u"--sans-perte : le format AVIF ne s'écrit pas sans perte"_s},
      {{u"--sans-perte"_s, u"-f"_s, u"avif"_s, input, input, u"-o"_s, folder.path()},
       u"--sans-perte : le format AVIF ne s'écrit pas sans perte"_s},
      {{u"--poids-max"_s, u"0"_s, input, u"-o"_s, Path(u"b.jpg"_s)}, badSize(u"0"_s)},
      {{u"--poids-max"_s, u"0K"_s, input, u"-o"_s, Path(u"b.jpg"_s)}, badSize(u"0K"_s)},
      {{u"--poids-max"_s, u"K"_s, input, u"-o"_s, Path(u"b.jpg"_s)}, badSize(u"K"_s)},
      {{u"--poids-max"_s, u"-5"_s, input, u"-o"_s, Path(u"b.jpg"_s)}, badSize(u"-5"_s)},
      {{u"--poids-max"_s, u"+5"_s, input, u"-o"_s, Path(u"b.jpg"_s)}, badSize(u"+5"_s)},
      {{u"--poids-max"_s, u"1.5M"_s, input, u"-o"_s, Path(u"b.jpg"_s)}, badSize(u"1.5M"_s)},
      {{u"--poids-max"_s, u"12G"_s, input, u"-o"_s, Path(u"b.jpg"_s)}, badSize(u"12G"_s)},
      {{u"--poids-max"_s, u"200 K"_s, input, u"-o"_s, Path(u"b.jpg"_s)}, badSize(u"200 K"_s)},
      {{u"--poids-max"_s, u"18446744073709552M"_s, input, u"-o"_s, Path(u"b.jpg"_s)},
       badSize(u"18446744073709552M"_s)},
      {{input, u"-o"_s, Path(u"b.jpg"_s), u"--poids-max"_s}, u"--poids-max demande une valeur"_s},
      {{u"-f"_s, u"gif"_s, input, input, u"-o"_s, folder.path()},
       u"format de sortie inconnu : gif (jpg, bmp, png, webp, avif ou tif)"_s},
      {{u"-f"_s, u"tiff"_s, input, input, u"-o"_s, folder.path()},
       u"format de sortie inconnu : tiff (jpg, bmp, png, webp, avif ou tif)"_s},
  };
  for (const auto& c : bad) {
    const BatchRun run = Batch(c.arguments);
    EXPECT_EQ(run.exitCode, 2) << c.arguments.join(' ').toStdString();
    EXPECT_TRUE(run.err.startsWith(u"fotavel-batch : "_s + c.message + u"\n\nUsage : "_s))
        << run.err.toStdString();
  }
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{u"a.bmp"_s});
  // The largest size written in full still counts; m and k as well as M and K.
  for (const QString& size : {u"18446744073709551615"_s, u"3k"_s, u"1m"_s}) {
    EXPECT_EQ(Batch({u"--poids-max"_s, size, input, u"-o"_s, Path(u"b.webp"_s)}).exitCode, 0);
  }
}

}  // namespace
}  // namespace fotavel::testing
