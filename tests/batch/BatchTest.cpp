// fotavel-batch end to end: real files in and out, bad arguments, failing photos, several at once.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <climits>
#include <filesystem>
#include <iterator>
#include <new>
#include <system_error>
#include <vector>

#include "batch/BatchOptions.h"
#include "batch/BatchRunner.h"
#include "document/AppServices.h"
#include "document/Messages.h"
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
    EXPECT_NO_THROW(io::WriteBmp(picture, Path(name)));
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
  const QString out = Path(u"b.jpg"_s), png = Path(u"b.png"_s), nowhere = Path(u"rien"_s);
  const struct {
    QStringList arguments;
    QString message;
  } bad[] = {
      {{u"-e"_s, u"inconnu"_s, input, u"-o"_s, out}, u"effet inconnu : inconnu"_s},
      {{u"-q"_s, u"30"_s, input, u"-o"_s, out}, u"la qualité va de 45 à 100"_s},
      {{input}, u"la sortie manque (-o SORTIE)"_s},
      {{input, u"-o"_s, png}, u"format de sortie inconnu : "_s + png + u" (.bmp, .jpg ou .jpeg)"_s},
      {{input, input, u"-o"_s, nowhere},
       u"avec plusieurs photos, la sortie doit être un dossier existant : "_s + nowhere},
      {{u"-j"_s, u"0"_s, input, u"-o"_s, out},
       u"-j : le nombre de photos traitées à la fois est un entier de 1 ou plus (« 0 »)"_s},
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
// then the error's number and source, which tell the three apart.
TEST_F(BatchTest, OpenEffectAndSaveFailuresAreSaidInOneShape) {
  const QString missing = Path(u"absente.jpg"_s);
  const QString thin = WriteBmp(RandomSurface(1000, 1, 2), u"fil.bmp"_s);  // web size: 400 x 0
  const QString good = WriteBmp(RandomSurface(5, 3, 1), u"bonne.bmp"_s);
  ASSERT_TRUE(QDir(folder.path()).mkpath(u"sortie/bonne.bmp"_s));  // a folder takes its name
  const QString taken = Path(u"sortie/bonne.bmp"_s);
  BatchRun run = Batch(
      {u"-e"_s, u"web"_s, u"-f"_s, u"bmp"_s, missing, thin, good, u"-o"_s, Path(u"sortie"_s)});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err,
            missing +
                u" : Une erreur est survenue lors de l'ouverture de : fichier introuvable "
                u"(erreur 0x800405DC, fotavel-batch.PictureFiles)\n"_s +
                thin +
                u" : Impossible de retailler la photo en 400 x 0 : chaque côté doit mesurer au "
                u"moins 1 pixel. (erreur 0x80040578, fotavel-batch.PhotoDocument)\n"_s +
                good + u" : Erreur lors de l'enregistrement de la photo: "_s + taken + u" : « "_s +
                taken + u" » est un dossier (erreur 0x800405DD, fotavel-batch.PictureFiles)\n"_s);

  // The second photo of a combination is named, as the result is.
  run = Batch({u"-e"_s, u"combiner="_s + missing, good, u"-o"_s, Path(u"c.bmp"_s)});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err,
            good + u" : Une erreur est survenue lors de l'ouverture de : "_s + missing +
                u" : fichier introuvable (erreur 0x800405DC, fotavel-batch.PictureFiles)\n"_s);
  EXPECT_FALSE(QFileInfo::exists(Path(u"c.bmp"_s)));
}

