// fotavel-batch end to end: real files in and out, usage errors, refusals, nothing half-written.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <new>

#include "batch/BatchOptions.h"
#include "batch/BatchRunner.h"
#include "document/AppServices.h"
#include "document/PhotoDocument.h"
#include "io/HeifFiles.h"
#include "io/MetadataFiles.h"
#include "io/PictureFiles.h"
#include "io/TestFiles.h"
#include "support/Surfaces.h"
#include "surface/SurfaceMemory.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

struct BatchRun {
  int exitCode;
  QString err;
};

class BatchTest : public ::testing::Test {
 protected:
  BatchRun Batch(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(FOTAVEL_BATCH_PATH), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
  }
  QString Path(const QString& name) const { return folder.filePath(name); }
  QString WriteBmp(const cDIBSection& picture, const QString& name) {
    QString error;
    EXPECT_TRUE(io::WriteBmp(picture, Path(name), error)) << error.toStdString();
    return Path(name);
  }
  QTemporaryDir folder;
};

TEST_F(BatchTest, EffectsRunExactlyAsTheDocumentCommands) {
  const QString input = WriteBmp(RandomSurface(31, 17, 3), u"entree.bmp"_s);
  const BatchRun run = Batch({u"-e"_s, u"clair"_s, u"-e"_s, u"gauche"_s, u"-e"_s, u"nette"_s,
                              u"-e"_s, u"colorer=45"_s, input, u"-o"_s, Path(u"sortie.BMP"_s)});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

  AppServices services(folder.path());
  PhotoDocument document(services);
  QString error;
  ASSERT_TRUE(document.OpenFile(input, false, error));
  document.Lighten(20);
  document.Piv_Gche();
  document.ProcessImage(5);
  document.saturation(45);
  const cDIBSection written = MustRead(Path(u"sortie.BMP"_s));
  EXPECT_TRUE(SamePixels(written, document.Picture()))
      << FirstDifference(written, document.Picture());
}

TEST_F(BatchTest, JpegMetadataIsCarriedUnlessSansMeta) {
  const QString camera = Path(u"camera.jpg"_s);
  WriteCameraPhoto(camera, RandomSurface(37, 21, 3), 6, IccProfile("RGB "));
  const BatchRun kept = Batch({u"-e"_s, u"gauche"_s, camera, u"-o"_s, Path(u"avec.jpg"_s)});
  ASSERT_EQ(kept.exitCode, 0) << kept.err.toStdString();
  // Upright 21 x 37, turned left to 37 x 21.
  ExpectCarriedMetadata(camera, Path(u"avec.jpg"_s), 37, 21);
  const BatchRun bare =
      Batch({u"--sans-meta"_s, u"-e"_s, u"gauche"_s, camera, u"-o"_s, Path(u"sans.jpg"_s)});
  ASSERT_EQ(bare.exitCode, 0) << bare.err.toStdString();
  EXPECT_FALSE(HasAnyMetadata(Path(u"sans.jpg"_s)));
  EXPECT_TRUE(SamePixels(MustRead(Path(u"sans.jpg"_s)), MustRead(Path(u"avec.jpg"_s))));
}

TEST_F(BatchTest, HeicPhotoIsWrittenAsTheFileLayerReadsIt) {
  WriteBytes(Path(u"photo.heic"_s), MakeHeif({.orientation = 6}));
  const BatchRun run = Batch({Path(u"photo.heic"_s), u"-o"_s, Path(u"x.bmp"_s)});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const cDIBSection written = MustRead(Path(u"x.bmp"_s));
  EXPECT_EQ(written.width(), 21);  // stood upright by the file's rotation
  EXPECT_TRUE(SamePixels(written, MustRead(Path(u"photo.heic"_s))));
}

