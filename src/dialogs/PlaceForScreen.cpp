// Dialogs placed by hand in pixels of a 96 dpi screen, grown with their fonts on another screen.
#include "dialogs/PlaceForScreen.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QRect>
#include <QWidget>
#include <cmath>

namespace fotavel {
namespace {

int Scaled(int pixels, double factor) { return static_cast<int>(std::nearbyint(pixels * factor)); }

// The edges are scaled rather than the lengths, so that controls that touch
// still touch and controls that stood apart do not come to overlap.
QRect Scaled(const QRect& place, double fx, double fy) {
  const int left = Scaled(place.x(), fx);
  const int top = Scaled(place.y(), fy);
  return QRect(left, top, Scaled(place.x() + place.width(), fx) - left,
               Scaled(place.y() + place.height(), fy) - top);
}

// The containers a dialog fills by hand (a picture with texts laid over it, a
// group). Qt's composite controls, a combo box or a scroll area, place their
// own parts.
bool HoldsPlacedControls(const QWidget& widget) {
  const QMetaObject* type = widget.metaObject();
  return qobject_cast<const QLabel*>(&widget) != nullptr ||
         qobject_cast<const QGroupBox*>(&widget) != nullptr || type == &QWidget::staticMetaObject ||
         type == &QFrame::staticMetaObject;
}

void ScaleControls(QWidget& parent, double fx, double fy) {
  if (parent.layout() != nullptr) return;
  for (QObject* child : parent.children()) {
    auto* control = qobject_cast<QWidget*>(child);
    if (control == nullptr || control->isWindow()) continue;
    control->setGeometry(Scaled(control->geometry(), fx, fy));
    if (HoldsPlacedControls(*control)) ScaleControls(*control, fx, fy);
  }
}

}  // namespace

void PlaceForScreen(QWidget& dialog) {
  const double fx = dialog.logicalDpiX() / 96.0;
  const double fy = dialog.logicalDpiY() / 96.0;
  if ((fx == 1 && fy == 1) || fx <= 0 || fy <= 0) return;
  ScaleControls(dialog, fx, fy);
  const QSize size(Scaled(dialog.width(), fx), Scaled(dialog.height(), fy));
  if (dialog.minimumSize() == dialog.maximumSize()) {
    dialog.setFixedSize(size);
  } else {
    dialog.resize(size);
  }
}

}  // namespace fotavel
