// The photo document: names, opening, saving, status texts and the undo ring.
#include "document/PhotoDocument.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "document/DocumentError.h"
#include "document/LosslessMessages.h"
#include "document/Messages.h"
#include "io/FileError.h"
#include "io/PictureFiles.h"
#include "io/SystemMemory.h"
#include "surface/SurfaceMemory.h"

namespace fotavel {

PhotoDocument::PhotoDocument(AppServices& services, DocumentObserver* observer)
    : m_services(services), m_observer(observer), m_availableMemory(io::AvailableMemoryBytes) {
  m_cImage.SetListener(this);
}

PhotoDocument::~PhotoDocument() = default;

void PhotoDocument::UseOwnRandomSequence() {
  m_ownRandom = std::make_unique<ProgramRandomEngine>(kProgramRandomSeed);
  m_cImage.SetRandom(m_ownRandom.get());
}

DocumentObserver& PhotoDocument::Obs() { return m_observer ? *m_observer : m_silent; }

// ---- Names and state ----

void PhotoDocument::filename(const QString& sName) {
  m_sFileName = sName;
  // The folder separator of this platform plays the role the backslash had.
  const qsizetype slash = sName.lastIndexOf(QLatin1Char('/'));
  m_sFileTitle = slash < 0 ? sName : sName.mid(slash + 1);
}

void PhotoDocument::SetCaption(const QString& caption) {
  m_sCaption = caption;
  Obs().CaptionChanged(caption);
}

namespace {
// A reader or writer that throws something other than its file failure on
// the way (memory ran out inside Qt or the encoder) still fails as the file
// operation it was: the user reads the open or the save message, with the
// French description of what happened.
template <class FileWork>
void FileGuarded(std::uint32_t number, const QString& path, FileWork&& work) {
  try {
    work();
  } catch (const io::FileError&) {
    throw;
  } catch (...) {
    const Error described = DescribeFailure(std::current_exception());
    throw io::FileError(number, QString::fromStdString(described.description()), path,
                        "PhotoDocument");
  }
}

// `failure` as the failure of the file at `path`, otherwise unchanged.
io::FileError NamedFailure(const io::FileError& failure, const QString& path) {
  const std::string prefix = ProgramName() + '.';
  const std::string& source = failure.source();
  const std::string module = source.starts_with(prefix) ? source.substr(prefix.size()) : source;
  return io::FileError(failure.number(), failure.text(), path, module.c_str());
}
}  // namespace

void PhotoDocument::OpenFile(const QString& sFile, bool bIsTemp) {
  Obs().SetStatus(QCoreApplication::translate("PhotoDocument", "Ouverture de %1...").arg(sFile),
                  QStringLiteral("#"), QStringLiteral("#"));
  cDIBSection picture;
  io::PhotoMetadata metadata;
  io::JpegSource source;
  FileGuarded(io::FileErrors::kRead, sFile,
              [&] { picture = io::ReadPicture(sFile, &metadata, &source); });
  cDIBSection buffer;
  if (!buffer.Create(picture.width(), picture.height())) {
    throw io::FileError(io::FileErrors::kRead, Messages::kMemoireInsuffisante, sFile,
                        "PhotoDocument");
  }
  m_cDib = std::move(picture);
  m_cDibBuffer = std::move(buffer);
  // A picture handed over is a new photo, whatever file carried it here.
  m_metadata = bIsTemp ? io::PhotoMetadata() : std::move(metadata);
  m_jpegSource = bIsTemp ? io::JpegSource() : std::move(source);
  m_turns = io::BlockTransform();
  Obs().PictureOpened();
  QString name = sFile;
  if (bIsTemp) {
    name = QCoreApplication::translate("PhotoDocument", "Nouvelle photo %1")
               .arg(m_services.NewImageIndex());
    m_bDirty = true;
  }
  SetCaption(QCoreApplication::translate("PhotoDocument", "Photo: %1").arg(name));
  filename(name);
  if (!bIsTemp) {
    Obs().SetStatus(QCoreApplication::translate("PhotoDocument", "Ouvert %1").arg(name),
                    m_sFileTitle,
                    QStringLiteral("%1 x %2").arg(m_cDib.width()).arg(m_cDib.height()));
  }
}

QString PhotoDocument::SizeText() const {
  return QStringLiteral("%1 x %2 - %3").arg(m_cDib.width()).arg(m_cDib.height()).arg(m_sTaille);
}

void PhotoDocument::Activate() {
  if (m_sTaille.isEmpty()) m_sTaille = TailleMemoire();
  Obs().SetStatus(QStringLiteral("#"), m_sFileTitle, SizeText());
  Obs().UndoAvailable(m_iNbAnnuler != 1);
  Obs().RedoAvailable(!m_redo.empty());
}

QString PhotoDocument::TailleMemoire() {
  const std::uint64_t bytes = std::uint64_t(m_cDib.width()) * std::uint64_t(m_cDib.height()) * 3;
  const std::uint64_t available = m_availableMemory ? m_availableMemory() : 0;
  // 0 means the system did not say; no warning can be grounded on that.
  if (available != 0 && available < 5 * bytes) Obs().MemoryWarning(Messages::MemoryWarning());
  if (bytes < 1000000) {
    return QString::number(std::int64_t(std::nearbyint(double(bytes) / 1000.0))) +
           QCoreApplication::translate("PhotoDocument", "Ko");
  }
  return QString::number(std::int64_t(std::nearbyint(double(bytes) / 1000000.0))) +
         QCoreApplication::translate("PhotoDocument", "Mo");
}

// ---- Saving ----

namespace {
// Position of the extension's "." in the last path component, or -1.
qsizetype ExtensionDot(const QString& name) {
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot > name.lastIndexOf(QLatin1Char('/')) ? dot : -1;
}
}  // namespace

QString PhotoDocument::DefaultSaveName() const {
  // A "." among the first two characters does not start an extension; one
  // inside a folder name does not either.
  const qsizetype dot = ExtensionDot(m_sFileName);
  if (dot + 1 <= 2) return m_sFileName;
  // A photo of a format the program writes too (WebP, AVIF, TIFF) is offered
  // as it came, name and format. HEIC cannot be written: the JPEG it will
  // most likely become is named outright, so the dialog shows what will be
  // written.
  static const QStringList kKeptAsTheyCame = {QStringLiteral(".webp"), QStringLiteral(".avif"),
                                              QStringLiteral(".tif"), QStringLiteral(".tiff")};
  static const QStringList kUnsaved = {QStringLiteral(".heic"), QStringLiteral(".heif")};
  const QString extension = m_sFileName.mid(dot);
  if (kKeptAsTheyCame.contains(extension, Qt::CaseInsensitive)) return m_sFileName;
  const QString stem = m_sFileName.left(dot);
  return kUnsaved.contains(extension, Qt::CaseInsensitive) ? stem + QStringLiteral(".JPG") : stem;
}

SaveKind PhotoDocument::SaveKindFor(const QString& chosenName) {
  io::SaveFormat format = io::SaveFormat::Bmp;
  if (!io::FormatForName(chosenName, format)) return SaveKind::BmpInstead;
  switch (format) {
    case io::SaveFormat::Jpeg:
      return SaveKind::Jpeg;
    case io::SaveFormat::Bmp:
      return SaveKind::Bmp;
    case io::SaveFormat::Png:
      return SaveKind::Png;
    case io::SaveFormat::Webp:
      return SaveKind::Webp;
    case io::SaveFormat::Avif:
      return SaveKind::Avif;
    case io::SaveFormat::Tiff:
      return SaveKind::Tiff;
  }
  return SaveKind::BmpInstead;
}

QString PhotoDocument::BmpNameFor(const QString& chosenName) {
  const qsizetype dot = ExtensionDot(chosenName);
  return (dot < 0 ? chosenName : chosenName.left(dot)) + QStringLiteral(".bmp");
}

void PhotoDocument::SaveBitmap(const QString& chosenName) {
  const QString target =
      SaveKindFor(chosenName) == SaveKind::BmpInstead ? BmpNameFor(chosenName) : chosenName;
  FileGuarded(io::FileErrors::kWrite, target, [&] { io::WriteBmp(m_cDib, target); });
  filename(chosenName);
  SetCaption(QCoreApplication::translate("PhotoDocument", "Photo: %1").arg(chosenName));
  m_bDirty = false;
}

void PhotoDocument::FoncEregJPG(int quality, const QString& nomfich) {
  FileGuarded(io::FileErrors::kWrite, nomfich,
              [&] { io::WriteJpeg(m_cDib, nomfich, quality, m_metadata); });
  filename(nomfich);
  SetCaption(QCoreApplication::translate("PhotoDocument", "Photo: %1").arg(nomfich));
  m_bDirty = false;
}

void PhotoDocument::SavePicture(const QString& name, const io::EncodeSettings& settings) {
  FileGuarded(io::FileErrors::kWrite, name,
              [&] { io::WritePicture(m_cDib, name, settings, m_metadata); });
  filename(name);
  SetCaption(QCoreApplication::translate("PhotoDocument", "Photo: %1").arg(name));
  m_bDirty = false;
}

SizeFitted PhotoDocument::SaveWithinSize(const QString& name, const io::EncodeSettings& settings,
                                         std::uint64_t maxBytes) {
  SizeFitted fitted;
  FileGuarded(io::FileErrors::kWrite, name, [&] {
    const io::SizeFit fit = [&] {
      try {
        return io::EncodeWithinSize(m_cDib, settings, maxBytes, m_metadata);
      } catch (const io::FileError& failure) {
        // Encoded in memory, the file had no name yet: the failure of its
        // save names it, as every save failure does.
        if (!failure.path().isEmpty()) throw;
        throw NamedFailure(failure, name);
      }
    }();
    io::WriteEncoded(fit.file, name);
    fitted = {fit.quality, fit.halvings, fit.width, fit.height, fit.file.size()};
  });
  filename(name);
  SetCaption(QCoreApplication::translate("PhotoDocument", "Photo: %1").arg(name));
  m_bDirty = false;
  return fitted;
}

LosslessJpeg PhotoDocument::LosslessJpegSave() const {
  LosslessJpeg lossless;
  if (m_jpegSource.empty()) return lossless;
  try {
    const io::LosslessPlan plan = io::PlanLossless(
        m_jpegSource, io::Then(m_jpegSource.upright, m_turns.value_or(io::BlockTransform())));
    lossless.fromJpeg = true;
    lossless.perfect = plan.perfect;
    lossless.width = plan.width;
    lossless.height = plan.height;
    lossless.cutLeft = plan.cutLeft;
    lossless.cutTop = plan.cutTop;
  } catch (const io::FileError&) {
    // Blocks that cannot be moved at all (a photo smaller than one block):
    // the photo is saved the usual way.
    return lossless;
  }
  lossless.onlyTurned = m_turns.has_value();
  // Unchanged, or turned back to how it opened: nothing to move, and the
  // usual road (quality dialog, encoder) stays the one the user knows.
  lossless.possible = lossless.onlyTurned && !m_turns->IsIdentity();
  return lossless;
}

void PhotoDocument::SaveJpegLossless(const QString& name, bool trimEdges) {
  const auto refuse = [&name](const QString& reason, const char* module = "PhotoDocument") {
    throw io::FileError(io::FileErrors::kWrite, reason, name, module);
  };
  if (m_jpegSource.empty()) refuse(Messages::PasOuverteDUnJpeg());
  if (!m_turns) refuse(Messages::AutresChangements());
  try {
    FileGuarded(io::FileErrors::kWrite, name, [&] {
      io::WriteEncoded(io::TransformJpeg(m_jpegSource, io::Then(m_jpegSource.upright, *m_turns),
                                         trimEdges, m_metadata),
                       name);
    });
  } catch (const io::FileError& failure) {
    // The file layer's refusals of the blocks name no file: they name the
    // one that was not written, as every save failure does.
    if (!failure.path().isEmpty()) throw;
    refuse(failure.text(), "LosslessJpeg");
  }
  // Cut edges leave the photo in the window whole: the user goes on seeing
  // and working on every pixel, and only the file lacks the strips (the
  // question before the save said which). The photo counts as saved, as
  // after any save whose file holds less than the photo (a JPEG's loss);
  // opening the file again shows it cut.
  filename(name);
  SetCaption(QCoreApplication::translate("PhotoDocument", "Photo: %1").arg(name));
  m_bDirty = false;
}

// ---- Undo ----

void PhotoDocument::PrepareAnnuler() {
  Obs().Busy(true);
  // Every change of the photo comes here first: from now on the photo's lie
  // is unknown, unless the change is a quarter turn, which sets it itself.
  if (!m_undoEnabled) {
    m_turns.reset();
    return;
  }
  cDIBSection& slot = m_undo[m_iIndexAnnuler];
  if (!slot.Create(m_cDib.width(), m_cDib.height()) || !slot.LoadPictureBlt(m_cDib)) {
    slot.ClearUp();
    Obs().Busy(false);
    throw DocumentError(Messages::kMemoireInsuffisante, DocumentErrors::kOutOfMemory);
  }
  m_undoTurns[m_iIndexAnnuler] = std::exchange(m_turns, std::nullopt);
  Obs().UndoAvailable(true);
  if (m_iNbAnnuler < 6) ++m_iNbAnnuler;
  m_iIndexAnnuler = m_iIndexAnnuler == 4 ? 0 : m_iIndexAnnuler + 1;
}

void PhotoDocument::DropLastUndo(bool restore) {
  if (!m_undoEnabled) return;
  m_iIndexAnnuler = m_iIndexAnnuler == 0 ? 4 : m_iIndexAnnuler - 1;
  if (restore) m_cDib = std::move(m_undo[m_iIndexAnnuler]);
  m_undo[m_iIndexAnnuler].ClearUp();
  // Restored or never changed, the photo is the one the copy was taken of.
  m_turns = m_undoTurns[m_iIndexAnnuler];
  // A full ring had overwritten its oldest copy; that copy is gone either way.
  --m_iNbAnnuler;
  Obs().UndoAvailable(m_iNbAnnuler != 1);
}

cDIBSection PhotoDocument::SwapPicture(cDIBSection&& picture) {
  // The scratch surface is kept when the size is unchanged: a new one would
  // be fresh memory, whose first touch costs the next filter more than the
  // filter itself. A new one is had before anything changes.
  const bool keepBuffer =
      m_cDibBuffer.width() == picture.width() && m_cDibBuffer.height() == picture.height();
  cDIBSection buffer;
  if (!keepBuffer && !buffer.Create(picture.width(), picture.height())) {
    throw DocumentError(Messages::kMemoireInsuffisante, DocumentErrors::kOutOfMemory);
  }
  // The copy becomes the photo itself: no pixel needs to move.
  cDIBSection replaced = std::exchange(m_cDib, std::move(picture));
  if (!keepBuffer) m_cDibBuffer = std::move(buffer);
  return replaced;
}

void PhotoDocument::Annuler() {
  Obs().Busy(true);
  if (m_iNbAnnuler > 1) {
    const std::int32_t slot = m_iIndexAnnuler == 0 ? 4 : m_iIndexAnnuler - 1;
    try {
      m_redo.reserve(m_redo.size() + 1);
      m_redoTurns.reserve(m_redo.size() + 1);
      m_redo.push_back(SwapPicture(std::move(m_undo[slot])));
    } catch (...) {
      Obs().Busy(false);
      throw;
    }
    m_redoTurns.push_back(std::exchange(m_turns, m_undoTurns[slot]));
    --m_iNbAnnuler;
    m_iIndexAnnuler = slot;
    Render();
    Obs().RedoAvailable(true);
  }
  if (m_iNbAnnuler == 1) Obs().UndoAvailable(false);
  Obs().SetStatus(QStringLiteral("#"), m_sFileTitle, SizeText());
  Obs().Busy(false);
}

void PhotoDocument::Retablir() {
  if (m_redo.empty()) return;
  Obs().Busy(true);
  // The ring has room: an undo took from it each copy the redo list holds,
  // so the slot the photo goes into holds no copy still to be restored.
  try {
    m_undo[m_iIndexAnnuler] = SwapPicture(std::move(m_redo.back()));
  } catch (...) {
    Obs().Busy(false);
    throw;
  }
  m_redo.pop_back();
  m_undoTurns[m_iIndexAnnuler] = std::exchange(m_turns, m_redoTurns.back());
  m_redoTurns.pop_back();
  if (m_iNbAnnuler < 6) ++m_iNbAnnuler;
  m_iIndexAnnuler = m_iIndexAnnuler == 4 ? 0 : m_iIndexAnnuler + 1;
  Render();
  Obs().UndoAvailable(true);
  Obs().RedoAvailable(!m_redo.empty());
  Obs().SetStatus(QStringLiteral("#"), m_sFileTitle, SizeText());
  Obs().Busy(false);
}

void PhotoDocument::ForgetRedo() {
  if (m_redo.empty()) return;
  m_redo.clear();
  m_redoTurns.clear();
  Obs().RedoAvailable(false);
}

// ---- Between commands ----

bool PhotoDocument::PrepareNextCommand() {
  // About 10 ms of work where the host must supply the memory, far less
  // where it need not: the window stays quick to answer between slices.
  constexpr std::size_t kSlice = std::size_t{8} << 20;
  if (m_cDib.empty() || m_commandRunning) return true;
  // The scratch surface is taken at opening, but its pages are only met
  // when a filter first writes it. Its content between commands is scratch.
  std::uint8_t* buffer = m_cDibBuffer.DIBSectionBitsPtr();
  if (buffer != m_preparedBuffer) {
    m_preparedBuffer = buffer;
    m_bufferPrepared = 0;
  }
  const std::size_t bufferBytes = m_cDibBuffer.ByteCount();
  if (m_bufferPrepared < bufferBytes) {
    const std::size_t end = std::min(bufferBytes, m_bufferPrepared + kSlice);
    TouchSurfaceMemory(buffer, m_bufferPrepared, end);
    m_bufferPrepared = end;
    return false;
  }
  // A command takes a block for its undo copy until the ring is full (then
  // it reuses the oldest copy's), and a turn or an edge filter one more.
  const bool newUndoCopy = m_undoEnabled && m_undo[m_iIndexAnnuler].empty();
  return WarmSurfaceMemory(m_cDib.ByteCount(), newUndoCopy ? 2 : 1, kSlice);
}

// ---- Progress of the engine's passes ----

void PhotoDocument::InitProgress(std::int32_t lMax) {
  Obs().ProgressMax(lMax);
  Obs().ProgressValue(0);
  Obs().ShowProgress(true);
}

void PhotoDocument::Progress(std::int32_t lPosition) { Obs().ProgressValue(lPosition); }

void PhotoDocument::Complete(std::int32_t lTimeMs) {
  m_lastPassMs = lTimeMs;
  Obs().ShowProgress(false);
  Obs().PassComplete(lTimeMs);
  Obs().SetStatus(Messages::Realise(lTimeMs), QStringLiteral("#"), QStringLiteral("#"));
}

}  // namespace fotavel
