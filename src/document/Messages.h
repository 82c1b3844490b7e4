// The document's French texts, shared by the window and the batch tool.
#pragma once

#include <QString>
#include <QStringList>

namespace fotavel::Messages {

inline const QString kOuvertureErreur =
    QStringLiteral("Une erreur est survenue lors de l'ouverture de : ");
inline const QString kEnregistrementErreur =
    QStringLiteral("Erreur lors de l'enregistrement de la photo: ");
inline const QString kFormatIncompatible = QStringLiteral(
    "Vous avez choisi un format imcompatible!\r\nLa photo a été sauvegardée au format bitmap "
    "(.bmp)");
inline const QString kSelectionnezPhoto = QStringLiteral("Sélectionnez une photo !");
inline const QString kMemoireInsuffisante =
    QStringLiteral("Mémoire insuffisante : la photo n'a pas été modifiée.");

// A failure of the system, with its own number and words.
inline QString ErreurSysteme(int number, const QString& words) {
  return QStringLiteral("Erreur du système n° %1 : %2").arg(number).arg(words);
}
// A failure nothing foresaw; `what` says what it was when known.
inline QString ErreurInattendue(const QString& what) {
  return what.isEmpty() ? QStringLiteral("Erreur inattendue.")
                        : QStringLiteral("Erreur inattendue : ") + what;
}

// The logo could not be stamped; the photo stays as it was.
inline const QString kLogoNonInsere = QStringLiteral("Le logo n'a pas pu être inséré : ");
inline QString LogoReglageIllisible(const char* key, const QString& value) {
  return kLogoNonInsere +
         QStringLiteral("le réglage %1 de fotavel.ini (« %2 ») n'est pas un nombre valable.")
             .arg(QLatin1String(key), value);
}
inline QString LogoAbsent(const QString& name) {
  return kLogoNonInsere +
         QStringLiteral("le fichier %1 est introuvable dans le dossier des paramètres.").arg(name);
}
inline QString LogoIllisible(const QString& path) {
  return kLogoNonInsere + QStringLiteral("le fichier %1 n'est pas une image lisible.").arg(path);
}

// What the logo settings could not store or delete in the param folder.
inline QString DossierParametresImpossible(const QString& folder) {
  return QStringLiteral("Impossible de créer le dossier des paramètres :\r\n") + folder;
}
inline QString LogoSourceIllisible(const QString& path) {
  return QStringLiteral("Impossible de lire le fichier :\r\n") + path;
}
inline QString LogoNonEnregistre(const QString& folder) {
  return QStringLiteral("Impossible d'enregistrer le logo dans le dossier :\r\n") + folder;
}
inline QString ReglagesNonEnregistres(const QString& settingsFile) {
  return QStringLiteral("Impossible d'enregistrer les réglages du logo dans :\r\n") + settingsFile;
}
inline QString LogoNonSupprime(const QStringList& paths) {
  return QStringLiteral("Impossible de supprimer :\r\n") + paths.join(QStringLiteral("\r\n"));
}

inline QString MemoryWarning() {
  return QStringLiteral(
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
  return QStringLiteral("Réalisé en %1 ms").arg(milliseconds);
}

// The close question; editorMode when the photo goes back to the poster editor.
inline QString QuerySave(const QString& fileTitle, bool editorMode) {
  return QStringLiteral("La photo '") + fileTitle + QStringLiteral("' a changé.\r\n\r\n") +
         (editorMode ? QStringLiteral("Voulez vous l'importer dans l'éditeur ?")
                     : QStringLiteral("Voulez vous la sauvegarder ?"));
}

}  // namespace fotavel::Messages
