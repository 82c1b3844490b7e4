// Effect arguments at the ends of 32 bits: read or refused in French, and never an overflow.
#include <climits>

#include "DocumentFixture.h"
#include "document/Commands.h"
#include "document/DocumentError.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

const QString kMin = QString::number(INT32_MIN);
const QString kMax = QString::number(INT32_MAX);

class ExtremeArgumentsTest : public DocumentTest {
 protected:
  // The photo after `effect` ("nom=valeur", as the batch tool reads it), run in a document of its
  // own through the command table; the reason it is refused, from its reading or its run, in
  // `refusal`.
  cDIBSection After(const QString& effect, QString& refusal) {
    const qsizetype equals = effect.indexOf(u'=');
    const CommandInfo* command = FindCommand(QStringView(effect).left(equals));
    CommandArgument argument;
    if (command == nullptr ||
        !command->parse(QStringView(effect).mid(equals + 1), argument, refusal)) {
      return {};
    }
    PhotoDocument fresh(services);
    fresh.OpenFile(path, false);
    CommandContext context;
    context.readPicture = [this](const QString&) { return Copy(second); };
    try {
      command->run(fresh, argument, context);
    } catch (const Error& error) {
      refusal = QString::fromStdString(error.description());
    }
    return Copy(fresh.Picture());
  }

  const cDIBSection photo = RandomSurface(31, 17, 5);
  const cDIBSection second = RandomSurface(29, 19, 6);
  const QString path = WritePhoto(photo);
};

// Each argument family at both ends of 32 bits: a number means the value it is clamped to (an
// effect giving the same photo, or none for the photo as it was), or is refused with its reason
// by the command's reading, the document or the engine. ternir=-2^31 used to overflow its
// negation and give less colour instead of more.
TEST_F(ExtremeArgumentsTest, NumbersAtTheLimitsMeanTheirClampedValuesOrAreRefused) {
  const QString box = u"noyau=3:1:"_s + QStringList(9, u"1"_s).join(u',');
  const QString combine = u"combiner=seconde.bmp:"_s;
  const struct {
    QString effect, refusal = {}, same = {};
  } cases[] = {
      {u"ternir="_s + kMin, {}, u"colorer=25600"_s},
      {u"ternir="_s + kMax, {}, u"ternir=100"_s},
      {u"ternir=-2147483649"_s, u"nombre entier attendu"_s},
      {u"filtre="_s + kMin, u"le type de filtre va de 1 à 11"_s},
      {u"filtre="_s + kMax, u"le type de filtre va de 1 à 11"_s},
      {u"noyau=3:"_s + kMin + u':' + QStringList(9, kMin).join(u','), {}, box},
      {u"noyau=3:"_s + kMax + u':' + QStringList(9, kMax).join(u','), {}, box},
      {u"noyau="_s + kMin + u":1:1"_s, u"Size must be an odd number"_s},
      {u"noyau="_s + kMax + u":1:1"_s,
       u"un noyau de 2147483647 x 2147483647 demande 4611686014132420609 valeurs"_s},
      {u"masquer=%1,%1,%2,%2"_s.arg(kMin, kMax), {}, u"masquer=0,0,31,17"_s},
      {u"masquer=%1,%1,%2,%2"_s.arg(kMax, kMin)},  // inside out: covers nothing
      {u"taille=%1x%1"_s.arg(kMin),
       u"Impossible de retailler la photo en -2147483648 x -2147483648 : chaque côté doit mesurer "
       u"au moins 1 pixel."_s},
      {u"taille=%1x%1"_s.arg(kMax),
       u"Mémoire insuffisante pour une photo de 2147483647 x 2147483647 pixels : la photo n'a pas "
       u"été modifiée."_s},
      {u"taille=2147483648x1"_s, u"forme attendue : LARGEURxHAUTEUR"_s},
      // Sums past 2^63 either way, whose sign alone decides each byte.
      {combine + u"1:%1:%1:%1:%1"_s.arg(kMin), {}, combine + u"1:1:255:0:0"_s},
      {combine + u"1:%1:%1:%1:%1"_s.arg(kMax), {}, combine + u"1:1:255:0:0"_s},
      {combine + u"1:%1:%2:%2:%1"_s.arg(kMin, kMax), {}, combine + u"1:0:0:0:0"_s},
      // Any type but 1, 2 and 3 keeps the first photo, cut to the smaller size.
      {combine + kMin + u":1:0:1:0"_s, {}, combine + u"1:1:0:0:0"_s},
      {combine + kMax + u":1:0:1:0"_s, {}, combine + u"1:1:0:0:0"_s},
  };
  for (const auto& c : cases) {
    QString refusal;
    const cDIBSection got = After(c.effect, refusal);
    EXPECT_EQ(refusal, c.refusal) << c.effect.toStdString();
    if (!c.refusal.isEmpty()) continue;
    const cDIBSection expected = c.same.isEmpty() ? Copy(photo) : After(c.same, refusal);
    EXPECT_TRUE(SamePixels(got, expected))
        << c.effect.toStdString() << ": " << FirstDifference(got, expected);
  }
}

}  // namespace
}  // namespace fotavel::testing