// A FIFO or a device, as a photo or the second photo of a combination, is refused at once with
// its reason; a logo too large for the memory left fails the photo as memory running out.
TEST_F(BatchTest, SpecialFilesAreRefusedAtOnceAndAVastLogoFailsThePhoto) {
  const QString fifo = Path(u"tube.jpg"_s);
  ASSERT_TRUE(MakeFifo(fifo));
  const QString good = WriteBmp(RandomSurface(5, 3, 1), u"bonne.bmp"_s);
  const QString open = u" : Une erreur est survenue lors de l'ouverture de : "_s;
  const QString refused =
      u"ce chemin ne désigne pas un fichier ordinaire (erreur 0x800405DC, "
      u"fotavel-batch.PictureFiles)\n"_s;
  ASSERT_TRUE(QDir(folder.path()).mkdir(u"sortie"_s));
  BatchRun run = Batch({u"-f"_s, u"bmp"_s, fifo, u"/dev/zero"_s, u"-o"_s, Path(u"sortie"_s)});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, fifo + open + refused + u"/dev/zero"_s + open + refused);
  EXPECT_EQ(QDir(Path(u"sortie"_s)).entryList(QDir::Files), QStringList());

  run = Batch({u"-e"_s, u"combiner="_s + fifo, good, u"-o"_s, Path(u"c.bmp"_s)});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, good + open + fifo + u" : "_s + refused);
  EXPECT_FALSE(QFileInfo::exists(Path(u"c.bmp"_s)));

  ASSERT_TRUE(QDir(folder.path()).mkdir(u"param"_s));
  WriteBytes(Path(u"param/logo.png"_s), PngClaiming(100000, 100000));
  run =
      Batch({u"--param"_s, Path(u"param"_s), u"-e"_s, u"logo"_s, good, u"-o"_s, Path(u"l.bmp"_s)});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, good +
                         u" : Mémoire insuffisante : la photo n'a pas été modifiée. (erreur "_s
                         u"0x7, fotavel-batch.PhotoDocument)\n"_s);
  EXPECT_FALSE(QFileInfo::exists(Path(u"l.bmp"_s)));
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

