// Opening a file to read it: never waiting on a special file, refusing anything but a regular file.
#pragma once

#include <QFile>
#include <QString>

namespace fotavel::io {

// What came of opening a file for reading.
enum class ReadOpening {
  kOpened,
  kMissing,     // nothing of that name (a dangling link, a path through a file)
  kFolder,      // a folder
  kNotRegular,  // a FIFO, a device or a socket
  kDenied,      // the system would not open it (permissions, no descriptor left)
};

// Opens the regular file at `path` (a symbolic link to one will do) into
// `file`, which must be closed, for reading. A FIFO would hold the open until
// a writer comes and a device like /dev/zero never ends: anything but a
// regular file is refused, the open never waits, and whatever the name points
// to by the time of the open is checked again on the open descriptor. Only
// kOpened leaves `file` open; every other answer leaves it closed.
[[nodiscard]] ReadOpening OpenRegularFile(const QString& path, QFile& file);

}  // namespace fotavel::io
