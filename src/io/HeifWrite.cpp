// AVIF encoding through libheif and its AV1 encoder, the photo's metadata in the file's own boxes.
#include <libheif/heif.h>

#include <QCoreApplication>
#include <memory>
#include <new>
#include <string>

#include "io/HeifHandles.h"
#include "io/PictureDecoders.h"
#include "io/SaveFormats.h"

namespace fotavel::io::detail {

namespace {

// The AV1 encoder's speed, 0 (slowest, smallest) … 9. At 6 a 24-megapixel
// photo takes seconds rather than minutes on two cores, for files a few per
// cent larger than at the encoder's default of 5; the benchmark compares
// with heif-enc at the same setting (bench/save-formats.sh).
constexpr int kAv1Speed = 6;

[[noreturn]] void Failed(const heif_error& failure) {
  if (failure.code == heif_error_Memory_allocation_error) throw std::bad_alloc();
  Unencodable(QCoreApplication::translate("SaveFormats", "échec de l'encodage AVIF : %1")
                  .arg(QString::fromUtf8(failure.message)));
}

void Check(const heif_error& failure) {
  if (failure.code != heif_error_Ok) Failed(failure);
}

heif_error Append(heif_context*, const void* data, size_t size, void* userdata) {
  try {
    static_cast<std::string*>(userdata)->append(static_cast<const char*>(data), size);
  } catch (const std::bad_alloc&) {
    return {heif_error_Memory_allocation_error, heif_suberror_Unspecified, "out of memory"};
  }
  return {heif_error_Ok, heif_suberror_Unspecified, "ok"};
}

}  // namespace

EncodedFile EncodeAvif(const cDIBSection& picture, int quality, const PhotoMetadata& metadata) {
  const std::int32_t width = picture.width(), height = picture.height();
  const HeifPtr<heif_context> context(heif_context_alloc());
  if (!context) throw std::bad_alloc();
  heif_encoder* made = nullptr;
  const heif_error found =
      heif_context_get_encoder_for_format(context.get(), heif_compression_AV1, &made);
  const HeifPtr<heif_encoder> encoder(made);
  if (found.code != heif_error_Ok || !encoder) {
    Unencodable(QCoreApplication::translate("SaveFormats", "encodeur AVIF indisponible"));
  }
  // The quality scale of the JPEG dialog is handed over as it is: libheif's
  // runs over the same 0 … 100 and, like libjpeg's, spends its bits evenly
  // over that range.
  Check(heif_encoder_set_lossy_quality(encoder.get(), quality));
  Check(heif_encoder_set_parameter_string(encoder.get(), "chroma", "420"));
  Check(heif_encoder_set_parameter_integer(encoder.get(), "speed", kAv1Speed));

  // libheif takes top-down interleaved RGB and converts it to the encoder's
  // 4:2:0 YCbCr itself.
  heif_image* image = nullptr;
  Check(heif_image_create(width, height, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image));
  const HeifPtr<heif_image> rgb(image);
  Check(heif_image_add_plane(image, heif_channel_interleaved, width, height, 8));
  int stride = 0;
  std::uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
  if (plane == nullptr) throw std::bad_alloc();
  for (std::int32_t y = 0; y < height; ++y) {
    const std::uint8_t* source = picture.row(height - 1 - y);
    std::uint8_t* target = plane + std::ptrdiff_t(stride) * y;
    for (std::int32_t i = 0; i < width; ++i, source += 3, target += 3) {
      target[0] = source[2];
      target[1] = source[1];
      target[2] = source[0];
    }
  }
  const RawMetadata blocks = RawMetadataBlocks(metadata, width, height);
  // A block libheif refuses is left out; the photo is saved all the same.
  if (!blocks.icc.empty()) {
    heif_image_set_raw_color_profile(image, "prof", blocks.icc.data(), blocks.icc.size());
  }
  const HeifPtr<heif_encoding_options> options(heif_encoding_options_alloc());
  heif_image_handle* encoded = nullptr;
  Check(heif_context_encode_image(context.get(), image, encoder.get(), options.get(), &encoded));
  const HeifPtr<heif_image_handle> handle(encoded);
  if (!blocks.exifTiff.empty()) {
    heif_context_add_exif_metadata(context.get(), encoded, blocks.exifTiff.data(),
                                   int(blocks.exifTiff.size()));
  }
  if (!blocks.xmpPacket.empty()) {
    heif_context_add_XMP_metadata(context.get(), encoded, blocks.xmpPacket.data(),
                                  int(blocks.xmpPacket.size()));
  }

  auto file = std::make_shared<std::string>();
  heif_writer writer{};
  writer.writer_api_version = 1;
  writer.write = Append;
  Check(heif_context_write(context.get(), &writer, file.get()));
  const char* bytes = file->data();
  const std::size_t size = file->size();
  return EncodedFile({{bytes, size}}, std::move(file));
}

}  // namespace fotavel::io::detail
