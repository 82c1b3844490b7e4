// HEIC and AVIF photos encoded by the tests with libheif, and libheif's own decode of them.
#include "io/HeifFiles.h"

#include <libheif/heif.h>

#include <cstdio>
#include <memory>

namespace fotavel::testing {

namespace {

struct HeifDeleter {
  void operator()(heif_context* p) const { heif_context_free(p); }
  void operator()(heif_image_handle* p) const { heif_image_handle_release(p); }
  void operator()(heif_image* p) const { heif_image_release(p); }
  void operator()(heif_encoder* p) const { heif_encoder_release(p); }
  void operator()(heif_encoding_options* p) const { heif_encoding_options_free(p); }
};
template <class T>
using HeifPtr = std::unique_ptr<T, HeifDeleter>;

bool Failed(const heif_error& error, const char* what) {
  if (error.code == heif_error_Ok) return false;
  std::fprintf(stderr, "libheif, %s: %s\n", what, error.message);
  return true;
}

heif_chroma Interleaved(bool deep, bool alpha) {
  return deep ? (alpha ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RRGGBB_LE)
              : (alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB);
}

std::uint16_t Gradient(const HeifPicture& p, std::int32_t x, std::int32_t y, int channel) {
  const std::uint32_t top = (1u << p.bits) - 1;
  const std::uint32_t w = std::max(p.width - 1, 1), h = std::max(p.height - 1, 1);
  const std::uint32_t ramps[] = {x * top / w, y * top / h,
                                 (x * h + (h - y) * w) * top / (2 * w * h), top - x * top / w};
  return std::uint16_t(ramps[channel]);
}

heif_error Append(heif_context*, const void* data, size_t size, void* target) {
  static_cast<QByteArray*>(target)->append(static_cast<const char*>(data), qsizetype(size));
  return {heif_error_Ok, heif_suberror_Unspecified, "ok"};
}

}  // namespace

QByteArray MakeHeif(const HeifPicture& p) {
  const bool deep = p.bits > 8;
  const int channels = p.grey ? 1 : p.alpha ? 4 : 3;
  const heif_channel plane = p.grey ? heif_channel_Y : heif_channel_interleaved;
  heif_image* made = nullptr;
  if (Failed(heif_image_create(p.width, p.height,
                               p.grey ? heif_colorspace_monochrome : heif_colorspace_RGB,
                               p.grey ? heif_chroma_monochrome : Interleaved(deep, p.alpha), &made),
             "image")) {
    return {};
  }
  HeifPtr<heif_image> image(made);
  if (Failed(heif_image_add_plane(made, plane, p.width, p.height, p.bits), "plane")) return {};
  int stride = 0;
  std::uint8_t* bytes = heif_image_get_plane(made, plane, &stride);
  for (std::int32_t y = 0; y < p.height; ++y) {
    for (std::int32_t x = 0; x < p.width; ++x) {
      for (int c = 0; c < channels; ++c) {
        const std::uint16_t v = p.sample ? p.sample(x, y, c) : Gradient(p, x, y, c);
        std::uint8_t* at = bytes + std::ptrdiff_t(stride) * y + (x * channels + c) * (deep ? 2 : 1);
        at[0] = std::uint8_t(v);
        if (deep) at[1] = std::uint8_t(v >> 8);
      }
    }
  }
  HeifPtr<heif_context> context(heif_context_alloc());
  heif_encoder* encoder = nullptr;
  if ((!p.icc.isEmpty() && Failed(heif_image_set_raw_color_profile(made, "prof", p.icc.constData(),
                                                                   std::size_t(p.icc.size())),
                                  "profile")) ||
      Failed(heif_context_get_encoder_for_format(
                 context.get(), p.avif ? heif_compression_AV1 : heif_compression_HEVC, &encoder),
             "encoder")) {
    return {};
  }
  HeifPtr<heif_encoder> owned(encoder);
  heif_encoder_set_lossy_quality(encoder, 90);
  if (p.fast && p.avif) heif_encoder_set_parameter_integer(encoder, "speed", 9);
  if (p.fast && !p.avif) heif_encoder_set_parameter_string(encoder, "preset", "ultrafast");
  HeifPtr<heif_encoding_options> options(heif_encoding_options_alloc());
  options->image_orientation = heif_orientation(p.orientation);
  heif_image_handle* encoded = nullptr;
  if (Failed(heif_context_encode_image(context.get(), made, encoder, options.get(), &encoded),
             "encoding")) {
    return {};
  }
  HeifPtr<heif_image_handle> handle(encoded);
  QByteArray file;
  heif_writer writer{1, Append};
  if ((!p.exif.isEmpty() && Failed(heif_context_add_exif_metadata(
                                       context.get(), encoded, p.exif.constData(), p.exif.size()),
                                   "EXIF")) ||
      (!p.xmp.isEmpty() && Failed(heif_context_add_XMP_metadata(context.get(), encoded,
                                                                p.xmp.constData(), p.xmp.size()),
                                  "XMP")) ||
      Failed(heif_context_write(context.get(), &writer, &file), "writing")) {
    return {};
  }
  return file;
}

HeifPixels DecodeWithLibheif(const QByteArray& file, bool alpha, bool deep) {
  HeifPixels out;
  HeifPtr<heif_context> context(heif_context_alloc());
  heif_image_handle* primary = nullptr;
  heif_image* decoded = nullptr;
  if (Failed(heif_context_read_from_memory(context.get(), file.constData(),
                                           std::size_t(file.size()), nullptr),
             "reading") ||
      Failed(heif_context_get_primary_image_handle(context.get(), &primary), "primary")) {
    return out;
  }
  HeifPtr<heif_image_handle> handle(primary);
  if (Failed(heif_decode_image(primary, &decoded, heif_colorspace_RGB, Interleaved(deep, alpha),
                               nullptr),
             "decoding")) {
    return out;
  }
  HeifPtr<heif_image> image(decoded);
  int stride = 0;
  const std::uint8_t* bytes =
      heif_image_get_plane_readonly(decoded, heif_channel_interleaved, &stride);
  out.width = heif_image_get_width(decoded, heif_channel_interleaved);
  out.height = heif_image_get_height(decoded, heif_channel_interleaved);
  out.channels = alpha ? 4 : 3;
  for (std::int32_t y = 0; y < out.height; ++y) {
    const std::uint8_t* row = bytes + std::ptrdiff_t(stride) * y;
    for (std::int32_t i = 0; i < out.width * out.channels; ++i) {
      out.samples.push_back(deep ? std::uint16_t(row[2 * i] | row[2 * i + 1] << 8) : row[i]);
    }
  }
  return out;
}

}  // namespace fotavel::testing
