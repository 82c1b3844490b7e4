// The logo and its settings as the logo settings dialog stores and deletes them in the param
// folder.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

namespace fotavel {

class AppServices;

namespace LogoFiles {

// The stored logo files of `paramFolder` (logo.jpg, .png, .gif or .bmp,
// whatever the case of their names).
QStringList Stored(const QString& paramFolder);

// Stores the logo settings in the param folder (made when missing): the
// picture `chosen` copied as logo.<extension> (none when `chosen` is empty),
// then `settings` written as the settings file (AppServices::EcrireParamIni).
// The copy takes the name logo.<extension> only once the settings are
// written, so that the user may choose the stored logo itself and a failure
// leaves the logo that was there; the other stored logos go last. Throws
// io::FileError (FileErrors::kSettings) saying in French what could not be
// read or written; the stored logo and settings are then as they were.
void Store(const AppServices& services, const QString& chosen, const QString& extension,
           const QList<std::pair<QString, QString>>& settings);

// Deletes every stored logo; the settings stay, to place the next logo
// chosen. Throws io::FileError (FileErrors::kSettings) naming the files that
// could not be deleted.
void Delete(const QString& paramFolder);

}  // namespace LogoFiles
}  // namespace fotavel
