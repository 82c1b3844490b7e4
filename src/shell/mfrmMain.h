// The main window: document windows in a workspace, the image-button toolbar, the menus, the status
// area.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "dialogs/UiServices.h"
#include "document/AppServices.h"
#include "shell/DocumentHost.h"

class QAction;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPrinter;
class QToolButton;

namespace fotavel {

class BarreExplorer;
class bouton;
class frmImage;
class ProgressBar;

// Routes every command to the active document and shows what comes back; it
// holds no document state. Every message box and file dialog goes through
// the UiServices handed in (tests pass a scripted one). It is the host of
// its document windows, which know it only as that.
class mfrmMain : public QMainWindow, public DocumentHost {
  Q_OBJECT

 public:
  // `programFolder` is where the param folder is looked for; `editorMode`
  // when the command line asked for the poster-editor hand-off.
  mfrmMain(UiServices& ui, const QString& programFolder, bool editorMode = false);
  ~mfrmMain() override;

  bool EditorMode() const override { return m_editorMode; }

  // ---- What the document windows call (DocumentHost) ----
  UiServices& Ui() override { return m_ui; }
  AppServices& Services() override { return m_services; }
  // Each text that is not "#" replaces its label's text, after one space.
  void SetStatus(const QString& message, const QString& title, const QString& size) override;
  void ShowZoom(const QString& text) override;
  void ProgressMax(std::int32_t max) override;
  void ProgressValue(std::int32_t value) override;
  void ShowProgress(bool visible) override;
  // The hourglass over the whole application while an operation runs.
  void SetHourglass(bool busy) override;
  void UndoState(bool canUndo, bool canRedo) override;
  // The main window's size less its toolbars, status area and margins.
  view::Room RoomForPhoto() const override;
  // The quality dialog, then the document writes the file. False when
  // the dialog was cancelled or the write failed (nothing written).
  // `document` is the window that asked: a window asked to save while the
  // application closes need not be the active one.
  bool sauvjpgFct(const QString& path, frmImage& document) override;
  // Hands `document`'s photo back to the poster editor: on the clipboard, for
  // longer than this program lives. False, with the reason shown, when it
  // could not be done.
  bool RendrePhoto(frmImage& document) override;
  // The last document window closing takes the window back to browsing.
  void DocumentClosing(frmImage& document) override;

  std::int32_t NewImageIndex() { return m_services.NewImageIndex(); }

  QLabel* lblZoom() const { return m_lblZoom; }
  QLabel* lblStatus() const { return m_lblStatus; }
  QLabel* lblImage() const { return m_lblImage; }
  QLabel* lblSize() const { return m_lblSize; }
  ProgressBar* prgMain() const { return m_prgMain; }
  bouton* BtAnnuler() const;
  // The toolbar button of a command (WindowCommands.h); null for a command
  // that has none.
  bouton* Button(const char* name) const;
  // The action of a command (WindowCommands.h): its menu entry's and its
  // button's. Throws std::logic_error for a name that is no command.
  QAction* Action(const char* name) const;
  QWidget* BarreOutils() const { return m_barreOutils; }
  QWidget* BarreOutilsVrt() const { return m_barreOutilsVrt; }
  QWidget* picStatus() const { return m_picStatus; }
  QMdiArea* Workspace() const { return m_mdi; }
  BarreExplorer* Explorer() const { return m_explorer; }

  // A new document window showing the photo at `path`; asCopy opens it as a
  // new unnamed photo. Null, with the reason shown and no window left
  // behind, when the file cannot be read: an empty window is of no use.
  frmImage* OpenPhoto(const QString& path, bool asCopy = false);
  // Puts a document window that holds its photo into the workspace, sized
  // to show the whole photo at its zoom with no scroll bar (the zoom coming
  // down only where the workspace is too small for that), wholly inside the
  // workspace, shown and active. Every road that brings a photo in ends here.
  void ShowDocument(frmImage* document);
  // Opens each photo in turn (a photo already open asks whether to open a
  // copy; one that cannot be read says why), for the explorer, the command
  // line and files dropped on the window. The explorer pane steps aside, and
  // comes back if it was shown and nothing opened. Returns how many did.
  int OuvrirPhotos(const QStringList& paths);
  // Shows the explorer pane if it is hidden, hides it if it is shown.
  void AffCacheExpl();
  // Runs `work`; an error it raises (engine, document, memory) is shown in a
  // message box here, at the window's edge. False when it failed.
  bool Guarded(const std::function<void()>& work);

