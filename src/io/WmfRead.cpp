// WMF reading: libwmf's gd rasteriser draws the metafile at its natural size.
#include <QByteArray>
#include <cmath>
#include <cstring>

#include "io/PictureDecoders.h"

// Last: libwmf defines macros (U8, U16, …) that would break Qt's headers.
extern "C" {
#include <libwmf/api.h>
#include <libwmf/font.h>
#include <libwmf/gd.h>
#include <libwmf/ipa.h>
}

namespace fotavel::io::detail {

namespace {

constexpr std::size_t kPlaceableBytes = 22;
constexpr std::size_t kHeaderBytes = 18;
constexpr double kPlaceableDpi = 96.0;
// libwmf's device space counts 72 units to the inch.
constexpr double kDeviceUnitsPerInch = 72.0;

std::uint16_t Le16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }
std::uint32_t Le32(const std::uint8_t* p) {
  return std::uint32_t(Le16(p)) | std::uint32_t(Le16(p + 2)) << 16;
}

// libwmf trusts record lengths; a cut or garbled file must not reach it.
// Every record must lie inside the file, and the list must end with the
// end-of-file record.
bool RecordsWhole(const FileBytes& file, std::size_t header) {
  std::size_t at = header + kHeaderBytes;
  while (at + 6 <= file.size) {
    const std::uint64_t words = Le32(file.data + at);
    const std::uint16_t function = Le16(file.data + at + 4);
    if (words < 3 || words * 2 > file.size - at) return false;
    if (function == 0) return true;
    at += std::size_t(words * 2);
  }
  return false;
}

// What one rendering hangs on the library's user pointer.
struct Rendering {
  void (*drawText)(wmfAPI*, wmfDrawText_t*) = nullptr;
  QByteArray png;
  bool sinkFailed = false;
};

// The library looks for its own set of Type 1 fonts and gives up on the whole
// metafile when none is installed. Without them we still draw every shape and
// leave the text out, rather than refuse the picture.
void MapFontOrNone(wmfAPI* api, wmfFont* font) {
  const wmf_error_t before = api->err;
  wmf_ipa_font_map(api, font);
  if (before == wmf_E_None && api->err != wmf_E_None && WMF_FONT_FTFACE(font) == nullptr) {
    api->err = wmf_E_None;
  }
}

float StringWidthOrGuess(wmfAPI* api, wmfFont* font, char* text) {
  if (WMF_FONT_FTFACE(font) == nullptr) return 0.5f * float(std::strlen(text));
  return wmf_ipa_font_stringwidth(api, font, text);
}

void DrawTextIfFont(wmfAPI* api, wmfDrawText_t* text) {
  if (text->dc->font == nullptr || WMF_FONT_FTFACE(text->dc->font) == nullptr) return;
  static_cast<Rendering*>(api->user_data)->drawText(api, text);
}

// The gd device hands out the pixels of a finished drawing only as an image it
// never frees; asked for a PNG instead, it frees its image and streams the
// file to us, which Qt then reads like any PNG.
int CollectPng(void* context, char* buffer, int length) {
  auto* rendering = static_cast<Rendering*>(context);
  try {
    rendering->png.append(buffer, length);
    return length;
  } catch (...) {
    rendering->sinkFailed = true;
    return 0;
  }
}

struct ApiCloser {
  wmfAPI* api = nullptr;
  bool opened = false;
  ~ApiCloser() {
    if (opened) wmf_mem_close(api);
    if (api != nullptr) wmf_api_destroy(api);
  }
};

}  // namespace

