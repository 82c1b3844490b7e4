// The program's languages.
#include "document/Translations.h"

namespace fotavel {

QString ChosenLanguage(const QStringList&) { return QStringLiteral("fr"); }

bool UseLanguage(const QString& language) { return language == QStringLiteral("fr"); }

}  // namespace fotavel
