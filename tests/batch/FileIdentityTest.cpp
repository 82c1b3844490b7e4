// Names of one file found to be one file, whatever links, dots or bytes they are written with.
#include <gtest/gtest.h>
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
// the names they do not: a hard link, names relative to the working folder,
// files and folders not there yet, and bytes that are not UTF-8.
TEST(FileIdentity, EveryNameOfAFileHasItsKeyAndOtherFilesOthers) {
  QTemporaryDir folder;
  const auto path = [&](const QString& name) { return folder.filePath(name); };
  const auto key = [&](const QString& name) { return batch::FileKey(path(name)); };
  ASSERT_TRUE(QDir(folder.path()).mkpath(u"out/sub"_s));
  QFile photo(path(u"out/a.jpg"_s));
  ASSERT_TRUE(photo.open(QIODevice::WriteOnly));
  ASSERT_EQ(::link(QFile::encodeName(path(u"out/a.jpg"_s)), QFile::encodeName(path(u"dur.jpg"_s))),
            0);
  EXPECT_EQ(key(u"dur.jpg"_s), key(u"out/a.jpg"_s));
  EXPECT_NE(key(u"out/sub"_s), key(u"out/a.jpg"_s));
  EXPECT_EQ(key(u"out/sub/../b.jpg"_s), key(u"out/b.jpg"_s));
  EXPECT_NE(key(u"out/B.jpg"_s), key(u"out/b.jpg"_s));
  EXPECT_EQ(key(u"nulle/part/../b.jpg"_s), key(u"nulle/b.jpg"_s));
  EXPECT_NE(key(u"nulle/b.jpg"_s), key(u"out/b.jpg"_s));

  const QString here = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(path(u"out"_s)));
  EXPECT_EQ(batch::FileKey(u"./a.jpg"_s), key(u"out/a.jpg"_s));
  EXPECT_EQ(batch::FileKey(u"b.jpg"_s), key(u"out/b.jpg"_s));
  ASSERT_TRUE(QDir::setCurrent(here));

  // Asked about as its bytes: Qt's own conversion would ask about
  // "caf\xEF\xBF\xBD" and find nothing there.
  const QByteArray raw = QFile::encodeName(folder.path()) + "/caf\xE9";
  ASSERT_EQ(::mkdir(raw.constData(), 0700), 0);
  struct Removed {  // Qt's own removal of the temporary folder cannot name it
    const QByteArray& name;
    ~Removed() { ::rmdir(name.constData()); }
  } removed{raw};
  const QString cafe = io::NameFromNative(raw);
  EXPECT_TRUE(batch::IsFolder(cafe));
  EXPECT_FALSE(batch::IsFolder(cafe + u"/rien"_s));
  EXPECT_FALSE(batch::IsFolder(path(u"out/a.jpg"_s)));
  EXPECT_EQ(batch::FileKey(cafe + u"/x.jpg"_s),
            batch::FileKey(cafe + u"/.."_s + cafe.mid(cafe.lastIndexOf(u'/')) + u"/x.jpg"_s));
  EXPECT_NE(batch::FileKey(cafe + u"/x.jpg"_s), key(u"caf\uFFFD/x.jpg"_s));
}

}  // namespace
}  // namespace fotavel::testing
