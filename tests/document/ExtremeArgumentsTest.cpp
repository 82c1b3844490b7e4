// Effect arguments at the ends of 32 bits: read or refused in French, and never an overflow.
#include <climits>
#include <cstdint>
#include <tuple>

#include "DocumentFixture.h"
#include "document/Commands.h"
#include "document/DocumentError.h"
#include "effects/ImageProcessError.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

const QString kMin = QString::number(INT32_MIN);
const QString kMax = QString::number(INT32_MAX);

class ExtremeArgumentsTest : public DocumentTest {
 protected:
  ExtremeArgumentsTest() { path = WritePhoto(photo); }

  // The photo after `effect` ("nom=valeur", as the batch tool reads it), run
  // in a document of its own through the command table.
  cDIBSection After(const QString& effect) {
    const qsizetype equals = effect.indexOf(u'=');
    const CommandInfo* command = FindCommand(QStringView(effect).left(equals));
    EXPECT_NE(command, nullptr) << effect.toStdString();
    CommandArgument argument;
    QString error;
    if (command == nullptr ||
        !command->parse(equals < 0 ? QStringView() : QStringView(effect).mid(equals + 1), argument,
                        error)) {
      ADD_FAILURE() << effect.toStdString() << " refused: " << error.toStdString();
      return {};
    }
    PhotoDocument fresh(services);
    fresh.UseOwnRandomSequence();
    fresh.OpenFile(path, false);
    CommandContext context;
    context.readPicture = [this](const QString&) { return Copy(second); };
    command->run(fresh, argument, context);
    return Copy(fresh.Picture());
  }
  // `effect` at the limit gives the same photo as `same`, the value it means.
  void ExpectSame(const QString& effect, const QString& same) {
    const cDIBSection got = After(effect);
    const cDIBSection expected = After(same);
    EXPECT_TRUE(SamePixels(got, expected)) << effect.toStdString() << " vs " << same.toStdString()
                                           << ": " << FirstDifference(got, expected);
  }
  // The text the command's reading gives for `text`, empty when it is read.
  static QString Refusal(const char* name, const QString& text) {
    CommandArgument argument;
    QString error;
    return FindCommand(QString::fromLatin1(name))->parse(text, argument, error) ? QString() : error;
  }

  const cDIBSection photo = RandomSurface(31, 17, 5);
  QString path;
  cDIBSection second = RandomSurface(29, 19, 6);
};

TEST_F(ExtremeArgumentsTest, PercentagesAtTheLimitsMeanTheirClampedValues) {
  // Less colour by -2^31 % is more colour by 2^31 %: its negation used to
  // overflow and give the opposite of ternir=-2147483647.
  ExpectSame(u"ternir="_s + kMin, u"colorer=25600"_s);
  ExpectSame(u"ternir=-2147483647"_s, u"colorer=25600"_s);
  ExpectSame(u"ternir="_s + kMax, u"ternir=100"_s);
  ExpectSame(u"colorer="_s + kMin, u"ternir=100"_s);
  ExpectSame(u"colorer="_s + kMax, u"colorer=25600"_s);
  ExpectSame(u"clair="_s + kMin, u"clair=-100"_s);
  ExpectSame(u"clair="_s + kMax, u"clair=1000000"_s);
  ExpectSame(u"sombre="_s + kMin, u"sombre=0"_s);
  ExpectSame(u"sombre="_s + kMax, u"sombre=255"_s);
  ExpectSame(u"diffusion="_s + kMin, u"diffusion=0"_s);
  // Offsets of up to 2^30 pixels land outside a 31 x 17 photo: nothing moves.
  EXPECT_TRUE(SamePixels(After(u"diffusion="_s + kMax), photo));
  // One past the limits is no 32-bit number at all.
  EXPECT_EQ(Refusal("ternir", u"-2147483649"_s), u"nombre entier attendu"_s);
  EXPECT_EQ(Refusal("clair", u"2147483648"_s), u"nombre entier attendu"_s);
}

TEST_F(ExtremeArgumentsTest, FilterTypesAndKernelsAtTheLimits) {
  for (const QString& type : {kMin, kMax, u"0"_s, u"12"_s}) {
    EXPECT_EQ(Refusal("filtre", type), u"le type de filtre va de 1 à 11"_s) << type.toStdString();
  }
  EXPECT_EQ(Refusal("noyau", kMax + u":1:1"_s),
            u"un noyau de 2147483647 x 2147483647 demande 4611686014132420609 valeurs"_s);
  // Sizes the engine refuses: even, or odd but not 3, 5, 7 or 9.
  const auto refusedSize = [&](const QString& size) {
    try {
      After(u"noyau="_s + size + u":1:1"_s);
    } catch (const ImageProcessError& error) {
      return error.number();
    }
    return 0u;
  };
  EXPECT_EQ(refusedSize(kMin), ImageProcessErrors::kSizeNotOdd.number);
  EXPECT_EQ(refusedSize(u"-2147483647"_s), ImageProcessErrors::kInvalidSize.number);
  // Every entry and the weight at either end divide out to the plain box
  // kernel, and a lone centre entry equal to the weight to the photo itself
  // (its one-pixel border included, the box kernel's too).
  const QString box = u"noyau=3:1:"_s + QStringList(9, u"1"_s).join(u',');
  ExpectSame(u"noyau=3:"_s + kMin + u':' + QStringList(9, kMin).join(u','), box);
  ExpectSame(u"noyau=3:"_s + kMax + u':' + QStringList(9, kMax).join(u','), box);
  ExpectSame(u"noyau=3:"_s + kMax + u":0,0,0,0,"_s + kMax + u",0,0,0,0"_s,
             u"noyau=3:1:0,0,0,0,1,0,0,0,0"_s);
  // Entries that would sum past 32 bits, with a weight that brings them back.
  ExpectSame(u"noyau=3:-2147483647:"_s + QStringList(9, u"-2147483647"_s).join(u','), box);
}

