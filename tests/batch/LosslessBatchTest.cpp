// fotavel-batch writing JPEG photos only turned by moving their blocks, and --sans-perte refusing
// what cannot be written so.
#include <turbojpeg.h>

#include <QFileInfo>

#include "BatchFixture.h"
#include "document/LosslessMessages.h"
#include "document/Messages.h"
#include "effects/cImageProcessDIB.h"
#include "io/JpegFiles.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

class LosslessBatch : public BatchTest {
 protected:
  QString WriteJpeg(std::int32_t width, std::int32_t height, const QString& name) {
    WriteBytes(Path(name), EncodeJpeg(SmoothSurface(width, height), false));
    return Path(name);
  }
  // The run of `effects` on `input` into `output`, with more options after.
  BatchRun Run(const QStringList& effects, const QString& input, const QString& output,
               const QStringList& more = {}) {
    QStringList arguments;
    for (const QString& effect : effects) arguments << u"-e"_s << effect;
    return Batch(arguments + more + QStringList{input, u"-o"_s, output});
  }
  // What the encoder writes of the photo at `input` turned by the engine (left or right), at the
  // default quality.
  QByteArray Encoded(const QString& input, std::optional<bool> left) {
    cDIBSection photo = MustRead(input);
    if (left) cImageProcessDIB().Tourner(photo, *left);
    const QString path = Path(u"encodee.jpg"_s);
    EXPECT_NO_THROW(io::WriteJpeg(photo, path, 70));
    return ReadBytes(path);
  }
  // The line a photo refused on saving says.
  static QString Refused(const QString& input, const QString& output, const QString& reason,
                         const char* module) {
    return input + u" : "_s + Messages::kEnregistrementErreur + output + u" : "_s + reason +
           u" (erreur 0x800405DD, fotavel-batch."_s + QLatin1String(module) + u")\n"_s;
  }
};

TEST_F(LosslessBatch, QuarterTurnsAreWrittenAsLibturbojpegMovesTheBlocks) {
  const QString input = WriteJpeg(48, 32, u"photo.jpg"_s);
  const QByteArray jpeg = ReadBytes(input);
  const QString output = Path(u"sortie.jpg"_s);
  for (const auto& [effects, operation] :
       {std::pair(QStringList{u"gauche"_s}, TJXOP_ROT270),
        {QStringList{u"droite"_s}, TJXOP_ROT90},
        {QStringList{u"droite"_s, u"droite"_s, u"droite"_s}, TJXOP_ROT270},
        {QStringList{u"gauche"_s, u"gauche"_s}, TJXOP_ROT180}}) {
    SCOPED_TRACE(effects.join(u' ').toStdString());
    for (const QStringList& more : {QStringList{}, QStringList{u"--sans-perte"_s}}) {
      const BatchRun run = Run(effects, input, output, more);
      EXPECT_EQ(run.exitCode, 0);
      EXPECT_EQ(run.err, QString());
      EXPECT_EQ(ReadBytes(output), TurboTransformed(jpeg, operation, TJXOPT_PERFECT));
    }
  }
}

// Turned back to how it opened, or turned with edges off the blocks, a photo is encoded as
// before, whole; --sans-perte copies the blocks of an unturned photo as they are.
TEST_F(LosslessBatch, OtherwiseTheEncoderWritesThePhotoWhole) {
  const QString input = WriteJpeg(48, 32, u"photo.jpg"_s);
  const QString odd = WriteJpeg(37, 21, u"impaire.jpg"_s);
  const QString output = Path(u"sortie.jpg"_s);
  BatchRun run = Run({u"gauche"_s, u"droite"_s}, input, output);
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(ReadBytes(output), Encoded(input, std::nullopt));
  run = Run({u"droite"_s}, odd, output);
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(ReadBytes(output), Encoded(odd, false));
  run = Run({u"gauche"_s, u"droite"_s}, input, output, {u"--sans-perte"_s});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(ReadBytes(output), TurboTransformed(ReadBytes(input), TJXOP_NONE, TJXOPT_PERFECT));
}

// --sans-perte refuses, saying why, a photo changed otherwise than by quarter turns, one whose
// edges are off the blocks, one not opened from a JPEG; the others of the run are still written.
TEST_F(LosslessBatch, WithoutLossRefusesWhatCannotBeMovedSayingWhy) {
  const QString input = WriteJpeg(48, 32, u"photo.jpg"_s);
  const QString odd = WriteJpeg(37, 21, u"impaire.jpg"_s);
  const QString bitmap = WriteBmp(SmoothSurface(48, 32), u"image.bmp"_s);
  const QString output = Path(u"sortie.jpg"_s);

  BatchRun run = Run({u"clair=30"_s, u"droite"_s}, input, output, {u"--sans-perte"_s});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, Refused(input, output, Messages::AutresChangements(), "PhotoDocument"));
  run = Run({u"droite"_s}, odd, output, {u"--sans-perte"_s});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err,
            Refused(odd, output,
                    u"les côtés de la photo (37 x 21 pixels) ne sont pas des multiples des "
                    u"blocs JPEG (16 x 16 pixels) : la tourner sans perte couperait ses "
                    u"bords"_s,
                    "LosslessJpeg"));
  run = Run({u"droite"_s}, bitmap, output, {u"--sans-perte"_s});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, Refused(bitmap, output, Messages::PasOuverteDUnJpeg(), "PhotoDocument"));
  EXPECT_FALSE(QFileInfo::exists(output));

  ASSERT_TRUE(QDir(folder.path()).mkdir(u"sorties"_s));
  const QString outputs = Path(u"sorties"_s);
  run = Batch({u"-e"_s, u"gauche"_s, u"--sans-perte"_s, odd, input, u"-o"_s, outputs});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.startsWith(odd + u" : "_s)) << run.err.toStdString();
  EXPECT_FALSE(QFileInfo::exists(QDir(outputs).filePath(u"impaire.jpg"_s)));
  EXPECT_EQ(ReadBytes(QDir(outputs).filePath(u"photo.jpg"_s)),
            TurboTransformed(ReadBytes(input), TJXOP_ROT270, TJXOPT_PERFECT));
}

}  // namespace
}  // namespace fotavel::testing
