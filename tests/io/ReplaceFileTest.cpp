// Replacing a file on save: special files and read-only files refused, links followed, modes kept,
// a failing disk leaving the old file whole, names kept as their bytes.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
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

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                QDir::NoDotAndDotDot);
}

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
  const io::FileError refusals[] = {FileFailure([&] { WriteBmp(picture, pipe); }),
                                    FileFailure([&] { WriteJpeg(picture, device, 90); }),
                                    FileFailure([&] { WriteJpeg(picture, dangling, 90); })};
  for (int i : {0, 1}) {
    EXPECT_EQ(refusals[i].text(),
              u"« %1 » n'est pas un fichier ordinaire (périphérique, tube ou "
              u"socket) : il n'est pas remplacé"_s.arg((i ? device : pipe)));
  }
  EXPECT_EQ(refusals[2].text(),
            u"« %1 » est un lien vers un fichier qui n'existe pas : il n'est pas remplacé"_s.arg(
                dangling));
  for (const auto& refusal : refusals) EXPECT_EQ(refusal.number(), io::FileErrors::kWrite);

  EXPECT_TRUE(S_ISFIFO(LinkStat(pipe).st_mode));
  EXPECT_TRUE(S_ISLNK(LinkStat(device).st_mode));
  EXPECT_EQ(LinkText(device), null);
  EXPECT_TRUE(S_ISCHR(LinkStat(io::NameFromNative(null)).st_mode));
  EXPECT_EQ(LinkText(dangling), "card/photo.jpg");
  QStringList entries = Entries(folder.path());
  entries.removeOne(u"null"_s);
  EXPECT_EQ(entries, (QStringList{u"gone.jpg"_s, u"out.jpg"_s, u"pipe.bmp"_s}));
}

TEST(ReplaceFileTest, ThroughLinksTheNamedFileTakesTheContentAndTheLinksStay) {
  QTemporaryDir folder;
  ASSERT_TRUE(QDir(folder.path()).mkdir(u"real"_s));
  const QString real = folder.filePath(u"real/photo.bmp"_s), link = folder.filePath(u"out.bmp"_s),
                linkToLink = folder.filePath(u"again.bmp"_s);
  WriteBytes(real, "BM an older photo");
  ASSERT_EQ(::chmod(io::NativeName(real).constData(), 0640), 0);
  ASSERT_EQ(::symlink("real/photo.bmp", io::NativeName(link).constData()), 0);
  ASSERT_EQ(::symlink("out.bmp", io::NativeName(linkToLink).constData()), 0);

  const cDIBSection picture = RandomSurface(7, 5, 11);
  ASSERT_NO_THROW(WriteBmp(picture, linkToLink));
  EXPECT_TRUE(SamePixels(MustRead(real), picture));
  EXPECT_EQ(LinkText(link), "real/photo.bmp");
  EXPECT_EQ(LinkText(linkToLink), "out.bmp");
  EXPECT_EQ(LinkStat(real).st_mode & 07777, 0640u);
  EXPECT_EQ(Entries(folder.filePath(u"real"_s)), QStringList{u"photo.bmp"_s});
  EXPECT_EQ(Entries(folder.path()), (QStringList{u"again.bmp"_s, u"out.bmp"_s, u"real"_s}));
}

TEST(ReplaceFileTest, ReplacementKeepsModeAndOwnerNewFilesFollowTheUmaskReadOnlyIsRefused) {
  QTemporaryDir folder;
  const QString kept = folder.filePath(u"kept.bmp"_s), fresh = folder.filePath(u"new.bmp"_s),
                locked = folder.filePath(u"locked.bmp"_s);
  const QByteArray lockedBytes = "BM do not touch";
  WriteBytes(kept, "BM old");
  WriteBytes(locked, lockedBytes);
  // Only root may give a file away; the owner is checked where the test could set it.
  const bool givenAway = ::chown(io::NativeName(kept).constData(), 12345, 54321) == 0;
  ASSERT_EQ(::chmod(io::NativeName(kept).constData(), 02750), 0);
  ASSERT_EQ(::chmod(io::NativeName(locked).constData(), 0444), 0);
  const cDIBSection picture = SmoothSurface(3, 2);

  const mode_t umask = ::umask(027);
  ASSERT_NO_THROW(WriteBmp(picture, kept));
  ASSERT_NO_THROW(WriteBmp(picture, fresh));
  // Root passes every permission check: the refusal holds for it too.
  const io::FileError refusal = FileFailure([&] { WriteBmp(picture, locked); });
  ::umask(umask);

  EXPECT_EQ(LinkStat(kept).st_mode & 07777, 02750u);
  if (givenAway) {
    EXPECT_EQ(LinkStat(kept).st_uid, 12345u);
    EXPECT_EQ(LinkStat(kept).st_gid, 54321u);
  }
  EXPECT_EQ(LinkStat(fresh).st_mode & 07777, 0640u);
  EXPECT_EQ(refusal.text(),
            u"« %1 » est protégé en écriture : il n'est pas remplacé"_s.arg(locked));
  EXPECT_EQ(ReadBytes(locked), lockedBytes);
  EXPECT_EQ(LinkStat(locked).st_mode & 07777, 0444u);
  EXPECT_TRUE(SamePixels(MustRead(kept), picture));
  EXPECT_EQ(Entries(folder.path()), (QStringList{u"kept.bmp"_s, u"locked.bmp"_s, u"new.bmp"_s}));
}

