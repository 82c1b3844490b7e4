// The document's effect commands: each runs one engine operation inside the undo/redraw frame.
#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <vector>

#include "document/DocumentError.h"
#include "document/Messages.h"
#include "document/ModImage.h"
#include "document/PhotoDocument.h"
#include "effects/CropGeometry.h"
#include "effects/cielbleu.h"
#include "surface/Resample.h"

namespace fotavel {

namespace {
// Marks a command as running for as long as it lasts, however it ends.
class CommandScope {
 public:
  explicit CommandScope(bool& running) : m_running(running) { m_running = true; }
  ~CommandScope() { m_running = false; }
  CommandScope(const CommandScope&) = delete;
  CommandScope& operator=(const CommandScope&) = delete;

 private:
  bool& m_running;
};
constexpr std::uint64_t kTooMuch = std::numeric_limits<std::uint64_t>::max();

// The bytes of a width x height surface, or kTooMuch for a size no surface can take.
std::uint64_t SurfaceBytes(std::int32_t width, std::int32_t height) {
  return cDIBSection::SizeFits(width, height)
             ? std::uint64_t(cDIBSection::StrideFor(width)) * std::uint64_t(height)
             : kTooMuch;
}

// A sum that stays at kTooMuch rather than wrapping round.
std::uint64_t Sum(std::initializer_list<std::uint64_t> parts) {
  std::uint64_t total = 0;
  for (const std::uint64_t part : parts) total = part > kTooMuch - total ? kTooMuch : total + part;
  return total;
}
}  // namespace

std::uint64_t PhotoDocument::UndoCopyBytes() const {
  return m_undoEnabled ? m_cDib.ByteCount() : 0;
}

std::uint64_t PhotoDocument::HeldBytes() const {
  std::uint64_t held = m_cDib.ByteCount() + m_cDibBuffer.ByteCount();
  for (const cDIBSection& copy : m_undo) held += copy.ByteCount();
  for (const cDIBSection& copy : m_redo) held += copy.ByteCount();
  // One file shared by every copy's lie, kept for as long as the photo is.
  if (!m_jpegSource.empty()) held += std::uint64_t(m_jpegSource.bytes->size());
  return held;
}

void PhotoDocument::RefuseUnlessFree(std::uint64_t needed, std::int32_t width,
                                     std::int32_t height) {
  // New surfaces are mapped lazily: a size the machine cannot hold would
  // only fail once its pages are written, by which time the system may end
  // the program. What a command takes is therefore counted whole against
  // what is free before the first byte of it is asked for.
  const std::uint64_t available = m_availableMemory ? m_availableMemory() : 0;
  // 0 means the system did not say: only a size no surface can take is refused then.
  if (needed == kTooMuch || (available != 0 && needed > available)) {
    throw DocumentError(
        QCoreApplication::translate(
            "PhotoDocument",
            "Mémoire insuffisante pour une photo de %1 x %2 pixels : la photo n'a pas "
            "été modifiée.")
            .arg(width)
            .arg(height),
        DocumentErrors::kOutOfMemory);
  }
}

void PhotoDocument::Render() {
  Obs().PictureChanged();
  Obs().Busy(false);
}

void PhotoDocument::EnsureBuffer() {
  if (m_cDibBuffer.width() == m_cDib.width() && m_cDibBuffer.height() == m_cDib.height()) return;
  if (!m_cDibBuffer.Create(m_cDib.width(), m_cDib.height())) {
    throw DocumentError(Messages::kMemoireInsuffisante, DocumentErrors::kOutOfMemory);
  }
}

void PhotoDocument::MarkModified(bool markCaption) {
  m_bDirty = true;
  if (markCaption)
    SetCaption(QCoreApplication::translate("PhotoDocument", "Photo: %1 modifiée").arg(m_sFileName));
}

template <class Work>
void PhotoDocument::RunCommand(Work&& work, bool markCaption) {
  if (m_cDib.empty()) throw DocumentError(Messages::kSelectionnezPhoto);
  const CommandScope running(m_commandRunning);
  EnsureBuffer();
  PrepareAnnuler();
  try {
    work();
  } catch (...) {
    // The work may have changed the photo before it failed (a turn whose
    // new scratch surface could not be had): the copy just taken becomes the
    // photo again, and leaves the ring, which holds only real steps.
    DropLastUndo(true);
    Obs().Busy(false);
    throw;
  }
  ForgetRedo();
  Render();
  MarkModified(markCaption);
}

void PhotoDocument::ProcessImage(std::int32_t eType) {
  RunCommand([&] {
    m_cImage.FilterType(eType);
    m_cImage.ProcessImage(m_cDib, m_cDibBuffer);
  });
}

void PhotoDocument::ProcessKernel(std::int32_t size, std::int32_t weight,
                                  std::span<const std::int32_t> values) {
  // Set the kernel up before the undo copy: the engine refuses a bad size or
  // weight here, with nothing stored or changed.
  m_cImage.FilterType(12);
  m_cImage.FilterArraySize(size);
  if (values.size() != std::size_t(size) * std::size_t(size)) {
    throw DocumentError(QCoreApplication::translate(
                            "PhotoDocument", "Le noyau de %1 x %1 attend %2 valeurs, pas %3.")
                            .arg(size)
                            .arg(size * size)
                            .arg(values.size()));
  }
  const std::int32_t half = size / 2;
  // Values come row by row from the displayed top; a positive row offset of
  // the engine's kernel is the row above on the displayed picture.
  for (std::int32_t r = 0; r < size; ++r) {
    for (std::int32_t c = 0; c < size; ++c)
      m_cImage.FilterValue(c - half, half - r, values[r * size + c]);
  }
  m_cImage.FilterWeight(weight);
  RunCommand([&] { m_cImage.ProcessImage(m_cDib, m_cDibBuffer); });
}

void PhotoDocument::Lighten(std::int32_t percentage) {
  RunCommand([&] { m_cImage.Lighten(m_cDib, percentage); });
}

void PhotoDocument::Fade(std::int32_t amount) {
  RunCommand([&] { m_cImage.Fade(m_cDib, amount); });
}

void PhotoDocument::saturation(std::int32_t Factor) {
  RunCommand([&] { m_cImage.Sature(m_cDib, Factor); });
}

void PhotoDocument::GrayScale() {
  RunCommand([&] { m_cImage.GrayScale(m_cDib); });
}

void PhotoDocument::CoupeNB() {
  RunCommand([&] { m_cImage.Eff_NoirEtBlancCoupe(m_cDib); });
}

void PhotoDocument::BlackAndWhite() {
  RunCommand([&] { m_cImage.BlackAndWhite(m_cDib, m_cDibBuffer); });
}

void PhotoDocument::Diffusion(std::int32_t Factor) {
  RunCommand([&] { m_cImage.Diffusion(m_cDib, Factor); });
}

void PhotoDocument::TurnQuarter(bool left) {
  // The undo copy forgets the lie (PrepareAnnuler); a turn alone knows the
  // new one. A turn that fails gets the old one back with its photo.
  const std::optional<io::BlockTransform> before = m_turns;
  RunCommand([&] {
    m_cImage.Tourner(m_cDib, left);
    EnsureBuffer();
    if (before) m_turns = io::Then(*before, {left ? 3 : 1, false});
  });
  // Width and height swap: the status shows the turned size at once, not at
  // the window's next activation. The memory text stays, the bytes being the same.
  Obs().SetStatus(QStringLiteral("#"), m_sFileTitle, SizeText());
}

void PhotoDocument::Piv_Gche() { TurnQuarter(true); }

void PhotoDocument::Piv_Drt() { TurnQuarter(false); }

void PhotoDocument::TrouvContours() {
  // 3 x 3, divisor 1, bias 0, then 8 in the centre and -1 around it.
  static constexpr std::int32_t kEdges[] = {3, 3, 1, 0, -1, -1, -1, -1, 8, -1, -1, -1, -1};
  RunCommand([&] { m_cImage.Eff_Mathematique(m_cDib, kEdges); });
}

void PhotoDocument::NegativeImage() {
  RunCommand([&] {
    m_cImage.AddImages(m_cDib, m_cDibBuffer, -1, -255, -255, -255, 0, 0, 0, 0);
    if (!m_cDib.LoadPictureBlt(m_cDibBuffer)) {
      throw DocumentError(Messages::kMemoireInsuffisante, DocumentErrors::kOutOfMemory);
    }
  });
}

void PhotoDocument::Resample(std::int32_t lW, std::int32_t lH) {
  if (m_cDib.empty()) throw DocumentError(Messages::kSelectionnezPhoto);
  if (lW < 1 || lH < 1) {
    throw DocumentError(
        QCoreApplication::translate(
            "PhotoDocument",
            "Impossible de retailler la photo en %1 x %2 : chaque côté doit mesurer au "
            "moins 1 pixel.")
            .arg(lW)
            .arg(lH));
  }
  if (lW != m_cDib.width() || lH != m_cDib.height()) {
    // Until the new photo takes the old one's place, everything lives at
    // once: the photo and its scratch surface, the undo copy, the new photo
    // and the scratch surface of its size, and the resampler's tables.
    const std::uint64_t surface = SurfaceBytes(lW, lH);
    RefuseUnlessFree(Sum({surface, surface, UndoCopyBytes(), ResampleWorkBytes(lW)}), lW, lH);
    RunCommand([&] {
      auto resampled = m_cDib.Resample(lH, lW);
      cDIBSection buffer;
      if (!resampled || !buffer.Create(lW, lH))
        throw DocumentError(Messages::kMemoireInsuffisante, DocumentErrors::kOutOfMemory);
      m_cDib = std::move(*resampled);
      m_cDibBuffer = std::move(buffer);
    });
  }
  MarkModified(true);
  // A fresh size text for the status; the cached one of the first activation stays.
  Obs().SetStatus(
      QStringLiteral("#"), m_sFileTitle,
      QStringLiteral("%1 x %2 - %3").arg(m_cDib.width()).arg(m_cDib.height()).arg(TailleMemoire()));
}

void PhotoDocument::ReplaceByNewSize(std::int32_t width, std::int32_t height,
                                     const std::function<void()>& pass) {
  // The new photo is built beside the old one, which stays with its scratch
  // surface and undo copy until the new one and a scratch surface of its
  // size take their place.
  const std::uint64_t surface = SurfaceBytes(width, height);
  RefuseUnlessFree(Sum({surface, surface, UndoCopyBytes()}), width, height);
  RunCommand([&] {
    pass();
    cDIBSection buffer;
    if (!buffer.Create(m_cDib.width(), m_cDib.height()))
      throw DocumentError(Messages::kMemoireInsuffisante, DocumentErrors::kOutOfMemory);
    m_cDibBuffer = std::move(buffer);
  });
  Obs().SetStatus(
      QStringLiteral("#"), m_sFileTitle,
      QStringLiteral("%1 x %2 - %3").arg(m_cDib.width()).arg(m_cDib.height()).arg(TailleMemoire()));
}

void PhotoDocument::Recadrer(const PixelRect& rect) {
  if (m_cDib.empty()) throw DocumentError(Messages::kSelectionnezPhoto);
  if (!RectInside(rect, m_cDib.width(), m_cDib.height())) {
    throw DocumentError(
        QCoreApplication::translate("PhotoDocument",
                                    "Impossible de recadrer la photo de %1 x %2 pixels : le "
                                    "rectangle de %3 x %4 pixels en (%5, %6) en sort.")
            .arg(m_cDib.width())
            .arg(m_cDib.height())
            .arg(rect.width)
            .arg(rect.height)
            .arg(rect.left)
            .arg(rect.top));
  }
  ReplaceByNewSize(rect.width, rect.height, [&] { m_cImage.Crop(m_cDib, rect); });
}

void PhotoDocument::Redresser(double degrees, bool whiteCorners) {
  if (m_cDib.empty()) throw DocumentError(Messages::kSelectionnezPhoto);
  if (!(std::abs(degrees) <= kMaxStraightenDegrees)) {
    throw DocumentError(QCoreApplication::translate(
        "PhotoDocument", "Impossible de redresser la photo : l'angle va de -45 à 45 degrés."));
  }
  // Nothing to turn: no undo step, and the photo is not marked.
  if (degrees == 0) return;
  const PixelSize size = StraightenedSize(m_cDib.width(), m_cDib.height(), degrees, whiteCorners);
  ReplaceByNewSize(size.width, size.height,
                   [&] { m_cImage.Straighten(m_cDib, degrees, whiteCorners); });
}

void PhotoDocument::Regler(const AdjustSettings& settings) {
  if (m_cDib.empty()) throw DocumentError(Messages::kSelectionnezPhoto);
  if (!settings.InRange()) {
    throw DocumentError(QCoreApplication::translate(
        "PhotoDocument", "Impossible de régler la photo : chaque réglage va de -100 à 100."));
  }
  if (settings.Neutral()) return;
  RunCommand([&] { m_cImage.Adjust(m_cDib, settings); });
}

bool PhotoDocument::AmeliorationAuto() {
  if (m_cDib.empty()) throw DocumentError(Messages::kSelectionnezPhoto);
  const AutoLevels levels = AutoLevelsFor(ChannelHistogramOf(m_cDib));
  if (levels == AutoLevels{}) return false;
  RunCommand([&] { m_cImage.AutoImprove(m_cDib, levels); });
  return true;
}

bool PhotoDocument::YeuxRouges(std::int32_t x, std::int32_t y, std::int32_t radius) {
  if (m_cDib.empty()) throw DocumentError(Messages::kSelectionnezPhoto);
  if (x < 0 || y < 0 || x >= m_cDib.width() || y >= m_cDib.height() || radius < 1) {
    throw DocumentError(QCoreApplication::translate("PhotoDocument",
                                                    "Impossible de corriger les yeux rouges en "
                                                    "(%1, %2) sur un rayon de %3 pixels : le "
                                                    "point doit être dans la photo de %4 x %5 "
                                                    "pixels, et le rayon d'au moins 1 pixel.")
                            .arg(x)
                            .arg(y)
                            .arg(radius)
                            .arg(m_cDib.width())
                            .arg(m_cDib.height()));
  }
  // Looked for before the undo copy: a click beside the eye leaves no step
  // to undo and the photo unmarked. The search is small beside the copy.
  if (m_cImage.RedPupilSize(m_cDib, x, y, radius) == 0) return false;
  RunCommand([&] { m_cImage.RedEyes(m_cDib, x, y, radius); });
  return true;
}

std::pair<std::int32_t, std::int32_t> PhotoDocument::WebSize(std::int32_t width,
                                                             std::int32_t height) {
  const auto scaled = [](std::int32_t side, std::int32_t other) {
    return std::int32_t(std::nearbyint(double(std::int64_t(side) * 400) / double(other)));
  };
  if (width <= height) return {scaled(width, height), 400};
  return {400, scaled(height, width)};
}

void PhotoDocument::Combine(const CombinationSettings& settings, const cDIBSection& source1,
                            const cDIBSection& source2) {
  if (source1.empty() || source2.empty()) throw DocumentError(Messages::kSelectionnezPhoto);
  const std::int32_t width = std::min(source1.width(), source2.width());
  const std::int32_t height = std::min(source1.height(), source2.height());
  // The result and its scratch surface are made beside the photo and its
  // undo copy.
  const std::uint64_t surface = SurfaceBytes(width, height);
  RefuseUnlessFree(Sum({surface, surface, m_cDib.empty() ? 0 : UndoCopyBytes()}), width, height);
  const CommandScope running(m_commandRunning);
  // A new document has no photo yet: there is nothing an undo could give back.
  // Either source may be this document's own photo: both are copied into new
  // surfaces before the photo is replaced.
  if (!m_cDib.empty()) PrepareAnnuler();
  // The result is made beside the photo, which it replaces only once complete.
  cDIBSection picture, buffer;
  try {
    if (!picture.Create(width, height) || !buffer.Create(width, height) ||
        !picture.LoadPictureBlt(source1) || !buffer.LoadPictureBlt(source2)) {
      throw DocumentError(Messages::kMemoireInsuffisante, DocumentErrors::kOutOfMemory);
    }
    switch (settings.type) {
      case 1:
        m_cImage.AddImages(buffer, picture, settings.multiplier2, settings.offset2,
                           settings.offset2, settings.offset2, settings.multiplier1,
                           settings.offset1, settings.offset1, settings.offset1);
        break;
      case 2:  // keeps the darker pixel
        m_cImage.AddLightest(buffer, picture);
        break;
      case 3:  // keeps the lighter pixel
        m_cImage.AddDarkest(buffer, picture);
        break;
      default:
        break;
    }
  } catch (...) {
    if (!m_cDib.empty()) DropLastUndo(false);
    Obs().Busy(false);
    throw;
  }
  m_cDib = std::move(picture);
  m_cDibBuffer = std::move(buffer);
  // A new photo: no file's blocks hold it.
  m_turns.reset();
  ForgetRedo();
  filename(QCoreApplication::translate("PhotoDocument", "Nouvelle photo %1")
               .arg(m_services.NewImageIndex()));
  SetCaption(QCoreApplication::translate("PhotoDocument", "Photo: %1").arg(m_sFileName));
  m_bDirty = true;
  Obs().PictureOpened();
  Render();
}

void PhotoDocument::Applique_ciel() {
  RunCommand([&] {
    cielbleu::PaintGradient(m_cDibBuffer);
    m_cImage.AddLightest(m_cDibBuffer, m_cDib);
  });
}

bool PhotoDocument::InsererLogo() {
  if (m_cDib.empty()) throw DocumentError(Messages::kSelectionnezPhoto);
  if (ModImage::AnyLogoFile(m_services).isEmpty()) {
    if (m_services.mnuParametrage_Click) m_services.mnuParametrage_Click();
  } else {
    m_services.LogoPret = true;
  }
  if (!m_services.LogoPret) {
    Obs().Busy(false);
    return false;
  }
  // Unreadable settings or a missing logo throw here, before anything is
  // stored or changed: a photo left as it was must not look stamped.
  const LogoSettings settings = ModImage::LireReglagesLogo(m_services);
  const QString logo = ModImage::LogoFileFor(m_services, settings);
  if (logo.isEmpty()) {
    // With no stored extension logo.png was the one looked for.
    const QString extension =
        settings.extension.isEmpty() ? QStringLiteral("png") : settings.extension;
    throw DocumentError(Messages::LogoAbsent(QStringLiteral("logo.") + extension),
                        DocumentErrors::kLogo);
  }
  RunCommand([&] { ModImage::DessineLogo(logo, m_cDib, settings); });
  return true;
}

void PhotoDocument::MasquerZone(std::int32_t left, std::int32_t top, std::int32_t right,
                                std::int32_t bottom) {
  RunCommand([&] { m_cImage.FlouLocal(m_cDib, left, top, right, bottom); }, false);
}

}  // namespace fotavel
