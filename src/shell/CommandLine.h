// What fotavel's command line asks for: the poster editor's hand-off, or photos to open.
#pragma once

#include <QString>
#include <QStringList>

namespace fotavel {

struct StartRequest {
  // The command line is the keyword "EditeurAff", exactly and alone.
  bool editorMode = false;
  // Every other argument names a photo to open, in order; each made absolute
  // from the working folder, as the explorer names the photos it opens (so
  // that one already open is recognised).
  QStringList photos;
};

// `arguments` without the program's own name (and without the toolkit's
// options, which QApplication has already taken out).
// Names are taken as they are: the caller decodes the command line with
// io::ArgumentsFromNative, so that a name that is not UTF-8 keeps its bytes.
StartRequest ReadCommandLine(const QStringList& arguments, const QString& workingFolder);

// The program's working folder, its bytes kept as io::NameFromNative keeps
// them (QDir::currentPath decodes it as any other name).
QString WorkingFolder();

}  // namespace fotavel
