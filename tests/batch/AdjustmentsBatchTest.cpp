// fotavel-batch's auto and reglages on real files: pixels, a photo left unchanged, and refusals.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "batch/BatchFixture.h"
#include "effects/Adjustments.h"
#include "effects/cImageProcessDIB.h"
#include "io/PictureFiles.h"
#include "io/TestFiles.h"
#include "support/Surfaces.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

class AdjustmentsBatchTest : public BatchTest {
 protected:
  cDIBSection Result(const QString& effect, const QString& input) {
    const QString out = Path(u"sortie.bmp"_s);
    QFile::remove(out);
    const BatchRun run = Batch({u"-e"_s, effect, input, u"-o"_s, out});
    EXPECT_EQ(run.exitCode, 0) << effect.toStdString() << ": " << run.err.toStdString();
    EXPECT_EQ(run.err, u""_s);
    return MustRead(out);
  }
};

TEST_F(AdjustmentsBatchTest, AdjustsWithTheTrailingSettingsAtZero) {
  const cDIBSection photo = RandomSurface(61, 23, 11);
  const QString input = WriteBmp(photo, u"photo.bmp"_s);
  for (const auto& [text, settings] :
       {std::pair(u"reglages=10"_s, AdjustSettings{10, 0, 0, 0}),
        std::pair(u"reglages=0,20"_s, AdjustSettings{0, 20, 0, 0}),
        std::pair(u"reglages=-100,100,-30,45"_s, AdjustSettings{-100, 100, -30, 45}),
        std::pair(u"reglages=0,0,0,0"_s, AdjustSettings{})}) {
    cDIBSection expected = Copy(photo);
    cImageProcessDIB().Adjust(expected, settings);
    EXPECT_EQ(FirstDifference(Result(text, input), expected), "") << text.toStdString();
  }
  EXPECT_EQ(FirstDifference(Result(u"reglages=0"_s, input), photo), "");
}

// A photo already spanning the range comes back as it was; a grey one of 40 … 160 is stretched.
TEST_F(AdjustmentsBatchTest, AutomaticImprovementOrThePhotoUnchanged) {
  const cDIBSection full = RandomSurface(64, 48, 3);
  EXPECT_EQ(FirstDifference(Result(u"auto"_s, WriteBmp(full, u"pleine.bmp"_s)), full), "");

  cDIBSection grey = UniformSurface(121, 2, 0, 0, 0);
  for (std::int32_t x = 0; x < 121; ++x) {
    for (std::int32_t y = 0; y < 2; ++y) SetPixelRGB(grey, x, y, std::uint32_t(40 + x) * 0x010101u);
  }
  const cDIBSection out = Result(u"auto"_s, WriteBmp(grey, u"grise.bmp"_s));
  EXPECT_EQ(PixelRGB(out, 0, 0), 0x000000u);
  EXPECT_EQ(PixelRGB(out, 60, 0), 0x808080u);  // 60 × 255 / 120 = 127.5 -> 128
  EXPECT_EQ(PixelRGB(out, 120, 1), 0xFFFFFFu);
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
