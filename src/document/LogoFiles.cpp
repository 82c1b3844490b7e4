// Storing and deleting the logo and its settings in the param folder.
#include "document/LogoFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <array>
#include <cstddef>

#include "document/AppServices.h"
#include "document/Messages.h"
#include "io/FileError.h"
#include "io/RegularFile.h"
#include "io/ReplacedFile.h"

namespace fotavel::LogoFiles {

namespace {

// The names a stored logo may have, compared without regard to case.
constexpr std::array<const char*, 4> kLogoNames = {"logo.jpg", "logo.png", "logo.gif", "logo.bmp"};

[[noreturn]] void NotStored(const QString& description, const QString& path) {
  throw io::FileError(io::FileErrors::kSettings, description, path, "LogoFiles");
}

// Runs a step of the logo's replacement; its failure is the logo's, reported
// with the folder the user chose to keep settings in.
template <class Step>
void Replacing(const QString& folder, Step&& step) {
  try {
    step();
  } catch (const io::FileError&) {
    NotStored(Messages::LogoNonEnregistre(folder), folder);
  }
}

// Copies `chosen` into `logo`, opened on its final name but not yet
// committed: the copy takes that name only when the caller commits it.
void CopyInto(const QString& chosen, io::ReplacedFile& logo, const QString& folder) {
  // Only a regular file is copied: a FIFO would hold the open, a device such
  // as /dev/zero fill the disk.
  QFile source;
  if (io::OpenRegularFile(chosen, source) != io::ReadOpening::kOpened) {
    NotStored(Messages::LogoSourceIllisible(chosen), chosen);
  }
  Replacing(folder, [&] { logo.Open(); });
  char buffer[1 << 16];
  for (;;) {
    const qint64 got = source.read(buffer, sizeof buffer);
    if (got < 0) NotStored(Messages::LogoSourceIllisible(chosen), chosen);
    if (got == 0) break;
    Replacing(folder, [&] { logo.Write(buffer, std::size_t(got)); });
  }
  // The copy on disk first: a full or failing disk shows before the settings change.
  Replacing(folder, [&] { logo.Flush(); });
}

}  // namespace

QStringList Stored(const QString& paramFolder) {
  const QDir folder(paramFolder);
  QStringList found;
  for (const QString& entry : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
    for (const char* name : kLogoNames) {
      if (entry.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) {
        found.push_back(folder.filePath(entry));
      }
    }
  }
  return found;
}

void Store(const AppServices& services, const QString& chosen, const QString& extension,
           const QList<std::pair<QString, QString>>& settings) {
  const QString folder = QDir(services.ParamFolder()).path();
  if (!QDir().mkpath(folder)) NotStored(Messages::DossierParametresImpossible(folder), folder);
  io::ReplacedFile logo(QDir(folder).filePath(QStringLiteral("logo.") + extension));
  if (!chosen.isEmpty()) CopyInto(chosen, logo, folder);
  services.EcrireParamIni(settings);
  if (chosen.isEmpty()) return;
  // Only the rename within the folder, and the flush of the folder, are left to fail here.
  Replacing(folder, [&] { logo.Commit(); });
  // One logo at a time: the others, and the same name in another case.
  const QString stored = QFileInfo(logo.path()).fileName();
  for (const QString& path : Stored(folder)) {
    if (QFileInfo(path).fileName() != stored) QFile::remove(path);
  }
}

void Delete(const QString& paramFolder) {
  QStringList kept;
  for (const QString& path : Stored(paramFolder)) {
    if (!QFile::remove(path)) kept.push_back(path);
  }
  if (!kept.isEmpty()) NotStored(Messages::LogoNonSupprime(kept), kept.front());
}

}  // namespace fotavel::LogoFiles
