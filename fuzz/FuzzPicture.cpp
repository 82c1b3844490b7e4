// Fuzz target: any bytes as a picture file, read whole with its metadata (ReadPicture) or, with
// FOTAVEL_FUZZ_PREVIEW, as the explorer's preview (ReadPreview) checked against the whole read.
#include <QFile>
#include <QImageReader>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "io/PictureDecoders.h"
#include "io/PictureFiles.h"

namespace {

QString g_path;
QByteArray g_encodedPath;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_path = fotavel::fuzz::Start() + QStringLiteral("/picture");
  g_encodedPath = QFile::encodeName(g_path);
  // TIFF and WebP come from Qt's image-format plugins: without them every such
  // input would only be refused, and the fuzzing of their road would pass
  // for done.
  const QList<QByteArray> formats = QImageReader::supportedImageFormats();
  if (!formats.contains("tiff") || !formats.contains("webp")) {
    std::fprintf(stderr, "fuzz: Qt's TIFF or WebP reader is missing (qt6-image-formats-plugins)\n");
    std::abort();
  }
  // A few kilobytes of input may declare a picture of gigabytes; the header
  // checks must refuse it before it reaches the fuzzer's memory limit.
  fotavel::io::SetPictureMemoryBudget(std::uint64_t{64} << 20);
  return 0;
}

#ifdef FOTAVEL_FUZZ_PREVIEW
namespace {

// The reason a read was refused with; empty when it was not.
template <class Read>
std::string Refusal(Read&& read) {
  try {
    read();
  } catch (const fotavel::io::FileError& refusal) {
    if (refusal.number() != fotavel::io::FileErrors::kRead || refusal.description().empty() ||
        refusal.path() != g_path) {
      std::abort();
    }
    return refusal.description();
  }
  return {};
}

// A refusal for want of memory: a preview may fit where the whole photo does not.
bool ForMemory(const std::string& reason) { return reason.find("mémoire") != std::string::npos; }

}  // namespace
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fotavel::fuzz::WriteFile(g_encodedPath, data, size);
#ifdef FOTAVEL_FUZZ_PREVIEW
  // An odd box, so that the reduced JPEG scales and the rounding of the
  // fitted size are both exercised.
  constexpr std::int32_t kPreviewWidth = 97, kPreviewHeight = 61;
  const std::string preview = Refusal([] {
    const fotavel::cDIBSection out =
        fotavel::io::ReadPreview(g_path, kPreviewWidth, kPreviewHeight);
    if (out.empty() || out.width() > kPreviewWidth || out.height() > kPreviewHeight) std::abort();
  });
  // The preview takes roads of its own (a reduced decode, a bitmap's rows
  // read in place) that must come to the same checks: a file refused whole
  // as damaged, too costly or of a bad size is refused as a preview, and a
  // file read whole is previewed.
  const std::string whole = Refusal([] {
    if (fotavel::io::ReadPicture(g_path).empty()) std::abort();
  });
  if (whole.empty() ? !preview.empty() : preview.empty() && !ForMemory(whole)) std::abort();
#else
  fotavel::io::PhotoMetadata metadata;
  // A picture read is a surface; a refusal is this file's read failure and
  // always says why.
  try {
    const fotavel::cDIBSection out = fotavel::io::ReadPicture(g_path, &metadata);
    // Whatever metadata came with the picture is written out again as a save
    // would write it.
    (void)fotavel::io::detail::MetadataSegments(metadata, out.width(), out.height());
    if (out.empty()) std::abort();
  } catch (const fotavel::io::FileError& refusal) {
    if (refusal.number() != fotavel::io::FileErrors::kRead || refusal.description().empty() ||
        refusal.path() != g_path || !metadata.empty()) {
      std::abort();
    }
  }
#endif
  return 0;
}
