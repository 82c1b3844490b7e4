// fotavel's command line: the hand-off keyword, otherwise photo files.
#include "shell/CommandLine.h"

#include <unistd.h>

#include <QDir>
#include <cstdlib>
#include <memory>

#include "io/FileNames.h"

namespace fotavel {

StartRequest ReadCommandLine(const QStringList& arguments, const QString& workingFolder) {
  StartRequest request;
  if (arguments == QStringList{QStringLiteral("EditeurAff")}) {
    request.editorMode = true;
    return request;
  }
  // There are no options: whatever else is written is a file to open, and a
  // name that is no readable photo gets the usual message when it is opened.
  // An empty argument names nothing at all.
  const QDir here(workingFolder);
  for (const QString& argument : arguments) {
    if (!argument.isEmpty())
      request.photos.push_back(QDir::cleanPath(here.absoluteFilePath(argument)));
  }
  return request;
}

QString WorkingFolder() {
  const std::unique_ptr<char, decltype(&std::free)> folder(::getcwd(nullptr, 0), &std::free);
  return folder ? io::NameFromNative(QByteArray(folder.get())) : QDir::currentPath();
}

}  // namespace fotavel
