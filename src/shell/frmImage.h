// A document window: one photo shown at a zoom in a scrollable viewport, a view over its document.
#pragma once

#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

#include "document/DocumentObserver.h"
#include "document/PhotoDocument.h"
#include "shell/DocumentHost.h"
#include "surface/DisplayPyramid.h"

class QRubberBand;
class QScrollBar;
class QTimer;
class QToolButton;
class QWheelEvent;

namespace fotavel {

class CropTool;
class RedEyeTool;
class StraightenTool;

// `Image1`: shows the 100 % drawing stretched to its own size. It paints
// only the part that is exposed, scaled down from the smallest copy of the
// display pyramid that still covers its size.
class ImageDisplay : public QWidget {
  Q_OBJECT

 public:
  explicit ImageDisplay(QWidget* parent);
  // `levels` wraps each level of `display`, level 0 first (a null image for
  // a level left out); empty shows nothing.
  void SetPicture(const DisplayPyramid* display, std::vector<QImage> levels);

 signals:
  // Positions in pixels from the top-left of the displayed photo.
  void Pressed(Qt::MouseButton button, QPoint position);
  void Moved(Qt::MouseButtons held, QPoint position);
  void Released(Qt::MouseButton button, QPoint position);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  const DisplayPyramid* m_display = nullptr;
  std::vector<QImage> m_levels;
};

class frmImage : public QWidget, public DocumentObserver {
  Q_OBJECT

 public:
  // The pointer values that say which mouse tool is on.
  static constexpr int kPointerNormal = 0;
  static constexpr int kPointerCross = 2;
  static constexpr int kPointerBusy = 11;
  static constexpr int kPointerZoom = 99;

  explicit frmImage(DocumentHost& host);
  ~frmImage() override;

  PhotoDocument& Document() { return m_document; }
  const PhotoDocument& Document() const { return m_document; }

  // ---- The document's files (frmImage.cpp) ----
  // Loads the photo; a failure is reported in a message box and leaves the
  // window empty.
  bool OpenFile(const QString& sFile, bool bIsTemp = false);
  // The save dialog, then the BMP or JPEG write; true when a file was written.
  bool SaveFile();
  // The unsaved-changes question; true when the window may close.
  bool QuerySave();
  // The window became the active one.
  void Form_Activate();
  // The photo onto the system clipboard; false when the clipboard did not take it.
  bool CopyImage();
  // The photo's file (or, for a photo without one, its name and size) in a
  // small properties window.
  void Proprietes();
  // The main window is closing and this window's answer was already given.
  void ApproveClose(bool approved = true) { m_closeApproved = approved; }

  // ---- The view (frmImageView.cpp) ----
  double Zoom() const { return m_dZoom; }
  void TailleNormaleFct();
  void fenetre_Click();
  void ZoomBT_Click();
  void TimerZoomPlus_Timer();
  void TimerZoomMoins_Timer();
  int MousePointer() const { return m_pointer; }
  void SetMousePointer(int pointer);
  // Lays out the scroll bars and the view-button panel.
  void picScrollBox_Resize();
  // The size this window needs to show the whole photo at the present zoom
  // with neither scroll bar: the photo, the 2-pixel margin all round and the
  // room of the bars, which stand beside the photo, never over it.
  QSize SizeShowingPhoto() const;
  // For a window that cannot be given SizeShowingPhoto: the zoom comes down
  // to the largest whole percent that shows the whole photo in a window of
  // `size`, and is applied. Nothing when the photo already fits.
  void FitZoomWithin(QSize size);
  // Image1's size in twips as last set (fractions kept).
  double Image1WidthTwips() const { return m_image1Width; }
  double Image1HeightTwips() const { return m_image1Height; }
  ImageDisplay* Image1() const { return m_image1; }
  QScrollBar* hscScroll() const { return m_hscScroll; }
  QScrollBar* vscScroll() const { return m_vscScroll; }
  QWidget* picScrollBox() const { return m_picScrollBox; }
  // The 100 % drawing the display stretches, upright, in 32-bit pixels; null
  // while the view is half the photo's size or less, as nothing reads it then.
  const QImage& picImage() const { return m_picImage; }

  // Leaves whichever of the crop, straighten and red-eye modes is on, the
  // photo as it is: before a window that previews over the photo.
  void LeaveModes();
  // A mode's overlay laid over the whole of Image1 and shown with its strip,
  // the overlay taking the keys; and both hidden again, the keys and an
  // empty status line given back.
  void ShowMode(QWidget* overlay, QWidget* strip);
  // A mode's strip, hidden until ShowMode: over the top of the viewport
  // rather than beside it, so that the photo's room and the window's size
  // rules stay as they are; `keys` sees its key presses.
  QWidget* NewModeStrip(const QString& name, QObject* keys);
  void HideMode(QWidget* overlay, QWidget* strip);

