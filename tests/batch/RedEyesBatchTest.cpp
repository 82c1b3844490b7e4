// fotavel-batch's yeux-rouges on real files: the engine's pupil, a miss, a point off the photo.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "batch/BatchFixture.h"
#include "effects/cImageProcessDIB.h"
#include "io/PictureFiles.h"
#include "io/TestFiles.h"
#include "support/Surfaces.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

using RedEyesBatchTest = BatchTest;

// Skin with a red pupil of radius 3 at (10, 10) from the top-left.
cDIBSection Face() {
  cDIBSection face = UniformSurface(41, 25, 150, 170, 220);
  for (std::int32_t y = 7; y <= 13; ++y) {
    for (std::int32_t x = 7; x <= 13; ++x) {
      if ((x - 10) * (x - 10) + (y - 10) * (y - 10) <= 9) SetPixelRGB(face, x, 24 - y, 0xC82D28);
    }
  }
  return face;
}

TEST_F(RedEyesBatchTest, CorrectsTheEyeNamedAndFailsWhereThereIsNone) {
  const cDIBSection face = Face();
  const QString input = WriteBmp(face, u"visage.bmp"_s), out = Path(u"sortie.bmp"_s);
  BatchRun run = Batch({u"-e"_s, u"yeux-rouges=11,9,5"_s, input, u"-o"_s, out});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  cDIBSection expected = Copy(face);
  EXPECT_EQ(cImageProcessDIB().RedEyes(expected, 11, 9, 5), 29);
  EXPECT_EQ(FirstDifference(MustRead(out), expected), "");
  ASSERT_TRUE(QFile::remove(out));

  // On skin: the photo fails as any command that cannot be done, and is not written.
  run = Batch({u"-e"_s, u"yeux-rouges=30,20,5"_s, input, u"-o"_s, out});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, input +
                         u" : Aucun œil rouge trouvé à 5 pixels ou moins de (30, 20). (erreur "
                         u"0x80040578, fotavel-batch.PhotoDocument)\n"_s);
  EXPECT_FALSE(QFile::exists(out));

  // Off this photo: the argument's fault, known once the photo is read.
  run = Batch({u"-e"_s, u"yeux-rouges=41,0,5"_s, input, u"-o"_s, out});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(run.err.startsWith(input + u" : Impossible de corriger les yeux rouges en (41, 0)"_s))
      << run.err.toStdString();
  EXPECT_FALSE(QFile::exists(out));

  // Wrong text stops the run before any photo is read.
  for (const QString& effect :
       {u"yeux-rouges=1,2"_s, u"yeux-rouges=1,2,0"_s, u"yeux-rouges=-1,2,3"_s, u"yeux-rouges"_s}) {
    run = Batch({u"-e"_s, effect, Path(u"absente.bmp"_s), u"-o"_s, out});
    EXPECT_EQ(run.exitCode, 2) << effect.toStdString();
    EXPECT_TRUE(run.err.startsWith(u"fotavel-batch : "_s + effect + u" : "_s))
        << run.err.toStdString();
  }
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{u"visage.bmp"_s});
}

}  // namespace
}  // namespace fotavel::testing
