// The main window's image-button toolbar and its status area.
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "controls/ProgressBar.h"
#include "controls/SystemColours.h"
#include "controls/bouton.h"
#include "shell/Pictures.h"
#include "shell/StatusLayout.h"
#include "shell/WindowCommands.h"
#include "shell/frmImage.h"
#include "shell/mfrmMain.h"

namespace fotavel {

namespace {

namespace c = commands;

struct ButtonSpec {
  const char* name;  // its command's, which it shares
  // The caption and the status text, translated where the button is made.
  const char* caption;  // null: the button keeps its default caption, its name
  const char* legende;
};

// Left to right as they stand in the toolbar.
const ButtonSpec kButtons[] = {
    {c::kExplorer, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Explorer"),
     QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Ouvrir / Fermer l'Exploreur")},
    {c::kEnregistrer, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Enregistrer"),
     QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Enregistrez votre travail")},
    {c::kAnnuler, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Annuler"),
     QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Annuler une action")},
    {c::kClair, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Clair"),
     QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Lumière : Photo plus lumineuse")},
    {c::kSombre, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Sombre"),
     QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Lumière : Photo moins lumineuse")},
    {c::kColorer, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Colorer"),
     QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Saturation : Plus de couleur")},
    {c::kTernir, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Ternir"),
     QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Saturation : Moins de couleur")},
    {c::kNette, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Nette"),
     QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Netteté : Photo plus nette")},
    {c::kFloue, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Floue"),
     QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Netteté : Photo plus floue")},
    {c::kGauche, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Gauche"),
     QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Pivoter à 90° vers la gauche")},
    {c::kDroite, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Droite"),
     QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Pivoter à 90° vers la droite")},
    {c::kFormatWeb, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Format Web"),
     QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Retailler au format Web")},
    {c::kLogo, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Logo"),
     QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Insérer votre logo")},
    {c::kCiel, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Ciel"),
     QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Remplacer un ciel blanc")},
    {c::kMasquer, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Masquer"),
     QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Masquer une partie de la photo")},
    {c::kRetourEditeur, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Retour"),
     QT_TRANSLATE_NOOP("fotavel::mfrmMain",
                       "Annuler: Retour à l'éditeur d'affiches sans importer mon travail")},
    {c::kImporterEditeur, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Importer"),
     QT_TRANSLATE_NOOP("fotavel::mfrmMain",
                       "Valider: Importer mon travail dans l'éditeur d'affiches")},
    {c::kQuitter, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Quitter"),
     QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Fermer l'application")},
};

// The four image buttons that move to the vertical toolbar in a narrow
// window, top to bottom there and left to right in the main toolbar, where
// they follow PivotDrt.
const char* const kMovingButtons[] = {c::kFormatWeb, c::kLogo, c::kCiel, c::kMasquer};

// The main toolbar's places, left to right. The poster editor's two buttons
// take the places of the explorer and quit buttons, whose commands its
// hand-off withdraws: a place shows the first of its buttons whose command
// is offered.
struct Place {
  const char* name;
  const char* instead = nullptr;
};
const Place kMainRow[] = {
    {c::kExplorer, c::kRetourEditeur},
    {c::kEnregistrer},
    {c::kAnnuler},
    {c::kClair},
    {c::kSombre},
    {c::kColorer},
    {c::kTernir},
    {c::kNette},
    {c::kFloue},
    {c::kGauche},
    {c::kDroite},
    {c::kFormatWeb},
    {c::kLogo},
    {c::kCiel},
    {c::kMasquer},
    {c::kQuitter, c::kImporterEditeur},
};

// The plain effect buttons of the vertical toolbar, top to bottom. They stay
// hidden: these effects are offered only through code and the batch tool.
struct PlainButtonSpec {
  const char* name;
  const char* caption;
};
const PlainButtonSpec kPlainButtons[] = {
    {c::kDiffusion, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Diffusion")},
    {c::kContours, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Trouver Contours")},
    {c::kPhotocopie, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Effet Photocopie")},
    {c::kNegatif, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Négatif")},
    {c::kPlume, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Plume Calligraphique")},
    {c::kGris, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Noir et Blanc")},
    {c::kCombiner, QT_TRANSLATE_NOOP("fotavel::mfrmMain", "Combiner")},
};

constexpr int kButtonWidth = 72;
constexpr int kButtonHeight = 58;
constexpr int kGap = 8;  // 120 twips at 15 twips a pixel
constexpr double kNarrowBelow = 870;
constexpr int kShadowHeight = 4;

// The shadow the menu bar casts on the toolbar below it.
QPixmap ShadowPicture() {
  QImage shadow(1, kShadowHeight, QImage::Format_ARGB32);
  for (int y = 0; y < kShadowHeight; ++y) {
    shadow.setPixelColor(0, y, QColor(0, 0, 0, 70 * (kShadowHeight - y) / kShadowHeight));
  }
  return QPixmap::fromImage(shadow);
}

}  // namespace

void mfrmMain::BuildToolbar() {
  m_barreOutils->setFixedHeight(kButtonHeight + 4);
  m_barreOutils->installEventFilter(this);
  int left = kGap;
  for (const ButtonSpec& spec : kButtons) {
    auto* button = new bouton(m_barreOutils);
    const QString name = QString::fromUtf8(spec.name);
    button->setObjectName(name);
    button->InitProperties();
    if (spec.caption != nullptr) button->SetCaption(tr(spec.caption));
    button->SetLegende(tr(spec.legende));
    const QPixmap picture = ToolbarPicture(name);
    button->SetBackImage(picture);
    button->SetBackImageDessus(picture);
    button->SetBackImageEnfoncee(picture);
    button->SetStatusLabel(m_lblStatus);
    button->setGeometry(left, 2, kButtonWidth, kButtonHeight);
    left += kButtonWidth + kGap;
    m_buttons[name] = button;
    // The button is its command's: a click runs it, and it is enabled and
    // offered as its command is.
    QAction* action = Action(spec.name);
    connect(button, &bouton::Click, action, &QAction::trigger);
    button->SetEnabled(action->isEnabled());
    connect(action, &QAction::changed, this, [this, button, action] {
      if (button->Enabled() != action->isEnabled()) button->SetEnabled(action->isEnabled());
      LayoutToolbars();
    });
  }

  // What does not fit the width of the window is offered behind this, at
  // the toolbar's right end, so that no command is out of reach.
  m_suite = new QToolButton(m_barreOutils);
  m_suite->setObjectName(QStringLiteral("BarreOutilsSuite"));
  m_suite->setText(QStringLiteral("»"));
  m_suite->setToolTip(tr("Autres commandes"));
  m_suite->setAutoRaise(true);
  m_suite->setPopupMode(QToolButton::InstantPopup);
  // The chevron says itself that there is more: no menu arrow beside it.
  m_suite->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; }"));
  m_suite->setGeometry(0, 2, 24, kButtonHeight);
  auto* hidden = new QMenu(m_suite);
  hidden->setObjectName(QStringLiteral("BarreOutilsSuiteMenu"));
  connect(hidden, &QMenu::aboutToShow, this, [this, hidden] {
    hidden->clear();
    for (QAction* action : m_overflow) hidden->addAction(action);
  });
  m_suite->setMenu(hidden);
  m_suite->hide();

  m_imgOmbre = new QLabel(m_barreOutils);
  m_imgOmbre->setObjectName(QStringLiteral("ImgOmbre"));
  m_imgOmbre->setPixmap(ShadowPicture());
  m_imgOmbre->setScaledContents(true);
  m_imgOmbre->setAttribute(Qt::WA_TransparentForMouseEvents);
  m_imgOmbre->setGeometry(0, 0, width(), kShadowHeight);

  int top = kGap;
  for (const PlainButtonSpec& spec : kPlainButtons) {
    auto* button = new QPushButton(tr(spec.caption), m_barreOutilsVrt);
    button->setObjectName(QString::fromUtf8(spec.name));
    button->setGeometry(4, top, m_barreOutilsVrt->width() - 8, 36);
    button->hide();
    top += 36 + kGap;
    connect(button, &QPushButton::clicked, Action(spec.name), &QAction::trigger);
  }
}

void mfrmMain::LayoutToolbars() {
  // A minimised or not yet shown window has no sizes worth arranging for.
  if (isMinimized() || frameGeometry().width() <= 0) return;
  const bool narrow = frameGeometry().width() < kNarrowBelow;
  const int g = std::int16_t(Button(c::kExplorer)->x());
  const auto offered = [this](const char* name) { return Action(name)->isVisible(); };
  const auto moving = [](const char* name) {
    return std::find(std::begin(kMovingButtons), std::end(kMovingButtons),
                     std::string_view(name)) != std::end(kMovingButtons);
  };

  if (narrow) {
    int top = g;
    for (const char* name : kMovingButtons) {
      bouton* button = Button(name);
      button->setParent(m_barreOutilsVrt);
      button->move((m_barreOutilsVrt->width() - button->width()) / 2, top);
      button->setVisible(offered(name));
      top += button->height() + g;
    }
    m_barreOutilsVrt->show();
  } else {
    m_barreOutilsVrt->hide();
  }

  // The main row, each button after the one before it, on the line of the first.
  std::vector<bouton*> row;
  int left = g;
  const int top = Button(c::kExplorer)->y();
  for (const Place& place : kMainRow) {
    if (narrow && moving(place.name)) continue;
    const char* shown = place.name;
    if (place.instead != nullptr) {
      const char* other = place.instead;
      if (!offered(shown)) std::swap(shown, other);
      Button(other)->hide();
    }
    bouton* button = Button(shown);
    if (!offered(shown)) {
      button->hide();
      continue;
    }
    if (button->parentWidget() != m_barreOutils) button->setParent(m_barreOutils);
    button->move(left, top);
    left += button->width() + g;
    row.push_back(button);
  }

  // Those that would pass the right edge go behind the chevron, which takes
  // the end of the row.
  const int room = m_barreOutils->width();
  const bool overflows = !row.empty() && row.back()->x() + row.back()->width() > room;
  const int end = overflows ? room - m_suite->width() : room;
  m_overflow.clear();
  for (bouton* button : row) {
    const bool fits = button->x() + button->width() <= end;
    button->setVisible(fits);
    if (!fits) m_overflow.push_back(Action(button->objectName().toLatin1().constData()));
  }
  m_suite->move(room - m_suite->width(), m_suite->y());
  m_suite->setVisible(overflows);
  // The shadow falls over the buttons.
  m_imgOmbre->raise();
}

void mfrmMain::BuildStatusArea() {
  m_picStatus->setFixedHeight(24);
  const auto label = [this](const char* name) {
    auto* l = new QLabel(m_picStatus);
    l->setObjectName(QString::fromUtf8(name));
    l->setFrameShape(QFrame::StyledPanel);
    l->setFrameShadow(QFrame::Sunken);
    return l;
  };
  m_lblStatus = label("lblStatus");
  m_lblZoom = label("lblZoom");
  m_lblImage = label("lblImage");
  m_lblSize = label("lblSize");
  m_prgMain = new ProgressBar(m_picStatus);
  m_prgMain->setObjectName(QStringLiteral("prgMain"));
  m_prgMain->InitProperties();
  m_prgMain->hide();
  m_picStatus->installEventFilter(this);
}

void mfrmMain::LayoutStatusArea() {
  constexpr int margin = 4;
  const double tx = TwipsPerPixelX(*this);
  layout::StatusInput in;
  in.twipsPerPixelX = tx;
  in.windowWidth = frameGeometry().width() * tx;
  in.margin = margin * tx;
  in.sizeWidth = 150 * tx;
  in.imageWidth = 200 * tx;
  in.zoomWidth = 100 * tx;
  const layout::StatusPlaces places = layout::PlaceStatusLabels(in);
  const auto px = [tx](double twips) {
    return std::max(0, static_cast<int>(std::lround(twips / tx)));
  };
  const int h = m_picStatus->height() - 4;
  m_lblSize->setGeometry(px(places.sizeLeft), 2, 150, h);
  m_lblImage->setGeometry(px(places.imageLeft), 2, 200, h);
  m_lblZoom->setGeometry(px(places.zoomLeft), 2, 100, h);
  m_lblSize->setVisible(places.sizeVisible);
  m_lblImage->setVisible(places.imageVisible);
  m_lblZoom->setVisible(places.zoomVisible);
  m_lblStatus->setGeometry(margin, 2, px(places.statusWidth), h);
  m_prgMain->setGeometry(m_lblStatus->geometry());
}

bool mfrmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_picStatus && event->type() == QEvent::Resize) LayoutStatusArea();
  if (watched == m_barreOutils && event->type() == QEvent::Resize) LayoutToolbars();
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace fotavel
