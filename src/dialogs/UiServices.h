// The one door through which the program shows message boxes and file dialogs, so tests can script
// them.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace fotavel {

// The title of every message box the program shows.
inline const QString kAppTitle = QStringLiteral("Fotavel");

enum class MessageIcon { None, Information, Question, Exclamation, Stop };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// One entry of a file dialog's type list: what the user reads and the
// wildcards it selects, several separated by ";" ("*.JPG;*.PNG").
struct FileFilter {
  QString description;
  QString pattern;
  bool operator==(const FileFilter&) const = default;
};

enum class FileDialogKind { Open, Save };

// What a file dialog is asked to do. Empty texts leave the choice to the dialog.
struct FileDialogRequest {
  QString title;
  QList<FileFilter> filters;
  // 1-based entry of `filters` shown first; out of range shows the first.
  int filterIndex = 1;
  QString initialDir;
  // Prefills the name box; a path with a folder also opens that folder.
  QString defaultName;
  // Added (after a ".") to a chosen name that has no extension.
  QString defaultExt;
  // Open only: only files that exist may be chosen.
  bool mustExist = false;
  // Open only: several files may be chosen.
  bool multiSelect = false;
  // Save only: ask before replacing a file that exists.
  bool overwritePrompt = false;
};

struct FileChoice {
  // Full path of the chosen file (the first when several were chosen).
  QString path;
  // Every chosen file, in the dialog's order; holds `path` alone in a single choice.
  QStringList paths;
  // 1-based entry of the request's filters in force when the user confirmed.
  int filterIndex = 1;
};

class UiServices {
 public:
  virtual ~UiServices() = default;

  // A modal message box under `title` (the application's, unless a message
  // says otherwise); `owner` null means the whole application. Texts may hold
  // "\r\n" line breaks. Returns the button pressed; closing the box counts as
  // its Escape button (OK, No or Cancel).
  virtual MessageAnswer Message(const QString& text, MessageIcon icon, MessageButtons buttons,
                                QWidget* owner = nullptr, const QString& title = kAppTitle) = 0;

  // A modal file dialog; nothing when the user cancelled it.
  virtual std::optional<FileChoice> ChooseFile(FileDialogKind kind,
                                               const FileDialogRequest& request,
                                               QWidget* owner = nullptr) = 0;

  std::optional<FileChoice> OpenFile(const FileDialogRequest& request, QWidget* owner = nullptr) {
    return ChooseFile(FileDialogKind::Open, request, owner);
  }
  std::optional<FileChoice> SaveFile(const FileDialogRequest& request, QWidget* owner = nullptr) {
    return ChooseFile(FileDialogKind::Save, request, owner);
  }
};

// The entry the dialog shows first: request.filterIndex when it names an
// entry, 1 otherwise, 0 when there are no filters.
int ShownFilterIndex(const FileDialogRequest& request);

// The extension a name typed without one takes when the entry `filterIndex`
// is chosen: the entry's own when its first wildcard names one ("*.PNG"
// gives "PNG"), request.defaultExt for an entry of every file. Empty when
// the request asks for none.
QString DefaultExtensionFor(const FileDialogRequest& request, int filterIndex);

// `name` with "." + `ext` appended when its file name has no "." at all,
// as a file dialog does for a typed name; unchanged when `ext` is empty.
QString WithDefaultExtension(const QString& name, const QString& ext);

}  // namespace fotavel
