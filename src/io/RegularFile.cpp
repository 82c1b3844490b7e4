// Opening a regular file for reading without waiting on, or reading from, anything else.
#include "io/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "io/FileNames.h"

namespace fotavel::io {

namespace {

ReadOpening Failure(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ELOOP:
    case ENAMETOOLONG:
      return ReadOpening::kMissing;
    default:
      return ReadOpening::kDenied;
  }
}

ReadOpening Kind(mode_t mode) {
  if (S_ISREG(mode)) return ReadOpening::kOpened;
  return S_ISDIR(mode) ? ReadOpening::kFolder : ReadOpening::kNotRegular;
}

}  // namespace

ReadOpening OpenRegularFile(const QString& path, QFile& file) {
  const QByteArray name = NativeName(path);
  // Looked at first, so that a device is not even opened: opening some has
  // effects of its own (a tape rewinds on close, a line hangs up).
  struct stat status {};
  if (::stat(name.constData(), &status) != 0) return Failure(errno);
  if (const ReadOpening kind = Kind(status.st_mode); kind != ReadOpening::kOpened) return kind;
  // The name may lead elsewhere by the time of the open. O_NONBLOCK keeps a
  // FIFO put there from holding the open until a writer comes; what was
  // opened is then judged on the descriptor itself.
  const int descriptor = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (descriptor < 0) return Failure(errno);
  ReadOpening opened =
      ::fstat(descriptor, &status) == 0 ? Kind(status.st_mode) : ReadOpening::kDenied;
  // Reads of a regular file never wait anyway; the flag goes so that no
  // reader further on meets EAGAIN.
  if (opened == ReadOpening::kOpened) {
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
      opened = ReadOpening::kDenied;
    }
  }
  // From a successful open on, the descriptor is the QFile's to close.
  if (opened != ReadOpening::kOpened ||
      !file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(descriptor);
    return opened == ReadOpening::kOpened ? ReadOpening::kDenied : opened;
  }
  return ReadOpening::kOpened;
}

}  // namespace fotavel::io
