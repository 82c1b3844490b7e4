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
      {{u"droite"_s, u"droite"_s, u"droite"_s}, TJXOP_ROT270, false},
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
