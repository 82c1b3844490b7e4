// Names of one file found to be one file, whatever links, dots or bytes they are written with.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "batch/FileIdentity.h"
#include "io/FileNames.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

// The runs' own tests meet links to folders and files, ".." and "./"; here
// the names they do not: names relative to the working folder, folders not
// there yet, and bytes that are not UTF-8.
TEST(FileIdentity, EveryNameOfAFileHasItsKeyAndOtherFilesOthers) {
  QTemporaryDir folder;
  const QByteArray raw = QFile::encodeName(folder.path()) + "/caf\xE9";
  ASSERT_EQ(::mkdir(raw.constData(), 0700), 0);
  const QString cafe = io::NameFromNative(raw), file = cafe + u"/a.jpg"_s;
  ASSERT_EQ(::close(::creat(raw + "/a.jpg", 0600)), 0);
  EXPECT_NE(batch::FileKey(folder.filePath(u"caf\uFFFD/a.jpg"_s)), batch::FileKey(file));
  EXPECT_EQ(batch::FileKey(folder.filePath(u"nulle/part/../b.jpg"_s)),
            batch::FileKey(folder.filePath(u"nulle/b.jpg"_s)));
  EXPECT_TRUE(batch::IsFolder(cafe));
  EXPECT_FALSE(batch::IsFolder(file));
  const QByteArray here = QFile::encodeName(QDir::currentPath());
  ASSERT_EQ(::chdir(raw.constData()), 0);
  EXPECT_EQ(batch::FileKey(u"b.jpg"_s),
            batch::FileKey(cafe + u"/.."_s + cafe.mid(cafe.lastIndexOf(u'/')) + u"/b.jpg"_s));
  ASSERT_EQ(::chdir(here.constData()), 0);
  ::unlink(raw + "/a.jpg");  // Qt's removal of the folder cannot name them
  ::rmdir(raw.constData());
}

}  // namespace
}  // namespace fotavel::testing
