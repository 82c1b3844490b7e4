// The photo document: the photo, its scratch surface, engine, undo ring, names and every effect
// command.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "document/AppServices.h"
#include "document/DocumentObserver.h"
#include "effects/CropGeometry.h"
#include "effects/cImageProcessDIB.h"
#include "io/LosslessJpeg.h"
#include "io/PhotoMetadata.h"
#include "io/SaveFormats.h"
#include "surface/cDIBSection.h"

namespace fotavel {

// What the combination dialog hands over: 1 adds (source 2 weighted by
// multiplier2/offset2 into source 1 weighted by multiplier1/offset1),
// 2 keeps the darker pixel, 3 the lighter; anything else keeps source 1.
struct CombinationSettings {
  std::int32_t type = 1;
  std::int32_t multiplier1 = 1;
  std::int32_t offset1 = 0;
  std::int32_t multiplier2 = 1;
  std::int32_t offset2 = 0;
};

// How a name chosen in the save dialog is written.
enum class SaveKind { Jpeg, Bmp, BmpInstead, Png, Webp, Avif, Tiff };

// What a save within a size limit wrote (PhotoDocument::SaveWithinSize).
struct SizeFitted {
  int quality = 0;
  int halvings = 0;  // the file holds the photo halved this many times
  std::int32_t width = 0, height = 0;
  std::uint64_t bytes = 0;
};

// Whether the photo can be saved as a JPEG by moving the blocks of the JPEG
// it was opened from (PhotoDocument::LosslessJpegSave).
struct LosslessJpeg {
  // Opened from a JPEG, turned since by quarter turns only, to another lie.
  bool possible = false;
  // Every block moves whole; otherwise the edge blocks are lost.
  bool perfect = false;
  // The size the saved photo would have (its own size when perfect).
  std::int32_t width = 0, height = 0;
  // The strips of the photo as it lies that the cut would take: columns on
  // the left, rows at the top (0 when perfect).
  std::int32_t cutLeft = 0, cutTop = 0;
  // Opened from a JPEG whose blocks can be moved.
  bool fromJpeg = false;
  // Opened from a JPEG and changed since by quarter turns only, perhaps none
  // or back to its opening lie: SaveJpegLossless can write it, the blocks
  // copied as they are when nothing turned.
  bool onlyTurned = false;
};

// A document never opens a window: it reports to its observer and throws
// when a file cannot be read or written (io::FileError) or a command cannot
// run (ImageProcessError from the engine, DocumentError for its own
// refusals), leaving the photo as it was.
class PhotoDocument : private ProgressListener {
 public:
  explicit PhotoDocument(AppServices& services, DocumentObserver* observer = nullptr);
  PhotoDocument(const PhotoDocument&) = delete;
  PhotoDocument& operator=(const PhotoDocument&) = delete;
  ~PhotoDocument() override;

  void SetObserver(DocumentObserver* observer) { m_observer = observer; }

  // Gives the document a random sequence of its own, started from the seed a
  // fresh program starts with, in place of the program-wide one the
  // window's documents share: its diffusion then comes out the same whatever
  // other documents drew before it or draw beside it on other threads.
  void UseOwnRandomSequence();

  // ---- Names, files and state ----
  // Loads a picture file. bIsTemp: a picture handed over in a temporary file,
  // named "Nouvelle photo n" and marked unsaved. When the file cannot be read
  // (or the photo's memory cannot be had) throws io::FileError with
  // FileErrors::kRead and the reader's description; the document is then
  // unchanged.
  void OpenFile(const QString& sFile, bool bIsTemp);
  const QString& filename() const { return m_sFileName; }
  void filename(const QString& sName);
  const QString& FileTitle() const { return m_sFileTitle; }
  bool Dirty() const { return m_bDirty; }
  void Propre() { m_bDirty = false; }
  const QString& Caption() const { return m_sCaption; }
  std::int32_t ImageWidth() const { return m_cDib.width(); }
  std::int32_t ImageHeight() const { return m_cDib.height(); }
  const cDIBSection& Picture() const { return m_cDib; }
  // The metadata of the JPEG the photo was opened from, written again with
  // it by FoncEregJPG (a picture of another format, or handed over in a
  // temporary file, has none). The pixel size written follows the photo at
  // the time of saving, so turns and resizes need nothing here.
  bool HasMetadata() const { return !m_metadata.empty(); }
  void DropMetadata() { m_metadata.clear(); }

  // The window became active: size text (computed once, with the memory
  // check), status texts, undo availability.
  void Activate();
  // The photo's memory as "NKo" or "NMo"; warns the observer when the
  // machine has less than five times that available.
  QString TailleMemoire();
  // Where the available memory is read from (tests and the batch tool
  // replace it). Commands that can make a new photo of any size (a resize, a
  // combination) count all the memory they will take against it first.
  void SetAvailableMemoryProbe(std::function<std::uint64_t()> probe) {
    m_availableMemory = std::move(probe);
  }
  // Bytes of memory the document holds for its photo: the photo, its scratch
  // surface, the undo copies, the photos that could be given back and the
  // JPEG file kept for saving by blocks.
  std::uint64_t HeldBytes() const;

