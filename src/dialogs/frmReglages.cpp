// The adjustment window's controls: the sliders and their values, the automatic settings, the
// original held on a button or a key.
#include "dialogs/frmReglages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "dialogs/HistogramView.h"

namespace fotavel {

namespace {

// The key that shows the original while held. Not the space bar: it would
// press whichever button has the focus.
constexpr int kOriginalKey = Qt::Key_O;

// The setting a slider stands for, in `settings` (const or not).
template <class Settings>
auto& SettingOf(Settings& settings, frmReglages::Slider which) {
  switch (which) {
    case frmReglages::kLuminosite:
      return settings.luminosite;
    case frmReglages::kContraste:
      return settings.contraste;
    case frmReglages::kSaturation:
      return settings.saturation;
    default:
      return settings.chaleur;
  }
}

}  // namespace

frmReglages::frmReglages(QWidget* owner) : QDialog(owner) {
  setWindowTitle(tr("Réglages"));
  setObjectName(QStringLiteral("frmReglages"));

  const struct {
    const char* name;
    QString text;
  } rows[kSliders] = {{"Luminosite", tr("&Luminosité")},
                      {"Contraste", tr("&Contraste")},
                      {"Saturation", tr("&Saturation")},
                      {"Chaleur", tr("C&haleur")}};
  auto* grid = new QGridLayout;
  for (int i = 0; i < kSliders; ++i) {
    auto* caption = new QLabel(rows[i].text, this);
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setObjectName(QStringLiteral("sld%1").arg(QLatin1String(rows[i].name)));
    slider->setRange(-100, 100);
    slider->setPageStep(10);
    slider->setMinimumWidth(220);
    caption->setBuddy(slider);
    auto* value = new QLabel(QStringLiteral("0"), this);
    value->setObjectName(QStringLiteral("lbl%1").arg(QLatin1String(rows[i].name)));
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Room for "-100" whatever the value shown, so the slider never jumps.
    value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("-100")) + 4);
    grid->addWidget(caption, i, 0);
    grid->addWidget(slider, i, 1);
    grid->addWidget(value, i, 2);
    m_sliders[std::size_t(i)] = slider;
    m_values[std::size_t(i)] = value;
    const auto which = static_cast<Slider>(i);
    connect(slider, &QSlider::valueChanged, this, [this, which](int v) { SliderMoved(which, v); });
  }

  m_histogram = new HistogramView(this);

  m_cmdAuto = new QPushButton(tr("&Automatique"), this);
  m_cmdAuto->setObjectName(QStringLiteral("cmdAuto"));
  m_cmdAuto->setToolTip(tr("Règle les curseurs d'après les couleurs de la photo"));
  m_cmdReset = new QPushButton(tr("&Réinitialiser"), this);
  m_cmdReset->setObjectName(QStringLiteral("cmdReset"));
  m_cmdOriginal = new QPushButton(tr("Voir l'&original"), this);
  m_cmdOriginal->setObjectName(QStringLiteral("cmdOriginal"));
  m_cmdOriginal->setToolTip(
      tr("Maintenez ce bouton enfoncé, ou la touche O, pour voir la photo d'origine"));
  m_cmdOK = new QPushButton(tr("OK"), this);
  m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
  m_cmdOK->setDefault(true);
  m_cmdCancel = new QPushButton(tr("Annuler"), this);
  m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

  auto* tools = new QHBoxLayout;
  tools->addWidget(m_cmdAuto);
  tools->addWidget(m_cmdReset);
  tools->addStretch();
  tools->addWidget(m_cmdOriginal);
  auto* closing = new QHBoxLayout;
  closing->addStretch();
  closing->addWidget(m_cmdOK);
  closing->addWidget(m_cmdCancel);
  auto* column = new QVBoxLayout(this);
  column->addWidget(m_histogram, 1);
  column->addLayout(grid);
  column->addLayout(tools);
  column->addLayout(closing);

  connect(m_cmdAuto, &QPushButton::clicked, this,
          [this] { SetSettings(SettingsFor(m_autoLevels)); });
  connect(m_cmdReset, &QPushButton::clicked, this, [this] { SetSettings(AdjustSettings{}); });
  connect(m_cmdOriginal, &QPushButton::pressed, this, [this] {
    m_buttonHeld = true;
    HoldOriginal(true);
  });
  connect(m_cmdOriginal, &QPushButton::released, this, [this] {
    m_buttonHeld = false;
    HoldOriginal(m_keyHeld);
  });
  connect(m_cmdOK, &QPushButton::clicked, this, [this] {
    m_cancelled = false;
    accept();
  });
  connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmReglages::SetHistogram(const Histogram& histogram) { m_histogram->SetHistogram(histogram); }

AdjustSettings frmReglages::Settings() const {
  AdjustSettings settings;
  for (int i = 0; i < kSliders; ++i) {
    SettingOf(settings, static_cast<Slider>(i)) = m_sliders[std::size_t(i)]->value();
  }
  return settings;
}

void frmReglages::SetSettings(const AdjustSettings& settings) {
  if (settings == Settings()) return;
  m_settingAll = true;
  for (int i = 0; i < kSliders; ++i) {
    const auto which = static_cast<Slider>(i);
    m_sliders[std::size_t(i)]->setValue(SettingOf(settings, which));
  }
  m_settingAll = false;
  emit SettingsChanged(Settings());
}

void frmReglages::SliderMoved(Slider which, int value) {
  m_values[std::size_t(which)]->setText(QString::number(value));
  if (!m_settingAll) emit SettingsChanged(Settings());
}

void frmReglages::HoldOriginal(bool held) {
  const bool shown = held || m_buttonHeld || m_keyHeld;
  if (shown == m_originalShown) return;
  m_originalShown = shown;
  emit OriginalHeld(shown);
}

void frmReglages::keyPressEvent(QKeyEvent* event) {
  if (event->key() == kOriginalKey && event->modifiers() == Qt::NoModifier) {
    if (!event->isAutoRepeat()) {
      m_keyHeld = true;
      HoldOriginal(true);
    }
    return;
  }
  QDialog::keyPressEvent(event);
}

void frmReglages::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == kOriginalKey) {
    if (!event->isAutoRepeat()) {
      m_keyHeld = false;
      HoldOriginal(false);
    }
    return;
  }
  QDialog::keyReleaseEvent(event);
}

}  // namespace fotavel
