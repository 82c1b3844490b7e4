// fotavel-batch's auto and reglages on real files: pixels, a photo left unchanged, and refusals.
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

using AdjustmentsBatchTest = BatchTest;

// reglages=0,20 is contrast 20 alone; a photo already spanning the range comes back from auto as
// it was, a grey one of 40 … 160 is stretched (60 × 255 / 120 = 127.5 -> 128).
TEST_F(AdjustmentsBatchTest, AdjustsOrImprovesPhotoFiles) {
  const cDIBSection photo = RandomSurface(61, 23, 11);
  const QString input = WriteBmp(photo, u"photo.bmp"_s);
  cDIBSection expected = Copy(photo);
  cImageProcessDIB().Adjust(expected, {0, 20, 0, 0});
  EXPECT_EQ(FirstDifference(Result(u"reglages=0,20"_s, input), expected), "");
  EXPECT_EQ(FirstDifference(Result(u"auto"_s, input), photo), "");
  cDIBSection grey = UniformSurface(121, 1, 0, 0, 0);
  for (std::int32_t x = 0; x < 121; ++x) SetPixelRGB(grey, x, 0, std::uint32_t(40 + x) * 0x010101u);
  const cDIBSection out = Result(u"auto"_s, WriteBmp(grey, u"grise.bmp"_s));
  EXPECT_EQ(PixelRGB(out, 60, 0), 0x808080u);
  EXPECT_EQ(PixelRGB(out, 120, 0), 0xFFFFFFu);
}

// Wrong text stops the run before any photo is read: the photo named does not even exist.
TEST_F(AdjustmentsBatchTest, WrongSettingsAreUsageErrors) {
  const QString missing = Path(u"absente.bmp"_s), out = Path(u"sortie.bmp"_s);
  const QString form = u"forme attendue : LUMINOSITÉ[,CONTRASTE[,SATURATION[,CHALEUR]]]"_s;
  const QString range = u"chaque réglage va de -100 à 100"_s;
  const struct {
    QString effect, message;
  } bad[] = {
      {u"reglages"_s, form},           {u"reglages=1,2,3,4,5"_s, form},
      {u"reglages=1,,3"_s, form},      {u"reglages=1.5"_s, form},
      {u"reglages=a"_s, form},         {u"reglages=101"_s, range},
      {u"reglages=0,0,-101"_s, range}, {u"auto=5"_s, u"cet effet ne prend pas de valeur"_s},
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

}  // namespace
}  // namespace fotavel::testing