  // ---- Saving ----
  QString DefaultSaveName() const;
  static SaveKind SaveKindFor(const QString& chosenName);
  // The name a BmpInstead save really writes: the extension replaced by ".bmp".
  static QString BmpNameFor(const QString& chosenName);
  // Writes a BMP under chosenName (or BmpNameFor it, for other extensions).
  // On success the document takes chosenName and is clean; on failure
  // nothing changes and io::FileError with FileErrors::kWrite and the
  // writer's description is thrown.
  void SaveBitmap(const QString& chosenName);
  // Writes a JPEG at `quality` (45 … 100) under nomfich, same rules.
  void FoncEregJPG(int quality, const QString& nomfich);
  // Writes the photo in any format the program writes (io::WritePicture),
  // with its metadata, under `name`: same rules.
  void SavePicture(const QString& name, const io::EncodeSettings& settings);
  // Writes the photo at the highest quality, at most settings.quality, whose
  // file is at most maxBytes (io::EncodeWithinSize): same rules. The photo
  // itself stays as it is, even when the file holds it halved.
  SizeFitted SaveWithinSize(const QString& name, const io::EncodeSettings& settings,
                            std::uint64_t maxBytes);
  // Whether the photo can be saved as a JPEG without decoding and encoding
  // it again.
  LosslessJpeg LosslessJpegSave() const;
  // Saves the photo as a JPEG by moving the blocks of the JPEG it was opened
  // from (io::TransformJpeg), cutting off the edge blocks that cannot move
  // whole when `trimEdges` (refused otherwise): same rules. Only when
  // LosslessJpegSave().possible, or at least onlyTurned (the batch tool's
  // --sans-perte); otherwise refused with the French reason.
  void SaveJpegLossless(const QString& name, bool trimEdges);

  // ---- Undo ----
  // Stores a copy of the photo in the ring (five at most, the oldest dropped).
  void PrepareAnnuler();
  // Restores the most recent copy, if any, keeping the photo it replaces for
  // Retablir. The dirty flag and caption stay.
  void Annuler();
  bool CanUndo() const { return m_iNbAnnuler > 1; }
  // Gives back the photo the last Annuler replaced, the undo ring taking the
  // photo it replaces in turn; nothing when there is none. Any new change
  // forgets what could be given back. The dirty flag and caption stay, as
  // for an undo.
  void Retablir();
  bool CanRedo() const { return !m_redo.empty(); }
  // A document that nobody can step back in (the batch tool) keeps no
  // copies: each one costs a whole photo of memory and its copying.
  void SetUndoEnabled(bool enabled) { m_undoEnabled = enabled; }
  std::int32_t UndoCount() const { return m_iNbAnnuler - 1; }

  // ---- Between commands ----
  // Makes ready, a slice at a time, the memory the next command will take,
  // while the user looks at the photo: the pages of the scratch surface, and
  // pooled blocks for the next undo copy and for a new picture (a turn's, a
  // filter's temporary). Changes nothing the user can see. True once all is
  // ready; until then the caller calls again when it is idle. Called while a
  // command runs (from a progress report), it does nothing and says ready:
  // the scratch surface is then in use.
  bool PrepareNextCommand();

  // ---- Effect commands ----
  void ProcessImage(std::int32_t eType);
  // A custom size x size kernel, values given row by row from the top row of
  // the displayed picture, left to right.
  void ProcessKernel(std::int32_t size, std::int32_t weight, std::span<const std::int32_t> values);
  void Lighten(std::int32_t percentage = 20);
  void Fade(std::int32_t amount = 240);
  void saturation(std::int32_t Factor);
  void GrayScale();
  void CoupeNB();
  void BlackAndWhite();
  void Diffusion(std::int32_t Factor);
  void Piv_Gche();
  void Piv_Drt();
  void TrouvContours();
  void NegativeImage();
  // Resamples to lW x lH. The same size only marks the document modified; a
  // side below 1 is refused.
  void Resample(std::int32_t lW, std::int32_t lH);
  // Makes this (new) document the combination of two photos, cut to the
  // smaller width and height, each taken from its top-left corner.
  void Combine(const CombinationSettings& settings, const cDIBSection& source1,
               const cDIBSection& source2);
  void Applique_ciel();
  // Stamps the configured logo. False when no logo is ready (nothing done);
  // throws DocumentError (kLogo) when the settings cannot be read or the logo
  // cannot be found or drawn, the photo then unchanged and not marked.
  bool InsererLogo();
  // The area blur of the mouse tool: left, top, right, bottom in photo
  // pixels counted from the top-left. Leaves the caption as it was.
  void MasquerZone(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);

  // Keeps `rect` of the photo (pixels from its top-left corner). Refused
  // with a French DocumentError, the photo unchanged, unless the rectangle
  // is at least 1 x 1 and lies wholly inside the photo.
  void Recadrer(const PixelRect& rect);
  // Turns the photo by `degrees` (-45 … 45, positive clockwise) and keeps
  // the largest centred rectangle of its proportions with no empty corner;
  // with whiteCorners, the whole turned photo on a white ground. An angle of
  // 0 changes nothing and stores no undo step.
  void Redresser(double degrees, bool whiteCorners = false);

