// The status area's progress bar: a Qt bar inside a control that keeps its own properties.
#pragma once

#include <QFrame>
#include <QString>
#include <QVariantMap>
#include <cstdint>

#include "controls/ProgressBarWindow.h"
#include "controls/SystemColours.h"

namespace fotavel {

// Keeps every setting itself and passes a write on to the bar only when the
// value changes, so callers may write the same value at every step of a long
// effect for free. The bar (`hwnd`) exists only once the properties have been
// set up: call ReadProperties (a control loaded with its saved values, an
// empty map for all defaults) or InitProperties (a control newly placed).
// Until then writes are only stored and StepIt advances the stored position.
class ProgressBar : public QFrame {
  Q_OBJECT
  Q_PROPERTY(std::int32_t Position READ Position WRITE SetPosition USER true)
  Q_PROPERTY(std::int32_t Min READ Min WRITE SetMin)
  Q_PROPERTY(std::int32_t Max READ Max WRITE SetMax)
  Q_PROPERTY(std::int32_t Step READ Step WRITE SetStep)
  Q_PROPERTY(std::uint32_t ForeColor READ ForeColor WRITE SetForeColor)
  Q_PROPERTY(std::uint32_t BackColor READ BackColor WRITE SetBackColor)
  Q_PROPERTY(std::int32_t BorderStyle READ BorderStyle WRITE SetBorderStyle)
  Q_PROPERTY(bool Smooth READ Smooth WRITE SetSmooth)
  Q_PROPERTY(std::int32_t Orientation READ Orientation WRITE SetOrientation)

 public:
  explicit ProgressBar(QWidget* parent = nullptr);
  ~ProgressBar() override;

  // The bar placed inside the control; null when there is none.
  ProgressBarWindow* hwnd() const { return m_bar; }

  std::int32_t Position() const { return m_position; }
  std::int32_t Min() const { return m_min; }
  std::int32_t Max() const { return m_max; }
  std::int32_t Step() const { return m_step; }
  ColourValue ForeColor() const { return m_foreColor; }
  ColourValue BackColor() const { return m_backColor; }
  // 0 none, 1 a thin edge on the bar, 2 a sunken edge on the control.
  std::int32_t BorderStyle() const { return m_borderStyle; }
  bool Smooth() const { return m_smooth; }
  // 0 horizontal, 1 vertical.
  std::int32_t Orientation() const { return m_orientation; }

  void SetPosition(std::int32_t position);
  void SetMin(std::int32_t min);
  void SetMax(std::int32_t max);
  void SetStep(std::int32_t step);
  void SetForeColor(ColourValue colour);
  void SetBackColor(ColourValue colour);
  void SetBorderStyle(std::int32_t style);
  // These two make a new bar when one exists (hwnd changes), keeping the
  // position, range, edges and colours.
  void SetSmooth(bool smooth);
  void SetOrientation(std::int32_t orientation);

  // Advances by Step: the bar when there is one (starting over at Min past
  // Max), the stored position otherwise.
  void StepIt();

  // Keys "Smooth", "Orientation", "BorderStyle", "ForeColor", "BackColor",
  // "Min", "Max", "Step"; a missing key takes its default. Position is not saved.
  void ReadProperties(const QVariantMap& saved);
  // Only the values that differ from their defaults.
  QVariantMap WriteProperties() const;
  // A control newly placed on a container: its bar, a thin edge and the
  // container's background colour; Min stays 1 until written.
  void InitProperties();

 signals:
  // A write that changed a property, under the property's name.
  void PropertyChanged(const QString& name);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  // Makes the bar; a subclass may supply its own kind of bar.
  virtual ProgressBarWindow* NewBarWindow(bool vertical, bool smooth);

 private:
  void CreateBarWindow();
  void DestroyBarWindow();
  void SendRange();
  void RecreateBarWindow();
  void LayoutBar();
  std::optional<QColor> Translated(ColourValue colour) const;

  ProgressBarWindow* m_bar = nullptr;
  ColourValue m_backColor = 0;
  ColourValue m_foreColor = kSysHighlight;
  bool m_smooth = false;
  std::int32_t m_orientation = 0;
  std::int32_t m_borderStyle = 0;
  std::int32_t m_position = 0;
  std::int32_t m_min = 1;
  std::int32_t m_max = 100;
  std::int32_t m_step = 1;
};

}  // namespace fotavel
