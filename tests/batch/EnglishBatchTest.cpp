// fotavel-batch in English: its help and its error lines keep no French text, and the help keeps
// its columns.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTextStream>
#include <memory>

#include "batch/BatchOptions.h"
#include "batch/BatchRunner.h"
#include "document/Translations.h"
#include "effects/ImageProcessError.h"
#include "io/FileError.h"
#include "io/PictureFiles.h"
#include "support/Surfaces.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

// The English translation the build made, installed for one call and
// removed after it, so that every other test of this program reads French.
// Installing a translator needs an application: one is made when the test
// program has none.
class English : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QCoreApplication::instance() == nullptr) {
      application_ = std::make_unique<QCoreApplication>(argc_, argv_);
    }
  }
  void TearDown() override { Speak(false); }

  // Installs the English translation, or the French source texts.
  void Speak(bool english) { ASSERT_TRUE(UseLanguage(english ? u"en"_s : u"fr"_s)); }

  // The same call once in French, once in English.
  template <class Call>
  std::pair<QString, QString> FrenchAndEnglish(Call call) {
    Speak(false);
    const QString french = call();
    Speak(true);
    const QString english = call();
    Speak(false);
    return {french, english};
  }

  QString Path(const QString& name) const { return folder_.filePath(name); }

 private:
  static inline int argc_ = 1;
  static inline char name_[] = "fotavel_batch_tests";
  static inline char* argv_[] = {name_, nullptr};
  std::unique_ptr<QCoreApplication> application_;
  QTemporaryDir folder_;
};

// The words of a text (letters and digits, apostrophes inside a word), in order.
QStringList Words(const QString& text) {
  static const QRegularExpression word(u"[\\p{L}\\d]+(?:['’]\\p{L}+)*"_s);
  QStringList words;
  for (const QRegularExpressionMatch& m : word.globalMatch(text)) words << m.captured();
  return words;
}

// The French the English text still holds, as a sorted list to print: each
// word of the French text that bears an accent, and each pair of words that
// follow each other in it (a phrase left untranslated), when the English text
// holds it too; with `everyWord`, every word of two letters or more. Pairs
// with a number or a word of one letter (a placeholder: N, M1) are left out,
// and so are words and pairs that hold a word of `data` (file names, option
// and effect names, format names), which no language changes. French and
// English share a few single words ("photo", "rectangle"), hardly ever two in
// a row: a short text of known words is checked word by word.
QString FrenchLeft(const QString& french, const QString& english, const QString& data,
                   bool everyWord = false) {
  static const QRegularExpression accent(u"[àâçéèêëîïôûùüœÀÂÇÉÈÊÎÔÛŒ]"_s);
  const auto pairs = [](const QString& text) {
    static const QRegularExpression digit(u"\\d"_s);
    const auto plain = [](const QString& w) { return w.size() >= 2 && !w.contains(digit); };
    const QStringList words = Words(text);
    QSet<QString> found;
    for (qsizetype i = 0; i + 1 < words.size(); ++i) {
      if (plain(words[i]) && plain(words[i + 1])) found.insert(words[i] + u' ' + words[i + 1]);
    }
    return found;
  };
  const QStringList dataWords = Words(data);
  QSet<QString> left;
  const QStringList englishWords = Words(english);
  for (const QString& w : Words(french)) {
    const bool checked = everyWord ? w.size() >= 2 && !dataWords.contains(w) : w.contains(accent);
    if (checked && englishWords.contains(w)) left.insert(w);
  }
  for (const QString& pair : pairs(french) & pairs(english)) {
    if (!dataWords.contains(pair.section(u' ', 0, 0)) &&
        !dataWords.contains(pair.section(u' ', 1, 1))) {
      left.insert(pair);
    }
  }
  QStringList sorted(left.begin(), left.end());
  sorted.sort();
  return sorted.join(u" | "_s);
}

