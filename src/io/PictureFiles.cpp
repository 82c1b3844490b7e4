// Reading a picture file: load the bytes, recognise the format from them, hand them to its decoder.
#include "io/PictureFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <new>

#include "io/FileError.h"
#include "io/LargeBuffer.h"
#include "io/LosslessJpeg.h"
#include "io/PictureDecoders.h"
#include "io/RegularFile.h"
#include "io/SystemMemory.h"
#include "surface/Preview.h"

namespace fotavel::io {

namespace {

constexpr const char* kModule = "PictureFiles";

std::atomic<std::uint64_t> g_budgetOverride{0};

enum class Format { kUnknown, kJpeg, kPng, kGif, kBmp, kWmf, kTiff, kWebp, kHeif, kAvif };

std::uint16_t Le16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }

// An ISO media file opens with its 'ftyp' box: size, "ftyp", the major brand,
// a minor version, then compatible brands to the end of the box. HEIF and
// AVIF are told from the other members of the family (films, sound) by a
// brand of theirs among them.
Format RecogniseIsoMedia(const std::uint8_t* p, std::size_t size) {
  if (size < 16 || std::memcmp(p + 4, "ftyp", 4) != 0) return Format::kUnknown;
  const std::uint32_t boxSize =
      std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
  if (boxSize != 0 && boxSize < 16) return Format::kUnknown;
  const std::size_t end = boxSize == 0 ? size : std::min<std::size_t>(boxSize, size);
  bool heif = false;
  for (std::size_t at = 8; at + 4 <= end; at += at == 8 ? 8 : 4) {
    const char* brand = reinterpret_cast<const char*>(p + at);
    for (const char* avif : {"avif", "avis"}) {
      if (std::memcmp(brand, avif, 4) == 0) return Format::kAvif;
    }
    for (const char* other :
         {"heic", "heix", "hevc", "heim", "heis", "hevm", "hevs", "mif1", "msf1"}) {
      heif = heif || std::memcmp(brand, other, 4) == 0;
    }
  }
  return heif ? Format::kHeif : Format::kUnknown;
}

// Magic numbers only: a file's name says nothing about what it holds.
Format Recognise(const std::uint8_t* p, std::size_t size) {
  static constexpr std::uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  static constexpr std::uint8_t kPlaceableWmf[4] = {0xD7, 0xCD, 0xC6, 0x9A};
  if (size >= 3 && p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF) return Format::kJpeg;
  if (size >= 8 && std::memcmp(p, kPng, 8) == 0) return Format::kPng;
  if (size >= 6 && (std::memcmp(p, "GIF87a", 6) == 0 || std::memcmp(p, "GIF89a", 6) == 0)) {
    return Format::kGif;
  }
  if (size >= 2 && p[0] == 'B' && p[1] == 'M') return Format::kBmp;
  if (size >= 4 && (std::memcmp(p, "II*\0", 4) == 0 || std::memcmp(p, "MM\0*", 4) == 0)) {
    return Format::kTiff;
  }
  if (size >= 12 && std::memcmp(p, "RIFF", 4) == 0 && std::memcmp(p + 8, "WEBP", 4) == 0) {
    return Format::kWebp;
  }
  if (size >= 4 && std::memcmp(p, kPlaceableWmf, 4) == 0) return Format::kWmf;
  if (const Format iso = RecogniseIsoMedia(p, size); iso != Format::kUnknown) return iso;
  // A plain metafile has no magic number; its 18-byte header is recognisable
  // enough: type 1 (memory) or 2 (disk), a header of 9 words, version 1 or 3.
  if (size >= 18) {
    const std::uint16_t type = Le16(p), words = Le16(p + 2), version = Le16(p + 4);
    if ((type == 1 || type == 2) && words == 9 && (version == 0x0100 || version == 0x0300)) {
      return Format::kWmf;
    }
  }
  return Format::kUnknown;
}

// From this size up a file is read into a LargeBuffer: a photo's JPEG is
// several megabytes, and the faults on fresh heap pages cost more than the read.
constexpr qint64 kLargeFile = qint64{1} << 20;

[[noreturn]] void RefuseFile(const QString& path, const QString& reason) {
  throw FileError(FileErrors::kRead, reason, path, kModule);
}

// Opens the picture file at `path` into `file`, or refuses it: only a regular
// file is read, and the open never waits (RegularFile.h).
void OpenPictureFile(const QString& path, QFile& file) {
  switch (OpenRegularFile(path, file)) {
    case ReadOpening::kOpened:
      return;
    case ReadOpening::kMissing:
      RefuseFile(path, QCoreApplication::translate("PictureFiles", "fichier introuvable"));
    case ReadOpening::kFolder:
      RefuseFile(path, QCoreApplication::translate("PictureFiles",
                                                   "ce chemin désigne un dossier, pas un fichier"));
    case ReadOpening::kNotRegular:
      RefuseFile(path, QCoreApplication::translate(
                           "PictureFiles", "ce chemin ne désigne pas un fichier ordinaire"));
    case ReadOpening::kDenied:
      break;
  }
  RefuseFile(path, QCoreApplication::translate("PictureFiles",
                                               "lecture du fichier impossible (accès refusé)"));
}

// The whole of the open `file` (read from `path`) in memory: in `bytes`,
// which for a large file is laid over `block` (and must not outlive it). Its
// size is checked against the budget first so that a huge file is refused
// rather than read.
void LoadFile(QFile& file, const QString& path, detail::LargeBuffer& block, QByteArray& bytes) {
  const auto refuse = [&path](const QString& reason) { RefuseFile(path, reason); };
  const qint64 size = file.size();
  if (size <= 0) refuse(QCoreApplication::translate("PictureFiles", "fichier vide"));
  if (!detail::FitsBudget(std::uint64_t(size))) {
    refuse(QCoreApplication::translate("PictureFiles",
                                       "fichier trop volumineux pour la mémoire disponible"));
  }
  char* data = nullptr;
  if (size >= kLargeFile) {
    // Where surface memory has no room (a tight budget), the heap still may.
    if (block.Reserve(std::size_t(size))) data = reinterpret_cast<char*>(block.data());
  }
  if (data == nullptr) {
    bytes.resize(size);
    data = bytes.data();
  }
  qint64 got = 0;
  while (got < size) {
    const qint64 n = file.read(data + got, size - got);
    if (n < 0) refuse(QCoreApplication::translate("PictureFiles", "erreur de lecture du fichier"));
    if (n == 0) break;  // the file shrank while we read it: decode what is there
    got += n;
  }
  if (got == 0) refuse(QCoreApplication::translate("PictureFiles", "fichier vide"));
  if (block) {
    bytes = QByteArray::fromRawData(data, got);
  } else {
    bytes.truncate(got);
  }
}

void LoadFile(const QString& path, detail::LargeBuffer& block, QByteArray& bytes) {
  QFile file;
  OpenPictureFile(path, file);
  LoadFile(file, path, block, bytes);
}

// Qt's name for the formats its readers decode; null for the others.
const char* QtFormat(Format format) {
  switch (format) {
    case Format::kJpeg:
      return "jpeg";
    case Format::kPng:
      return "png";
    case Format::kGif:
      return "gif";
    case Format::kBmp:
      return "bmp";
    case Format::kTiff:
      return "tiff";
    case Format::kWebp:
      return "webp";
    default:
      return nullptr;
  }
}

// `jpegOrientation`, when given, is set to the EXIF orientation a JPEG was
// stood upright for, and left alone for the other formats.
cDIBSection Decode(const detail::FileBytes& file, PhotoMetadata* metadata = nullptr,
                   int* jpegOrientation = nullptr) {
  cDIBSection out;
  switch (const Format format = Recognise(file.data, file.size)) {
    case Format::kJpeg:
      detail::DecodeJpeg(file, out, nullptr, metadata, jpegOrientation);
      break;
    case Format::kPng:
    case Format::kGif:
    case Format::kBmp:
      detail::DecodeWithQt(file, QtFormat(format), false, out);
      break;
    case Format::kTiff:
    case Format::kWebp:
      detail::DecodeWithQt(file, QtFormat(format), true, out);
      break;
    case Format::kWmf:
      detail::DecodeWmf(file, out);
      break;
    case Format::kHeif:
      detail::DecodeHeif(file, "HEIF", out, metadata);
      break;
    case Format::kAvif:
      detail::DecodeHeif(file, "AVIF", out, metadata);
      break;
    case Format::kUnknown:
      detail::Refuse(file, QCoreApplication::translate("PictureFiles", "format d'image inconnu"));
  }
  return out;
}

detail::FileBytes BytesOf(const QByteArray& bytes, const QString& path) {
  return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()),
          &bytes, path};
}

