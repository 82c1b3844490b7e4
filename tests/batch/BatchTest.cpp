// fotavel-batch end to end: real files in and out, bad arguments, failing photos, several at once.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdlib>
#include <filesystem>
#include <new>

#include "batch/BatchFixture.h"
#include "batch/BatchOptions.h"
#include "batch/BatchRunner.h"
#include "document/AppServices.h"
#include "document/PhotoDocument.h"
#include "io/FileNames.h"
#include "io/MetadataFiles.h"
#include "io/PictureFiles.h"
#include "io/TestFiles.h"
#include "support/SpecialFiles.h"
#include "support/Surfaces.h"
#include "surface/SurfaceMemory.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

TEST_F(BatchTest, EffectsRunExactlyAsTheDocumentCommands) {
  const QString input = WriteBmp(RandomSurface(31, 17, 3), u"entree.bmp"_s);
  const BatchRun run = Batch({u"-e"_s, u"clair"_s, u"-e"_s, u"gauche"_s, u"-e"_s, u"nette"_s,
                              u"-e"_s, u"colorer=45"_s, input, u"-o"_s, Path(u"sortie.BMP"_s)});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

  AppServices services(folder.path());
  PhotoDocument document(services);
  ASSERT_NO_THROW(document.OpenFile(input, false));
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
}

TEST_F(BatchTest, BadArgumentsAreNamedAndStopBeforeAnyFileIsTouched) {
  const QString input = WriteBmp(RandomSurface(4, 4, 2), u"a.bmp"_s);
  const QString out = Path(u"b.jpg"_s), gif = Path(u"b.gif"_s), nowhere = Path(u"rien"_s);
  const struct {
    QStringList arguments;
    QString message;
  } bad[] = {
      {{u"-e"_s, u"inconnu"_s, input, u"-o"_s, out}, u"effet inconnu : inconnu"_s},
      {{u"-q"_s, u"30"_s, input, u"-o"_s, out}, u"la qualité va de 45 à 100"_s},
      {{u"-q"_s, u"2147483647"_s, input, u"-o"_s, out}, u"la qualité va de 45 à 100"_s},
      {{input}, u"la sortie manque (-o SORTIE)"_s},
      {{input, u"-o"_s, gif},
       u"format de sortie inconnu : "_s + gif +
           u" (.jpg, .jpeg, .bmp, .png, .webp, .avif, .tif ou .tiff)"_s},
      {{input, input, u"-o"_s, nowhere},
       u"avec plusieurs photos, la sortie doit être un dossier existant : "_s + nowhere},
      {{u"-j"_s, u"0"_s, input, u"-o"_s, out},
       u"-j : le nombre de photos traitées à la fois est un entier de 1 ou plus (« 0 »)"_s},
      {{u"-j"_s, u"-2147483648"_s, input, u"-o"_s, out},
       u"-j : le nombre de photos traitées à la fois est un entier de 1 ou plus (« -2147483648 »)"_s},
      {{input, u"-o"_s, out, u"-j"_s}, u"-j demande une valeur"_s},
  };
  for (const auto& c : bad) {
    const BatchRun run = Batch(c.arguments);
    EXPECT_EQ(run.exitCode, 2) << c.arguments.join(' ').toStdString();
    EXPECT_TRUE(run.err.startsWith(u"fotavel-batch : "_s + c.message) &&
                run.err.contains(u"\n\nUsage : fotavel-batch"_s))
        << run.err.toStdString();
  }
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{u"a.bmp"_s});
}

// A photo the run cannot finish is said with its reason and writes nothing:
// an existing result stays as it was, and no temporary is left behind.
TEST_F(BatchTest, APhotoThatFailsWritesNothingAndKeepsAnExistingResult) {
  const QString input = WriteBmp(RandomSurface(1000, 1, 2), u"fil.bmp"_s);
  const QString out = WriteBmp(RandomSurface(3, 3, 9), u"ancien.bmp"_s);
  const QByteArray old = ReadBytes(out);
  BatchRun run = Batch({u"-e"_s, u"web"_s, input, u"-o"_s, out});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(u"400 x 0"_s)) << run.err.toStdString();
  run = Batch(
      {u"-e"_s, u"noyau=4:1:"_s + QString(u"1,"_s).repeated(15) + u"1"_s, input, u"-o"_s, out});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(u"0x80040519"_s) &&
              run.err.contains(u"Size must be an odd number"_s))
      << run.err.toStdString();
  EXPECT_EQ(ReadBytes(out), old);

  // A logo that cannot be stamped fails the photo rather than passing it unchanged.
  ASSERT_TRUE(QDir(folder.path()).mkdir(u"param"_s));
  const QStringList logo = {u"--param"_s, Path(u"param"_s), u"-e"_s, u"logo"_s,
                            input,        u"-o"_s,          out};
  run = Batch(logo);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(u"Aucun logo"_s)) << run.err.toStdString();
  WriteBytes(Path(u"param/logo.png"_s), "pas une image");
  run = Batch(logo);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(u"fil.bmp : Le logo n'a pas pu être inséré : le fichier "_s +
                               Path(u"param/logo.png"_s) + u" n'est pas une image lisible."_s))
      << run.err.toStdString();
  EXPECT_EQ(ReadBytes(out), old);
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2);
}