  // ---- The crop mode (CropTool.cpp, CropGestures.cpp) ----
  // Starts the mode over the photo, or leaves it when it is on.
  void Recadrer_Click();
  // Null until the mode is first started.
  CropTool* Crop() const { return m_crop; }
  // The tools of the modes report through the window's host.
  DocumentHost& Host() { return m_host; }

  // ---- The straighten mode (StraightenTool.cpp holds the tool) ----
  // Turns the mode on, or leaves it when it is on.
  void Redresser_Click();
  // Null until the mode is first asked for.
  StraightenTool* Straighten() const { return m_straighten; }
  // What Image1 paints, for a tool's preview over it.
  const DisplayPyramid& Display() const { return m_display; }

  // ---- The red-eye mode (RedEyeTool.cpp holds the tool) ----
  // Turns the mode on, or leaves it when it is on.
  void YeuxRouges_Click();
  // Null until the mode is first asked for.
  RedEyeTool* RedEyes() const { return m_redEyes; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // DocumentObserver: what the document reports.
  void CaptionChanged(const QString& caption) override;
  void SetStatus(const QString& message, const QString& title, const QString& size) override;
  void ProgressMax(std::int32_t max) override;
  void ProgressValue(std::int32_t value) override;
  void ShowProgress(bool visible) override;
  void UndoAvailable(bool available) override;
  void RedoAvailable(bool available) override;
  void Busy(bool busy) override;
  void PictureOpened() override;
  void PictureChanged() override;
  void MemoryWarning(const QString& text) override;

  // The mouse tools on the photo (frmImageMouse.cpp); X and Y in twips from
  // the top-left of the displayed photo.
  void Image1_MouseDown(Qt::MouseButton button, double X, double Y);
  void Image1_MouseMove(Qt::MouseButtons held, double X, double Y);
  void Image1_MouseUp(double X, double Y);
  // Runs one mouse event's handling; a failure shows the selection error.
  void SelectionGuarded(const std::function<void()>& gesture);

  // View internals (frmImageView.cpp).
  void BuildView();
  void Render();
  // The display pyramid from the photo, as fine as Image1's size needs.
  void BuildDisplay();
  int ZoomAjuste() const;
  void AppliqueZoom();
  void SizeImage1();
  // The photo's width on screen at `zoom`, in twips.
  double DisplayedWidthTwips(double zoom) const;
  // After a zoom change: Image1 sized, and the display made finer if it must.
  void ShowAtZoom();
  void ShowZoomLabel();
  void Form_Resize();
  void PlaceImage1();
  // The wheel over the viewport: with Ctrl it zooms around `at` (viewport
  // pixels), without it scrolls.
  void picScrollBox_Wheel(QWheelEvent* event);
  void WheelZoom(int notches, QPointF at);
  double TppX() const;
  double TppY() const;

  DocumentHost& m_host;
  PhotoDocument m_document;
  bool m_closeApproved = false;

  double m_dZoom = 0;
  int m_pointer = kPointerNormal;
  double m_image1Width = 0;
  double m_image1Height = 0;
  // A touchpad's turns not yet making a whole wheel notch.
  int m_wheelPending = 0;
  // What is painted: the photo as the screen takes it, redrawn once per
  // change by Render, and again when a zoom first needs its full-size level;
  // m_picImage is that level.
  DisplayPyramid m_display;
  QImage m_picImage;
  std::int32_t m_lSourisX = 0;
  std::int32_t m_lSourisY = 0;
  double m_dSelX = 0;
  double m_dSelY = 0;

  QWidget* m_picScrollBox = nullptr;
  ImageDisplay* m_image1 = nullptr;
  QScrollBar* m_hscScroll = nullptr;
  QScrollBar* m_vscScroll = nullptr;
  QWidget* m_ptitMenuImage = nullptr;
  QRubberBand* m_shapeRectangle = nullptr;
  // Between commands: makes the next command's memory ready while the user looks.
  QTimer* m_prepareTimer = nullptr;
  QTimer* m_timerZoomPlus = nullptr;
  QTimer* m_timerZoomMoins = nullptr;
  // The crop mode, made the first time it is asked for.
  CropTool* m_crop = nullptr;

  // The straighten mode, made at its first use; a child of this window.
  StraightenTool* m_straighten = nullptr;

  // The red-eye mode, made at its first use; a child of this window.
  RedEyeTool* m_redEyes = nullptr;
};

}  // namespace fotavel