TEST_F(BatchTest, SeveralInputsGoIntoTheFolderUnderTheirBaseNames) {
  const QString bmp = WriteBmp(RandomSurface(8, 5, 1), u"un.photo.bmp"_s);
  QImage png(6, 4, QImage::Format_ARGB32);
  png.fill(qRgba(255, 0, 0, 255));
  ASSERT_TRUE(png.save(Path(u"deux.png"_s)));
  const std::uint32_t red[4] = {0xFF0000, 0, 0, 0};
  WriteBytes(Path(u"trois.gif"_s), MakeGif(1, 1, red, -1, {0}));
  ASSERT_TRUE(QDir(folder.path()).mkdir(u"sortie"_s));
  const BatchRun run = Batch({u"-e"_s, u"gris"_s, u"-f"_s, u"bmp"_s, bmp, Path(u"deux.png"_s),
                              Path(u"trois.gif"_s), u"-o"_s, Path(u"sortie"_s)});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const cDIBSection two = MustRead(Path(u"sortie/deux.bmp"_s));
  EXPECT_EQ(two.width(), 6);
  EXPECT_EQ(PixelRGB(two, 0, 0), 0x393939u);  // grey of pure red is 57
  EXPECT_EQ(MustRead(Path(u"sortie/un.photo.bmp"_s)).width(), 8);
  EXPECT_EQ(PixelRGB(MustRead(Path(u"sortie/trois.bmp"_s)), 0, 0), 0x393939u);
}

TEST_F(BatchTest, UsageErrorsStopBeforeAnyFileIsTouched) {
  const QString input = WriteBmp(RandomSurface(4, 4, 2), u"a.bmp"_s);
  const QString out = Path(u"b.jpg"_s);
  const QStringList bad[] = {
      {u"-e"_s, u"inconnu"_s, input, u"-o"_s, out},
      {u"-e"_s, u"filtre=12"_s, input, u"-o"_s, out},
      {u"-e"_s, u"clair=beaucoup"_s, input, u"-o"_s, out},
      {u"-q"_s, u"30"_s, input, u"-o"_s, out},
      {input},
      {input, u"-o"_s, Path(u"b.png"_s)},
      {input, input, u"-o"_s, Path(u"pas-un-dossier"_s)},
      {u"-j"_s, u"0"_s, input, u"-o"_s, out},
      {u"-j"_s, u"deux"_s, input, u"-o"_s, out},
      {u"-j"_s, u"-3"_s, input, u"-o"_s, out},
      {input, u"-o"_s, out, u"-j"_s},
  };
  for (const QStringList& arguments : bad) {
    const BatchRun run = Batch(arguments);
    EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
    EXPECT_TRUE(run.err.contains(u"Usage : fotavel-batch"_s));
    EXPECT_FALSE(QFile::exists(out));
  }
}

TEST_F(BatchTest, UnreadableInputIsReportedAndTheOthersGoOn) {
  const QString good = WriteBmp(RandomSurface(40, 30, 2), u"bon.bmp"_s);
  const QString bad = Path(u"mauvais.jpg"_s);
  WriteBytes(bad, "pas une photo du tout");
  ASSERT_TRUE(QDir(folder.path()).mkdir(u"out"_s));
  const BatchRun run = Batch({bad, good, u"-o"_s, Path(u"out"_s)});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(u"Une erreur est survenue lors de l'ouverture de : "_s + bad +
                               u" : format d'image inconnu\n"_s))
      << run.err.toStdString();
  EXPECT_EQ(QDir(Path(u"out"_s)).entryList(QDir::Files), QStringList{u"bon.jpg"_s});
}

TEST_F(BatchTest, RefusalsWriteNothingAndKeepAnExistingOutput) {
  const QString input = WriteBmp(RandomSurface(1000, 1, 2), u"fil.bmp"_s);
  const QString out = Path(u"ancien.bmp"_s);
  WriteBmp(RandomSurface(3, 3, 9), u"ancien.bmp"_s);
  const QByteArray old = ReadBytes(out);

  BatchRun run = Batch({u"-e"_s, u"web"_s, input, u"-o"_s, out});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(u"400 x 0"_s)) << run.err.toStdString();
  EXPECT_EQ(ReadBytes(out), old);

  run = Batch(
      {u"-e"_s, u"noyau=4:1:"_s + QString(u"1,"_s).repeated(15) + u"1"_s, input, u"-o"_s, out});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(u"0x80040519"_s)) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains(u"Size must be an odd number"_s));
  EXPECT_TRUE(run.err.contains(u"fotavel-batch.cImageProcess"_s));
  run = Batch({u"-e"_s, u"noyau=3:0:1,1,1,1,1,1,1,1,1"_s, input, u"-o"_s, out});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(ReadBytes(out), old);
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2);  // no temporary left behind
}

