// The mouse on the displayed photo: zooming while a button is held, and the area blur.
#include <QRubberBand>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "shell/ViewRules.h"
#include "shell/frmImage.h"
#include "shell/mfrmMain.h"

namespace fotavel {

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
  m_main.Guarded([&] { m_document.MasquerZone(left, top, right, bottom); });
  // The tool serves once.
  SetMousePointer(kPointerNormal);
}

}  // namespace fotavel
