// The main window's menu bar: entries, shortcuts, separators and the window list.
#include <QAction>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

#include "shell/FormAide.h"
#include "shell/frmImage.h"
#include "shell/mfrmMain.h"

namespace fotavel {

namespace {
QKeySequence Ctrl(char letter) { return QKeySequence(Qt::CTRL | Qt::Key(letter)); }
}  // namespace

QAction* mfrmMain::AddEntry(QMenu* menu, const QString& name, const QString& text,
                            const QKeySequence& shortcut, std::function<void()> handler) {
  QAction* action = menu->addAction(text);
  action->setObjectName(name);
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  connect(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
  return action;
}

void mfrmMain::AddSeparator(QMenu* menu, const QString& name) {
  menu->addSeparator()->setObjectName(name);
}

void mfrmMain::BuildMenus() {
  QMenuBar* bar = menuBar();
  const auto top = [bar](const char* name, const QString& text) {
    QMenu* menu = bar->addMenu(text);
    menu->setObjectName(QString::fromUtf8(name));
    menu->menuAction()->setObjectName(QString::fromUtf8(name));
    return menu;
  };
  const QKeySequence none;

  QMenu* file = top("mnuFileTop", QStringLiteral("&Fichier"));
  AddEntry(file, "mnuFile_0", QStringLiteral("&Ouvrir et fermer l'exploreur"), Ctrl('O'),
           [this] { AffCacheExpl(); });
  AddEntry(file, "mnuFile_1", QStringLiteral("&Enregistrer sous"), Ctrl('S'),
           [this] { EnregistrerSous(); });
  AddSeparator(file, "mnuFile_2");
  AddEntry(file, "mnuFile_3", QStringLiteral("&Imprimer"), Ctrl('I'), [this] { Imprimer(); });
  AddSeparator(file, "mnuFile_4");
  AddEntry(file, "mnuFile_5", QStringLiteral("&Fermer"), none, [this] { close(); });
  // Shown in the poster editor's hand-off, doing what its two buttons do.
  AddEntry(file, "mnuFile_6", QStringLiteral("&Retour à l'éditeur sans importer mon travail"), none,
           [this] { AnnulerEd_Click(); })
      ->setVisible(false);
  AddEntry(file, "mnuFile_7", QStringLiteral("Importer mon &travail dans l'éditeur"), none, [this] {
    OkEd_Click();
  })->setVisible(false);

  QMenu* edit = top("mnuEditTOP", QStringLiteral("&Edition"));
  AddEntry(edit, "mnuEdit_1", QStringLiteral("&Copier"), Ctrl('C'), [this] { CopierPhoto(); });
  AddEntry(edit, "mnuEdit_2", QStringLiteral("Co&ller"), Ctrl('V'), [this] { CollerPhoto(); });
  AddSeparator(edit, "mnuEdit_3");
  AddEntry(edit, "mnuEdit_4", QStringLiteral("Re&tailler la photo"), Ctrl('R'), [this] {
    if (frmImage* document = ImageActive()) RetaillerPhoto(*document);
  });
  AddSeparator(edit, "mnuEdit_5");
  AddEntry(edit, "mnuEdit_6", QStringLiteral("&Propriétés"), none, [this] {
    if (frmImage* document = ImageActive()) document->Proprietes();
  });

  QMenu* image = top("mnuImageTOP", QStringLiteral("Plus d'E&ffets"));
  QMenu* low = image->addMenu(QStringLiteral("&Softening Filters"));
  low->menuAction()->setObjectName(QStringLiteral("mnuImage_0"));
  AddEntry(low, "mnuLowPass_0", QStringLiteral("Soften"), none, [this] { Filter(3); });
  AddEntry(low, "mnuLowPass_1", QStringLiteral("Soften More"), none, [this] { Filter(4); });
  AddEntry(low, "mnuLowPass_2", QStringLiteral("Blur"), none, [this] { Filter(1); });
  AddEntry(low, "mnuLowPass_3", QStringLiteral("Blur More"), none, [this] { Filter(2); });
  QMenu* high = image->addMenu(QStringLiteral("S&harpening Filters"));
  high->menuAction()->setObjectName(QStringLiteral("mnuImage_1"));
  AddEntry(high, "mnuHighPass_0", QStringLiteral("Sharpen"), none, [this] { Filter(5); });
  AddEntry(high, "mnuHighPass_1", QStringLiteral("Sharpen More"), none, [this] { Filter(6); });
  AddEntry(high, "mnuHighPass_2", QStringLiteral("Unsharp"), none, [this] { Filter(7); });
  QMenu* special = image->addMenu(QStringLiteral("Filtres &Spéciaux"));
  special->menuAction()->setObjectName(QStringLiteral("mnuImage_2"));
  AddEntry(special, "mnuSpecial_0", QStringLiteral("&Emboss..."), none, [this] { Filter(8); });
  AddSeparator(special, "mnuSpecial_1");
  AddEntry(special, "mnuSpecial_4", QStringLiteral("Mi&nimum Rank Filter..."), none,
           [this] { Filter(10); });
  AddEntry(special, "mnuSpecial_5", QStringLiteral("Me&dian Rank Filter..."), none,
           [this] { Filter(9); });
  AddEntry(special, "mnuSpecial_6", QStringLiteral("Ma&ximum Rank Filter..."), none,
           [this] { Filter(11); });

  QMenu* colours = top("mnuColorTOP", QStringLiteral("&Couleurs"));
  AddEntry(colours, "mnuColors_0", QStringLiteral("Plus S&ombre"), none,
           [this] { RunNamed("sombre"); });
  AddEntry(colours, "mnuColors_1", QStringLiteral("Plus Cl&air"), none,
           [this] { RunNamed("clair"); });
  AddSeparator(colours, "mnuColors_2");
  AddEntry(colours, "mnuColors_3", QStringLiteral("Niveaux de &Gris"), none,
           [this] { RunNamed("gris"); });

  QMenu* settings = top("mnuParametrageTop", QStringLiteral("&Paramètres"));
  AddEntry(settings, "mnuParametrage_0", QStringLiteral("Votre &logo"), none,
           [this] { m_services.mnuParametrage_Click(); });

  m_windowMenu = top("mnuWindowTop", QStringLiteral("Fe&nêtre"));
  connect(m_windowMenu, &QMenu::aboutToShow, this, &mfrmMain::FillWindowMenu);
  FillWindowMenu();

  QMenu* help = top("mnuAideTop", QStringLiteral("?"));
  AddEntry(help, "mnuAide_0", QStringLiteral("A propos"), none, [this] {
    FormAide about(Ui(), QCoreApplication::applicationDirPath(), this);
    about.exec();
  });
}

// The four arrangements, then one entry per open document, the current one checked.
void mfrmMain::FillWindowMenu() {
  m_windowMenu->clear();
  const QKeySequence none;
  AddEntry(m_windowMenu, "mnuWindow_0", QStringLiteral("Fenêtres &Horizontales"), none,
           [this] { TileWindows(true); });
  AddEntry(m_windowMenu, "mnuWindow_1", QStringLiteral("Fenêtres &Verticales"), none,
           [this] { TileWindows(false); });
  AddEntry(m_windowMenu, "mnuWindow_2", QStringLiteral("En &Cascade"), none,
           [this] { m_mdi->cascadeSubWindows(); });
  AddEntry(m_windowMenu, "mnuWindow_3", QStringLiteral("&Ranger les Icônes"), none,
           [this] { ArrangeIcons(); });
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