TEST_F(BatchTest, TimingsFollowEachEffect) {
  const QString input = WriteBmp(RandomSurface(20, 10, 5), u"t.bmp"_s);
  const BatchRun run = Batch({u"--temps"_s, u"-e"_s, u"clair=10"_s, u"-e"_s, u"taille=10x5"_s,
                              input, u"-o"_s, Path(u"t.jpeg"_s)});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains(QRegularExpression(u"^clair=10 : Réalisé en \\d+ ms$"_s,
                                                  QRegularExpression::MultilineOption)))
      << run.err.toStdString();
  EXPECT_TRUE(run.err.contains(QRegularExpression(u"^taille=10x5 : Réalisé en \\d+ ms$"_s,
                                                  QRegularExpression::MultilineOption)));
  EXPECT_EQ(MustRead(Path(u"t.jpeg"_s)).width(), 10);
}

TEST_F(BatchTest, CombinationTakesTheSecondPhotoFromAFile) {
  const QString first = WriteBmp(UniformSurface(6, 4, 200, 200, 200), u"p1.bmp"_s);
  const QString second = WriteBmp(UniformSurface(4, 6, 10, 20, 30), u"p2.bmp"_s);
  const BatchRun run =
      Batch({u"-e"_s, u"combiner="_s + second + u":2:1:0:1:0"_s, first, u"-o"_s, Path(u"c.bmp"_s)});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const cDIBSection result = MustRead(Path(u"c.bmp"_s));
  EXPECT_EQ(result.width(), 4);
  EXPECT_EQ(result.height(), 4);
  EXPECT_EQ(PixelRGB(result, 2, 2), 0x1E140Au);
}

TEST_F(BatchTest, WebPAndTiffPhotosGoInAsAnyOther) {
  QImage image(31, 17, QImage::Format_RGB32);
  for (int y = 0; y < 17; ++y)
    for (int x = 0; x < 31; ++x) image.setPixel(x, y, qRgb(8 * x, 15 * y, 90));
  const QString webp = Path(u"vacances.webp"_s);
  ASSERT_TRUE(image.save(webp, "WEBP", 100));  // lossless
  BatchRun run = Batch({webp, u"-o"_s, Path(u"vacances.bmp"_s)});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const cDIBSection written = MustRead(Path(u"vacances.bmp"_s));
  ASSERT_EQ(written.width(), 31);
  EXPECT_EQ(PixelRGB(written, 30, 0), 0xF0F05Au);  // the bottom row, x = 30
  EXPECT_TRUE(SamePixels(written, MustRead(webp)));

  // The combination's second photo, from a TIFF: the darker of each pair.
  const QString second = Path(u"sombre.tif"_s);
  image.fill(qRgb(10, 20, 30));
  ASSERT_TRUE(image.save(second, "TIFF"));
  run =
      Batch({u"-e"_s, u"combiner="_s + second + u":2:1:0:1:0"_s, webp, u"-o"_s, Path(u"c.bmp"_s)});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(PixelRGB(MustRead(Path(u"c.bmp"_s)), 30, 0), 0x0A141Eu);
}

TEST_F(BatchTest, LogoThatCannotBeStampedFailsThePhoto) {
  const QString input = WriteBmp(RandomSurface(20, 10, 5), u"l.bmp"_s);
  ASSERT_TRUE(QDir(folder.path()).mkdir(u"param"_s));
  const QStringList arguments = {u"--param"_s, Path(u"param"_s), u"-e"_s,         u"logo"_s,
                                 input,        u"-o"_s,          Path(u"l.jpg"_s)};
  BatchRun run = Batch(arguments);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(u"Aucun logo"_s));

  WriteBytes(Path(u"param/logo.png"_s), "pas une image");
  run = Batch(arguments);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(u"l.bmp : Le logo n'a pas pu être inséré : le fichier "_s +
                               Path(u"param/logo.png"_s) + u" n'est pas une image lisible."_s))
      << run.err.toStdString();

  EXPECT_FALSE(QFile::exists(Path(u"l.jpg"_s)));
}