bool DecodeWmf(const FileBytes& file, cDIBSection& out, QString& error) {
  const bool placeable = file.size >= 4 && Le32(file.data) == 0x9AC6CDD7u;
  const std::size_t header = placeable ? kPlaceableBytes : 0;
  if (file.size < header + kHeaderBytes || !RecordsWhole(file, header)) {
    error = DamagedFile("WMF");
    return false;
  }

  Rendering rendering;
  wmfAPI_Options options{};
  options.function = wmf_gd_function;
  const unsigned long flags =
      WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
  wmfAPI* api = nullptr;
  // A failed creation has already released what it made.
  if (wmf_api_create(&api, flags, &options) != wmf_E_None || api == nullptr) {
    error = QStringLiteral("moteur de dessin WMF indisponible");
    return false;
  }
  ApiCloser closer{api};
  api->user_data = &rendering;
  auto* fonts = static_cast<wmfFontData*>(api->font_data);
  fonts->map = MapFontOrNone;
  fonts->stringwidth = StringWidthOrGuess;
  auto* device = static_cast<wmfFunctionReference*>(api->function_reference);
  rendering.drawText = device->draw_text;
  device->draw_text = DrawTextIfFont;

  if (wmf_mem_open(api, const_cast<unsigned char*>(file.data), long(file.size)) != wmf_E_None) {
    error = DamagedFile("WMF");
    return false;
  }
  closer.opened = true;
  wmfD_Rect page{};
  if (wmf_scan(api, 0, &page) != wmf_E_None) {
    error = DamagedFile("WMF");
    return false;
  }

  // A placeable file states its frame and how many of its units make an inch;
  // it is drawn at 96 dots per inch from the window origin. A plain metafile
  // states nothing: its page is what it draws, one unit to a pixel.
  double width = 0, height = 0;
  if (placeable) {
    const double inch = Le16(file.data + 14);
    const double extentX =
        std::abs(double(std::int16_t(Le16(file.data + 10))) - std::int16_t(Le16(file.data + 6)));
    const double extentY =
        std::abs(double(std::int16_t(Le16(file.data + 12))) - std::int16_t(Le16(file.data + 8)));
    if (inch > 0) {
      width = std::nearbyint(extentX * kPlaceableDpi / inch);
      height = std::nearbyint(extentY * kPlaceableDpi / inch);
      page.TL.x = page.TL.y = 0;
      page.BR.x = float(extentX * kDeviceUnitsPerInch / inch);
      page.BR.y = float(extentY * kDeviceUnitsPerInch / inch);
    }
  } else {
    width = std::nearbyint(double(page.BR.x) - page.TL.x);
    height = std::nearbyint(double(page.BR.y) - page.TL.y);
  }
  if (!PlausibleSize(std::int64_t(width), std::int64_t(height))) {
    error = BadDimensions(std::int64_t(width), std::int64_t(height));
    return false;
  }
  // The gd drawing (4 bytes a pixel), Qt's image of it (4 more) and the
  // surface are alive together, besides the PNG itself.
  const std::uint64_t pixels = std::uint64_t(width) * std::uint64_t(height);
  if (!FitsBudget(SurfaceBytes(std::int64_t(width), std::int64_t(height)) + pixels * 9)) {
    error = TooBig(std::int64_t(width), std::int64_t(height));
    return false;
  }

  auto* gd = WMF_GD_GetData(api);
  if ((gd->flags & WMF_GD_SUPPORTS_PNG) == 0) {
    error = QStringLiteral("moteur de dessin WMF incomplet (PNG non pris en charge)");
    return false;
  }
  gd->type = wmf_gd_png;
  gd->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
  gd->sink.context = &rendering;
  gd->sink.function = CollectPng;
  gd->bbox = page;
  gd->width = unsigned(width);
  gd->height = unsigned(height);
  const bool played = wmf_play(api, 0, &page) == wmf_E_None;
  // The drawing is encoded when the device closes, in wmf_api_destroy.
  wmf_mem_close(api);
  closer.opened = false;
  wmf_api_destroy(api);
  closer.api = nullptr;
  if (!played || rendering.sinkFailed || rendering.png.isEmpty()) {
    error = DamagedFile("WMF");
    return false;
  }

  const FileBytes png{reinterpret_cast<const std::uint8_t*>(rendering.png.constData()),
                      std::size_t(rendering.png.size()), &rendering.png};
  if (!DecodeWithQt(png, "png", false, out, error)) {
    error = DamagedFile("WMF");
    return false;
  }
  return true;
}

}  // namespace fotavel::io::detail
