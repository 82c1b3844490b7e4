// The failure of a file (a picture read or written, the settings, the logo): the program's Error
// with the file it concerns.
#pragma once

#include <QString>
#include <cstdint>

#include "effects/ImageProcessError.h"

namespace fotavel::io {

// File failures number on the base the engine (1305 …) and the document
// (1400 …) use, so that whoever reports a failure tells from its number alone
// what the user was doing: opening a photo, saving it, or storing settings.
namespace FileErrors {
// A picture could not be read: opening a photo, the second photo of a
// combination, the explorer's preview, the clipboard's picture.
inline constexpr std::uint32_t kRead = ImageProcessErrors::kObjectErrorBase + 1500;
// A picture could not be written: saving a photo, the temporary file of a paste.
inline constexpr std::uint32_t kWrite = ImageProcessErrors::kObjectErrorBase + 1501;
// What the param folder keeps (fotavel.ini, the logo picture) could not be
// written or removed.
inline constexpr std::uint32_t kSettings = ImageProcessErrors::kObjectErrorBase + 1502;
}  // namespace FileErrors

// The description is the French reason the user reads; the source is the
// program's base name, ".", and `module`, the part of the program that met
// the failure. `path` is the file concerned (empty for a picture that came
// from no file, the clipboard's); the messages of the window leave it out,
// the batch tool names it in an open or save failure of another file than
// the photo of its line.
class FileError : public Error {
 public:
  FileError(std::uint32_t number, const QString& description, QString path, const char* module);

  QString text() const { return QString::fromStdString(description()); }
  const QString& path() const { return path_; }

 private:
  QString path_;
};

}  // namespace fotavel::io
