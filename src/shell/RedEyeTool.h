// The red-eye mode of a document window: an eye clicked or framed on the photo, corrected at once
// by the document, one undo step per eye.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <cstdint>

class QLabel;
class QPushButton;

namespace fotavel {

class DocumentHost;
class frmImage;
class RedEyeTool;

// Where on the photo an eye was shown: its point in photo pixels from the
// top-left, and the radius the pupil is looked for within.
struct EyePlace {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t radius = 1;
};

// Lies over Image1, the same size, and takes the mouse while the mode is on:
// a click is an eye, a rectangle dragged frames one. It shows, under the
// pointer, the circle a click would search.
class RedEyeOverlay : public QWidget {
  Q_OBJECT

 public:
  RedEyeOverlay(RedEyeTool& tool, QWidget* image1);

  // The eye under a click at `at`, or framed by a drag from `from` to `to`
  // (overlay pixels), on a photo of `photo` pixels shown at this overlay's size.
  EyePlace ClickedEye(QPoint at, QSize photo) const;
  EyePlace FramedEye(QPoint from, QPoint to, QSize photo) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  RedEyeTool& m_tool;
  bool m_pressed = false;
  QPoint m_from;
  QPoint m_to;
  bool m_pointerIn = false;
};

class RedEyeTool : public QObject {
  Q_OBJECT

 public:
  // A click searches this many screen pixels around it, whatever the zoom:
  // about a pupil's size when the eye is shown large enough to aim at.
  static constexpr int kClickRadius = 25;

  RedEyeTool(frmImage& window, DocumentHost& host);

  bool Active() const { return m_overlay != nullptr && m_overlay->isVisible(); }
  void Start();
  // Leaves the mode; the eyes corrected stay corrected, each its own undo step.
  void Leave();
  // Gives back the photo as it was when the mode started (the eyes corrected
  // since, undone one by one), then leaves.
  void Cancel();
  // Corrects the eye, by the document; the status says when none is there.
  void Correct(const EyePlace& eye);
  // The photo changed under the mode (an undo, another command): the eyes
  // corrected so far are no longer this mode's to give back.
  void PhotoChanged();

  frmImage& Window() { return m_window; }
  RedEyeOverlay* Overlay() const { return m_overlay; }
  QWidget* Strip() const { return m_strip; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build();
  void PlaceStrip();

  frmImage& m_window;
  DocumentHost& m_host;
  // The eyes corrected since the mode started, while they are the last undo steps.
  int m_corrected = 0;
  // The document is changing the photo for this mode: its report is not news.
  bool m_ownChange = false;
  // Children of the window's widgets, which may go before the tool does.
  QPointer<RedEyeOverlay> m_overlay;
  QPointer<QWidget> m_strip;
  QLabel* m_hint = nullptr;
  QPushButton* m_done = nullptr;
  QPushButton* m_cancel = nullptr;
};

}  // namespace fotavel
