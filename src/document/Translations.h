// The program's languages: its French texts are the source, any other language comes from a
// translation file.
#pragma once

#include <QString>
#include <QStringList>

namespace fotavel {

// The language the program speaks for a user whose desktop asks for
// `uiLanguages`, in order of preference (QLocale::uiLanguages(), which reads
// LANGUAGE, LC_ALL, LC_MESSAGES and LANG): the first one the program has a
// translation for, French when French comes first or when none has one.
// "fr", or the language of a translation file such as "en" (or "pt_BR" when
// that country's variant has a file of its own).
QString ChosenLanguage(const QStringList& uiLanguages);

// Installs the translations of `language` for the whole program: the
// program's own and Qt's (its buttons and dialogs). "fr" keeps the source
// texts and installs Qt's French. False when the program's translation for
// `language` was not found; the French texts then stay.
bool UseLanguage(const QString& language);

}  // namespace fotavel