// Whatever fails a photo is said in one shape: the photo, the window's text for the failure (an
// open or a save failure after its message's head, naming the file when it is not the photo),
// then the error's number and source, which tell the three apart. A FIFO or a device is refused
// at once, never waited on or read without end.
TEST_F(BatchTest, OpenEffectAndSaveFailuresAreSaidInOneShape) {
  const QString missing = Path(u"absente.jpg"_s), fifo = Path(u"tube.jpg"_s);
  ASSERT_TRUE(MakeFifo(fifo));
  const QString thin = WriteBmp(RandomSurface(1000, 1, 2), u"fil.bmp"_s);  // web size: 400 x 0
  const QString good = WriteBmp(RandomSurface(5, 3, 1), u"bonne.bmp"_s);
  ASSERT_TRUE(QDir(folder.path()).mkpath(u"sortie/bonne.bmp"_s));  // a folder takes its name
  const QString taken = Path(u"sortie/bonne.bmp"_s);
  BatchRun run = Batch({u"-e"_s, u"web"_s, u"-f"_s, u"bmp"_s, missing, fifo, u"/dev/zero"_s, thin,
                        good, u"-o"_s, Path(u"sortie"_s)});
  const QString open = u" : Une erreur est survenue lors de l'ouverture de : "_s;
  const QString special = open +
                          u"ce chemin ne désigne pas un fichier ordinaire (erreur 0x800405DC, "
                          u"fotavel-batch.PictureFiles)\n"_s;
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err,
            missing + open +
                u"fichier introuvable (erreur 0x800405DC, fotavel-batch.PictureFiles)\n"_s + fifo +
                special + u"/dev/zero"_s + special + thin +
                u" : Impossible de retailler la photo en 400 x 0 : chaque côté doit mesurer au "
                u"moins 1 pixel. (erreur 0x80040578, fotavel-batch.PhotoDocument)\n"_s +
                good + u" : Erreur lors de l'enregistrement de la photo: "_s + taken + u" : « "_s +
                taken + u" » est un dossier (erreur 0x800405DD, fotavel-batch.PictureFiles)\n"_s);
  EXPECT_EQ(QDir(Path(u"sortie"_s)).entryList(QDir::Files), QStringList());

  // The second photo of a combination is named, as the result is.
  run = Batch({u"-e"_s, u"combiner="_s + missing, good, u"-o"_s, Path(u"c.bmp"_s)});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err,
            good + open + missing +
                u" : fichier introuvable (erreur 0x800405DC, fotavel-batch.PictureFiles)\n"_s);
  EXPECT_FALSE(QFileInfo::exists(Path(u"c.bmp"_s)));
}

// Commands that run out of memory in their own ways.
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
  options.jobs = 1;  // the memory limit is the whole program's
  for (const CommandInfo* command : {&kTurnWithNoMemoryLeft, &kAllocationFails}) {
    options.effects = {{QString::fromLatin1(command->name), command, {}}};
    QString text;
    QTextStream err(&text);
    EXPECT_EQ(batch::RunBatch(options, folder.path(), err, false), 1);
    err.flush();
    EXPECT_EQ(text.count(u"Mémoire insuffisante : la photo n'a pas été modifiée. (erreur 0x7, "_s),
              2)
        << text.toStdString();
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
  const qsizetype unread =
      one.err.indexOf(inputs[3] +
                      u" : Une erreur est survenue lors de l'ouverture de : format d'image inconnu "
                      u"(erreur 0x800405DC, fotavel-batch.PictureFiles)\n"_s);
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
}

// Two inputs of one name go to one result: the later one's, as with one
// worker, even when the earlier (larger) one finishes last. However many
// workers are asked for, there are never more than photos.
TEST_F(BatchParallelTest, ResultsOfTheSameNameAreWrittenInInputOrder) {
  ASSERT_TRUE(QDir(folder.path()).mkdir(u"autre"_s));
  const QString second = WriteBmp(RandomSurface(3, 2, 9), u"autre/a.bmp"_s);
  ASSERT_TRUE(QDir(folder.path()).mkdir(u"sortie"_s));
  const BatchRun run = Batch(
      {u"-j"_s, u"2147483647"_s, u"-f"_s, u"bmp"_s, inputs[0], second, u"-o"_s, Path(u"sortie"_s)});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(ReadBytes(Path(u"sortie/a.bmp"_s)), ReadBytes(second));
}

