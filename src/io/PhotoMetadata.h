// A photo's own metadata (camera, dates, place, captions, colour profile), kept from its file.
#pragma once

#include <memory>

namespace fotavel::io {

namespace detail {
struct MetadataBlocks;  // known to the file layer only
}

// What a JPEG (or a HEIF, an AVIF) said about its photo beyond the pixels: EXIF, IPTC, XMP and an
// RGB colour profile. Read with the photo (ReadPicture), carried by whoever
// holds the photo, and written again by WriteJpeg, which brings the parts
// that describe the pixels (orientation, size, thumbnail) up to date with
// the photo being saved. Outside the file layer it is an opaque value: empty
// or not, copied cheaply (copies share the blocks, which never change once
// read).
class PhotoMetadata {
 public:
  PhotoMetadata() = default;
  explicit PhotoMetadata(std::shared_ptr<const detail::MetadataBlocks> blocks)
      : blocks_(std::move(blocks)) {}

  bool empty() const { return blocks_ == nullptr; }
  void clear() { blocks_.reset(); }
  const detail::MetadataBlocks* blocks() const { return blocks_.get(); }

 private:
  std::shared_ptr<const detail::MetadataBlocks> blocks_;
};

}  // namespace fotavel::io