// What no language changes: the tool's option and effect names, the formats
// the help lists, and the one placeholder both languages write alike.
QString Interface() {
  QString names =
      u"fotavel batch help sans perte poids max param temps meta jpg jpeg bmp png webp avif tif "
      "tiff JPEG WebP AVIF PNG TIFF BMP EXIF IPTC XMP ini blanc FORMAT"_s;
  for (const CommandInfo& c : Commands()) names += u' ' + QString::fromUtf8(c.name);
  return names;
}

// Each line that starts a column's text does so at `column`: in the options
// the text after the option, in the effects the help after the effect's form;
// a line that goes on starts there too, under it.
void ExpectColumns(const QStringList& lines, int column, const char* what) {
  for (const QString& line : lines) {
    // Past the column, a single word is the end of an option too long for
    // it ("--poids-max TAILLE"), which stands alone on its line.
    if (line.size() <= column || !line.mid(column).contains(u' ')) continue;
    SCOPED_TRACE(std::string(what) + ": «" + line.toStdString() + "»");
    EXPECT_EQ(line[column - 1], u' ');
    EXPECT_NE(line[column], u' ');
  }
}

TEST_F(English, HelpHoldsNoFrenchAndKeepsItsColumns) {
  const auto [french, english] = FrenchAndEnglish([] { return batch::UsageText(); });
  ASSERT_NE(english.toStdString(), french.toStdString());
  EXPECT_EQ(FrenchLeft(french, english, Interface()).toStdString(), "");
  // No line of the French help is left whole, apart from the blank ones.
  const QStringList frenchLines = french.split(u'\n');
  const QStringList englishLines = english.split(u'\n');
  for (const QString& line : frenchLines) {
    if (!line.trimmed().isEmpty()) {
      EXPECT_FALSE(englishLines.contains(line)) << line.toStdString();
    }
  }

  // The same shape in both languages: the same lines, an option or an
  // effect on the same line, and the texts in the same two columns.
  ASSERT_EQ(englishLines.size(), frenchLines.size());
  // The effects' heading, on the same line in English.
  const qsizetype effects = frenchLines.indexOf(u"Effets :"_s);
  ASSERT_GT(effects, 0);
  EXPECT_TRUE(englishLines[effects].endsWith(u':')) << englishLines[effects].toStdString();
  const qsizetype options = englishLines.indexOf(QString()) + 1;
  for (const QStringList& lines : {frenchLines, englishLines}) {
    QStringList optionLines = lines.mid(0, effects).mid(options);
    optionLines.removeIf([](const QString& l) { return !l.startsWith(u"  "_s); });
    ASSERT_GE(optionLines.size(), 12);
    ExpectColumns(optionLines, 18, "option");
    ExpectColumns(lines.mid(effects + 1), 40, "effect");
  }
  for (int i = 0; i < int(frenchLines.size()); ++i) {
    SCOPED_TRACE(englishLines[i].toStdString());
    EXPECT_EQ(englishLines[i].startsWith(u"  -"_s), frenchLines[i].startsWith(u"  -"_s));
    EXPECT_EQ(englishLines[i].isEmpty(), frenchLines[i].isEmpty());
    if (i > effects && !frenchLines[i].startsWith(QString(40, u' '))) {
      // Each effect keeps its name, the word the user types.
      EXPECT_EQ(englishLines[i].section(u'=', 0, 0).section(u'[', 0, 0).section(u' ', 2, 2),
                frenchLines[i].section(u'=', 0, 0).section(u'[', 0, 0).section(u' ', 2, 2));
    }
  }
}

TEST_F(English, UsageErrorsHoldNoFrench) {
  const QStringList inputs{Path(u"a.jpg"_s), u"-o"_s, Path(u"b.jpg"_s)};
  const QList<QStringList> calls{
      QStringList{u"-e"_s, u"flou"_s} + inputs,
      QStringList{u"-e"_s, u"clair=beaucoup"_s} + inputs,
      QStringList{u"-e"_s, u"recadrer=1,2,3"_s} + inputs,
      QStringList{u"-q"_s, u"12"_s} + inputs,
      QStringList{u"--inconnue"_s} + inputs,
      QStringList{Path(u"a.jpg"_s)},
  };
  for (const QStringList& arguments : calls) {
    SCOPED_TRACE(arguments.join(u' ').toStdString());
    const auto [french, english] = FrenchAndEnglish([&arguments] {
      batch::BatchOptions options;
      QString error;
      EXPECT_FALSE(batch::ParseArguments(arguments, options, error));
      return error;
    });
    ASSERT_FALSE(french.isEmpty());
    EXPECT_NE(english.toStdString(), french.toStdString());
    EXPECT_EQ(FrenchLeft(french, english, arguments.join(u' ') + u' ' + Interface()).toStdString(),
              "")
        << english.toStdString();
  }
}

