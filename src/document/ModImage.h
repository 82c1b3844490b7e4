// The logo overlay: settings lookup and drawing of the logo onto a photo.
#pragma once

#include <QString>
#include <optional>

#include "surface/cDIBSection.h"

namespace fotavel {

class AppServices;

// Placement of the logo as the settings file gives it.
struct LogoSettings {
  QString extension;        // "Ext", settled against the files present
  int sizePercent = 10;     // "Tll"
  float opacity = 1.0f;     // 1 − "Trs" / 100, rounded to one decimal
  float angleDegrees = 0;   // "Agl"
  int positionX = 0;        // "DstX", percent of the photo's width
  int positionY = 0;        // "DstY", percent of the photo's height
};

namespace ModImage {

// The logo file present in the param folder (logo.png, .bmp, .jpg or .gif,
// names compared without regard to case), or empty.
QString AnyLogoFile(const AppServices& services);

// Reads the six settings (defaults when the file is absent) and settles the
// extension against the logo files present.
LogoSettings LireReglagesLogo(const AppServices& services);

// The logo file the settled settings name (param folder + "/logo." + ext,
// found without regard to case), or empty when it does not exist.
QString LogoFileFor(const AppServices& services, const LogoSettings& settings);

// Draws the logo at `logoPath` onto `photo` with the size, anchor, rotation
// and grey-skipping opacity rules. False when the logo cannot be loaded or
// drawn; the photo is then unchanged.
bool DessineLogo(const QString& logoPath, cDIBSection& photo, const LogoSettings& settings);

}  // namespace ModImage
}  // namespace fotavel
