// Internal to fotavel_io: libheif's objects owned the C++ way, for its reader and its writer.
#pragma once

#include <libheif/heif.h>

#include <memory>

namespace fotavel::io::detail {

struct HeifDeleter {
  void operator()(heif_context* p) const { heif_context_free(p); }
  void operator()(heif_encoder* p) const { heif_encoder_release(p); }
  void operator()(heif_image* p) const { heif_image_release(p); }
  void operator()(heif_image_handle* p) const { heif_image_handle_release(p); }
  void operator()(heif_encoding_options* p) const { heif_encoding_options_free(p); }
  void operator()(heif_decoding_options* p) const { heif_decoding_options_free(p); }
};
template <class T>
using HeifPtr = std::unique_ptr<T, HeifDeleter>;

}  // namespace fotavel::io::detail
