// JPEG files made by the tests with TurboJPEG: progressive and CMYK photos, cut or given extra
// scans.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

#include "surface/cDIBSection.h"

namespace fotavel::testing {

// The picture encoded by TurboJPEG, 4:2:0, baseline or progressive (the
// encoder's own scan script: 10 scans for a colour photo).
QByteArray EncodeJpeg(const cDIBSection& picture, bool progressive, int quality = 90);

// The picture encoded by TurboJPEG, baseline, with `subsampling` (a TJSAMP_
// value): nothing but its JFIF segment before the picture.
QByteArray EncodeJpegSampled(const cDIBSection& picture, int subsampling, int quality = 90);

// TurboJPEG's own lossless transform of `jpeg` (a TJXOP_ operation, TJXOPT_
// options), the source's markers left behind (TJXOPT_COPYNONE): the yardstick
// of the program's moved blocks. Empty when TurboJPEG refuses.
QByteArray TurboTransformed(const QByteArray& jpeg, int operation, int options);

// A width x height CMYK photo (written as YCCK, as TurboJPEG writes CMYK) of
// noise-like channels from `seed`.
QByteArray EncodeCmykJpeg(std::int32_t width, std::int32_t height, std::uint32_t seed,
                          bool progressive = false);

// Where each scan of `jpeg` lies: from its start-of-scan marker to the end of
// its coded data (TurboJPEG writes no restart markers).
struct ScanBytes {
  qsizetype start = 0, end = 0;
};
std::vector<ScanBytes> Scans(const QByteArray& jpeg);

// `jpeg` cut after its first `kept` scans and closed with an end marker, as
// a file whose end was lost and "repaired" looks.
QByteArray KeepScans(const QByteArray& jpeg, int kept);

// `jpeg`, a whole progressive photo, with `count` scans added before its end
// marker, each sending the last coefficient of its first component once more
// as zero: in the order the decoder accepts, each costing it a pass over the
// component.
QByteArray WithEmptyScans(const QByteArray& jpeg, int count);

}  // namespace fotavel::testing
