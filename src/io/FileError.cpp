// The failure of a file, as the program's Error.
#include "io/FileError.h"

#include <utility>

namespace fotavel::io {

FileError::FileError(std::uint32_t number, const QString& description, QString path,
                     const char* module)
    : Error(number, description.toStdString(), ProgramName() + '.' + module),
      path_(std::move(path)) {}

}  // namespace fotavel::io
