// The logo overlay: finding the logo, reading its placement, stamping it onto a photo.
#include "document/ModImage.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRect>
#include <QTransform>
#include <array>
#include <cmath>
#include <cstdint>
#include <new>
#include <optional>

#include "document/AppServices.h"
#include "document/DocumentError.h"
#include "document/Messages.h"
#include "io/FileError.h"
#include "io/PictureFiles.h"

namespace fotavel::ModImage {

namespace {

// The order in which the logo files are looked for when any will do.
constexpr std::array<const char*, 4> kAnyLogoExtensions = {"png", "bmp", "jpg", "gif"};
// The extensions that override a stored one, in order of precedence.
constexpr std::array<const char*, 3> kOverridingExtensions = {"jpg", "bmp", "gif"};

// The file of `folder` called `name` without regard to case. The logo dialog
// keeps the case of the chosen picture's extension while the settings may
// name it otherwise; on a case-sensitive file system we have to look. An
// exact match wins when several names differ only by case.
QString FindFileAnyCase(const QString& folder, const QString& name) {
  const QDir dir(folder);
  if (QFileInfo(dir.filePath(name)).isFile()) return dir.filePath(name);
  const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& entry : entries) {
    if (entry.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
  }
  return {};
}

QString LogoName(const QString& extension) { return QStringLiteral("logo.") + extension; }

// A numeric setting the way the settings file holds it (plain decimal text).
// Anything else is an error rather than a silent default: the insertion must
// not stamp a logo placed by a value nobody wrote.
[[noreturn]] void Unreadable(const AppServices& services, const char* key) {
  throw DocumentError(
      Messages::LogoReglageIllisible(key, services.LireParamIni(QLatin1String(key)).trimmed()),
      DocumentErrors::kLogo);
}

double ReadNumber(const AppServices& services, const char* key) {
  bool ok = false;
  const double value = services.LireParamIni(QLatin1String(key)).trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(value)) Unreadable(services, key);
  return value;
}

// A 16-bit integer setting; a fractional value rounds halves to even.
int ReadInteger(const AppServices& services, const char* key) {
  const double value = std::nearbyint(ReadNumber(services, key));
  if (value < INT16_MIN || value > INT16_MAX) Unreadable(services, key);
  return static_cast<int>(value);
}

QString SettleExtension(const QString& folder, const QString& stored) {
  if (stored.isEmpty()) {
    return FindFileAnyCase(folder, LogoName(QStringLiteral("png"))).isEmpty()
               ? QString()
               : QStringLiteral("png");
  }
  // A stored "png" still gives way to a jpg, bmp or gif logo lying beside it.
  for (const char* extension : kOverridingExtensions) {
    if (!FindFileAnyCase(folder, LogoName(QLatin1String(extension))).isEmpty()) {
      return QLatin1String(extension);
    }
  }
  return stored;
}

// Whole pixels from a coordinate, halves to even; none for values no picture
// could use (they would overflow the painter's integer rectangles).
std::optional<int> ToPixels(double value) {
  constexpr double kLimit = 1 << 30;
  if (!std::isfinite(value) || std::fabs(value) >= kLimit) return std::nullopt;
  return static_cast<int>(std::nearbyint(value));
}

// The rectangle the logo is drawn into, in displayed photo coordinates (y
// down) turned by the angle about the photo's origin.
std::optional<QRect> PlaceLogo(int pw, int ph, int lw, int lh, const LogoSettings& settings) {
  // The logo's size and anchor are single-precision values; each expression
  // is evaluated in double as written and stored as float. The size percent is
  // divided by 100 first, so 7 % of 150 is 10.500000000000002 and rounds to 11.
  //
  // The second dimension is round(lw × H) / lh with a FLOATING division: the
  // product of two whole numbers is whole already, so the rounding inside does
  // nothing and W keeps its fraction (a 3 × 2 logo 5 high is 7.5 wide). That
  // fraction enters the centring and right-edge offsets below; only the
  // destination rectangle rounds W, halves to even (7.5 → 8, 12.5 → 12).
  float W = 0;
  float H = 0;
  if (pw <= ph) {
    H = static_cast<float>(std::nearbyint(settings.sizePercent / 100.0 * ph));
    W = static_cast<float>(std::nearbyint(double(lw) * H) / lh);
  } else {
    W = static_cast<float>(std::nearbyint(settings.sizePercent / 100.0 * pw));
    H = static_cast<float>(std::nearbyint(double(lh) * W) / lw);
  }

  float x = static_cast<float>(double(pw) * settings.positionX / 100.0);
  float y = static_cast<float>(double(ph) * settings.positionY / 100.0);
  if (settings.positionX >= 75) {
    x = static_cast<float>(x - double(W));
  } else if (settings.positionX >= 25) {
    x = static_cast<float>(x - double(W) / 2);
  }
  if (settings.positionY >= 75) {
    y = static_cast<float>(y - double(H));
  } else if (settings.positionY >= 25) {
    y = static_cast<float>(y - double(H) / 2);
  }

  if (settings.angleDegrees != 0) {
    // The drawing is rotated about the photo's origin; taking the anchor back
    // through the inverse rotation puts the logo's top-left corner on it, so
    // the logo turns about that corner. The rounding of the rectangle below
    // happens in the rotated system, as the anchor is drawn there.
    QTransform rotation;
    rotation.rotate(settings.angleDegrees);
    const QPointF world = rotation.inverted().map(QPointF(x, y));
    x = static_cast<float>(world.x());
    y = static_cast<float>(world.y());
  }

  const auto left = ToPixels(x);
  const auto top = ToPixels(y);
  const auto width = ToPixels(W);
  const auto height = ToPixels(H);
  if (!left || !top || !width || !height) return std::nullopt;
  return QRect(*left, *top, *width, *height);
}

// What PrepareLogo holds beside the logo as read: its 32-bit copy and the
// premultiplied one, 4 bytes a pixel each.
constexpr std::uint64_t kPreparedBytesPerPixel = 8;

// The logo as it is drawn: every pixel that is not grey has its alpha
// multiplied by the opacity (rounded, halves to even); grey, black and white
// pixels keep theirs, so a black-and-white signature stays crisp on a
// half-transparent coloured emblem. A conversion that cannot have its memory
// gives a null image: that throws std::bad_alloc, never draws nothing.
QImage PrepareLogo(const QImage& loaded, float opacity) {
  QImage logo = loaded.convertToFormat(QImage::Format_ARGB32);
  if (logo.isNull()) throw std::bad_alloc();
  if (opacity != 1.0f) {
    std::array<std::uint32_t, 256> alpha{};
    // A transparency far beyond 100 makes the opacity an infinity, and 0 times
    // an infinity is no number: a transparent pixel stays transparent.
    for (int a = 0; a < 256; ++a) {
      const double scaled = a == 0 ? 0.0 : std::nearbyint(a * double(opacity));
      alpha[a] = static_cast<std::uint32_t>(scaled < 0 ? 0 : scaled > 255 ? 255 : scaled) << 24;
    }
    for (int y = 0; y < logo.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(logo.scanLine(y));
      for (int x = 0; x < logo.width(); ++x) {
        const QRgb pixel = line[x];
        if (qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel)) continue;
        line[x] = (pixel & 0x00FFFFFFu) | alpha[qAlpha(pixel)];
      }
    }
  }
  // The painter blends premultiplied pixels; converting once here spares it
  // converting every span.
  QImage premultiplied = logo.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (premultiplied.isNull()) throw std::bad_alloc();
  return premultiplied;
}

}  // namespace

