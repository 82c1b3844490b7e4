// A photo's metadata: read with exiv2 when a JPEG opens (or from the blocks another container
// holds), written again as the segments of a saved JPEG.
#include "io/PhotoMetadata.h"

#include <cstring>
#include <exiv2/exiv2.hpp>
#include <mutex>
#include <string_view>

#include "io/PictureDecoders.h"

namespace fotavel::io::detail {

struct MetadataBlocks {
  Exiv2::ExifData exif;
  Exiv2::ByteOrder byteOrder = Exiv2::littleEndian;
  Exiv2::IptcData iptc;
  Exiv2::XmpData xmp;
  std::string icc;
};

namespace {

// Every use of the library goes through this. It reports every oddity it
// meets on stderr; a camera's quirks are not the user's concern, and a block
// it cannot read is simply not carried. It also keeps tables of its own (the
// XMP toolkit starts itself, unguarded, on the first packet it meets, and
// registers the namespaces packets bring) and does not promise that two
// files may be read at once, while the batch tool opens several photos at
// once: one call at a time, which costs well under a millisecond beside the
// decoding.
std::unique_lock<std::mutex> UseLibrary() {
  static std::once_flag quiet;
  std::call_once(quiet, [] {
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    Exiv2::LogMsg::setHandler(nullptr);
  });
  static std::mutex oneAtATime;
  return std::unique_lock(oneAtATime);
}

int OrientationOf(const Exiv2::ExifData& exif) {
  const auto tag = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
  if (tag == exif.end() || tag->count() == 0) return 1;
  const long value = tag->toLong();
  return value >= 1 && value <= 8 ? int(value) : 1;
}

std::uint32_t Be32(const Exiv2::byte* p) {
  return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// Only a profile of RGB pixels whose header agrees with its length is kept.
// The photo is held as 24-bit colour whatever its file held: the profile of a
// CMYK or grey JPEG describes other pixels than the ones we write, and a
// viewer applying it to ours would show wrong colours.
bool IsRgbProfile(const Exiv2::byte* icc, std::size_t size) {
  constexpr std::size_t kHeader = 128;
  return icc != nullptr && size >= kHeader && Be32(icc) == size &&
         std::memcmp(icc + 16, "RGB ", 4) == 0 && std::memcmp(icc + 36, "acsp", 4) == 0;
}

// A segment's length field counts itself: at most 65533 bytes follow it.
constexpr std::size_t kSegmentRoom = 65533;

// Marker, length, signature and data; nothing when they do not fit one segment.
std::string Segment(std::uint8_t marker, std::string_view signature, const void* data,
                    std::size_t size) {
  if (signature.size() + size > kSegmentRoom) return {};
  const std::size_t length = 2 + signature.size() + size;
  std::string out{'\xFF', char(marker), char(length >> 8), char(length & 0xFF)};
  out.append(signature);
  out.append(static_cast<const char*>(data), size);
  return out;
}

// The EXIF as a saved copy carries it, from its TIFF header on: the pixels
// were laid upright when the photo was read, they have the surface's size, and
// the thumbnail shows the photo as it was taken, not as it is saved.
Exiv2::ExifData UpdatedExif(const MetadataBlocks& blocks, std::int32_t width, std::int32_t height) {
  Exiv2::ExifData exif = blocks.exif;
  Exiv2::ExifThumb(exif).erase();
  exif["Exif.Image.Orientation"] = std::uint16_t{1};
  exif["Exif.Photo.PixelXDimension"] = std::uint32_t(width);
  exif["Exif.Photo.PixelYDimension"] = std::uint32_t(height);
  return exif;
}

Exiv2::Blob ExifTiff(const MetadataBlocks& blocks, std::int32_t width, std::int32_t height) {
  Exiv2::Blob tiff;
  if (blocks.exif.empty()) return tiff;
  // The encoder drops what it can to fit one JPEG segment, and says nothing
  // when it still does not: then the EXIF stays behind rather than the photo.
  Exiv2::ExifParser::encode(tiff, blocks.byteOrder, UpdatedExif(blocks, width, height));
  return tiff;
}

std::string ExifSegment(const MetadataBlocks& blocks, std::int32_t width, std::int32_t height) {
  const Exiv2::Blob tiff = ExifTiff(blocks, width, height);
  if (tiff.empty()) return {};
  return Segment(0xE1, std::string_view("Exif\0\0", 6), tiff.data(), tiff.size());
}

Exiv2::XmpData UpdatedXmp(const MetadataBlocks& blocks, std::int32_t width, std::int32_t height) {
  Exiv2::XmpData xmp = blocks.xmp;
  const auto update = [&](const char* key, std::int64_t value) {
    const auto it = xmp.findKey(Exiv2::XmpKey(key));
    if (it != xmp.end()) it->setValue(std::to_string(value));
  };
  update("Xmp.tiff.Orientation", 1);
  update("Xmp.tiff.ImageWidth", width);
  update("Xmp.tiff.ImageLength", height);
  update("Xmp.exif.PixelXDimension", width);
  update("Xmp.exif.PixelYDimension", height);
  // XMP's own thumbnails are the old pixels as well.
  for (auto it = xmp.begin(); it != xmp.end();) {
    it = it->key().rfind("Xmp.xmp.Thumbnails", 0) == 0 ? xmp.erase(it) : std::next(it);
  }
  return xmp;
}

std::string XmpPacket(const MetadataBlocks& blocks, std::int32_t width, std::int32_t height) {
  if (blocks.xmp.empty()) return {};
  const Exiv2::XmpData xmp = UpdatedXmp(blocks, width, height);
  std::string packet;
  if (xmp.empty() || Exiv2::XmpParser::encode(packet, xmp) != 0) return {};
  return packet;
}

std::string XmpSegment(const MetadataBlocks& blocks, std::int32_t width, std::int32_t height) {
  const std::string packet = XmpPacket(blocks, width, height);
  if (packet.empty()) return {};
  return Segment(0xE1, std::string_view("http://ns.adobe.com/xap/1.0/\0", 29), packet.data(),
                 packet.size());
}

std::string IptcSegment(const MetadataBlocks& blocks) {
  if (blocks.iptc.empty()) return {};
  const Exiv2::DataBuf irb = Exiv2::Photoshop::setIptcIrb(nullptr, 0, blocks.iptc);
  if (irb.size_ <= 0) return {};
  return Segment(0xED, std::string_view("Photoshop 3.0\0", 14), irb.pData_, std::size_t(irb.size_));
}

// A profile larger than one segment is cut into numbered chunks (255 at most).
std::string IccSegments(const MetadataBlocks& blocks) {
  constexpr std::size_t kChunk = kSegmentRoom - 14;
  const std::size_t count = (blocks.icc.size() + kChunk - 1) / kChunk;
  if (count == 0 || count > 255) return {};
  std::string out;
  for (std::size_t i = 0; i < count; ++i) {
    const std::string_view chunk = std::string_view(blocks.icc).substr(i * kChunk, kChunk);
    std::string signature("ICC_PROFILE\0", 12);
    signature += char(i + 1);
    signature += char(count);
    out += Segment(0xE2, signature, chunk.data(), chunk.size());
  }
  return out;
}

// One block the library cannot write is left out; the others still go.
template <class Build>
void AppendGuarded(std::string& out, Build&& build) {
  try {
    out += build();
  } catch (...) {
  }
}

}  // namespace

int ReadFileMetadata(const FileBytes& file, PhotoMetadata* keep) {
  const auto library = UseLibrary();
  std::unique_ptr<Exiv2::Image> image;
  try {
    image.reset(Exiv2::ImageFactory::open(file.data, long(file.size)).release());
    if (!image) return 1;
    image->readMetadata();
  } catch (...) {
    return 1;  // a photo with broken metadata still opens, as stored and with none
  }
  const int orientation = OrientationOf(image->exifData());
  if (keep == nullptr) return orientation;
  try {
    auto blocks = std::make_shared<MetadataBlocks>();
    blocks->exif = image->exifData();
    if (image->byteOrder() != Exiv2::invalidByteOrder) blocks->byteOrder = image->byteOrder();
    blocks->iptc = image->iptcData();
    blocks->xmp = image->xmpData();
    if (image->iccProfileDefined() &&
        IsRgbProfile(image->iccProfile()->pData_, std::size_t(image->iccProfile()->size_))) {
      const Exiv2::DataBuf& icc = *image->iccProfile();
      blocks->icc.assign(reinterpret_cast<const char*>(icc.pData_), std::size_t(icc.size_));
    }
    if (!blocks->exif.empty() || !blocks->iptc.empty() || !blocks->xmp.empty() ||
        !blocks->icc.empty()) {
      *keep = PhotoMetadata(std::move(blocks));
    }
  } catch (...) {
    keep->clear();
  }
  return orientation;
}

PhotoMetadata MetadataFromBlocks(std::string_view exifTiff, std::string_view xmpPacket,
                                 std::string_view icc) {
  const auto library = UseLibrary();
  auto blocks = std::make_shared<MetadataBlocks>();
  try {
    if (!exifTiff.empty()) {
      const Exiv2::ByteOrder order = Exiv2::ExifParser::decode(
          blocks->exif, reinterpret_cast<const Exiv2::byte*>(exifTiff.data()),
          std::uint32_t(exifTiff.size()));
      if (order != Exiv2::invalidByteOrder) blocks->byteOrder = order;
    }
  } catch (...) {
    blocks->exif.clear();
  }
  try {
    if (!xmpPacket.empty() && Exiv2::XmpParser::decode(blocks->xmp, std::string(xmpPacket)) != 0) {
      blocks->xmp.clear();
    }
  } catch (...) {
    blocks->xmp.clear();
  }
  if (IsRgbProfile(reinterpret_cast<const Exiv2::byte*>(icc.data()), icc.size())) {
    blocks->icc.assign(icc);
  }
  if (blocks->exif.empty() && blocks->xmp.empty() && blocks->icc.empty()) return {};
  return PhotoMetadata(std::move(blocks));
}

std::string MetadataSegments(const PhotoMetadata& metadata, std::int32_t width,
                             std::int32_t height) {
  const MetadataBlocks* blocks = metadata.blocks();
  if (blocks == nullptr) return {};
  const auto library = UseLibrary();
  std::string out;
  AppendGuarded(out, [&] { return ExifSegment(*blocks, width, height); });
  AppendGuarded(out, [&] { return XmpSegment(*blocks, width, height); });
  AppendGuarded(out, [&] { return IccSegments(*blocks); });
  AppendGuarded(out, [&] { return IptcSegment(*blocks); });
  return out;
}

RawMetadata RawMetadataBlocks(const PhotoMetadata& metadata, std::int32_t width,
                              std::int32_t height) {
  RawMetadata raw;
  const MetadataBlocks* blocks = metadata.blocks();
  if (blocks == nullptr) return raw;
  const auto library = UseLibrary();
  try {
    const Exiv2::Blob tiff = ExifTiff(*blocks, width, height);
    raw.exifTiff.assign(reinterpret_cast<const char*>(tiff.data()), tiff.size());
  } catch (...) {
    raw.exifTiff.clear();
  }
  try {
    raw.xmpPacket = XmpPacket(*blocks, width, height);
  } catch (...) {
    raw.xmpPacket.clear();
  }
  raw.icc = blocks->icc;
  return raw;
}

std::string ColourProfile(const PhotoMetadata& metadata) {
  return metadata.blocks() != nullptr ? metadata.blocks()->icc : std::string();
}

namespace {

// exiv2 (0.27) writes a WebP's colour profile under the chunk name "VP8X",
// which the file's header chunk already bears; readers then find two headers
// and no profile, and some refuse the file. The second "VP8X" is the profile:
// it gets its own name back ("ICCP"), where the header's flags already
// announce it.
void RenameWebpProfile(QByteArray& file) {
  if (!file.startsWith("RIFF") || file.mid(8, 4) != "WEBP") return;
  bool header = false;
  for (qsizetype at = 12; at + 8 <= file.size();) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(file.constData() + at + 4);
    const std::uint64_t size = std::uint64_t(p[0]) | std::uint64_t(p[1]) << 8 |
                               std::uint64_t(p[2]) << 16 | std::uint64_t(p[3]) << 24;
    if (file.mid(at, 4) == "VP8X") {
      if (header) file.replace(at, 4, "ICCP");
      header = true;
    }
    at += qsizetype(8 + size + (size & 1));
  }
}

// The encoded file once exiv2 has written `blocks` into it; throws what the
// library throws when it cannot.
QByteArray WithBlocks(const QByteArray& file, const MetadataBlocks& blocks, std::int32_t width,
                      std::int32_t height, const MetadataKinds& kinds) {
  std::unique_ptr<Exiv2::Image> image(
      Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(file.constData()),
                                long(file.size()))
          .release());
  if (!image) return {};
  // What the encoder put in the file itself (Qt's colour profile) is kept
  // unless replaced.
  image->readMetadata();
  if (kinds.exif && !blocks.exif.empty()) {
    image->setByteOrder(blocks.byteOrder);
    image->setExifData(UpdatedExif(blocks, width, height));
  }
  if (kinds.xmp && !blocks.xmp.empty()) image->setXmpData(UpdatedXmp(blocks, width, height));
  if (kinds.iptc && !blocks.iptc.empty()) image->setIptcData(blocks.iptc);
  if (kinds.icc && !blocks.icc.empty()) {
    Exiv2::DataBuf icc(reinterpret_cast<const Exiv2::byte*>(blocks.icc.data()),
                       long(blocks.icc.size()));
    image->setIccProfile(icc);
  }
  image->writeMetadata();
  Exiv2::BasicIo& io = image->io();
  if (io.open() != 0) return {};
  const long size = io.size();
  QByteArray out(qsizetype(size), Qt::Uninitialized);
  const long read = io.read(reinterpret_cast<Exiv2::byte*>(out.data()), size);
  io.close();
  if (read != size) return {};
  if (kinds.icc && !blocks.icc.empty()) RenameWebpProfile(out);
  return out;
}

}  // namespace

