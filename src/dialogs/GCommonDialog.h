// The open and save file dialogs behind two calls with plain arguments, some given back changed.
#pragma once

#include <QList>
#include <QString>
#include <cstdint>

#include "dialogs/UiServices.h"

class QWidget;

namespace fotavel {

// Made for one call by the document (save under a name) and the logo
// settings (pick a picture); the dialog itself is the UiServices' one.
//
// Filter text is written as pairs of description and pattern separated by
// "|", e.g. "Fichiers Bitmap (*.BMP)|*.BMP|Fichiers Jpeg (*.JPG)|*.JPG"; a
// ":" separates elements as well. Entries are numbered from 1.
//
// FLAGS are the classic request flags (the k… constants below): the caller's
// extra flags are combined with those the arguments stand for, the hook and
// template bits cleared, and the combination decides what the dialog is
// asked for; after OK FLAGS holds the combination as the dialog returns it.
//
// A cancelled dialog and one that could not be shown both return false with
// `filename`, `FileTitle` and `Filter` emptied and FLAGS 0; nothing is shown.
class GCommonDialog {
 public:
  static constexpr std::int32_t kReadOnly = 0x1;
  static constexpr std::int32_t kOverwritePrompt = 0x2;
  static constexpr std::int32_t kHideReadOnly = 0x4;
  static constexpr std::int32_t kEnableHook = 0x20;
  static constexpr std::int32_t kEnableTemplate = 0x40;
  static constexpr std::int32_t kAllowMultiSelect = 0x200;
  // Set on return when the chosen name's extension is not DefaultExt.
  static constexpr std::int32_t kExtensionDifferent = 0x400;
  static constexpr std::int32_t kFileMustExist = 0x1000;

  explicit GCommonDialog(UiServices& ui) : m_ui(ui) {}

  // Choose an existing file. In: `filename` prefills the name box,
  // `FilterIndex` is the entry shown first, `Owner` may be null (no owner).
  // Out after OK: `filename` the full path, `FileTitle` its name without
  // folder, `ReadOnly` from the returned flags, `Filter` the chosen entry as
  // description + NUL + pattern, `FilterIndex` the chosen entry.
  bool VBGetOpenFileName(QString& filename, QString& FileTitle, bool FileMustExist,
                         bool MultiSelect, bool& ReadOnly, bool HideReadOnly, QString& Filter,
                         std::int32_t& FilterIndex, const QString& InitDir, const QString& DlgTitle,
                         const QString& DefaultExt, QWidget* Owner, std::int32_t& FLAGS);

  // Choose a name to save under; the same outputs without `ReadOnly`.
  bool VBGetSaveFileName(QString& filename, QString& FileTitle, bool OverWritePrompt,
                         QString& Filter, std::int32_t& FilterIndex, const QString& InitDir,
                         const QString& DlgTitle, const QString& DefaultExt, QWidget* Owner,
                         std::int32_t& FLAGS);

  // The filter as the platform list reads it: every "|" and ":" a NUL, two
  // NULs appended.
  static QString NulSeparatedFilter(const QString& filter);
  // The entries that list holds, read pair by pair up to the first empty
  // element; a description left without a pattern at the end is dropped.
  static QList<FileFilter> FilterEntries(const QString& filter);
  // Entry `index` (1-based) as description + NUL + pattern; empty when there
  // is no such entry.
  static QString ChosenEntry(const QList<FileFilter>& entries, std::int32_t index);

 private:
  bool Run(FileDialogKind kind, std::int32_t flags, QString& filename, QString& FileTitle,
           QString& Filter, std::int32_t& FilterIndex, const QString& InitDir,
           const QString& DlgTitle, const QString& DefaultExt, QWidget* Owner, std::int32_t& FLAGS);

  UiServices& m_ui;
};

}  // namespace fotavel
