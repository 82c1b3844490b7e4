// The photo surface and the system clipboard: what other programs paste from us, and back.
#pragma once

#include <QString>

#include "surface/cDIBSection.h"

class QWidget;

namespace fotavel {

class UiServices;

// Puts an upright copy of `surface` on the system clipboard as a picture
// (every image type the desktop asks for: PNG, BMP …). True only when the
// clipboard then holds it. bAsDIB is refused with a message and leaves the
// clipboard alone, as callers have always been told.
bool CopyToClipboard(const cDIBSection& surface, UiServices& ui, QWidget* owner,
                     bool bAsDIB = false);

// True where the clipboard's content dies with the program that owns it: on
// X11, unless a clipboard manager copies it.
bool ClipboardDiesWithProgram();
// Makes the clipboard's picture outlive this program: `surface` is written
// to `tempFile` and handed to fotavel-presse-papiers, started from
// `programFolder`, which serves it until another program takes the
// clipboard. True once it has taken over; false when the keeper could not be
// started or did not take the clipboard within a few seconds (the picture
// then lasts as long as this program).
bool KeepClipboardAfterExit(const cDIBSection& surface, const QString& programFolder,
                            const QString& tempFile);

// The clipboard's picture as a 24-bit surface. When it holds none (text,
// nothing) or it cannot be converted, throws io::FileError (FileErrors::kRead,
// no path) with a French reason.
[[nodiscard]] cDIBSection PictureFromClipboard();

}  // namespace fotavel
