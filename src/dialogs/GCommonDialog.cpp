// The file-dialog wrapper: filter text conversion, request flags and the read-back of the choice.
#include "dialogs/GCommonDialog.h"

#include <QFileInfo>
#include <exception>
#include <optional>

namespace fotavel {
namespace {

constexpr QChar kNul = u'\0';

// Every text the dialog is given travels as a C string: it ends at its
// first NUL.
QString UpToNul(const QString& text) {
  const qsizetype end = text.indexOf(kNul);
  return end < 0 ? text : text.left(end);
}

}  // namespace

QString GCommonDialog::NulSeparatedFilter(const QString& filter) {
  QString list = filter;
  list.replace(u'|', kNul);
  list.replace(u':', kNul);
  list.append(kNul);
  list.append(kNul);
  return list;
}

QList<FileFilter> GCommonDialog::FilterEntries(const QString& filter) {
  const QStringList elements = NulSeparatedFilter(filter).split(kNul);
  QList<FileFilter> entries;
  // The list ends at its first empty element, as the platform list does.
  for (qsizetype i = 0; i + 1 < elements.size(); i += 2) {
    const QString& description = elements.at(i);
    const QString& pattern = elements.at(i + 1);
    if (description.isEmpty() || pattern.isEmpty()) break;
    entries.append({description, pattern});
  }
  return entries;
}

QString GCommonDialog::ChosenEntry(const QList<FileFilter>& entries, std::int32_t index) {
  if (index < 1 || index > entries.size()) return {};
  const FileFilter& entry = entries.at(index - 1);
  return entry.description + kNul + entry.pattern;
}

bool GCommonDialog::VBGetOpenFileName(QString& filename, QString& FileTitle, bool FileMustExist,
                                      bool MultiSelect, bool& ReadOnly, bool HideReadOnly,
                                      QString& Filter, std::int32_t& FilterIndex,
                                      const QString& InitDir, const QString& DlgTitle,
                                      const QString& DefaultExt, QWidget* Owner,
                                      std::int32_t& FLAGS) {
  std::int32_t flags = FLAGS & ~(kEnableHook | kEnableTemplate);
  if (ReadOnly) flags |= kReadOnly;
  if (HideReadOnly) flags |= kHideReadOnly;
  if (MultiSelect) flags |= kAllowMultiSelect;
  if (FileMustExist) flags |= kFileMustExist;
  const bool chosen = Run(FileDialogKind::Open, flags, filename, FileTitle, Filter, FilterIndex,
                          InitDir, DlgTitle, DefaultExt, Owner, FLAGS);
  // Qt's dialog has no read-only box: the flag comes back as the caller set it.
  if (chosen) ReadOnly = (FLAGS & kReadOnly) != 0;
  return chosen;
}

bool GCommonDialog::VBGetSaveFileName(QString& filename, QString& FileTitle, bool OverWritePrompt,
                                      QString& Filter, std::int32_t& FilterIndex,
                                      const QString& InitDir, const QString& DlgTitle,
                                      const QString& DefaultExt, QWidget* Owner,
                                      std::int32_t& FLAGS) {
  std::int32_t flags = (FLAGS & ~(kEnableHook | kEnableTemplate)) | kHideReadOnly;
  if (OverWritePrompt) flags |= kOverwritePrompt;
  return Run(FileDialogKind::Save, flags, filename, FileTitle, Filter, FilterIndex, InitDir,
             DlgTitle, DefaultExt, Owner, FLAGS);
}

bool GCommonDialog::Run(FileDialogKind kind, std::int32_t flags, QString& filename,
                        QString& FileTitle, QString& Filter, std::int32_t& FilterIndex,
                        const QString& InitDir, const QString& DlgTitle, const QString& DefaultExt,
                        QWidget* Owner, std::int32_t& FLAGS) {
  const QList<FileFilter> entries = FilterEntries(Filter);
  FileDialogRequest request;
  request.title = UpToNul(DlgTitle);
  request.filters = entries;
  request.filterIndex = FilterIndex;
  request.initialDir = UpToNul(InitDir);
  request.defaultName = UpToNul(filename);
  request.defaultExt = UpToNul(DefaultExt);
  // The flags, not the arguments, decide: a caller's extra flag asks as much
  // as the argument that stands for it.
  request.mustExist = (flags & kFileMustExist) != 0;
  request.multiSelect = kind == FileDialogKind::Open && (flags & kAllowMultiSelect) != 0;
  request.overwritePrompt = kind == FileDialogKind::Save && (flags & kOverwritePrompt) != 0;

  std::optional<FileChoice> choice;
  try {
    choice = m_ui.ChooseFile(kind, request, Owner);
  } catch (const std::exception&) {
    // A dialog that could not be shown is treated as cancelled, silently:
    // every caller simply does nothing then.
    choice.reset();
  }
  if (!choice || choice->path.isEmpty()) {
    filename.clear();
    FileTitle.clear();
    Filter.clear();
    FLAGS = 0;
    return false;
  }

  filename = choice->path;
  FileTitle = QFileInfo(choice->path).fileName();
  FilterIndex = choice->filterIndex;
  Filter = ChosenEntry(entries, choice->filterIndex);
  if (!request.defaultExt.isEmpty() &&
      QFileInfo(choice->path).suffix().compare(request.defaultExt, Qt::CaseInsensitive) != 0) {
    flags |= kExtensionDifferent;
  }
  FLAGS = flags;
  return true;
}

}  // namespace fotavel
