// The splash window: the program's name, version and maker, then the main window.
#include "shell/demarrage.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "dialogs/UiServices.h"
#include "shell/Pictures.h"

namespace fotavel {

const QString demarrage::kSite = QStringLiteral("https://fotavel.example.org/");

demarrage::demarrage(std::function<void()> showMain, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_showMain(std::move(showMain)) {
  setObjectName(QStringLiteral("demarrage"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(kAppTitle + tr(" de ") + tr("l'atelier Fotavel"));
  setWindowIcon(AppIcon());
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, QColor(250, 248, 240));
  setPalette(colours);
  setFocusPolicy(Qt::StrongFocus);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(30, 24, 30, 24);
  auto* picture = new QLabel(this);
  picture->setPixmap(AppIcon().pixmap(64, 64));
  picture->setAlignment(Qt::AlignCenter);
  column->addWidget(picture);

  const auto label = [this, column](const char* name, const QString& text, int points, bool bold) {
    auto* l = new QLabel(text, this);
    l->setObjectName(QString::fromUtf8(name));
    QFont font = l->font();
    font.setPointSize(points);
    font.setBold(bold);
    l->setFont(font);
    l->setAlignment(Qt::AlignCenter);
    column->addWidget(l);
    return l;
  };
  label("lblProductName", kAppTitle, 26, true);
  label("lblVersion", tr("Version ") + QCoreApplication::applicationVersion(), 10, false);
  label("lblSlogan1", tr("Vos photos,"), 11, false);
  label("lblSlogan2", tr("retouchées d'un clic,"), 11, false);
  label("lblSlogan3", tr("simplement."), 11, false);
  QLabel* site = label("GoSite", QStringLiteral("<a href=\"%1\">%1</a>").arg(kSite), 9, false);
  site->setTextFormat(Qt::RichText);
  site->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
  connect(site, &QLabel::linkActivated, this,
          [](const QString& link) { QDesktopServices::openUrl(QUrl(link)); });

  m_timer = new QTimer(this);
  m_timer->setObjectName(QStringLiteral("TimerDemarrage"));
  m_timer->setInterval(5000);
  connect(m_timer, &QTimer::timeout, this, &demarrage::Continue);
  m_timer->start();
}

void demarrage::keyPressEvent(QKeyEvent*) { Continue(); }
void demarrage::mousePressEvent(QMouseEvent*) { Continue(); }

void demarrage::Continue() {
  if (m_done) return;
  m_done = true;
  m_timer->stop();
  m_showMain();
  close();
}

}  // namespace fotavel