// A name given with a byte that is not UTF-8 (0xE9, "é" in Latin-1) names that very file: Qt's
// decoding of the command line used to turn it into U+FFFD, so the result went under another
// name, the run said it succeeded and the file the user named kept its old content. The shell
// hands the tool the names as bytes (QProcess would encode them as text first).
TEST_F(BatchTest, NamesThatAreNotUtf8AreReadAndWrittenByTheirBytes) {
  const QByteArray dir = QFile::encodeName(folder.path());
  const QByteArray input = dir + "/\xE9t\xE9.bmp", output = dir + "/r\xE9sultat.bmp";
  const cDIBSection photo = RandomSurface(7, 5, 3);
  ASSERT_EQ(::rename(QFile::encodeName(WriteBmp(photo, u"a.bmp"_s)), input), 0);
  WriteBytes(Path(u"b.bmp"_s), "ancien");
  ASSERT_EQ(::rename(QFile::encodeName(Path(u"b.bmp"_s)), output), 0);
  const QByteArray command = "'" FOTAVEL_BATCH_PATH "' '" + input + "' -o '" + output + "'";
  const int status = std::system(command.constData());  // what it says goes to the test's output
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_TRUE(SamePixels(MustRead(io::NameFromNative(output)), photo));
  // Nothing under another name: the two the user gave and no third.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.toStdString()), {}), 2);
  ::unlink(input.constData());  // Qt's removal of the folder cannot name them
  ::unlink(output.constData());
}

// Every photo of a run counts on the same share of the memory free when the
// run began, whatever the others are doing: two photos with the same resize
// are both refused, or both done, whichever finishes first; likewise for
// opening them.
TEST_F(BatchTest, EachPhotoHasItsShareOfTheMemory) {
  const QStringList inputs = {WriteBmp(RandomSurface(300, 200, 2), u"a.bmp"_s),
                              WriteBmp(RandomSurface(20, 10, 3), u"b.bmp"_s)};
  ASSERT_TRUE(QDir(folder.path()).mkdir(u"sortie"_s));
  batch::BatchOptions options;
  QString error, text;
  ASSERT_TRUE(batch::ParseArguments(
      QStringList{u"-j"_s, u"2"_s, u"-f"_s, u"bmp"_s, u"-e"_s, u"taille=1000x1000"_s} + inputs +
          QStringList{u"-o"_s, Path(u"sortie"_s)},
      options, error));
  QTextStream err(&text);
  const auto run = [&](std::uint64_t memory) {
    text.clear();
    const int status = batch::RunBatch(options, folder.path(), err, false, memory);
    err.flush();
    return status;
  };
  // The new photo and its scratch surface, beside the photo and its own
  // (the larger one's), and a megabyte for the resampler's tables.
  const std::uint64_t photo = 2 * 3000 * 1000 + 2 * 900 * 200 + (1 << 20);
  EXPECT_EQ(run(photo), 1);
  EXPECT_EQ(text.count(u"Mémoire insuffisante : la photo n'a pas été modifiée."_s), 2)
      << text.toStdString();
  // Opening takes half the share at most: 50 kB here, less than the first
  // file (the second still opens, and its resize is refused). The budget is
  // the whole program's; the run leaves it as it found it.
  const std::uint64_t before = io::SetPictureMemoryBudget(123456789);
  EXPECT_EQ(run(200000), 1);
  EXPECT_EQ(io::SetPictureMemoryBudget(before), 123456789u);
  const QString source = QString::fromStdString(ProgramName());
  EXPECT_EQ(text, inputs[0] +
                      u" : Une erreur est survenue lors de l'ouverture de : fichier trop "
                      u"volumineux pour la mémoire disponible (erreur 0x800405DC, "_s +
                      source + u".PictureFiles)\n"_s + inputs[1] +
                      u" : Mémoire insuffisante : la photo n'a pas été modifiée. (erreur 0x7, "_s +
                      source + u".PhotoDocument)\n"_s);
  EXPECT_TRUE(QDir(Path(u"sortie"_s)).isEmpty());
  EXPECT_EQ(run(2 * photo), 0);
  EXPECT_EQ(QDir(Path(u"sortie"_s)).entryList(QDir::Files), (QStringList{u"a.bmp"_s, u"b.bmp"_s}));
}

