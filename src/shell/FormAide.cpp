// The about window: the program's name and version, its maker, the web site and the licence.
#include "shell/FormAide.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>

#include "controls/bouton.h"
#include "dialogs/PlaceForScreen.h"
#include "dialogs/UiServices.h"
#include "shell/Pictures.h"
#include "shell/PoliceGdTaille.h"
#include "shell/demarrage.h"

namespace fotavel {

const QString FormAide::kLicenceFile = QStringLiteral("Licence-freeware.txt");

FormAide::FormAide(UiServices& ui, QString programFolder, QWidget* parent)
    : QDialog(parent), m_ui(ui), m_programFolder(std::move(programFolder)) {
  OpenUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  setObjectName(QStringLiteral("FormAide"));
  setWindowTitle(tr(" A propos de ..."));
  setModal(true);

  // Placed by hand in pixels of a 96 dpi screen, like every window the
  // large-font adaptation scales: a layout would undo its placing.
  const auto label = [this](const char* name, const QString& text, const QRect& place) {
    auto* l = new QLabel(text, this);
    l->setObjectName(QString::fromUtf8(name));
    l->setGeometry(place);
    return l;
  };
  const auto link = [&label](const char* name, const QString& text, const QRect& place) {
    QLabel* l =
        label(name, QStringLiteral("<a href=\"#\">%1</a>").arg(text.toHtmlEscaped()), place);
    l->setTextFormat(Qt::RichText);
    l->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    return l;
  };

  m_lblVersion =
      label("lblVersion",
            kAppTitle + QLatin1Char(' ') + QStringLiteral(FOTAVEL_VERSION) + tr(" (Freeware)"),
            QRect(20, 16, 340, 28));
  QFont title = m_lblVersion->font();
  title.setPointSize(12);
  title.setBold(true);
  m_lblVersion->setFont(title);
  label("Label3", tr("Auteur : "), QRect(20, 56, 70, 20));
  label("Label4", tr("l'atelier Fotavel"), QRect(95, 56, 265, 20));
  label("Label2", tr("Site :"), QRect(20, 80, 70, 20));
  m_goSite = link("GoSite", demarrage::kSite, QRect(95, 80, 265, 20));
  QLabel* tagLine =
      label("Label7", tr("Vos photos, retouchées d'un clic, simplement."), QRect(20, 112, 340, 20));
  QFont italic = tagLine->font();
  italic.setItalic(true);
  tagLine->setFont(italic);
  m_licence = link("Licence", tr("(reportez-vous à la licence jointe)"), QRect(20, 140, 340, 20));

  m_fermeraide = new bouton(this);
  m_fermeraide->setObjectName(QStringLiteral("fermeraide"));
  m_fermeraide->InitProperties();
  m_fermeraide->SetCaption(tr("Fermer"));
  const QPixmap picture = ToolbarPicture(QStringLiteral("QuitterComm"));
  m_fermeraide->SetBackImage(picture);
  m_fermeraide->SetBackImageDessus(picture);
  m_fermeraide->SetBackImageEnfoncee(picture);
  m_fermeraide->setGeometry(288, 172, 72, 58);

  connect(m_fermeraide, &bouton::Click, this, &FormAide::accept);
  connect(m_goSite, &QLabel::linkActivated, this, [this] { GoSite_Click(); });
  connect(m_licence, &QLabel::linkActivated, this, [this] { Licence_Click(); });
  // Where Qt reports another resolution than 96 dpi, the large-font adaptation
  // takes the controls and their fonts down by 96 / dpi at the first
  // activation, to the pixels of a 96 dpi screen. The controls are first
  // placed for the screen like the dialogs', grown by dpi / 96 as a window
  // drawn in twips grows there, so that they come back to the places they
  // were drawn at, and hold their texts; the window keeps its drawn size.
  PlaceForScreen(*this);
  setFixedSize(380, 244);
  AdaptAtFirstActivation(*this);
}

void FormAide::GoSite_Click() {
  // Like the splash's link: a site that does not open says nothing.
  OpenUrl(QUrl(demarrage::kSite));
}

QString FormAide::LicencePath(const QString& programFolder) {
  const QString beside = QDir(programFolder).filePath(kLicenceFile);
  if (QFileInfo(beside).isFile()) return beside;
  const QString installed =
      QDir::cleanPath(programFolder + QStringLiteral("/" FOTAVEL_DOC_FROM_BIN "/") + kLicenceFile);
  return QFileInfo(installed).isFile() ? installed : beside;
}

void FormAide::Licence_Click() {
  const QString path = LicencePath(m_programFolder);
  if (!QFileInfo(path).isFile()) {
    m_ui.Message(tr("La licence est introuvable : le fichier\r\n") +
                     QDir::toNativeSeparators(path) + tr("\r\nn'existe pas."),
                 MessageIcon::Exclamation, MessageButtons::Ok, this);
    return;
  }
  if (!OpenUrl(QUrl::fromLocalFile(path))) {
    m_ui.Message(tr("Aucun programme n'a pu ouvrir la licence\r\n") +
                     QDir::toNativeSeparators(path) + QLatin1Char('.'),
                 MessageIcon::Exclamation, MessageButtons::Ok, this);
  }
}

}  // namespace fotavel
