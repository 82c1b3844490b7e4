// Replacing a file whole through a temporary file in its folder, flushed to disk before the rename.
#include "io/ReplacedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>

#include "io/FileNames.h"
#include "io/FileSystemCalls.h"
#include "io/SafeWrite.h"

namespace fotavel::io {

namespace detail {

namespace {

FileSystemCalls& CallsInUse() {
  static FileSystemCalls calls;
  return calls;
}

}  // namespace

const FileSystemCalls& Calls() { return CallsInUse(); }

ScopedFileSystemCalls::ScopedFileSystemCalls(const FileSystemCalls& calls)
    : previous_(CallsInUse()) {
  CallsInUse() = calls;
}

ScopedFileSystemCalls::~ScopedFileSystemCalls() { CallsInUse() = previous_; }

}  // namespace detail

namespace {

// 0 when every byte went out, otherwise the errno of the failure. Regular
// files may take fewer bytes than asked (a signal, the 2 GiB cap of one call,
// the disk filling up): the loop resumes where the last call stopped.
int WriteAll(int fd, std::vector<iovec>& pieces) {
  std::size_t first = 0;
  while (first < pieces.size() && pieces[first].iov_len == 0) ++first;
  while (first < pieces.size()) {
    const int count = int(std::min<std::size_t>(pieces.size() - first, IOV_MAX));
    const ssize_t written = detail::Calls().writev(fd, &pieces[first], count);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (written == 0) return EIO;
    auto left = std::size_t(written);
    while (first < pieces.size() && left >= pieces[first].iov_len) {
      left -= pieces[first].iov_len;
      ++first;
    }
    if (left > 0) {
      pieces[first].iov_base = static_cast<char*>(pieces[first].iov_base) + left;
      pieces[first].iov_len -= left;
    }
    while (first < pieces.size() && pieces[first].iov_len == 0) ++first;
  }
  return 0;
}

QString WriteFailure(int error) {
  switch (error) {
    case ENOSPC:
      return QCoreApplication::translate("ReplacedFile", "disque plein");
    case EDQUOT:
      return QCoreApplication::translate("ReplacedFile", "quota d'espace disque dépassé");
    case EFBIG:
      return QCoreApplication::translate("ReplacedFile", "fichier trop gros pour ce disque");
    case EIO:
      return QCoreApplication::translate("ReplacedFile",
                                         "erreur matérielle d'écriture sur le disque");
    default:
      return QCoreApplication::translate("ReplacedFile",
                                         "écriture du fichier impossible (erreur système %1)")
          .arg(error);
  }
}

QString Shown(const QString& path) { return QDir::toNativeSeparators(path); }

// The temporary file's name: hidden, and telling whose it is should a power
// cut leave it behind; a name too long to take a suffix gets a plain one.
QByteArray TemporaryName(const QByteArray& name) {
  constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  QByteArray temporary = name.size() <= 200 ? '.' + name + '.' : QByteArray(".fotavel.");
  for (int i = 0; i < 8; ++i) {
    temporary += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters - 1))];
  }
  return temporary;
}

}  // namespace

ReplacedFile::ReplacedFile(QString path) : path_(std::move(path)) {}

ReplacedFile::~ReplacedFile() { Cancel(); }