TEST_F(English, MissingPhotoLineHoldsNoFrenchButTheSameFailure) {
  batch::BatchOptions options;
  QString error;
  const QString missing = Path(u"absente.jpg"_s);
  ASSERT_TRUE(batch::ParseArguments({missing, u"-o"_s, Path(u"sortie.jpg"_s)}, options, error))
      << error.toStdString();
  const auto [french, english] = FrenchAndEnglish([&] {
    QString text;
    QTextStream err(&text);
    EXPECT_EQ(batch::RunBatch(options, Path(QString()), err, false), 1);
    err.flush();
    return text;
  });
  // The photo, the error's number and its source are the same in both.
  const QString tail = u"0x%1, %2.PictureFiles)\n"_s.arg(
      QString::number(io::FileErrors::kRead, 16).toUpper(), QString::fromStdString(ProgramName()));
  ASSERT_TRUE(french.startsWith(missing)) << french.toStdString();
  ASSERT_TRUE(french.endsWith(tail)) << french.toStdString();
  EXPECT_TRUE(english.startsWith(missing)) << english.toStdString();
  EXPECT_TRUE(english.endsWith(tail)) << english.toStdString();
  EXPECT_NE(english.toStdString(), french.toStdString());
  EXPECT_EQ(FrenchLeft(french, english, missing + u' ' + tail, true).toStdString(), "")
      << english.toStdString();
}

// The engine holds no Qt: its descriptions are translated where the document
// describes the failure, and the batch tool's line shows that translation.
TEST_F(English, EngineErrorLineIsTranslatedWithTheSameFailure) {
  const QString input = Path(u"photo.bmp"_s);
  ASSERT_NO_THROW(io::WriteBmp(RandomSurface(5, 3, 7), input));
  batch::BatchOptions options;
  QString error;
  ASSERT_TRUE(batch::ParseArguments(
      {u"-e"_s, u"noyau=3:0:1,1,1,1,1,1,1,1,1"_s, input, u"-o"_s, Path(u"sortie.bmp"_s)}, options,
      error))
      << error.toStdString();
  QString translated;
  const auto [french, english] = FrenchAndEnglish([&] {
    QString text;
    QTextStream err(&text);
    EXPECT_EQ(batch::RunBatch(options, Path(QString()), err, false), 1);
    err.flush();
    translated = QCoreApplication::translate("ImageProcessError",
                                             ImageProcessErrors::kZeroWeight.description);
    return text;
  });
  const QString engine = QString::fromUtf8(ImageProcessErrors::kZeroWeight.description);
  const QString tail = u" (%1 0x%2, %3.cImageProcess)\n"_s;
  const QString number = QString::number(ImageProcessErrors::kZeroWeight.number, 16).toUpper();
  const QString source = QString::fromStdString(ProgramName());
  EXPECT_EQ(french.toStdString(),
            (input + u" : "_s + engine + tail.arg(u"erreur"_s, number, source)).toStdString());
  ASSERT_NE(translated, engine);
  EXPECT_FALSE(english.contains(engine)) << english.toStdString();
  EXPECT_TRUE(english.startsWith(input)) << english.toStdString();
  EXPECT_TRUE(english.contains(translated + u" ("_s)) << english.toStdString();
  EXPECT_TRUE(english.endsWith(u"0x%1, %2.cImageProcess)\n"_s.arg(number, source)))
      << english.toStdString();
}

}  // namespace
}  // namespace fotavel::testing
