// Internal to fotavel_io: writing a whole file so that the file it replaces survives any failure.
#pragma once

#include <sys/uio.h>

#include <QString>
#include <vector>

namespace fotavel::io::detail {

// Writes the pieces, in order, as the new content of `path`. The bytes go to a
// temporary file in the same folder, which takes the target's name only once
// complete and flushed to disk; on any failure the old file is untouched, the
// temporary file is removed, and `error` says why in French.
bool WriteWhole(const QString& path, std::vector<iovec> pieces, QString& error);

}  // namespace fotavel::io::detail
