// fotavel-batch writing PNG, WebP, AVIF and TIFF, without loss, and within a file size.
#include <QDir>
#include <QFileInfo>

#include "batch/BatchFixture.h"
#include "io/SaveFormats.h"
#include "support/Surfaces.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;
using SaveFormatsBatchTest = BatchTest;

// -o's extension, in any case, or -f for a folder picks the format, -q the quality and
// --sans-perte a WebP without loss: each result is the very file the file layer makes with those
// settings, named with the format's usual extension in a folder.
TEST_F(SaveFormatsBatchTest, TheOutputsExtensionOrFPicksTheFormat) {
  const cDIBSection photos[] = {RandomSurface(37, 23, 1), RandomSurface(37, 23, 2)};
  const QStringList inputs{WriteBmp(photos[0], u"un.bmp"_s), WriteBmp(photos[1], u"deux.bmp"_s)};
  const struct {
    const char* name;  // a file, or "-f" and the folder's format
    io::SaveFormat format;
    bool lossless;  // --sans-perte given
  } cases[] = {
      {"s.png", io::SaveFormat::Png, false},    {"s.TIFF", io::SaveFormat::Tiff, true},
      {"s.webp", io::SaveFormat::Webp, true},   {"s.WebP", io::SaveFormat::Webp, false},
      {"s.avif", io::SaveFormat::Avif, false},  {"s.Jpg", io::SaveFormat::Jpeg, false},
      {"-f jpg", io::SaveFormat::Jpeg, false},  {"-f bmp", io::SaveFormat::Bmp, false},
      {"-f png", io::SaveFormat::Png, false},   {"-f webp", io::SaveFormat::Webp, true},
      {"-f avif", io::SaveFormat::Avif, false}, {"-f tif", io::SaveFormat::Tiff, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString name = QString::fromUtf8(c.name);
    QStringList arguments{u"-q"_s, u"55"_s};
    if (c.lossless) arguments << u"--sans-perte"_s;
    QString out = Path(name);
    QStringList written;  // what a folder output must hold
    if (name.startsWith(u"-f "_s)) {
      const QString extension = name.mid(3);
      ASSERT_TRUE(QDir(folder.path()).mkdir(extension));
      arguments << u"-f"_s << extension << inputs << u"-o"_s << Path(extension);
      out = QDir(Path(extension)).filePath(u"un."_s + extension);
      written = {u"deux."_s + extension, u"un."_s + extension};
    } else {
      arguments << inputs[0] << u"-o"_s << out;
    }
    const BatchRun run = Batch(arguments);
    EXPECT_EQ(std::pair(run.exitCode, run.err), std::pair(0, QString()));
    if (!written.isEmpty()) {
      EXPECT_EQ(QFileInfo(out).dir().entryList(QDir::Files, QDir::Name), written);
    }
    EXPECT_EQ(
        ReadBytes(out),
        io::EncodePicture(photos[0], {.format = c.format, .quality = 55, .lossless = c.lossless})
            .ToBytes());
  }
}

// Each file of a run with --poids-max holds at most that many bytes, as the file layer fits it; a
// photo that had to be halved is said with its new size, and only such a photo.
TEST_F(SaveFormatsBatchTest, PoidsMaxKeepsEachFileWithinItsSize) {
  const cDIBSection noisy = RandomSurface(401, 301, 4);
  const QString input = WriteBmp(noisy, u"bruit.bmp"_s);
  int halved = 0;
  for (const io::SaveFormat format :
       {io::SaveFormat::Jpeg, io::SaveFormat::Webp, io::SaveFormat::Avif}) {
    for (const auto& [limit, written] : {std::pair(200000, u"200K"_s), {20000, u"20000"_s}}) {
      const QString out = Path(u"r%1."_s.arg(limit) + io::ExtensionFor(format));
      SCOPED_TRACE(out.toStdString());
      const io::SizeFit reference =
          io::EncodeWithinSize(noisy, {.format = format, .quality = 90}, limit);
      const BatchRun run =
          Batch({u"-q"_s, u"90"_s, u"--poids-max"_s, written, input, u"-o"_s, out});
      ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
      EXPECT_EQ(run.err,
                reference.halvings == 0
                    ? QString()
                    : u"%1 : réduite à %2 x %3 pour ne pas dépasser %4 octets\n"_s.arg(input)
                          .arg(reference.width)
                          .arg(reference.height)
                          .arg(limit));
      EXPECT_EQ(ReadBytes(out), reference.file.ToBytes());
      halved += reference.halvings;
    }
  }
  EXPECT_GT(halved, 0);
}

// What the format cannot give is refused before any photo is read, with the usage: no size for a
// format without a quality, AVIF never without loss, a size that is not one.
TEST_F(SaveFormatsBatchTest, SaveOptionsTheFormatCannotTakeAreUsageErrors) {
  const QString input = WriteBmp(RandomSurface(4, 4, 2), u"a.bmp"_s);
  const QString noSize =
      u"--poids-max : seuls les JPEG, WebP et AVIF écrits avec une qualité, sans --sans-perte, "
      u"peuvent être ajustés à une taille"_s;
  const QString noAvif = u"--sans-perte : le format AVIF ne s'écrit pas sans perte"_s;
  const struct {
    QStringList options;
    QString output, message;
  } bad[] = {
      {{u"--poids-max"_s, u"100K"_s}, u"b.tif"_s, noSize},
      {{u"--sans-perte"_s, u"--poids-max"_s, u"1M"_s}, u"b.webp"_s, noSize},
      {{u"--sans-perte"_s, u"--poids-max"_s, u"1M"_s}, u"b.jpg"_s, noSize},
      {{u"--poids-max"_s, u"1M"_s, u"-f"_s, u"png"_s, input}, QString(), noSize},
      {{u"--sans-perte"_s}, u"b.avif"_s, noAvif},
      {{u"--sans-perte"_s, u"-f"_s, u"avif"_s, input}, QString(), noAvif},
      {{u"-f"_s, u"tiff"_s, input},
       QString(),
       u"format de sortie inconnu : tiff (jpg, bmp, png, webp, avif ou tif)"_s},
  };
  std::vector<std::pair<QStringList, QString>> runs;
  for (const auto& c : bad) {
    runs.emplace_back(c.options + QStringList{input, u"-o"_s,
                                              c.output.isEmpty() ? folder.path() : Path(c.output)},
                      c.message);
  }
  for (const QString& size :
       {u"0"_s, u"K"_s, u"-5"_s, u"1.5M"_s, u"12G"_s, u"200 K"_s, u"18446744073709552M"_s}) {
    runs.emplace_back(QStringList{u"--poids-max"_s, size, input, u"-o"_s, Path(u"b.jpg"_s)},
                      u"--poids-max : la taille est un nombre d'octets de 1 ou plus, suivi ou non "
                      u"de K (milliers) ou M (millions) (« %1 »)"_s.arg(size));
  }
  runs.emplace_back(QStringList{input, u"-o"_s, Path(u"b.jpg"_s), u"--poids-max"_s},
                    u"--poids-max demande une valeur"_s);
  for (const auto& [arguments, message] : runs) {
    const BatchRun run = Batch(arguments);
    EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
    EXPECT_TRUE(run.err.startsWith(u"fotavel-batch : "_s + message + u"\n\nUsage : "_s))
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
