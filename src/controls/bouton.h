// The toolbars' image button: a picture and a caption in four looks, and a help text on hover.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QVariantMap>
#include <QWidget>
#include <cstdint>

#include "controls/SystemColours.h"

class QLabel;

namespace fotavel {

// Draws everything itself into a persistent surface, like a drawing that stays
// until the next one: the look on screen is whatever was drawn last (the normal,
// hover, pressed or disabled look), and writing some properties deliberately
// repaints nothing until the next look is drawn.
//
// Set up like a control on a loaded window: construct, name it (the name is
// the default caption), then ReadProperties with its saved values, or
// InitProperties for a button newly placed.
//
// Lengths are twips (1/1440 inch); mouse coordinates in the events are twips
// too. C++ names are ASCII: `Legende` is the help text "Légende",
// `CouleurBtEnfonce` and `BackImageEnfoncee` are "CouleurBtEnfoncé" and
// "BackImageEnfoncée"; the saved-property keys keep their accents.
class bouton : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(QString Legende READ Legende WRITE SetLegende)
  Q_PROPERTY(std::int32_t PositionFond READ PositionFond WRITE SetPositionFond)
  Q_PROPERTY(std::uint32_t CouleurBtNormal READ CouleurBtNormal WRITE SetCouleurBtNormal)
  Q_PROPERTY(std::uint32_t CouleurBtEnfonce READ CouleurBtEnfonce WRITE SetCouleurBtEnfonce)
  Q_PROPERTY(std::uint32_t CouleurBtSurvol READ CouleurBtSurvol WRITE SetCouleurBtSurvol)
  Q_PROPERTY(QPixmap BackImage READ BackImage WRITE SetBackImage)
  Q_PROPERTY(QPixmap BackImageEnfoncee READ BackImageEnfoncee WRITE SetBackImageEnfoncee)
  Q_PROPERTY(QPixmap BackImageDessus READ BackImageDessus WRITE SetBackImageDessus)
  Q_PROPERTY(QFont Font READ font WRITE SetFont)
  Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)

 public:
  explicit bouton(QWidget* parent = nullptr);
  ~bouton() override;

  QString Caption() const { return m_caption; }
  QString Legende() const { return m_legende; }
  std::int32_t PositionFond() const { return m_positionFond; }
  ColourValue CouleurBtNormal() const { return m_couleurNormal; }
  ColourValue CouleurBtEnfonce() const { return m_couleurEnfonce; }
  ColourValue CouleurBtSurvol() const { return m_couleurSurvol; }
  QPixmap BackImage() const { return m_imgFond; }
  QPixmap BackImageEnfoncee() const { return m_imgFdEnf; }
  QPixmap BackImageDessus() const { return m_imgFdDessus; }
  bool Enabled() const { return isEnabled(); }

  // Caption, colours, font: repaint the normal look, even on a disabled button.
  void SetCaption(const QString& caption);
  void SetCouleurBtNormal(ColourValue colour);
  void SetCouleurBtEnfonce(ColourValue colour);
  void SetCouleurBtSurvol(ColourValue colour);
  void SetFont(const QFont& font);
  // Repaints the normal look when true, the disabled look when false.
  void SetEnabled(bool enabled);
  // These repaint nothing: the change shows with the next look drawn.
  void SetLegende(const QString& legende);
  void SetPositionFond(std::int32_t position);
  void SetBackImage(const QPixmap& picture);
  void SetBackImageEnfoncee(const QPixmap& picture);
  void SetBackImageDessus(const QPixmap& picture);

  // Draws the normal look when enabled, the disabled look otherwise. Runs by
  // itself when the button is shown; callers that resize or re-caption a button
  // call it to redraw.
  void UserControl_Show();

  // The container's side of the saved properties. The keys are "Caption",
  // "CouleurBtNormal", "CouleurBtEnfoncé", "CouleurBtSurvol", "PositionFond",
  // "Font", "BackImage", "BackImageEnfoncée", "BackImageDessus", "Enabled",
  // "Légende"; a missing key takes its default (the caption's is the button's
  // objectName). Reading draws the normal or disabled look afterwards.
  void ReadProperties(const QVariantMap& saved);
  // Only the values that differ from their defaults.
  QVariantMap WriteProperties() const;
  // A button newly placed on a container: PositionFond 3, the rest at defaults.
  void InitProperties();

  // Raises Click as a click of the mouse would, for the keyboard (Space and
  // Enter on the focused button) and for assistive tools; a disabled or hidden
  // button, which the mouse cannot click, does nothing.
  void PerformClick();

  // The label that shows the help text. By default the button looks, from its
  // parent outwards, for a QLabel named "lblStatus" among each ancestor's
  // descendants; a label handed in here is used instead. No label: no write.
  void SetStatusLabel(QLabel* label);
  QLabel* StatusLabel() const;

 signals:
  // Mouse arguments: Button (1 left, 2 right, 4 middle; a mask of the held
  // buttons for moves), Shift (1 Shift, 2 Ctrl, 4 Alt), X and Y in twips.
  void MouseLeave();
  void MouseEnter(qint16 Button, qint16 Shift, float X, float Y);
  void Mousemove(qint16 Button, qint16 Shift, float X, float Y);
  void MouseDown(qint16 Button, qint16 Shift, float X, float Y);
  void MouseUp(qint16 Button, qint16 Shift, float X, float Y);
  void Click();
  void DblClick();
  // KeyCode is the desktop's virtual-key number (65 for A, 13 for Enter).
  void KeyDown(qint16 KeyCode, qint16 Shift);
  void KeyPress(qint16 KeyAscii);
  void KeyUp(qint16 KeyCode, qint16 Shift);
  // Every property write, under the property's saved name ("Légende"...).
  void PropertyChanged(const QString& name);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  enum class Look { Normal, Hover, Pressed, Disabled };

  // Paints the look into the surface; DrawLook also shows it and applies the
  // look's cursor and status text.
  void PaintSurface(Look look);
  void DrawLook(Look look);
  void DrawPicture(QPainter& painter, const QPixmap& picture) const;
  void DrawFrame(QPainter& painter, const QColor& colour, bool dotted) const;
  void DrawCross(QPainter& painter, const QColor& colour) const;
  void DrawCaption(QPainter& painter, const QColor& colour) const;
  QColor Colour(ColourValue value) const;
  int PxX(double twips) const;
  int PxY(double twips) const;
  double InnerWidth() const;
  double InnerHeight() const;

  void LeaveButton();
  void WriteStatus(const QString& text);
  // Tells assistive tools that the caption or the help text changed.
  void AnnounceTexts();

  QString m_caption;
  QString m_legende;
  std::int32_t m_positionFond = 3;
  ColourValue m_couleurNormal = 0x000000;
  ColourValue m_couleurEnfonce = 0xFF0000;
  ColourValue m_couleurSurvol = 0xC0C0C0;
  // The hidden picture holders ImgFond, ImgFdEnf and ImgFdDessus.
  QPixmap m_imgFond;
  QPixmap m_imgFdEnf;
  QPixmap m_imgFdDessus;

  QImage m_surface;
  QPointer<QLabel> m_statusLabel;
  // The button holds the mouse from the first movement over it or press on it
  // until the movement that leaves it: only then does leaving redraw, clear
  // the status label and raise MouseLeave, and only once.
  bool m_holdsMouse = false;
  // The release that ends a double click raises MouseUp but no second Click.
  bool m_inDoubleClick = false;
  // The Space or Enter key that went down on the button: its release clicks.
  int m_clickKey = 0;
  // Set while the button itself changes its font or enabled state, so that
  // Qt's change notification does not draw a second time.
  bool m_selfChange = false;
};

}  // namespace fotavel
