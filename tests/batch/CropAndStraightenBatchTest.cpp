// fotavel-batch's recadrer and redresser on real files: sizes, pixels, and what is refused.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "batch/BatchFixture.h"
#include "effects/cImageProcessDIB.h"
#include "io/PictureFiles.h"
#include "io/TestFiles.h"
#include "support/Surfaces.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

using CropAndStraightenBatchTest = BatchTest;

// Storage rows count from the bottom: row 20 from the top of 120 is 99, row 0 of 50 is 49.
TEST_F(CropAndStraightenBatchTest, CropsAndStraightensPhotoFiles) {
  const cDIBSection photo = RandomSurface(160, 120, 5);
  const QString input = WriteBmp(photo, u"photo.bmp"_s);
  const cDIBSection cropped = Result(u"recadrer=10,20,110,70"_s, input);
  ASSERT_EQ(std::pair(cropped.width(), cropped.height()), std::pair(100, 50));
  EXPECT_EQ(PixelRGB(cropped, 0, 49), PixelRGB(photo, 10, 99));
  // 3:2 takes the whole width, 160 × 2 / 3 = 106 rows, (120 - 106) / 2 = 7 rows above.
  const cDIBSection ratio = Result(u"recadrer=3:2"_s, input);
  ASSERT_EQ(std::pair(ratio.width(), ratio.height()), std::pair(160, 106));
  EXPECT_EQ(PixelRGB(ratio, 0, 105), PixelRGB(photo, 0, 112));
  // The engine's own turn, the angle read with its decimal point.
  for (const auto& [text, degrees, white] : {std::tuple(u"redresser=2.5"_s, 2.5, false),
                                             std::tuple(u"redresser=-2.5:blanc"_s, -2.5, true)}) {
    cDIBSection expected = Copy(photo);
    cImageProcessDIB().Straighten(expected, degrees, white);
    EXPECT_EQ(FirstDifference(Result(text, input), expected), "") << text.toStdString();
  }
}

// Wrong text stops the run before any photo is read: the photo named does not even exist.
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
    const BatchRun run = Batch({u"-e"_s, c.effect, missing, u"-o"_s, out});
    EXPECT_EQ(run.exitCode, 2) << c.effect.toStdString();
    EXPECT_TRUE(run.err.startsWith(u"fotavel-batch : "_s + c.effect + u" : "_s + c.message +
                                   u"\n\nUsage : fotavel-batch"_s))
        << run.err.toStdString();
  }
  EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

// A rectangle past one photo's edges is a usage error known once it is read: that photo is named
// and not written, the others are done, and the status is still 2 beside a photo that fails.
TEST_F(CropAndStraightenBatchTest, ARectanglePastAPhotosEdgesIsAUsageErrorForThatPhoto) {
  const QStringList inputs = {WriteBmp(RandomSurface(200, 100, 1), u"a.bmp"_s),
                              WriteBmp(RandomSurface(50, 40, 2), u"petite.bmp"_s),
                              Path(u"illisible.bmp"_s),
                              WriteBmp(RandomSurface(110, 70, 3), u"juste.bmp"_s)};
  WriteBytes(inputs[2], "pas une photo");
  for (const QString& jobs : {u"1"_s, u"3"_s}) {
    ASSERT_TRUE(QDir(folder.path()).mkdir(jobs));
    const BatchRun run =
        Batch(QStringList{u"-j"_s, jobs, u"-f"_s, u"bmp"_s, u"-e"_s, u"recadrer=10,20,110,70"_s} +
              inputs + QStringList{u"-o"_s, Path(jobs)});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, inputs[1] +
                           u" : Impossible de recadrer la photo de 50 x 40 pixels : le rectangle "
                           u"de 100 x 50 pixels en (10, 20) en sort. (erreur 0x80040578, "
                           u"fotavel-batch.PhotoDocument)\n"_s +
                           inputs[2] +
                           u" : Une erreur est survenue lors de l'ouverture de : format d'image "
                           u"inconnu (erreur 0x800405DC, fotavel-batch.PictureFiles)\n"_s);
    EXPECT_EQ(QDir(Path(jobs)).entryList(QDir::Files), (QStringList{u"a.bmp"_s, u"juste.bmp"_s}));
  }
}

}  // namespace
}  // namespace fotavel::testing
