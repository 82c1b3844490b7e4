// The document's French texts, shared by the window and the batch tool.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

namespace fotavel::Messages {

// A fixed text of the list below. It is translated each time it is read, not
// once when the program starts: the language is installed after the statics
// are made, and a test may change it between two calls.
struct Text {
  const char* source;
  operator QString() const { return QCoreApplication::translate("Messages", source); }
  friend QString operator+(const Text& head, const QString& tail) { return QString(head) + tail; }
  friend QString operator+(const Text& head, const char* tail) {
    return QString(head) + QString::fromUtf8(tail);
  }
  friend QString operator+(const QString& head, const Text& tail) { return head + QString(tail); }
};

inline constexpr Text kOuvertureErreur{
    QT_TRANSLATE_NOOP("Messages", "Une erreur est survenue lors de l'ouverture de : ")};
inline constexpr Text kEnregistrementErreur{
    QT_TRANSLATE_NOOP("Messages", "Erreur lors de l'enregistrement de la photo: ")};
inline constexpr Text kFormatIncompatible{QT_TRANSLATE_NOOP(
    "Messages",
    "Vous avez choisi un format imcompatible!\r\nLa photo a été sauvegardée au format bitmap "
    "(.bmp)")};
inline constexpr Text kSelectionnezPhoto{QT_TRANSLATE_NOOP("Messages", "Sélectionnez une photo !")};
inline constexpr Text kMemoireInsuffisante{
    QT_TRANSLATE_NOOP("Messages", "Mémoire insuffisante : la photo n'a pas été modifiée.")};

// A failure of the system, with its own number and words.
inline QString ErreurSysteme(int number, const QString& words) {
  return QCoreApplication::translate("Messages", "Erreur du système n° %1 : %2")
      .arg(number)
      .arg(words);
}
// A failure nothing foresaw; `what` says what it was when known.
inline QString ErreurInattendue(const QString& what) {
  return what.isEmpty()
             ? QCoreApplication::translate("Messages", "Erreur inattendue.")
             : QCoreApplication::translate("Messages", "Erreur inattendue : %1").arg(what);
}

// The logo could not be stamped; the photo stays as it was.
inline constexpr Text kLogoNonInsere{
    QT_TRANSLATE_NOOP("Messages", "Le logo n'a pas pu être inséré : ")};
inline QString LogoReglageIllisible(const char* key, const QString& value) {
  return kLogoNonInsere +
         QCoreApplication::translate(
             "Messages", "le réglage %1 de fotavel.ini (« %2 ») n'est pas un nombre valable.")
             .arg(QLatin1String(key), value);
}
inline QString LogoAbsent(const QString& name) {
  return kLogoNonInsere +
         QCoreApplication::translate(
             "Messages", "le fichier %1 est introuvable dans le dossier des paramètres.")
             .arg(name);
}
inline QString LogoIllisible(const QString& path) {
  return kLogoNonInsere +
         QCoreApplication::translate("Messages", "le fichier %1 n'est pas une image lisible.")
             .arg(path);
}

// What the logo settings could not store or delete in the param folder.
inline QString DossierParametresImpossible(const QString& folder) {
  return QCoreApplication::translate("Messages",
                                     "Impossible de créer le dossier des paramètres :\r\n%1")
      .arg(folder);
}
inline QString LogoSourceIllisible(const QString& path) {
  return QCoreApplication::translate("Messages", "Impossible de lire le fichier :\r\n%1").arg(path);
}
inline QString LogoNonEnregistre(const QString& folder) {
  return QCoreApplication::translate("Messages",
                                     "Impossible d'enregistrer le logo dans le dossier :\r\n%1")
      .arg(folder);
}
inline QString ReglagesNonEnregistres(const QString& settingsFile) {
  return QCoreApplication::translate("Messages",
                                     "Impossible d'enregistrer les réglages du logo dans :\r\n%1")
      .arg(settingsFile);
}
inline QString LogoNonSupprime(const QStringList& paths) {
  return QCoreApplication::translate("Messages", "Impossible de supprimer :\r\n%1")
      .arg(paths.join(QStringLiteral("\r\n")));
}

inline QString MemoryWarning() {
  return QCoreApplication::translate(
      "Messages",
      "Attention!\r\n"
      "Pour ce format de photo la mémoire disponible de votre ordinateur peut s'avérer "
      "insuffisante.\r\n"
      "\r\n"
      "Les différentes solutions :\r\n"
      "- Fermez les programmes en cours.\r\n"
      "- Réduisez la taille de votre photo.\r\n"
      "- Si ce message s'affiche souvent pensez à faire augmenter votre mémoire vive.");
}

inline QString Realise(int milliseconds) {
  return QCoreApplication::translate("Messages", "Réalisé en %1 ms").arg(milliseconds);
}

// The close question; editorMode when the photo goes back to the poster editor.
inline QString QuerySave(const QString& fileTitle, bool editorMode) {
  return editorMode ? QCoreApplication::translate(
                          "Messages",
                          "La photo '%1' a changé.\r\n\r\nVoulez vous l'importer dans l'éditeur ?")
                          .arg(fileTitle)
                    : QCoreApplication::translate(
                          "Messages", "La photo '%1' a changé.\r\n\r\nVoulez vous la sauvegarder ?")
                          .arg(fileTitle);
}

}  // namespace fotavel::Messages
