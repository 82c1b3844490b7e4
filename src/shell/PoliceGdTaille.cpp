// The large-font adaptation: a window's controls scaled by 96 / the screen's dots per inch, once.
#include "shell/PoliceGdTaille.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QWidget>
#include <cmath>

#include "controls/bouton.h"

namespace fotavel {

namespace {

std::function<Resolution(const QWidget&)>& ResolutionSource() {
  static std::function<Resolution(const QWidget&)> source;
  return source;
}

// What is scaled on a control, by the kind of control it is.
enum class Kind {
  Other,     // left as it is; its children are visited
  Line,      // its ends
  WithFont,  // place, size and font
  Frame,     // place and size only
  Picture,   // place, and size only when it stretches its picture
  Bouton,    // place, size, font, then its caption is fitted
};

Kind KindOf(const QWidget& widget) {
  // Image buttons are known by their type name, whatever namespace holds it.
  const QString type = QString::fromLatin1(widget.metaObject()->className()).section("::", -1);
  if (type.toLower() == QLatin1String("bouton")) return Kind::Bouton;
  if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
    return label->pixmap().isNull() ? Kind::WithFont : Kind::Picture;
  }
  if (qobject_cast<const QLineEdit*>(&widget) || qobject_cast<const QTextEdit*>(&widget) ||
      qobject_cast<const QPlainTextEdit*>(&widget) || qobject_cast<const QListWidget*>(&widget) ||
      qobject_cast<const QPushButton*>(&widget)) {
    return Kind::WithFont;
  }
  // Drive, folder and file lists and check boxes keep their fonts.
  if (qobject_cast<const QComboBox*>(&widget) || qobject_cast<const QAbstractItemView*>(&widget) ||
      qobject_cast<const QCheckBox*>(&widget)) {
    return Kind::Frame;
  }
  if (const auto* frame = qobject_cast<const QFrame*>(&widget)) {
    const QFrame::Shape shape = frame->frameShape();
    if (shape == QFrame::HLine || shape == QFrame::VLine) return Kind::Line;
  }
  return Kind::Other;
}

// Lengths go through twips, the unit the windows were drawn in: the twips are
// scaled and the pixels follow, to the nearest one (halves to even).
class Scaler {
 public:
  explicit Scaler(Resolution dpi)
      : m_dpi(dpi), m_twipsPerPixelX(1440.0 / dpi.dx), m_twipsPerPixelY(1440.0 / dpi.dy) {}

  // A length in pixels as twips, once scaled.
  double NewTwipsX(int pixels) const { return pixels * m_twipsPerPixelX * 96 / m_dpi.dx; }
  double NewTwipsY(int pixels) const { return pixels * m_twipsPerPixelY * 96 / m_dpi.dy; }
  int X(int pixels) const { return ToPixels(NewTwipsX(pixels), m_twipsPerPixelX); }
  int Y(int pixels) const { return ToPixels(NewTwipsY(pixels), m_twipsPerPixelY); }

  void Move(QWidget& widget) const { widget.move(X(widget.x()), Y(widget.y())); }
  void Place(QWidget& widget) const {
    // A widget placed by a layout gets its place from the layout again at
    // the next relayout; the layout follows its font, scaled below.
    widget.setGeometry(X(widget.x()), Y(widget.y()), X(widget.width()), Y(widget.height()));
  }
  QFont Font(QFont font) const {
    // A font sized in pixels is not drawn larger on a large-font screen.
    if (font.pointSizeF() > 0) font.setPointSizeF(font.pointSizeF() * 96 / m_dpi.dy);
    return font;
  }

  // The caption kept when the button has `widthTwips` for it: cut, with a
  // final ".", once it would need more than 96 twips a character.
  QString Caption(const QString& caption, double widthTwips) const {
    const auto count = caption.size();
    if (96.0 * count <= widthTwips) return caption;
    const auto kept = static_cast<qsizetype>(96.0 * count / m_dpi.dy);
    return caption.left(kept) + QLatin1Char('.');
  }

 private:
  static int ToPixels(double twips, double twipsPerPixel) {
    return static_cast<int>(std::nearbyint(twips / twipsPerPixel));
  }

  Resolution m_dpi;
  double m_twipsPerPixelX;
  double m_twipsPerPixelY;
};

void AdaptBouton(bouton& button, const Scaler& scale) {
  const double newWidth = scale.NewTwipsX(button.width());
  scale.Place(button);
  button.SetFont(scale.Font(button.font()));
  button.SetCaption(scale.Caption(button.Caption(), newWidth));
  button.UserControl_Show();
}

// Depth first in the order the controls were made, as the window lists them.
void AdaptChildren(QWidget& parent, const Scaler& scale) {
  for (QObject* child : parent.children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    // Dialogs and the photos' windows are windows of their own, adapted (or
    // not) by themselves.
    if (widget == nullptr || widget->isWindow() || qobject_cast<QMdiArea*>(widget)) continue;
    switch (KindOf(*widget)) {
      case Kind::Other:
        AdaptChildren(*widget, scale);
        break;
      case Kind::Line:
      case Kind::Frame:
        scale.Place(*widget);
        break;
      case Kind::WithFont:
        scale.Place(*widget);
        widget->setFont(scale.Font(widget->font()));
        break;
      case Kind::Picture:
        if (static_cast<QLabel*>(widget)->hasScaledContents()) {
          scale.Place(*widget);
        } else {
          scale.Move(*widget);
        }
        break;
      case Kind::Bouton:
        AdaptBouton(static_cast<bouton&>(*widget), scale);
        break;
    }
  }
}

class FirstActivation : public QObject {
 public:
  explicit FirstActivation(QWidget& window) : QObject(&window), m_window(window) {
    window.installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &m_window && event->type() == QEvent::WindowActivate) {
      // Off before adapting: the adaptation lets events run, and an
      // activation among them must not scale the window a second time.
      m_window.removeEventFilter(this);
      PoliceGdTaille(m_window, QStringLiteral("LesControles"));
    }
    return false;
  }

 private:
  QWidget& m_window;
};

}  // namespace

Resolution ScreenResolution(const QWidget& window) {
  if (ResolutionSource()) return ResolutionSource()(window);
  return Resolution{static_cast<double>(window.logicalDpiX()),
                    static_cast<double>(window.logicalDpiY())};
}

void SetScreenResolution(std::function<Resolution(const QWidget&)> source) {
  ResolutionSource() = std::move(source);
}

void PoliceGdTaille(QWidget& window, const QString& key, Resolution dpi) {
  if (key != QLatin1String("LesControles")) return;
  if (dpi.dy == 96 || dpi.dx <= 0 || dpi.dy <= 0) return;
  // What is still to be drawn or placed first, so that the scaling reads
  // the controls as they stand.
  QCoreApplication::processEvents();
  AdaptChildren(window, Scaler(dpi));
}

void PoliceGdTaille(QWidget& window, const QString& key) {
  PoliceGdTaille(window, key, ScreenResolution(window));
}

void AdaptAtFirstActivation(QWidget& window) { new FirstActivation(window); }

}  // namespace fotavel