// The tool started with arguments given as raw bytes, as a shell hands over a
// name that is not UTF-8 (QProcess would encode them as text first).
BatchRun BatchWithBytes(const std::vector<QByteArray>& arguments) {
  QTemporaryDir logFolder;
  const QByteArray program = FOTAVEL_BATCH_PATH;
  const QByteArray log = QFile::encodeName(logFolder.filePath(u"erreurs"_s));
  std::vector<char*> argv{const_cast<char*>(program.constData())};
  for (const QByteArray& argument : arguments) argv.push_back(const_cast<char*>(argument.data()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log.constData(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t child = 0;
  const int started =
      posix_spawn(&child, program.constData(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  EXPECT_EQ(started, 0);
  int status = 0;
  if (started != 0 || ::waitpid(child, &status, 0) != child) return {-1, QString()};
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
          QString::fromUtf8(ReadBytes(logFolder.filePath(u"erreurs"_s)))};
}

bool Exists(const QByteArray& name) {
  struct stat status {};
  return ::stat(name.constData(), &status) == 0;
}

// The bytes of the file of that raw name.
QByteArray RawBytes(const QByteArray& name) {
  QFile file;
  const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) return {};
  return file.readAll();
}

// How many names a folder holds, listed as bytes (Qt's listing decodes them
// and then cannot find what they name).
std::ptrdiff_t Entries(const QByteArray& folder) {
  return std::distance(std::filesystem::directory_iterator(folder.toStdString()),
                       std::filesystem::directory_iterator());
}

// Each byte of the picture turned to its negative, as "negatif" makes it.
cDIBSection Negative(const cDIBSection& picture) {
  cDIBSection negative = Copy(picture);
  for (std::int32_t y = 0; y < picture.height(); ++y) {
    for (std::int32_t i = 0; i < 3 * picture.width(); ++i) negative.row(y)[i] ^= 0xFF;
  }
  return negative;
}

// Removes a folder and all in it by the bytes of their names.
struct RemovedAtEnd {
  QByteArray folder;
  ~RemovedAtEnd() {
    std::error_code ignored;
    std::filesystem::remove_all(folder.toStdString(), ignored);
  }
};

// A name given with a byte that is not UTF-8 (0xE9, "é" in Latin-1) names
// that very file: Qt's decoding of the command line used to turn it into
// U+FFFD, so the result went under another name, the run said it succeeded
// and the file the user named kept its old content.
TEST_F(BatchTest, NamesThatAreNotUtf8AreReadAndWrittenByTheirBytes) {
  const QByteArray dir = QFile::encodeName(folder.path());
  const RemovedAtEnd whole(dir);  // Qt's own removal cannot name what is in it
  const cDIBSection photo = RandomSurface(7, 5, 3);
  const QByteArray input = dir + "/\xE9t\xE9.bmp", output = dir + "/r\xE9sultat.bmp";
  ASSERT_EQ(::rename(QFile::encodeName(WriteBmp(photo, u"a.bmp"_s)), input), 0);
  WriteBytes(Path(u"b.bmp"_s), "ancien");
  ASSERT_EQ(::rename(QFile::encodeName(Path(u"b.bmp"_s)), output), 0);
  BatchRun run = BatchWithBytes({"-e", "negatif", input, "-o", output});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  WriteBytes(Path(u"lu.bmp"_s), RawBytes(output));
  EXPECT_TRUE(SamePixels(MustRead(Path(u"lu.bmp"_s)), Negative(photo)));
  // Nothing under another name: the two raw names and the copy read back.
  EXPECT_EQ(Entries(dir), 3);

  // Several photos into a folder of such a name: each result there under
  // its photo's own name.
  const QByteArray results = dir + "/r\xE9sultats";
  ASSERT_EQ(::mkdir(results.constData(), 0700), 0);
  run = BatchWithBytes(
      {"-f", "bmp", "-e", "negatif", input, QFile::encodeName(Path(u"lu.bmp"_s)), "-o", results});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(Exists(results + "/\xE9t\xE9.bmp"));
  EXPECT_TRUE(Exists(results + "/lu.bmp"));
  EXPECT_EQ(Entries(results), 2);
}

// fotavel-batch's own arguments at the ends of 32 bits.
TEST_F(BatchTest, QualityAndWorkersAtTheLimits) {
  const QString input = WriteBmp(RandomSurface(4, 4, 2), u"a.bmp"_s);
  const QString out = Path(u"b.jpg"_s);
  const auto refusal = [&](const QStringList& arguments) {
    batch::BatchOptions options;
    QString error;
    return batch::ParseArguments(arguments + QStringList{input, u"-o"_s, out}, options, error)
               ? QString()
               : error;
  };
  for (const char16_t* quality : {u"-2147483648", u"2147483647", u"2147483648", u"44", u"101"}) {
    EXPECT_EQ(refusal({u"-q"_s, QString::fromUtf16(quality)}), u"la qualité va de 45 à 100"_s);
  }
  EXPECT_EQ(refusal({u"-j"_s, u"-2147483648"_s}),
            u"-j : le nombre de photos traitées à la fois est un entier de 1 ou plus "
            u"(« -2147483648 »)"_s);
  EXPECT_EQ(refusal({u"-q"_s, u"100"_s, u"-j"_s, u"2147483647"_s}), QString());

  // As many workers as asked, which is never more than there are photos.
  const BatchRun run =
      Batch({u"-j"_s, u"2147483647"_s, u"-f"_s, u"bmp"_s, u"-e"_s, u"negatif"_s, input,
             WriteBmp(RandomSurface(3, 5, 1), u"c.bmp"_s), u"-o"_s, Path(u"."_s)});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
}

// taille=1x100000000 wants 400 MB for the new photo and as much for its
// scratch surface: refused from the photo's share of the memory before any of
// it is asked for, with the window's text, and nothing written.
TEST_F(BatchTest, AGiantResizeIsRefusedBeforeAnythingIsAllocated) {
  const QString input = WriteBmp(RandomSurface(64, 48, 2), u"a.bmp"_s);
  const QString out = Path(u"b.bmp"_s);
  for (const char16_t* size : {u"1x100000000", u"1x99999999", u"2x100000000", u"100000000x1"}) {
    batch::BatchOptions options;
    QString error;
    ASSERT_TRUE(batch::ParseArguments(
        {u"-e"_s, u"taille="_s + QString::fromUtf16(size), input, u"-o"_s, out}, options, error));
    QString text;
    QTextStream err(&text);
    EXPECT_EQ(batch::RunBatch(options, folder.path(), err, false, std::uint64_t{100} << 20), 1);
    err.flush();
    EXPECT_EQ(text,
              input + u" : Mémoire insuffisante : la photo n'a pas été modifiée. (erreur 0x7, "_s +
                  QString::fromStdString(ProgramName()) + u".PhotoDocument)\n"_s);
    EXPECT_FALSE(QFileInfo::exists(out));
  }
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
  QString error;
  ASSERT_TRUE(batch::ParseArguments(
      QStringList{u"-j"_s, u"2"_s, u"-f"_s, u"bmp"_s, u"-e"_s, u"taille=1000x1000"_s} + inputs +
          QStringList{u"-o"_s, Path(u"sortie"_s)},
      options, error));
  // The new photo and its scratch surface, beside the photo and its own
  // (the larger one's), and a megabyte for the resampler's tables.
  const std::uint64_t photo = 2 * 3000 * 1000 + 2 * 900 * 200 + (1 << 20);
  QString text;
  QTextStream err(&text);
  EXPECT_EQ(batch::RunBatch(options, folder.path(), err, false, photo), 1);
  err.flush();
  EXPECT_EQ(text.count(u"Mémoire insuffisante : la photo n'a pas été modifiée."_s), 2)
      << text.toStdString();
  // Opening takes half the share at most: 50 kB here, less than the first
  // file (the second still opens, and its resize is refused). The budget is
  // the whole program's; the run leaves it as it found it.
  const std::uint64_t before = io::SetPictureMemoryBudget(123456789);
  text.clear();
  EXPECT_EQ(batch::RunBatch(options, folder.path(), err, false, 200000), 1);
  err.flush();
  EXPECT_EQ(io::SetPictureMemoryBudget(before), 123456789u);
  const QString source = QString::fromStdString(ProgramName());
  EXPECT_EQ(text, inputs[0] +
                      u" : Une erreur est survenue lors de l'ouverture de : fichier trop "
                      u"volumineux pour la mémoire disponible (erreur 0x800405DC, "_s +
                      source + u".PictureFiles)\n"_s + inputs[1] +
                      u" : Mémoire insuffisante : la photo n'a pas été modifiée. (erreur 0x7, "_s +
                      source + u".PhotoDocument)\n"_s);
  EXPECT_TRUE(QDir(Path(u"sortie"_s)).isEmpty());
  EXPECT_EQ(batch::RunBatch(options, folder.path(), err, false, 2 * photo), 0);
  EXPECT_EQ(QDir(Path(u"sortie"_s)).entryList(QDir::Files), (QStringList{u"a.bmp"_s, u"b.bmp"_s}));
}

// A run whose names lead to one file by links: a result written through a
// linked folder, one under a name that is a link to another result, and a
// later photo that is a link to an earlier result. Files are known by what
// they are, so several workers meet them in input order, as one does.
TEST_F(BatchParallelTest, NamesThatLeadToOneFileAreMetInInputOrder) {
  const auto setUp = [&](const QString& run) {
    QDir(folder.path()).mkpath(run + u"/out"_s);
    QDir(folder.path()).mkpath(run + u"/x"_s);
    QDir(folder.path()).mkpath(run + u"/in"_s);
    WriteBmp(RandomSurface(700, 500, 1), run + u"/x/a.bmp"_s);
    WriteBmp(RandomSurface(3, 2, 2), run + u"/x/b.bmp"_s);
    WriteBmp(RandomSurface(3, 3, 9), run + u"/out/a.bmp"_s);
    const auto link = [&](const char* target, const QString& name) {
      EXPECT_EQ(::symlink(target, QFile::encodeName(Path(run + name)).constData()), 0);
    };
    link("out", u"/lien"_s);
    link("a.bmp", u"/out/b.bmp"_s);
    link("../out/a.bmp", u"/in/d.bmp"_s);
    return Batch({u"-j"_s, run == u"un"_s ? u"1"_s : u"3"_s, u"-f"_s, u"bmp"_s, u"-e"_s, u"nette"_s,
                  u"-e"_s, u"negatif"_s, Path(run + u"/x/a.bmp"_s), Path(run + u"/x/b.bmp"_s),
                  Path(run + u"/in/d.bmp"_s), u"-o"_s, Path(run + u"/lien"_s)});
  };
  const BatchRun one = setUp(u"un"_s);
  const BatchRun three = setUp(u"trois"_s);
  ASSERT_EQ(one.exitCode, 0) << one.err.toStdString();
  ASSERT_EQ(three.exitCode, 0) << three.err.toStdString();
  for (const QString& name : {u"a.bmp"_s, u"b.bmp"_s, u"d.bmp"_s}) {
    EXPECT_EQ(ReadBytes(Path(u"trois/out/"_s + name)), ReadBytes(Path(u"un/out/"_s + name)))
        << name.toStdString();
  }
  // The last photo read what the ones before it wrote, not the old 3 x 3 file.
  const cDIBSection last = MustRead(Path(u"trois/out/d.bmp"_s));
  const cDIBSection before = MustRead(Path(u"trois/out/a.bmp"_s));
  EXPECT_EQ(std::pair(last.width(), last.height()), std::pair(before.width(), before.height()));
  EXPECT_NE(std::pair(last.width(), last.height()), std::pair(3, 3));
}

// A second photo that the run itself writes over would be combined as it was
// for some photos and as it became for others, depending on which comes
// first: the run is refused before anything is read. Alone, a photo may be
// combined with its own result's old content.
TEST_F(BatchTest, ACombinationWithTheRunsOwnResultIsRefused) {
  const QString a = WriteBmp(RandomSurface(6, 4, 1), u"a.bmp"_s);
  ASSERT_TRUE(QDir(folder.path()).mkdir(u"autre"_s));
  const QString b = WriteBmp(RandomSurface(5, 5, 2), u"autre/b.bmp"_s);
  ASSERT_TRUE(QDir(folder.path()).mkdir(u"sortie"_s));
  ASSERT_EQ(::symlink("sortie", QFile::encodeName(Path(u"lien"_s)).constData()), 0);
  for (const QString& second :
       {Path(u"sortie/b.bmp"_s), Path(u"lien/b.bmp"_s), Path(u"lien/../sortie/./b.bmp"_s)}) {
    const BatchRun run = Batch(
        {u"-f"_s, u"bmp"_s, u"-e"_s, u"combiner="_s + second, a, b, u"-o"_s, Path(u"sortie"_s)});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.startsWith(u"fotavel-batch : combiner="_s + second +
                                   u" : la seconde photo serait remplacée pendant la série par le "
                                   u"résultat de "_s +
                                   b + u"\n\nUsage"_s))
        << run.err.toStdString();
    EXPECT_TRUE(QDir(Path(u"sortie"_s)).isEmpty());
  }

  const QString old = WriteBmp(UniformSurface(6, 4, 10, 20, 30), u"ancien.bmp"_s);
  const BatchRun alone = Batch({u"-e"_s, u"combiner="_s + old, a, u"-o"_s, old});
  ASSERT_EQ(alone.exitCode, 0) << alone.err.toStdString();
  cDIBSection expected = RandomSurface(6, 4, 1);
  for (std::int32_t y = 0; y < 4; ++y) {
    for (std::int32_t i = 0; i < 18; ++i) {
      expected.row(y)[i] = std::uint8_t(std::min(255, expected.row(y)[i] + 10 + 10 * (i % 3)));
    }
  }
  EXPECT_TRUE(SamePixels(MustRead(old), expected));
}

}  // namespace
}  // namespace fotavel::testing
