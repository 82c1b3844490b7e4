// Helpers every implementation of the message and file-dialog service shares.
#include "dialogs/UiServices.h"

#include <QFileInfo>

namespace fotavel {

int ShownFilterIndex(const FileDialogRequest& request) {
  if (request.filters.isEmpty()) return 0;
  if (request.filterIndex >= 1 && request.filterIndex <= request.filters.size()) {
    return request.filterIndex;
  }
  return 1;
}

QString DefaultExtensionFor(const FileDialogRequest& request, int filterIndex) {
  if (request.defaultExt.isEmpty() || filterIndex < 1 || filterIndex > request.filters.size()) {
    return request.defaultExt;
  }
  const QString first = request.filters.at(filterIndex - 1).pattern.section(u';', 0, 0).trimmed();
  const QString extension = first.startsWith(QStringLiteral("*.")) ? first.mid(2) : QString();
  // "*.*" and "*" stand for every file: no extension of their own.
  if (extension.isEmpty() || extension.contains(u'*') || extension.contains(u'?')) {
    return request.defaultExt;
  }
  return extension;
}

QString WithDefaultExtension(const QString& name, const QString& ext) {
  if (ext.isEmpty() || name.isEmpty()) return name;
  // "archive.tar" keeps its name although "tar" is not the default: only a
  // name without any extension gets one, which is also what Qt's dialog does.
  const QString fileName = QFileInfo(name).fileName();
  if (fileName.isEmpty() || fileName.contains(u'.')) return name;
  return name + u'.' + ext;
}

}  // namespace fotavel