void AddMetadata(QByteArray& file, const PhotoMetadata& metadata, std::int32_t width,
                 std::int32_t height, const MetadataKinds& kinds) {
  const MetadataBlocks* blocks = metadata.blocks();
  if (blocks == nullptr) return;
  const auto library = UseLibrary();
  // All blocks at once is the usual case and rewrites the file once; should
  // the library refuse, each block is tried alone, and the ones it takes go in.
  try {
    QByteArray out = WithBlocks(file, *blocks, width, height, kinds);
    if (!out.isEmpty()) {
      file = std::move(out);
      return;
    }
  } catch (const std::bad_alloc&) {
    throw;
  } catch (...) {
  }
  MetadataKinds taken{false, false, false, false};
  for (bool MetadataKinds::*kind :
       {&MetadataKinds::exif, &MetadataKinds::xmp, &MetadataKinds::iptc, &MetadataKinds::icc}) {
    if (!(kinds.*kind)) continue;
    MetadataKinds trial = taken;
    trial.*kind = true;
    try {
      if (!WithBlocks(file, *blocks, width, height, trial).isEmpty()) taken = trial;
    } catch (const std::bad_alloc&) {
      throw;
    } catch (...) {
    }
  }
  if (!taken.exif && !taken.xmp && !taken.iptc && !taken.icc) return;
  try {
    QByteArray out = WithBlocks(file, *blocks, width, height, taken);
    if (!out.isEmpty()) file = std::move(out);
  } catch (const std::bad_alloc&) {
    throw;
  } catch (...) {
  }
}

}  // namespace fotavel::io::detail