// The failing disk the calls below stand for, and how many calls it let through first.
int failing = 0, passed = 0;

ssize_t WritesSomeThenFails(int fd, const iovec* pieces, int) {
  if (passed++ > 0) return errno = ENOSPC, -1;
  return ::write(fd, pieces[0].iov_base, std::min<std::size_t>(pieces[0].iov_len, 10));
}
int FailingSync(int) { return errno = failing, -1; }
int FailingRename(int, const char*, int, const char*) { return errno = EXDEV, -1; }

TEST(ReplaceFileTest, ADiskFailureBeforeTheRenameLeavesTheOldFileWhole) {
  QTemporaryDir folder;
  const QString path = folder.filePath(u"photo.jpg"_s);
  const QByteArray old("\xFF\xD8\xFF\xE0 an older photo", 20);
  WriteBytes(path, old);
  const cDIBSection picture = RandomSurface(33, 17, 5);
  const auto fail = [&](io::detail::FileSystemCalls calls) {
    passed = 0;
    const io::detail::ScopedFileSystemCalls disk(calls);
    return FileFailure([&] { WriteJpeg(picture, path, 95); });
  };
  failing = EIO;
  const io::FileError full = fail({.writev = WritesSomeThenFails});
  EXPECT_EQ(passed, 2);  // the short write was resumed, and then the disk was full
  const io::FileError failures[] = {full, fail({.fdatasync = FailingSync}),
                                    fail({.renameat = FailingRename})};
  EXPECT_EQ(failures[0].text(), u"disque plein"_s);
  EXPECT_EQ(failures[1].text(), u"erreur matérielle d'écriture sur le disque"_s);
  EXPECT_EQ(failures[2].text(),
            u"impossible de remplacer « %1 » par le nouveau fichier"_s.arg(path));
  for (const auto& failure : failures) {
    EXPECT_EQ(failure.number(), io::FileErrors::kWrite);
    EXPECT_EQ(failure.path(), path);
  }
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_EQ(Entries(folder.path()), QStringList{u"photo.jpg"_s});

  // Once renamed, the file has the new content; a folder that could not be
  // flushed is still reported, and one whose file system cannot flush
  // folders is not.
  const cDIBSection other = RandomSurface(5, 3, 9);
  {
    const io::detail::ScopedFileSystemCalls disk({.fsync = FailingSync});
    EXPECT_EQ(FileFailure([&] { WriteBmp(picture, path); }).text(),
              u"le nouveau fichier a remplacé l'ancien, mais le dossier n'a pas pu être écrit sur "
              u"le disque : erreur matérielle d'écriture sur le disque"_s);
    EXPECT_TRUE(SamePixels(MustRead(path), picture));
    failing = EINVAL;
    EXPECT_NO_THROW(WriteBmp(other, path));
    EXPECT_TRUE(SamePixels(MustRead(path), other));
  }
  EXPECT_EQ(Entries(folder.path()), QStringList{u"photo.jpg"_s});
}

TEST(ReplaceFileTest, NamesAreWrittenAsTheirBytes) {
  QTemporaryDir folder;
  const QByteArray latin1 = io::NativeName(folder.path()) + "/photo-\xE9t\xE9.bmp";
  // The longest name a folder takes leaves no room to add to it for the temporary file.
  const QByteArray longest = io::NativeName(folder.path()) + '/' + QByteArray(251, 'n') + ".bmp";
  const cDIBSection picture = RandomSurface(5, 5, 2);
  for (const QByteArray& name : {latin1, longest}) {
    ASSERT_NO_THROW(WriteBmp(picture, io::NameFromNative(name)));
    ASSERT_NO_THROW(WriteBmp(picture, io::NameFromNative(name)));  // and replaced
    struct stat info {};
    EXPECT_EQ(::stat(name.constData(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
  }
  QList<QByteArray> names;
  DIR* listing = ::opendir(io::NativeName(folder.path()).constData());
  ASSERT_NE(listing, nullptr);
  while (const dirent* entry = ::readdir(listing)) names.push_back(entry->d_name);
  ::closedir(listing);
  names.removeAll(".");
  names.removeAll("..");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (QList<QByteArray>{QByteArray(251, 'n') + ".bmp", "photo-\xE9t\xE9.bmp"}));
  // QTemporaryDir's own clean-up goes by Qt's reading of the names.
  for (const QByteArray& name : {latin1, longest}) ::unlink(name.constData());
}

}  // namespace
}  // namespace fotavel::testing
