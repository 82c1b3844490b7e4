// Camera photos with EXIF, IPTC, XMP and a colour profile written by exiv2, and the checks of their
// saved copies.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "surface/cDIBSection.h"

namespace fotavel::testing {

// A colour profile header of `size` bytes (at least 132, no tags) for the
// colour space `space` ("RGB ", "GRAY", "CMYK"), its body a byte pattern.
QByteArray IccProfile(const char (&space)[5], std::int32_t size = 3000);

// Writes `stored` as a JPEG at `path`, then adds with exiv2 what a camera and
// a cataloguing program leave in a photo: EXIF (`orientation`, camera model,
// dates, GPS position, a thumbnail, the stored pixel size), IPTC (caption,
// keywords, city), XMP (title, creator, tiff:Orientation = `orientation`)
// and `icc` as its colour profile.
void WriteCameraPhoto(const QString& path, const cDIBSection& stored, std::uint16_t orientation,
                      const QByteArray& icc);

// Checks that the JPEG `saved` carries the metadata of `original` updated
// for an upright width x height photo: orientation 1 (EXIF and XMP), that
// pixel size, no thumbnail; every other EXIF tag, every IPTC and XMP entry
// the same, and the same colour profile when `withIcc`, none otherwise.
// Without `withIptc` (a container that has none), the IPTC is not compared.
void ExpectCarriedMetadata(const QString& original, const QString& saved, std::int32_t width,
                           std::int32_t height, bool withIcc = true, bool withIptc = true);

// True when the JPEG holds any EXIF, IPTC, XMP or colour profile at all.
bool HasAnyMetadata(const QString& path);

}  // namespace fotavel::testing