// Names that lead to one file by links: results written through a linked folder, one under a
// name that is a link to another result, and a later photo that is a link (by "..") to an
// earlier result. Files are known by what they are, so several workers meet them in input order,
// as one does.
TEST_F(BatchParallelTest, NamesThatLeadToOneFileAreMetInInputOrder) {
  const auto run = [&](const QString& jobs) {
    const QString out = Path(jobs + u"/out"_s);
    EXPECT_TRUE(QDir().mkpath(out) && QDir().mkpath(Path(jobs + u"/in"_s)));
    WriteBmp(RandomSurface(3, 3, 9), jobs + u"/out/a.bmp"_s);
    EXPECT_EQ(::symlink("out", QFile::encodeName(Path(jobs + u"/lien"_s))), 0);
    EXPECT_EQ(::symlink("a.bmp", QFile::encodeName(out + u"/b.bmp"_s)), 0);
    EXPECT_EQ(::symlink("../out/a.bmp", QFile::encodeName(Path(jobs + u"/in/d.bmp"_s))), 0);
    const BatchRun done =
        Batch({u"-j"_s, jobs, u"-f"_s, u"bmp"_s, u"-e"_s, u"negatif"_s, inputs[0], inputs[1],
               Path(jobs + u"/in/d.bmp"_s), u"-o"_s, Path(jobs + u"/lien"_s)});
    EXPECT_EQ(done.exitCode, 0) << done.err.toStdString();
  };
  run(u"1"_s);
  run(u"3"_s);
  for (const QString& name : {u"a.bmp"_s, u"b.bmp"_s, u"d.bmp"_s}) {
    EXPECT_EQ(ReadBytes(Path(u"3/out/"_s + name)), ReadBytes(Path(u"1/out/"_s + name)))
        << name.toStdString();
  }
}

// A second photo that the run itself writes over would be combined as it was for some photos
// and as it became for others, depending on which comes first: the run is refused before
// anything is read, whatever name leads there. Alone, a photo may be combined with its own
// result's old content.
TEST_F(BatchTest, ACombinationWithTheRunsOwnResultIsRefused) {
  const QString a = WriteBmp(UniformSurface(6, 4, 1, 2, 3), u"a.bmp"_s);
  ASSERT_TRUE(QDir().mkpath(Path(u"autre"_s)) && QDir().mkpath(Path(u"sortie"_s)));
  const QString b = WriteBmp(RandomSurface(5, 5, 2), u"autre/b.bmp"_s);
  ASSERT_EQ(::symlink("sortie", QFile::encodeName(Path(u"lien"_s))), 0);
  for (const QString& second :
       {Path(u"sortie/b.bmp"_s), Path(u"lien/b.bmp"_s), Path(u"lien/../sortie/./b.bmp"_s)}) {
    batch::BatchOptions options;
    QString error;
    EXPECT_FALSE(batch::ParseArguments(
        {u"-f"_s, u"bmp"_s, u"-e"_s, u"combiner="_s + second, a, b, u"-o"_s, Path(u"sortie"_s)},
        options, error));
    EXPECT_EQ(error, u"combiner="_s + second +
                         u" : la seconde photo serait remplacée pendant la série par le résultat "
                         u"de "_s +
                         b);
  }
  const QString old = WriteBmp(UniformSurface(6, 4, 10, 20, 30), u"ancien.bmp"_s);
  const BatchRun alone = Batch({u"-e"_s, u"combiner="_s + old, a, u"-o"_s, old});
  ASSERT_EQ(alone.exitCode, 0) << alone.err.toStdString();
  EXPECT_TRUE(SamePixels(MustRead(old), UniformSurface(6, 4, 11, 22, 33)));
}

// A photo large enough for its passes to be shared out comes out the same
// on one thread and on as many as the machine lets each photo have.
TEST_F(BatchTest, ThreadsChangeNothingInTheResult) {
  const QString input = WriteBmp(RandomSurface(1000, 600, 5), QStringLiteral("grande.bmp"));
  cDIBSection results[2];
  const char* counts[2] = {"1", "7"};
  for (int i = 0; i < 2; ++i) {
    const QString out = Path(QStringLiteral("fils-%1.bmp").arg(counts[i]));
    const BatchRun run = Batch({QStringLiteral("--threads"), QString::fromLatin1(counts[i]),
                                QStringLiteral("-e"), QStringLiteral("clair"), QStringLiteral("-e"),
                                QStringLiteral("colorer"), input, QStringLiteral("-o"), out});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    results[i] = MustRead(out);
  }
  EXPECT_TRUE(SamePixels(results[0], results[1])) << FirstDifference(results[0], results[1]);
  EXPECT_EQ(Batch({QStringLiteral("--threads"), QStringLiteral("0"), input, QStringLiteral("-o"),
                   Path(QStringLiteral("x.bmp"))})
                .exitCode,
            2);
}

}  // namespace
}  // namespace fotavel::testing
