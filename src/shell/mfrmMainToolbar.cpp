// The main window's image-button toolbar and its status area.
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "controls/ProgressBar.h"
#include "controls/SystemColours.h"
#include "controls/bouton.h"
#include "shell/Pictures.h"
#include "shell/StatusLayout.h"
#include "shell/frmImage.h"
#include "shell/mfrmMain.h"

namespace fotavel {

namespace {

struct ButtonSpec {
  const char* name;
  const char* caption;  // null: the button keeps its default caption, its name
  const char* legende;
};

// Left to right as they stand in the toolbar.
const ButtonSpec kButtons[] = {
    {"CacheExplorer", "Explorer", "Ouvrir / Fermer l'Exploreur"},
    {"SauvPhoto", "Enregistrer", "Enregistrez votre travail"},
    {"BtAnnuler", "Annuler", "Annuler une action"},
    {"LumierePlus", "Clair", "Lumière : Photo plus lumineuse"},
    {"LumiereMoins", "Sombre", "Lumière : Photo moins lumineuse"},
    {"SaturationPlus", "Colorer", "Saturation : Plus de couleur"},
    {"SaturationMoins", "Ternir", "Saturation : Moins de couleur"},
    {"Nette", nullptr, "Netteté : Photo plus nette"},
    {"Floue", nullptr, "Netteté : Photo plus floue"},
    {"PivotGche", "Gauche", "Pivoter à 90° vers la gauche"},
    {"PivotDrt", "Droite", "Pivoter à 90° vers la droite"},
    {"TaillWeb", "Format Web", "Retailler au format Web"},
    {"Logo", nullptr, "Insérer votre logo"},
    {"cielCmd", "Ciel", "Remplacer un ciel blanc"},
    {"cmdMasque", "Masquer", "Masquer une partie de la photo"},
    {"AnnulerEd", "Retour", "Annuler: Retour à l'éditeur d'affiches sans importer mon travail"},
    {"OkEd", "Importer", "Valider: Importer mon travail dans l'éditeur d'affiches"},
    {"QuitterComm", "Quitter", "Fermer l'application"},
};

// The plain effect buttons of the vertical toolbar, top to bottom, with the
// command each runs. They stay hidden: these effects are offered only through
// code and the batch tool.
struct PlainButtonSpec {
  const char* name;
  const char* caption;
  const char* command;  // in the shared command table; null for the combination
};
const PlainButtonSpec kPlainButtons[] = {
    {"Diffuse", "Diffusion", "diffusion"},
    {"TrouvContours", "Trouver Contours", "contours"},
    {"CoupeNB", "Effet Photocopie", "photocopie"},
    {"Negatif", "Négatif", "negatif"},
    {"Pcallig", "Plume Calligraphique", "plume"},
    {"NoirBlanc", "Noir et Blanc", "gris"},
    {"Combiner", "Combiner", nullptr},
};

constexpr int kButtonWidth = 72;
constexpr int kButtonHeight = 58;
constexpr int kGap = 8;  // 120 twips at 15 twips a pixel

}  // namespace

void mfrmMain::BuildToolbar() {
  m_barreOutils->setFixedHeight(kButtonHeight + 4);
  int left = kGap;
  for (const ButtonSpec& spec : kButtons) {
    auto* button = new bouton(m_barreOutils);
    const QString name = QString::fromUtf8(spec.name);
    button->setObjectName(name);
    button->InitProperties();
    if (spec.caption != nullptr) button->SetCaption(QString::fromUtf8(spec.caption));
    button->SetLegende(QString::fromUtf8(spec.legende));
    const QPixmap picture = ToolbarPicture(name);
    button->SetBackImage(picture);
    button->SetBackImageDessus(picture);
    button->SetBackImageEnfoncee(picture);
    button->SetStatusLabel(m_lblStatus);
    button->setGeometry(left, 2, kButtonWidth, kButtonHeight);
    m_buttons[name] = button;
    // The poster editor's two buttons take the places of others when the
    // hand-off starts; until then they are hidden and hold no place.
    const bool editorOnly = name == QLatin1String("AnnulerEd") || name == QLatin1String("OkEd");
    if (editorOnly) {
      button->hide();
      continue;
    }
    left += kButtonWidth + kGap;
  }
  BtAnnuler()->SetEnabled(false);

  const auto on = [this](const char* name, auto handler) {
    connect(Button(name), &bouton::Click, this, handler);
  };
  on("QuitterComm", [this] { close(); });
  on("cmdMasque", [this] { cmdMasque_Click(); });
  on("Nette", [this] { RunNamed("nette"); });
  on("Floue", [this] { RunNamed("floue"); });
  on("Logo", [this] { OnActive([](frmImage& f) { f.Document().InsererLogo(); }); });
  on("cielCmd", [this] { RunNamed("ciel"); });
  on("PivotDrt", [this] { RunNamed("droite"); });
  on("PivotGche", [this] { RunNamed("gauche"); });
  on("SaturationPlus", [this] { RunNamed("colorer"); });
  on("SaturationMoins", [this] { RunNamed("ternir"); });
  on("LumierePlus", [this] { RunNamed("clair"); });
  on("LumiereMoins", [this] { RunNamed("sombre"); });
  on("TaillWeb", [this] { TaillWeb_Click(); });
  on("BtAnnuler", [this] { BtAnnuler_Click(); });
  on("CacheExplorer", [this] { AffCacheExpl(); });
  on("SauvPhoto", [this] { EnregistrerSous(); });
  on("OkEd", [this] { OkEd_Click(); });
  on("AnnulerEd", [this] { AnnulerEd_Click(); });

  int top = kGap;
  for (const PlainButtonSpec& spec : kPlainButtons) {
    auto* button = new QPushButton(QString::fromUtf8(spec.caption), m_barreOutilsVrt);
    button->setObjectName(QString::fromUtf8(spec.name));
    button->setGeometry(4, top, m_barreOutilsVrt->width() - 8, 36);
    button->hide();
    top += 36 + kGap;
    if (spec.command == nullptr) {
      connect(button, &QPushButton::clicked, this, [this] {
        if (ImageActive() != nullptr) CombinerPhotos();
      });
    } else {
      connect(button, &QPushButton::clicked, this,
              [this, command = spec.command] { RunNamed(command); });
    }
  }
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
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace fotavel
