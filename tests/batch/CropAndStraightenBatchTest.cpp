// fotavel-batch's recadrer and redresser on real files: sizes, pixels, and what is refused.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "effects/CropGeometry.h"
#include "effects/cImageProcessDIB.h"
#include "io/PictureFiles.h"
#include "io/TestFiles.h"
#include "support/Surfaces.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

// The pixel at column x of the row `y` from the top, as the user sees it.
std::uint32_t Shown(const cDIBSection& s, std::int32_t x, std::int32_t y) {
  return PixelRGB(s, x, s.height() - 1 - y);
}

class CropAndStraightenBatchTest : public ::testing::Test {
 protected:
  struct Run {
    int exitCode;
    QString err;
  };
  Run Batch(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(FOTAVEL_BATCH_PATH), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
  }
  QString Path(const QString& name) const { return folder.filePath(name); }
  QString WriteBmp(const cDIBSection& picture, const QString& name) {
    EXPECT_NO_THROW(io::WriteBmp(picture, Path(name)));
    return Path(name);
  }
  // The result of one effect on `input`, written as a BMP.
  cDIBSection Result(const QString& effect, const QString& input) {
    const QString out = Path(u"sortie.bmp"_s);
    QFile::remove(out);
    const Run run = Batch({u"-e"_s, effect, input, u"-o"_s, out});
    EXPECT_EQ(run.exitCode, 0) << effect.toStdString() << ": " << run.err.toStdString();
    return MustRead(out);
  }
  QTemporaryDir folder;
};

TEST_F(CropAndStraightenBatchTest, CropsAndStraightensPhotoFiles) {
  const cDIBSection photo = RandomSurface(160, 120, 5);  // 4:3
  const QString input = WriteBmp(photo, u"photo.bmp"_s);

  // Columns 10 … 109, rows 20 … 69.
  const cDIBSection cropped = Result(u"recadrer=10,20,110,70"_s, input);
  ASSERT_EQ(std::pair(cropped.width(), cropped.height()), std::pair(100, 50));
  EXPECT_EQ(Shown(cropped, 0, 0), Shown(photo, 10, 20));
  EXPECT_EQ(Shown(cropped, 99, 49), Shown(photo, 109, 69));

  // 3:2 takes the whole width, 160 × 2 / 3 = 106 rows, (120 - 106) / 2 = 7 rows above.
  const cDIBSection ratio = Result(u"recadrer=3:2"_s, input);
  ASSERT_EQ(std::pair(ratio.width(), ratio.height()), std::pair(160, 106));
  EXPECT_EQ(Shown(ratio, 0, 0), Shown(photo, 0, 7));
  EXPECT_EQ(Shown(ratio, 159, 105), Shown(photo, 159, 112));

  // The engine's own turn, the angle read with its decimal point.
  for (const auto& [text, degrees, white] : {std::tuple(u"redresser=2.5"_s, 2.5, false),
                                             std::tuple(u"redresser=-2.5:blanc"_s, -2.5, true)}) {
    const cDIBSection turned = Result(text, input);
    const PixelSize size = StraightenedSize(160, 120, degrees, white);
    ASSERT_EQ(std::pair(turned.width(), turned.height()), std::pair(size.width, size.height))
        << text.toStdString();
    cDIBSection expected = Copy(photo);
    cImageProcessDIB().Straighten(expected, degrees, white);
    EXPECT_TRUE(SamePixels(turned, expected)) << FirstDifference(turned, expected);
  }
}