  // The active document window without any message; null when there is none.
  frmImage* ActiveDocument() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Local files dropped on the window open as photos (mfrmMainDrop.cpp).
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Layout and parts (mfrmMainToolbar.cpp).
  void BuildToolbar();
  // The main toolbar's buttons left to right, the four that move to the
  // vertical toolbar in a narrow window, and behind a chevron at the end
  // whatever the width leaves no room for.
  void LayoutToolbars();
  void BuildStatusArea();
  void LayoutStatusArea();
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Lets the window draw while an effect runs, at most every few dozen milliseconds.
  void DrawNowAndThen();

  // Commands and menus (mfrmMainMenus.cpp).
  void BuildActions();
  void BuildMenus();
  void FillWindowMenu();
  void TileWindows(bool horizontal);
  void ArrangeIcons();

  // Commands (mfrmMainCommands.cpp).
  // The active document, or "Sélectionnez une photo !" and null.
  frmImage* ImageActive();
  // Runs `work` on the active document, showing an error it raises.
  // False when there was none or the work failed.
  bool OnActive(const std::function<void(frmImage&)>& work);
  // A command of the document's table (CommandNames) on the active document.
  bool RunNamed(const char* name, std::int32_t argument = 0, bool withArgument = false);
  void Filter(std::int32_t type);
  void cmdMasque_Click();
  void TaillWeb_Click();
  void BtAnnuler_Click();
  void Retablir_Click();

  // The explorer pane and the arrangement of the window (mfrmMainExplorer.cpp).
  void BuildExplorer(QWidget* row);
  void OuvrirPhotoSelectionnee();
  // For each document window already showing `path`, asks whether to open a
  // copy; false as soon as the answer is No. `copy` tells whether one was
  // asked for.
  bool DemanderCopie(const QString& path, bool& copy);
  // Everything that follows the window's size: the explorer's arrangement
  // below 630 pixels high, the four buttons that move to the vertical
  // toolbar below 870 pixels wide.
  void Form_Resize();
  void resizeEvent(QResizeEvent* event) override;

  // The poster editor's hand-off (mfrmMainEditeur.cpp).
  bool event(QEvent* event) override;
  void DemarrerEditeur();
  void OkEd_Click();
  void AnnulerEd_Click();

  // Files (mfrmMainFile.cpp).
  void EnregistrerSous();
  void CopierPhoto();
  void CollerPhoto();

  // Commands that ask first (mfrmMainDialogs.cpp). RetaillerPhoto: false when
  // the dialog was cancelled or the resample failed.
  bool RetaillerPhoto(frmImage& document);
  void CombinerPhotos();
  // The adjustment window over the photo, previewed on its window; OK adjusts
  // it once (one undo step).
  void ReglerPhoto(frmImage& document);
  // The automatic improvement, or a word in the status area when the photo
  // needs none.
  void AmeliorerPhoto();
  void DocumentActivated(QMdiSubWindow* window);

  UiServices& m_ui;
  AppServices m_services;
  bool m_editorMode = false;

  QMdiArea* m_mdi = nullptr;
  BarreExplorer* m_explorer = nullptr;
  QWidget* m_barreOutils = nullptr;
  QWidget* m_barreOutilsVrt = nullptr;
  QWidget* m_picStatus = nullptr;
  ProgressBar* m_prgMain = nullptr;
  QLabel* m_lblStatus = nullptr;
  QLabel* m_lblZoom = nullptr;
  QLabel* m_lblImage = nullptr;
  QLabel* m_lblSize = nullptr;
  QMenu* m_windowMenu = nullptr;
  QLabel* m_imgOmbre = nullptr;
  QToolButton* m_suite = nullptr;
  std::map<QString, QAction*> m_actions;
  std::map<QString, bouton*> m_buttons;
  // The commands whose buttons the toolbar has no room for, left to right.
  std::vector<QAction*> m_overflow;

  bool m_hourglass = false;
  bool m_premiereActivation = true;
  QElapsedTimer m_lastDraw;

  // ---- Printing (mfrmMainPrint.cpp) ----
 public:
  // The active photo on one page of the default printer, its title above
  // it; no print dialog. May first offer to turn the page to suit the photo.
  void Imprimer();
  // The test seam: Imprimer prints on `printer` from now on instead of the
  // system's default printer (tests hand in a PDF printer with its page size,
  // orientation and output file chosen). The window keeps it, and the
  // orientation the questions set, for every later print.
  void SetPrinter(std::unique_ptr<QPrinter> printer);

 private:
  // The system's default printer, made on first use; null when the system
  // has no printer at all.
  QPrinter* Printer();
  // Lets this header hold the printer without including Qt Print Support.
  struct PrinterDeleter {
    void operator()(QPrinter* printer) const;
  };
  std::unique_ptr<QPrinter, PrinterDeleter> m_printer;
};

}  // namespace fotavel
