// The program's languages: the translation files looked for beside the build or the installed
// programs, and the translators installed on the application.
#include "document/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace fotavel {

namespace {

const QString kFrench = QStringLiteral("fr");

// Where the fotavel_<language>.qm files are: the build's folder while the
// program runs from the build tree (the tests too, from their own folder),
// else the installed data folder, found from the program's folder.
QStringList TranslationFolders() {
  QStringList folders{QStringLiteral(FOTAVEL_BUILD_TRANSLATIONS)};
  if (QCoreApplication::instance() != nullptr) {
    folders.prepend(QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                    QStringLiteral("/" FOTAVEL_TRANSLATIONS_FROM_BIN)));
  }
  return folders;
}

QString TranslationFile(const QString& language) {
  for (const QString& folder : TranslationFolders()) {
    const QString path = folder + QStringLiteral("/fotavel_") + language + QStringLiteral(".qm");
    if (QFileInfo::exists(path)) return path;
  }
  return QString();
}

// "en-GB", "en_GB" and "en" all ask for the program's English; a file for
// the country's own variant ("pt_BR") is preferred when there is one.
QStringList Candidates(const QString& uiLanguage) {
  const QString language = uiLanguage.section(u'-', 0, 0).section(u'_', 0, 0).toLower();
  const QString variant = QLocale(uiLanguage).name();
  if (language.isEmpty()) return {};
  if (variant.startsWith(language + u'_')) return {variant, language};
  return {language};
}

}  // namespace

QString ChosenLanguage(const QStringList& uiLanguages) {
  for (const QString& uiLanguage : uiLanguages) {
    for (const QString& candidate : Candidates(uiLanguage)) {
      if (candidate == kFrench) return kFrench;
      if (!TranslationFile(candidate).isEmpty()) return candidate;
    }
  }
  return kFrench;
}

bool UseLanguage(const QString& language) {
  // Installed translators are only pointers: they live as long as the program.
  static QTranslator program;
  static QTranslator qt;
  const QString file = language == kFrench ? QString() : TranslationFile(language);
  // Without the program's own translation, the whole program stays French,
  // Qt's buttons included.
  if (language != kFrench && file.isEmpty()) {
    UseLanguage(kFrench);
    return false;
  }
  QCoreApplication::removeTranslator(&program);
  QCoreApplication::removeTranslator(&qt);
  // Qt's own buttons and dialogs speak the same language (no qtbase file for
  // English: Qt's source texts are English).
  if (qt.load(QStringLiteral("qtbase_") + language,
              QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(&qt);
  }
  if (file.isEmpty()) return true;
  if (!program.load(file)) return false;
  QCoreApplication::installTranslator(&program);
  return true;
}

}  // namespace fotavel
