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

class FileIdentityTest : public ::testing::Test {
 protected:
  FileIdentityTest() {
    EXPECT_TRUE(QDir(root).mkpath(u"out/sub"_s));
    EXPECT_TRUE(QDir(root).mkpath(u"other"_s));
    Write(u"out/a.jpg"_s);
    Write(u"other/a.jpg"_s);
    EXPECT_EQ(::symlink("out", Native(u"lien"_s).constData()), 0);
    EXPECT_EQ(::symlink("a.jpg", Native(u"out/vers-a.jpg"_s).constData()), 0);
    EXPECT_EQ(::link(Native(u"out/a.jpg"_s).constData(), Native(u"out/dur.jpg"_s).constData()), 0);
  }
  QString Path(const QString& name) const { return folder.filePath(name); }
  QByteArray Native(const QString& name) const { return io::NativeName(Path(name)); }
  void Write(const QString& name) {
    QFile file(Path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("photo");
  }
  QTemporaryDir folder;
  QString root = folder.path();
};

TEST_F(FileIdentityTest, EveryNameOfAFileHasItsKeyAndOtherFilesOthers) {
  const QString a = batch::FileKey(Path(u"out/a.jpg"_s));
  for (const QString& name :
       {u"out/../out/a.jpg"_s, u"out/./a.jpg"_s, u"lien/a.jpg"_s, u"out/sub/../a.jpg"_s,
        u"out/vers-a.jpg"_s, u"out/dur.jpg"_s, u"lien/../out//a.jpg"_s}) {
    EXPECT_EQ(batch::FileKey(Path(name)), a) << name.toStdString();
  }
  EXPECT_NE(batch::FileKey(Path(u"other/a.jpg"_s)), a);
  EXPECT_NE(batch::FileKey(Path(u"out/sub"_s)), a);

  // Relative to the working folder.
  const QString here = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(Path(u"out"_s)));
  EXPECT_EQ(batch::FileKey(u"a.jpg"_s), a);
  EXPECT_EQ(batch::FileKey(u"./a.jpg"_s), a);
  EXPECT_EQ(batch::FileKey(u"b.jpg"_s), batch::FileKey(Path(u"lien/b.jpg"_s)));
  ASSERT_TRUE(QDir::setCurrent(here));
}

TEST_F(FileIdentityTest, FilesNotYetWrittenAreKnownByTheirRealFolder) {
  const QString b = batch::FileKey(Path(u"out/b.jpg"_s));
  EXPECT_EQ(batch::FileKey(Path(u"lien/b.jpg"_s)), b);
  EXPECT_EQ(batch::FileKey(Path(u"out/sub/../b.jpg"_s)), b);
  EXPECT_EQ(batch::FileKey(Path(u"lien/sub/../b.jpg"_s)), b);
  EXPECT_NE(batch::FileKey(Path(u"other/b.jpg"_s)), b);
  EXPECT_NE(batch::FileKey(Path(u"out/B.jpg"_s)), b);
  // A folder that does not exist either: its cleaned name.
  EXPECT_EQ(batch::FileKey(Path(u"nulle/part/../b.jpg"_s)), batch::FileKey(Path(u"nulle/b.jpg"_s)));
  EXPECT_NE(batch::FileKey(Path(u"nulle/b.jpg"_s)), b);
}

// A name whose bytes are not UTF-8 is asked about as those bytes; Qt's own
// conversion would stat "caf\xEF\xBF\xBD" instead and find nothing, or another file.
TEST_F(FileIdentityTest, NamesThatAreNotUtf8AreAskedAboutByTheirBytes) {
  const QByteArray raw = QFile::encodeName(root) + "/caf\xE9";
  ASSERT_EQ(::mkdir(raw.constData(), 0700), 0);
  // Qt's own removal of the temporary folder cannot name this one.
  struct Removed {
    const QByteArray& name;
    ~Removed() { ::rmdir(name.constData()); }
  } removed{raw};
  const QString name = io::NameFromNative(raw);
  EXPECT_TRUE(batch::IsFolder(name));
  EXPECT_FALSE(batch::IsFolder(name + u"/rien"_s));
  EXPECT_FALSE(batch::IsFolder(Path(u"out/a.jpg"_s)));
  EXPECT_TRUE(batch::IsFolder(Path(u"lien"_s)));
  ASSERT_EQ(::symlink(raw.constData(), Native(u"vers-cafe"_s).constData()), 0);
  EXPECT_EQ(batch::FileKey(name), batch::FileKey(Path(u"vers-cafe"_s)));
  EXPECT_EQ(batch::FileKey(name + u"/x.jpg"_s), batch::FileKey(Path(u"vers-cafe/x.jpg"_s)));
  // The replacement character's own name is another one.
  EXPECT_NE(batch::FileKey(name + u"/x.jpg"_s), batch::FileKey(Path(u"caf\uFFFD/x.jpg"_s)));
}

}  // namespace
}  // namespace fotavel::testing
