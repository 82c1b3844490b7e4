// The main window's commands, one QAction each, and the menu bar that shows them.
#include <QAction>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <stdexcept>

#include "document/Commands.h"
#include "shell/FormAide.h"
#include "shell/WindowCommands.h"
#include "shell/frmImage.h"
#include "shell/mfrmMain.h"

namespace fotavel {

namespace {
QKeySequence Ctrl(char letter) { return QKeySequence(Qt::CTRL | Qt::Key(letter)); }
}  // namespace

// The command table: every command of the window, made once. Menus and
// toolbar buttons take their actions from here by name, so a command has one
// caption, one shortcut and one enabled state wherever it is offered.
void mfrmMain::BuildActions() {
  namespace c = commands;
  namespace n = CommandNames;
  struct Row {
    const char* name;
    QString text;  // as the menu shows it; commands of the toolbar alone take the button's caption
    QList<QKeySequence> keys;
    std::function<void()> run;
  };
  const auto effect = [this](const char* command) {
    return [this, command] { RunNamed(command); };
  };
  const auto filter = [this](std::int32_t type) { return [this, type] { Filter(type); }; };
  const Row rows[] = {
      {c::kExplorer, tr("&Ouvrir et fermer l'exploreur"), {Ctrl('O')}, [this] { AffCacheExpl(); }},
      {c::kEnregistrer, tr("&Enregistrer sous"), {Ctrl('S')}, [this] { EnregistrerSous(); }},
      {c::kImprimer, tr("&Imprimer"), {Ctrl('I')}, [this] { Imprimer(); }},
      {c::kQuitter, tr("&Fermer"), {}, [this] { close(); }},
      {c::kRetourEditeur,
       tr("&Retour à l'éditeur sans importer mon travail"),
       {},
       [this] { AnnulerEd_Click(); }},
      {c::kImporterEditeur,
       tr("Importer mon &travail dans l'éditeur"),
       {},
       [this] { OkEd_Click(); }},

      // Every desktop program steps back with Ctrl+Z and forth again with
      // Ctrl+Y or Ctrl+Shift+Z.
      {c::kAnnuler, tr("&Annuler"), {Ctrl('Z')}, [this] { BtAnnuler_Click(); }},
      {c::kRetablir,
       tr("&Rétablir"),
       {Ctrl('Y'), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
       [this] { Retablir_Click(); }},
      {c::kCopier, tr("&Copier"), {Ctrl('C')}, [this] { CopierPhoto(); }},
      {c::kColler, tr("Co&ller"), {Ctrl('V')}, [this] { CollerPhoto(); }},
      {c::kRetailler,
       tr("Re&tailler la photo"),
       {Ctrl('R')},
       [this] {
         if (frmImage* document = ImageActive()) RetaillerPhoto(*document);
       }},
      {c::kRecadrer,
       tr("R&ecadrer…"),
       {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_X)},
       [this] {
         if (frmImage* document = ImageActive()) document->Recadrer_Click();
       }},
      {c::kRedresser,
       tr("Re&dresser…"),
       {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H)},
       [this] {
         if (frmImage* document = ImageActive()) document->Redresser_Click();
       }},
      // Ctrl+Y is taken by Rétablir; with Shift it is free.
      {c::kYeuxRouges,
       tr("&Yeux rouges"),
       {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Y)},
       [this] {
         if (frmImage* document = ImageActive()) document->YeuxRouges_Click();
       }},
      {c::kProprietes,
       tr("&Propriétés"),
       {},
       [this] {
         if (frmImage* document = ImageActive()) document->Proprietes();
       }},

      {c::kMasquer, tr("Masquer"), {}, [this] { cmdMasque_Click(); }},
      {c::kNette, tr("Sharpen"), {}, effect(n::kNette)},
      {c::kFloue, tr("Blur"), {}, effect(n::kFloue)},
      {c::kLogo,
       tr("Logo"),
       {},
       [this] { OnActive([](frmImage& f) { f.Document().InsererLogo(); }); }},
      {c::kCiel, tr("Ciel"), {}, effect(n::kCiel)},
      {c::kDroite, tr("Droite"), {}, effect(n::kDroite)},
      {c::kGauche, tr("Gauche"), {}, effect(n::kGauche)},
      {c::kColorer, tr("Colorer"), {}, effect(n::kColorer)},
      {c::kTernir, tr("Ternir"), {}, effect(n::kTernir)},
      {c::kClair, tr("Plus Cl&air"), {}, effect(n::kClair)},
      {c::kSombre, tr("Plus S&ombre"), {}, effect(n::kSombre)},
      {c::kFormatWeb, tr("Format Web"), {}, [this] { TaillWeb_Click(); }},

