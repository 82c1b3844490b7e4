// Picture files in and out: any supported picture into a 24-bit surface, BMP and JPEG out.
#pragma once

#include <QString>

#include "surface/cDIBSection.h"

namespace fotavel::io {

// Reads the picture file at `path` into `out` (re-created at the picture's
// pixel size, 24-bit). The file's content picks the decoder, never its name:
// JPEG (decoded straight into the surface, turned upright by its EXIF
// orientation), BMP, GIF and PNG, WMF rasterised at its natural size.
// Transparent pixels are laid on white. On failure returns false, leaves
// `out` unchanged and puts a French description of what was wrong in `error`.
bool ReadPicture(const QString& path, cDIBSection& out, QString& error);

// Writes a 24-bit uncompressed BMP of the surface. The file is replaced only
// once the new one is complete: on failure the old file is untouched, nothing
// is left behind, the result is false and `error` says why (in French).
bool WriteBmp(const cDIBSection& picture, const QString& path, QString& error);

// Writes a JPEG of the surface at quality 45 … 100 (passed to the encoder
// unchanged), with the same all-or-nothing replacement as WriteBmp.
bool WriteJpeg(const cDIBSection& picture, const QString& path, int quality, QString& error);

}  // namespace fotavel::io
