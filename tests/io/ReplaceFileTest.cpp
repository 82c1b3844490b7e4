// Replacing a file on save: special files and read-only files refused, links followed, modes kept,
// a failing disk leaving the old file whole, names kept as their bytes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>
#include <cerrno>

#include "TestFiles.h"
#include "io/FileNames.h"
#include "io/FileSystemCalls.h"
#include "io/PictureFiles.h"
#include "support/Surfaces.h"

namespace fotavel::testing {
namespace {

using io::WriteBmp;
using io::WriteJpeg;

using namespace Qt::StringLiterals;

struct stat LinkStat(const QString& path) {
  struct stat info {};
  EXPECT_EQ(::lstat(io::NativeName(path).constData(), &info), 0) << path.toStdString();
  return info;
}

QByteArray LinkText(const QString& path) {
  char text[256] = {};
  const ssize_t size = ::readlink(io::NativeName(path).constData(), text, sizeof text);
  return size < 0 ? QByteArray() : QByteArray(text, size);
}

TEST(ReplaceFileTest, SpecialFilesAndLinksToNothingAreRefusedAndLeftAsTheyWere) {
  QTemporaryDir folder;
  const QString pipe = folder.filePath(u"pipe.bmp"_s), device = folder.filePath(u"out.jpg"_s),
                dangling = folder.filePath(u"gone.jpg"_s);
  ASSERT_EQ(::mkfifo(io::NativeName(pipe).constData(), 0644), 0);
  // The device is the system's /dev/null only for a user who may not write
  // in /dev: run by root, a regression would replace the system's own, so
  // root links to a null device of its own making.
  QByteArray null = "/dev/null";
  if (::geteuid() == 0) {
    null = io::NativeName(folder.filePath(u"null"_s));
    ASSERT_EQ(::mknod(null.constData(), S_IFCHR | 0666, makedev(1, 3)), 0);
  }
  ASSERT_EQ(::symlink(null.constData(), io::NativeName(device).constData()), 0);
  ASSERT_EQ(::symlink("card/photo.jpg", io::NativeName(dangling).constData()), 0);
  const cDIBSection picture = SmoothSurface(5, 3);

  // Opening the pipe to write would wait for a reader for ever.
  const QString special =
      u"« %1 » n'est pas un fichier ordinaire (périphérique, tube ou socket) : il n'est pas "
      u"remplacé"_s;
  EXPECT_EQ(FileFailure([&] { WriteBmp(picture, pipe); }).text(), special.arg(pipe));
  EXPECT_EQ(FileFailure([&] { WriteJpeg(picture, device, 90); }).text(), special.arg(device));
  EXPECT_EQ(FileFailure([&] { WriteJpeg(picture, dangling, 90); }).text(),
            u"« %1 » est un lien vers un fichier qui n'existe pas : il n'est pas remplacé"_s.arg(
                dangling));

  EXPECT_TRUE(S_ISFIFO(LinkStat(pipe).st_mode));
  EXPECT_EQ(LinkText(device), null);
  EXPECT_TRUE(S_ISCHR(LinkStat(io::NameFromNative(null)).st_mode));
  EXPECT_EQ(LinkText(dangling), "card/photo.jpg");
}

// Saved through a link to a link, the file they name takes the content and keeps its mode and
// owner, and the links stay links; a new file follows the umask; a read-only file is refused,
// even to root, who passes every permission check.
TEST(ReplaceFileTest, ReplacementKeepsModeOwnerAndLinksNewFilesFollowTheUmaskReadOnlyIsRefused) {
  QTemporaryDir folder;
  ASSERT_TRUE(QDir(folder.path()).mkdir(u"real"_s));
  const QString real = folder.filePath(u"real/photo.bmp"_s), link = folder.filePath(u"out.bmp"_s),
                linkToLink = folder.filePath(u"again.bmp"_s), fresh = folder.filePath(u"new.bmp"_s),
                locked = folder.filePath(u"locked.bmp"_s);
  WriteBytes(real, "BM an older photo");
  WriteBytes(locked, "BM do not touch");
  // Only root may give a file away; the owner is checked where the test could set it.
  const bool givenAway = ::chown(io::NativeName(real).constData(), 12345, 54321) == 0;
  ASSERT_EQ(::chmod(io::NativeName(real).constData(), 02750), 0);
  ASSERT_EQ(::chmod(io::NativeName(locked).constData(), 0444), 0);
  ASSERT_EQ(::symlink("real/photo.bmp", io::NativeName(link).constData()), 0);
  ASSERT_EQ(::symlink("out.bmp", io::NativeName(linkToLink).constData()), 0);
  const cDIBSection picture = RandomSurface(7, 5, 11);

  const mode_t umask = ::umask(027);
  ASSERT_NO_THROW(WriteBmp(picture, linkToLink));
  ASSERT_NO_THROW(WriteBmp(picture, fresh));
  const io::FileError refusal = FileFailure([&] { WriteBmp(picture, locked); });
  ::umask(umask);

  EXPECT_TRUE(SamePixels(MustRead(real), picture));
  EXPECT_EQ(LinkStat(real).st_mode & 07777, 02750u);
  if (givenAway) {
    EXPECT_EQ(LinkStat(real).st_uid, 12345u);
    EXPECT_EQ(LinkStat(real).st_gid, 54321u);
  }
  EXPECT_EQ(LinkText(link), "real/photo.bmp");
  EXPECT_EQ(LinkText(linkToLink), "out.bmp");
  EXPECT_EQ(LinkStat(fresh).st_mode & 07777, 0640u);
  EXPECT_EQ(refusal.text(),
            u"« %1 » est protégé en écriture : il n'est pas remplacé"_s.arg(locked));
  EXPECT_EQ(ReadBytes(locked), "BM do not touch");
  EXPECT_EQ(LinkStat(locked).st_mode & 07777, 0444u);
}

// The failing disk the calls below stand for.
int failing = 0;
int FailingSync(int) { return errno = failing, -1; }
int FailingRename(int, const char*, int, const char*) { return errno = EXDEV, -1; }

TEST(ReplaceFileTest, ADiskFailureBeforeTheRenameLeavesTheOldFileWhole) {
  QTemporaryDir folder;
  const QString path = folder.filePath(u"photo.jpg"_s);
  const QByteArray old("\xFF\xD8\xFF\xE0 an older photo", 20);
  WriteBytes(path, old);
  const cDIBSection picture = RandomSurface(33, 17, 5);
  const auto fail = [&](io::detail::FileSystemCalls calls) {
    const io::detail::ScopedFileSystemCalls disk(calls);
    return FileFailure([&] { WriteJpeg(picture, path, 95); }).text();
  };
  // A network disk may say it is full only when the data is flushed.
  failing = ENOSPC;
  EXPECT_EQ(fail({.fdatasync = FailingSync}), u"disque plein"_s);
  EXPECT_EQ(fail({.renameat = FailingRename}),
            u"impossible de remplacer « %1 » par le nouveau fichier"_s.arg(path));
  EXPECT_EQ(ReadBytes(path), old);

  // Once renamed, the file has the new content; a folder that could not be
  // flushed is still reported, and one whose file system cannot flush
  // folders is not.
  const cDIBSection other = RandomSurface(5, 3, 9);
  {
    const io::detail::ScopedFileSystemCalls disk({.fsync = FailingSync});
    failing = EIO;
    EXPECT_EQ(FileFailure([&] { WriteBmp(picture, path); }).text(),
              u"le nouveau fichier a remplacé l'ancien, mais le dossier n'a pas pu être écrit sur "
              u"le disque : erreur matérielle d'écriture sur le disque"_s);
    EXPECT_TRUE(SamePixels(MustRead(path), picture));
    failing = EINVAL;
    EXPECT_NO_THROW(WriteBmp(other, path));
    EXPECT_TRUE(SamePixels(MustRead(path), other));
  }
  // No temporary file left beside it.
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{u"photo.jpg"_s});
}

TEST(ReplaceFileTest, NamesAreWrittenAsTheirBytes) {
  QTemporaryDir folder;
  // The longest name a folder takes leaves no room to add to it for the temporary file.
  const QByteArray names[] = {io::NativeName(folder.path()) + "/photo-\xE9t\xE9.bmp",
                              io::NativeName(folder.path()) + '/' + QByteArray(251, 'n') + ".bmp"};
  for (const QByteArray& name : names) {
    ASSERT_NO_THROW(WriteBmp(RandomSurface(5, 5, 2), io::NameFromNative(name)));
    EXPECT_EQ(::access(name.constData(), F_OK), 0) << name.toHex().constData();
  }
  // QTemporaryDir's own clean-up goes by Qt's reading of the names.
  for (const QByteArray& name : names) ::unlink(name.constData());
}

}  // namespace
}  // namespace fotavel::testing
