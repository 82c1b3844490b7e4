// fotavel-batch end to end: real files in and out, usage errors, refusals, nothing half-written.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "batch/BatchOptions.h"
#include "document/AppServices.h"
#include "document/PhotoDocument.h"
#include "io/PictureFiles.h"
#include "support/Surfaces.h"

namespace fotavel::testing {
namespace {

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
  cDIBSection Read(const QString& path) {
    cDIBSection picture;
    QString error;
    EXPECT_TRUE(io::ReadPicture(path, picture, error)) << error.toStdString();
    return picture;
  }
  QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  QTemporaryDir folder;
};

TEST_F(BatchTest, EffectsRunExactlyAsTheDocumentCommands) {
  const QString input = WriteBmp(RandomSurface(31, 17, 3), QStringLiteral("entree.bmp"));
  const BatchRun run = Batch({QStringLiteral("-e"), QStringLiteral("clair"), QStringLiteral("-e"),
                         QStringLiteral("gauche"), QStringLiteral("-e"), QStringLiteral("nette"),
                         QStringLiteral("-e"), QStringLiteral("colorer=45"), input, QStringLiteral("-o"),
                         Path(QStringLiteral("sortie.BMP"))});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

  AppServices services(folder.path());
  PhotoDocument document(services);
  QString error;
  ASSERT_TRUE(document.OpenFile(input, false, error));
  document.Lighten(20);
  document.Piv_Gche();
  document.ProcessImage(5);
  document.saturation(45);
  const cDIBSection written = Read(Path(QStringLiteral("sortie.BMP")));
  EXPECT_TRUE(SamePixels(written, document.Picture())) << FirstDifference(written, document.Picture());
}

TEST_F(BatchTest, SeveralInputsGoIntoTheFolderUnderTheirBaseNames) {
  const QString bmp = WriteBmp(RandomSurface(8, 5, 1), QStringLiteral("un.photo.bmp"));
  QImage png(6, 4, QImage::Format_ARGB32);
  png.fill(qRgba(255, 0, 0, 255));
  ASSERT_TRUE(png.save(Path(QStringLiteral("deux.png"))));
  // Qt writes no GIF: a 1 x 1 GIF whose one pixel is palette entry 0, pure red.
  QFile gif(Path(QStringLiteral("trois.gif")));
  ASSERT_TRUE(gif.open(QIODevice::WriteOnly));
  gif.write(QByteArray::fromHex(
      "474946383961 0100 0100 80 00 00 ff0000 000000 2c 00000000 0100 0100 00 02 02 4401 00 3b"));
  gif.close();
  ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("sortie")));
  const BatchRun run = Batch({QStringLiteral("-e"), QStringLiteral("gris"), QStringLiteral("-f"),
                         QStringLiteral("bmp"), bmp, Path(QStringLiteral("deux.png")),
                         Path(QStringLiteral("trois.gif")), QStringLiteral("-o"),
                         Path(QStringLiteral("sortie"))});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const cDIBSection two = Read(Path(QStringLiteral("sortie/deux.bmp")));
  EXPECT_EQ(two.width(), 6);
  EXPECT_EQ(PixelRGB(two, 0, 0), 0x393939u);  // grey of pure red is 57
  EXPECT_EQ(Read(Path(QStringLiteral("sortie/un.photo.bmp"))).width(), 8);
  EXPECT_EQ(PixelRGB(Read(Path(QStringLiteral("sortie/trois.bmp"))), 0, 0), 0x393939u);
}

TEST_F(BatchTest, UsageErrorsStopBeforeAnyFileIsTouched) {
  const QString input = WriteBmp(RandomSurface(4, 4, 2), QStringLiteral("a.bmp"));
  const QString out = Path(QStringLiteral("b.jpg"));
  const QStringList bad[] = {
      {QStringLiteral("-e"), QStringLiteral("inconnu"), input, QStringLiteral("-o"), out},
      {QStringLiteral("-e"), QStringLiteral("filtre=12"), input, QStringLiteral("-o"), out},
      {QStringLiteral("-e"), QStringLiteral("clair=beaucoup"), input, QStringLiteral("-o"), out},
      {QStringLiteral("-q"), QStringLiteral("30"), input, QStringLiteral("-o"), out},
      {input},
      {input, QStringLiteral("-o"), Path(QStringLiteral("b.png"))},
      {input, input, QStringLiteral("-o"), Path(QStringLiteral("pas-un-dossier"))},
  };
  for (const QStringList& arguments : bad) {
    const BatchRun run = Batch(arguments);
    EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("Usage : fotavel-batch")));
    EXPECT_FALSE(QFile::exists(out));
  }
}

TEST_F(BatchTest, UnreadableInputIsReportedAndTheOthersGoOn) {
  const QString good = WriteBmp(RandomSurface(4, 4, 2), QStringLiteral("bon.bmp"));
  QFile bad(Path(QStringLiteral("mauvais.jpg")));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("pas une photo du tout");
  bad.close();
  ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("out")));
  const BatchRun run = Batch({bad.fileName(), good, QStringLiteral("-o"), Path(QStringLiteral("out"))});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(QStringLiteral("Une erreur est survenue lors de l'ouverture de : ")));
  EXPECT_TRUE(QFile::exists(Path(QStringLiteral("out/bon.jpg"))));
  EXPECT_FALSE(QFile::exists(Path(QStringLiteral("out/mauvais.jpg"))));
}

