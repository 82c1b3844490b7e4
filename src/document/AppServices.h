// The small services the application offers every document: numbering, settings, param folder,
// temporary files.
#pragma once

#include <QList>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

namespace fotavel {

// One per running program (the main window or the batch tool owns it).
class AppServices {
 public:
  // `programFolder` is the folder of the executable; the param folder is
  // looked for beside it (see ParamFolder).
  explicit AppServices(QString programFolder);

  // 1, 2, 3 … in the order of the calls: the n of "Nouvelle photo n".
  std::int32_t NewImageIndex() { return ++m_imageCounter; }

  // The folder that holds fotavel.ini and logo.<ext>, ending without a
  // separator: the override when one is set, otherwise ResolveParamFolder of
  // the program folder, decided on first use and kept.
  QString ParamFolder() const;
  // Points the param folder somewhere else (the batch tool's --param, tests).
  void SetParamFolder(const QString& folder) { m_paramOverride = folder; }

  // The value of `key` in the settings file (ParamFolder + "/fotavel.ini",
  // read afresh on every call): the text after the first "key=" anywhere in
  // the file (case-sensitive, not only at line starts) up to the next ";", or
  // to the end of the file when no ";" follows; empty when the file or the
  // key is absent.
  QString LireParamIni(const QString& key) const;
  // Rewrites the settings file whole: one line per entry, in order, each
  // key=value; ended by CR LF, in the 8-bit text LireParamIni reads. The old
  // file stays as it was until the new one is complete on disk. Throws
  // io::FileError (FileErrors::kSettings) when the file cannot be written.
  void EcrireParamIni(const QList<std::pair<QString, QString>>& entries) const;

  // The system's temporary folder, ending with a separator.
  QString TempDir() const;
  // Creates a new empty uniquely named file in `folder` (TempDir when empty)
  // whose name starts with `prefix`; returns its full path. Throws
  // std::system_error (a std::runtime_error) carrying the system's error
  // number and description when it cannot.
  QString TempFileName(const QString& prefix = {}, const QString& folder = {}) const;

  // True when a logo may be inserted into photos.
  bool LogoPret = false;
  // Opens the logo settings (the window shows its dialog; the batch tool has
  // none). Unset means there is no way to ask.
  std::function<void()> mnuParametrage_Click;

 private:
  QString m_programFolder;
  QString m_paramOverride;
  mutable std::optional<QString> m_resolvedParamFolder;
  std::int32_t m_imageCounter = 0;
};

// Where the param folder lives: `programFolder`/param when that folder exists
// and can be written, or when it can be created beside a program that is not
// installed (the build tree, a portable copy); otherwise the user's
// configuration folder for the application, XDG_CONFIG_HOME/fotavel/param.
// Created when missing.
QString ResolveParamFolder(const QString& programFolder);

// True when `programFolder` is where an installation puts its programs (a
// folder named as the installation's bin, whatever its prefix).
bool InstalledProgramFolder(const QString& programFolder);

}  // namespace fotavel