// Qt's containers throw when memory runs out past our own checks; that too
// is a picture that could not be read.
[[noreturn]] void OutOfMemory(const QString& path) {
  throw FileError(
      FileErrors::kRead,
      QCoreApplication::translate("PictureFiles", "mémoire insuffisante pour ouvrir l'image"), path,
      kModule);
}

}  // namespace

namespace {
// A file's bytes as LoadFile left them, kept together so that a JPEG's can
// outlive the read without being copied: the QByteArray may lie over the block.
struct LoadedFile {
  detail::LargeBuffer block;
  QByteArray bytes;
};
}  // namespace

cDIBSection ReadPicture(const QString& path, PhotoMetadata* metadata, JpegSource* source) {
  try {
    auto loaded = std::make_shared<LoadedFile>();
    LoadFile(path, loaded->block, loaded->bytes);
    PhotoMetadata read;
    int orientation = 0;
    cDIBSection picture =
        Decode(BytesOf(loaded->bytes, path), metadata != nullptr ? &read : nullptr, &orientation);
    if (metadata != nullptr) *metadata = std::move(read);
    if (source != nullptr) {
      // A JPEG's bytes stay, as read, for as long as the photo may be saved
      // by moving its blocks: they count against the surface budget while
      // they live, as they did during the read. Nothing stays of the others.
      const QByteArray* bytes = &loaded->bytes;
      *source = orientation == 0 ? JpegSource()
                                 : JpegSource{std::shared_ptr<const QByteArray>(loaded, bytes),
                                              UprightFor(orientation)};
    }
    return picture;
  } catch (const std::bad_alloc&) {
    OutOfMemory(path);
  }
}