// A command of the table that runs out of memory in its own way.
const CommandInfo kTurnWithNoMemoryLeft = {
    "gauche-sans-memoire", "", "", [](QStringView, CommandArgument&, QString&) { return true; },
    [](PhotoDocument& d, const CommandArgument&, CommandContext&) {
      const std::size_t previous = SetSurfaceMemoryLimit(LiveSurfaceBytes());
      try {
        d.Piv_Gche();
      } catch (...) {
        SetSurfaceMemoryLimit(previous);
        throw;
      }
    }};
const CommandInfo kAllocationFails = {
    "panne", "", "", [](QStringView, CommandArgument&, QString&) { return true; },
    [](PhotoDocument&, const CommandArgument&, CommandContext&) { throw std::bad_alloc(); }};

TEST_F(BatchTest, MemoryRunningOutFailsThePhotoNotTheProgram) {
  batch::BatchOptions options;
  options.inputs = {WriteBmp(RandomSurface(9, 5, 1), u"a.bmp"_s),
                    WriteBmp(RandomSurface(5, 9, 2), u"b.bmp"_s)};
  options.output = folder.path();
  // The memory limit is the whole program's: one photo at a time.
  options.jobs = 1;
  for (const CommandInfo* command : {&kTurnWithNoMemoryLeft, &kAllocationFails}) {
    options.effects = {{QString::fromLatin1(command->name), command, {}}};
    QString text;
    QTextStream err(&text);
    EXPECT_EQ(batch::RunBatch(options, folder.path(), err, false), 1);
    err.flush();
    EXPECT_EQ(text.count(u"Mémoire insuffisante : la photo n'a pas été modifiée. (erreur 0x7, "_s),
              2)
        << text.toStdString();
    EXPECT_FALSE(QFile::exists(Path(u"a.jpg"_s)));
  }
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2);
}

// Photos of a run, the first one much larger so that with several workers
// the later ones finish first; the fourth cannot be read, the fifth is
// refused by "web" (400 x 0).
class BatchParallelTest : public BatchTest {
 protected:
  void SetUp() override {
    inputs = {WriteBmp(RandomSurface(700, 500, 1), u"a.bmp"_s),
              WriteBmp(RandomSurface(31, 17, 2), u"b.bmp"_s),
              WriteBmp(RandomSurface(5, 257, 3), u"c.bmp"_s),
              Path(u"d.jpg"_s),
              WriteBmp(RandomSurface(1000, 1, 4), u"e.bmp"_s),
              WriteBmp(RandomSurface(2, 3, 5), u"f.bmp"_s)};
    WriteBytes(inputs[3], "pas une photo");
  }
  // The run of `inputs` into a new folder `name`.
  BatchRun RunInto(const QString& name, const QStringList& options) {
    EXPECT_TRUE(QDir(folder.path()).mkdir(name));
    return Batch(options + QStringList{u"-f"_s, u"bmp"_s} + inputs +
                 QStringList{u"-o"_s, Path(name)});
  }
  QStringList inputs;
};

TEST_F(BatchParallelTest, SeveralPhotosAtOnceComeOutAsOneAtATime) {
  const QStringList effects = {u"-e"_s, u"diffusion"_s, u"-e"_s, u"nette"_s, u"-e"_s, u"web"_s};
  const BatchRun one = RunInto(u"un"_s, QStringList{u"-j"_s, u"1"_s} + effects);
  const BatchRun three = RunInto(u"trois"_s, QStringList{u"-j"_s, u"3"_s} + effects);
  EXPECT_EQ(one.exitCode, 1);
  EXPECT_EQ(three.exitCode, 1);
  // Said in input order, whatever finished first.
  const qsizetype unread = one.err.indexOf(u"ouverture de : "_s + inputs[3]);
  const qsizetype refused = one.err.indexOf(inputs[4] + u" : "_s);
  EXPECT_TRUE(unread >= 0 && refused > unread) << one.err.toStdString();
  EXPECT_TRUE(one.err.contains(u"400 x 0"_s));
  EXPECT_EQ(one.err.count(u'\n'), 2);
  EXPECT_EQ(three.err, one.err);
  const QStringList written = {u"a.bmp"_s, u"b.bmp"_s, u"c.bmp"_s, u"f.bmp"_s};
  EXPECT_EQ(QDir(Path(u"un"_s)).entryList(QDir::Files), written);
  EXPECT_EQ(QDir(Path(u"trois"_s)).entryList(QDir::Files), written);
  for (const QString& name : written) {
    EXPECT_EQ(ReadBytes(Path(u"trois/"_s + name)), ReadBytes(Path(u"un/"_s + name)))
        << name.toStdString();
  }
  // Each photo draws its diffusion as a program that opened only that photo:
  // alone, the third comes out as it did in the run.
  const BatchRun alone = Batch(effects + QStringList{inputs[2], u"-o"_s, Path(u"seule.bmp"_s)});
  ASSERT_EQ(alone.exitCode, 0) << alone.err.toStdString();
  EXPECT_EQ(ReadBytes(Path(u"seule.bmp"_s)), ReadBytes(Path(u"trois/c.bmp"_s)));
  EXPECT_NE(ReadBytes(Path(u"trois/b.bmp"_s)), ReadBytes(Path(u"trois/c.bmp"_s)));
}

