// What a document window needs from the window that holds it, and nothing more.
#pragma once

#include <QString>
#include <cstdint>

#include "shell/ViewRules.h"

namespace fotavel {

class AppServices;
class frmImage;
class UiServices;

// A document window never knows the main window: it shows its photo and
// reports through this. The main window is the host the program uses; tests
// build a document window over a host of their own.
class DocumentHost {
 public:
  virtual ~DocumentHost() = default;

  // Message boxes and file dialogs, and the program's small services
  // (numbering of new photos, settings, temporary files).
  virtual UiServices& Ui() = 0;
  virtual AppServices& Services() = 0;

  // The three status texts; a field given as "#" keeps its text.
  virtual void SetStatus(const QString& message, const QString& title, const QString& size) = 0;
  // The zoom as the status area shows it ("Zoom: 50 %").
  virtual void ShowZoom(const QString& text) = 0;
  // The progress bar of an effect under way.
  virtual void ProgressMax(std::int32_t max) = 0;
  virtual void ProgressValue(std::int32_t value) = 0;
  virtual void ShowProgress(bool visible) = 0;
  // The hourglass while an operation runs.
  virtual void SetHourglass(bool busy) = 0;
  // Whether the document can step back and forth.
  virtual void UndoState(bool canUndo, bool canRedo) = 0;
  // The room a photo is fitted to when it opens, in twips.
  virtual view::Room RoomForPhoto() const = 0;

  // Asks the quality (of the JPEG, WebP or AVIF that `path`'s extension
  // names) and has `document` write `path`; false when nothing was written.
  virtual bool sauvjpgFct(const QString& path, frmImage& document) = 0;
  // The photos go back to the poster editor rather than to files: the close
  // question asks whether to import them, and Yes hands the photo back
  // (RendrePhoto, false with the reason shown when it could not be).
  virtual bool EditorMode() const = 0;
  virtual bool RendrePhoto(frmImage& document) = 0;
  // The window is closing, its question answered.
  virtual void DocumentClosing(frmImage& document) = 0;
};

}  // namespace fotavel