TEST_F(BatchTest, RefusalsWriteNothingAndKeepAnExistingOutput) {
  const QString input = WriteBmp(RandomSurface(1000, 1, 2), QStringLiteral("fil.bmp"));
  const QString out = Path(QStringLiteral("ancien.bmp"));
  WriteBmp(RandomSurface(3, 3, 9), QStringLiteral("ancien.bmp"));
  const QByteArray old = Bytes(out);

  BatchRun run = Batch({QStringLiteral("-e"), QStringLiteral("web"), input, QStringLiteral("-o"), out});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(QStringLiteral("400 x 0"))) << run.err.toStdString();
  EXPECT_EQ(Bytes(out), old);

  run = Batch({QStringLiteral("-e"), QStringLiteral("noyau=4:1:") + QString(QStringLiteral("1,")).repeated(15) +
                                         QStringLiteral("1"),
               input, QStringLiteral("-o"), out});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(QStringLiteral("0x80040519"))) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains(QStringLiteral("Size must be an odd number")));
  EXPECT_TRUE(run.err.contains(QStringLiteral("fotavel-batch.cImageProcess")));
  run = Batch({QStringLiteral("-e"), QStringLiteral("noyau=3:0:1,1,1,1,1,1,1,1,1"), input,
               QStringLiteral("-o"), out});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(Bytes(out), old);
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2);  // no temporary left behind
}

TEST_F(BatchTest, TimingsFollowEachEffect) {
  const QString input = WriteBmp(RandomSurface(20, 10, 5), QStringLiteral("t.bmp"));
  const BatchRun run = Batch({QStringLiteral("--temps"), QStringLiteral("-e"), QStringLiteral("clair=10"),
                         QStringLiteral("-e"), QStringLiteral("taille=10x5"), input,
                         QStringLiteral("-o"), Path(QStringLiteral("t.jpeg"))});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains(QRegularExpression(QStringLiteral("^clair=10 : Réalisé en \\d+ ms$"),
                                                  QRegularExpression::MultilineOption)))
      << run.err.toStdString();
  EXPECT_TRUE(run.err.contains(QRegularExpression(QStringLiteral("^taille=10x5 : Réalisé en \\d+ ms$"),
                                                  QRegularExpression::MultilineOption)));
  EXPECT_EQ(Read(Path(QStringLiteral("t.jpeg"))).width(), 10);
}

TEST_F(BatchTest, CombinationTakesTheSecondPhotoFromAFile) {
  const QString first = WriteBmp(UniformSurface(6, 4, 200, 200, 200), QStringLiteral("p1.bmp"));
  const QString second = WriteBmp(UniformSurface(4, 6, 10, 20, 30), QStringLiteral("p2.bmp"));
  const BatchRun run = Batch({QStringLiteral("-e"), QStringLiteral("combiner=") + second + QStringLiteral(":2:1:0:1:0"),
                         first, QStringLiteral("-o"), Path(QStringLiteral("c.bmp"))});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const cDIBSection result = Read(Path(QStringLiteral("c.bmp")));
  EXPECT_EQ(result.width(), 4);
  EXPECT_EQ(result.height(), 4);
  EXPECT_EQ(PixelRGB(result, 2, 2), 0x1E140Au);
}

TEST_F(BatchTest, LogoWithoutAnyLogoFileIsRefused) {
  const QString input = WriteBmp(RandomSurface(20, 10, 5), QStringLiteral("l.bmp"));
  ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("param")));
  const BatchRun run = Batch({QStringLiteral("--param"), Path(QStringLiteral("param")), QStringLiteral("-e"),
                         QStringLiteral("logo"), input, QStringLiteral("-o"), Path(QStringLiteral("l.jpg"))});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(QStringLiteral("Aucun logo")));
  EXPECT_FALSE(QFile::exists(Path(QStringLiteral("l.jpg"))));
}

TEST(BatchOptions, OutputNamesAndFormats) {
  batch::OutputFormat format;
  EXPECT_TRUE(batch::FormatForFile(QStringLiteral("/x/a.JPEG"), format));
  EXPECT_EQ(format, batch::OutputFormat::Jpeg);
  EXPECT_TRUE(batch::FormatForFile(QStringLiteral("a.Bmp"), format));
  EXPECT_EQ(format, batch::OutputFormat::Bmp);
  EXPECT_FALSE(batch::FormatForFile(QStringLiteral("a.png"), format));
  EXPECT_EQ(batch::OutputPathFor(QStringLiteral("/in/vacances.2026.png"), QStringLiteral("/out"),
                                 batch::OutputFormat::Jpeg),
            QStringLiteral("/out/vacances.2026.jpg"));
}

}  // namespace
}  // namespace fotavel::testing
