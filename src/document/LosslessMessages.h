// The French texts of saving a JPEG by moving its blocks, shared by the window and the batch tool.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <cstdint>

namespace fotavel::Messages {

// Why a photo cannot be saved by moving its blocks: lower-case reasons, as
// the file layer's, after the save failure's head.
inline QString PasOuverteDUnJpeg() {
  return QCoreApplication::translate(
      "Messages",
      "la photo n'a pas été ouverte d'un fichier JPEG : elle ne peut pas être enregistrée sans "
      "perte");
}
inline QString AutresChangements() {
  return QCoreApplication::translate(
      "Messages",
      "la photo a subi d'autres changements que des quarts de tour : elle ne peut plus être "
      "enregistrée sans perte");
}

// The status text once the blocks were moved.
inline QString EnregistreeSansPerte(const QString& name) {
  return QCoreApplication::translate("Messages", "Photo enregistrée sans perte de qualité : %1")
      .arg(name);
}

namespace detail {
inline QString Pixels(std::int32_t count) {
  return count == 1 ? QCoreApplication::translate("Messages", "1 pixel")
                    : QCoreApplication::translate("Messages", "%1 pixels").arg(count);
}
}  // namespace detail

// The question before a save by blocks that would cut edges: `cutLeft`
// columns on the left and `cutTop` rows at the top of the photo as it lies,
// from width x height to keptWidth x keptHeight.
inline QString QuestionBordsCoupes(std::int32_t cutLeft, std::int32_t cutTop, std::int32_t width,
                                   std::int32_t height, std::int32_t keptWidth,
                                   std::int32_t keptHeight) {
  QString strips;
  if (cutLeft > 0 && cutTop > 0) {
    strips = QCoreApplication::translate("Messages",
                                         "une bande de %1 à gauche et une bande de %2 en haut")
                 .arg(detail::Pixels(cutLeft), detail::Pixels(cutTop));
  } else if (cutLeft > 0) {
    strips = QCoreApplication::translate("Messages", "une bande de %1 à gauche")
                 .arg(detail::Pixels(cutLeft));
  } else {
    strips = QCoreApplication::translate("Messages", "une bande de %1 en haut")
                 .arg(detail::Pixels(cutTop));
  }
  return QCoreApplication::translate(
             "Messages",
             "Cette photo peut être enregistrée sans perte de qualité, mais ses bords ne "
             "tombent pas sur des blocs JPEG entiers : il faudrait couper %1. La photo passerait "
             "de %2 x %3 à %4 x %5 pixels.\r\n\r\n"
             "Oui : enregistrer sans perte, en coupant ces bords.\r\n"
             "Non : enregistrer la photo entière, en l'encodant de nouveau (avec perte).\r\n"
             "Annuler : ne rien enregistrer.")
      .arg(strips)
      .arg(width)
      .arg(height)
      .arg(keptWidth)
      .arg(keptHeight);
}

}  // namespace fotavel::Messages
