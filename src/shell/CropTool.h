// The crop mode of a document window: the rectangle dragged on the photo (CropGestures.cpp), its
// strip of controls (CropTool.cpp).
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRegion>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "effects/CropGeometry.h"

class QComboBox;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace fotavel {

class frmImage;
class CropTool;

// Lies over Image1, exactly its size, and takes the mouse while the mode is
// on: Image1 and the other mouse tools never see a crop gesture. It paints
// only the dimming, the frame and the thirds; the photo under it is Image1's.
class CropOverlay : public QWidget {
  Q_OBJECT

 public:
  CropOverlay(CropTool& tool, QWidget* image1);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  CropTool& m_tool;
};

class CropTool : public QObject {
  Q_OBJECT

 public:
  // The ratios offered, in the order of the strip's list.
  enum Preset { kLibre, kOrigine, kCarre, kQuatreTiers, kTroisDemis, kSeizeNeuviemes, kTirage };

  explicit CropTool(frmImage& window);

  bool Active() const { return m_active; }
  // Shows the overlay and the strip over a photo with nothing chosen yet.
  void Start();
  // Hides them, the photo untouched.
  void Leave();
  // Crops the document to the rectangle and leaves; a failure is shown and
  // the mode stays on.
  void Apply();
  // The photo changed under the mode (undo, another command): what was
  // chosen belongs to the old photo.
  void PictureChanged();

  // The rectangle chosen, in photo pixels; none until one is drawn or set.
  std::optional<PixelRect> Rect() const { return m_rect; }
  // The ratio kept while dragging and typing, width : height; none for "Libre".
  std::optional<PixelSize> Ratio() const { return m_ratio; }
  void ChoosePreset(int preset);
  void SwapOrientation();

  CropOverlay* Overlay() const { return m_overlay; }
  QWidget* Strip() const { return m_strip; }

  // For the overlay: the rectangle on it, and the gestures in its pixels.
  std::optional<QRect> ShownRect() const;
  void Press(QPoint at);
  void Drag(QPoint at);
  void Hover(QPoint at);
  void Release();
  void DoubleClick(QPoint at);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Which part of the rectangle the pointer is on: edges as bits, or inside;
  // kNew, a press off it, which draws a new one.
  enum Grip : int {
    kNone = 0,
    kLeft = 1,
    kRight = 2,
    kTop = 4,
    kBottom = 8,
    kInside = 16,
    kNew = 32
  };

  void BuildStrip();
  void PlaceStrip();
  std::int32_t PhotoWidth() const;
  std::int32_t PhotoHeight() const;
  // A point of the overlay in photo pixels, not rounded, inside the photo.
  QPointF ToPhoto(QPoint at) const;
  QRect ToOverlay(const PixelRect& rect) const;
  int GripAt(QPoint at) const;
  // The rectangle from `anchor` to `to` (photo pixels), the ratio kept and
  // the photo's edges respected on the side the drag goes.
  PixelRect FromAnchor(QPoint anchor, QPoint to) const;
  // One side dragged to `to` with a ratio: the other follows, about its centre.
  PixelRect EdgeWithRatio(int grip, QPoint to) const;
  // A rectangle of width x height (the ratio applied from the side `typed`,
  // 0 width, 1 height), on the present one's centre, inside the photo.
  PixelRect AroundCentre(std::int32_t width, std::int32_t height, int typed) const;
  // Makes `rect` the chosen one, repainting only what it changes.
  void SetRect(const std::optional<PixelRect>& rect);
  void ShowSize();
  void TypedSize(int typed);

  frmImage& m_window;
  CropOverlay* m_overlay = nullptr;
  QWidget* m_strip = nullptr;
  QComboBox* m_presets = nullptr;
  QToolButton* m_swap = nullptr;
  QSpinBox* m_width = nullptr;
  QSpinBox* m_height = nullptr;
  QPushButton* m_apply = nullptr;
  QPushButton* m_cancel = nullptr;

  bool m_active = false;
  std::optional<PixelRect> m_rect;
  std::optional<PixelSize> m_ratio;
  int m_grip = kNone;
  // Where the gesture began: the fixed corner of a new rectangle, or the
  // pointer and the rectangle as they were for a move or a resize.
  QPoint m_anchor;
  QPointF m_pressed;
  PixelRect m_before;
};

}  // namespace fotavel
