// What a document tells the window (or the batch tool) that shows it.
#pragma once

#include <QString>
#include <cstdint>

namespace fotavel {

// Every member has an empty default so a listener takes only what it shows.
class DocumentObserver {
 public:
  virtual ~DocumentObserver() = default;

  // The caption: "Photo: " + name, with " modifiée" after a change.
  virtual void CaptionChanged(const QString& /*caption*/) {}
  // The three status texts; a field given as "#" keeps its text.
  virtual void SetStatus(const QString& /*message*/, const QString& /*title*/,
                         const QString& /*size*/) {}
  // The progress bar, driven by the engine's events.
  virtual void ProgressMax(std::int32_t /*max*/) {}
  virtual void ProgressValue(std::int32_t /*value*/) {}
  virtual void ShowProgress(bool /*visible*/) {}
  // An engine pass ended after `milliseconds`; the status text says the same.
  virtual void PassComplete(std::int32_t /*milliseconds*/) {}
  // Whether the undo button may be used for this document.
  virtual void UndoAvailable(bool /*available*/) {}
  // Whether an undone step can be given back.
  virtual void RedoAvailable(bool /*available*/) {}
  // The hourglass while an operation runs.
  virtual void Busy(bool /*busy*/) {}
  // A photo was opened or created: the view fits its zoom, then redraws.
  virtual void PictureOpened() {}
  // The photo changed (its size may have too): redraw it at the current zoom.
  virtual void PictureChanged() {}
  // The photo may not fit in the memory the machine has left.
  virtual void MemoryWarning(const QString& /*text*/) {}
};

}  // namespace fotavel
