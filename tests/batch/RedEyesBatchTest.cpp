// fotavel-batch's yeux-rouges on real files: the engine's pupil, a miss, a point off the photo.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "batch/BatchFixture.h"
#include "effects/cImageProcessDIB.h"
#include "io/TestFiles.h"
#include "support/Surfaces.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

TEST_F(BatchTest, RedEyesCorrectsTheEyeNamedAndFailsWhereThereIsNone) {
  // Skin with a red pupil of radius 3 at (10, 10) from the top-left.
  cDIBSection face = UniformSurface(41, 25, 150, 170, 220);
  for (std::int32_t y = 7; y <= 13; ++y) {
    for (std::int32_t x = 7; x <= 13; ++x) {
      if ((x - 10) * (x - 10) + (y - 10) * (y - 10) <= 9) SetPixelRGB(face, x, 24 - y, 0xC82D28);
    }
  }
  const QString input = WriteBmp(face, u"visage.bmp"_s), out = Path(u"sortie.bmp"_s);
  BatchRun run = Batch({u"-e"_s, u"yeux-rouges=11,9,5"_s, input, u"-o"_s, out});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  cDIBSection expected = Copy(face);
  EXPECT_EQ(cImageProcessDIB().RedEyes(expected, 11, 9, 5), 29);
  EXPECT_EQ(FirstDifference(MustRead(out), expected), "");
  ASSERT_TRUE(QFile::remove(out));

  // On skin the photo fails as any command that cannot be done, and is not written; off the
  // photo the argument is at fault; wrong text stops the run before any photo is read.
  const struct {
    QString effect;
    int status;
    QString err;
  } failures[] = {
      {u"yeux-rouges=30,20,5"_s, 1,
       input + u" : Aucun œil rouge trouvé à 5 pixels ou moins de (30, 20). (erreur 0x80040578, "
               u"fotavel-batch.PhotoDocument)\n"_s},
      {u"yeux-rouges=41,0,5"_s, 2,
       input + u" : Impossible de corriger les yeux rouges en (41, 0)"_s},
      {u"yeux-rouges=1,2,0"_s, 2,
       u"fotavel-batch : yeux-rouges=1,2,0 : le point se compte en pixels à partir de 0, le coin "
       u"haut gauche, et le rayon vaut au moins 1"_s},
  };
  for (const auto& f : failures) {
    run = Batch({u"-e"_s, f.effect, input, u"-o"_s, out});
    EXPECT_EQ(run.exitCode, f.status) << f.effect.toStdString();
    EXPECT_TRUE(run.err.startsWith(f.err)) << run.err.toStdString();
  }
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{u"visage.bmp"_s});
}

}  // namespace
}  // namespace fotavel::testing