      {c::kDiffusion, tr("Diffusion"), {}, effect(n::kDiffusion)},
      {c::kContours, tr("Trouver Contours"), {}, effect(n::kContours)},
      {c::kPhotocopie, tr("Effet Photocopie"), {}, effect(n::kPhotocopie)},
      {c::kNegatif, tr("Négatif"), {}, effect(n::kNegatif)},
      {c::kPlume, tr("Plume Calligraphique"), {}, effect(n::kPlume)},
      {c::kGris, tr("Niveaux de &Gris"), {}, effect(n::kGris)},
      {c::kReglages,
       tr("&Réglages…"),
       {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L)},
       [this] {
         if (frmImage* document = ImageActive()) ReglerPhoto(*document);
       }},
      {c::kAmeliorationAuto,
       tr("A&mélioration automatique"),
       {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E)},
       [this] { AmeliorerPhoto(); }},
      {c::kCombiner,
       tr("Combiner"),
       {},
       [this] {
         if (ImageActive() != nullptr) CombinerPhotos();
       }},

      {c::kSoften, tr("Soften"), {}, filter(3)},
      {c::kSoftenMore, tr("Soften More"), {}, filter(4)},
      {c::kBlurMore, tr("Blur More"), {}, filter(2)},
      {c::kSharpenMore, tr("Sharpen More"), {}, filter(6)},
      {c::kUnsharp, tr("Unsharp"), {}, filter(7)},
      {c::kEmboss, tr("&Emboss..."), {}, filter(8)},
      {c::kMinimum, tr("Mi&nimum Rank Filter..."), {}, filter(10)},
      {c::kMedian, tr("Me&dian Rank Filter..."), {}, filter(9)},
      {c::kMaximum, tr("Ma&ximum Rank Filter..."), {}, filter(11)},

      {c::kVotreLogo, tr("Votre &logo"), {}, [this] { m_services.mnuParametrage_Click(); }},
      {c::kHorizontales, tr("Fenêtres &Horizontales"), {}, [this] { TileWindows(true); }},
      {c::kVerticales, tr("Fenêtres &Verticales"), {}, [this] { TileWindows(false); }},
      {c::kCascade, tr("En &Cascade"), {}, [this] { m_mdi->cascadeSubWindows(); }},
      {c::kIcones, tr("&Ranger les Icônes"), {}, [this] { ArrangeIcons(); }},
      {c::kAPropos,
       tr("A propos"),
       {},
       [this] {
         FormAide about(Ui(), QCoreApplication::applicationDirPath(), this);
         about.exec();
       }},
  };
  for (const Row& row : rows) {
    auto* action = new QAction(row.text, this);
    action->setObjectName(QString::fromLatin1(row.name));
    action->setShortcuts(row.keys);
    connect(action, &QAction::triggered, this, [run = row.run] { run(); });
    m_actions.emplace(QString::fromLatin1(row.name), action);
  }
  // Nothing to step back to or forth to yet; the documents say when there is.
  Action(c::kAnnuler)->setEnabled(false);
  Action(c::kRetablir)->setEnabled(false);
  // The poster editor's two commands are only offered in its hand-off.
  Action(c::kRetourEditeur)->setVisible(false);
  Action(c::kImporterEditeur)->setVisible(false);
}

QAction* mfrmMain::Action(const char* name) const {
  const auto it = m_actions.find(QString::fromLatin1(name));
  if (it == m_actions.end())
    throw std::logic_error(std::string("no window command is named ") + name);
  return it->second;
}

