// WMF reading: libwmf's gd rasteriser draws the metafile at its natural size, in a child process.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <vector>

#include "io/PictureDecoders.h"
#include "io/PictureFiles.h"

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
// Longest a drawing may take before it is given up as a metafile that loops
// or draws without end. Real metafiles draw in well under a second; the
// window waits for this while the user looks at a frozen screen.
constexpr auto kDrawingTime = std::chrono::seconds(4);

std::uint16_t Le16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }
std::uint32_t Le32(const std::uint8_t* p) {
  return std::uint32_t(Le16(p)) | std::uint32_t(Le16(p + 2)) << 16;
}

// libwmf trusts record lengths; a cut or garbled file must not reach it.
// Every record must lie inside the file, and the list must end with the
// end-of-file record.
bool RecordsWhole(const FileBytes& file, std::size_t header) {
  // The library sets aside room for the largest record the header announces
  // before it reads any: gigabytes for a few garbled bytes.
  if (std::uint64_t(Le32(file.data + header + 12)) * 2 > file.size - header) return false;
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

// The library's hooks that one drawing replaces.
struct Hooks {
  void (*drawText)(wmfAPI*, wmfDrawText_t*) = nullptr;
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
  static_cast<Hooks*>(api->user_data)->drawText(api, text);
}

// What the drawing process sends first; the pixels follow when it is kDrawn.
struct Report {
  enum Outcome : std::int32_t { kDamaged, kBadSize, kTooBig, kDrawn };
  Outcome outcome = kDamaged;
  std::int32_t unused = 0;
  std::int64_t width = 0, height = 0;
};

bool SendAll(int fd, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd, bytes, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    size -= std::size_t(n);
  }
  return true;
}

// Runs in the child: draws the metafile and sends a Report, then the
// drawing's pixels (gd's 0x7FRRGGBB words, top row first). Never returns.
[[noreturn]] void DrawInChild(const FileBytes& file, bool placeable, std::uint64_t budget, int fd) {
  Report report;
  Hooks hooks;
  wmfAPI_Options options{};
  options.function = wmf_gd_function;
  const unsigned long flags =
      WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
  wmfAPI* api = nullptr;
  wmfD_Rect page{};
  if (wmf_api_create(&api, flags, &options) != wmf_E_None || api == nullptr) {
    SendAll(fd, &report, sizeof report);
    ::_exit(0);
  }
  api->user_data = &hooks;
  auto* fonts = static_cast<wmfFontData*>(api->font_data);
  fonts->map = MapFontOrNone;
  fonts->stringwidth = StringWidthOrGuess;
  auto* device = static_cast<wmfFunctionReference*>(api->function_reference);
  hooks.drawText = device->draw_text;
  device->draw_text = DrawTextIfFont;
  if (wmf_mem_open(api, const_cast<unsigned char*>(file.data), long(file.size)) != wmf_E_None ||
      wmf_scan(api, 0, &page) != wmf_E_None) {
    SendAll(fd, &report, sizeof report);
    ::_exit(0);
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
  report.width = std::int64_t(width);
  report.height = std::int64_t(height);
  // The drawing here (4 bytes a pixel) and the surface in the parent are
  // alive together.
  if (!PlausibleSize(report.width, report.height)) {
    report.outcome = Report::kBadSize;
  } else if (SurfaceBytes(report.width, report.height) +
                 std::uint64_t(report.width) * std::uint64_t(report.height) * 4 >
             budget) {
    report.outcome = Report::kTooBig;
  } else {
    auto* gd = WMF_GD_GetData(api);
    gd->type = wmf_gd_image;
    gd->bbox = page;
    gd->width = unsigned(width);
    gd->height = unsigned(height);
    const int* pixels = nullptr;
    if (wmf_play(api, 0, &page) == wmf_E_None && gd->gd_image != nullptr) {
      pixels = wmf_gd_image_pixels(gd->gd_image);
    }
    if (pixels != nullptr) {
      report.outcome = Report::kDrawn;
      if (SendAll(fd, &report, sizeof report)) {
        SendAll(fd, pixels, std::size_t(report.width) * std::size_t(report.height) * 4);
      }
      ::_exit(0);
    }
  }
  SendAll(fd, &report, sizeof report);
  ::_exit(0);
}

// The parent's end of one drawing process: reads under a deadline, and
// always ends the child (killed if still running) and reaps it.
class Drawing {
 public:
  Drawing(pid_t pid, int fd)
      : pid_(pid), fd_(fd), deadline_(std::chrono::steady_clock::now() + kDrawingTime) {}
  ~Drawing() {
    ::close(fd_);
    ::kill(pid_, SIGKILL);
    while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  Drawing(const Drawing&) = delete;
  Drawing& operator=(const Drawing&) = delete;

  // False when the child stopped, crashed or ran out of time first.
  bool Read(void* data, std::size_t size) {
    auto* bytes = static_cast<char*>(data);
    while (size > 0) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline_ - std::chrono::steady_clock::now());
      if (left.count() <= 0) return false;
      pollfd ready{fd_, POLLIN, 0};
      const int polled = ::poll(&ready, 1, int(left.count()));
      if (polled < 0 && errno == EINTR) continue;
      if (polled <= 0) return false;
      const ssize_t n = ::read(fd_, bytes, size);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      bytes += n;
      size -= std::size_t(n);
    }
    return true;
  }

 private:
  pid_t pid_;
  int fd_;
  std::chrono::steady_clock::time_point deadline_;
};

