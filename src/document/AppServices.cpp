// The application's small services: the settings lookup, the param folder, temporary files.
#include "document/AppServices.h"

#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <system_error>
#include <utility>

#include "document/Messages.h"
#include "io/FileError.h"
#include "io/RegularFile.h"
#include "io/ReplacedFile.h"

namespace fotavel {

namespace {

// The name of the folder the installation puts the programs in (the build
// system's bin folder).
constexpr const char* kInstalledBin = FOTAVEL_INSTALLED_BIN;

QString WithSeparator(const QString& folder) {
  return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// A folder we may keep files in: an existing writable folder, or one we could
// create. The permission bits are all we look at; root passes them even where
// a write would fail, but a path that runs through a file still cannot be made.
bool UsableFolder(const QString& path) {
  const QFileInfo info(path);
  if (info.exists()) return info.isDir() && info.isWritable();
  return QDir().mkpath(path);
}

}  // namespace

AppServices::AppServices(QString programFolder) : m_programFolder(std::move(programFolder)) {}

QString AppServices::ParamFolder() const {
  if (!m_paramOverride.isEmpty()) return m_paramOverride;
  if (!m_resolvedParamFolder) m_resolvedParamFolder = ResolveParamFolder(m_programFolder);
  return *m_resolvedParamFolder;
}

QString AppServices::LireParamIni(const QString& key) const {
  // A settings file that is no regular file (a FIFO would hold the open, a
  // device never end) reads as an unreadable one does: as absent.
  QFile file;
  if (io::OpenRegularFile(ParamFolder() + QStringLiteral("/fotavel.ini"), file) !=
      io::ReadOpening::kOpened) {
    return {};
  }
  // The file is 8-bit text written by the logo dialog; Latin-1 maps every byte
  // to one character, so positions in the text are positions in the file.
  const QString text = QString::fromLatin1(file.readAll());
  const QString entry = key + QLatin1Char('=');
  const qsizetype found = text.indexOf(entry, 0, Qt::CaseSensitive);
  // The historical lookup would read from a meaningless position for a key
  // the file lacks; an absent key reads as an absent file does.
  if (found < 0) return {};
  const qsizetype start = found + entry.size();
  qsizetype end = text.indexOf(QLatin1Char(';'), start);
  if (end < 0) end = text.size();
  return text.mid(start, end - start);
}

void AppServices::EcrireParamIni(const QList<std::pair<QString, QString>>& entries) const {
  QByteArray text;
  for (const auto& [key, value] : entries) {
    text += (key + QLatin1Char('=') + value + QLatin1Char(';')).toLatin1();
    text += "\r\n";
  }
  // The placement and the logo's extension change together or not at all: a
  // half-written file would place the next logo by values nobody chose. The
  // replacement's own reason gives way to the settings' message, which names
  // the file the user will look for.
  const QString path = QDir(ParamFolder()).filePath(QStringLiteral("fotavel.ini"));
  try {
    io::ReplacedFile file(path);
    file.Open();
    file.Write(text.constData(), std::size_t(text.size()));
    file.Commit();
  } catch (const io::FileError&) {
    throw io::FileError(io::FileErrors::kSettings, Messages::ReglagesNonEnregistres(path), path,
                        "AppServices");
  }
}

QString AppServices::TempDir() const { return WithSeparator(QDir::tempPath()); }

QString AppServices::TempFileName(const QString& prefix, const QString& folder) const {
  const QString where = folder.isEmpty() ? TempDir() : WithSeparator(folder);
  // mkstemp both picks the unique name and creates the empty file in one
  // step, so no other process can take the name between the two.
  QByteArray name = QFile::encodeName(where + prefix) + QByteArrayLiteral("XXXXXX");
  const int descriptor = ::mkstemp(name.data());
  if (descriptor < 0) throw std::system_error(errno, std::generic_category());
  ::close(descriptor);
  return QFile::decodeName(name);
}

bool InstalledProgramFolder(const QString& programFolder) {
  return !programFolder.isEmpty() &&
         QDir(QDir::cleanPath(programFolder)).dirName() == QLatin1String(kInstalledBin);
}

QString ResolveParamFolder(const QString& programFolder) {
  if (!programFolder.isEmpty()) {
    const QString beside = QDir::cleanPath(programFolder + QStringLiteral("/param"));
    // A param folder already there wins even in a bin folder: that is a copy
    // someone keeps portable on purpose. A new one is only made beside a
    // program that is not installed (the build tree, a copied folder); an
    // installed program's folder is shared and no place for one user's logo.
    const bool exists = QFileInfo::exists(beside);
    if ((exists || !InstalledProgramFolder(programFolder)) && UsableFolder(beside)) return beside;
  }
  // The settings and the logo then live with the user's configuration. The
  // generic location (which follows XDG_CONFIG_HOME) plus our own name gives
  // the same folder as the application's configuration location without
  // depending on the application and organisation names having been set yet.
  QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (config.isEmpty()) config = QDir::homePath() + QStringLiteral("/.config");
  const QString param = QDir::cleanPath(config + QStringLiteral("/fotavel/param"));
  QDir().mkpath(param);
  return param;
}

}  // namespace fotavel
