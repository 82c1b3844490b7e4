// Writing picture files: the all-or-nothing file replacement and the BMP writer.
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>

#include "io/FileError.h"
#include "io/PictureFiles.h"
#include "io/SafeWrite.h"

namespace fotavel::io {

namespace detail {

namespace {

// 0 when every byte went out, otherwise the errno of the failure. Regular
// files may take fewer bytes than asked (a signal, the 2 GiB cap of one call,
// the disk filling up): the loop resumes where the last call stopped.
int WriteAll(int fd, std::vector<iovec>& pieces) {
  std::size_t first = 0;
  while (first < pieces.size() && pieces[first].iov_len == 0) ++first;
  while (first < pieces.size()) {
    const int count = int(std::min<std::size_t>(pieces.size() - first, IOV_MAX));
    const ssize_t written = ::writev(fd, &pieces[first], count);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (written == 0) return EIO;
    auto left = std::size_t(written);
    while (first < pieces.size() && left >= pieces[first].iov_len) {
      left -= pieces[first].iov_len;
      ++first;
    }
    if (left > 0) {
      pieces[first].iov_base = static_cast<char*>(pieces[first].iov_base) + left;
      pieces[first].iov_len -= left;
    }
    while (first < pieces.size() && pieces[first].iov_len == 0) ++first;
  }
  return 0;
}

QString WriteFailure(int error) {
  switch (error) {
    case ENOSPC:
      return QStringLiteral("disque plein");
    case EDQUOT:
      return QStringLiteral("quota d'espace disque dépassé");
    case EFBIG:
      return QStringLiteral("fichier trop gros pour ce disque");
    case EIO:
      return QStringLiteral("erreur matérielle d'écriture sur le disque");
    default:
      return QStringLiteral("écriture du fichier impossible (erreur système %1)").arg(error);
  }
}

}  // namespace

void WriteWhole(const QString& path, std::vector<iovec> pieces) {
  const QFileInfo target(path);
  if (target.isDir()) {
    Unwritten(path, QStringLiteral("« %1 » est un dossier").arg(QDir::toNativeSeparators(path)));
  }
  const QString folder = QDir::toNativeSeparators(target.absolutePath());
  if (!QFileInfo(target.absolutePath()).isDir()) {
    Unwritten(path, QStringLiteral("le dossier « %1 » n'existe pas").arg(folder));
  }
  // Unbuffered: the bytes go straight from the surface to the file through
  // the descriptor, with nothing held back in Qt's buffer.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    Unwritten(path, QStringLiteral("impossible de créer un fichier dans le dossier « %1 » (accès "
                                   "refusé ou support en lecture seule)")
                        .arg(folder));
  }
  if (const int failure = WriteAll(file.handle(), pieces)) {
    // Dropping the unfinished save removes its temporary file.
    file.cancelWriting();
    Unwritten(path, WriteFailure(failure));
  }
  if (!file.commit()) {
    Unwritten(path, QStringLiteral("impossible de remplacer « %1 » par le nouveau fichier")
                        .arg(QDir::toNativeSeparators(path)));
  }
}

void Unwritten(const QString& path, const QString& reason) {
  throw FileError(FileErrors::kWrite, reason, path, "PictureFiles");
}

}  // namespace detail

namespace {

void Put16(std::uint8_t* p, std::uint32_t v) {
  p[0] = std::uint8_t(v);
  p[1] = std::uint8_t(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
  Put16(p, v);
  Put16(p + 2, v >> 16);
}

}  // namespace

void WriteBmp(const cDIBSection& picture, const QString& path) {
  if (picture.empty()) detail::Unwritten(path, QStringLiteral("aucune image à enregistrer"));
  const std::int32_t width = picture.width(), height = picture.height();
  const std::uint64_t stride = std::uint64_t(picture.BytesPerScanLine());
  const std::uint64_t pixelBytes = stride * std::uint64_t(height);
  constexpr std::uint32_t kHeaderBytes = 14 + 40;
  if (pixelBytes + kHeaderBytes > UINT32_MAX) {
    detail::Unwritten(
        path,
        QStringLiteral("image trop grande pour le format BMP (%1 x %2)").arg(width).arg(height));
  }
  // File header, then the 40-byte bitmap header the surface itself is defined
  // by: positive height (rows bottom-up), 1 plane, 24 bits, uncompressed.
  std::uint8_t header[kHeaderBytes] = {'B', 'M'};
  Put32(header + 2, kHeaderBytes + std::uint32_t(pixelBytes));
  Put32(header + 10, kHeaderBytes);
  Put32(header + 14, 40);
  Put32(header + 18, std::uint32_t(width));
  Put32(header + 22, std::uint32_t(height));
  Put16(header + 26, 1);
  Put16(header + 28, 24);
  Put32(header + 34, std::uint32_t(pixelBytes));

  // The surface's rows are already the BMP pixel array; only their padding
  // must not be copied (it holds whatever the surface's memory held), so a
  // padded row goes out as its pixels followed by zero bytes.
  static constexpr std::uint8_t kZeros[4] = {};
  const std::size_t rowPixels = std::size_t(width) * 3;
  const std::size_t padding = std::size_t(stride) - rowPixels;
  std::vector<iovec> pieces{{header, kHeaderBytes}};
  if (padding == 0) {
    pieces.push_back({const_cast<std::uint8_t*>(picture.DIBSectionBitsPtr()), pixelBytes});
  } else {
    pieces.reserve(1 + 2 * std::size_t(height));
    for (std::int32_t y = 0; y < height; ++y) {
      pieces.push_back({const_cast<std::uint8_t*>(picture.row(y)), rowPixels});
      pieces.push_back({const_cast<std::uint8_t*>(kZeros), padding});
    }
  }
  detail::WriteWhole(path, std::move(pieces));
}

}  // namespace fotavel::io