  // The adjustment window's settings applied to the photo, one undo step;
  // neutral settings change nothing and store no step. Settings outside
  // -100 … 100 are refused with a French DocumentError.
  void Regler(const AdjustSettings& settings);
  // The automatic improvement: levels stretched per channel, a gentle
  // saturation for a dull photo; one undo step. A photo it would not change
  // is left as it is, with no step, and false is returned.
  bool AmeliorationAuto();

  // The red pupil nearest (x, y) (photo pixels from the top-left) within
  // `radius` made dark and neutral: one undo step per eye. False, with the
  // photo unchanged and no undo step, when no red pupil lies there. A point
  // outside the photo or a radius below 1 is refused with a French
  // DocumentError.
  bool YeuxRouges(std::int32_t x, std::int32_t y, std::int32_t radius);

  // The web format: the longer side becomes 400, the other keeps the proportions.
  static std::pair<std::int32_t, std::int32_t> WebSize(std::int32_t width, std::int32_t height);

  // Milliseconds of the last engine pass, as the status line shows them.
  std::int32_t LastPassMs() const { return m_lastPassMs; }

 private:
  void InitProgress(std::int32_t lMax) override;
  void Progress(std::int32_t lPosition) override;
  void Complete(std::int32_t lTimeMs) override;

  // The frame every photo-changing command shares: undo copy, the work,
  // dirty flag, redraw, " modifiée" caption. When the work throws, the undo
  // copy is taken back and the error goes on to the caller.
  template <class Work>
  void RunCommand(Work&& work, bool markCaption = true);
  // Takes the copy the last PrepareAnnuler stored out of the ring; with
  // `restore` it becomes the photo again.
  void DropLastUndo(bool restore);
  // A change has been made: what Retablir could give back is gone.
  void ForgetRedo();
  // Makes `picture` the photo, with a scratch surface of its size, then
  // redraws and refreshes the size text. The photo it replaces is returned.
  cDIBSection SwapPicture(cDIBSection&& picture);
  void EnsureBuffer();
  // Runs `pass`, which makes the photo width x height, as one command: the
  // memory of the new photo counted first, a scratch surface of its size
  // made, the size text refreshed.
  void ReplaceByNewSize(std::int32_t width, std::int32_t height, const std::function<void()>& pass);
  // What the undo copy of the photo as it is will take (0 without undo).
  std::uint64_t UndoCopyBytes() const;
  // Throws the out-of-memory DocumentError for a new width x height photo
  // when `needed` bytes are more than the probe says are free.
  void RefuseUnlessFree(std::uint64_t needed, std::int32_t width, std::int32_t height);
  void Render();
  void SetCaption(const QString& caption);
  void MarkModified(bool markCaption);
  // A quarter turn (left: anticlockwise) as a command, its lie composed
  // with the one the photo had since it was opened.
  void TurnQuarter(bool left);
  QString SizeText() const;

  AppServices& m_services;
  DocumentObserver& Obs();
  DocumentObserver* m_observer;
  DocumentObserver m_silent;

  QString m_sFileName;
  QString m_sFileTitle;
  QString m_sTaille;
  QString m_sCaption = QStringLiteral("Photo");
  bool m_bDirty = false;

  cDIBSection m_cDib;
  io::PhotoMetadata m_metadata;
  // The JPEG the photo was opened from (empty for the other formats and for
  // a picture handed over), and how the photo lies against its upright
  // reading: known while the photo has only been turned by quarter turns
  // since, unknown (nothing) after any other change. Each undo copy and each
  // photo undone keeps the lie of its photo beside it. The source never
  // changes after opening, even when a save by blocks writes a new file: the
  // lies of the undo copies are counted from it, and a file whose edges were
  // cut no longer holds the whole photo the window shows.
  io::JpegSource m_jpegSource;
  std::optional<io::BlockTransform> m_turns;
  cDIBSection m_cDibBuffer;
  cImageProcessDIB m_cImage;
  std::unique_ptr<ProgramRandomEngine> m_ownRandom;

  std::array<cDIBSection, 5> m_undo;
  std::array<std::optional<io::BlockTransform>, 5> m_undoTurns;
  std::int32_t m_iNbAnnuler = 1;
  std::int32_t m_iIndexAnnuler = 0;
  bool m_undoEnabled = true;
  // The photos undone, the last undone last. An undo moves a copy from the
  // ring to here and a redo back, so the two never hold more than the ring's
  // five copies between them.
  std::vector<cDIBSection> m_redo;
  std::vector<std::optional<io::BlockTransform>> m_redoTurns;

  std::int32_t m_lastPassMs = 0;
  // A command is under way: its passes may let the window's timers run.
  bool m_commandRunning = false;
  // How much of the scratch surface at that address PrepareNextCommand has written.
  const std::uint8_t* m_preparedBuffer = nullptr;
  std::size_t m_bufferPrepared = 0;
  std::function<std::uint64_t()> m_availableMemory;
};

}  // namespace fotavel