// gd's alpha runs from 0 (opaque) to 127 (transparent); laid on white as
// c·(127 − a)/127 + 255·a/127, rounded to nearest (127 is odd: no ties).
std::uint8_t GdOnWhite(std::uint32_t channel, std::uint32_t transparency) {
  return std::uint8_t((channel * (127 - transparency) + 255 * transparency + 63) / 127);
}

}  // namespace

void DecodeWmf(const FileBytes& file, cDIBSection& out) {
  const bool placeable = file.size >= 4 && Le32(file.data) == 0x9AC6CDD7u;
  const std::size_t header = placeable ? kPlaceableBytes : 0;
  if (file.size < header + kHeaderBytes || !RecordsWhole(file, header)) {
    Refuse(file, DamagedFile("WMF"));
  }

  // libwmf trusts what the records say far beyond their lengths (a brush
  // deleted while in use is enough to crash it), and no check of ours can
  // foresee all of it. It draws in a child process: a metafile that crashes
  // or hangs the drawing costs that process only, and reads as damaged here.
  const std::uint64_t budget = PictureMemoryBudget();
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) {
    Refuse(file, QCoreApplication::translate("PictureFiles", "moteur de dessin WMF indisponible"));
  }
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    Refuse(file, QCoreApplication::translate("PictureFiles", "moteur de dessin WMF indisponible"));
  }
  if (pid == 0) {
    ::close(fds[0]);
    DrawInChild(file, placeable, budget, fds[1]);
  }
  ::close(fds[1]);
  Drawing drawing(pid, fds[0]);

  Report report;
  if (!drawing.Read(&report, sizeof report) || report.outcome == Report::kDamaged) {
    Refuse(file, DamagedFile("WMF"));
  }
  if (report.outcome == Report::kBadSize || !PlausibleSize(report.width, report.height)) {
    Refuse(file, BadDimensions(report.width, report.height));
  }
  if (report.outcome == Report::kTooBig ||
      !out.Create(std::int32_t(report.width), std::int32_t(report.height))) {
    Refuse(file, TooBig(report.width, report.height));
  }
  const std::int32_t width = out.width(), height = out.height();
  std::vector<std::uint32_t> line(static_cast<std::size_t>(width));
  for (std::int32_t y = height - 1; y >= 0; --y) {  // the drawing comes top row first
    if (!drawing.Read(line.data(), line.size() * 4)) {
      Refuse(file, DamagedFile("WMF"));
    }
    std::uint8_t* target = out.row(y);
    for (std::int32_t i = 0; i < width; ++i, target += 3) {
      const std::uint32_t p = line[std::size_t(i)];
      const std::uint32_t transparency = (p >> 24) & 0x7F;
      target[0] = GdOnWhite(p & 0xFF, transparency);
      target[1] = GdOnWhite((p >> 8) & 0xFF, transparency);
      target[2] = GdOnWhite((p >> 16) & 0xFF, transparency);
    }
  }
}

}  // namespace fotavel::io::detail