QImage ReadImage(const QString& path, std::uint64_t bytesPerPixelBeside) {
  detail::LargeBuffer block;
  QByteArray bytes;
  LoadFile(path, block, bytes);
  const detail::FileBytes file = BytesOf(bytes, path);
  const char* format = QtFormat(Recognise(file.data, file.size));
  if (format == nullptr)
    detail::Refuse(file, QCoreApplication::translate("PictureFiles", "format d'image inconnu"));
  // Qt's image holds pixels of its own: the file's bytes may go.
  return detail::DecodeImageWithQt(file, format, bytesPerPixelBeside);
}

namespace {

// An uncompressed 24-bit bitmap already holds its rows as a surface does:
// the preview reads the few rows it needs straight from the mapped file
// instead of decoding megabytes it would throw away. False when the file is
// anything else (the general road then reads it).
bool PreviewBitmapInPlace(QFile& file, std::int32_t maxWidth, std::int32_t maxHeight,
                          cDIBSection& out) {
  if (file.size() <= 0) return false;
  uchar* data = file.map(0, file.size());
  if (data == nullptr) return false;
  // The general road reads the same file from its start; a mapping leaves the
  // position alone, and is gone before that road's memory is asked for.
  const struct Unmap {
    QFile& file;
    uchar* data;
    ~Unmap() { file.unmap(data); }
  } unmap{file, data};
  detail::BmpHeader bmp;
  if (!detail::ReadBmpHeader(data, std::size_t(file.size()), bmp) || bmp.headerSize < 40 ||
      bmp.planes != 1 || bmp.bits != 24 || bmp.compression != 0 || bmp.topDown ||
      !detail::PlausibleSize(bmp.width, bmp.height)) {
    return false;
  }
  const std::uint32_t offset = bmp.offset;
  const auto width = std::int32_t(bmp.width), height = std::int32_t(bmp.height);
  const std::int32_t stride = cDIBSection::StrideFor(width);
  // Pixels said to start inside the headers, or to run past the end of the
  // file: a damaged file, which the general road refuses saying so.
  if (std::uint64_t(offset) < 14u + std::uint64_t(bmp.headerSize) ||
      std::uint64_t(offset) + std::uint64_t(stride) * std::uint64_t(height) >
          std::uint64_t(file.size())) {
    return false;
  }
  const PreviewSize size = FitPreview(width, height, maxWidth, maxHeight);
  cDIBSection preview;
  if (!preview.Create(std::max(size.width, 1), std::max(size.height, 1))) return false;
  SamplePreview(ConstByteView(data + offset, stride, width, height), preview);
  out.swap(preview);
  return true;
}

}  // namespace