TEST_F(ExtremeArgumentsTest, RectanglesAndSizesAtTheLimits) {
  // The blur keeps one pixel off every edge, however far beyond them the
  // rectangle reaches; turned inside out it covers nothing.
  ExpectSame(u"masquer="_s + kMin + u',' + kMin + u',' + kMax + u',' + kMax,
             u"masquer=0,0,31,17"_s);
  EXPECT_TRUE(
      SamePixels(After(u"masquer="_s + kMax + u',' + kMax + u',' + kMin + u',' + kMin), photo));

  const auto refusal = [&](const QString& size) {
    try {
      After(u"taille="_s + size);
    } catch (const DocumentError& error) {
      return error.text();
    }
    return QString();
  };
  EXPECT_EQ(refusal(kMin + u'x' + kMin),
            u"Impossible de retailler la photo en -2147483648 x -2147483648 : chaque côté doit "
            u"mesurer au moins 1 pixel."_s);
  EXPECT_EQ(refusal(kMax + u"x1"_s),
            u"Mémoire insuffisante pour une photo de 2147483647 x 1 pixels : la photo n'a pas été "
            u"modifiée."_s);
  EXPECT_EQ(refusal(kMax + u'x' + kMax),
            u"Mémoire insuffisante pour une photo de 2147483647 x 2147483647 pixels : la photo n'a "
            u"pas été modifiée."_s);
  EXPECT_EQ(Refusal("taille", u"2147483648x1"_s), u"forme attendue : LARGEURxHAUTEUR"_s);
}

// clamp((s2 + o2) × m2 + (s1 + o1) × m1) for every byte, in 128 bits: the
// combination's sum, whatever its five numbers.
cDIBSection Added(const cDIBSection& first, const cDIBSection& second, std::int64_t m1,
                  std::int64_t o1, std::int64_t m2, std::int64_t o2) {
  const std::int32_t width = std::min(first.width(), second.width());
  const std::int32_t height = std::min(first.height(), second.height());
  cDIBSection sum = UniformSurface(width, height, 0, 0, 0);
  for (std::int32_t y = 0; y < height; ++y) {
    // Both taken from their displayed top rows.
    const std::uint8_t* a = first.row(first.height() - height + y);
    const std::uint8_t* b = second.row(second.height() - height + y);
    for (std::int32_t i = 0; i < 3 * width; ++i) {
      const __int128 v = __int128{b[i] + o2} * m2 + __int128{a[i] + o1} * m1;
      sum.row(y)[i] = std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
    }
  }
  return sum;
}

TEST_F(ExtremeArgumentsTest, CombinationNumbersAtTheLimits) {
  const std::int64_t lo = INT32_MIN, hi = INT32_MAX;
  const std::tuple<std::int64_t, std::int64_t, std::int64_t, std::int64_t> cases[] = {
      {lo, lo, lo, lo}, {hi, hi, hi, hi}, {lo, hi, hi, lo}, {hi, lo, lo, hi},
      {lo, 0, hi, 0},   {1, lo, 1, hi},   {lo, -1, 1, 0},   {0, 0, lo, -255}};
  for (const auto& [m1, o1, m2, o2] : cases) {
    const QString effect = u"combiner=seconde.bmp:1:%1:%2:%3:%4"_s.arg(m1).arg(o1).arg(m2).arg(o2);
    const cDIBSection got = After(effect);
    const cDIBSection expected = Added(photo, second, m1, o1, m2, o2);
    EXPECT_TRUE(SamePixels(got, expected))
        << effect.toStdString() << ": " << FirstDifference(got, expected);
  }
  // Any type but 1, 2 and 3 keeps the first photo, cut to the smaller size.
  for (const QString& type : {kMin, kMax}) {
    const QString effect = u"combiner=seconde.bmp:"_s + type + u":1:0:1:0"_s;
    EXPECT_TRUE(SamePixels(After(effect), Added(photo, second, 1, 0, 0, 0)))
        << effect.toStdString();
  }
}

}  // namespace
}  // namespace fotavel::testing
