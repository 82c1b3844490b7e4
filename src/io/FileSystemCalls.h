// Internal to fotavel_io: the system calls of a file replacement that a failing disk fails, open to
// tests.
#pragma once

#include <fcntl.h>
#include <stdio.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

namespace fotavel::io::detail {

// A disk that fails its flush, or a folder that refuses the rename, cannot be
// summoned in a test; these calls can be made to fail in its stead. Each takes
// and returns what the system call does (-1 and errno on failure).
struct FileSystemCalls {
  ssize_t (*writev)(int fd, const iovec* pieces, int count) = ::writev;
  int (*fdatasync)(int fd) = ::fdatasync;
  int (*renameat)(int fromFolder, const char* from, int toFolder, const char* to) = ::renameat;
  // Flushes the folder's entries once the new file holds its name.
  int (*fsync)(int fd) = ::fsync;
};

// The calls in use: the system's own unless a test replaced them.
const FileSystemCalls& Calls();

// Puts `calls` in use for as long as it lives, then the ones before. Only for
// tests, set while no other thread writes a file.
class ScopedFileSystemCalls {
 public:
  explicit ScopedFileSystemCalls(const FileSystemCalls& calls);
  ~ScopedFileSystemCalls();
  ScopedFileSystemCalls(const ScopedFileSystemCalls&) = delete;
  ScopedFileSystemCalls& operator=(const ScopedFileSystemCalls&) = delete;

 private:
  FileSystemCalls previous_;
};

}  // namespace fotavel::io::detail