QString AnyLogoFile(const AppServices& services) {
  const QString folder = services.ParamFolder();
  for (const char* extension : kAnyLogoExtensions) {
    QString found = FindFileAnyCase(folder, LogoName(QLatin1String(extension)));
    if (!found.isEmpty()) return found;
  }
  return {};
}

LogoSettings LireReglagesLogo(const AppServices& services) {
  LogoSettings settings;
  const QString folder = services.ParamFolder();
  if (QFileInfo(folder + QStringLiteral("/fotavel.ini")).isFile()) {
    settings.extension = services.LireParamIni(QStringLiteral("Ext"));
    settings.sizePercent = ReadInteger(services, "Tll");
    // 1 − Trs/100 to one decimal is (100 − Trs)/10 tenths: computed that way
    // a whole Trs ending in 5 gives an exact half, which rounds to even
    // (Trs 25 → 0.8, Trs 35 → 0.6) instead of tipping on a binary fraction.
    const double transparency = ReadNumber(services, "Trs");
    settings.opacity = static_cast<float>(std::nearbyint((100.0 - transparency) / 10.0) / 10.0);
    settings.angleDegrees = static_cast<float>(ReadNumber(services, "Agl"));
    settings.positionX = ReadInteger(services, "DstX");
    settings.positionY = ReadInteger(services, "DstY");
  }
  settings.extension = SettleExtension(folder, settings.extension);
  return settings;
}

QString LogoFileFor(const AppServices& services, const LogoSettings& settings) {
  if (settings.extension.isEmpty()) return {};
  return FindFileAnyCase(services.ParamFolder(), LogoName(settings.extension));
}

void DessineLogo(const QString& logoPath, cDIBSection& photo, const LogoSettings& settings) {
  // Whatever keeps the logo off the photo, the user is told the logo file
  // would not do: the photo and the settings themselves were checked before.
  const auto refuse = [&logoPath] {
    throw io::FileError(DocumentErrors::kLogo, Messages::LogoIllisible(logoPath), logoPath,
                        "ModImage");
  };
  if (photo.empty()) refuse();
  // Read as its pixels are stored (a camera orientation tag in a JPEG logo is
  // not the placement the user chose), its memory and that of the copies made
  // below counted before any is taken: a logo too large for the memory left
  // fails as memory running out does (std::bad_alloc).
  QImage loaded;
  try {
    loaded = io::ReadImage(logoPath, kPreparedBytesPerPixel);
  } catch (const io::FileError&) {
    refuse();
  }

  const int pw = photo.width();
  const int ph = photo.height();
  const auto target = PlaceLogo(pw, ph, loaded.width(), loaded.height(), settings);
  if (!target) refuse();
  // A zero or negative size (a size percent of 0 or less) covers no pixel.
  if (target->width() <= 0 || target->height() <= 0) return;

  const QImage logo = PrepareLogo(loaded, settings.opacity);

  // The painter works straight on the photo's memory: 24-bit BGR rows with
  // the surface's padded stride. Storage row 0 is the displayed bottom row,
  // so the system is flipped to draw in displayed coordinates (y down); a
  // positive rotation in that system is clockwise on the displayed picture.
  // The wrapped image is photo-sized, so the painter clips to the pixels and
  // never reaches the row padding.
  QImage surface(photo.DIBSectionBitsPtr(), pw, ph, photo.BytesPerScanLine(),
                 QImage::Format_BGR888);
  QPainter painter;
  if (!painter.begin(&surface)) refuse();
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.translate(0, ph);
  painter.scale(1, -1);
  if (settings.angleDegrees != 0) {
    // Only a turned logo has slanted edges to smooth.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.rotate(settings.angleDegrees);
  }
  painter.drawImage(*target, logo, logo.rect());
  painter.end();
}

}  // namespace fotavel::ModImage
