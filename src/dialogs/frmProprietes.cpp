// The photo's properties window.
#include "dialogs/frmProprietes.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace fotavel {

PhotoProperties PhotoProperties::Of(const QString& path, std::int32_t width, std::int32_t height) {
  PhotoProperties properties;
  properties.width = width;
  properties.height = height;
  const QFileInfo file(path);
  if (!file.isFile()) {
    properties.name = path;
    return properties;
  }
  properties.name = file.fileName();
  properties.folder = file.absolutePath();
  properties.bytes = file.size();
  properties.created = file.birthTime();
  properties.modified = file.lastModified();
  properties.read = file.lastRead();
  return properties;
}

QString frmProprietes::SizeText(std::int64_t bytes) {
  const QLocale locale;
  const QString exact = locale.toString(qlonglong(bytes)) + tr(" octets");
  if (bytes < 1024) return exact;
  const double kilo = double(bytes) / 1024.0;
  const QString rounded = kilo < 1024.0 ? locale.toString(kilo, 'f', 1) + tr(" Ko")
                                        : locale.toString(kilo / 1024.0, 'f', 1) + tr(" Mo");
  return rounded + QStringLiteral(" (") + exact + QLatin1Char(')');
}

frmProprietes::frmProprietes(const PhotoProperties& properties, QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("frmProprietes"));
  setWindowTitle(tr("Propriétés de ") + properties.name);
  auto* layout = new QVBoxLayout(this);
  m_form = new QFormLayout;
  layout->addLayout(m_form);

  const QLocale locale;
  const auto line = [this](const QString& label, const QString& value) {
    auto* shown = new QLabel(value);
    shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_form->addRow(label, shown);
  };
  const auto date = [&locale](const QDateTime& when) {
    return when.isValid() ? locale.toString(when.toLocalTime(), QLocale::LongFormat)
                          : tr("inconnue");
  };
  line(tr("Nom"), properties.name);
  if (!properties.folder.isEmpty()) line(tr("Dossier"), properties.folder);
  line(tr("Dimensions"), tr("%1 x %2 pixels").arg(properties.width).arg(properties.height));
  if (properties.bytes) {
    line(tr("Taille sur le disque"), SizeText(*properties.bytes));
    line(tr("Créé le"), date(properties.created));
    line(tr("Modifié le"), date(properties.modified));
    line(tr("Dernier accès"), date(properties.read));
  } else {
    line(tr("Fichier"), tr("pas encore enregistrée"));
  }

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  buttons->button(QDialogButtonBox::Close)->setText(tr("Fermer"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

QString frmProprietes::Value(const QString& label) const {
  for (int row = 0; row < m_form->rowCount(); ++row) {
    auto* name = qobject_cast<QLabel*>(m_form->itemAt(row, QFormLayout::LabelRole)->widget());
    auto* value = qobject_cast<QLabel*>(m_form->itemAt(row, QFormLayout::FieldRole)->widget());
    if (name != nullptr && value != nullptr && name->text() == label) return value->text();
  }
  return {};
}

}  // namespace fotavel
