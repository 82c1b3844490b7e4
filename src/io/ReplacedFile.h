// A file replaced whole: the new content written beside it, and put in its place only once on disk.
#pragma once

#include <sys/stat.h>
#include <sys/uio.h>

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <vector>

namespace fotavel::io {

// The new content goes to a temporary file in the file's folder, which takes
// the file's name by a rename (which the system makes all at once) only when
// it is complete and flushed to disk: whatever fails, the file keeps its old
// content or has the new one whole. Open, write, flush (optional), commit;
// every step that fails removes the temporary file, leaves the old file as it
// was, and throws the write failure of the path (FileError,
// FileErrors::kWrite) with the French reason. Dropped uncommitted, the
// temporary file is removed.
//
// Only a regular file is replaced: a folder, a device, a pipe or a socket at
// the path is refused, and so is a file marked read-only. Through a symbolic
// link the file it names is replaced and the link stays. The replacement
// keeps the old file's permission bits (and its owner and group where the
// process may set them); a new file gets the mode any program's new file gets.
// Every name goes to the system as its bytes (NativeName).
class ReplacedFile {
 public:
  explicit ReplacedFile(QString path);
  ~ReplacedFile();
  ReplacedFile(const ReplacedFile&) = delete;
  ReplacedFile& operator=(const ReplacedFile&) = delete;

  // Checks what the path is and creates the temporary file.
  void Open();
  // Appends the pieces, in order, to the new content.
  void Write(std::vector<iovec> pieces);
  void Write(const char* bytes, std::size_t size);
  // Puts the new content on disk, with the old file's permissions: what a
  // full or failing disk can refuse is then refused. Nothing more may be
  // written. Commit flushes when this was not called.
  void Flush();
  // Gives the new content the file's name.
  void Commit();
  // Drops the new content; the old file stays.
  void Cancel() noexcept;

  const QString& path() const { return path_; }

 private:
  // Refuses what the path names when it is not a regular file that may be
  // written; true when there is one (then in `found`), false when none.
  bool Examine(struct stat& found);
  [[noreturn]] void Fail(const QString& reason);

  QString path_;
  // The folder as shown to the user, the folder and the file's name in it as
  // the system knows them (the file a link names), and the temporary's name.
  QString shownFolder_;
  QByteArray folder_, name_, temporary_;
  int folderFd_ = -1, fd_ = -1;
  bool replacing_ = false, flushed_ = false;
  struct stat old_ {};
};

}  // namespace fotavel::io
