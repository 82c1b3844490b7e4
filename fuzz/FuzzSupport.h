// What the fuzz targets share: a Qt application, a private temporary folder, input files.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace fotavel::fuzz {

// Starts Qt's offscreen GUI application once (the image plugins and the
// painter want one) and returns a temporary folder of this process's own,
// removed when it ends. Every file a target writes goes there.
QString Start();

// Replaces the file `path` (as QFile::encodeName gives it) with the bytes.
// The readers under test take paths, so each input goes through a file.
void WriteFile(const QByteArray& path, const std::uint8_t* data, std::size_t size);

}  // namespace fotavel::fuzz
