// The logo overlay: settings lookup and drawing of the logo onto a photo.
#pragma once

#include <QString>

#include "surface/cDIBSection.h"

namespace fotavel {

class AppServices;

// Placement of the logo as the settings file gives it.
struct LogoSettings {
  QString extension;       // "Ext", settled against the files present
  int sizePercent = 10;    // "Tll"
  float opacity = 1.0f;    // 1 − "Trs" / 100, rounded to one decimal
  float angleDegrees = 0;  // "Agl"
  int positionX = 0;       // "DstX", percent of the photo's width
  int positionY = 0;       // "DstY", percent of the photo's height
};

namespace ModImage {

// The logo file present in the param folder (logo.png, .bmp, .jpg or .gif,
// names compared without regard to case), or empty.
QString AnyLogoFile(const AppServices& services);

// Reads the six settings (the defaults above when the settings file is
// absent) and settles the extension against the logo files present: with no
// stored extension, "png" when logo.png exists, else none; with one, the first
// of "jpg", "bmp", "gif" whose logo file exists replaces it, else it stays.
// Throws DocumentError (kLogo, saying which setting) when the file exists but
// a numeric value in it is missing or not a number (or an integer one is out
// of 16-bit range): the logo insertion then ends before any change.
LogoSettings LireReglagesLogo(const AppServices& services);

// The logo file the settled settings name (param folder + "/logo." + ext,
// found without regard to case), or empty when it does not exist.
QString LogoFileFor(const AppServices& services, const LogoSettings& settings);

// Draws the logo at `logoPath` (PNG, JPEG, BMP or GIF, recognised by content)
// onto `photo` in place: sized from `sizePercent` of the photo's height
// (upright or square photo) or width (wide photo) keeping the logo's
// proportions, placed at the position percentages (below 25 the logo's
// left/top edge there, 25 to below 75 centred there, from 75 its right/bottom
// edge there), turned clockwise by `angleDegrees` about its top-left corner,
// and blended with `opacity` except on its grey pixels (red = green = blue),
// which keep their own alpha. Only the stamped pixels change; row padding is
// never written. A size that rounds to nothing draws nothing. When the photo
// is empty or the logo cannot be loaded (no regular file, damaged, cut short)
// or placed, throws io::FileError (DocumentErrors::kLogo, "Le logo n'a pas pu
// être inséré : le fichier … n'est pas une image lisible.", the logo's path);
// when the logo and its working copies would not fit the picture memory
// budget (io::ReadImage), or memory runs out for them, throws std::bad_alloc
// (the document's "Mémoire insuffisante" failure). The photo is then unchanged.
void DessineLogo(const QString& logoPath, cDIBSection& photo, const LogoSettings& settings);

}  // namespace ModImage
}  // namespace fotavel