void mfrmMain::BuildMenus() {
  namespace c = commands;
  QMenuBar* bar = menuBar();
  const auto top = [bar](const char* name, const QString& text) {
    QMenu* menu = bar->addMenu(text);
    menu->setObjectName(QString::fromUtf8(name));
    menu->menuAction()->setObjectName(QString::fromUtf8(name));
    return menu;
  };
  // Entries by command name; a null name is a separator, named by its place.
  const auto fill = [this](QMenu* menu, std::initializer_list<const char*> entries,
                           const char* separatorPrefix, int firstIndex) {
    int index = firstIndex;
    for (const char* entry : entries) {
      if (entry == nullptr) {
        menu->addSeparator()->setObjectName(
            QStringLiteral("%1_%2").arg(separatorPrefix).arg(index));
      } else {
        menu->addAction(Action(entry));
      }
      ++index;
    }
  };

  fill(top("mnuFileTop", tr("&Fichier")),
       {c::kExplorer, c::kEnregistrer, nullptr, c::kImprimer, nullptr, c::kQuitter,
        c::kRetourEditeur, c::kImporterEditeur},
       "mnuFile", 0);

  QMenu* edit = top("mnuEditTOP", tr("&Edition"));
  fill(edit, {c::kAnnuler, c::kRetablir, nullptr}, "mnuEditAnnuler", 0);
  fill(edit, {c::kCopier, c::kColler, nullptr, c::kRetailler}, "mnuEdit", 1);
  // The modes on the photo follow the resize, added apart so that the numbered separators keep
  // their names.
  edit->addAction(Action(c::kRecadrer));
  edit->addAction(Action(c::kRedresser));
  edit->addAction(Action(c::kYeuxRouges));
  fill(edit, {nullptr, c::kProprietes}, "mnuEdit", 5);

  QMenu* image = top("mnuImageTOP", tr("Plus d'E&ffets"));
  QMenu* low = image->addMenu(tr("&Softening Filters"));
  low->menuAction()->setObjectName(QStringLiteral("mnuImage_0"));
  fill(low, {c::kSoften, c::kSoftenMore, c::kFloue, c::kBlurMore}, "mnuLowPass", 0);
  QMenu* high = image->addMenu(tr("S&harpening Filters"));
  high->menuAction()->setObjectName(QStringLiteral("mnuImage_1"));
  fill(high, {c::kNette, c::kSharpenMore, c::kUnsharp}, "mnuHighPass", 0);
  QMenu* special = image->addMenu(tr("Filtres &Spéciaux"));
  special->menuAction()->setObjectName(QStringLiteral("mnuImage_2"));
  fill(special, {c::kEmboss, nullptr}, "mnuSpecial", 0);
  fill(special, {c::kMinimum, c::kMedian, c::kMaximum}, "mnuSpecial", 4);

  QMenu* colours = top("mnuColorTOP", tr("&Couleurs"));
  fill(colours, {c::kSombre, c::kClair, nullptr, c::kGris}, "mnuColors", 0);
  fill(colours, {nullptr, c::kReglages, c::kAmeliorationAuto}, "mnuColors", 4);
  fill(top("mnuParametrageTop", tr("&Paramètres")), {c::kVotreLogo}, "mnuParametrage", 0);

  m_windowMenu = top("mnuWindowTop", tr("Fe&nêtre"));
  connect(m_windowMenu, &QMenu::aboutToShow, this, &mfrmMain::FillWindowMenu);
  FillWindowMenu();

  fill(top("mnuAideTop", tr("?")), {c::kAPropos}, "mnuAide", 0);
}

// The four arrangements, then one entry per open document, the current one checked.
void mfrmMain::FillWindowMenu() {
  namespace c = commands;
  m_windowMenu->clear();
  for (const char* name : {c::kHorizontales, c::kVerticales, c::kCascade, c::kIcones}) {
    m_windowMenu->addAction(Action(name));
  }
  const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
  if (!windows.isEmpty()) m_windowMenu->addSeparator();
  int number = 1;
  for (QMdiSubWindow* window : windows) {
    QAction* entry =
        m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(window->windowTitle()));
    entry->setCheckable(true);
    entry->setChecked(window == m_mdi->currentSubWindow());
    connect(entry, &QAction::triggered, this,
            [this, window] { m_mdi->setActiveSubWindow(window); });
  }
}

// Horizontal: one above the other, each the whole width; vertical: side by side.
void mfrmMain::TileWindows(bool horizontal) {
  QList<QMdiSubWindow*> windows;
  for (QMdiSubWindow* window : m_mdi->subWindowList()) {
    if (!window->isMinimized()) windows.push_back(window);
  }
  if (windows.isEmpty()) return;
  const QRect area = m_mdi->viewport()->rect();
  const int count = static_cast<int>(windows.size());
  for (int i = 0; i < count; ++i) {
    QMdiSubWindow* window = windows[i];
    window->showNormal();
    if (horizontal) {
      const int h = area.height() / count;
      window->setGeometry(0, i * h, area.width(), h);
    } else {
      const int w = area.width() / count;
      window->setGeometry(i * w, 0, w, area.height());
    }
  }
}

// Minimised windows lined up along the bottom edge.
void mfrmMain::ArrangeIcons() {
  const QRect area = m_mdi->viewport()->rect();
  int left = 0;
  for (QMdiSubWindow* window : m_mdi->subWindowList()) {
    if (!window->isMinimized()) continue;
    window->move(left, area.height() - window->height());
    left += window->width();
  }
}

}  // namespace fotavel
