// HEIC / HEIF and AVIF through libheif: the primary picture, upright, into the 24-bit surface.
#include <libheif/heif.h>

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "io/HeifHandles.h"
#include "io/PictureDecoders.h"
#include "io/PictureFiles.h"

namespace fotavel::io::detail {

namespace {

QString Unreadable(const char* formatName, const heif_error& failure) {
  return QCoreApplication::translate("PictureFiles", "fichier %1 illisible : %2")
      .arg(QLatin1String(formatName), QString::fromUtf8(failure.message));
}

// The picture's pixels, 8 bits a channel, top row first, into the bottom-up
// surface; a pixel with alpha is laid on white as a PNG's is.
void CopyRows8(const std::uint8_t* plane, int stride, bool alpha, cDIBSection& out) {
  const std::int32_t width = out.width(), height = out.height();
  for (std::int32_t y = 0; y < height; ++y) {
    const std::uint8_t* source = plane + std::ptrdiff_t(stride) * (height - 1 - y);
    std::uint8_t* target = out.row(y);
    if (alpha) {
      for (std::int32_t i = 0; i < width; ++i, source += 4, target += 3) {
        target[0] = OnWhite(source[2], source[3]);
        target[1] = OnWhite(source[1], source[3]);
        target[2] = OnWhite(source[0], source[3]);
      }
    } else {
      for (std::int32_t i = 0; i < width; ++i, source += 3, target += 3) {
        target[0] = source[2];
        target[1] = source[1];
        target[2] = source[0];
      }
    }
  }
}

// The same from 16-bit little-endian channels whose values reach `maximum`
// (1023 for 10 bits): each is reduced to round(v × 255 / maximum) through a
// table. The maximum is odd, so the exact quotient is never halfway between
// two integers; values above it (which a conforming file never holds) read as
// 255.
void CopyRows16(const std::uint8_t* plane, int stride, bool alpha, int maximum, cDIBSection& out) {
  std::vector<std::uint8_t> reduce(65536, 255);
  for (int v = 0; v <= maximum; ++v) {
    reduce[v] = std::uint8_t((std::uint32_t(v) * 510 + std::uint32_t(maximum)) /
                             (2 * std::uint32_t(maximum)));
  }
  const auto channel = [&reduce](const std::uint8_t* p) { return reduce[p[0] | p[1] << 8]; };
  const std::int32_t width = out.width(), height = out.height();
  const int step = alpha ? 8 : 6;
  for (std::int32_t y = 0; y < height; ++y) {
    const std::uint8_t* source = plane + std::ptrdiff_t(stride) * (height - 1 - y);
    std::uint8_t* target = out.row(y);
    for (std::int32_t i = 0; i < width; ++i, source += step, target += 3) {
      const std::uint32_t a = alpha ? channel(source + 6) : 255;
      target[0] = OnWhite(channel(source + 4), a);
      target[1] = OnWhite(channel(source + 2), a);
      target[2] = OnWhite(channel(source), a);
    }
  }
}

// The EXIF block of an item starts with the offset of its TIFF header
// (usually past an "Exif\0\0" prefix); XMP is a "mime" item of its own type.
void ReadHeifMetadata(const heif_image_handle* handle, PhotoMetadata& keep) {
  std::string exif, xmp, icc;
  const auto block = [handle](heif_item_id id) {
    std::string bytes(heif_image_handle_get_metadata_size(handle, id), '\0');
    if (heif_image_handle_get_metadata(handle, id, bytes.data()).code != heif_error_Ok) {
      bytes.clear();
    }
    return bytes;
  };
  heif_item_id id = 0;
  if (heif_image_handle_get_list_of_metadata_block_IDs(handle, "Exif", &id, 1) == 1) {
    const std::string whole = block(id);
    if (whole.size() >= 4) {
      const std::uint32_t offset = std::uint32_t(std::uint8_t(whole[0])) << 24 |
                                   std::uint32_t(std::uint8_t(whole[1])) << 16 |
                                   std::uint32_t(std::uint8_t(whole[2])) << 8 |
                                   std::uint8_t(whole[3]);
      if (offset <= whole.size() - 4) exif = whole.substr(4 + offset);
    }
  }
  const int count = heif_image_handle_get_number_of_metadata_blocks(handle, "mime");
  std::vector<heif_item_id> ids(std::size_t(std::max(count, 0)));
  heif_image_handle_get_list_of_metadata_block_IDs(handle, "mime", ids.data(), count);
  for (const heif_item_id mime : ids) {
    if (std::strcmp(heif_image_handle_get_metadata_content_type(handle, mime),
                    "application/rdf+xml") == 0) {
      xmp = block(mime);
      break;
    }
  }
  const heif_color_profile_type profile = heif_image_handle_get_color_profile_type(handle);
  if (profile == heif_color_profile_type_prof || profile == heif_color_profile_type_rICC) {
    icc.resize(heif_image_handle_get_raw_color_profile_size(handle));
    if (heif_image_handle_get_raw_color_profile(handle, icc.data()).code != heif_error_Ok) {
      icc.clear();
    }
  }
  keep = MetadataFromBlocks(exif, xmp, icc);
}

}  // namespace

void DecodeHeif(const FileBytes& file, const char* formatName, cDIBSection& out,
                PhotoMetadata* metadata) {
  HeifPtr<heif_context> context(heif_context_alloc());
  if (!context) {
    Refuse(file, QCoreApplication::translate("PictureFiles", "décodeur %1 indisponible")
                     .arg(QLatin1String(formatName)));
  }
  // libheif's own ceiling on any picture it meets in the file (the tiles of
  // a grid included), from the same budget as our own check below; it only
  // backs that check up.
  const double side = std::sqrt(double(PictureMemoryBudget()) / 8);
  heif_context_set_maximum_image_size_limit(context.get(),
                                            int(std::clamp(side, 1.0, double(1 << 15))));
  heif_error failure =
      heif_context_read_from_memory_without_copy(context.get(), file.data, file.size, nullptr);
  if (failure.code != heif_error_Ok) {
    Refuse(file, Unreadable(formatName, failure));
  }
  heif_image_handle* primary = nullptr;
  failure = heif_context_get_primary_image_handle(context.get(), &primary);
  HeifPtr<heif_image_handle> handle(primary);
  if (failure.code != heif_error_Ok) {
    Refuse(file, Unreadable(formatName, failure));
  }

  // The declared size (after the file's rotation) decides before any pixel is decoded.
  const std::int64_t width = heif_image_handle_get_width(primary);
  const std::int64_t height = heif_image_handle_get_height(primary);
  if (!PlausibleSize(width, height)) {
    Refuse(file, BadDimensions(width, height));
  }
  const bool alpha = heif_image_handle_has_alpha_channel(primary) != 0;
  const int bits = std::max(heif_image_handle_get_luma_bits_per_pixel(primary),
                            heif_image_handle_get_chroma_bits_per_pixel(primary));
  const bool deep = bits > 8;
  // libheif holds the decoded planes (three, and alpha), then the interleaved
  // picture, twice while it turns or mirrors it.
  const std::uint64_t pixels = std::uint64_t(width) * std::uint64_t(height);
  const std::uint64_t sample = deep ? 2 : 1, channels = alpha ? 4 : 3;
  if (!FitsBudget(SurfaceBytes(width, height) + pixels * sample * (4 + 2 * channels))) {
    Refuse(file, TooBig(width, height));
  }

  HeifPtr<heif_decoding_options> options(heif_decoding_options_alloc());
  options->convert_hdr_to_8bit = 0;  // we reduce with rounding ourselves
  const heif_chroma chroma =
      deep ? (alpha ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RRGGBB_LE)
           : (alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB);
  heif_image* decoded = nullptr;
  failure = heif_decode_image(primary, &decoded, heif_colorspace_RGB, chroma, options.get());
  HeifPtr<heif_image> image(decoded);
  if (failure.code != heif_error_Ok) {
    Refuse(file, Unreadable(formatName, failure));
  }
  int stride = 0;
  const std::uint8_t* plane =
      heif_image_get_plane_readonly(decoded, heif_channel_interleaved, &stride);
  const int decodedWidth = heif_image_get_width(decoded, heif_channel_interleaved);
  const int decodedHeight = heif_image_get_height(decoded, heif_channel_interleaved);
  if (plane == nullptr || decodedWidth != width || decodedHeight != height) {
    Refuse(file, DamagedFile(formatName));
  }
  cDIBSection picture;
  if (!picture.Create(std::int32_t(width), std::int32_t(height))) {
    Refuse(file, TooBig(width, height));
  }
  if (deep) {
    const int range = heif_image_get_bits_per_pixel_range(decoded, heif_channel_interleaved);
    CopyRows16(plane, stride, alpha, (1 << std::clamp(range, 9, 16)) - 1, picture);
  } else {
    CopyRows8(plane, stride, alpha, picture);
  }
  if (metadata != nullptr) ReadHeifMetadata(primary, *metadata);
  out.swap(picture);
}

}  // namespace fotavel::io::detail