// What the text alone shows to be wrong stops the run before any photo is read (the photo named
// does not even exist: reading it would have been said instead).
TEST_F(CropAndStraightenBatchTest, ArgumentsThatCannotBeAreUsageErrors) {
  const QString missing = Path(u"absente.bmp"_s), out = Path(u"sortie.bmp"_s);
  const QString rectangle = u"forme attendue : GAUCHE,HAUT,DROITE,BAS ou LARGEUR:HAUTEUR"_s;
  const QString angle =
      u"forme attendue : ANGLE ou ANGLE:blanc, l'angle en degrés avec un point décimal (-2.5)"_s;
  const QString order = u"la droite doit dépasser la gauche, et le bas le haut"_s;
  const QString range = u"l'angle va de -45 à 45 degrés"_s;
  const struct {
    QString effect, message;
  } bad[] = {
      {u"recadrer=10,20,10,70"_s, order},
      {u"recadrer=10,70,110,20"_s, order},
      {u"recadrer=-10,20,110,70"_s,
       u"les bords se comptent en pixels à partir de 0, le coin haut gauche"_s},
      {u"recadrer=0:2"_s, u"les deux termes du rapport sont des entiers de 1 ou plus"_s},
      {u"recadrer=3:-2"_s, u"les deux termes du rapport sont des entiers de 1 ou plus"_s},
      {u"recadrer=10,20,110"_s, rectangle},
      {u"recadrer=dix,20,110,70"_s, rectangle},
      {u"recadrer=1.5:1"_s, rectangle},
      {u"recadrer"_s, rectangle},
      {u"redresser=2,5"_s, angle},
      {u"redresser=nan"_s, angle},
      {u"redresser=inf"_s, angle},
      {u"redresser=1e1"_s, angle},
      {u"redresser=0x1p2"_s, angle},
      {u"redresser=+-2"_s, angle},
      {u"redresser=2.5:noir"_s, angle},
      {u"redresser"_s, angle},
      {u"redresser=45.5"_s, range},
      {u"redresser=-90:blanc"_s, range},
  };
  for (const auto& c : bad) {
    const Run run = Batch({u"-e"_s, c.effect, missing, u"-o"_s, out});
    EXPECT_EQ(run.exitCode, 2) << c.effect.toStdString();
    EXPECT_TRUE(run.err.startsWith(u"fotavel-batch : "_s + c.effect + u" : "_s + c.message +
                                   u"\n\nUsage : fotavel-batch"_s))
        << run.err.toStdString();
  }
  EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

// A rectangle past one photo's edges is the user's mistake too, only known once that photo is
// read: the photo is named with its size and not written, the others are done as they would be
// without it, and the run ends with the usage status, even beside a photo that fails.
TEST_F(CropAndStraightenBatchTest, ARectanglePastAPhotosEdgesIsAUsageErrorForThatPhoto) {
  const QStringList inputs = {WriteBmp(RandomSurface(200, 100, 1), u"a.bmp"_s),
                              WriteBmp(RandomSurface(50, 40, 2), u"petite.bmp"_s),
                              Path(u"illisible.bmp"_s),
                              WriteBmp(RandomSurface(110, 70, 3), u"juste.bmp"_s)};
  WriteBytes(inputs[2], "pas une photo");
  ASSERT_TRUE(QDir(folder.path()).mkdir(u"sortie"_s));
  for (const QString& jobs : {u"1"_s, u"3"_s}) {
    const Run run =
        Batch(QStringList{u"-j"_s, jobs, u"-f"_s, u"bmp"_s, u"-e"_s, u"recadrer=10,20,110,70"_s} +
              inputs + QStringList{u"-o"_s, Path(u"sortie"_s)});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, inputs[1] +
                           u" : Impossible de recadrer la photo de 50 x 40 pixels : le rectangle "
                           u"de 100 x 50 pixels en (10, 20) en sort. (erreur 0x80040578, "
                           u"fotavel-batch.PhotoDocument)\n"_s +
                           inputs[2] +
                           u" : Une erreur est survenue lors de l'ouverture de : format d'image "
                           u"inconnu (erreur 0x800405DC, fotavel-batch.PictureFiles)\n"_s);
    EXPECT_EQ(QDir(Path(u"sortie"_s)).entryList(QDir::Files),
              (QStringList{u"a.bmp"_s, u"juste.bmp"_s}));
    const cDIBSection fitted = MustRead(Path(u"sortie/juste.bmp"_s));
    EXPECT_EQ(std::pair(fitted.width(), fitted.height()), std::pair(100, 50));
    for (const QString& name : QDir(Path(u"sortie"_s)).entryList(QDir::Files)) {
      QFile::remove(Path(u"sortie/"_s + name));
    }
  }
  // Alone, the photo still ends the run with the usage status and leaves no file.
  const Run alone =
      Batch({u"-e"_s, u"recadrer=10,20,110,70"_s, inputs[1], u"-o"_s, Path(u"petite.jpg"_s)});
  EXPECT_EQ(alone.exitCode, 2);
  EXPECT_FALSE(QFileInfo::exists(Path(u"petite.jpg"_s)));
}

}  // namespace
}  // namespace fotavel::testing