// Two inputs of one name go to one result: the later one's, as with one
// worker, even when the earlier (larger) one finishes last.
TEST_F(BatchParallelTest, ResultsOfTheSameNameAreWrittenInInputOrder) {
  ASSERT_TRUE(QDir(folder.path()).mkdir(u"autre"_s));
  const QString second = WriteBmp(RandomSurface(3, 2, 9), u"autre/a.bmp"_s);
  ASSERT_TRUE(QDir(folder.path()).mkdir(u"sortie"_s));
  const BatchRun run =
      Batch({u"-j"_s, u"2"_s, u"-f"_s, u"bmp"_s, inputs[0], second, u"-o"_s, Path(u"sortie"_s)});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(ReadBytes(Path(u"sortie/a.bmp"_s)), ReadBytes(second));
}

// On a terminal a line counts the finished photos; it is wiped before any
// text and at the end, so the messages read as without it.
TEST_F(BatchParallelTest, TheProgressLineCountsPhotosAndLeavesTheMessagesWhole) {
  batch::BatchOptions options;
  QString error;
  ASSERT_TRUE(batch::ParseArguments(QStringList{u"-j"_s, u"2"_s, u"-e"_s, u"web"_s} + inputs +
                                        QStringList{u"-o"_s, folder.path()},
                                    options, error));
  QString shown, plain;
  for (QString* text : {&shown, &plain}) {
    QTextStream err(text);
    EXPECT_EQ(batch::RunBatch(options, folder.path(), err, text == &shown), 1);
  }
  // A line, "Photos [" + 30 + "] k/6", is wiped by as many spaces; the last
  // one too, so that the terminal is left at the start of a line.
  const QRegularExpression line(u"Photos \\[(#*) *\\] (\\d)/6"_s);
  const QString wipe = u"\r"_s + QString(43, u' ') + u"\r"_s;
  EXPECT_TRUE(shown.endsWith(u'\n') || shown.endsWith(wipe)) << shown.toStdString();
  for (auto m = line.globalMatch(shown); m.hasNext();) {
    const auto match = m.next();
    EXPECT_EQ(match.captured(1).size(), match.captured(2).toInt() * 5) << shown.toStdString();
    EXPECT_LT(match.captured(2).toInt(), 6);
  }
  EXPECT_EQ(shown.remove(line).remove(wipe), plain);
  EXPECT_EQ(plain.count(u'\n'), 2);
}

TEST(BatchOptions, OutputNamesAndFormats) {
  batch::OutputFormat format;
  EXPECT_TRUE(batch::FormatForFile(u"/x/a.JPEG"_s, format));
  EXPECT_EQ(format, batch::OutputFormat::Jpeg);
  EXPECT_TRUE(batch::FormatForFile(u"a.Bmp"_s, format));
  EXPECT_EQ(format, batch::OutputFormat::Bmp);
  EXPECT_FALSE(batch::FormatForFile(u"a.png"_s, format));
  EXPECT_EQ(batch::OutputPathFor(u"/in/vacances.2026.png"_s, u"/out"_s, batch::OutputFormat::Jpeg),
            u"/out/vacances.2026.jpg"_s);
}

}  // namespace
}  // namespace fotavel::testing
