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

QString WithDefaultExtension(const QString& name, const QString& ext) {
  if (ext.isEmpty() || name.isEmpty()) return name;
  // "archive.tar" keeps its name although "tar" is not the default: only a
  // name without any extension gets one, which is also what Qt's dialog does.
  const QString fileName = QFileInfo(name).fileName();
  if (fileName.isEmpty() || fileName.contains(u'.')) return name;
  return name + u'.' + ext;
}

}  // namespace fotavel
