// The mouse on the displayed photo: zooming while a button is held or with Ctrl and the wheel,
// scrolling with the wheel, and the area blur.
#include <QCoreApplication>
#include <QRubberBand>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <exception>
#include <stdexcept>

#include "dialogs/UiServices.h"
#include "shell/ViewRules.h"
#include "shell/frmImage.h"

namespace fotavel {

// Whatever goes wrong in a gesture ends it with one message. A failed blur has
// already given the photo back as it was; the tool is switched off so that
// the next click does not try again unasked.
void frmImage::SelectionGuarded(const std::function<void()>& gesture) {
  try {
    gesture();
  } catch (const std::exception&) {
    m_shapeRectangle->hide();
    m_timerZoomPlus->stop();
    m_timerZoomMoins->stop();
    m_host.ShowProgress(false);
    m_host.SetHourglass(false);
    SetMousePointer(kPointerNormal);
    m_host.Ui().Message(tr("Erreur de sélection (code 213)!"), MessageIcon::None,
                        MessageButtons::Ok, this);
  }
}

void frmImage::Image1_MouseDown(Qt::MouseButton button, double X, double Y) {
  m_lSourisX = view::RoundHalfEven(X);
  m_lSourisY = view::RoundHalfEven(Y);
  if (m_pointer == kPointerZoom) {
    // No step on the press itself: the first comes with the first tick.
    (button == Qt::LeftButton ? m_timerZoomPlus : m_timerZoomMoins)->start();
    picScrollBox_Resize();
  } else if (m_pointer == kPointerCross) {
    m_dSelX = X;
    m_dSelY = Y;
    Image1_MouseMove(Qt::LeftButton, X, Y);
    m_shapeRectangle->show();
  }
}

// The rectangle lives in the viewport, where the photo is shifted by the bars.
void frmImage::Image1_MouseMove(Qt::MouseButtons held, double X, double Y) {
  if (m_pointer != kPointerCross || !(held & Qt::LeftButton)) return;
  const double left = std::min(m_dSelX, X) - m_hscScroll->value() * TppX();
  const double top = std::min(m_dSelY, Y) - m_vscScroll->value() * TppY();
  m_shapeRectangle->setGeometry(view::RoundHalfEven(left / TppX()),
                                view::RoundHalfEven(top / TppY()),
                                view::RoundHalfEven(std::abs(X - m_dSelX) / TppX()),
                                view::RoundHalfEven(std::abs(Y - m_dSelY) / TppY()));
}

void frmImage::Image1_MouseUp(double X, double Y) {
  // The scroll bars catch up with a zoom the timers made.
  m_timerZoomPlus->stop();
  m_timerZoomMoins->stop();
  picScrollBox_Resize();
  if (m_pointer != kPointerCross) return;
  // A window whose photo could not be opened has nothing to blur, and no zoom
  // to convert with.
  if (m_document.Picture().empty() || !(m_dZoom > 0)) {
    throw std::runtime_error("no photo under the selection");
  }

  SetMousePointer(kPointerBusy);
  m_shapeRectangle->hide();
  const double releasedX = view::RoundHalfEven(X);
  const double releasedY = view::RoundHalfEven(Y);
  // Twips on the zoomed display to pixels of the photo, counted from its top.
  const auto toPixels = [this](double twips, double twipsPerPixel) {
    return view::RoundHalfEven(view::WholeDivide(twips, twipsPerPixel) * 100.0 / m_dZoom);
  };
  const int left = toPixels(std::min<double>(m_lSourisX, releasedX), TppX());
  const int top = toPixels(std::min<double>(m_lSourisY, releasedY), TppY());
  const int right = toPixels(std::max<double>(m_lSourisX, releasedX), TppX());
  const int bottom = toPixels(std::max<double>(m_lSourisY, releasedY), TppY());
  m_document.MasquerZone(left, top, right, bottom);
  // The tool serves once.
  SetMousePointer(kPointerNormal);
}

void frmImage::picScrollBox_Wheel(QWheelEvent* event) {
  event->accept();
  if (!(event->modifiers() & Qt::ControlModifier)) {
    // The bar scrolls itself, by as much as when the wheel turns over it. The
    // event sent on is not the platform's, so a bar at its end does not hand
    // it back up to us.
    const QPoint delta = event->angleDelta();
    QScrollBar* bar = std::abs(delta.x()) > std::abs(delta.y()) || m_vscScroll->isHidden()
                          ? m_hscScroll
                          : m_vscScroll;
    if (!bar->isHidden()) QCoreApplication::sendEvent(bar, event);
    return;
  }
  const int notches = view::WheelNotches(m_wheelPending, event->angleDelta().y());
  // A gesture under way on the photo (a rectangle being drawn, the zoom tool
  // held) goes on at the zoom it started with.
  if (notches == 0 || event->buttons() != Qt::NoButton || m_document.Picture().empty()) return;
  WheelZoom(notches, event->position());
}

// The wheel takes the steps of the zoom tool and stops where its steps stop,
// then moves the bars so that the photo's point under the pointer is still
// there, as far as the bars reach. The zoom tool, if on, stays on.
void frmImage::WheelZoom(int notches, QPointF at) {
  double zoom = m_dZoom;
  for (int i = 0; i < std::abs(notches); ++i) {
    if (notches > 0) {
      const double next = view::ZoomStepIn(zoom);
      // Past the largest widget the window system allows, Image1 would stop
      // growing while the bars went on counting.
      if (m_document.ImageWidth() * next / 100 > QWIDGETSIZE_MAX ||
          m_document.ImageHeight() * next / 100 > QWIDGETSIZE_MAX) {
        break;
      }
      zoom = next;
    } else {
      const std::optional<double> next = view::ZoomStepOut(zoom, DisplayedWidthTwips(zoom));
      if (!next) break;
      zoom = *next;
    }
  }
  if (zoom == m_dZoom) return;

  const QPoint before = m_image1->pos();
  const QSize beforeSize(std::max(1, m_image1->width()), std::max(1, m_image1->height()));
  m_dZoom = zoom;
  ShowAtZoom();
  ShowZoomLabel();
  picScrollBox_Resize();
  // The point at `at` lay at (at - before) on the old display; it now lies
  // at that times the growth, and the bar's value is how far that is left
  // of the pointer.
  const auto follow = [](QScrollBar* bar, double value) {
    bar->setValue(bar->isHidden() ? 0 : std::clamp(view::RoundHalfEven(value), 0, bar->maximum()));
  };
  follow(m_hscScroll, (at.x() - before.x()) * m_image1->width() / beforeSize.width() - at.x());
  follow(m_vscScroll, (at.y() - before.y()) * m_image1->height() / beforeSize.height() - at.y());
  PlaceImage1();
}

}  // namespace fotavel