cDIBSection ReadPreview(const QString& path, std::int32_t maxWidth, std::int32_t maxHeight) {
  try {
    QFile opened;
    OpenPictureFile(path, opened);
    if (cDIBSection preview; PreviewBitmapInPlace(opened, maxWidth, maxHeight, preview)) {
      return preview;
    }
    detail::LargeBuffer block;
    QByteArray bytes;
    LoadFile(opened, path, block, bytes);
    opened.close();
    const detail::FileBytes file = BytesOf(bytes, path);
    cDIBSection picture;
    detail::ReducedDecode reduce{maxWidth, maxHeight};
    if (Recognise(file.data, file.size) == Format::kJpeg) {
      detail::DecodeJpeg(file, picture, &reduce);
    } else {
      picture = Decode(file);
    }
    // The size follows the whole photo, which a reduced decode no longer shows.
    if (reduce.fullWidth == 0) {
      reduce.fullWidth = picture.width();
      reduce.fullHeight = picture.height();
    }
    const PreviewSize size = FitPreview(reduce.fullWidth, reduce.fullHeight, maxWidth, maxHeight);
    // A thin strip rounds to nothing on its short side; one pixel still shows it.
    cDIBSection preview;
    if (!preview.Create(std::max(size.width, 1), std::max(size.height, 1))) {
      detail::Refuse(file, detail::TooBig(size.width, size.height));
    }
    SamplePreview(picture.view(), preview);
    return preview;
  } catch (const std::bad_alloc&) {
    OutOfMemory(path);
  }
}

std::uint64_t PictureMemoryBudget() {
  if (const std::uint64_t fixed = g_budgetOverride.load()) return fixed;
  const std::uint64_t available = AvailableMemoryBytes();
  // Half: the document makes a scratch surface of the same size and undo
  // copies as soon as the photo is open; a photo that leaves nothing for them
  // is better refused with a clear message than opened and then starved.
  return available != 0 ? available / 2 : std::uint64_t{2} << 30;
}

std::uint64_t SetPictureMemoryBudget(std::uint64_t bytes) {
  return g_budgetOverride.exchange(bytes);
}

namespace detail {

bool PlausibleSize(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= INT32_MAX && height <= INT32_MAX &&
         cDIBSection::StrideFor(std::int32_t(width)) != 0;
}

std::uint64_t SurfaceBytes(std::int64_t width, std::int64_t height) {
  return std::uint64_t((width * 3 + 3) & ~std::int64_t{3}) * std::uint64_t(height);
}

bool FitsBudget(std::uint64_t bytes) { return bytes <= PictureMemoryBudget(); }

void Refuse(const FileBytes& file, const QString& reason) {
  throw FileError(FileErrors::kRead, reason, file.path, kModule);
}

QString DamagedFile(const char* formatName) {
  return QCoreApplication::translate("PictureFiles", "fichier %1 tronqué ou endommagé")
      .arg(QLatin1String(formatName));
}

QString TooBig(std::int64_t width, std::int64_t height) {
  return QCoreApplication::translate("PictureFiles",
                                     "image trop grande pour la mémoire disponible (%1 x %2)")
      .arg(width)
      .arg(height);
}

QString BadDimensions(std::int64_t width, std::int64_t height) {
  return QCoreApplication::translate("PictureFiles", "dimensions d'image invalides (%1 x %2)")
      .arg(width)
      .arg(height);
}

}  // namespace detail
}  // namespace fotavel::io
