// The main window's frame: its parts, the status texts, the progress bar, the hourglass, closing.
#include "shell/mfrmMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVBoxLayout>

#include "controls/ProgressBar.h"
#include "controls/SystemColours.h"
#include "controls/bouton.h"
#include "dialogs/frmParamLogo.h"
#include "document/LogoFiles.h"
#include "shell/BarreExplorer.h"
#include "shell/Failures.h"
#include "shell/Pictures.h"
#include "shell/PoliceGdTaille.h"
#include "shell/WindowCommands.h"
#include "shell/frmImage.h"

namespace fotavel {

mfrmMain::mfrmMain(UiServices& ui, const QString& programFolder, bool editorMode)
    : m_ui(ui), m_services(programFolder), m_editorMode(editorMode) {
  setObjectName(QStringLiteral("mfrmMain"));
  setWindowTitle(kAppTitle);
  setWindowIcon(AppIcon());
  // Photos dropped anywhere on the window (mfrmMainDrop.cpp).
  setAcceptDrops(true);

  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  m_barreOutils = new QWidget(central);
  m_barreOutils->setObjectName(QStringLiteral("BarreOutils"));
  column->addWidget(m_barreOutils);

  auto* middle = new QWidget(central);
  auto* row = new QHBoxLayout(middle);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  BuildExplorer(middle);
  row->addWidget(m_explorer);
  // Shown only in a narrow window; its width still counts in the room a
  // photo is fitted to, as it always has.
  m_barreOutilsVrt = new QWidget(middle);
  m_barreOutilsVrt->setObjectName(QStringLiteral("BarreOutilsVrt"));
  m_barreOutilsVrt->setFixedWidth(80);
  m_barreOutilsVrt->hide();
  row->addWidget(m_barreOutilsVrt);
  m_mdi = new QMdiArea(middle);
  m_mdi->setObjectName(QStringLiteral("Workspace"));
  m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  row->addWidget(m_mdi, 1);
  column->addWidget(middle, 1);

  m_picStatus = new QWidget(central);
  m_picStatus->setObjectName(QStringLiteral("picStatus"));
  column->addWidget(m_picStatus);
  setCentralWidget(central);

  BuildStatusArea();
  BuildActions();
  BuildToolbar();
  BuildMenus();

  connect(m_mdi, &QMdiArea::subWindowActivated, this, &mfrmMain::DocumentActivated);
  // The logo settings, from the settings menu and from the logo command of a
  // document that finds no logo stored yet.
  m_services.mnuParametrage_Click = [this] {
    LogoParamFiles files{
        m_services.ParamFolder(),
        [this](const QString& key) { return m_services.LireParamIni(key); },
        [this](const QString& chosen, const QString& extension,
               const QList<std::pair<QString, QString>>& entries) {
          LogoFiles::Store(m_services, chosen, extension, entries);
        },
        [this] { LogoFiles::Delete(m_services.ParamFolder()); },
        [this] { return !LogoFiles::Stored(m_services.ParamFolder()).isEmpty(); },
        [this](std::exception_ptr failure, QWidget* owner) { ShowFailure(m_ui, failure, owner); }};
    frmParamLogo dialog(m_ui, std::move(files), m_services.LogoPret, this);
    dialog.exec();
  };
  resize(1280, 860);
  AdaptAtFirstActivation(*this);
}

mfrmMain::~mfrmMain() { SetHourglass(false); }

bouton* mfrmMain::BtAnnuler() const { return Button(commands::kAnnuler); }

bouton* mfrmMain::Button(const char* name) const {
  const auto it = m_buttons.find(QString::fromUtf8(name));
  return it == m_buttons.end() ? nullptr : it->second;
}

void mfrmMain::SetStatus(const QString& message, const QString& title, const QString& size) {
  const QString keep = QStringLiteral("#");
  if (message != keep) m_lblStatus->setText(QLatin1Char(' ') + message);
  if (title != keep) m_lblImage->setText(QLatin1Char(' ') + title);
  if (size != keep) m_lblSize->setText(QLatin1Char(' ') + size);
}

void mfrmMain::ShowZoom(const QString& text) { m_lblZoom->setText(text); }

void mfrmMain::UndoState(bool canUndo, bool canRedo) {
  Action(commands::kAnnuler)->setEnabled(canUndo);
  Action(commands::kRetablir)->setEnabled(canRedo);
}

view::Room mfrmMain::RoomForPhoto() const {
  view::Room room;
  room.twipsPerPixelX = TwipsPerPixelX(*this);
  room.twipsPerPixelY = TwipsPerPixelY(*this);
  const QRect frame = frameGeometry();
  room.mainWidth = frame.width() * room.twipsPerPixelX;
  room.mainHeight = frame.height() * room.twipsPerPixelY;
  room.verticalToolbarWidth = m_barreOutilsVrt->width() * room.twipsPerPixelX;
  room.toolbarHeight = m_barreOutils->height() * room.twipsPerPixelY;
  room.statusHeight = m_picStatus->height() * room.twipsPerPixelY;
  return room;
}

void mfrmMain::DocumentClosing(frmImage& /*document*/) {
  // The closing window is still in the list.
  if (m_mdi->subWindowList().size() > 1) return;
  SetStatus(QString(), QString(), QString());
  m_explorer->show();
}

void mfrmMain::ProgressMax(std::int32_t max) { m_prgMain->SetMax(max); }

void mfrmMain::ProgressValue(std::int32_t value) {
  m_prgMain->SetPosition(value);
  DrawNowAndThen();
}

void mfrmMain::ShowProgress(bool visible) {
  m_prgMain->setVisible(visible);
  if (visible) {
    m_prgMain->raise();
    // A pass that ends within the interval is over before a drawing of its
    // bar could be seen, and drawing would only lengthen it.
    m_lastDraw.start();
  }
}

void mfrmMain::DrawNowAndThen() {
  // The work runs on this thread, and a pass reports thousands of positions:
  // the window draws what has changed since (the bar and the status texts;
  // the photo is only redrawn once the work is done) a few dozen times a
  // second at most, without taking a click in the middle of an effect.
  constexpr qint64 kDrawIntervalMs = 40;
  if (m_lastDraw.isValid() && m_lastDraw.elapsed() < kDrawIntervalMs) return;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  m_lastDraw.start();
}

void mfrmMain::SetHourglass(bool busy) {
  if (busy == m_hourglass) return;
  m_hourglass = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

frmImage* mfrmMain::ActiveDocument() const {
  // The current window stays current while a dialog or another program has
  // the focus, unlike the active one.
  QMdiSubWindow* window = m_mdi->currentSubWindow();
  return window == nullptr ? nullptr : qobject_cast<frmImage*>(window->widget());
}

void mfrmMain::DocumentActivated(QMdiSubWindow* window) {
  if (window == nullptr) return;
  if (auto* document = qobject_cast<frmImage*>(window->widget())) document->Form_Activate();
}

void mfrmMain::closeEvent(QCloseEvent* event) {
  // Every document answers first; one Cancel keeps the whole application
  // and every document open.
  const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
  QList<frmImage*> approved;
  for (QMdiSubWindow* window : windows) {
    auto* document = qobject_cast<frmImage*>(window->widget());
    if (document == nullptr) continue;
    if (document->Document().Dirty() && !document->QuerySave()) {
      for (frmImage* other : approved) other->ApproveClose(false);
      event->ignore();
      return;
    }
    document->ApproveClose();
    approved.push_back(document);
  }
  m_mdi->closeAllSubWindows();
  event->accept();
}

}  // namespace fotavel
