// Internal to fotavel_io: writing a whole file so that the file it replaces survives any failure.
#pragma once

#include <sys/uio.h>

#include <QString>
#include <vector>

namespace fotavel::io::detail {

// Writes the pieces, in order, as the new content of `path` (ReplacedFile):
// the bytes go to a temporary file in the same folder, which takes the
// target's name only once complete and flushed to disk; on any failure the
// old file is untouched, the temporary file is removed, and the write failure
// of `path` is thrown (Unwritten).
void WriteWhole(const QString& path, std::vector<iovec> pieces);

// Throws the write failure (FileError, FileErrors::kWrite) of `path` with the
// French `reason`.
[[noreturn]] void Unwritten(const QString& path, const QString& reason);

}  // namespace fotavel::io::detail