void ReplacedFile::Open() {
  Cancel();
  const QByteArray given = NativeName(path_);
  QByteArray real = given;
  struct stat link {};
  if (::lstat(given.constData(), &link) == 0 && S_ISLNK(link.st_mode)) {
    // A photo saved through a link (kept in one place, linked from another)
    // must change the photo the link names and leave the link a link:
    // renamed over the link itself, the new file would replace the link and
    // leave the photo as it was. The temporary file is made beside the file
    // the link names (links to links followed), and renamed over that.
    char* const resolved = ::realpath(given.constData(), nullptr);
    if (resolved == nullptr) {
      // A link to nothing is refused rather than followed to create its
      // target: it most often names a card or disk no longer mounted, and
      // the file would land in the bare mount folder instead.
      if (errno == ENOENT) {
        Fail(QCoreApplication::translate(
                 "ReplacedFile",
                 "« %1 » est un lien vers un fichier qui n'existe pas : il n'est pas "
                 "remplacé")
                 .arg(Shown(path_)));
      }
      Fail(QCoreApplication::translate("ReplacedFile",
                                       "le lien « %1 » ne mène à aucun fichier accessible")
               .arg(Shown(path_)));
    }
    real = resolved;
    std::free(resolved);
  }
  const qsizetype slash = real.lastIndexOf('/');
  folder_ = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : real.left(slash);
  name_ = real.mid(slash + 1);
  shownFolder_ = Shown(real == given ? QFileInfo(path_).absolutePath() : NameFromNative(folder_));

  folderFd_ = ::open(folder_.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd_ < 0) {
    if (errno == ENOENT || errno == ENOTDIR) {
      Fail(QCoreApplication::translate("ReplacedFile", "le dossier « %1 » n'existe pas")
               .arg(shownFolder_));
    }
    Fail(QCoreApplication::translate("ReplacedFile", "le dossier « %1 » n'est pas accessible")
             .arg(shownFolder_));
  }
  if (name_.isEmpty() || name_ == "." || name_ == "..") {
    Fail(QCoreApplication::translate("ReplacedFile", "« %1 » est un dossier").arg(Shown(path_)));
  }
  replacing_ = Examine(old_);

  // O_EXCL never opens anything already there, a pipe or a link included.
  // The name is drawn here rather than by mkstemp, whose file is always
  // 0600: a new file asks for the usual 0666 and the system takes off the
  // umask (or applies the folder's default access list) as for any program's
  // new file. A replacement starts private and takes the old file's mode
  // once complete.
  const mode_t mode = replacing_ ? S_IRUSR | S_IWUSR : 0666;
  for (int attempt = 0; fd_ < 0; ++attempt) {
    temporary_ = TemporaryName(name_);
    fd_ = ::openat(folderFd_, temporary_.constData(),
                   O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
    if (fd_ >= 0) break;
    const int error = errno;
    temporary_.clear();
    if (error == EEXIST && attempt < 100) continue;
    if (error == EACCES || error == EPERM || error == EROFS || error == EEXIST) {
      Fail(QCoreApplication::translate(
               "ReplacedFile",
               "impossible de créer un fichier dans le dossier « %1 » (accès refusé ou "
               "support en lecture seule)")
               .arg(shownFolder_));
    }
    Fail(WriteFailure(error));
  }
}

bool ReplacedFile::Examine(struct stat& found) {
  if (::fstatat(folderFd_, name_.constData(), &found, 0) != 0) {
    if (errno == ENOENT) return false;
    Fail(QCoreApplication::translate("ReplacedFile", "« %1 » n'est pas accessible")
             .arg(Shown(path_)));
  }
  if (S_ISDIR(found.st_mode))
    Fail(QCoreApplication::translate("ReplacedFile", "« %1 » est un dossier").arg(Shown(path_)));
  // A device or a pipe given as the output would otherwise be swapped for a
  // regular file holding the photo, and whatever used it would find it gone.
  if (!S_ISREG(found.st_mode)) {
    Fail(QCoreApplication::translate(
             "ReplacedFile",
             "« %1 » n'est pas un fichier ordinaire (périphérique, tube ou socket) : il "
             "n'est pas remplacé")
             .arg(Shown(path_)));
  }
  // The rename would replace a file the process may not write, since only
  // the folder's permissions count for it. Such a file is refused, as writing
  // it in place would be; so is one without any write permission even for
  // root, who passes every check: a file marked read-only was marked so to
  // keep it as it is.
  if ((found.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
      ::faccessat(folderFd_, name_.constData(), W_OK, AT_EACCESS) != 0) {
    Fail(QCoreApplication::translate("ReplacedFile",
                                     "« %1 » est protégé en écriture : il n'est pas remplacé")
             .arg(Shown(path_)));
  }
  return true;
}

void ReplacedFile::Write(std::vector<iovec> pieces) {
  if (fd_ < 0) Fail(QCoreApplication::translate("ReplacedFile", "fichier non ouvert en écriture"));
  if (const int failure = WriteAll(fd_, pieces)) Fail(WriteFailure(failure));
}

void ReplacedFile::Write(const char* bytes, std::size_t size) {
  Write({{const_cast<char*>(bytes), size}});
}

void ReplacedFile::Flush() {
  if (flushed_) return;
  if (fd_ < 0) Fail(QCoreApplication::translate("ReplacedFile", "fichier non ouvert en écriture"));
  if (replacing_) {
    // The owner first, since changing it clears the set-user and set-group
    // bits the mode then puts back. A user may give a file only to a group of
    // theirs and to no other owner: what cannot be kept is not a reason to
    // fail the save. Nor is a mode the file system cannot hold (FAT): there
    // the old file had none to lose, and the new one stays private.
    if (::fchown(fd_, old_.st_uid, old_.st_gid) != 0) {
      [[maybe_unused]] const int ignored = ::fchown(fd_, uid_t(-1), old_.st_gid);
    }
    ::fchmod(fd_, old_.st_mode & 07777);
  }
  if (detail::Calls().fdatasync(fd_) != 0) Fail(WriteFailure(errno));
  const int descriptor = std::exchange(fd_, -1);
  // A network file system may report a failed write only when the file is
  // closed. Linux frees the descriptor even when close is interrupted.
  if (::close(descriptor) != 0 && errno != EINTR) Fail(WriteFailure(errno));
  flushed_ = true;
}

void ReplacedFile::Commit() {
  Flush();
  // The settings are written between the logo's flush and its commit: what
  // the name holds is looked at again just before it is replaced.
  struct stat now {};
  Examine(now);
  if (detail::Calls().renameat(folderFd_, temporary_.constData(), folderFd_, name_.constData()) !=
      0) {
    Fail(QCoreApplication::translate("ReplacedFile",
                                     "impossible de remplacer « %1 » par le nouveau fichier")
             .arg(Shown(path_)));
  }
  temporary_.clear();
  // The rename is on disk only once the folder is. Should its flush fail the
  // file already has the new content, but a power cut could still bring the
  // old one back: the save is not reported done. File systems that cannot
  // flush a folder (some network and user-space ones) say so and are taken
  // at their word.
  const int folder = std::exchange(folderFd_, -1);
  const int flushed = detail::Calls().fsync(folder);
  const int error = errno;
  ::close(folder);
  if (flushed != 0 && error != EINVAL && error != EROFS && error != ENOTSUP) {
    detail::Unwritten(
        path_, QCoreApplication::translate("ReplacedFile",
                                           "le nouveau fichier a remplacé l'ancien, mais le "
                                           "dossier n'a pas pu être écrit sur le disque : %1")
                   .arg(WriteFailure(error)));
  }
}

void ReplacedFile::Cancel() noexcept {
  if (fd_ >= 0) ::close(std::exchange(fd_, -1));
  if (!temporary_.isEmpty() && folderFd_ >= 0) ::unlinkat(folderFd_, temporary_.constData(), 0);
  temporary_.clear();
  if (folderFd_ >= 0) ::close(std::exchange(folderFd_, -1));
}

void ReplacedFile::Fail(const QString& reason) {
  Cancel();
  detail::Unwritten(path_, reason);
}

}  // namespace fotavel::io
