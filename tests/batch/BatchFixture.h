// The batch tool's tests: one run of the real fotavel-batch, and photos written into a folder of
// the test's own.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "io/PictureFiles.h"
#include "io/TestFiles.h"
#include "surface/cDIBSection.h"

namespace fotavel::testing {

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
  // The result of one effect on `input`, written as a BMP by a run that
  // must succeed without a word.
  cDIBSection Result(const QString& effect, const QString& input) {
    const QString out = Path(QStringLiteral("sortie.bmp"));
    QFile::remove(out);
    const BatchRun run = Batch({QStringLiteral("-e"), effect, input, QStringLiteral("-o"), out});
    EXPECT_EQ(run.exitCode, 0) << effect.toStdString() << ": " << run.err.toStdString();
    EXPECT_EQ(run.err, QString());
    return MustRead(out);
  }
  QTemporaryDir folder;
};

}  // namespace fotavel::testing
