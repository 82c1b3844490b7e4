// fotavel-batch writing PNG, WebP, AVIF and TIFF, without loss, and within a file size; JPEG
// photos only turned written by moving their blocks, and --sans-perte refusing what cannot be.
#include <turbojpeg.h>

#include <QDir>
#include <QFileInfo>

#include "batch/BatchFixture.h"
#include "document/LosslessMessages.h"
#include "document/Messages.h"
#include "effects/cImageProcessDIB.h"
#include "io/JpegFiles.h"
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
  const QString input = WriteBmp(RandomSurface(4, 4, 2), u"a.bmp"_s), jpg = Path(u"b.jpg"_s),
                dir = folder.path();
  const QString noSize =
      u"--poids-max : seuls les JPEG, WebP et AVIF écrits avec une qualité, sans --sans-perte, "
      u"peuvent être ajustés à une taille"_s;
  const QString noAvif = u"--sans-perte : le format AVIF ne s'écrit pas sans perte"_s;
  const auto badSize = [](const QString& v) {
    return u"--poids-max : la taille est un nombre d'octets de 1 ou plus, suivi ou non de K "
           u"(milliers) ou M (millions) (« %1 »)"_s.arg(v);
  };
  const std::pair<QStringList, QString> bad[] = {
      {{u"--poids-max"_s, u"100K"_s, input, u"-o"_s, Path(u"b.tif"_s)}, noSize},
      {{u"--sans-perte"_s, u"--poids-max"_s, u"1M"_s, input, u"-o"_s, Path(u"b.webp"_s)}, noSize},
      {{u"--sans-perte"_s, u"--poids-max"_s, u"1M"_s, input, u"-o"_s, jpg}, noSize},
      {{u"--poids-max"_s, u"1M"_s, u"-f"_s, u"png"_s, input, input, u"-o"_s, dir}, noSize},
      {{u"--sans-perte"_s, input, u"-o"_s, Path(u"b.avif"_s)}, noAvif},
      {{u"--sans-perte"_s, u"-f"_s, u"avif"_s, input, input, u"-o"_s, dir}, noAvif},
      {{u"-f"_s, u"tiff"_s, input, input, u"-o"_s, dir},
       u"format de sortie inconnu : tiff (jpg, bmp, png, webp, avif ou tif)"_s},
      {{u"--poids-max"_s, u"0"_s, input, u"-o"_s, jpg}, badSize(u"0"_s)},
      {{u"--poids-max"_s, u"K"_s, input, u"-o"_s, jpg}, badSize(u"K"_s)},
      {{u"--poids-max"_s, u"1.5M"_s, input, u"-o"_s, jpg}, badSize(u"1.5M"_s)},
      {{u"--poids-max"_s, u"200 K"_s, input, u"-o"_s, jpg}, badSize(u"200 K"_s)},
      {{u"--poids-max"_s, u"18446744073709552M"_s, input, u"-o"_s, jpg},
       badSize(u"18446744073709552M"_s)},
      {{input, u"-o"_s, jpg, u"--poids-max"_s}, u"--poids-max demande une valeur"_s},
  };
  for (const auto& [arguments, message] : bad) {
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

class LosslessBatch : public BatchTest {
 protected:
  QString WriteJpeg(std::int32_t width, std::int32_t height, const QString& name) {
    WriteBytes(Path(name), EncodeJpeg(SmoothSurface(width, height), false));
    return Path(name);
  }
  // The run of `effects` on `input` into `output`, with more options after.
  BatchRun Run(const QStringList& effects, const QString& input, const QStringList& more = {}) {
    QStringList arguments;
    for (const QString& effect : effects) arguments << u"-e"_s << effect;
    return Batch(arguments + more + QStringList{input, u"-o"_s, output});
  }
  const QString output = Path(u"sortie.jpg"_s);
};

// Quarter turns are written as libturbojpeg moves the blocks, with or without --sans-perte, which
// also copies the blocks of a photo turned back to how it opened. Without it that photo, or one
// whose edges are off the blocks, is encoded whole at the default quality.
TEST_F(LosslessBatch, QuarterTurnsMoveTheBlocksOtherwiseThePhotoIsEncoded) {
  const QString input = WriteJpeg(48, 32, u"photo.jpg"_s);
  const QByteArray jpeg = ReadBytes(input);
  const struct {
    QStringList effects;
    int operation;
    bool onlyWithoutLoss;
  } cases[] = {
      {{u"gauche"_s}, TJXOP_ROT270, false},
      {{u"gauche"_s, u"gauche"_s}, TJXOP_ROT180, false},
      {{u"gauche"_s, u"droite"_s}, TJXOP_NONE, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.effects.join(u' ').toStdString());
    for (const QStringList& more : {QStringList{}, QStringList{u"--sans-perte"_s}}) {
      if (c.onlyWithoutLoss && more.isEmpty()) continue;
      const BatchRun run = Run(c.effects, input, more);
      EXPECT_EQ(std::pair(run.exitCode, run.err), std::pair(0, QString()));
      EXPECT_EQ(ReadBytes(output), TurboTransformed(jpeg, c.operation, TJXOPT_PERFECT));
    }
  }
  const QString odd = WriteJpeg(37, 21, u"impaire.jpg"_s);
  for (const auto& [effects, photo] :
       {std::pair(QStringList{u"gauche"_s, u"droite"_s}, input), {QStringList{u"droite"_s}, odd}}) {
    ASSERT_EQ(Run(effects, photo).exitCode, 0);
    cDIBSection turned = MustRead(photo);
    if (effects.size() == 1) cImageProcessDIB().Tourner(turned, false);
    const QString encoded = Path(u"encodee.jpg"_s);
    io::WriteJpeg(turned, encoded, 70);
    EXPECT_EQ(ReadBytes(output), ReadBytes(encoded)) << photo.toStdString();
  }
}

// --sans-perte refuses, saying why, a photo changed otherwise than by quarter turns, one whose
// edges are off the blocks, one not opened from a JPEG: exit 1, nothing written; the others of
// the run are still written.
TEST_F(LosslessBatch, WithoutLossRefusesWhatCannotBeMovedSayingWhy) {
  const QString input = WriteJpeg(48, 32, u"photo.jpg"_s);
  const QString odd = WriteJpeg(37, 21, u"impaire.jpg"_s);
  const QString bitmap = WriteBmp(SmoothSurface(48, 32), u"image.bmp"_s);
  const struct {
    QStringList effects;
    QString input, reason;
    const char* module;
  } refusals[] = {
      {{u"clair=30"_s, u"droite"_s}, input, Messages::AutresChangements(), "PhotoDocument"},
      {{u"droite"_s},
       odd,
       u"les côtés de la photo (37 x 21 pixels) ne sont pas des multiples des blocs JPEG "
       u"(16 x 16 pixels) : la tourner sans perte couperait ses bords"_s,
       "LosslessJpeg"},
      {{u"droite"_s}, bitmap, Messages::PasOuverteDUnJpeg(), "PhotoDocument"},
  };
  for (const auto& c : refusals) {
    const BatchRun run = Run(c.effects, c.input, {u"--sans-perte"_s});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, c.input + u" : "_s + Messages::kEnregistrementErreur + output + u" : "_s +
                           c.reason + u" (erreur 0x800405DD, fotavel-batch."_s +
                           QLatin1String(c.module) + u")\n"_s);
  }
  EXPECT_FALSE(QFileInfo::exists(output));

  ASSERT_TRUE(QDir(folder.path()).mkdir(u"sorties"_s));
  const QDir outputs(Path(u"sorties"_s));
  const BatchRun run =
      Batch({u"-e"_s, u"gauche"_s, u"--sans-perte"_s, odd, input, u"-o"_s, outputs.path()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.startsWith(odd + u" : "_s)) << run.err.toStdString();
  EXPECT_EQ(outputs.entryList(QDir::Files), QStringList{u"photo.jpg"_s});
  EXPECT_EQ(ReadBytes(outputs.filePath(u"photo.jpg"_s)),
            TurboTransformed(ReadBytes(input), TJXOP_ROT270, TJXOPT_PERFECT));
}

}  // namespace
}  // namespace fotavel::testing
