// Which file a name given to fotavel-batch stands for: device and inode, or real folder and name.
#include "batch/FileIdentity.h"

#include <sys/stat.h>

#include <QByteArray>
#include <cstdlib>
#include <memory>

#include "io/FileNames.h"

namespace fotavel::batch {
namespace {

// The real path of an existing folder, as bytes; empty when it cannot be had.
QByteArray RealFolder(const QByteArray& folder) {
  const std::unique_ptr<char, decltype(&std::free)> real(::realpath(folder.constData(), nullptr),
                                                         &std::free);
  return real ? QByteArray(real.get()) : QByteArray();
}

// The name cleaned of "." and ".." pieces and repeated slashes, made absolute
// from the working folder; on bytes, so that nothing is decoded.
QByteArray CleanAbsolute(const QByteArray& name) {
  QByteArray whole = name;
  if (!whole.startsWith('/')) {
    const QByteArray here = RealFolder(".");
    whole = (here.isEmpty() ? QByteArray(".") : here) + '/' + whole;
  }
  QList<QByteArray> kept;
  for (const QByteArray& piece : whole.split('/')) {
    if (piece.isEmpty() || piece == ".") continue;
    if (piece == "..") {
      if (!kept.isEmpty()) kept.removeLast();
      continue;
    }
    kept.push_back(piece);
  }
  QByteArray cleaned;
  for (const QByteArray& piece : kept) cleaned += '/' + piece;
  return cleaned.isEmpty() ? QByteArray("/") : cleaned;
}

}  // namespace

bool IsFolder(const QString& path) {
  struct stat status {};
  return !path.isEmpty() && ::stat(io::NativeName(path).constData(), &status) == 0 &&
         S_ISDIR(status.st_mode);
}

QString FileKey(const QString& path) {
  const QByteArray name = io::NativeName(path);
  struct stat status {};
  if (::stat(name.constData(), &status) == 0) {
    return QStringLiteral("inode %1:%2")
        .arg(std::uint64_t(status.st_dev))
        .arg(std::uint64_t(status.st_ino));
  }
  // Not there yet: the folder it would be written in, resolved, and the
  // name it would take there.
  const qsizetype slash = name.lastIndexOf('/');
  const QByteArray folder = slash < 0    ? QByteArray(".")
                            : slash == 0 ? QByteArray("/")
                                         : name.left(slash);
  const QByteArray own = name.mid(slash + 1);
  const QByteArray realFolder =
      own.isEmpty() || own == "." || own == ".." ? QByteArray() : RealFolder(folder);
  if (!realFolder.isEmpty()) {
    return QStringLiteral("chemin ") +
           io::NameFromNative(realFolder == "/" ? '/' + own : realFolder + '/' + own);
  }
  return QStringLiteral("chemin ") + io::NameFromNative(CleanAbsolute(name));
}

}  // namespace fotavel::batch
